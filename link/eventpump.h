// Event-driven waiting on the one user-interface thread.
//
// A wait runs a local event loop that wakes when something it waits for
// changes (poke()) or when its deadline passes; it never spins. Other
// callbacks (STOP, close, the TCP data handler) keep running inside it.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <functional>
#include <vector>

namespace tarvo {

class EventPump : public QObject {
    Q_OBJECT
public:
    explicit EventPump(QObject* parent = nullptr);

    // Monotonic seconds since the pump was created (the program's Timer()).
    double now() const;

    // Waits until done() holds or more than limit seconds have passed,
    // whichever comes first. done() is checked at the start, on every poke()
    // and once more at the deadline. Returns the seconds waited.
    double waitFor(double limit, const std::function<bool()>& done,
                   QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

    // A pause that keeps the interface alive.
    void sleep(double seconds)
    {
        waitFor(seconds, [] { return false; });
    }

    // Processes the events that are pending now, once.
    void processEvents();

    // How many waits or event pumps are running on the stack right now.
    int depth() const { return m_depth; }

    // Ends the application's event loop once no wait is on the stack: a loop
    // running inside a callback finishes its step first instead of having
    // its wait cut short.
    void quitWhenIdle();

    // Ends the innermost running wait now, as if its time had run out. Lets
    // tests and fuzzing drive the real waits against a scripted peer without
    // waiting in real time. False when no wait is running.
    bool expireInnermostWait();
    // The wait that returned last was ended by expireInnermostWait() or cut
    // short: a caller that loops until its own deadline takes that as the
    // deadline.
    bool lastWaitExpired() const { return m_lastExpired; }

    // While on, every wait ends at once as if its time had run out: the
    // running ones now, later ones as they start. tarvoctl ends a command
    // this way on Ctrl+C or SIGTERM, whatever it was waiting for.
    void setWaitsCutShort(bool on);
    bool waitsCutShort() const { return m_cutShort; }

public slots:
    // Something a wait may be waiting for has changed: re-check the waits.
    void poke();

private:
    struct ActiveWait {
        QEventLoop* loop;
        const std::function<bool()>* done;
        bool expired = false;
    };
    QElapsedTimer m_clock;
    std::vector<ActiveWait> m_waits;
    int m_depth = 0;
    bool m_cutShort = false;
    bool m_lastExpired = false;
};

}  // namespace tarvo
