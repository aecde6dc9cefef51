#include "commandline.h"

#include "link.h"
#include "numbertext.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace tarvo {

namespace {

constexpr int kUsageError = 2;
constexpr int kHighestSerialPort = 256;  // the interface panel's range

// Options that belong to Qt itself (QApplication takes them out of argv
// later); accepted here so that they do not count as unknown.
const char* const kQtOptionsWithValue[] = {"platform",     "platformtheme", "plugin",     "qwindowgeometry",
                                           "qwindowtitle", "style",         "stylesheet", "display"};
const char* const kQtFlags[] = {"reverse"};

QString helpText(const ProgramInfo& info, const QString& settingsText)
{
    QString text = QStringLiteral("Usage: %1 [options]\n%2\n\nOptions:\n").arg(info.name, info.title);
    text += QStringLiteral("  -h, --help          Show this help and end.\n"
                           "  -v, --version       Show the version and end.\n"
                           "  --trace FILE        Write every frame to and from the sensor to FILE, one line\n"
                           "                      each, for the whole run (for support).\n"
                           "  --language de|en    Show this run in German (de) or English (en); without it\n"
                           "                      the language chosen in the program or the system's.\n");
    if (info.connectionOptions)
        text += connectionOptionsHelp()
            + QStringLiteral("                      Each connects for this run; the saved connection settings\n"
                             "                      stay as they are.\n");
    if (info.reconnectOption)
        text += QStringLiteral("  --reconnect         Reconnect and resume for this run: a lost connection is\n"
                               "                      taken up again by itself and the recording goes on.\n");
    // The paragraph is laid out for a message box; here each line is indented.
    text += QStringLiteral("\nSettings:\n");
    for (const QString& line : settingsText.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.trimmed().isEmpty())
            text += QStringLiteral("  ") + line.trimmed() + QLatin1Char('\n');
    return text;
}

}  // namespace

std::optional<ConnectionSettings> parseServer(const QString& value)
{
    QString host = value.trimmed();
    QString port = QString::fromLatin1(kDefaultTcpPort);
    if (host.startsWith(QLatin1Char('['))) {
        // [v6 address] or [v6 address]:PORT
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        const QString rest = host.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            port = rest.mid(1);
        }
        host = host.mid(1, close - 1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        // HOST:PORT; more than one colon is a bare IPv6 address on the usual port.
        const qsizetype colon = host.indexOf(QLatin1Char(':'));
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    if (host.isEmpty() || host.size() > 255 || portNumberOf(port) == 0 || port.size() > 31)
        return std::nullopt;
    ConnectionSettings s;
    s.comprotocol = TCPIP;
    s.ipBuf = host;
    s.portNumStr = port;
    return s;
}

std::optional<ConnectionSettings> parseSerial(const QString& value)
{
    const auto read = readNumber(QStringView(value).trimmed(), NumberForm::Whole);
    const int number = read && *read >= 1 && *read <= kHighestSerialPort ? static_cast<int>(*read) : 0;
    if (number == 0)
        return std::nullopt;
    ConnectionSettings s;
    s.comprotocol = RS232;
    s.comport = static_cast<std::uint16_t>(number);
    return s;
}

void addConnectionOptions(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("tcp"), QStringLiteral("server")}, QString(),
                                        QStringLiteral("HOST[:PORT]")));
    parser.addOption(QCommandLineOption(QStringLiteral("serial"), QString(), QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("device"), QString(), QStringLiteral("PATH")));
}

ConnectionChoice readConnectionOptions(const QCommandLineParser& parser)
{
    ConnectionChoice choice;
    const QString tcp = QStringLiteral("tcp");
    const QString serial = QStringLiteral("serial");
    const QString device = QStringLiteral("device");
    if (int(parser.isSet(tcp)) + int(parser.isSet(serial)) + int(parser.isSet(device)) > 1) {
        choice.error = QStringLiteral("--tcp, --serial and --device exclude each other.");
    } else if (parser.isSet(tcp)) {
        choice.connection = parseServer(parser.value(tcp));
        if (!choice.connection)
            choice.error = QStringLiteral("--tcp wants HOST or HOST:PORT with a port from 1 to 65535, not '%1'.")
                               .arg(parser.value(tcp));
    } else if (parser.isSet(serial)) {
        choice.connection = parseSerial(parser.value(serial));
        if (!choice.connection)
            choice.error = QStringLiteral("--serial wants a port number from 1 to %1, not '%2'.")
                               .arg(kHighestSerialPort)
                               .arg(parser.value(serial));
    } else if (parser.isSet(device)) {
        if (parser.value(device).trimmed().isEmpty()) {
            choice.error = QStringLiteral("--device wants the path of a serial device.");
        } else {
            ConnectionSettings s;
            s.comprotocol = RS232;
            s.comdevice = parser.value(device);
            choice.connection = s;
        }
    }
    return choice;
}

QString connectionOptionsHelp()
{
    return QStringLiteral("  --tcp HOST[:PORT]   Connect to the sensor over TCP/IP, on port %1 when\n"
                          "                      none is given; an IPv6 address with a port is written\n"
                          "                      [ADDRESS]:PORT. --server is another name for it.\n"
                          "  --serial N          Connect to the sensor on serial port N (1 = first port).\n"
                          "  --device PATH       Connect to the sensor on the serial device PATH (such as\n"
                          "                      /dev/serial/by-id/...), whatever number it has.\n")
        .arg(QString::fromLatin1(kDefaultTcpPort));
}

QString connectionName(const ConnectionSettings& where, Wording wording)
{
    if (where.comprotocol == TCPIP)
        return (where.ipBuf.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2"))
            .arg(where.ipBuf.trimmed(), where.portNumStr.trimmed());
    if (!where.comdevice.isEmpty())
        return where.comdevice;
    return worded(wording, "ConnectionFault", QT_TRANSLATE_NOOP("ConnectionFault", "serial port %1"))
        .arg(where.comport);
}

QString parseErrorText(const QCommandLineParser& parser, const QStringList& arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        return parser.errorText();
    // The argument that carried the name: "--bogus", "-bogus", "--bogus=1".
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (!argument.startsWith(u'-'))
            continue;
        const QString typed = argument.section(u'=', 0, 0);
        qsizetype dashes = 0;
        while (dashes < typed.size() && typed[dashes] == u'-')
            ++dashes;
        if (typed.mid(dashes) == unknown.constFirst())
            return QStringLiteral("Unknown option '%1'.").arg(typed);
    }
    return QStringLiteral("Unknown option '%1'.").arg(unknown.constFirst());
}

QString programVersion()
{
    return QStringLiteral(TARVO_VERSION);
}

CommandLine parseCommandLine(const QStringList& arguments, const ProgramInfo& info,
                             const std::function<QString()>& settingsText, QTextStream& out, QTextStream& err)
{
    CommandLine result;
    auto fail = [&](QString why) {
        // The reason may quote what was typed; a line end in it would break the one line.
        for (QChar& c : why)
            if (c.category() == QChar::Other_Control)
                c = u'?';
        err << info.name << ": " << why << " Try '" << info.name << " --help'.\n";
        err.flush();
        result.exitCode = kUsageError;
        return result;
    };

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption trace(QStringLiteral("trace"), QString(), QStringLiteral("FILE"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(trace);
    const QCommandLineOption language(QStringLiteral("language"), QString(), QStringLiteral("de|en"));
    parser.addOption(language);
    if (info.connectionOptions)
        addConnectionOptions(parser);
    const QCommandLineOption reconnect(QStringLiteral("reconnect"));
    if (info.reconnectOption)
        parser.addOption(reconnect);
    for (const char* name : kQtOptionsWithValue)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char* name : kQtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(arguments))
        return fail(parseErrorText(parser, arguments));
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));

    if (parser.isSet(help)) {
        out << helpText(info, settingsText());
        out.flush();
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(version)) {
        out << info.name << ' ' << programVersion() << '\n';
        out.flush();
        result.exitCode = 0;
        return result;
    }
    result.traceFile = parser.value(trace);
    if (parser.isSet(trace) && result.traceFile.isEmpty())
        return fail(QStringLiteral("--trace wants the name of a file."));
    if (parser.isSet(language)) {
        result.language = parser.value(language).trimmed().toLower();
        if (result.language != QLatin1String("de") && result.language != QLatin1String("en"))
            return fail(QStringLiteral("--language takes de or en, not '%1'.").arg(parser.value(language)));
    }
    if (info.connectionOptions) {
        const ConnectionChoice choice = readConnectionOptions(parser);
        if (!choice.error.isEmpty())
            return fail(choice.error);
        result.connection = choice.connection;
    }
    result.reconnect = info.reconnectOption && parser.isSet(reconnect);
    return result;
}

}  // namespace tarvo
