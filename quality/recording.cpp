#include "recording.h"

#include "reconnect.h"

#include "fileio.h"

#include <QRegularExpression>
#include <algorithm>

namespace tarvo {

namespace {

constexpr qint64 kMaxRecordBytes = qint64(1) << 30;  // some 17 million lines
constexpr qint64 kMaxEventsBytes = qint64(64) << 20;
constexpr int kFieldBytes = 12;

QByteArray expectedHeader()
{
    QByteArray header;
    for (const char* word : {"DATE", "TIME", "CH_REF", "CH_DIR", "CH_DIF", "NORM", "INT", "GF", "PP", "TEMP"}) {
        header.append(word);
        header.append('\t');
        header.append('\0');
    }
    return header + "\r\n";
}

// A 12-byte field: the text, then zero bytes to its end.
std::optional<QString> fieldText(QByteArrayView field, int textBytes)
{
    if (field.size() != kFieldBytes)
        return std::nullopt;
    for (qsizetype i = textBytes; i < kFieldBytes; ++i)
        if (field[i] != '\0')
            return std::nullopt;
    return QString::fromLatin1(field.first(textBytes));
}

std::optional<std::uint16_t> word(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    unsigned v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + unsigned(c - '0');
    }
    if (v > 0xffff)
        return std::nullopt;
    return std::uint16_t(v);
}

QString lineError(qsizetype line, const QString& what)
{
    return QStringLiteral("line %1: %2").arg(line).arg(what);
}

}  // namespace

std::optional<Recording> parseRecordFile(const QByteArray& content, QString* error)
{
    const QByteArray header = expectedHeader();
    if (content.isEmpty()) {
        *error = QStringLiteral("the file is empty");
        return std::nullopt;
    }
    if (!content.startsWith(header)) {
        *error = QStringLiteral("line 1: not the header of a record file (DATE, TIME, CH_REF … TEMP)");
        return std::nullopt;
    }
    Recording r;
    qsizetype pos = header.size();
    qsizetype lineNo = 1;
    while (pos < content.size()) {
        ++lineNo;
        const qsizetype end = content.indexOf("\r\n", pos);
        if (end < 0) {
            *error = lineError(lineNo, QStringLiteral("cut short (no line end)"));
            return std::nullopt;
        }
        const QByteArrayView line = QByteArrayView(content).sliced(pos, end - pos);
        pos = end + 2;
        // date field, tab, time field, tab, eight values separated by tabs
        const QList<QByteArrayView> fields = [&] {
            QList<QByteArrayView> out;
            qsizetype from = 0;
            for (;;) {
                const qsizetype tab = line.indexOf('\t', from);
                if (tab < 0) {
                    out.append(line.sliced(from));
                    return out;
                }
                out.append(line.sliced(from, tab - from));
                from = tab + 1;
            }
        }();
        if (fields.size() != 10) {
            *error = lineError(lineNo, QStringLiteral("%1 fields where a value set has 10").arg(fields.size()));
            return std::nullopt;
        }
        const std::optional<QString> date = fieldText(fields[0], 10);
        const std::optional<QString> time = fieldText(fields[1], 8);
        QDateTime when;
        if (date && time)
            when = QDateTime::fromString(*date + u' ' + *time, QStringLiteral("MM-dd-yyyy HH:mm:ss"));
        if (!when.isValid()) {
            *error = lineError(lineNo, QStringLiteral("no date and time of the form MM-DD-YYYY and HH:MM:SS"));
            return std::nullopt;
        }
        RecordedSet set{when, {}};
        for (int i = 0; i < 8; ++i) {
            const std::optional<std::uint16_t> v = word(fields[i + 2]);
            if (!v) {
                *error = lineError(
                    lineNo,
                    QStringLiteral("value %1 (\"%2\") is not a whole number from 0 to 65535")
                        .arg(i + 1)
                        .arg(QString::fromLatin1(fields[i + 2].first(std::min<qsizetype>(fields[i + 2].size(), 20)))));
                return std::nullopt;
            }
            set.words[size_t(i)] = *v;
        }
        r.sets.push_back(set);
    }
    if (r.sets.empty()) {
        *error = QStringLiteral("no value set recorded (only the header)");
        return std::nullopt;
    }
    return r;
}

bool parseEvents(const QByteArray& content, Recording* recording, QString* error)
{
    static const QRegularExpression gapLength(QStringLiteral("^no frame for ([0-9]+(?:\\.[0-9]+)?) s"));
    static const QRegularExpression answered(QStringLiteral("^\"([^\"]*)\" answered"));
    const QList<QByteArray> lines = content.split('\n');
    std::optional<QDateTime> lostAt;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList f = line.split(u'\t');
        const QDateTime when = f.size() >= 3 ? QDateTime::fromString(f[0], Qt::ISODateWithMs) : QDateTime();
        if (!when.isValid() || f[1].isEmpty()) {
            *error = lineError(i + 1, QStringLiteral("not an event (time, word, reason, lines)"));
            return false;
        }
        RecordedEvent e{when, f[1], f[2]};
        recording->events.push_back(e);
        // The words the reconnection writes (linkEventWord), read back.
        const auto is = [&e](LinkEvent event) { return e.word == linkEventWord(event); };
        if (is(LinkEvent::Lost)) {
            if (!lostAt)
                lostAt = when;
        } else if (is(LinkEvent::Resumed) || is(LinkEvent::IdentityChanged) || is(LinkEvent::GaveUp)
                   || is(LinkEvent::Stopped)) {
            if (lostAt)
                recording->gaps.push_back({*lostAt, when});
            lostAt.reset();
        } else if (is(LinkEvent::Gap)) {
            const QRegularExpressionMatch m = gapLength.match(e.reason);
            if (m.hasMatch())
                recording->gaps.push_back({when.addMSecs(-qint64(m.captured(1).toDouble() * 1000.0)), when});
        }
        if (is(LinkEvent::Back) && recording->sensor.isEmpty()) {
            const QRegularExpressionMatch m = answered.match(e.reason);
            if (m.hasMatch())
                recording->sensor = m.captured(1);
        }
    }
    // A loss the file does not see the end of lasts to the last value set.
    if (lostAt && !recording->sets.empty())
        recording->gaps.push_back({*lostAt, std::max(*lostAt, recording->sets.back().when)});
    return true;
}

std::optional<Recording> loadRecording(const QString& recordPath, const QString& eventsPath, QString* error)
{
    const FileRead record = readWholeFile(recordPath, kMaxRecordBytes);
    if (record.status != FileRead::Ok) {
        *error = QStringLiteral("%1: %2").arg(
            recordPath, record.status == FileRead::Missing ? QStringLiteral("no such file") : record.error);
        return std::nullopt;
    }
    QString why;
    std::optional<Recording> r = parseRecordFile(record.content, &why);
    if (!r) {
        *error = QStringLiteral("%1: %2").arg(recordPath, why);
        return std::nullopt;
    }
    if (eventsPath.isEmpty())
        return r;
    const FileRead events = readWholeFile(eventsPath, kMaxEventsBytes);
    if (events.status != FileRead::Ok) {
        *error = QStringLiteral("%1: %2").arg(
            eventsPath, events.status == FileRead::Missing ? QStringLiteral("no such file") : events.error);
        return std::nullopt;
    }
    if (!parseEvents(events.content, &*r, &why)) {
        *error = QStringLiteral("%1: %2").arg(eventsPath, why);
        return std::nullopt;
    }
    return r;
}

}  // namespace tarvo
