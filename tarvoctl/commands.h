// The tarvoctl commands and their table. Each command gets what it was
// called with and a session with the sensor (opened by the command when it
// needs it), and returns its exit code; a failure has been written to
// standard error, naming the sensor, the step and the reason.
#pragma once

#include "options.h"
#include "output.h"
#include "session.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

#include <vector>

namespace tarvo::ctl {

// What a command was called with.
struct Invocation {
    const QCommandLineParser& options;
    QStringList args;  // after the command's name
    Target target;
    Output* out = nullptr;  // the data; standard output unless the command opens a file
    bool quiet = false;     // -q: no report of success
    int retries = 0;

    bool isSet(const Option& o) const { return o.isSet(options); }
    QString value(const Option& o) const { return o.value(options); }
};

// What a command talks to.
enum class Sensor {
    None,    // no sensor: it takes no link options
    Gloss,   // the gloss sensor, with the scope's exchange
    Colour,  // the colour sensor, with the tool's exchange
};

struct Command {
    const char* name;
    const char* synopsis;  // what follows "tarvoctl [LINK]"
    const char* help;      // what it does and what it sends to the sensor
    const char* examples;
    // The options it takes besides -h and -q (and, with a sensor, the link
    // options, --trace and --timeout).
    std::vector<const Option*> options;
    Sensor sensor = Sensor::None;
    bool retriable = false;  // --retries runs it again on a new connection
    int (*run)(const Invocation&, Session&) = nullptr;

    bool connects() const { return sensor != Sensor::None; }
};

// Every command, in the order --help lists them.
const std::vector<Command>& commandTable();

// A mistake on the command line: one line and exit code 2.
[[noreturn]] void usage(const QString& text);
// The options of the command line, checked; a mistake ends in usage().
int wholeOption(const Invocation& in, const Option& o, int min, int max);
double secondsOption(const Invocation& in, const Option& o, double max);
void exclusive(const Invocation& in, const Option& a, const Option& b);
// The command's arguments are `count`; else usage() with its form.
void wantArguments(const Invocation& in, const char* form, int count);

// Sets the loop's flag, which `timer` clears after `seconds` (0: never) and
// a signal or a failure at any time.
void runFor(Session& s, std::uint16_t& flag, double seconds, QTimer& timer);

// What automatic reception skipped (bytes of no whole frame, cut frames)
// as a warning, and the replies to other commands it passed over.
void reportReception(const Invocation& in, const Session& s, const AutoFrameCounts& counts);

// Information on standard error; -q keeps it back. Warnings always show.
void note(const Invocation& in, const QString& text);
void warn(const QString& text);

// A file or "-" (standard input) read whole, at most maxBytes; on failure
// the exit code after the message.
struct InputFile {
    QString name;  // as the user gave it, or "standard input"
    QByteArray content;
};
std::optional<int> readInput(const QString& path, qint64 maxBytes, InputFile* file);

// A file as messages name it: its path, or "standard input" for "-".
QString displayName(const QString& path);
// Messages about a file: "PATH: reason", or the reader's own message when
// it starts with the file's name already.
QString fileMessage(const QString& path, const QString& error);

int identify(const Invocation& in, Session& s);
int listPorts(const Invocation& in, Session& s);
int getParameters(const Invocation& in, Session& s);
int sendParameters(const Invocation& in, Session& s);
int verifyParameters(const Invocation& in, Session& s);
int measure(const Invocation& in, Session& s);
int recordTriggered(const Invocation& in, Session& s);
int profile(const Invocation& in, Session& s);
int sendFactors(const Invocation& in, Session& s);

}  // namespace tarvo::ctl
