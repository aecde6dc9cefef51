#include "eventpump.h"

#include <QCoreApplication>
#include <QTimer>
#include <cmath>

namespace tarvo {

EventPump::EventPump(QObject* parent)
    : QObject(parent)
{
    m_clock.start();
}

double EventPump::now() const
{
    return static_cast<double>(m_clock.nsecsElapsed()) * 1e-9;
}

double EventPump::waitFor(double limit, const std::function<bool()>& done, QEventLoop::ProcessEventsFlags flags)
{
    const double start = now();
    m_lastExpired = m_cutShort;
    if (m_cutShort || done())
        return 0.0;

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    auto arm = [&] {
        const double left = limit - (now() - start);
        // Round up so the deadline is never reached early.
        deadline.start(std::max(0, static_cast<int>(std::ceil(left * 1000.0))));
    };
    connect(&deadline, &QTimer::timeout, &loop, [&] {
        if (m_cutShort || now() - start > limit || done())
            loop.quit();
        else
            arm();
    });
    arm();

    m_waits.push_back({&loop, &done});
    ++m_depth;
    loop.exec(flags);
    --m_depth;
    m_lastExpired = m_cutShort || m_waits.back().expired;
    m_waits.pop_back();
    return now() - start;
}

void EventPump::processEvents()
{
    ++m_depth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --m_depth;
}

void EventPump::quitWhenIdle()
{
    if (m_depth == 0)
        QCoreApplication::quit();
    else
        QTimer::singleShot(10, this, &EventPump::quitWhenIdle);
}

bool EventPump::expireInnermostWait()
{
    if (m_waits.empty())
        return false;
    m_waits.back().expired = true;
    m_waits.back().loop->quit();
    return true;
}

void EventPump::setWaitsCutShort(bool on)
{
    m_cutShort = on;
    poke();
}

void EventPump::poke()
{
    for (const auto& w : m_waits)
        if (m_cutShort || (*w.done)())
            w.loop->quit();
}

}  // namespace tarvo
