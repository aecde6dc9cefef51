#include "payload.h"

#include "timetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace tarvo::publish {

namespace {

// A word in tenths as a number in its unit, exactly: 873 gives 87.3.
QByteArray tenths(std::uint16_t word)
{
    return QByteArray::number(word / 10) + '.' + QByteArray::number(word % 10);
}

QByteArray compact(const QJsonObject& o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// A control character (a zero, a line end, an escape …) in a topic level:
// brokers refuse some and every subscriber's log shows them wrongly.
bool hasControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QString wildcardIn(const QString& text)
{
    if (text.contains(u'+'))
        return QStringLiteral("'+'");
    if (text.contains(u'#'))
        return QStringLiteral("'#'");
    return QString();
}

}  // namespace

QString badName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("--name wants the sensor's name, one topic level such as line3");
    QString wrong = wildcardIn(name);
    if (wrong.isEmpty() && name.contains(u'/'))
        wrong = QStringLiteral("'/'");
    if (wrong.isEmpty() && hasControl(name))
        return QStringLiteral("--name holds a control character: the name is one topic level of printable "
                              "characters");
    if (wrong.isEmpty())
        return QString();
    return QStringLiteral("--name \"%1\" holds %2: the name is one topic level, without '/', '+' and '#'")
        .arg(name, wrong);
}

QString badPrefix(const QString& prefix)
{
    QString wrong = wildcardIn(prefix);
    if (wrong.isEmpty() && prefix.isEmpty())
        return QStringLiteral("--prefix wants one or more topic levels, such as tarvo or plant/coating");
    if (wrong.isEmpty() && hasControl(prefix))
        return QStringLiteral("--prefix holds a control character: topic levels of printable characters");
    // Brokers keep topics beginning with '$' to themselves ($SYS …) and drop
    // what clients publish there.
    if (wrong.isEmpty() && prefix.startsWith(u'$'))
        return QStringLiteral("--prefix \"%1\" begins with '$': such topics belong to the broker, which drops "
                              "messages published there")
            .arg(prefix);
    if (wrong.isEmpty() && prefix.split(u'/').contains(QString()))
        return QStringLiteral("--prefix \"%1\" has an empty topic level: no '/' at its start or end, no '//'")
            .arg(prefix);
    if (wrong.isEmpty())
        return QString();
    return QStringLiteral("--prefix \"%1\" holds %2: topic levels without '+' and '#'").arg(prefix, wrong);
}

Topics::Topics(const QString& prefix, const QString& name)
{
    const QByteArray base = (prefix + u'/' + name + u'/').toUtf8();
    values = base + "values";
    status = base + "status";
    info = base + "info";
    events = base + "events";
}

QByteArray Topics::of(const QByteArray& kind) const
{
    return kind == "events" ? events : values;
}

QByteArray valuesPayload(quint64 seq, const QString& run, const QDateTime& when, const MeasuredValues& m)
{
    QByteArray p;
    p.reserve(300);
    p += R"({"seq":)" + QByteArray::number(seq) + R"(,"run":")" + run.toLatin1() + R"(","time":")"
        + isoTimeWithOffset(when).toLatin1() + '"';
    p += ",\"ch_ref\":" + QByteArray::number(m.dataChRef);
    p += ",\"ch_dir\":" + QByteArray::number(m.dataChDir);
    p += ",\"ch_dif\":" + QByteArray::number(m.dataChDif);
    p += ",\"norm\":" + QByteArray::number(m.dataNorm);
    p += ",\"int\":" + QByteArray::number(m.dataInt);
    p += ",\"gf\":" + tenths(m.dataGf);
    p += ",\"vec\":" + QByteArray::number(m.dataVec);
    p += ",\"temp\":" + QByteArray::number(m.dataTemp);
    p += ",\"gf_raw\":" + tenths(m.dataGfRaw);
    p += ",\"pp\":" + tenths(m.dataPP);
    return p + '}';
}

QByteArray infoPayload(const QDateTime& when, const QString& identification, const QString& program,
                       const ParameterBlock& block)
{
    QJsonObject parameters;
    for (int i = 0; i < kParamCount; ++i)
        parameters.insert(QString::fromLatin1(kParamNames[static_cast<size_t>(i)]), block[static_cast<size_t>(i)]);
    QJsonArray teach;
    for (int row = 0; row < kTeachRows; ++row) {
        QJsonArray words;
        for (int c = 0; c < kTeachCols; ++c)
            words.append(block[static_cast<size_t>(kParamCount + row * kTeachCols + c)]);
        teach.append(words);
    }
    return compact({{QStringLiteral("time"), isoTimeWithOffset(when)},
                    {QStringLiteral("identification"), identification},
                    {QStringLiteral("program"), program},
                    {QStringLiteral("parameters"), parameters},
                    {QStringLiteral("teach_table"), teach}});
}

QByteArray eventPayload(const QDateTime& when, const QString& event, const QString& reason, const QString& run,
                        quint64 lastSeq)
{
    return compact({{QStringLiteral("time"), isoTimeWithOffset(when)},
                    {QStringLiteral("event"), event},
                    {QStringLiteral("reason"), reason},
                    {QStringLiteral("run"), run},
                    {QStringLiteral("last_seq"), static_cast<qint64>(lastSeq)}});
}

}  // namespace tarvo::publish
