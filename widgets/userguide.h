// The user guide: HTML pages, task by task, shipped with the programs and
// shown in the desktop's web browser (F1, the HELP button, and the help
// boxes whose text points to the manual).
#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

inline const QString kGuideStartPage = QStringLiteral("index.html");

// The folders where a program looks for the guide, in this order: beside
// the program (a build folder, a portable or Windows copy), the data folder
// of the tree it is installed in (<prefix>/share/tarvo/guide), a macOS
// bundle's resources, then the system's data folders.
QStringList userGuideCandidates(const QString& programDir);
// The first candidate that holds the start page; empty when none does.
QString userGuideFolder(const QString& programDir);

// Opens the guide at a topic ("trace.html#failures"; empty: the start page)
// through the dialog service. When no guide is found, a box says where it
// was looked for; when nothing can show it, a box names the page to open by
// hand. False when nothing was opened.
bool openUserGuide(const QString& topic = QString());

}  // namespace tarvo
