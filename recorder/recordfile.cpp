#include "recordfile.h"

#include "fileio.h"
#include "measurement.h"
#include <QCoreApplication>

namespace tarvo {

namespace {
constexpr int kFieldBytes = 12;

QByteArray field(const QString& text)
{
    QByteArray bytes = text.toLatin1().left(kFieldBytes);
    bytes.append(kFieldBytes - bytes.size(), '\0');
    return bytes;
}
}  // namespace

RecordValues recordValues(const MeasuredValues& m)
{
    return {m.dataChRef, m.dataChDir, m.dataChDif, m.dataNorm, m.dataInt, m.dataGf, m.dataPP, m.dataTemp};
}

QByteArray recordHeader()
{
    QByteArray header;
    for (const char* word : {"DATE", "TIME", "CH_REF", "CH_DIR", "CH_DIF", "NORM", "INT", "GF", "PP", "TEMP"}) {
        header.append(word);
        header.append('\t');
        header.append('\0');
    }
    header.append("\r\n");
    return header;
}

QByteArray recordLine(const QDateTime& when, const RecordValues& values)
{
    QByteArray line = field(when.toString(QStringLiteral("MM-dd-yyyy")));
    line.append('\t');
    line.append(field(when.toString(QStringLiteral("HH:mm:ss"))));
    line.append('\t');
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            line.append('\t');
        line.append(QByteArray::number(values[i]));
    }
    line.append("\r\n");
    return line;
}

RecordTime recordTime(std::uint16_t interval, std::uint16_t count)
{
    std::uint32_t total = std::uint32_t(interval) * count;
    RecordTime t;
    t.days = total / 86400;
    total -= t.days * 86400;
    t.hours = total / 3600;
    total -= t.hours * 3600;
    t.minutes = total / 60;
    t.seconds = total - t.minutes * 60;
    return t;
}

bool RecordFile::create(const QString& path)
{
    m_error.clear();
    if (path.isEmpty()) {
        m_error = QCoreApplication::translate("RecordFile", "No file name.");
        return false;
    }
    // The header replaces the old file in one step; a failure leaves it as it was.
    return saveWholeFile(path, recordHeader(), &m_error);
}

bool RecordFile::append(const QString& path, const RecordValues& values, const QDateTime& when)
{
    m_error.clear();
    if (path.isEmpty()) {
        m_error = QCoreApplication::translate("RecordFile", "No file name.");
        return false;
    }
    return appendWhole(path, recordLine(when.isValid() ? when : clock(), values), true, &m_error);
}

}  // namespace tarvo
