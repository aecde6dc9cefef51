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
const char* const kQtOptionsWithValue[] = {"platform", "platformtheme", "plugin", "qwindowgeometry",
                                           "qwindowtitle", "style", "stylesheet", "display"};
const char* const kQtFlags[] = {"reverse"};

QString helpText(const ProgramInfo& info, const QString& settingsText)
{
    QString text = QStringLiteral("Usage: %1 [options]\n%2\n\nOptions:\n").arg(info.name, info.title);
    text += QStringLiteral("  -h, --help          Show this help and end.\n"
                           "  -v, --version       Show the version and end.\n"
                           "  --trace FILE        Write every frame to and from the sensor to FILE, one line\n"
                           "                      each, for the whole run (for support).\n");
    if (info.connectionOptions)
        text += QStringLiteral("  --server HOST:PORT  Connect to the sensor at HOST:PORT over TCP/IP for this run.\n"
                               "  --serial N          Connect to the sensor on serial port N for this run.\n"
                               "                      Neither changes the saved connection settings.\n");
    // The paragraph is laid out for a message box; here each line is indented.
    text += QStringLiteral("\nSettings:\n");
    for (const QString& line : settingsText.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.trimmed().isEmpty())
            text += QStringLiteral("  ") + line.trimmed() + QLatin1Char('\n');
    return text;
}

} // namespace

std::optional<ConnectionSettings> parseServer(const QString& value)
{
    const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QString host = value.left(colon);
    const QString port = value.mid(colon + 1);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    const int number = portNumberOf(port);
    if (host.isEmpty() || host.size() > 255 || number == 0 || port.size() > 31)
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
    const QCommandLineOption server(QStringLiteral("server"), QString(), QStringLiteral("HOST:PORT"));
    const QCommandLineOption serial(QStringLiteral("serial"), QString(), QStringLiteral("N"));
    const QCommandLineOption trace(QStringLiteral("trace"), QString(), QStringLiteral("FILE"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(trace);
    if (info.connectionOptions) {
        parser.addOption(server);
        parser.addOption(serial);
    }
    for (const char* name : kQtOptionsWithValue)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char* name : kQtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(arguments))
        return fail(parser.errorText());
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
    if (info.connectionOptions) {
        if (parser.isSet(server) && parser.isSet(serial))
            return fail(QStringLiteral("--server and --serial cannot be used together."));
        if (parser.isSet(server)) {
            result.connection = parseServer(parser.value(server));
            if (!result.connection)
                return fail(QStringLiteral("--server wants HOST:PORT with a port from 1 to 65535, not '%1'.")
                                .arg(parser.value(server)));
        } else if (parser.isSet(serial)) {
            result.connection = parseSerial(parser.value(serial));
            if (!result.connection)
                return fail(QStringLiteral("--serial wants a port number from 1 to %1, not '%2'.")
                                .arg(kHighestSerialPort)
                                .arg(parser.value(serial)));
        }
    }
    return result;
}

} // namespace tarvo
