#include "userguide.h"

#include "dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QUrl>

namespace tarvo {

namespace {
const QString kGuideData = QStringLiteral("tarvo/guide");
}

QStringList userGuideCandidates(const QString& programDir)
{
    const QDir dir(programDir);
    QStringList folders{dir.filePath(QStringLiteral("guide")), dir.filePath(QStringLiteral("../share/") + kGuideData),
                        dir.filePath(QStringLiteral("../Resources/guide"))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(kGuideData);
    for (QString& f : folders)
        f = QDir::cleanPath(f);
    folders.removeDuplicates();
    return folders;
}

QString userGuideFolder(const QString& programDir)
{
    for (const QString& folder : userGuideCandidates(programDir))
        if (QFileInfo(QDir(folder).filePath(kGuideStartPage)).isFile())
            return folder;
    return QString();
}

bool openUserGuide(const QString& topic)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString folder = userGuideFolder(programDir);
    if (folder.isEmpty()) {
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            QCoreApplication::translate("UserGuide", " The user guide was not found. It was looked for in: \n %1")
                .arg(QDir::toNativeSeparators(userGuideCandidates(programDir).join(QStringLiteral(" \n ")))));
        return false;
    }
    const QString page = topic.section(u'#', 0, 0);
    const QString anchor = topic.section(u'#', 1);
    // The guide in the language of the program's texts where it has the page
    // (<guide>/de/ beside the English pages), otherwise the English page.
    const QString name = page.isEmpty() ? kGuideStartPage : page;
    QString file = QDir(folder).filePath(name);
    const QString translated = QDir(folder).filePath(QLocale().name().left(2) + QLatin1Char('/') + name);
    if (QLocale().language() != QLocale::English && QFileInfo(translated).isFile())
        file = translated;
    else if (!QFileInfo(file).isFile())
        file = QDir(folder).filePath(kGuideStartPage);
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    if (dialogs().openUrl(url))
        return true;
    dialogs().message(
        QStringLiteral("ATTENTION!"),
        QCoreApplication::translate(
            "UserGuide", " No program to show web pages was found. \n Open the user guide in a browser: \n %1")
            .arg(QDir::toNativeSeparators(file)));
    return false;
}

}  // namespace tarvo
