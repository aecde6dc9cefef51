#include "exchange.h"

#include "eventpump.h"
#include "link.h"
#include "parameterset.h"

#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <utility>

namespace tarvo {

using frame::getWord;
using frame::putWord;

Exchange::Exchange(Link& link, EventPump& pump, LoopFlags& flags, ParameterSet& params, ExchangeHost& host,
                   ExchangeOptions options)
    : m_link(link)
    , m_pump(pump)
    , m_flags(flags)
    , m_params(params)
    , m_host(host)
    , m_options(options)
    , m_autoFrames(link, pump)
{
}

void Exchange::FillTxBuf(std::uint16_t code, std::uint16_t arg)
{
    std::uint8_t* buf = szWriteBuf.data();
    putWord(buf, 0, sync);
    putWord(buf, 1, code);
    if (m_options.headerOnlyFrames) {
        putWord(buf, 2, arg);
        return;
    }
    switch (code) {
    case frame::WriteTeachRow:
        putWord(buf, 2, arg);
        if (arg < kTeachRows)
            for (int k = 0; k < kTeachCols; ++k)
                putWord(buf, 3 + k, m_params.pp[kParamCount + kTeachCols * arg + k]);
        break;
    case frame::ReadTeachRow:
    case frame::ReadProfileBlock:
    case frame::AutoSend:
        putWord(buf, 2, arg);
        break;
    case frame::WriteCalibRow:
        putWord(buf, 2, arg);
        if (arg <= 76)
            for (int k = 0; k < 13; ++k)
                putWord(buf, 3 + k, biasBuf1001[13 * arg + k]);
        break;
    default:
        // pp[0..17] from byte 4 on; only pp[0..15] fall inside the 36 bytes sent.
        for (int j = 0; j < frame::kWords; ++j)
            putWord(buf, 2 + j, m_params.pp[j]);
        break;
    }
}

bool Exchange::Transfer(const QString& kind, std::function<void()> work)
{
    if (m_transferDepth > 0 && m_pump.depth() > m_transferPumpDepth) {
        // Asked for from inside a wait of the running transfer: after it.
        for (const QueuedTransfer& q : m_queued)
            if (q.kind == kind)
                return false;
        m_queued.push_back({kind, std::move(work)});
        return false;
    }
    if (m_transferDepth == 0) {
        m_transferPumpDepth = m_pump.depth();
        m_transferFailed = false;
    }
    ++m_transferDepth;
    work();
    --m_transferDepth;
    if (m_transferDepth == 0 && m_transferFailed && !m_queued.empty()) {
        // Pressed while the line was being checked or used, for a line that
        // then failed: running them would only meet the failure again, one
        // time limit after another, or send what the failed read left.
        QStringList dropped;
        std::erase_if(m_queued, [&](const QueuedTransfer& q) {
            if (q.kind == QLatin1String("connect") || q.kind == QLatin1String("autosend-off"))
                return false;
            dropped << q.kind;
            return true;
        });
        if (!dropped.isEmpty())
            m_host.queuedTransfersDropped(dropped);
    }
    if (m_transferDepth == 0 && !m_queued.empty()) {
        QueuedTransfer next = std::move(m_queued.front());
        m_queued.erase(m_queued.begin());
        Transfer(next.kind, std::move(next.work));  // the rest follow when it ends
    }
    return true;
}

bool Exchange::nestedRequest()
{
    if (!m_replyOutstanding)
        return false;
    // Every transfer passes Transfer(), so this cannot happen; if it ever
    // does, the second request is refused rather than mixed into the first.
    qWarning("tarvo: a request was refused while another one waits for its reply");
    comecho = 0;
    return true;
}

void Exchange::WriteFrame(int tcpTimeoutMs)
{
    if (nestedRequest()) {
        nBytesW = -1;
        return;
    }
    nBytesW = m_link.write(szWriteBuf.data(), 2 * anzframe, tcpTimeoutMs);
}

void Exchange::expectReply()
{
    ReceiveState& rx = m_link.rx;
    m_autoFrames.end();
    rx.owed = std::clamp(rx.owed, 0, 2 * anzframe);
    rx.bytesToRead = rx.dataSize = 2 * anzframe + rx.owed;
    rx.waiting = true;
}

void Exchange::awaitReply(double limit, bool runEvents)
{
    ReceiveState& rx = m_link.rx;
    const int want = 2 * anzframe;
    // A reply that an abandoned exchange was still owed may come first. It
    // comes before this one (the sensor answers one frame at a time), so when
    // one is owed, a short look after the first whole reply shows whether
    // a second follows; if so, the first was the late one.
    constexpr double kOwedGrace = 0.15;
    const int owed = std::clamp(rx.owed, 0, want);
    m_replyOutstanding = true;
    tstart = m_pump.now();
    int received = 0;
    if (m_link.isSerial()) {
        auto waitQueued = [&](int n, double seconds) {
            if (runEvents)
                m_pump.waitFor(seconds, [&] { return m_link.GetInQLen() >= n; });
            else
                m_link.WaitInQWithoutEvents(n, seconds);
        };
        waitQueued(want, limit);
        if (owed > 0 && m_link.GetInQLen() >= want)
            waitQueued(want + owed, kOwedGrace);
        received = m_link.ComRd(m_link.GetInQLen());
    } else {
        auto got = [&] { return rx.dataSize - rx.bytesToRead; };
        m_pump.waitFor(limit, [&] { return got() >= want; });
        if (owed > 0 && got() >= want) {
            m_pump.waitFor(kOwedGrace, [&] { return rx.bytesToRead <= 0; });
            if (got() > want && rx.bytesToRead > 0)  // a second reply has begun: wait for the rest of it
                m_pump.waitFor(std::max(0.0, limit - (m_pump.now() - tstart)), [&] { return rx.bytesToRead <= 0; });
        }
        received = got();
        rx.waiting = false;
    }
    settleReply(received, owed);
    tdiff = m_pump.now() - tstart;
    m_link.trace.replyEnded(rx.bytesToRead, tdiff);
    m_replyOutstanding = false;
}

void Exchange::settleReply(int received, int owed)
{
    ReceiveState& rx = m_link.rx;
    const int want = 2 * anzframe;
    // RS-232: the bytes found; TCP: the bytes expected, or found when more came.
    rx.dataSize = m_link.isSerial() || received > want ? received : want;
    if (owed > 0 && received == want + owed) {
        // The late reply came first: this exchange's reply is the one behind it.
        std::memmove(rx.szReadBuf.data(), rx.szReadBuf.data() + owed, static_cast<size_t>(want));
        rx.bytesToRead = 0;
        rx.owed = 0;
    } else if (received == want) {
        rx.bytesToRead = 0;
        rx.owed = 0;
    } else if (received < want) {
        // Incomplete: the rest of it (and of anything owed before) may still come.
        rx.bytesToRead = want - received;
        rx.owed = std::min(want, want + owed - received);
    } else {
        // More than one reply and not the owed one in front: out of step.
        rx.bytesToRead = want - received;
        rx.owed = m_link.isSerial() ? 0 : std::min(want, want + owed - received);
    }
}

std::int32_t Exchange::bytesToRead() const
{
    return m_link.rx.bytesToRead;
}

void Exchange::CheckEcho(int n)
{
    if (nestedRequest())
        return;
    ReceiveState& rx = m_link.rx;
    if (!m_link.isSerial())
        expectReply();
    awaitReply(m_options.replyLimit);
    if (rx.bytesToRead != 0) {
        SetPopupTimeout();
        return;
    }
    const int mismatch = frame::echoMismatchAt(szWriteBuf.data(), rx.szReadBuf.data(), n);
    comecho = mismatch < 0 ? 1 : 0;
    m_link.trace.echoChecked(mismatch);
    if (!comecho)
        SetPopupTimeout();
}

void Exchange::CheckWrittenThenEcho(int n)
{
    if (nBytesW != 2 * anzframe) {
        SetPopupTimeout();
        return;
    }
    CheckEcho(n);
}

void Exchange::GetDataFrame()
{
    if (nestedRequest())
        return;
    m_autoFrames.end();
    if (m_link.isSerial()) {
        m_link.FlushQueues();
        WriteFrame();
    } else {
        expectReply();
        WriteFrame();
    }
    awaitReply(m_options.replyLimit);
}

void Exchange::Befehl3plus4(ParameterSet* into)
{
    GetDataFrame();
    if (m_link.rx.bytesToRead == 0) {
        GetRxBufPara(into);
        (into ? *into : m_params).CopyPPtoVars();
    } else {
        SetPopupTimeout();
    }
}

void Exchange::GetRxBufPara(ParameterSet* into)
{
    const auto& in = m_link.rx.szReadBuf;
    ParameterSet& target = into ? *into : m_params;
    for (int i = 0; i < anzframe; ++i)
        target.pp[i] = getWord(in.data(), i);
}

void Exchange::GetRxBufData()
{
    const auto& in = m_link.rx.szReadBuf;
    for (int i = 0; i < frame::kWords; ++i)
        databuf[i] = getWord(in.data(), i);
}

void Exchange::SetPopupTimeout()
{
    m_transferFailed = true;
    m_flags.pollrecord = 0;
    m_flags.poll = 0;
    comecho = 0;
    m_host.showStatus(QStringLiteral("TIMEOUT"));
    m_host.timeoutReaction();
}

void Exchange::StopAutoSend()
{
    order = frame::AutoSend;
    FillTxBuf(order, 0);
    m_link.FlushQueues();
    WriteFrame();
    m_autoFrames.end();
}

void Exchange::CheckComLine()
{
    if (nestedRequest())
        return;
    m_autoFrames.end();
    ReceiveState& rx = m_link.rx;
    if (m_options.lineCheckStopsAutoSend) {
        StopAutoSend();
        m_pump.sleep(0.1);
    }

    order = frame::Identify;
    FillTxBuf(order, 0);
    m_link.FlushQueues();
    double limit = m_options.lineCheckSerialLimit;
    bool runEvents = true;
    if (m_link.isSerial()) {
        rx.dataSize = 0;
        WriteFrame();
        runEvents = m_options.lineCheckSerialRunsEvents;
    } else {
        expectReply();
        WriteFrame(5000);
        limit = m_options.lineCheckTcpLimit;
    }
    awaitReply(limit, runEvents);

    if (rx.bytesToRead == 0) {
        std::copy_n(rx.szReadBuf.begin(), version.size(), version.begin());
        m_host.showStatus(versionText());
        m_host.lineCheckPassed();
    } else if (m_options.lineCheckFailureIsTimeout) {
        SetPopupTimeout();
    } else {
        m_transferFailed = true;
        m_host.lineCheckFailed();
    }
}

QString notCarriedOutText(const QStringList& commands)
{
    return QStringLiteral(" The sensor did not answer, so %1, pressed while it was awaited, \n"
                          " was not carried out. \n\n Press it again once the sensor answers. ")
        .arg(commands.join(QStringLiteral(", ")));
}

QString Exchange::versionText() const
{
    QString text;
    for (std::uint8_t c : version) {
        if (c == 0)
            break;
        // Keep the text readable whatever the sensor sent.
        text.append(c < 0x20 || c == 0x7F ? QChar(u'?') : QChar(c));
    }
    return text;
}

} // namespace tarvo
