#include "exchange.h"

#include "eventpump.h"
#include "link.h"
#include "parameterset.h"

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

void Exchange::WriteFrame(int tcpTimeoutMs)
{
    nBytesW = m_link.write(szWriteBuf.data(), 2 * anzframe, tcpTimeoutMs);
}

void Exchange::awaitReply(double limit, bool runEvents)
{
    ReceiveState& rx = m_link.rx;
    const int want = 2 * anzframe;
    tstart = m_pump.now();
    if (m_link.isSerial()) {
        if (runEvents)
            m_pump.waitFor(limit, [&] { return m_link.GetInQLen() >= want; });
        else
            m_link.WaitInQWithoutEvents(want, limit);
        rx.dataSize = m_link.GetInQLen();
        rx.dataSize = m_link.ComRd(rx.dataSize);
        rx.bytesToRead = want - rx.dataSize;
    } else {
        m_pump.waitFor(limit, [&] { return rx.bytesToRead <= 0; });
    }
    tdiff = m_pump.now() - tstart;
    m_link.trace.replyEnded(rx.bytesToRead, tdiff);
}

std::int32_t Exchange::bytesToRead() const
{
    return m_link.rx.bytesToRead;
}

void Exchange::CheckEcho(int n)
{
    ReceiveState& rx = m_link.rx;
    if (!m_link.isSerial())
        m_link.EndAutoFrames();
        rx.bytesToRead = rx.dataSize = 2 * anzframe;
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
    ReceiveState& rx = m_link.rx;
    if (m_link.isSerial()) {
        m_link.FlushQueues();
        WriteFrame();
    } else {
        m_link.EndAutoFrames();
        rx.bytesToRead = rx.dataSize = 2 * anzframe;
        WriteFrame();
    }
    awaitReply(m_options.replyLimit);
}

void Exchange::Befehl3plus4()
{
    GetDataFrame();
    if (m_link.rx.bytesToRead == 0) {
        GetRxBufPara();
        m_params.CopyPPtoVars();
    } else {
        SetPopupTimeout();
    }
}

void Exchange::GetRxBufPara()
{
    const auto& in = m_link.rx.szReadBuf;
    for (int i = 0; i < anzframe; ++i)
        m_params.pp[i] = getWord(in.data(), i);
}

void Exchange::GetRxBufData()
{
    const auto& in = m_link.rx.szReadBuf;
    for (int i = 0; i < frame::kWords; ++i)
        databuf[i] = getWord(in.data(), i);
}

void Exchange::SetPopupTimeout()
{
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
    m_link.EndAutoFrames();
}

void Exchange::CheckComLine()
{
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
        m_link.EndAutoFrames();
        rx.bytesToRead = rx.dataSize = 2 * anzframe;
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
        m_host.lineCheckFailed();
    }
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
