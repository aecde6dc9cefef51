// Where a program keeps its settings files (connection settings, server
// history) and where its file dialogs open.
//
// A copy of a program in a folder its user can write (a portable copy, or a
// build folder) keeps everything in that folder, as it always has. An
// installed copy, or one in a read-only folder, keeps its settings in the
// user's configuration folder (per user and per program) and opens its file
// dialogs in the user's documents folder. No widgets here: command-line
// tools read the same files the same way.
#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

inline const QString kOrganization = QStringLiteral("Tarvo");
inline const QString kScopeProgram = QStringLiteral("TarvoV43");
inline const QString kToolProgram = QStringLiteral("TarvoTempCompV43");
// Prefix of the desktop entry and AppStream ids: <prefix><program>.
inline const QString kDesktopIdPrefix = QStringLiteral("com.tarvo.");

inline const QString kConSettingsFile = QStringLiteral("ComSettings.cfg");
inline const QString kIpComboBoxFile = QStringLiteral("IPComboBox.cfg");
inline const QString kReconnectSettingsFile = QStringLiteral("Reconnect.cfg");  // settingsfiles.h: kReconnectFile
// The files each program keeps (the tool keeps no connection settings).
inline const QStringList kScopeSettingsFiles = {kConSettingsFile, kIpComboBoxFile, kReconnectSettingsFile};
inline const QStringList kToolSettingsFiles = {kIpComboBoxFile, kReconnectSettingsFile};

// The program's own session file, kept beside the two above: window sizes
// and places, the last folder of each kind of file and, for the tool, its
// last connection. ComSettings.cfg and IPComboBox.cfg keep their formats.
inline QString sessionFileName(const QString& program)
{
    return program + QStringLiteral(".ini");
}

struct SettingsLocation {
    QString programDir;    // the folder of the program's executable
    QString settingsDir;   // where ComSettings.cfg and IPComboBox.cfg live
    QString documentsDir;  // where the file dialogs open
    bool portable = true;  // settingsDir is the program's folder

    QString filePath(const QString& name) const;
};

// The user's configuration folder of one program; the same folder as
// QStandardPaths::AppConfigLocation inside that program.
QString userSettingsDir(const QString& program);

// True when the folder takes new files and is not marked read-only, so that
// a read-only folder counts as one even for an administrator.
bool folderIsWritable(const QString& dir);

// True when the program sits in an installed tree (<prefix>/bin beside
// <prefix>/share/applications/<id>.desktop) or in an application bundle:
// such a copy never writes beside itself, even when run by an administrator
// who could.
bool isInstalledCopy(const QString& programDir, const QString& program);

// Decides, without creating anything.
SettingsLocation settingsLocation(const QString& programDir, const QString& program);

// Creates the user's settings folder when the location is not portable and
// copies the given files that lie beside the program but not yet there, so
// that the first start of an installed copy takes over existing settings.
// Returns false (with *error) when the folder cannot be created.
bool prepareSettingsLocation(const SettingsLocation& location, const QStringList& files, QString* error = nullptr);

// settingsLocation followed by prepareSettingsLocation, as a program starts;
// a folder that cannot be created shows when a file is saved there.
SettingsLocation preparedSettingsLocation(const QString& programDir, const QString& program, const QStringList& files);

// One paragraph for --help and the right-click help: which files are kept
// where.
QString describeSettingsLocation(const SettingsLocation& location, const QStringList& files);

}  // namespace tarvo
