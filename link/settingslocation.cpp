#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tarvo {

QString SettingsLocation::filePath(const QString& name) const
{
    return QDir(settingsDir).filePath(name);
}

QString userSettingsDir(const QString& program)
{
    // AppConfigLocation is GenericConfigLocation/<organization>/<application>
    // on every platform; built here so that any program can name another.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + kOrganization
        + QLatin1Char('/') + program;
}

bool folderIsWritable(const QString& dir)
{
    const QFileInfo info(dir);
    if (!info.isDir())
        return false;
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(info.permissions() & anyWrite))
        return false;
    // Permissions alone cannot tell (access lists, read-only mounts): try.
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".tarvo-write-test-XXXXXX")));
    return probe.open();
}

bool isInstalledCopy(const QString& programDir, const QString& program)
{
    // An application bundle (X.app/Contents/MacOS) is never written into.
    if (QDir::cleanPath(programDir).endsWith(QLatin1String(".app/Contents/MacOS")))
        return true;
    return QFileInfo::exists(QDir(programDir)
                                 .filePath(QStringLiteral("../share/applications/") + kDesktopIdPrefix + program
                                           + QStringLiteral(".desktop")));
}

SettingsLocation settingsLocation(const QString& programDir, const QString& program)
{
    SettingsLocation l;
    l.programDir = programDir;
    l.portable = !isInstalledCopy(programDir, program) && folderIsWritable(programDir);
    if (l.portable) {
        l.settingsDir = programDir;
        l.documentsDir = programDir;
    } else {
        l.settingsDir = userSettingsDir(program);
        // An account without a Documents folder (one made without a desktop)
        // gets its file dialogs in the home folder, and --help names that.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        l.documentsDir = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }
    return l;
}

bool prepareSettingsLocation(const SettingsLocation& location, const QStringList& files, QString* error)
{
    if (location.portable)
        return true;
    if (!QDir().mkpath(location.settingsDir)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(location.settingsDir));
        return false;
    }
    const QDir beside(location.programDir);
    for (const QString& name : files) {
        const QString own = location.filePath(name);
        // A failed copy only means starting empty. The copy is the user's to
        // change, even when the file beside the program is read-only.
        if (!QFileInfo::exists(own) && QFileInfo(beside.filePath(name)).isFile()
            && QFile::copy(beside.filePath(name), own))
            QFile::setPermissions(own, QFile::permissions(own) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

SettingsLocation preparedSettingsLocation(const QString& programDir, const QString& program, const QStringList& files)
{
    SettingsLocation location = settingsLocation(programDir, program);
    prepareSettingsLocation(location, files);
    return location;
}

QString describeSettingsLocation(const SettingsLocation& location, const QStringList& files)
{
    // "A", "A and B", "A, B and C".
    QString names = files.value(0);
    for (qsizetype i = 1; i < files.size(); ++i)
        names += (i + 1 == files.size() ? QCoreApplication::translate("SettingsLocation", " and ")
                                        : QStringLiteral(", "))
            + files[i];
    QString text = (files.size() == 1 ? QCoreApplication::translate("SettingsLocation", " %1 is kept in \n %2 \n")
                                      : QCoreApplication::translate("SettingsLocation", " %1 are kept in \n %2 \n"))
                       .arg(names, QDir::toNativeSeparators(location.settingsDir));
    if (location.portable)
        return text
            + QCoreApplication::translate("SettingsLocation", " (the program's own folder: this copy is portable). \n");
    return text
        + QCoreApplication::translate("SettingsLocation",
                                      " (your own settings folder, as this copy is installed or its folder \n"
                                      " is read-only; files beside the program are read once as the starting point). \n"
                                      " File dialogs open in %1. \n")
              .arg(QDir::toNativeSeparators(location.documentsDir));
}

}  // namespace tarvo
