#include "settingsfiles.h"

#include "fileio.h"
#include "numbertext.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tarvo {

namespace {

// Both files are a few hundred bytes; anything far larger is something else.
constexpr qint64 kMaxFileBytes = 64 * 1024;

// Reads one line as a line reader with a length limit does: up to the line
// end, keeping at most maxChars characters and dropping the rest of the line.
// The text ends at the first zero byte. Returns false at the end of the text.
bool readLimitedLine(const QByteArray& text, qsizetype& pos, int maxChars, QByteArray* out)
{
    out->clear();
    if (pos >= text.size())
        return false;
    qsizetype end = text.indexOf('\n', pos);
    if (end < 0)
        end = text.size();
    *out = text.mid(pos, std::min<qsizetype>(end - pos, maxChars));
    pos = end + 1;
    if (out->endsWith('\r'))
        out->chop(1);
    const qsizetype zero = out->indexOf('\0');
    if (zero >= 0)
        out->truncate(zero);
    return true;
}

std::optional<std::uint16_t> wordOnLine(const QByteArray& line)
{
    const auto v = readNumber(QByteArrayView(line.trimmed()), NumberForm::Whole);
    if (!v || *v < 0 || *v > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(*v);
}

}  // namespace

int portNumberOf(const QString& text)
{
    const auto port = readNumber(QStringView(text).trimmed(), NumberForm::Whole);
    return port && *port >= 0 && *port <= 65535 ? static_cast<int>(*port) : 0;
}

SettingsRead readConnectionSettings(const QString& path)
{
    SettingsRead result;
    const FileRead file = readWholeFile(path, kMaxFileBytes);
    const QString name = QFileInfo(path).fileName();
    if (file.status != FileRead::Ok) {
        result.status = file.status == FileRead::Missing ? SettingsRead::Missing : SettingsRead::Failed;
        result.error = QStringLiteral("%1 cannot be read: %2").arg(name, file.error);
        return result;
    }
    const QByteArray text = withoutByteOrderMark(file.content);
    qsizetype pos = 0;
    QByteArray line;
    std::uint16_t* numbers[] = {&result.settings.comprotocol, &result.settings.comport};
    for (int i = 0; i < 2; ++i) {
        readLimitedLine(text, pos, 100, &line);
        const auto word = wordOnLine(line);
        if (!word) {
            result.status = SettingsRead::Failed;
            result.error = numberInFileMessage(
                name, i + 1, line, QCoreApplication::translate("SettingsFiles", "a whole number from 0 to 65535"));
            return result;
        }
        *numbers[i] = *word;
    }
    readLimitedLine(text, pos, 255, &line);
    result.settings.ipBuf = QString::fromLatin1(line);
    readLimitedLine(text, pos, 31, &line);
    result.settings.portNumStr = QString::fromLatin1(line);
    result.status = SettingsRead::Ok;
    return result;
}

bool writeConnectionSettings(const QString& path, const ConnectionSettings& s, QString* error)
{
    QByteArray content;
    content += QByteArray::number(s.comprotocol) + '\n';
    content += QByteArray::number(s.comport) + '\n';
    content += s.ipBuf.left(255).toLatin1() + '\n';
    content += s.portNumStr.left(31).toLatin1() + '\n';
    return saveWholeFile(path, content, error);
}

QStringList readServerHistory(const QString& path, QString* error)
{
    QStringList entries;
    const FileRead file = readWholeFile(path, kMaxFileBytes);
    if (file.status != FileRead::Ok) {
        if (file.status == FileRead::Failed && error)
            *error = file.error;
        return entries;
    }
    const qint64 records = file.content.size() / kHistoryRecordBytes;
    qsizetype pos = 0;
    QByteArray line;
    for (qint64 r = 0; r < records && entries.size() < kHistoryMaxEntries; ++r) {
        if (!readLimitedLine(file.content, pos, kHistoryRecordText, &line))
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
    return saveWholeFile(path, content, error);
}

ReconnectSettings readReconnectSettings(const QString& path)
{
    ReconnectSettings s;
    const FileRead read = readWholeFile(path, 1024);
    if (read.status != FileRead::Ok)
        return s;
    const QList<QByteArray> lines = read.content.split('\n');
    bool ok = false;
    const int on = lines.value(0).trimmed().toInt(&ok);
    if (ok)
        s.enabled = on == 1;
    const int seconds = lines.value(1).trimmed().toInt(&ok);
    if (ok && seconds >= 2 && seconds <= 3600)
        s.quietSeconds = seconds;
    return s;
}

bool writeReconnectSettings(const QString& path, const ReconnectSettings& s, QString* error)
{
    const QByteArray content = QByteArray::number(s.enabled ? 1 : 0) + '\n' + QByteArray::number(s.quietSeconds) + '\n';
    return saveWholeFile(path, content, error);
}

}  // namespace tarvo
