// The link's reports to its frame trace, kept apart from the link's own work.
#include "link.h"

#include "connectionfault.h"
#include "statustexts.h"

namespace tarvo {

void Link::traceOpening(bool serial)
{
    // The line's name: the file's in English, the window's in the user's language.
    const auto lineName = [&](Wording wording) {
        if (!serial)
            return QStringLiteral("TCP %1:%2").arg(ipBuf.trimmed()).arg(portNum);
        const QString port
            = worded(wording, "TraceWindow", QT_TRANSLATE_NOOP("TraceWindow", "RS-232 port %1")).arg(comport);
        return m_serialPath.isEmpty() ? port : QStringLiteral("%1 (%2)").arg(port, m_serialPath);
    };
    const QString name = lineName(Wording::English);
    if (ret < 0)
        szStatus = serial ? rs232StatusText(ret) : tcpStatusText(ret);
    // The trace tells why in words, never the channel's error names: the
    // file in English, the window in the user's language.
    if (ret >= 0)
        m_trace.opened(name, true, QString());
    else
        m_trace.opened(name, false, openingFaultReason(*this), openingFaultReason(*this, Wording::Shown));
    m_trace.setCurrentLinkShown(lineName(Wording::Shown));
}

void Link::traceFlushedInput()
{
    // What the flush is about to throw away, read first so the trace shows it.
    while (m_serialChannel->bytesAvailable() > 0) {
        const std::int64_t n = m_serialChannel->read(m_scratch.data(), static_cast<std::int64_t>(m_scratch.size()));
        if (n <= 0)
            break;
        m_trace.flushed(m_scratch.data(), n);
    }
}

}  // namespace tarvo
