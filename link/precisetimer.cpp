#include "precisetimer.h"

#include <QSocketNotifier>

#include <algorithm>

#if defined(Q_OS_LINUX)
#include <sys/timerfd.h>
#include <unistd.h>
#define TARVO_HAVE_TIMERFD 1
#endif

namespace tarvo {

PreciseTimer::PreciseTimer(QObject* parent)
    : QObject(parent)
{
    m_fallback.setSingleShot(true);
    m_fallback.setTimerType(Qt::PreciseTimer);
    connect(&m_fallback, &QTimer::timeout, this, &PreciseTimer::fire);
#ifdef TARVO_HAVE_TIMERFD
    m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
            quint64 expirations = 0;
            if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations)
                fire();
        });
    }
#endif
}

PreciseTimer::~PreciseTimer()
{
#ifdef TARVO_HAVE_TIMERFD
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void PreciseTimer::start(std::chrono::nanoseconds after)
{
    const long long ns = std::max<long long>(1000, after.count());  // zero would disarm a timer descriptor
    m_active = true;
#ifdef TARVO_HAVE_TIMERFD
    if (m_fd >= 0) {
        itimerspec when{};
        when.it_value.tv_sec = time_t(ns / 1'000'000'000);
        when.it_value.tv_nsec = long(ns % 1'000'000'000);
        if (::timerfd_settime(m_fd, 0, &when, nullptr) == 0)
            return;
    }
#endif
    m_fallback.start(int((ns + 999'999) / 1'000'000));  // rounded up: never early
}

void PreciseTimer::stop()
{
    m_active = false;
    m_fallback.stop();
#ifdef TARVO_HAVE_TIMERFD
    if (m_fd >= 0) {
        const itimerspec off{};
        ::timerfd_settime(m_fd, 0, &off, nullptr);
    }
#endif
}

void PreciseTimer::fire()
{
    if (!m_active)
        return;  // stopped while the wake-up was on its way
    m_active = false;
    emit timeout();
}

}  // namespace tarvo
