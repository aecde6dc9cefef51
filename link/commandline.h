// The programs' command line: --help, --version, --trace FILE, --language and the
// connection options, which connect for one run without touching the saved
// settings. Parsed before any window system is needed, so that --help and
// --version work without a display.
//
// The connection options are spelled the same in every program and in
// tarvoctl: --tcp HOST[:PORT] (--server is another name for it), --serial N
// and --device PATH.
#pragma once

#include "settingsfiles.h"
#include "statustexts.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QCommandLineParser;
class QTextStream;

namespace tarvo {

struct ProgramInfo {
    QString name;                    // the executable's name, e.g. "TarvoV43"
    QString title;                   // one line: what the program is
    QStringList settingsFiles;       // the files it keeps, for --help
    bool connectionOptions = false;  // offers --tcp, --serial and --device
    bool reconnectOption = false;    // offers --reconnect
};

struct CommandLine {
    std::optional<int> exitCode;  // set: end now with this code (0 after --help/--version, 2 on an error)
    // --tcp (comprotocol TCP/IP, ipBuf, portNumStr), --serial (comprotocol
    // RS-232, comport) or --device (RS-232, comdevice): the connection for this run.
    std::optional<ConnectionSettings> connection;
    QString traceFile;       // --trace FILE: every frame of the run written to FILE
    bool reconnect = false;  // --reconnect: "Reconnect and resume" on for this run
    QString language;        // --language de|en: the language of this run ("" when not given)
};

// "HOST", "HOST:PORT", "[v6 address]:PORT" or a bare IPv6 address, the port
// 1 to 65535 (kDefaultTcpPort when none is given), as a TCP/IP connection;
// nullopt when the text is not one.
std::optional<ConnectionSettings> parseServer(const QString& value);
// A serial port number from 1 to 256, as an RS-232 connection.
std::optional<ConnectionSettings> parseSerial(const QString& value);

// The connection options, added to a parser, and what they give: no
// connection, one, or the reason why the options are wrong (one sentence).
void addConnectionOptions(QCommandLineParser& parser);
struct ConnectionChoice {
    std::optional<ConnectionSettings> connection;
    QString error;
};
ConnectionChoice readConnectionOptions(const QCommandLineParser& parser);
// Their lines for a --help text, indented by two, the description from column 22.
QString connectionOptionsHelp();
// The connection as a person names it: "HOST:PORT" ("[v6]:PORT"), "serial
// port N" or the device's path; English unless the screen asks.
QString connectionName(const ConnectionSettings& where, Wording wording = Wording::English);

// Why the parser refused the arguments, one sentence; an unknown option
// named as it was typed ("--bogus", "-v"), not by its bare name.
QString parseErrorText(const QCommandLineParser& parser, const QStringList& arguments);

// The version of both programs, "4.3.x".
QString programVersion();

// arguments: as argv, the program first. out takes --help and --version,
// err the one-line error. settingsText is asked only for --help.
CommandLine parseCommandLine(const QStringList& arguments, const ProgramInfo& info,
                             const std::function<QString()>& settingsText, QTextStream& out, QTextStream& err);

}  // namespace tarvo
