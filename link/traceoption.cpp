#include "traceoption.h"

#include "frametrace.h"

#include <QCoreApplication>
#include <QTextStream>

namespace tarvo {

int openTraceFile(FrameTrace& trace, const QString& path, bool append)
{
    if (path.isEmpty())
        return 0;
    QString why;
    if (!trace.openFile(path, &why, append)) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": cannot write the trace file " << path << ": "
                            << why << Qt::endl;
        return 2;
    }
    // A full disk later on ends the file; the run goes on, and says so once.
    QObject::connect(&trace, &FrameTrace::fileError, &trace, [path](const QString& error) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": the trace file " << path
                            << " ends here: " << error << Qt::endl;
    });
    return 0;
}

}  // namespace tarvo
