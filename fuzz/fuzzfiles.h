// Small helpers shared by the file targets.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tarvo::fuzz {

// A path in a directory that lives as long as the run; in memory where the
// system offers that, since every saved file is synced to its disk.
inline QString scratchFile(const char* name)
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/tarvo-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tarvo-fuzz-XXXXXX"));
    return dir.filePath(QString::fromLatin1(name));
}

inline QByteArray bytesOf(const std::uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Replaces the file's content; the harness's own file, so any failure stops the run.
inline void putFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(path));
        std::abort();
    }
}

inline QByteArray fileContent(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A property of the code under test does not hold: report it and stop.
[[noreturn]] inline void broken(const char* what)
{
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

// A reader's answer: true when it accepted the input; a refusal must say why.
template <typename T>
bool accepted(const std::optional<T>& result, const QString& why)
{
    if (!result && why.isEmpty())
        broken("a refused input without a reason");
    return result.has_value();
}

// The input as the file `name`, read with read(path, &error); when it is
// accepted, written back with write(path, value, &error) it must read the
// same. Returns what the first read gave.
template <typename Read, typename Write>
auto readsBackAsWritten(const char* name, const std::uint8_t* data, size_t size, Read read, Write write)
{
    const QString path = scratchFile(name);
    putFile(path, bytesOf(data, size));
    QString error;
    const auto value = read(path, &error);
    if (!accepted(value, error))
        return value;
    if (!write(path, *value, &error))
        broken("what was read cannot be written back");
    const auto again = read(path, &error);
    if (!again || !(*again == *value))
        broken("what was written does not read back the same");
    return value;
}

}  // namespace tarvo::fuzz
