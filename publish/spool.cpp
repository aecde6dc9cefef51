#include "spool.h"

#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarvo::publish {

namespace {

const QByteArray kHeader = QByteArrayLiteral("tarvoctl spool 1");
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;  // far above kFileEntries messages
constexpr int kKeyDigits = 20;                      // every 64-bit key, zero-padded
// Far beyond any run's count; a key above it comes from a damaged line and
// would leave no room for the keys after it.
constexpr quint64 kMaxKey = quint64(1) << 62;

struct Parsed {
    bool isSpool = false;
    std::vector<SpoolEntry> entries;
};

// The messages of one spool file; damaged lines are skipped and named in warnings.
Parsed parse(const QByteArray& content, const QString& path, quint64 fileKey, QStringList& warnings)
{
    Parsed p;
    const QList<QByteArray> lines = content.split('\n');
    if (lines.isEmpty() || lines.first() != kHeader) {
        warnings << QStringLiteral("%1 is not a spool file of tarvoctl; it is left alone")
                        .arg(QDir::toNativeSeparators(path));
        return p;
    }
    p.isSpool = true;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        if (l.isEmpty())
            continue;
        const qsizetype tab1 = l.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : l.indexOf('\t', tab1 + 1);
        bool keyOk = false;
        SpoolEntry e;
        if (tab2 > 0) {
            e.key = l.left(tab1).toULongLong(&keyOk);
            e.kind = l.mid(tab1 + 1, tab2 - tab1 - 1);
            e.payload = l.mid(tab2 + 1);
        }
        const bool ok = keyOk && e.key > 0 && e.key < kMaxKey && (e.kind == "values" || e.kind == "events")
            && QJsonDocument::fromJson(e.payload).isObject();
        if (!ok) {
            warnings << QStringLiteral("%1, line %2: damaged, skipped")
                            .arg(QDir::toNativeSeparators(path), QString::number(i + 1));
            continue;
        }
        e.file = fileKey;
        p.entries.push_back(std::move(e));
    }
    return p;
}

// Puts a file's (or on POSIX a directory's) written data on the disk.
void syncPath(const QString& path)
{
#if defined(Q_OS_WIN)
    QFile f(path);
    if (f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        _commit(f.handle());
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#endif
}

}  // namespace

Spool::Spool(const QString& dir, const QString& id)
    : m_dir(dir)
    , m_base(QString::fromLatin1(QUrl::toPercentEncoding(id)))
{
}

Spool::~Spool() = default;

QString Spool::pathFor(quint64 firstKey) const
{
    // Not through arg(): the percent-encoded id holds '%' signs.
    return QDir(m_dir).filePath(m_base + u'.' + QStringLiteral("%1").arg(firstKey, kKeyDigits, 10, QChar(u'0'))
                                + QStringLiteral(".spool"));
}

QByteArray Spool::line(const SpoolEntry& e)
{
    return QByteArray::number(e.key) + '\t' + e.kind + '\t' + e.payload + '\n';
}

bool Spool::open(QString* error)
{
    const QString shown = QDir::toNativeSeparators(m_dir);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_dir.toStdWString()), ec);
    if (ec || !QFileInfo(m_dir).isDir()) {
        *error = QStringLiteral("the spool directory %1 cannot be made: %2")
                     .arg(shown, ec ? QString::fromLocal8Bit(ec.message().c_str()) : QStringLiteral("Not a directory"));
        return false;
    }
    const QString lockPath = QDir(m_dir).filePath(m_base + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(lockPath);
    // Held for the whole run: only a holder that no longer runs makes it stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        qint64 pid = 0;
        QString host, app;
        if (m_lock->error() == QLockFile::LockFailedError && m_lock->getLockInfo(&pid, &host, &app)) {
            *error = QStringLiteral("the spool %1 is in use by process %2 (another publisher of the same topics)")
                         .arg(shown, QString::number(pid));
        } else {
            QFile probe(lockPath);
            const bool opened = probe.open(QIODevice::WriteOnly);
            *error = QStringLiteral("the spool directory %1 cannot be written: %2")
                         .arg(shown, opened ? QStringLiteral("the lock file cannot be made") : probe.errorString());
        }
        m_lock.reset();
        return false;
    }
    const QStringList names = QDir(m_dir).entryList({m_base + QStringLiteral(".*.spool")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString middle = name.mid(m_base.size() + 1).chopped(6);  // between the dots
        bool ok = false;
        const quint64 key = middle.toULongLong(&ok);
        if (ok && key > 0 && key < kMaxKey && middle.size() == kKeyDigits)
            m_files[key].path = QDir(m_dir).filePath(name);
    }
    if (!m_files.empty()) {
        // The newest file holds the highest key.
        auto last = std::prev(m_files.end());
        m_nextKey = last->first + 1;
        const FileRead read = readWholeFile(last->second.path, kMaxFileBytes);
        if (read.status == FileRead::Ok) {
            const Parsed p = parse(read.content, last->second.path, last->first, m_warnings);
            if (!p.entries.empty())
                m_nextKey = std::max(m_nextKey, p.entries.back().key + 1);
        }
    }
    return true;
}

bool Spool::hasUnread() const
{
    if (!m_buffer.empty())
        return true;
    for (const auto& [key, file] : m_files)
        if (!file.reading)
            return true;
    return false;
}

bool Spool::append(SpoolEntry& entry, bool inMemory, QString* error)
{
    auto tail = m_files.empty() ? m_files.end() : std::prev(m_files.end());
    const bool fresh = tail == m_files.end() || !tail->second.writing || tail->second.reading != inMemory
        || tail->second.entries >= kFileEntries;
    if (fresh) {
        if (tail != m_files.end() && tail->second.writing) {
            tail->second.writing = false;
            removeIfDone(tail);
        }
        const QString path = pathFor(entry.key);
        if (!appendWhole(path, kHeader + '\n' + line(entry), false, error)) {
            QFile::remove(path);
            return false;
        }
        File f;
        f.path = path;
        f.entries = 1;
        f.reading = inMemory;
        f.writing = true;
        m_files[entry.key] = f;
        entry.file = entry.key;
        m_dirty << path;
        m_dirtyDirectory = true;
        return true;
    }
    if (!appendWhole(tail->second.path, line(entry), true, error))
        return false;
    ++tail->second.entries;
    entry.file = tail->first;
    if (m_dirty.isEmpty() || m_dirty.last() != tail->second.path)
        m_dirty << tail->second.path;
    return true;
}

void Spool::sync()
{
    for (const QString& path : std::as_const(m_dirty))
        syncPath(path);
    m_dirty.clear();
#if !defined(Q_OS_WIN)
    if (m_dirtyDirectory)
        syncPath(m_dir);  // a new file's name
#endif
    m_dirtyDirectory = false;
}

bool Spool::load(quint64 firstKey, File& file)
{
    const FileRead read = readWholeFile(file.path, kMaxFileBytes);
    if (read.status != FileRead::Ok) {
        m_warnings << QStringLiteral("%1 cannot be read (%2); it is left for a later run")
                          .arg(QDir::toNativeSeparators(file.path), read.error);
        return false;
    }
    Parsed p = parse(read.content, file.path, firstKey, m_warnings);
    if (!p.isSpool)
        return false;
    file.entries = static_cast<int>(p.entries.size());
    for (SpoolEntry& e : p.entries)
        m_buffer.push_back(std::move(e));
    return true;
}

std::vector<SpoolEntry> Spool::take(int n)
{
    std::vector<SpoolEntry> out;
    while (static_cast<int>(out.size()) < n) {
        if (m_buffer.empty()) {
            auto it = m_files.begin();
            while (it != m_files.end() && it->second.reading)
                ++it;
            if (it == m_files.end())
                break;
            it->second.reading = true;
            it->second.writing = false;  // appends go to a new file from now on
            // A file that cannot be read stays on disk (entries -1); one
            // without a message left goes.
            if (load(it->first, it->second))
                removeIfDone(it);
            continue;
        }
        out.push_back(std::move(m_buffer.front()));
        m_buffer.pop_front();
    }
    return out;
}

void Spool::delivered(const SpoolEntry& entry)
{
    const auto it = m_files.find(entry.file);
    if (entry.file == 0 || it == m_files.end())
        return;
    it->second.delivered.push_back(entry.key);
    removeIfDone(it);
}

void Spool::removeIfDone(std::map<quint64, File>::iterator it)
{
    const File& f = it->second;
    if (!f.reading || f.writing || f.entries < 0 || static_cast<qsizetype>(f.delivered.size()) < f.entries)
        return;
    QFile::remove(f.path);
    m_files.erase(it);
}

bool Spool::close(const std::vector<SpoolEntry>& keep, QString* error)
{
    for (auto& [key, file] : m_files)
        file.writing = false;
    bool ok = true;
    auto fail = [&](const QString& why) {
        if (ok && error)
            *error = why;
        ok = false;
    };
    // Runs of kept messages, each in a file of its own that ends before
    // the next file on disk begins.
    size_t i = 0;
    while (i < keep.size()) {
        const quint64 first = keep[i].key;
        const auto next = m_files.upper_bound(first);
        QByteArray content = kHeader + '\n';
        while (i < keep.size() && (next == m_files.end() || keep[i].key < next->first))
            content += line(keep[i++]);
        QString why;
        if (!saveWholeFile(pathFor(first), content, &why))
            fail(why);
    }
    // Files read in part: what was delivered goes.
    for (auto it = m_files.begin(); it != m_files.end();) {
        File& f = it->second;
        auto current = it++;
        if (f.delivered.empty() || f.entries < 0)
            continue;
        if (static_cast<qsizetype>(f.delivered.size()) >= f.entries) {
            QFile::remove(f.path);
            m_files.erase(current);
            continue;
        }
        const FileRead read = readWholeFile(f.path, kMaxFileBytes);
        if (read.status != FileRead::Ok)
            continue;  // delivered again next time, which is allowed
        QByteArray content = kHeader + '\n';
        for (const SpoolEntry& e : parse(read.content, f.path, current->first, m_warnings).entries)
            if (std::find(f.delivered.begin(), f.delivered.end(), e.key) == f.delivered.end())
                content += line(e);
        QString why;
        if (!saveWholeFile(f.path, content, &why))
            fail(why);
    }
    sync();
    if (m_lock)
        m_lock->unlock();
    return ok;
}

QStringList Spool::takeWarnings()
{
    QStringList w;
    w.swap(m_warnings);
    return w;
}

}  // namespace tarvo::publish
