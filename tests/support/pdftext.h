// The text of a PDF as a reader extracts it (pdftotext of poppler-utils,
// which tools/setup.sh installs), on one line with single spaces; empty
// when it could not be read.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace tarvo::test {

inline QString pdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QStringLiteral("(pdftotext is missing: tools/setup.sh installs poppler-utils)");
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

}  // namespace tarvo::test
