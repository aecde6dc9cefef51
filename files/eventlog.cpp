#include "eventlog.h"

#include "fileio.h"
#include "timetext.h"

#include <QFile>

namespace tarvo {

void EventLog::startFresh(const QString& recordPath)
{
    m_path = pathFor(recordPath);
    QFile::remove(m_path);
}

QString EventLog::line(const QDateTime& when, const QString& word, const QString& reason, long lines)
{
    QString text = reason;
    text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
    return QStringLiteral("%1\t%2\t%3\t%4").arg(isoTimeWithOffset(when), word, text).arg(lines);
}

bool EventLog::write(const QString& word, const QString& reason, long lines)
{
    if (m_path.isEmpty())
        return true;
    const QByteArray bytes = (line(clock(), word, reason, lines) + QLatin1Char('\n')).toUtf8();
    return appendWhole(m_path, bytes, false, &m_error);
}

}  // namespace tarvo
