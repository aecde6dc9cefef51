#include "settingsfiles.h"

#include <QFile>
#include <QSaveFile>
#include <climits>

namespace tarvo {

namespace {

// Reads one line as a line reader with a length limit does: up to the line
// end, keeping at most maxChars characters and dropping the rest of the line.
// The text ends at the first zero byte. Returns false at end of file.
bool readLimitedLine(QFile& file, int maxChars, QByteArray* out)
{
    out->clear();
    if (file.atEnd())
        return false;
    char c = 0;
    while (file.getChar(&c)) {
        if (c == '\n')
            break;
        if (out->size() < maxChars)
            out->append(c);
    }
    if (out->endsWith('\r'))
        out->chop(1);
    const qsizetype zero = out->indexOf('\0');
    if (zero >= 0)
        out->truncate(zero);
    return true;
}

bool saveWhole(const QString& path, const QByteArray& content, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

int atoiLike(const QByteArray& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'
                               || text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<ConnectionSettings> readConnectionSettings(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    ConnectionSettings s;
    s.comprotocol = 0;
    s.comport = 0;
    if (!file.open(QIODevice::ReadOnly))
        return s;  // present but unreadable: read as four empty lines
    QByteArray line;
    readLimitedLine(file, 100, &line);
    s.comprotocol = static_cast<std::uint16_t>(atoiLike(line));
    readLimitedLine(file, 100, &line);
    s.comport = static_cast<std::uint16_t>(atoiLike(line));
    readLimitedLine(file, 255, &line);
    s.ipBuf = QString::fromLatin1(line);
    readLimitedLine(file, 31, &line);
    s.portNumStr = QString::fromLatin1(line);
    return s;
}

bool writeConnectionSettings(const QString& path, const ConnectionSettings& s, QString* error)
{
    QByteArray content;
    content += QByteArray::number(s.comprotocol) + '\n';
    content += QByteArray::number(s.comport) + '\n';
    content += s.ipBuf.left(255).toLatin1() + '\n';
    content += s.portNumStr.left(31).toLatin1() + '\n';
    return saveWhole(path, content, error);
}

QStringList readServerHistory(const QString& path)
{
    QStringList entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const qint64 records = file.size() / kHistoryRecordBytes;
    QByteArray line;
    for (qint64 r = 0; r < records && entries.size() < kHistoryMaxEntries; ++r) {
        if (!readLimitedLine(file, kHistoryRecordText, &line))
            break;
        if (!line.isEmpty())
            entries.append(QString::fromLatin1(line));
    }
    return entries;
}

bool writeServerHistory(const QString& path, const QStringList& entries, QString* error)
{
    QByteArray content;
    for (const QString& entry : entries) {
        QByteArray record = entry.toLatin1().left(kHistoryRecordText);
        record.append(kHistoryRecordText - record.size(), '\0');
        content += record + '\n';
    }
    return saveWhole(path, content, error);
}

} // namespace tarvo
