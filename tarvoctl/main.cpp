// tarvoctl: the sensor from scripts and the command line, on the same link
// and protocol code as the scope program and the tool.

#include "commandline.h"
#include "commands.h"
#include "interrupt.h"
#include "numbertext.h"
#include "settingslocation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSet>

#include <cstdio>

using namespace tarvo;
using namespace tarvo::ctl;

namespace {

const char* const kHelp = R"(Usage: tarvoctl [--serial N | --tcp HOST[:PORT]] COMMAND [options]

Talks to the gloss sensor (or the colour sensor) over RS-232 or TCP, with the
same link and frames as TarvoV43. Without --serial or --tcp it uses the
connection saved by TarvoV43, read where TarvoV43 keeps it (named at the
end of this help).

Link:
  --serial N            serial port N (1 = first port); the environment
                        variable TARVO_SERIAL_PORT_<N> may name its device
  --tcp HOST[:PORT]     the sensor as TCP server (port 10001 if not given);
                        --server is the same, as in TarvoV43
  --trace FILE          write every frame to and from the sensor to FILE,
                        one line each, as TarvoV43 --trace does
  -h, --help            this help; -v, --version: the version

Commands:
  identify              print the sensor's identification text
  get [--eeprom] [-o FILE]
                        read the parameter set and teach table (from RAM, or
                        from EEPROM) as a parameter file; to standard output
                        without -o. TarvoV43 loads the file, and the reverse.
  send FILE [--eeprom]  send a parameter file to RAM (or RAM, then EEPROM),
                        read it back and report every word that differs
  measure [-n COUNT | --seconds S] [--interval MS] [--csv | --json]
                        poll measured values (command 5): one line per set
                        with a time stamp; GF, GF_RAW and PP as decimals.
                        Without -n or --seconds: until Ctrl+C.
                        --interval: pause between requests (default 25 ms)
  record --triggered [--seconds S] [-o FILE]
                        automatic sending: one record-file line per frame the
                        sensor sends, as the recorder writes them; until
                        --seconds have passed, or Ctrl+C or SIGTERM. Automatic
                        sending is always switched off at the end.
  profile [--csv]       fetch and print the light profile
  factors send EQUATIONFILE [--ref-step T | --refs R,G,B] [--accept-limited]
                        colour sensor: compute the three factor tables from
                        the equation file as TarvoTempCompV43 does and send
                        them. References: the curves at temperature step T
                        (0..99), or the three values given; without either,
                        1000 each (the tool's start values). Factors outside
                        0..65535 are refused unless --accept-limited. As the
                        tool does, the line is then opened anew and the
                        sensor's version (command 7) asked for and printed.

Exit codes:
  0  done
  1  the sensor did not answer or answered wrongly (the message names the
     step and the reason)
  2  bad usage or a bad file (the message names the file and the line)

Examples:
  Back up a sensor's parameters, restore them to another sensor:
    tarvoctl --tcp 192.168.0.10 get --eeprom -o line3.ini
    tarvoctl --tcp 192.168.0.11 send line3.ini --eeprom
  Log 1 000 value sets to CSV:
    tarvoctl --serial 1 measure -n 1000 --csv > values.csv
  Record triggered parts for ten minutes:
    tarvoctl record --triggered --seconds 600 -o record.dat
)";

[[noreturn]] void usage(const QString& text)
{
    // One line, as the programs give it.
    QString line = text;
    while (line.endsWith(u'.'))
        line.chop(1);
    report(BadUsage, line + QStringLiteral(". Try 'tarvoctl --help'."));
    std::exit(BadUsage);
}

int intValue(const QCommandLineParser& p, const QString& name, int min, int max)
{
    const auto read = readNumber(QStringView(p.value(name)).trimmed(), NumberForm::Whole);
    const bool ok = read && *read >= min && *read <= max;
    const int v = ok ? static_cast<int>(*read) : 0;
    const QString shown = name == u"count" ? QStringLiteral("-n") : QStringLiteral("--") + name;
    if (!ok)
        usage(QStringLiteral("%1 wants a whole number from %2 to %3, not \"%4\"").arg(shown).arg(min).arg(max).arg(p.value(name)));
    return v;
}

double secondsValue(const QCommandLineParser& p)
{
    const auto read = readNumber(QStringView(p.value(QStringLiteral("seconds"))).trimmed());
    const bool ok = read.has_value();
    const double v = read.value_or(0.0);
    // Up to 20 days: the deadline is a timer counting milliseconds in an int.
    constexpr double kMaxSeconds = 20.0 * 24 * 3600;
    if (!ok || !(v > 0.0) || v > kMaxSeconds)
        usage(QStringLiteral("--seconds wants a number of seconds above 0 and up to %1, not \"%2\"")
                  .arg(kMaxSeconds, 0, 'f', 0)
                  .arg(p.value(QStringLiteral("seconds"))));
    return v;
}

ConnectionSettings linkSettings(const QCommandLineParser& p)
{
    const bool serial = p.isSet(QStringLiteral("serial"));
    const bool tcp = p.isSet(QStringLiteral("tcp"));
    if (serial && tcp)
        usage(QStringLiteral("--serial and --tcp exclude each other"));
    if (!serial && !tcp)
        return savedConnection(QCoreApplication::applicationDirPath());
    if (serial) {
        const auto where = parseSerial(p.value(QStringLiteral("serial")));
        if (!where)
            usage(QStringLiteral("--serial wants a port number from 1 to 256, not \"%1\"").arg(p.value(QStringLiteral("serial"))));
        return *where;
    }
    // A host alone (a name, an IPv4 address, a bracketed IPv6 address) is
    // reached on the interface panel's usual port.
    const QString server = p.value(QStringLiteral("tcp"));
    const bool portGiven = server.startsWith(u'[') ? server.contains(QStringLiteral("]:")) : server.contains(u':');
    const auto where = parseServer(portGiven ? server : server + QStringLiteral(":10001"));
    if (!where)
        usage(QStringLiteral("--tcp wants HOST or HOST:PORT with a port from 1 to 65535, not \"%1\"").arg(server));
    return *where;
}

Target linkChoice(const QCommandLineParser& p)
{
    Target t{linkSettings(p), p.value(QStringLiteral("trace"))};
    if (p.isSet(QStringLiteral("trace")) && t.traceFile.isEmpty())
        usage(QStringLiteral("--trace wants the name of a file"));
    return t;
}

// Refuses options that the command does not take.
void allowOnly(const QCommandLineParser& p, const QString& command, const QSet<QString>& allowed)
{
    static const QSet<QString> link = {QStringLiteral("serial"), QStringLiteral("tcp"), QStringLiteral("trace")};
    for (const QString& name : p.optionNames()) {
        const QString longName = name == u"o"        ? QStringLiteral("output")
                                 : name == u"n"      ? QStringLiteral("count")
                                 : name == u"server" ? QStringLiteral("tcp")
                                                     : name;
        const QString shown = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        if (!link.contains(longName) && !allowed.contains(longName))
            usage(QStringLiteral("%1 does not take %2").arg(command, shown));
    }
}

void wantArguments(const QStringList& args, int count, const QString& form)
{
    if (args.size() != count)
        usage(QStringLiteral("usage: tarvoctl %1").arg(form));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvoctl"));
    onInterrupt(endAtOnce);

    QCommandLineParser p;
    p.addOptions({
        {{"h", "help"}, "Show the help."},
        {{"v", "version"}, "Show the version."},
        {"serial", "Serial port number.", "N"},
        {{"tcp", "server"}, "Sensor as TCP server.", "HOST[:PORT]"},
        {"trace", "Frame trace file.", "FILE"},
        {"eeprom", "From or to EEPROM."},
        {{"o", "output"}, "Output file.", "FILE"},
        {{"n", "count"}, "Number of value sets.", "COUNT"},
        {"seconds", "Duration in seconds.", "S"},
        {"interval", "Pause between requests in ms.", "MS"},
        {"csv", "Comma-separated values."},
        {"json", "One JSON object per line."},
        {"triggered", "Record what the sensor sends on its own."},
        {"ref-step", "Reference temperature step.", "T"},
        {"refs", "Reference values.", "R,G,B"},
        {"accept-limited", "Send factors limited to 0..65535."},
    });
    if (!p.parse(QCoreApplication::arguments()))
        usage(p.errorText());
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(kHelp, stdout);
        // Where the saved connection is read, for this copy of tarvoctl.
        const SettingsLocation saved = settingsLocation(QCoreApplication::applicationDirPath(), kScopeProgram);
        std::fputs(QStringLiteral("\nSaved connection: %1\n")
                       .arg(QDir::toNativeSeparators(saved.filePath(kConSettingsFile)))
                       .toLocal8Bit()
                       .constData(),
                   stdout);
        return Done;
    }
    if (p.isSet(QStringLiteral("version"))) {
        std::fputs(QStringLiteral("tarvoctl %1\n").arg(programVersion()).toLocal8Bit().constData(), stdout);
        return Done;
    }
    const QStringList args = p.positionalArguments();
    if (args.isEmpty())
        usage(QStringLiteral("no command given"));
    const QString command = args.first();
    const bool eeprom = p.isSet(QStringLiteral("eeprom"));

    if (command == u"identify") {
        allowOnly(p, command, {});
        wantArguments(args, 1, QStringLiteral("identify"));
        return identify(linkChoice(p));
    }
    if (command == u"get") {
        allowOnly(p, command, {QStringLiteral("eeprom"), QStringLiteral("output")});
        wantArguments(args, 1, QStringLiteral("get [--eeprom] [-o FILE]"));
        return getParameters(linkChoice(p), eeprom, p.value(QStringLiteral("output")));
    }
    if (command == u"send") {
        allowOnly(p, command, {QStringLiteral("eeprom")});
        wantArguments(args, 2, QStringLiteral("send FILE [--eeprom]"));
        return sendParameters(linkChoice(p), args[1], eeprom);
    }
    if (command == u"measure") {
        allowOnly(p, command, {QStringLiteral("count"), QStringLiteral("seconds"), QStringLiteral("interval"),
                               QStringLiteral("csv"), QStringLiteral("json")});
        wantArguments(args, 1, QStringLiteral("measure [-n COUNT | --seconds S] [--interval MS] [--csv | --json]"));
        MeasureOptions o;
        if (p.isSet(QStringLiteral("count")) && p.isSet(QStringLiteral("seconds")))
            usage(QStringLiteral("-n and --seconds exclude each other"));
        if (p.isSet(QStringLiteral("csv")) && p.isSet(QStringLiteral("json")))
            usage(QStringLiteral("--csv and --json exclude each other"));
        if (p.isSet(QStringLiteral("count")))
            o.count = intValue(p, QStringLiteral("count"), 1, 100000000);
        if (p.isSet(QStringLiteral("seconds")))
            o.seconds = secondsValue(p);
        if (p.isSet(QStringLiteral("interval")))
            o.intervalMs = intValue(p, QStringLiteral("interval"), 0, 3600000);
        o.format = p.isSet(QStringLiteral("csv")) ? Format::Csv : p.isSet(QStringLiteral("json")) ? Format::Json : Format::Text;
        return measure(linkChoice(p), o);
    }
    if (command == u"record") {
        allowOnly(p, command, {QStringLiteral("triggered"), QStringLiteral("seconds"), QStringLiteral("output")});
        wantArguments(args, 1, QStringLiteral("record --triggered [--seconds S] [-o FILE]"));
        if (!p.isSet(QStringLiteral("triggered")))
            usage(QStringLiteral("record needs --triggered: it records the frames the sensor sends on its own "
                                 "(use measure for polled values)"));
        RecordOptions o;
        if (p.isSet(QStringLiteral("seconds")))
            o.seconds = secondsValue(p);
        o.output = p.value(QStringLiteral("output"));
        return recordTriggered(linkChoice(p), o);
    }
    if (command == u"profile") {
        allowOnly(p, command, {QStringLiteral("csv")});
        wantArguments(args, 1, QStringLiteral("profile [--csv]"));
        return profile(linkChoice(p), p.isSet(QStringLiteral("csv")) ? Format::Csv : Format::Text);
    }
    if (command == u"factors") {
        allowOnly(p, command, {QStringLiteral("ref-step"), QStringLiteral("refs"), QStringLiteral("accept-limited")});
        const QString form = QStringLiteral("factors send EQUATIONFILE [--ref-step T | --refs R,G,B] [--accept-limited]");
        wantArguments(args, 3, form);
        if (args[1] != u"send")
            usage(QStringLiteral("usage: tarvoctl %1").arg(form));
        FactorOptions o;
        o.equationFile = args[2];
        o.acceptLimited = p.isSet(QStringLiteral("accept-limited"));
        if (p.isSet(QStringLiteral("ref-step")) && p.isSet(QStringLiteral("refs")))
            usage(QStringLiteral("--ref-step and --refs exclude each other"));
        if (p.isSet(QStringLiteral("ref-step")))
            o.refStep = intValue(p, QStringLiteral("ref-step"), 0, 99);
        if (p.isSet(QStringLiteral("refs"))) {
            const QStringList parts = p.value(QStringLiteral("refs")).split(u',');
            std::array<std::uint16_t, 3> refs{};
            bool ok = parts.size() == 3;
            for (int i = 0; ok && i < 3; ++i) {
                const auto read = readNumber(QStringView(parts[i]).trimmed(), NumberForm::Whole);
                ok = read && *read >= 0 && *read <= 65535;
                const uint v = ok ? static_cast<uint>(*read) : 0;
                refs[static_cast<size_t>(i)] = static_cast<std::uint16_t>(v);
            }
            if (!ok)
                usage(QStringLiteral("--refs wants three whole numbers from 0 to 65535, as R,G,B"));
            o.refs = refs;
        }
        return sendFactors(linkChoice(p), o);
    }
    usage(QStringLiteral("unknown command \"%1\"").arg(command));
}
