#include "output.h"

#include "eventpump.h"

#include <QFile>
#include <QMetaObject>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarvo::ctl {

namespace {
constexpr int kStdout = 1;
constexpr double kNoLimit = 1e6;  // seconds; far beyond any run
}  // namespace

// What the command's thread and the writer thread share. The writer thread
// holds it too, so it stays valid when a blocked writer is abandoned.
struct Output::Shared {
    enum State { Open, ReaderGone, Failed };

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<QByteArray> queue;
    qint64 queued = 0;
    bool writing = false;
    bool stop = false;
    State state = Open;
    QString error;
    QObject* notify = nullptr;  // a pump of the command's thread, poked after every write
    QFile file;                 // the writer thread's alone once it runs
    std::thread thread;
};

namespace {

// Writes all of bytes, whole lines. On failure a file is cut back to the
// last whole line that reached it, so that it holds whole lines only.
bool writeWhole(QFile& file, const QByteArray& bytes, QString* error, bool* readerGone)
{
    const qint64 before = file.isSequential() ? -1 : file.size();
    qint64 done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        const int savedErrno = errno;
        if (n > 0) {
            done += n;
            continue;
        }
        *readerGone = savedErrno == EPIPE;
        *error = savedErrno != 0 ? QString::fromLocal8Bit(std::strerror(savedErrno)) : file.errorString();
        if (before >= 0)
            file.resize(before + (done > 0 ? bytes.lastIndexOf('\n', done - 1) + 1 : 0));
        return false;
    }
    return true;
}

void writerLoop(const std::shared_ptr<Output::Shared>& shared)
{
    Output::Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&] { return s.stop || !s.queue.empty(); });
        if (s.queue.empty())
            return;
        QByteArray chunk;
        for (const QByteArray& piece : s.queue)
            chunk += piece;
        s.queue.clear();
        s.writing = true;
        lock.unlock();
        QString error;
        bool readerGone = false;
        const bool ok = writeWhole(s.file, chunk, &error, &readerGone);
        lock.lock();
        s.writing = false;
        s.queued -= chunk.size();
        if (!ok) {
            s.state = readerGone ? Output::Shared::ReaderGone : Output::Shared::Failed;
            s.error = error;
            s.queue.clear();
            s.queued = 0;
        }
        if (s.notify)
            QMetaObject::invokeMethod(s.notify, "poke", Qt::QueuedConnection);
        if (!ok)
            return;
    }
}

}  // namespace

bool holdStandardStreams()
{
    bool stdoutOpen = true;
#if defined(Q_OS_UNIX)
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number is the one just found closed.
        [[maybe_unused]] const int held = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (fd == kStdout)
            stdoutOpen = false;
    }
#endif
    return stdoutOpen;
}

Output::Output(bool stdoutOpen)
    : m_shared(std::make_shared<Shared>())
    , m_stdoutOpen(stdoutOpen)
{
}

Output::~Output()
{
    if (!m_started)
        return;
    bool blocked = false;
    {
        std::lock_guard lock(m_shared->mutex);
        // What was not handed over by finish() is abandoned.
        m_shared->queue.clear();
        m_shared->stop = true;
        m_shared->notify = nullptr;
        blocked = m_shared->writing;
    }
    m_shared->wake.notify_one();
    // A writer stuck in a write to a reader that stopped reading is left
    // behind; the process ends without it.
    if (blocked)
        m_shared->thread.detach();
    else
        m_shared->thread.join();
}

bool Output::open(const QString& path, bool noClobber, QString* error)
{
    if (path.isEmpty() || path == u"-") {
        start(kStdout);
        return true;
    }
    m_name = path;
    QFile& file = m_shared->file;
    file.setFileName(path);
    if (noClobber && file.exists()) {
        *error = QStringLiteral("the file exists (--no-clobber keeps it)");
        return false;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    start(-1);
    return true;
}

void Output::start(int fd)
{
    if (m_started)
        return;
    m_started = true;
    if (fd == kStdout && !m_stdoutOpen) {
        m_shared->state = Shared::Failed;
        m_shared->error = QStringLiteral("it is closed");
    } else if (fd >= 0
               && !m_shared->file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                                       QFileDevice::DontCloseHandle)) {
        m_shared->state = Shared::Failed;
        m_shared->error = m_shared->file.errorString();
    }
    m_shared->notify = &pump();
    m_shared->thread = std::thread(writerLoop, m_shared);
}

EventPump& Output::pump()
{
    if (m_attached)
        return *m_attached;
    if (!m_ownPump)
        m_ownPump = std::make_unique<EventPump>();
    return *m_ownPump;
}

void Output::attach(EventPump* pump)
{
    m_attached = pump;
    std::lock_guard lock(m_shared->mutex);
    if (m_started)
        m_shared->notify = &this->pump();
}

bool Output::write(const QByteArray& lines)
{
    start(kStdout);
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->state != Shared::Open)
            return false;
        m_shared->queue.push_back(lines);
        m_shared->queued += lines.size();
        if (m_shared->queued <= kBacklogBytes) {
            m_shared->wake.notify_one();
            return true;
        }
    }
    m_shared->wake.notify_one();
    // A reader that keeps us waiting: wait for it, as long as nothing ends the command.
    pump().waitFor(kNoLimit, [this] {
        std::lock_guard lock(m_shared->mutex);
        return m_shared->queued <= kBacklogBytes / 2 || m_shared->state != Shared::Open;
    });
    return !ended();
}

bool Output::finish(double limit)
{
    if (!m_started)
        return true;
    const auto drained = [this] {
        std::lock_guard lock(m_shared->mutex);
        return (m_shared->queue.empty() && !m_shared->writing) || m_shared->state != Shared::Open;
    };
    pump().waitFor(limit < 0 ? kNoLimit : limit, drained);
    std::lock_guard lock(m_shared->mutex);
    return m_shared->queue.empty() && !m_shared->writing && m_shared->state == Shared::Open;
}

bool Output::ended() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->state != Shared::Open;
}

bool Output::readerGone() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->state == Shared::ReaderGone;
}

QString Output::failure() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->state == Shared::Failed ? m_shared->error : QString();
}

}  // namespace tarvo::ctl
