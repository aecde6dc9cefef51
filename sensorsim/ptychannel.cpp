#include "ptychannel.h"

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#define TARVO_HAVE_PTY 1
#endif

#include <QFile>

#include <algorithm>

namespace tarvo::sim {

namespace {
// Output waiting for a client that does not read is capped; the rest is lost,
// as on a real line with nobody listening.
constexpr qsizetype kMaxQueued = 64 * 1024;
// While a burst lasts its bytes are let through about once a millisecond.
constexpr qint64 kTickNs = 1'000'000;
}

PtyChannel::PtyChannel(QObject* parent)
    : SimChannel(parent)
{
    connect(&m_pacer, &PreciseTimer::timeout, this, &PtyChannel::pace);
    m_clock.start();
}

PtyChannel::~PtyChannel()
{
    closeDevice();
}

void PtyChannel::closeDevice()
{
#ifdef TARVO_HAVE_PTY
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
#endif
}

bool PtyChannel::supported()
{
#ifdef TARVO_HAVE_PTY
    return true;
#else
    return false;
#endif
}

bool PtyChannel::open(QString* error)
{
#ifdef TARVO_HAVE_PTY
    auto fail = [&](const char* what) {
        if (error)
            *error = QStringLiteral("pseudo-terminal: %1: %2")
                         .arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    if (m_master >= 0)
        return true;  // open already
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_path = QString::fromLocal8Bit(name);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0)
        return fail("open slave");
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B19200);
        ::cfsetospeed(&tio, B19200);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }

    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyChannel::readMaster);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyChannel::writeMaster);
    ++m_connectionId;
    m_dead = false;
    if (!m_linkPath.isEmpty()) {
        QFile::remove(m_linkPath);
        if (!QFile::link(m_path, m_linkPath))
            return fail("symlink");
    }
    return true;
#else
    if (error)
        *error = QStringLiteral("pseudo-terminals are not available on this system");
    return false;
#endif
}

void PtyChannel::readMaster()
{
#ifdef TARVO_HAVE_PTY
    if (m_master < 0)
        return;
    QByteArray bytes;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            m_readNotifier->setEnabled(false);  // the line is gone; avoid spinning
        break;
    }
    if (bytes.isEmpty() || m_dead)
        return;
    if (m_paced) {
        m_in.push(bytes, m_clock.nsecsElapsed());
        startPacer();
    } else {
        emit received(bytes);
    }
#endif
}

void PtyChannel::send(const QByteArray& bytes)
{
    if (m_master < 0 || m_dead || bytes.isEmpty())
        return;
    if (m_paced) {
        m_out.push(bytes, m_clock.nsecsElapsed());
        startPacer();
    } else {
        deliver(bytes);
    }
}

void PtyChannel::deliver(const QByteArray& bytes)
{
    if (m_wire.size() + bytes.size() > kMaxQueued)
        return;
    m_wire.append(bytes);
    writeMaster();
}

void PtyChannel::writeMaster()
{
#ifdef TARVO_HAVE_PTY
    if (m_master < 0) {
        m_wire.clear();
        return;
    }
    while (!m_wire.isEmpty()) {
        const ssize_t n = ::write(m_master, m_wire.constData(), size_t(m_wire.size()));
        if (n > 0) {
            m_wire.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            m_wire.clear();
        break;
    }
    m_writeNotifier->setEnabled(!m_wire.isEmpty());
#endif
}

void PtyChannel::closeConnection()
{
    m_dead = true;
    m_in.queue.clear();
    m_out.queue.clear();
    m_wire.clear();
}

void PtyChannel::suspend()
{
#ifdef TARVO_HAVE_PTY
    closeConnection();
    closeDevice();
    // As a USB adapter's stable name, the link goes with the device.
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
    emit disconnected();
#endif
}

void PtyChannel::revive()
{
    if (!m_dead)
        return;
    m_dead = false;
    ++m_connectionId;
}

// Sets the pacer to wake when the next bytes are due, unless it is already
// set to wake earlier.
void PtyChannel::startPacer()
{
    const qint64 now = m_clock.nsecsElapsed();
    qint64 next = -1;
    for (const Lane* lane : {&m_in, &m_out}) {
        const qint64 t = lane->nextReleaseNs(now);
        if (t >= 0 && (next < 0 || t < next))
            next = t;
    }
    if (next < 0 || (m_wakeNs >= 0 && m_wakeNs <= next))
        return;
    m_wakeNs = next;
    m_pacer.start(std::chrono::nanoseconds(next - now));
}

void PtyChannel::pace()
{
    m_wakeNs = -1;
    const qint64 now = m_clock.nsecsElapsed();
    const QByteArray in = m_in.take(now);
    const QByteArray out = m_out.take(now);
    if (!out.isEmpty())
        deliver(out);
    startPacer();
    if (!in.isEmpty() && !m_dead)
        emit received(in);
}

qint64 PtyChannel::Lane::nextReleaseNs(qint64 nowNs) const
{
    if (queue.isEmpty())
        return -1;
    const qint64 lastDue = startNs + (released + queue.size()) * kByteNs;
    return std::min(lastDue, nowNs + kTickNs);
}

void PtyChannel::Lane::push(const QByteArray& bytes, qint64 nowNs)
{
    // A new burst starts when the line has fallen idle.
    if (queue.isEmpty() && nowNs >= startNs + released * kByteNs) {
        startNs = nowNs;
        released = 0;
    }
    if (queue.size() + bytes.size() <= kMaxQueued)
        queue.append(bytes);
}

QByteArray PtyChannel::Lane::take(qint64 nowNs)
{
    const qint64 due = (nowNs - startNs) / kByteNs - released;
    if (due <= 0 || queue.isEmpty())
        return {};
    const qsizetype n = std::min<qsizetype>(due, queue.size());
    released += n;
    QByteArray head = queue.left(n);
    queue.remove(0, n);
    return head;
}

}  // namespace tarvo::sim
