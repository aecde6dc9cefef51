#include "faults.h"

namespace tarvo::sim {

QString Faults::describe() const
{
    QStringList parts;
    if (delayMs > 0)
        parts << QStringLiteral("delay %1 ms").arg(delayMs);
    if (dropReplies == kAll)
        parts << QStringLiteral("drop every reply");
    else if (dropReplies > 0)
        parts << QStringLiteral("drop %1 replies").arg(dropReplies);
    if (corruptByte >= 0)
        parts << QStringLiteral("corrupt byte %1").arg(corruptByte);
    if (replyLength > 0)
        parts << QStringLiteral("replies of %1 bytes").arg(replyLength);
    if (junkBytes > 0)
        parts << QStringLiteral("%1 junk bytes before replies").arg(junkBytes);
    if (closeAfterFrames > 0)
        parts << QStringLiteral("close connection after %1 frames").arg(closeAfterFrames);
    if (followGapMs > 0)
        parts << QStringLiteral("replies held behind a delayed one follow it after %1 ms").arg(followGapMs);
    if (measurementInstead)
        parts << QStringLiteral("a measurement frame in place of replies");
    if (frameBehind)
        parts << QStringLiteral("a measurement frame behind replies, in the same write");
    if (splitAt >= 0)
        parts << QStringLiteral("replies written in two, cut after byte %1, %2 ms apart").arg(splitAt).arg(splitGapMs);
    if (echo)
        parts << QStringLiteral("the frame received sent back in place of replies");
    if (parts.isEmpty())
        return QStringLiteral("none");
    if (onlyCommand >= 0)
        parts << QStringLiteral("only for command %1").arg(onlyCommand);
    if (onlyArgument >= 0)
        parts << QStringLiteral("only for argument %1").arg(onlyArgument);
    if (afterFrames > 0)
        parts << QStringLiteral("only after %1 frames").arg(afterFrames);
    return parts.join(QStringLiteral(", "));
}

void FaultInjector::set(const Faults& faults)
{
    m_faults = faults;
    m_frames = 0;
    m_dropsLeft = faults.dropReplies;
}

FaultInjector::Result FaultInjector::apply(quint16 command, quint16 argument, const QByteArray& reply)
{
    Result r;
    r.bytes = reply;
    const Faults& f = m_faults;
    if ((f.onlyCommand >= 0 && command != f.onlyCommand) || (f.onlyArgument >= 0 && argument != f.onlyArgument)
        || m_frames <= f.afterFrames)
        return r;

    if (m_dropsLeft != 0) {
        if (m_dropsLeft > 0)
            --m_dropsLeft;
        r.dropped = true;
        r.notes << QStringLiteral("reply dropped");
        return r;
    }
    if (f.measurementInstead) {
        r.measurementInstead = true;
        r.notes << QStringLiteral("a measurement frame sent instead");
    }
    if (f.frameBehind) {
        r.frameBehind = true;
        r.notes << QStringLiteral("a measurement frame behind it");
    }
    if (f.splitAt >= 0) {
        r.splitAt = f.splitAt;
        r.notes << QStringLiteral("written in two after byte %1").arg(f.splitAt);
    }
    if (f.echo) {
        r.echo = true;
        r.notes << QStringLiteral("the frame received sent back");
    }
    if (f.corruptByte >= 0 && f.corruptByte < r.bytes.size()) {
        r.bytes[f.corruptByte] = char(r.bytes[f.corruptByte] ^ 0xFF);
        r.notes << QStringLiteral("byte %1 inverted").arg(f.corruptByte);
    }
    if (f.replyLength > 0 && f.replyLength != r.bytes.size()) {
        r.bytes.resize(f.replyLength, '\0');
        r.notes << QStringLiteral("reply cut/padded to %1 bytes").arg(f.replyLength);
    }
    if (f.junkBytes > 0) {
        // 0xFF never begins a sync word, so junk is easy to spot in a dump.
        QByteArray junk(f.junkBytes, char(0xFF));
        for (int i = 1; i < junk.size(); i += 2)
            junk[i] = char(0x30 + i % 10);
        r.bytes.prepend(junk);
        r.notes << QStringLiteral("%1 junk bytes sent first").arg(f.junkBytes);
    }
    if (f.delayMs > 0) {
        r.delayMs = f.delayMs;
        r.notes << QStringLiteral("delayed %1 ms").arg(f.delayMs);
    }
    return r;
}

}  // namespace tarvo::sim
