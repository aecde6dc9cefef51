#include "programstart.h"

#include "language.h"
#include "settingslocation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QSettings>
#include <QTextStream>
#include <cstdio>

namespace tarvo {

namespace {

// The icon's sizes as compiled into the program (":/icons/<program>-<size>.png").
const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QIcon programIcon(const QString& program)
{
    QIcon icon;
    for (int size : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(program).arg(size), QSize(size, size));
    return icon;
}

}  // namespace

int runProgram(int argc, char* argv[], const ProgramInfo& info, const std::function<int(const CommandLine&)>& run)
{
    QCoreApplication::setOrganizationName(kOrganization);
    QCoreApplication::setApplicationName(info.name);
    QCoreApplication::setApplicationVersion(programVersion());

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const CommandLine commandLine = parseCommandLine(
        arguments, info,
        [&] {
            // Only the program's folder is wanted here; no window system.
            QCoreApplication core(argc, argv);
            return describeSettingsLocation(settingsLocation(QCoreApplication::applicationDirPath(), info.name),
                                            info.settingsFiles);
        },
        out, err);
    if (commandLine.exitCode)
        return *commandLine.exitCode;

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(kDesktopIdPrefix + info.name);
    QApplication::setWindowIcon(programIcon(info.name));
    // Before the first window: the language chosen in the program is kept in its session file.
    const QString chosen = QSettings(settingsLocation(QCoreApplication::applicationDirPath(), info.name)
                                         .filePath(sessionFileName(info.name)),
                                     QSettings::IniFormat)
                               .value(kLanguageKey)
                               .toString();
    const Language language = chooseLanguage(parseLanguage(commandLine.language), chosen);
    if (!applyLanguage(language)) {
        err << info.name << ": the " << languageCode(language) << " translation could not be loaded.\n";
        err.flush();
    }
    return run(commandLine);
}

}  // namespace tarvo
