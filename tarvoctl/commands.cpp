#include "commands.h"

#include "compcurves.h"
#include "equationfile.h"
#include "factortransfer.h"
#include "frame.h"
#include "interrupt.h"
#include "paramfile.h"
#include "recordfile.h"
#include "traceoption.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace tarvo::ctl {

namespace {

const char* const kParamNames[kParamCount] = {
    "power",   "pmod",   "average",   "evalmode",  "hold", "intlim", "maxno",     "digitalout",
    "trigger", "extteach", "anaoutbeg", "anaoutend", "bias", "sttrsh", "profilbeg", "profilend"};

// False once the reader of standard output has gone (a pipe into head, say).
bool writeOut(const QByteArray& bytes)
{
    const size_t n = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    // A script reading the output sees each line at once.
    return std::fflush(stdout) == 0 && n == static_cast<size_t>(bytes.size());
}

bool printLine(const QString& line)
{
    return writeOut(line.toUtf8() + '\n');
}

QString fileName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The session's failure as the command's result.
int sensorFailure(const Session& s)
{
    return report(SensorFailed, s.failure());
}

// A transfer that did not go through: the failure the session recorded, or
// `what` if it recorded none.
int transferFailure(const Session& s, const char* what)
{
    return s.failed() ? sensorFailure(s) : report(SensorFailed, QString::fromLatin1(what));
}

// While it lives, Ctrl+C and SIGTERM end every loop of the session instead
// of the process.
class StopOnInterrupt {
public:
    explicit StopOnInterrupt(Session& s) { onInterrupt([&s] { s.interrupt(); }); }
    ~StopOnInterrupt() { onInterrupt(endAtOnce); }
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;
};

// Opens the trace file, if one is asked for, then connects: the exit code
// when either fails.
std::optional<int> begin(Session& s, const Target& target)
{
    if (const int rc = openTraceFile(s.link.trace, target.traceFile))
        return rc;
    if (!s.connect(target.link))
        return sensorFailure(s);
    return std::nullopt;
}

// Connects, then sets the loop's flag, which `timer` clears after `seconds`
// (0: never) and Ctrl+C at any time. The exit code when the command ends
// before its loop starts.
std::optional<int> startLoop(Session& s, const Target& target, std::uint16_t& flag, double seconds, QTimer& timer)
{
    if (const auto failed = begin(s, target))
        return failed;
    if (s.interrupted())
        return Done;
    flag = 1;
    if (seconds > 0.0) {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &s.pump, [&s, &flag] {
            flag = 0;
            s.pump.poke();
        });
        timer.start(static_cast<int>(seconds * 1000.0));
    }
    return std::nullopt;
}

// The columns of a value set: every value in its unit, GF, GF_RAW and PP in
// their decimal form.
struct Column {
    const char* name;
    std::function<QString(const MeasuredValues&)> value;
};

QString decimal(double v)
{
    return QString::number(v, 'f', 1);
}

const std::vector<Column>& columns()
{
    static const std::vector<Column> c = {
        {"CH_REF", [](const MeasuredValues& m) { return QString::number(m.dataChRef); }},
        {"CH_DIR", [](const MeasuredValues& m) { return QString::number(m.dataChDir); }},
        {"CH_DIF", [](const MeasuredValues& m) { return QString::number(m.dataChDif); }},
        {"NORM", [](const MeasuredValues& m) { return QString::number(m.dataNorm); }},
        {"INT", [](const MeasuredValues& m) { return QString::number(m.dataInt); }},
        {"GF", [](const MeasuredValues& m) { return decimal(m.dataGfDouble); }},
        {"V-No", [](const MeasuredValues& m) { return QString::number(m.dataVec); }},
        {"TEMP", [](const MeasuredValues& m) { return QString::number(m.dataTemp); }},
        {"GF_RAW", [](const MeasuredValues& m) { return decimal(m.dataGfRawDouble); }},
        {"PP", [](const MeasuredValues& m) { return decimal(m.dataPPDouble); }},
    };
    return c;
}

constexpr int kTimeWidth = 23;  // 2026-03-07T09:05:01.123
constexpr int kValueWidth = 7;

QString valueHeader(Format format)
{
    QStringList names{QStringLiteral("TIME")};
    for (const Column& c : columns())
        names << QString::fromLatin1(c.name);
    if (format == Format::Csv)
        return names.join(u',');
    QString line = names.takeFirst().leftJustified(kTimeWidth);
    for (const QString& n : names)
        line += u' ' + n.rightJustified(kValueWidth);
    return line;
}

QString valueLine(Format format, const QDateTime& when, const MeasuredValues& m)
{
    const QString time = when.toString(Qt::ISODateWithMs);
    switch (format) {
    case Format::Csv: {
        QStringList fields{time};
        for (const Column& c : columns())
            fields << c.value(m);
        return fields.join(u',');
    }
    case Format::Json: {
        QString line = QStringLiteral("{\"time\":\"%1\"").arg(time);
        for (const Column& c : columns())
            line += QStringLiteral(",\"%1\":%2").arg(QString::fromLatin1(c.name), c.value(m));
        return line + u'}';
    }
    case Format::Text:
        break;
    }
    QString line = time.leftJustified(kTimeWidth);
    for (const Column& c : columns())
        line += u' ' + c.value(m).rightJustified(kValueWidth);
    return line;
}

QString wordName(int index)
{
    if (index < kParamCount)
        return QStringLiteral("word %1 (%2)").arg(index).arg(QString::fromLatin1(kParamNames[index]));
    const int t = index - kParamCount;
    return QStringLiteral("word %1 (teach row %2, column %3)").arg(index).arg(t / kTeachCols).arg(t % kTeachCols);
}

} // namespace

void endAtOnce()
{
    // A transfer cut short leaves the sensor as a failed frame would.
    report(SensorFailed, QStringLiteral("interrupted"));
    std::_Exit(SensorFailed);
}

int report(int code, const QString& text)
{
    std::fputs(("tarvoctl: " + text + '\n').toLocal8Bit().constData(), stderr);
    return code;
}

int identify(const Target& target)
{
    Session s;
    if (const auto failed = begin(s, target))
        return *failed;
    printLine(s.exchange.versionText());
    return Done;
}

int getParameters(const Target& target, bool eeprom, const QString& output)
{
    Session s;
    if (const auto failed = begin(s, target))
        return *failed;
    s.params.target = eeprom ? EEPROM : RAM;
    if (!s.transfer.GetPara() || s.failed())
        return transferFailure(s, "reading the parameters failed");
    s.params.CopyVarsToPP();
    if (output.isEmpty()) {
        writeOut(formatParameterFile(s.params.pp));
        return Done;
    }
    const ParamFileResult written = writeParameterFile(output, s.params.pp);
    if (!written.ok)
        return report(BadUsage, QStringLiteral("%1: cannot be written: %2").arg(fileName(output), written.error));
    return Done;
}

int sendParameters(const Target& target, const QString& file, bool eeprom)
{
    ParameterBlock block{};
    const ParamFileResult read = readParameterFile(file, block);
    if (!read.ok)
        return report(BadUsage, QStringLiteral("%1: %2").arg(fileName(file), read.error));

    Session s;
    if (const auto failed = begin(s, target))
        return *failed;
    // As the scope loads a file and sends it: unpacked into the variables,
    // packed again on the way out.
    s.params.pp = block;
    s.params.CopyFileParatoVars();
    s.params.target = eeprom ? EEPROM : RAM;
    if (!s.transfer.SendPara() || s.failed())
        return transferFailure(s, "sending the parameters failed");
    const ParameterBlock sent = s.params.pp;

    // Read back from where it went; the EEPROM read loads it into RAM first.
    s.setStep(QStringLiteral("read-back"));
    if (!s.transfer.GetPara() || s.failed())
        return transferFailure(s, "reading back failed");
    s.params.CopyVarsToPP();
    // The teach table has a number format only in evaluation modes 0 and 1.
    const bool teachComparable = s.params.evalmode == 0 || s.params.evalmode == 1;
    const int compared = teachComparable ? kBlockWords : kParamCount;
    QStringList differing;
    for (int i = 0; i < compared; ++i)
        if (s.params.pp[i] != sent[i])
            differing << QStringLiteral("  %1: sent %2, read back %3").arg(wordName(i)).arg(sent[i]).arg(s.params.pp[i]);
    if (!differing.isEmpty())
        return report(SensorFailed, QStringLiteral("read-back: %1 of %2 words differ:\n%3")
                                        .arg(differing.size())
                                        .arg(compared)
                                        .arg(differing.join(u'\n')));
    printLine(QStringLiteral("%1 words sent to %2 and read back unchanged%3.")
                  .arg(compared)
                  .arg(eeprom ? QStringLiteral("EEPROM") : QStringLiteral("RAM"))
                  .arg(teachComparable ? QString()
                                       : QStringLiteral(" (the teach table was sent but not compared: evaluation "
                                                        "mode %1 has no teach-table format)")
                                             .arg(s.params.evalmode)));
    return Done;
}

int measure(const Target& target, const MeasureOptions& o)
{
    Session s;
    StopOnInterrupt stop(s);
    QTimer deadline;
    if (const auto ended = startLoop(s, target, s.flags.poll, o.seconds, deadline))
        return *ended;
    if (o.format != Format::Json)
        printLine(valueHeader(o.format));
    int count = 0;
    while (s.flags.poll == 1) {
        if (!s.measurement.ReadMeasurement()) {
            s.exchange.SetPopupTimeout();  // records why, ends the loop
            break;
        }
        // The scope shows any reply; a log takes only the sensor's values.
        if (!s.acceptReply(s.exchange.databuf.data()))
            break;
        if (!printLine(valueLine(o.format, QDateTime::currentDateTime(), s.values)))
            break;  // nobody reads any more
        if (o.count > 0 && ++count >= o.count)
            break;
        s.pump.waitFor(o.intervalMs / 1000.0, [&s] { return s.flags.poll != 1; });
    }
    s.flags.poll = 0;
    return s.failed() ? sensorFailure(s) : Done;
}

int recordTriggered(const Target& target, const RecordOptions& o)
{
    RecordFile file;
    if (!o.output.isEmpty() && !file.create(o.output))
        return report(BadUsage, QStringLiteral("%1: cannot be written: %2").arg(fileName(o.output), file.errorString()));

    Session s;
    StopOnInterrupt stop(s);
    QTimer deadline;
    if (const auto ended = startLoop(s, target, s.flags.pollrecord, o.seconds, deadline))
        return *ended;
    if (o.output.isEmpty())
        writeOut(recordHeader());
    AutoFrameReader& reader = s.exchange.autoFrames();
    s.measurement.StartAutoSend();
    QString writeError;
    bool ended = false;
    // The reader hands over measurement frames only, not an echo of the switch-on command.
    const auto record = [&](const FrameWords& words) {
        if (ended)
            return;
        s.values.CopyDatatoVars(words);
        const RecordValues values = recordValues(s.values);
        if (o.output.isEmpty()) {
            ended = !writeOut(recordLine(file.clock(), values));  // nobody reads any more
        } else if (!file.append(o.output, values)) {
            writeError = file.errorString();
            ended = true;
        }
    };
    while (s.flags.pollrecord == 1 && !ended)
        if (reader.wait(s.flags.pollrecord))
            reader.takeAll(record);
    reader.takeAll(record);  // frames already taken in when the recording ended

    // Whatever ended the recording, the sensor stops sending on its own.
    s.setStep(QStringLiteral("switching automatic sending off"));
    s.exchange.StopAutoSend();
    const bool offWritten = s.exchange.nBytesW == frame::kBytes;
    s.pump.sleep(0.2);  // the frame leaves before the connection closes
    if (!writeError.isEmpty())
        return report(BadUsage, QStringLiteral("%1: cannot be written: %2").arg(fileName(o.output), writeError));
    if (s.failed())
        return sensorFailure(s);
    if (!offWritten)
        return report(SensorFailed, QStringLiteral("switching automatic sending off (command 50): the frame "
                                                   "could not be written"));
    return Done;
}

int profile(const Target& target, Format format)
{
    Session s;
    if (const auto failed = begin(s, target))
        return *failed;
    s.measurement.GetProfile();
    if (s.failed())
        return sensorFailure(s);
    const MeasuredValues& m = s.values;
    if (format == Format::Csv) {
        printLine(QStringLiteral("POINT,VALUE"));
    } else {
        printLine(QStringLiteral("# points %1, maximum %2, minimum %3 (raw words), PP %4")
                      .arg(m.anzprof)
                      .arg(m.maxprof)
                      .arg(m.minprof)
                      .arg(decimal(m.dataPPDouble)));
    }
    const QChar sep = format == Format::Csv ? u',' : u'\t';
    for (int i = 0; i < m.anzprof; ++i)
        printLine(QString::number(i) + sep + decimal(m.profileBuf[static_cast<size_t>(i)]));
    return Done;
}

int sendFactors(const Target& target, const FactorOptions& o)
{
    using namespace tempcomp;
    QString error;
    const std::optional<Coefficients> coefficients = readEquationFile(o.equationFile, &error);
    if (!coefficients)
        return report(BadUsage, QStringLiteral("%1: %2").arg(fileName(o.equationFile), error));

    // As the tool computes them: the curves, the references (by default the
    // tool's start values), then the factors.
    const Curves curves = CalcCurves(*coefficients);
    References refs = {1000, 1000, 1000};
    if (o.refs)
        refs = *o.refs;
    if (o.refStep) {
        for (int c = 0; c < kChannels; ++c) {
            const Limited ref = referenceValue(curves.channel(c)[static_cast<size_t>(*o.refStep)]);
            if (ref.clamped && !o.acceptLimited)
                return report(BadUsage, QStringLiteral("%1: at temperature step %2 the %3 curve lies outside "
                                                       "0 to 65535 (use --accept-limited to send anyway)")
                                            .arg(fileName(o.equationFile))
                                            .arg(*o.refStep)
                                            .arg(QString::fromLatin1(c == Red ? "red" : c == Green ? "green" : "blue")));
            refs[static_cast<size_t>(c)] = ref.value;
        }
    }
    const Factors factors = CalcCfCurves(curves, refs);
    if (factors.anyClamped() && !o.acceptLimited) {
        QStringList where;
        const char* names[kChannels] = {"red", "green", "blue"};
        for (int c = 0; c < kChannels; ++c)
            if (factors.clamped[c].count > 0)
                where << QStringLiteral("%1: %2 of 100, the first at step %3")
                             .arg(QString::fromLatin1(names[c]))
                             .arg(factors.clamped[c].count)
                             .arg(factors.clamped[c].firstStep);
        return report(BadUsage, QStringLiteral("%1: some factors do not fit 0 to 65535 (%2); use --accept-limited "
                                               "to send them limited")
                                    .arg(fileName(o.equationFile), where.join(QStringLiteral("; "))));
    }

    Session s(toolExchangeOptions());
    if (const auto failed = begin(s, target))
        return *failed;
    if (!SendFactorTables(s.exchange, s.link, factors) || s.failed())
        return transferFailure(s, "sending the factor tables failed");
    printLine(QStringLiteral("Factor tables sent (references red %1, green %2, blue %3).")
                  .arg(refs[0])
                  .arg(refs[1])
                  .arg(refs[2]));
    // The sensor is left as the tool leaves it: the line opened anew and the
    // version asked for again (command 7).
    if (!s.connect(target.link))
        return sensorFailure(s);
    printLine(s.exchange.versionText());
    return Done;
}

} // namespace tarvo::ctl
