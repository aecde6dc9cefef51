// sensorsim: the simulated sensor as a program, for the demo, for training
// without hardware and for trying the programs' error handling.

#include "frametrace.h"
#include "ptychannel.h"
#include "sensorsim.h"
#include "simtrace.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTextStream>
#include <QTime>

#include <climits>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

using namespace tarvo::sim;

namespace {

const char* const kGuide = R"(
What it is
  A simulated gloss sensor (with --colour: the RGB colour sensor). It answers
  the PC programs as a real sensor on the serial line or the network would, so
  the scope program TarvoV43 and the tool TarvoTempCompV43 can be tried and
  learnt without hardware. It prints one line per frame unless --quiet is set.
  Stop it with Ctrl+C.

Connecting over TCP/IP
  Start "sensorsim". It prints "listening on 127.0.0.1:PORT" (10001 unless
  --tcp-port says otherwise; --tcp-port 0 picks a free port). In the program
  open the interface panel, choose TCP/IP, server 127.0.0.1, port PORT, and
  accept. One program at a time: a new connection replaces the old one.

Connecting over the serial line (Linux, macOS)
  Start "sensorsim --pty". It prints "pseudo-terminal: /dev/pts/N", a device
  that behaves like the sensor's serial port. The programs number their
  serial ports; to make port n open this device, start the program with
  TARVO_SERIAL_PORT_<n> set to the path, for example
      TARVO_SERIAL_PORT_1=/dev/pts/N ./TarvoV43
  and choose RS-232, port 1, on the interface panel. With --baud-pacing the
  line is as slow as the real one (19200 baud: about 19 ms per frame).

The target under the sensor
  --gloss sets the gloss factor of the simulated surface (100 = the gloss-100
  reference, the default). The raw channels follow the transmitter power:
  CH_REF = 5 x power, CH_DIR = 4.5 x power x gloss/100, both at most 4095.
  A fresh simulated sensor reads about 2 % low until it is calibrated on the
  reference (calibration panel, START CALIBRATION, with --gloss 100).
  With --console you can type "gloss 85" and the like while it runs.

EEPROM
  Parameters stored in EEPROM, the reference calibration, the calibration
  table and the colour factor tables are kept in a text file and are there
  again at the next start (default: )";

const char* const kGuide2 = R"().
  --eeprom FILE uses another file, --no-eeprom-file keeps them in memory.
  Delete the file to return to factory settings.

Automatic sending
  Command 50 with argument 1 makes the sensor send measurement frames on its
  own, one per part (--part-rate, default 5 per second), laid out like the
  reply to command 5; argument 0 stops it. The sensor gives no reply to
  command 50 itself unless --answer-autosend is set.

Faults (for trying the programs' error handling)
  --delay, --drop, --corrupt-byte, --reply-length and --junk act on replies;
  --fault-command and --fault-after narrow them down. Examples:
      sensorsim --drop all --fault-command 5      never answer command 5
      sensorsim --delay 3500 --fault-after 40     time out after 40 frames
      sensorsim --corrupt-byte 3 --fault-command 2   teach rows echo wrong
  --close-after N closes a TCP connection after it carried N frames; on the
  pseudo-terminal the line goes silent instead. --fault-argument narrows the
  faults to one argument, e.g. one profile block:
      sensorsim --delay 3300 --fault-command 9 --fault-argument 4
  Replies leave in the order of their requests, so replies behind a delayed
  one wait for it, as on a sensor that answers one frame at a time;
  --follow-gap MS lets them follow it only MS later. --measurement-instead
  sends a measurement frame in place of each affected reply:
      sensorsim --measurement-instead --fault-command 4 --fault-argument 10
  For automatic sending: --auto-stray N puts N stray bytes after every frame
  (every K-th with --auto-stray-every K), --auto-cut N sends only the first N
  bytes of every K-th frame (with --auto-cut-every K) right before a whole
  one, --flood sends as fast as the line takes, and --answer-autosend
  answers command 50 with a frame.
  Losing the line (with --console): "drop" closes the connection (the
  pseudo-terminal is closed and opened anew), "away S" switches the sensor
  off for S seconds (TCP connections refused, the pseudo-terminal gone, then
  a reboot: the EEPROM's parameters, automatic sending off), "mute S" makes
  it hang for S seconds (the line stays open, nothing is taken or sent),
  "reboot" only reboots, "id TEXT" answers with another identification
  ("id -": its own), "idtail" fills the bytes after its zero byte with a
  value that changes at every reply ("idtail 0": zeros again), "teach ROW
  W0 W1 W2 W3" changes a teach row of the working set only (a reboot puts
  the EEPROM's back), "count" prints the automatic frames sent so far.
  --pty-link PATH keeps PATH pointing at the pseudo-terminal, which gets
  another device name when it is opened anew, as a USB adapter's stable name.
  --param 1=2 starts with a parameter word the PC's panel does not list
  (here power mode 2).

Trace
  --trace FILE writes one line per frame received and per reply sent, in the
  format of the programs' own --trace, so the two ends can be compared line
  by line (the wall-clock column lines them up).
)";

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

void say(const QString& line)
{
    out() << line << Qt::endl;  // endl flushes, so scripts see it at once
}

[[noreturn]] void usageError(const QString& text)
{
    QTextStream(stderr) << "sensorsim: " << text << "\nTry sensorsim --help.\n";
    std::exit(2);
}

int intOption(const QCommandLineParser& p, const QString& name, int min, int max, int fallback)
{
    if (!p.isSet(name))
        return fallback;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < min || v > max)
        usageError(QStringLiteral("--%1 wants a whole number from %2 to %3").arg(name).arg(min).arg(max));
    return v;
}

double doubleOption(const QCommandLineParser& p, const QString& name, double min, double max, double fallback)
{
    if (!p.isSet(name))
        return fallback;
    bool ok = false;
    const double v = p.value(name).toDouble(&ok);
    if (!ok || v < min || v > max)
        usageError(QStringLiteral("--%1 wants a number from %2 to %3").arg(name).arg(min).arg(max));
    return v;
}

#if defined(Q_OS_UNIX)
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_signalPipe[1], &c, 1);
}

void quitOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

// Typed commands on standard input (--console).
void readConsole(SensorSim& sim, QCoreApplication& app)
{
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&sim, notifier] {
        char buf[256];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf - 1);
        if (n <= 0) {
            notifier->setEnabled(false);
            return;
        }
        for (const QString& line : QString::fromLocal8Bit(buf, n).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList w = line.simplified().split(u' ');
            bool ok = w.size() == 2;
            const double v = ok ? w[1].toDouble(&ok) : 0;
            if (w[0] == u"gloss" && ok && v >= 0) {
                sim.setGloss(v);
                say(QStringLiteral("target gloss %1").arg(v));
            } else if (w[0] == u"noise" && ok && v >= 0) {
                sim.setNoise(v);
                say(QStringLiteral("noise %1").arg(v));
            } else if (w[0] == u"rate" && ok && v > 0) {
                sim.setPartRate(v);
                say(QStringLiteral("part rate %1 per second").arg(v));
            } else if (w[0] == u"nofaults") {
                sim.setFaults({});
            } else if (w[0] == u"drop") {
                sim.dropConnection();
            } else if (w[0] == u"away" && ok && v >= 0) {
                sim.goAway(int(v * 1000));
            } else if (w[0] == u"mute" && ok && v >= 0) {
                sim.mute(int(v * 1000));
            } else if (w[0] == u"reboot") {
                sim.reboot();
            } else if (w[0] == u"id" && w.size() >= 2) {
                const QString text = line.simplified().section(u' ', 1);
                sim.setIdentification(text == u"-" ? QByteArray() : text.toLatin1());
                say(QStringLiteral("identification %1").arg(text));
            } else if (w[0] == u"idtail") {
                sim.setIdentificationTailChanging(!(ok && v == 0));
                say(QStringLiteral("bytes after the identification's zero byte %1")
                        .arg(ok && v == 0 ? QStringLiteral("zero") : QStringLiteral("change at every reply")));
            } else if (w[0] == u"teach" && w.size() == 6) {
                // A teach row in the working set only: a reboot puts the EEPROM's back.
                TeachRow row{};
                bool rowOk = true;
                for (int i = 0; i < kTeachCols; ++i) {
                    row[std::size_t(i)] = quint16(w[i + 2].toUInt(&ok));
                    rowOk = rowOk && ok;
                }
                const int r = w[1].toInt(&ok);
                if (rowOk && ok && r >= 0 && r < kTeachRows) {
                    sim.setTeachRow(r, row);
                    say(QStringLiteral("teach row %1 in the working set: %2").arg(r).arg(w.mid(2).join(u' ')));
                }
            } else if (w[0] == u"count") {
                say(QStringLiteral("automatic frames sent %1").arg(sim.autoFramesTotal()));
            } else if (w[0] == u"quit") {
                QCoreApplication::quit();
            } else {
                say(QStringLiteral(
                    "commands: gloss X | noise X | rate HZ | nofaults | drop | away S | mute S | reboot | id TEXT | "
                    "idtail [0] | teach ROW W0 W1 W2 W3 | count | quit"));
            }
        }
    });
}
#endif

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvo"));
    QCoreApplication::setApplicationName(QStringLiteral("sensorsim"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulated Tarvo gloss or colour sensor."));
    const QList<QCommandLineOption> options = {
        {{"h", "help"}, "Show this help."},
        {{"v", "version"}, "Show the version."},
        {"tcp-port", "Listen on 127.0.0.1:<port> (default 10001; 0 = any free port).", "port"},
        {"no-tcp", "Do not listen on TCP."},
        {"pty", "Open a pseudo-terminal as the serial line."},
        {"baud-pacing", "Pace the pseudo-terminal like 19200 baud 8N1."},
        {{"colour", "color"}, "Be the RGB colour sensor."},
        {"eeprom", "Keep the EEPROM in <file>.", "file"},
        {"no-eeprom-file", "Keep the EEPROM in memory only."},
        {"gloss", "Gloss factor of the target (default 100).", "gf"},
        {"noise", "Noise factor, 0 = none (default 1).", "factor"},
        {"part-rate", "Parts per second, the rate of automatic sending (default 5).", "hz"},
        {"answer-autosend", "Echo command 50 (the programs expect no reply)."},
        {"seed", "Seed for the noise.", "n"},
        {"delay", "Delay replies by <ms>.", "ms"},
        {"drop", "Drop the next <n> replies, or 'all'.", "n"},
        {"corrupt-byte", "Invert byte <i> (0..35) of replies.", "i"},
        {"reply-length", "Cut or pad replies to <n> bytes, e.g. 35 or 37.", "n"},
        {"junk", "Send <n> junk bytes before replies.", "n"},
        {"close-after", "Close the connection after <n> frames.", "n"},
        {"follow-gap", "Replies held behind a delayed one follow it after <ms>.", "ms"},
        {"measurement-instead", "Send a measurement frame in place of replies."},
        {"fault-command", "Apply the reply faults only to command <c>.", "c"},
        {"fault-after", "Apply the reply faults only after <n> frames.", "n"},
        {"fault-argument", "Apply the reply faults only to frames whose argument (word 2) is <a>.", "a"},
        {"frame-behind", "Send a measurement frame right behind each faulted reply, in the same write."},
        {"split-at", "Write each faulted reply (its frame behind included) in two pieces, cut after byte <n>.", "n"},
        {"split-gap", "Time between the two pieces of a split write (default 10).", "ms"},
        {"echo", "Send back the frame received in place of each faulted reply (a loop-back line)."},
        {"auto-stray", "Automatic sending: <n> stray bytes after every frame (see --auto-stray-every).", "n"},
        {"auto-stray-every", "Automatic sending: the stray bytes follow every <k>-th frame.", "k"},
        {"auto-cut", "Automatic sending: every k-th frame cut to its first <n> bytes, a whole one right after.", "n"},
        {"auto-cut-every", "Automatic sending: the cut frame is every <k>-th one.", "k"},
        {"flood", "Automatic sending as fast as the line takes the frames."},
        {"param", "Start with parameter word <i> (0..15) set to <v>, even one the PC's panel does not list.", "i=v"},
        {"console",
         "Read commands (gloss X, noise X, rate HZ, nofaults, drop, away S, mute S, reboot, id TEXT, idtail, "
         "teach ROW W0 W1 W2 W3, count, quit) from standard input."},
        {"pty-link", "Keep a symbolic link <path> pointing at the pseudo-terminal, across reopenings.", "path"},
        {"quiet", "No line per frame."},
        {"trace", "Write every frame received and every byte sent to <file>, one line each.", "file"},
    };
    p.addOptions(options);
    if (!p.parse(app.arguments()))
        usageError(p.errorText());
    if (!p.positionalArguments().isEmpty())
        usageError(QStringLiteral("unexpected argument %1").arg(p.positionalArguments().first()));

    const bool colour = p.isSet("colour");
    const QString defaultEeprom = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                      .filePath(colour ? QStringLiteral("eeprom-rgb.txt")
                                                       : QStringLiteral("eeprom-gloss.txt"));
    if (p.isSet("help")) {
        // The usage line names the program, not the path it was started by.
        QString help = p.helpText();
        help.replace(QStringLiteral("Usage: ") + app.arguments().constFirst(), QStringLiteral("Usage: sensorsim"));
        out() << help << kGuide << QDir::toNativeSeparators(defaultEeprom) << kGuide2;
        out().flush();
        return 0;
    }
    if (p.isSet("version")) {
        say(QStringLiteral("sensorsim " TARVO_VERSION));
        return 0;
    }

    SimOptions o;
    o.colour = colour;
    o.tcp = !p.isSet("no-tcp");
    o.tcpPort = quint16(intOption(p, "tcp-port", 0, 65535, 10001));
    o.pty = p.isSet("pty");
    o.baudPacing = p.isSet("baud-pacing");
    o.ptyLink = p.value("pty-link");
    o.eepromPath = p.isSet("no-eeprom-file") ? QString() : p.isSet("eeprom") ? p.value("eeprom") : defaultEeprom;
    o.gloss = doubleOption(p, "gloss", 0, 2000, 100);
    o.noise = doubleOption(p, "noise", 0, 100, 1);
    o.partRateHz = doubleOption(p, "part-rate", 0.01, 1000, 5);
    o.answerAutoSend = p.isSet("answer-autosend");
    o.seed = quint32(intOption(p, "seed", 0, INT_MAX, 1));
    Faults& f = o.faults;
    f.delayMs = intOption(p, "delay", 0, 600000, 0);
    f.dropReplies = p.value("drop") == u"all" ? Faults::kAll : intOption(p, "drop", 0, INT_MAX, 0);
    f.corruptByte = intOption(p, "corrupt-byte", 0, 35, -1);
    f.replyLength = intOption(p, "reply-length", 1, 1024, 0);
    f.junkBytes = intOption(p, "junk", 0, 1024, 0);
    f.closeAfterFrames = intOption(p, "close-after", 0, INT_MAX, 0);
    f.followGapMs = intOption(p, "follow-gap", 0, 600000, 0);
    f.measurementInstead = p.isSet("measurement-instead");
    f.onlyCommand = intOption(p, "fault-command", 0, 65535, -1);
    f.afterFrames = intOption(p, "fault-after", 0, INT_MAX, 0);
    f.onlyArgument = intOption(p, "fault-argument", 0, 65535, -1);
    f.frameBehind = p.isSet("frame-behind");
    f.splitAt = intOption(p, "split-at", 1, 1024, -1);
    f.splitGapMs = intOption(p, "split-gap", 0, 600000, 10);
    f.echo = p.isSet("echo");
    o.autoStrayBytes = intOption(p, "auto-stray", 0, 1024, 0);
    o.autoStrayEvery = intOption(p, "auto-stray-every", 1, INT_MAX, 1);
    o.autoCutBytes = intOption(p, "auto-cut", 0, 35, 0);
    o.autoCutEvery = intOption(p, "auto-cut-every", 1, INT_MAX, 1);
    o.autoFlood = p.isSet("flood");
    if (!o.tcp && !o.pty)
        usageError(QStringLiteral("with --no-tcp, --pty is needed"));
    if (o.pty && !PtyChannel::supported())
        usageError(QStringLiteral("pseudo-terminals are not available on this system"));

    SensorSim sim(o);
    tarvo::FrameTrace trace(1000);
    tarvo::sim::SimTrace simTrace(sim, trace);
    if (p.isSet("trace")) {
        QString why;
        if (!trace.openFile(p.value("trace"), &why))
            usageError(QStringLiteral("cannot write the trace file %1: %2").arg(p.value("trace"), why));
    }
    const bool quiet = p.isSet("quiet");
    QObject::connect(&sim, &SensorSim::logLine, &app, [quiet](const QString& line) {
        if (!quiet)
            say(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + line);
    });
    QString error;
    if (!sim.start(&error)) {
        QTextStream(stderr) << "sensorsim: " << error << Qt::endl;
        return 1;
    }
    for (const QString& setting : p.values("param")) {
        const QStringList iv = setting.split(u'=');
        bool okIndex = false, okValue = false;
        const int index = iv.value(0).toInt(&okIndex);
        const int value = iv.value(1).toInt(&okValue);
        if (iv.size() != 2 || !okIndex || !okValue || index < 0 || index >= kParamCount || value < 0 || value > 65535)
            usageError(QStringLiteral("--param wants <index 0..15>=<value 0..65535>, not %1").arg(setting));
        ParamSet params = sim.parameters();
        params[size_t(index)] = quint16(value);
        sim.setParameters(params);
    }
    say(colour ? QStringLiteral("simulated RGB colour sensor") : QStringLiteral("simulated gloss sensor"));
    if (o.tcp)
        say(QStringLiteral("listening on 127.0.0.1:%1").arg(sim.tcpPort()));
    if (o.pty)
        say(QStringLiteral("pseudo-terminal: %1").arg(sim.ptyPath()));
    if (o.pty && !o.ptyLink.isEmpty())
        say(QStringLiteral("pseudo-terminal link: %1").arg(o.ptyLink));
    say(QStringLiteral("eeprom: %1")
            .arg(o.eepromPath.isEmpty() ? QStringLiteral("in memory") : QDir::toNativeSeparators(o.eepromPath)));
    if (f != Faults{})
        say(QStringLiteral("faults: %1").arg(f.describe()));

#if defined(Q_OS_UNIX)
    quitOnSignals(app);
    if (p.isSet("console"))
        readConsole(sim, app);
#endif
    const int rc = app.exec();
    say(QStringLiteral("stopped"));
    return rc;
}
