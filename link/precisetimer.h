// A single-shot timer that fires when its time is up rather than on the next
// whole millisecond. Qt's timers wait in whole milliseconds, so a 25 ms
// timer fires after 25 to 26 ms; where the system offers timer file
// descriptors this one wakes the event loop within microseconds of its time.
// Elsewhere it is a precise Qt timer, never early.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

class QSocketNotifier;

namespace tarvo {

class PreciseTimer final : public QObject {
    Q_OBJECT
public:
    explicit PreciseTimer(QObject* parent = nullptr);
    ~PreciseTimer() override;

    // (Re)starts the timer: timeout() comes once, `after` from now.
    void start(std::chrono::nanoseconds after);
    void stop();
    bool isActive() const { return m_active; }

Q_SIGNALS:
    void timeout();

private:
    void fire();

    bool m_active = false;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_fallback;
};

}  // namespace tarvo
