// tarvoctl: the sensor from scripts and the command line, on the same link
// and protocol code as the scope program and the tool.

#include "commandline.h"
#include "commands.h"
#include "interrupt.h"
#include "output.h"
#include "reportcommand.h"
#include "settingslocation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;
using namespace tarvo::ctl;

namespace {

const char* const kIntro = R"(Usage: tarvoctl [LINK] [OPTIONS] COMMAND [ARGUMENTS] [COMMAND OPTIONS]
       tarvoctl COMMAND --help
       tarvoctl --help | --version

Talks to the gloss sensor (or the colour sensor) over RS-232 or TCP, with the
same link and frames as TarvoV43, and reads and writes the same files.

Link (one of them; without any, the connection TarvoV43 saved, named at the
end of this help):
)";

const char* const kOptions = R"(
Options:
  --trace FILE        write every frame to and from the sensor to FILE, one
                      line each, as TarvoV43 --trace does
  --timeout S         seconds to wait for each reply, the identification's
                      included (default 3.0, the identification over TCP
                      5.0; the colour sensor 2.0)
  --retries N         a command that got no right answer from the sensor
                      runs again on a new connection, up to N times (see
                      the command; not record)
  -q, --quiet         no report of success on standard output or standard
                      error; data, warnings and failures still show
  -h, --help          this help; COMMAND --help: the command's
  --version           the version

Where a command takes a FILE, "-" is standard input or standard output.

Commands:
)";

const char* const kExitCodes = R"(
Exit codes:
  0     done; verify: the sensor holds what the file holds
  1     the sensor did not answer, answered wrongly or closed the connection
        (the message names the sensor, the step and the reason); verify: the
        sensor holds other values (each one is listed)
  2     bad usage, or a file (standard input and output included) that
        cannot be read or written: the message names it and the reason
  3     verify: no sensor answered, or it answered wrongly or closed the
        connection, so nothing was compared
  130, 143, 129
        ended by Ctrl+C (SIGINT), SIGTERM or SIGHUP: 128 + the signal's
        number, after automatic sending was switched off; what was written
        up to then is complete, line by line. A recording that ran its
        --seconds ends with 0.
)";

QString indented(const char* text, int by)
{
    QString out;
    for (const QString& line : QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts))
        out += QString(by, u' ') + line + u'\n';
    return out;
}

QString savedConnectionLine()
{
    const SettingsLocation saved = settingsLocation(QCoreApplication::applicationDirPath(), kScopeProgram);
    return QStringLiteral("\nSaved connection: %1\n").arg(QDir::toNativeSeparators(saved.filePath(kConSettingsFile)));
}

QString globalHelp()
{
    QString text = QString::fromUtf8(kIntro) + connectionOptionsHelp() + QString::fromUtf8(kOptions);
    for (const Command& c : commandTable())
        text += indented(c.synopsis, 2) + indented(c.help, 6) + u'\n';
    text += QString::fromUtf8(kExitCodes).mid(1);
    text += QStringLiteral("\nExamples:\n");
    for (const Command& c : commandTable())
        text += indented(c.examples, 2);
    return text + savedConnectionLine();
}

QString commandHelp(const Command& c)
{
    QString text = QStringLiteral("Usage: tarvoctl %1%2\n\n")
                       .arg(c.connects() ? QStringLiteral("[LINK] [OPTIONS] ") : QString(),
                            QString::fromUtf8(c.synopsis).replace(u'\n', QStringLiteral("\n       ")));
    text += indented(c.help, 2) + QStringLiteral("\nExample:\n") + indented(c.examples, 2);
    if (c.connects())
        text += QStringLiteral("\nLINK:\n") + connectionOptionsHelp()
            + QStringLiteral("\n'tarvoctl --help' lists the other options and the exit codes.\n");
    return text;
}

void print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

// Every option of tarvoctl's own, each once: those of every run, then the commands'.
std::vector<const Option*> allOptions()
{
    std::vector<const Option*> all = {&opt::help, &opt::version, &opt::quiet, &opt::trace, &opt::timeout};
    for (const Command& c : commandTable())
        for (const Option* o : c.options)
            if (std::find(all.begin(), all.end(), o) == all.end())
                all.push_back(o);
    return all;
}

// Refuses options that the command does not take. Those that are not
// tarvoctl's own are the link options, taken by the commands with a sensor.
void allowOnly(const QCommandLineParser& p, const Command& command)
{
    std::vector<const Option*> allowed = command.options;
    allowed.insert(allowed.end(), {&opt::help, &opt::quiet});
    if (command.connects())
        allowed.insert(allowed.end(), {&opt::trace, &opt::timeout});
    const std::vector<const Option*> all = allOptions();
    for (const QString& name : p.optionNames()) {
        const auto own = std::find_if(all.begin(), all.end(), [&name](const Option* o) { return o->named(name); });
        const bool taken = own == all.end() ? command.connects()
                                            : std::find(allowed.begin(), allowed.end(), *own) != allowed.end();
        const QString shown = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        if (!taken)
            usage(QStringLiteral("%1 does not take %2").arg(QString::fromLatin1(command.name), shown));
    }
}

Target targetFrom(const QCommandLineParser& p)
{
    Target t;
    const ConnectionChoice choice = readConnectionOptions(p);
    if (!choice.error.isEmpty())
        usage(choice.error);
    t.link = choice.connection ? *choice.connection : savedConnection(QCoreApplication::applicationDirPath());
    t.traceFile = opt::trace.value(p);
    if (opt::trace.isSet(p) && t.traceFile.isEmpty())
        usage(opt::trace.shown() + QStringLiteral(" wants the name of a file"));
    return t;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool stdoutOpen = holdStandardStreams();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvoctl"));
    onInterrupt(nullptr);

    QCommandLineParser p;
    addConnectionOptions(p);
    for (const Option* o : allOptions())
        p.addOption(o->forParser());
    if (!p.parse(QCoreApplication::arguments()))
        usage(parseErrorText(p, QCoreApplication::arguments()));
    const QStringList args = p.positionalArguments();
    if (args.isEmpty()) {
        if (opt::help.isSet(p)) {
            print(globalHelp());
            return Done;
        }
        if (opt::version.isSet(p)) {
            print(QStringLiteral("tarvoctl %1\n").arg(programVersion()));
            return Done;
        }
        usage(QStringLiteral("no command given"));
    }
    if (opt::version.isSet(p))
        usage(QStringLiteral("--version takes no command"));
    const Command* command = nullptr;
    for (const Command& c : commandTable())
        if (args.first() == QLatin1String(c.name))
            command = &c;
    if (!command)
        usage(QStringLiteral("unknown command \"%1\"").arg(args.first()));
    if (opt::help.isSet(p)) {
        print(commandHelp(*command));
        return Done;
    }
    allowOnly(p, *command);

    Output out(stdoutOpen);
    Invocation in{.options = p, .args = args.mid(1), .target = {}, .out = &out, .quiet = opt::quiet.isSet(p)};
    if (command->connects())
        in.target = targetFrom(p);
    if (in.isSet(opt::timeout))
        in.target.timeout = secondsOption(in, opt::timeout, 600.0);
    if (in.isSet(opt::retries))
        in.retries = wholeOption(in, opt::retries, 0, 100);

    int rc = Done;
    bool interrupted = false;
    for (int attempt = 0;; ++attempt) {
        Session s(in.target, command->sensor == Sensor::Colour ? ProgramProfile::ColourTool : ProgramProfile::Scope);
        s.appendTrace = attempt > 0;
        out.attach(&s.pump);
        rc = s.end(command->run(in, s));
        out.attach(nullptr);
        interrupted = s.interrupted();
        if (!s.failed() || interrupted || !command->retriable || !s.retryAllowed() || attempt >= in.retries)
            break;
        report(Done, QStringLiteral("trying again (%1 of %2)").arg(attempt + 1).arg(in.retries));
    }

    // What is still on its way out goes; after a signal, what goes within a moment.
    out.finish(interrupted ? 0.1 : -1.0);
    if (const QString why = out.failure(); !why.isEmpty()) {
        report(BadUsage, QStringLiteral("%1: cannot be written: %2").arg(QDir::toNativeSeparators(out.name()), why));
        if (rc == Done)
            rc = BadUsage;
    }
    return rc;
}
