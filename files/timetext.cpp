#include "timetext.h"

#include <cstdlib>

namespace tarvo {

QString isoTimeWithOffset(const QDateTime& when)
{
    const int offset = when.offsetFromUtc() / 60;
    const int a = std::abs(offset);
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + (offset < 0 ? u'-' : u'+')
        + QStringLiteral("%1:%2").arg(a / 60, 2, 10, QChar(u'0')).arg(a % 60, 2, 10, QChar(u'0'));
}

QString datedFileName(const QString& stem, const QDateTime& when, const QString& suffix)
{
    return stem + u'-' + when.toString(QStringLiteral("yyyy-MM-dd-HHmm")) + u'.' + suffix;
}

}  // namespace tarvo
