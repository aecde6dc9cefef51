// The programs' command line: --help, --version, --trace FILE and, for the
// scope, --server HOST:PORT and --serial N, which connect for one run without
// touching the saved settings. Parsed before any window system is needed,
// so that --help and --version work without a display.
#pragma once

#include "settingsfiles.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTextStream;

namespace tarvo {

struct ProgramInfo {
    QString name;                  // the executable's name, e.g. "TarvoV43"
    QString title;                 // one line: what the program is
    QStringList settingsFiles;     // the files it keeps, for --help
    bool connectionOptions = false;  // offers --server and --serial
};

struct CommandLine {
    std::optional<int> exitCode;  // set: end now with this code (0 after --help/--version, 2 on an error)
    // --server (comprotocol TCP/IP, ipBuf, portNumStr) or --serial
    // (comprotocol RS-232, comport): the connection for this run.
    std::optional<ConnectionSettings> connection;
    QString traceFile;  // --trace FILE: every frame of the run written to FILE
};

// "HOST:PORT" or "[v6 address]:PORT", the port 1 to 65535, as a TCP/IP
// connection; nullopt when the text is not one.
std::optional<ConnectionSettings> parseServer(const QString& value);
// A serial port number from 1 to 256, as an RS-232 connection.
std::optional<ConnectionSettings> parseSerial(const QString& value);

// The version of both programs, "4.3.x".
QString programVersion();

// arguments: as argv, the program first. out takes --help and --version,
// err the one-line error. settingsText is asked only for --help.
CommandLine parseCommandLine(const QStringList& arguments, const ProgramInfo& info,
                             const std::function<QString()>& settingsText, QTextStream& out, QTextStream& err);

} // namespace tarvo
