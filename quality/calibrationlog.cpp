#include "calibrationlog.h"

#include "fileio.h"
#include "timetext.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace tarvo {

namespace {

constexpr qint64 kMaxLogBytes = qint64(256) << 20;

QJsonArray valuesJson(const CalibrationRecord::Values& values)
{
    QJsonArray a;
    for (const auto& [name, value] : values)
        a.append(QJsonArray{name, value});
    return a;
}

CalibrationRecord::Values valuesFrom(const QJsonValue& v)
{
    CalibrationRecord::Values out;
    for (const auto& pair : v.toArray()) {
        const QJsonArray p = pair.toArray();
        if (p.size() == 2)
            out.emplace_back(p[0].toString(), p[1].toString());
    }
    return out;
}

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u';'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString valuesText(const CalibrationRecord::Values& values)
{
    QStringList parts;
    for (const auto& [name, value] : values)
        parts << name + u'=' + value;
    return parts.join(QStringLiteral("; "));
}

}  // namespace

QByteArray CalibrationRecord::toJsonLine() const
{
    QJsonArray points;
    for (const auto& [x, y] : curve)
        points.append(QJsonArray{x, y});
    const QJsonObject o{
        {QStringLiteral("time"), isoTimeWithOffset(when)},
        {QStringLiteral("kind"), kind},
        {QStringLiteral("outcome"), outcome},
        {QStringLiteral("reason"), reason},
        {QStringLiteral("sensor"), sensor},
        {QStringLiteral("sensor_id"), sensorId},
        {QStringLiteral("user"), user},
        {QStringLiteral("program"), program},
        {QStringLiteral("reference"), reference},
        {QStringLiteral("before"), valuesJson(before)},
        {QStringLiteral("after"), valuesJson(after)},
        {QStringLiteral("curve"), points},
        {QStringLiteral("written"), written},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

bool CalibrationRecord::fromJsonLine(const QByteArray& line, CalibrationRecord* r)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    r->when = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    r->kind = o.value(QStringLiteral("kind")).toString();
    r->outcome = o.value(QStringLiteral("outcome")).toString();
    if (!r->when.isValid() || r->kind.isEmpty() || r->outcome.isEmpty())
        return false;
    r->reason = o.value(QStringLiteral("reason")).toString();
    r->sensor = o.value(QStringLiteral("sensor")).toString();
    r->sensorId = o.value(QStringLiteral("sensor_id")).toString();
    r->user = o.value(QStringLiteral("user")).toString();
    r->program = o.value(QStringLiteral("program")).toString();
    r->reference = o.value(QStringLiteral("reference")).toString();
    r->before = valuesFrom(o.value(QStringLiteral("before")));
    r->after = valuesFrom(o.value(QStringLiteral("after")));
    r->curve.clear();
    for (const auto& p : o.value(QStringLiteral("curve")).toArray()) {
        const QJsonArray xy = p.toArray();
        if (xy.size() == 2)
            r->curve.emplace_back(xy[0].toDouble(), xy[1].toDouble());
    }
    r->written = o.value(QStringLiteral("written")).toString();
    return true;
}

QString operatingSystemUser()
{
    for (const char* name : {"USER", "USERNAME", "LOGNAME"}) {
        QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
    return QStringLiteral("unknown");
}

QString CalibrationLog::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tarvo/calibration-log.jsonl"));
}

bool CalibrationLog::append(const CalibrationRecord& record, QString* error) const
{
    const QString dir = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(dir));
        return false;
    }
    return appendWhole(m_path, record.toJsonLine() + '\n', false, error);
}

CalibrationLog::Contents CalibrationLog::read() const
{
    Contents c;
    const FileRead file = readWholeFile(m_path, kMaxLogBytes);
    if (file.status == FileRead::Missing)
        return c;
    if (file.status != FileRead::Ok) {
        c.error = file.error;
        return c;
    }
    for (const QByteArray& line : file.content.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        CalibrationRecord r;
        if (CalibrationRecord::fromJsonLine(line, &r))
            c.records.push_back(std::move(r));
        else
            ++c.damaged;
    }
    return c;
}

QString calibrationCsv(const std::vector<CalibrationRecord>& records)
{
    QString out = QStringLiteral(
        "time,kind,outcome,reason,sensor,sensor_id,user,program,reference,before,after,curve,written\n");
    for (const CalibrationRecord& r : records) {
        QStringList curve;
        for (const auto& [x, y] : r.curve)
            curve << QStringLiteral("%1=%2").arg(x).arg(y);
        out += QStringList{isoTimeWithOffset(r.when),
                           r.kind,
                           r.outcome,
                           csvField(r.reason),
                           csvField(r.sensor),
                           csvField(r.sensorId),
                           csvField(r.user),
                           csvField(r.program),
                           csvField(r.reference),
                           csvField(valuesText(r.before)),
                           csvField(valuesText(r.after)),
                           csvField(curve.join(QStringLiteral("; "))),
                           r.written}
                   .join(u',')
            + u'\n';
    }
    return out;
}

const CalibrationRecord* lastSuccessful(const std::vector<CalibrationRecord>& records, const QString& sensorId,
                                        const QString& sensor)
{
    const CalibrationRecord* last = nullptr;
    for (const CalibrationRecord& r : records) {
        const bool same = !sensorId.isEmpty() ? r.sensorId == sensorId : (!sensor.isEmpty() && r.sensor == sensor);
        if (same && r.succeeded() && (!last || r.when >= last->when))
            last = &r;
    }
    return last;
}

}  // namespace tarvo
