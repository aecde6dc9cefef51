#include "calibrationstatus.h"

#include "fileio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvo {

QString CalibrationIntervals::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tarvo/calibration-intervals.txt"));
}

CalibrationIntervals::CalibrationIntervals(QString path)
    : m_path(std::move(path))
{
    const FileRead file = readWholeFile(m_path, 1 << 20);
    if (file.status != FileRead::Ok)
        return;
    for (const QByteArray& line : file.content.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split('\t');
        bool ok = false;
        const int d = f.size() == 2 ? f[1].toInt(&ok) : 0;
        if (ok && d > 0 && !f[0].isEmpty())
            m_days.insert(QString::fromUtf8(f[0]), d);
    }
}

bool CalibrationIntervals::setDays(const QString& sensor, int days, QString* error)
{
    QMap<QString, int> next = m_days;
    if (days > 0)
        next.insert(sensor, days);
    else
        next.remove(sensor);
    QByteArray text;
    for (auto it = next.cbegin(); it != next.cend(); ++it) {
        QString name = it.key();
        name.replace(u'\t', u' ').replace(u'\n', u' ');
        text += name.toUtf8() + '\t' + QByteArray::number(it.value()) + '\n';
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()) || !saveWholeFile(m_path, text, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("the folder cannot be made");
        return false;
    }
    m_days = next;
    return true;
}

QString calibrationDueText(const std::vector<CalibrationRecord>& records, const CalibrationIntervals& intervals,
                           const QString& sensorId, const QString& sensor, const QDateTime& now)
{
    const int days = intervals.days(sensorId.isEmpty() ? sensor : sensorId);
    if (days <= 0)
        return {};
    const CalibrationRecord* last = lastSuccessful(records, sensorId, sensor);
    if (!last)
        return QCoreApplication::translate("CalibrationStatus", "calibration due: none logged");
    const QDateTime due = last->when.addDays(days);
    if (due > now)
        return {};
    return QCoreApplication::translate("CalibrationStatus", "calibration due since %1")
        .arg(due.toString(QStringLiteral("yyyy-MM-dd")));
}

QString calibrationDueNow(const QString& sensorId, const QString& sensor)
{
    const CalibrationLog log;
    const CalibrationIntervals intervals(
        QFileInfo(log.path()).absoluteDir().filePath(QStringLiteral("calibration-intervals.txt")));
    return calibrationDueText(log.read().records, intervals, sensorId, sensor, QDateTime::currentDateTime());
}

}  // namespace tarvo
