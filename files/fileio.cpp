#include "fileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tarvo {

namespace {

qint64 g_diskBudget = -1;  // bytes left before the simulated disk is full; -1 = no simulation
int g_readFailures = 0;

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The device's own reason, unless it has none worth showing; then the
// system's last error, which is the reason on every platform Qt writes with.
QString reasonOf(const QFileDevice& file, int savedErrno)
{
    QString own = file.errorString();
    if (!own.isEmpty() && own != QLatin1String("Unknown error"))
        return own;
    return savedErrno != 0 ? systemReason(savedErrno) : own;
}

// Writes everything or reports why not; honours the simulated full disk.
bool writeAll(QFileDevice& file, const QByteArray& bytes, QString* error)
{
    qint64 allowed = bytes.size();
    if (g_diskBudget >= 0 && g_diskBudget < allowed)
        allowed = g_diskBudget;
    errno = 0;
    const qint64 written = allowed > 0 ? file.write(bytes.constData(), allowed) : 0;
    const int savedErrno = errno;
    if (g_diskBudget >= 0)
        g_diskBudget -= std::max<qint64>(written, 0);
    if (written == bytes.size() && file.flush())
        return true;
    if (error)
        *error = written == allowed && allowed < bytes.size() ? systemReason(ENOSPC) : reasonOf(file, savedErrno);
    return false;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool noSuchFile(const QString& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path.toStdWString()), ec);
    return status.type() == std::filesystem::file_type::not_found;
}

}  // namespace

void simulateDiskFullAfter(qint64 bytes)
{
    g_diskBudget = bytes;
}
void simulateReadFailures(int count)
{
    g_readFailures = count;
}

bool saveWholeFile(const QString& path, const QByteArray& content, QString* error)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setError(error, reasonOf(file, errno));
        return false;
    }
    // Everything must be on the disk before the new file replaces the old:
    // a commit alone may rename an empty file over the old one when the
    // buffered bytes could not be written.
    if (!writeAll(file, content, error)) {
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        setError(error, reasonOf(file, errno));
        return false;
    }
    return true;
}

bool appendWhole(const QString& path, const QByteArray& bytes, bool mustExist, QString* error)
{
    QFile file(path);
    QIODevice::OpenMode mode = QIODevice::ReadWrite | QIODevice::Unbuffered;
    if (mustExist)
        mode |= QIODevice::ExistingOnly;
    errno = 0;
    if (!file.open(mode)) {
        setError(error,
                 mustExist && noSuchFile(path) ? QCoreApplication::translate("FileIO", "The file no longer exists.")
                                               : reasonOf(file, errno));
        return false;
    }
    qint64 end = file.size();
    // A line cut short by an earlier failure or crash is removed first, so
    // the new line starts at a line start.
    if (end > 0 && file.seek(end - 1) && file.read(1) != "\n") {
        const qint64 tail = std::min<qint64>(end, 64 * 1024);
        file.seek(end - tail);
        const QByteArray last = file.read(tail);
        const qsizetype lineEnd = last.lastIndexOf('\n');
        const qint64 keep = lineEnd < 0 ? (tail == end ? 0 : end) : end - tail + lineEnd + 1;
        if (keep != end && file.resize(keep))
            end = keep;
    }
    if (!file.seek(end)) {
        setError(error, reasonOf(file, errno));
        return false;
    }
    if (writeAll(file, bytes, error))
        return true;
    file.resize(end);  // back to the last complete line
    return false;
}

FileRead readWholeFile(const QString& path, qint64 maxBytes)
{
    FileRead result;
    for (int attempt = 0; attempt < 2; ++attempt) {
        QFile file(path);
        errno = 0;
        bool opened = false;
        if (g_readFailures > 0) {
            --g_readFailures;
            result.error = systemReason(EIO);
        } else if (file.open(QIODevice::ReadOnly)) {
            opened = true;
        } else {
            result.error = reasonOf(file, errno);
            if (noSuchFile(path)) {
                result.status = FileRead::Missing;
                return result;
            }
        }
        if (!opened)
            continue;
        if (file.size() > maxBytes) {
            result.error = QCoreApplication::translate("FileIO", "The file is too large (%1 bytes).").arg(file.size());
            return result;
        }
        result.content = file.read(maxBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            result.error = reasonOf(file, errno);
            continue;
        }
        if (result.content.size() > maxBytes) {  // a device that reported no size
            result.error = QCoreApplication::translate("FileIO", "The file is too large.");
            return result;
        }
        result.status = FileRead::Ok;
        result.error.clear();
        return result;
    }
    result.content.clear();
    return result;
}

}  // namespace tarvo
