#include "commands.h"

#include "calibrationstatus.h"
#include "compcurves.h"
#include "equationfile.h"
#include "factortransfer.h"
#include "fileio.h"
#include "frame.h"
#include "numbertext.h"
#include "recordfile.h"
#include "serialports.h"
#include "timetext.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdlib>
#include <functional>

namespace tarvo::ctl {

namespace {

// Up to 20 days: a deadline is a timer counting milliseconds in an int.
constexpr double kMaxSeconds = 20.0 * 24 * 3600;

// The end of a command that ran with --reconnect: STOPPED with its reason,
// and exit code 1 when another sensor answered or the events file failed.
int reconnectEnd(Session& s, bool ranItsCourse)
{
    if (!s.reconnect.enabled())
        return s.failed() ? s.failureExit() : Done;
    const bool otherSensor = s.reconnect.lastOutcome() == Reconnector::Outcome::OtherSensor;
    s.stopped(s.interrupted()        ? QStringLiteral("interrupted")
                  : otherSensor      ? QStringLiteral("another sensor answered")
                  : s.eventsFailed() ? QStringLiteral("the events file could not be written")
                  : s.failed()       ? s.failure()
                  : ranItsCourse     ? QStringLiteral("the time or count asked for was reached")
                                     : QStringLiteral("the output ended"));
    if (s.eventsFailed())
        return BadUsage;
    if (otherSensor && !s.interrupted())
        return report(SensorFailed,
                      QStringLiteral("%1: another sensor (\"%2\") answered after the connection was lost; "
                                     "nothing of it was recorded")
                          .arg(s.where(), s.exchange.versionText()));
    return s.failed() ? s.failureExit() : Done;
}

}  // namespace

void runFor(Session& s, std::uint16_t& flag, double seconds, QTimer& timer)
{
    flag = 1;
    if (seconds <= 0.0)
        return;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &s.pump, [&s, &flag] {
        flag = 0;
        s.pump.poke();
    });
    timer.start(static_cast<int>(seconds * 1000.0));
}

namespace {

// Opens -o FILE for the command's data (standard output without it).
std::optional<int> openOutput(const Invocation& in)
{
    const QString path = in.value(opt::output);
    if (in.isSet(opt::noClobber) && (path.isEmpty() || path == u"-"))
        usage(QStringLiteral("--no-clobber goes with -o FILE"));
    QString error;
    if (!in.out->open(path, in.isSet(opt::noClobber), &error))
        return report(BadUsage, fileMessage(path, QStringLiteral("cannot be written: ") + error));
    return std::nullopt;
}

// The columns of a value set: every value in its unit, GF, GF_RAW and PP in
// their decimal form.
struct Column {
    const char* name;
    const char* unit;  // none for V-No, a number
    std::function<QString(const MeasuredValues&)> value;
};

QString decimal(double v)
{
    return QString::number(v, 'f', 1);
}

const std::vector<Column>& columns()
{
    static const std::vector<Column> c = {
        {"CH_REF", kUnitCounts, [](const MeasuredValues& m) { return QString::number(m.dataChRef); }},
        {"CH_DIR", kUnitCounts, [](const MeasuredValues& m) { return QString::number(m.dataChDir); }},
        {"CH_DIF", kUnitCounts, [](const MeasuredValues& m) { return QString::number(m.dataChDif); }},
        {"NORM", kUnitNorm, [](const MeasuredValues& m) { return QString::number(m.dataNorm); }},
        {"INT", kUnitCounts, [](const MeasuredValues& m) { return QString::number(m.dataInt); }},
        {"GF", kUnitGloss, [](const MeasuredValues& m) { return decimal(m.dataGfDouble); }},
        {"V-No", nullptr, [](const MeasuredValues& m) { return QString::number(m.dataVec); }},
        {"TEMP", kUnitRaw, [](const MeasuredValues& m) { return QString::number(m.dataTemp); }},
        {"GF_RAW", kUnitGloss, [](const MeasuredValues& m) { return decimal(m.dataGfRawDouble); }},
        {"PP", kUnitGloss, [](const MeasuredValues& m) { return decimal(m.dataPPDouble); }},
    };
    return c;
}

// A CSV column title as the programs' chart exports write it: "GF [GU]".
QString csvTitle(const char* name, const char* unit)
{
    const QString n = QString::fromLatin1(name);
    return unit ? n + QStringLiteral(" [%1]").arg(QString::fromLatin1(unit)) : n;
}

enum class Format { Text, Csv, Json };
constexpr int kValueWidth = 7;

// The PC's time in ISO 8601 with milliseconds and its UTC offset, as every
// other export writes it: local, or in UTC (+00:00) when asked for.
QString timeStamp(bool utc)
{
    const QDateTime now = QDateTime::currentDateTime();
    return isoTimeWithOffset(utc ? now.toUTC() : now);
}

QString valueHeader(Format format, int timeWidth)
{
    QStringList names{QString::fromLatin1(kTimeColumn)};
    if (format == Format::Csv) {
        for (const Column& c : columns())
            names << csvTitle(c.name, c.unit);
        return names.join(u',');
    }
    for (const Column& c : columns())
        names << QString::fromLatin1(c.name);
    QString line = names.takeFirst().leftJustified(timeWidth);
    for (const QString& n : names)
        line += u' ' + n.rightJustified(kValueWidth);
    return line;
}

QString valueLine(Format format, const QString& time, const MeasuredValues& m)
{
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
    case Format::Text: break;
    }
    QString line = time;
    for (const Column& c : columns())
        line += u' ' + c.value(m).rightJustified(kValueWidth);
    return line;
}

}  // namespace

void usage(const QString& text)
{
    // One line, as the programs give it.
    QString line = text;
    while (line.endsWith(u'.'))
        line.chop(1);
    report(BadUsage, line + QStringLiteral(". Try 'tarvoctl --help'."));
    std::exit(BadUsage);
}

int wholeOption(const Invocation& in, const Option& o, int min, int max)
{
    const QString text = in.value(o);
    const auto read = readNumber(QStringView(text).trimmed(), NumberForm::Whole);
    if (!read || *read < min || *read > max)
        usage(QStringLiteral("%1 wants a whole number from %2 to %3, not \"%4\"")
                  .arg(o.shown())
                  .arg(min)
                  .arg(max)
                  .arg(text));
    return static_cast<int>(*read);
}

double secondsOption(const Invocation& in, const Option& o, double max)
{
    const QString text = in.value(o);
    const auto read = readNumber(QStringView(text).trimmed());
    if (!read || !(*read > 0.0) || *read > max)
        usage(QStringLiteral("%1 wants a number of seconds above 0 and up to %2, not \"%3\"")
                  .arg(o.shown())
                  .arg(max, 0, 'f', 0)
                  .arg(text));
    return *read;
}

void wantArguments(const Invocation& in, const char* form, int count)
{
    if (in.args.size() != count)
        usage(QStringLiteral("usage: tarvoctl %1").arg(QString::fromLatin1(form).simplified()));
}

void exclusive(const Invocation& in, const Option& a, const Option& b)
{
    if (in.isSet(a) && in.isSet(b))
        usage(QStringLiteral("%1 and %2 exclude each other").arg(a.shown(), b.shown()));
}

void note(const Invocation& in, const QString& text)
{
    if (!in.quiet)
        report(Done, text);
}

void warn(const QString& text)
{
    report(Done, text);
}

QString displayName(const QString& path)
{
    return path.isEmpty() || path == u"-" ? QStringLiteral("standard input") : QDir::toNativeSeparators(path);
}

QString fileMessage(const QString& path, const QString& error)
{
    const QString shown = displayName(path);
    const QString base = path.isEmpty() || path == u"-" ? shown : QFileInfo(path).fileName();
    if (!base.isEmpty() && error.startsWith(base))
        return shown + error.mid(base.size());
    return shown + QStringLiteral(": ") + error;
}

std::optional<int> readInput(const QString& path, qint64 maxBytes, InputFile* file)
{
    if (path == u"-") {
        file->name = QStringLiteral("standard input");
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            return report(BadUsage, fileMessage(path, QStringLiteral("cannot be read: ") + in.errorString()));
        file->content = in.read(maxBytes + 1);
        if (in.error() != QFileDevice::NoError)
            return report(BadUsage, fileMessage(path, QStringLiteral("cannot be read: ") + in.errorString()));
        if (file->content.size() > maxBytes)
            return report(
                BadUsage,
                fileMessage(path, QStringLiteral("more than %1 bytes: not a file of this kind").arg(maxBytes)));
        return std::nullopt;
    }
    file->name = QFileInfo(path).fileName();
    const FileRead read = readWholeFile(path, maxBytes);
    if (read.status != FileRead::Ok)
        return report(
            BadUsage,
            fileMessage(path,
                        QStringLiteral("cannot be read: %1")
                            .arg(read.status == FileRead::Missing ? QStringLiteral("No such file") : read.error)));
    file->content = read.content;
    return std::nullopt;
}

int identify(const Invocation& in, Session& s)
{
    wantArguments(in, "identify", 0);
    if (const auto failed = s.begin())
        return *failed;
    in.out->line(s.exchange.versionText());
    // The calibration status from the user's calibration log, beside the data.
    if (const QString due = calibrationDueNow(in.value(opt::sensorId).trimmed(), s.exchange.versionText());
        !due.isEmpty())
        warn(due);
    return Done;
}

int listPorts(const Invocation& in, Session&)
{
    wantArguments(in, "ports", 0);
    const QList<NumberedPort> ports = serialPortList();
    for (const NumberedPort& p : ports)
        in.out->line(QStringLiteral("%1\t%2\t%3").arg(p.number).arg(p.device.path, p.device.description));
    if (ports.isEmpty())
        note(in, QStringLiteral("no serial port found"));
    return Done;
}

int measure(const Invocation& in, Session& s)
{
    wantArguments(in, "measure", 0);
    exclusive(in, opt::count, opt::seconds);
    exclusive(in, opt::csv, opt::json);
    exclusive(in, opt::interval, opt::period);
    const int count = in.isSet(opt::count) ? wholeOption(in, opt::count, 1, 100000000) : 0;
    const double seconds = in.isSet(opt::seconds) ? secondsOption(in, opt::seconds, kMaxSeconds) : 0.0;
    const bool period = in.isSet(opt::period);
    const int ms = period         ? wholeOption(in, opt::period, 1, 3600000)
        : in.isSet(opt::interval) ? wholeOption(in, opt::interval, 0, 3600000)
                                  : 25;  // the live loop's pause
    const Format format = in.isSet(opt::csv) ? Format::Csv : in.isSet(opt::json) ? Format::Json : Format::Text;
    const bool utc = in.isSet(opt::utc);
    if (const auto failed = openOutput(in))
        return *failed;
    if (const auto failed = s.begin())
        return *failed;

    QTimer deadline;
    bool timeUp = false;
    QObject::connect(&deadline, &QTimer::timeout, [&timeUp] { timeUp = true; });
    const bool reconnect = in.isSet(opt::reconnect);
    const QString path = in.value(opt::output);
    if (reconnect && !s.enableReconnect(path.isEmpty() || path == u"-" ? QString() : path))
        return s.failureExit();
    runFor(s, s.flags.poll, seconds, deadline);
    if (format != Format::Json)
        in.out->line(valueHeader(format, static_cast<int>(timeStamp(utc).size())));
    int taken = 0;
    int retriesLeft = in.retries;
    s.reconnect.begin();
    while (s.flags.poll == 1) {
        const double started = s.pump.now();
        const bool complete = s.measurement.ReadMeasurement();
        if (reconnect) {
            // A lost line is taken up again; a missed value set is no line.
            const auto polled = s.reconnect.afterRequest(complete, s.flags.poll, true);
            if (s.interrupted() || polled == Reconnector::Polled::Ended)
                break;
            if (polled == Reconnector::Polled::Again)
                continue;
            s.acceptReply(s.measurement.lastWords().data());
        } else if (!complete) {
            s.exchange.SetPopupTimeout();  // records why, ends the loop
        } else {
            s.acceptReply(s.measurement.lastWords().data());  // a log takes only the sensor's values
        }
        if (s.interrupted())
            break;
        if (s.failed()) {
            if (retriesLeft == 0 || timeUp)
                break;
            // A value set that did not come is asked for again.
            warn(QStringLiteral("%1; asking again (%2 of %3)")
                     .arg(s.failure())
                     .arg(in.retries - retriesLeft + 1)
                     .arg(in.retries));
            --retriesLeft;
            s.forgetFailure();
            s.flags.poll = 1;
            continue;
        }
        retriesLeft = in.retries;
        if (!in.out->line(valueLine(format, timeStamp(utc), s.values)))
            break;  // nobody reads any more, or the output failed
        ++s.linesWritten;
        if (count > 0 && ++taken >= count)
            break;
        const double pause = period ? ms / 1000.0 - (s.pump.now() - started) : ms / 1000.0;
        if (pause > 0.0)
            s.pump.waitFor(pause, [&s] { return s.flags.poll != 1; });
    }
    s.flags.poll = 0;
    return reconnectEnd(s, timeUp || (count > 0 && taken >= count));
}

int recordTriggered(const Invocation& in, Session& s)
{
    const char* const form = "record --triggered [--seconds S] [-o FILE [--no-clobber]] [--utc]";
    wantArguments(in, form, 0);
    if (!in.isSet(opt::triggered))
        usage(QStringLiteral("record needs --triggered: it records the frames the sensor sends on its own "
                             "(use measure for polled values)"));
    const double seconds = in.isSet(opt::seconds) ? secondsOption(in, opt::seconds, kMaxSeconds) : 0.0;
    const QString path = in.value(opt::output);
    const bool toFile = !path.isEmpty() && path != u"-";
    RecordFile file;
    if (in.isSet(opt::utc))
        file.clock = [] { return QDateTime::currentDateTimeUtc(); };
    if (toFile) {
        if (in.isSet(opt::noClobber) && QFileInfo::exists(path))
            return report(
                BadUsage,
                fileMessage(path, QStringLiteral("cannot be written: the file exists (--no-clobber keeps it)")));
        if (!file.create(path))
            return report(BadUsage, fileMessage(path, QStringLiteral("cannot be written: ") + file.errorString()));
    } else if (const auto failed = openOutput(in)) {
        return *failed;
    }
    if (const auto failed = s.begin())
        return *failed;
    const bool reconnect = in.isSet(opt::reconnect);
    // The line-check time: with --reconnect the line is checked, without it a quiet line is told.
    s.reconnect.quietLimit = in.isSet(opt::checkAfter) ? secondsOption(in, opt::checkAfter, 3600.0) : 10.0;
    if (reconnect) {
        if (!s.enableReconnect(toFile ? path : QString()))
            return s.failureExit();
    }

    QTimer deadline;
    bool timeUp = false;
    QObject::connect(&deadline, &QTimer::timeout, [&timeUp] { timeUp = true; });
    runFor(s, s.flags.pollrecord, seconds, deadline);
    if (!toFile)
        in.out->write(recordHeader());
    AutoFrameReader& reader = s.exchange.autoFrames();
    s.startAutoSend();
    QString writeError;
    bool ended = false;
    // The reader hands over measurement frames only, not an echo of the switch-on command.
    const auto record = [&](const FrameWords& words) {
        if (ended)
            return;
        s.values.CopyDatatoVars(words);
        const RecordValues values = recordValues(s.values);
        if (!toFile) {
            ended = !in.out->write(recordLine(file.clock(), values));  // the reader has gone, or the output failed
        } else if (!file.append(path, values)) {
            writeError = file.errorString();
            ended = true;
        }
        if (!ended)
            ++s.linesWritten;
    };
    s.reconnect.begin();
    while (s.flags.pollrecord == 1 && !ended)
        if (s.reconnect.awaitFrames(s.flags.pollrecord))
            reader.takeAll(record);
    reader.takeAll(record);  // frames already taken in when the recording ended

    // Whatever ended the recording, the sensor stops sending on its own; the
    // frames on their way meanwhile are parts measured too and go to the file.
    const bool off = s.stopAutoSend(record);
    const AutoFrameCounts counts = reader.counts();
    reportReception(in, s, counts);
    if (!writeError.isEmpty())
        report(BadUsage, fileMessage(path, QStringLiteral("cannot be written: ") + writeError));
    if (s.reconnect.enabled()) {
        const int rc = reconnectEnd(s, timeUp);
        if (rc != Done)
            return rc;
    }
    if (s.failed())
        return s.failureExit();
    if (!off && !s.interrupted())
        return report(SensorFailed,
                      QStringLiteral("%1: automatic sending (command 50) could not be switched off: "
                                     "the frame could not be written")
                          .arg(s.where()));
    if (!writeError.isEmpty())
        return BadUsage;
    if (counts.frames == 0 && counts.skippedBytes > 0 && !s.interrupted())
        return report(SensorFailed,
                      QStringLiteral("%1: no measurement frame came, only bytes that belong to none").arg(s.where()));
    return Done;
}

void reportReception(const Invocation& in, const Session& s, const AutoFrameCounts& counts)
{
    if (counts.skippedBytes > 0)
        warn(QStringLiteral("%1: the sensor's data were out of step: %2 byte(s) that belonged to no whole frame "
                            "were skipped%3")
                 .arg(s.where())
                 .arg(counts.skippedBytes)
                 .arg(counts.cutFrames > 0
                          ? QStringLiteral(", among them %1 frame(s) cut short, dropped").arg(counts.cutFrames)
                          : QString()));
    if (counts.otherFrames > 0)
        note(in,
             QStringLiteral("%1: %2 reply(s) to other commands came and were passed over")
                 .arg(s.where())
                 .arg(counts.otherFrames));
}

int profile(const Invocation& in, Session& s)
{
    wantArguments(in, "profile [--csv]", 0);
    const bool csv = in.isSet(opt::csv);
    if (const auto failed = s.begin())
        return *failed;
    s.measurement.GetProfile();
    if (s.failed() || s.interrupted())
        return s.failureExit();
    const MeasuredValues& m = s.values;
    QByteArray text;
    if (csv)
        text += (QStringLiteral("profile point,") + csvTitle("profile", kUnitProfile) + u'\n').toUtf8();
    else
        text += QStringLiteral("# points %1, maximum %2, minimum %3 (raw words), PP %4\n")
                    .arg(m.anzprof)
                    .arg(m.maxprof)
                    .arg(m.minprof)
                    .arg(decimal(m.dataPPDouble))
                    .toUtf8();
    const QChar sep = csv ? u',' : u'\t';
    for (int i = 0; i < m.anzprof; ++i)
        text += (QString::number(i) + sep + decimal(m.profileBuf[static_cast<size_t>(i)]) + u'\n').toUtf8();
    in.out->write(text);
    return Done;
}

int sendFactors(const Invocation& in, Session& s)
{
    using namespace tempcomp;
    const char* const form
        = "factors send EQUATIONFILE [--ref-step T | --refs R,G,B] [--accept-limited] [--accept-zero]";
    wantArguments(in, form, 2);
    if (in.args[0] != u"send")
        usage(QStringLiteral("usage: tarvoctl %1").arg(QString::fromLatin1(form)));
    exclusive(in, opt::refStep, opt::refs);
    const QString path = in.args[1];
    std::optional<int> refStep;
    if (in.isSet(opt::refStep))
        refStep = wholeOption(in, opt::refStep, 0, kSteps - 1);
    References refs = {1000, 1000, 1000};  // the tool's start values
    if (in.isSet(opt::refs)) {
        const QStringList parts = in.value(opt::refs).split(u',');
        bool ok = parts.size() == kChannels;
        for (int i = 0; ok && i < kChannels; ++i) {
            const auto read = readNumber(QStringView(parts[i]).trimmed(), NumberForm::Whole);
            ok = read && *read >= 0 && *read <= 65535;
            refs[static_cast<size_t>(i)] = ok ? static_cast<std::uint16_t>(*read) : 0;
        }
        if (!ok)
            usage(QStringLiteral("--refs wants three whole numbers from 0 to 65535, as R,G,B"));
    }
    const bool acceptLimited = in.isSet(opt::acceptLimited);

    // The tool's rules, by the tool's code: what it does not load, what it limits, what it asks about.
    InputFile input;
    if (const auto failed = readInput(path, 64 * 1024, &input))
        return *failed;
    QString error;
    const std::optional<Coefficients> coefficients = parseEquation(input.content, &error);
    if (coefficients)
        error = coefficientOutsideRange(*coefficients);
    if (!coefficients || !error.isEmpty())
        return report(BadUsage, fileMessage(path, error));

    const Curves curves = CalcCurves(*coefficients);
    if (refStep) {
        for (int c = 0; c < kChannels; ++c) {
            const Limited ref = referenceValue(curves.channel(c)[static_cast<size_t>(*refStep)]);
            if (ref.clamped && !acceptLimited)
                return report(BadUsage,
                              fileMessage(path,
                                          QStringLiteral("at temperature step %1 the %2 curve lies outside "
                                                         "0 to 65535 (use --accept-limited to send anyway)")
                                              .arg(*refStep)
                                              .arg(QString::fromLatin1(kChannelNames[c]))));
            refs[static_cast<size_t>(c)] = ref.value;
        }
    }
    const Factors factors = CalcCfCurves(curves, refs);
    if (factors.anyClamped() && !acceptLimited) {
        QStringList where;
        for (int c = 0; c < kChannels; ++c)
            if (factors.clamped[c].count > 0)
                where << QStringLiteral("%1: %2 of 100, the first at step %3")
                             .arg(QString::fromLatin1(kChannelNames[c]))
                             .arg(factors.clamped[c].count)
                             .arg(factors.clamped[c].firstStep);
        return report(BadUsage,
                      fileMessage(path,
                                  QStringLiteral("some factors do not fit 0 to 65535 (%1); use "
                                                 "--accept-limited to send them limited")
                                      .arg(where.join(QStringLiteral("; ")))));
    }
    QStringList zero;
    for (int c = 0; c < kChannels; ++c)
        if (allZero(factors.channel(c)))
            zero << QString::fromLatin1(kChannelNames[c]);
    if (!zero.isEmpty() && !in.isSet(opt::acceptZero))
        return report(BadUsage,
                      QStringLiteral("all 100 factors of %1 are 0 (references %2, %3, %4); use "
                                     "--accept-zero to send them anyway")
                          .arg(zero.join(QStringLiteral(", ")))
                          .arg(refs[0])
                          .arg(refs[1])
                          .arg(refs[2]));

    if (const auto failed = s.begin())
        return *failed;
    int blocks = 0;
    if (!SendFactorTables(s.exchange, s.link, factors, &blocks) || s.failed() || s.interrupted()) {
        const int failed = s.failureExit(QStringLiteral("sending the factor tables failed"));
        if (blocks > 0)
            warn(QStringLiteral("%1: the write was cut short, the sensor now holds mixed factor tables: %2; "
                                "send the factors again to finish them")
                     .arg(s.where(), describeCutFactors(blocks)));
        return failed;
    }
    if (!in.quiet)
        in.out->line(QStringLiteral("Factor tables sent (references red %1, green %2, blue %3).")
                         .arg(refs[0])
                         .arg(refs[1])
                         .arg(refs[2]));
    // The sensor is left as the tool leaves it: the line opened anew and the
    // version asked for again (command 7).
    s.appendTrace = true;
    if (const auto failed = s.begin())
        return *failed;
    if (!in.quiet)
        in.out->line(s.exchange.versionText());
    return Done;
}

}  // namespace tarvo::ctl
