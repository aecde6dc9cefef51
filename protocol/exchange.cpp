#include "exchange.h"

#include "eventpump.h"
#include "link.h"
#include "parameterset.h"
#include "statustexts.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace tarvo {

using frame::getWord;
using frame::putWord;

ExchangeOptions exchangeOptions(ProgramProfile profile)
{
    ExchangeOptions o;
    if (profile == ProgramProfile::ColourTool) {
        o.replyLimit = 2.0;
        o.lineCheckTcpLimit = 5.0;
        o.headerOnlyFrames = true;
        o.lineCheckStopsAutoSend = false;
        o.lineCheckSerialLimit = 2.0;
        o.lineCheckSerialRunsEvents = false;
        o.lineCheckFailureIsTimeout = false;
    }
    return o;
}

Exchange::Exchange(Link& link, EventPump& pump, LoopFlags& flags, ParameterSet& params, ExchangeHost& host,
                   ExchangeOptions options)
    : m_link(link)
    , m_pump(pump)
    , m_flags(flags)
    , m_params(params)
    , m_host(host)
    , m_options(options)
    , m_autoFrames(link, pump, [this] { SetPopupTimeout(); })
{
    // A reply begun waits for its rest until the exchange's own time limit.
    m_scanner.setCutByPause(false);
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
    case frame::WriteCalibRow:  // the row's words come with the request
    case frame::AutoSend: putWord(buf, 2, arg); break;
    default:
        // pp[0..17] from byte 4 on; only pp[0..15] fall inside the 36 bytes sent.
        for (int j = 0; j < frame::kWords; ++j)
            putWord(buf, 2 + j, m_params.pp[j]);
        break;
    }
}

std::span<const std::uint8_t, frame::kBytes> Exchange::compose(std::uint16_t code, std::uint16_t arg,
                                                               std::span<const std::uint16_t> payload)
{
    if (payload.empty()) {
        FillTxBuf(code, arg);
    } else {
        std::uint8_t* buf = szWriteBuf.data();
        putWord(buf, 0, sync);
        putWord(buf, 1, code);
        putWord(buf, 2, arg);
        const auto words = std::min<std::size_t>(payload.size(), frame::kWords - 3);
        for (std::size_t k = 0; k < words; ++k)
            putWord(buf, static_cast<int>(3 + k), payload[k]);
    }
    return lastRequest();
}

Reply Exchange::replyOfLastWait() const
{
    Reply reply;
    if (m_link.rx.bytesToRead != 0)
        return reply;
    reply.fault = ExchangeFault::None;
    reply.words = GetRxBufData();
    return reply;
}

Reply Exchange::send(const CheckedSend& request)
{
    Reply reply;
    if (nestedRequest()) {
        reply.fault = ExchangeFault::Refused;
        return reply;
    }
    compose(request.code, request.arg, request.payload);
    WriteFrame();
    if (request.checkWritten && nBytesW != 2 * anzframe) {
        SetPopupTimeout();
        reply.fault = ExchangeFault::NotWritten;
        return reply;
    }
    if (CheckEcho(request.echoWords))
        return replyOfLastWait();
    reply.fault = m_link.rx.bytesToRead != 0 ? ExchangeFault::NoReply : ExchangeFault::EchoMismatch;
    return reply;
}

Reply Exchange::request(std::uint16_t code, std::uint16_t arg, bool keepReception)
{
    if (nestedRequest())
        return {ExchangeFault::Refused, {}};
    FillTxBuf(code, arg);
    GetDataFrame(keepReception);
    return replyOfLastWait();
}

Reply Exchange::fetchParameters(std::uint16_t code, std::uint16_t arg, ParameterSet& into)
{
    if (nestedRequest())
        return {ExchangeFault::Refused, {}};
    FillTxBuf(code, arg);
    Befehl3plus4(into);
    return replyOfLastWait();
}

bool Exchange::post(std::uint16_t code, std::uint16_t arg)
{
    FillTxBuf(code, arg);
    WriteFrame();
    return nBytesW == 2 * anzframe;
}

bool Exchange::Transfer(TransferKind kind, std::function<void()> work)
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
        std::vector<TransferKind> dropped;
        std::erase_if(m_queued, [&](const QueuedTransfer& q) {
            if (survivesFailedTransfer(q.kind))
                return false;
            dropped.push_back(q.kind);
            return true;
        });
        if (!dropped.empty())
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
    return true;
}

Exchange::Request Exchange::requestOf(const std::uint8_t* frame)
{
    Request r;
    r.code = getWord(frame, 1);
    r.arg = frame::echoesArgument(r.code) ? getWord(frame, 2) : -1;
    return r;
}

bool Exchange::answers(const std::uint8_t* reply, const Request& request)
{
    return getWord(reply, 0) == frame::kSyncSensor && getWord(reply, 1) == request.code
        && (request.arg < 0 || getWord(reply, 2) == request.arg);
}

void Exchange::WriteFrame(int tcpTimeoutMs)
{
    if (nestedRequest()) {
        nBytesW = -1;
        return;
    }
    const Request next = requestOf(szWriteBuf.data());
    settleLine(next);
    nBytesW = m_link.write(szWriteBuf.data(), 2 * anzframe, tcpTimeoutMs);
    if (frame::awaitsReply(next.code))
        m_request = next;
    // A reply awaited, or a late one that may come, stays in the channel for the wait.
    m_link.rx.waiting = frame::awaitsReply(next.code) || !m_owed.empty();
}

void Exchange::forgetOldLine()
{
    if (m_link.openings() == m_openings)
        return;
    m_openings = m_link.openings();
    m_owed.clear();
    m_scanner.clear();
}

int Exchange::takeIn()
{
    int total = 0;
    while (m_scanner.space() > 0) {
        const auto n = static_cast<int>(m_link.readBytes(m_scanner.tail(), m_scanner.space()));
        if (n <= 0)
            break;
        m_scanner.added(n, m_pump.now());
        total += n;
    }
    return total;
}

bool Exchange::waitForBytes(double until, bool runEvents)
{
    const double left = until - m_pump.now();
    if (left <= 0.0)
        return true;
    if (!runEvents)  // false only when the port can deliver nothing more
        return m_link.WaitInQWithoutEvents(m_link.GetInQLen() + 1, left) || m_pump.now() >= until;
    m_pump.waitFor(left, [this] { return m_link.bytesAvailable() > 0 || m_link.channelLost(); });
    const bool expired = m_pump.lastWaitExpired();
    // Bytes the channel has not yet taken in when the time ran out are no
    // pause on the line.
    m_pump.processEvents();
    return !expired;
}

void Exchange::passOver(const FrameScanner::Item& item)
{
    // A part's frame sent on its own while a request waits (the line check
    // during automatic reception) is the reader's, not a stray.
    if (item.kind == FrameScanner::Item::Frame && getWord(item.data, 0) == frame::kSyncSensor
        && getWord(item.data, 1) == frame::ReadMeasurement && m_autoFrames.offer(item.data)) {
        m_link.trace().autoFrame(item.data);
        return;
    }
    ++m_strays;
    // The note in English for the trace file, in the user's language for the window.
    const char* note = nullptr;
    int code = -1;
    if (item.kind == FrameScanner::Item::Frame) {
        code = getWord(item.data, 1);
        // Replies come in the order of their requests: a late reply also
        // tells that the requests before it will get none.
        const auto late = std::find_if(m_owed.begin(), m_owed.end(),
                                       [&](const Owed& o) { return answers(item.data, o.request); });
        if (late != m_owed.end()) {
            note = QT_TRANSLATE_NOOP("Exchange", "late reply to command %1");
            m_lateness = m_pump.now() - late->since;
            if (m_replyOutstanding && late->request.code == m_request.code)
                m_lateTaken = true;
            m_owed.erase(m_owed.begin(), late + 1);
        } else {
            note = QT_TRANSLATE_NOOP("Exchange", "a frame of command %1, not the reply awaited");
        }
    } else {
        note = item.cut ? QT_TRANSLATE_NOOP("Exchange", "a frame cut short")
                        : QT_TRANSLATE_NOOP("Exchange", "bytes of no whole frame");
    }
    const auto worded = [&](Wording wording) {
        const QString text = tarvo::worded(wording, "Exchange", note);
        return code < 0 ? text : text.arg(code);
    };
    m_link.trace().stray(item.data, item.bytes, worded(Wording::English), worded(Wording::Shown));
}

bool Exchange::owedReply(const std::uint8_t* reply) const
{
    return std::any_of(m_owed.begin(), m_owed.end(), [&](const Owed& o) { return answers(reply, o.request); });
}

double Exchange::holdOffEnd(const Owed& owed) const
{
    const double window = m_options.lateWindow;
    return owed.since + (owed.firm ? window : std::max(window, 1.5 * m_lateness));
}

void Exchange::settleLine(const Request& next)
{
    forgetOldLine();
    ReceiveState& rx = m_link.rx;
    if (rx.autoFrames || m_owed.empty())
        return;  // the automatic-frame reader owns the bytes, or nothing is owed
    // Owed replies the next one could be taken for; their hold-off not yet over.
    const auto heldOff = [&] {
        const double now = m_pump.now();
        double until = std::numeric_limits<double>::infinity();
        for (const Owed& o : m_owed)
            if (o.request.code == next.code && (o.request.arg < 0 || next.arg < 0 || o.request.arg == next.arg)
                && holdOffEnd(o) > now)
                until = std::min(until, holdOffEnd(o));
        return until;
    };
    rx.waiting = true;
    bool heldOffToTheEnd = false;
    for (;;) {
        takeIn();
        for (FrameScanner::Item item = m_scanner.next(m_pump.now()); item.kind != FrameScanner::Item::None;
             item = m_scanner.next(m_pump.now()))
            passOver(item);
        const double until = heldOff();
        if (!frame::awaitsReply(next.code) || std::isinf(until) || m_link.channelLost())
            break;
        const bool forScanner = m_scanner.decidesAt() < until;
        if (!waitForBytes(std::min(until, m_scanner.decidesAt()), true) && !forScanner) {
            heldOffToTheEnd = true;
            break;
        }
    }
    // A debt that may already have been paid is not held past its hold-off;
    // a firm one still tells its reply from the next request's.
    const double now = m_pump.now();
    std::erase_if(m_owed, [&](const Owed& o) {
        return !o.firm && (holdOffEnd(o) <= now || (heldOffToTheEnd && o.request.code == next.code));
    });
    // What came before the request is no part of its reply.
    if (const FrameScanner::Item rest = m_scanner.flush(); rest.kind != FrameScanner::Item::None)
        passOver(rest);
}

void Exchange::awaitReply(double limit, bool runEvents)
{
    ReceiveState& rx = m_link.rx;
    const int want = 2 * anzframe;
    const bool text = m_request.code == frame::Identify;  // the identification has no header
    forgetOldLine();
    m_replyOutstanding = true;
    rx.waiting = true;
    tstart = m_pump.now();
    const double deadline = tstart + limit;
    bool found = false;
    bool loopBack = false;
    rx.loopBack = false;
    m_lateTaken = false;
    rx.bytesRead = 0;
    // A frame begun behind the last reply was handed to the automatic-frame
    // reader; its rest comes in this wait, so its start comes back first.
    if (m_autoFrames.active())
        m_autoFrames.yieldHeld(m_scanner);
    for (;;) {
        rx.bytesRead += takeIn();
        // Stops at the reply: what follows it is left in the scanner.
        while (!found) {
            const FrameScanner::Item item = m_scanner.next(m_pump.now(), text);
            if (item.kind == FrameScanner::Item::None)
                break;
            const bool header = getWord(item.data, 0) == frame::kSyncSensor;
            if (item.kind == FrameScanner::Item::Frame && text && !header
                && std::equal(item.data, item.data + want, szWriteBuf.data())) {
                // The request itself came back: the line echoes, no sensor answers.
                loopBack = true;
                passOver(item);
            } else if (item.kind == FrameScanner::Item::Frame && (text ? !header : answers(item.data, m_request))
                       && !owedReply(item.data)) {
                std::copy_n(item.data, want, rx.szReadBuf.begin());
                found = true;
                // The sensor answers in order: a request before this one
                // that got no reply by now will get none.
                m_owed.clear();
            } else {
                passOver(item);
            }
        }
        if (found || loopBack || m_link.channelLost() || m_pump.now() > deadline)
            break;
        if (!waitForBytes(std::min(deadline + 1e-3, m_scanner.decidesAt()), runEvents))
            break;  // as if the time limit had passed
    }

    if (found) {
        rx.dataSize = want;
        rx.bytesToRead = 0;
        m_link.trace().received(rx.szReadBuf.data(), want);
        // Bytes behind the reply belong to no later one; while automatic
        // frames come, they are the start of the next (a frame begun comes
        // back to the next wait, which reads its rest). Otherwise the whole
        // frames among them are passed over one by one, with their reason.
        if (!m_autoFrames.active())
            for (FrameScanner::Item item = m_scanner.next(m_pump.now()); item.kind != FrameScanner::Item::None;
                 item = m_scanner.next(m_pump.now()))
                passOver(item);
        if (const FrameScanner::Item rest = m_scanner.flush(); rest.kind != FrameScanner::Item::None) {
            if (!m_autoFrames.adopt(rest.data, rest.bytes))
                m_link.trace().dropped(rest.data, rest.bytes);  // shown as the reply's surplus
        }
    } else {
        // What came of a reply that did not end in time is shown for what it
        // was; its rest, should it still come, belongs to no later reply.
        FrameScanner::Item part = m_scanner.flush();
        if (!part.cut && !text && part.kind != FrameScanner::Item::None) {
            passOver(part);  // no frame begun, only bytes that might have become one
            part = {};
        }
        const int got = std::min(part.bytes, want);
        std::copy_n(part.data, got, rx.szReadBuf.begin());
        m_link.trace().received(part.data, got);
        rx.bytesToRead = want - got;
        rx.dataSize = m_link.isSerial() ? got : want;
        rx.loopBack = loopBack;
        if (frame::awaitsReply(m_request.code) && !m_link.channelLost() && !loopBack) {
            // Its reply is recognised however late it comes. When this wait
            // took a late reply to an earlier request of the same kind, that
            // may have been this one's (the earlier one never got one): such
            // a debt is held only as long as replies have been late.
            // One debt per request: a sensor that stays silent through many
            // requests owes at most one reply to them, dated from the last.
            std::erase_if(m_owed, [this](const Owed& o) {
                return o.request.code == m_request.code && o.request.arg == m_request.arg;
            });
            m_owed.push_back({m_request, m_pump.now(), !m_lateTaken});
        }
    }
    // While a late reply may come, its bytes stay for the next wait to recognise.
    rx.waiting = !m_owed.empty();
    tdiff = m_pump.now() - tstart;
    m_link.trace().replyEnded(rx.bytesToRead, tdiff);
    m_replyOutstanding = false;
}

bool Exchange::loopedBack() const
{
    return m_link.rx.loopBack;
}

std::int32_t Exchange::bytesToRead() const
{
    return m_link.rx.bytesToRead;
}

bool Exchange::CheckEcho(int n)
{
    if (nestedRequest())
        return false;
    ReceiveState& rx = m_link.rx;
    awaitReply(m_options.replyLimit);
    if (rx.bytesToRead != 0) {
        SetPopupTimeout();
        return false;
    }
    const int mismatch = frame::echoMismatchAt(szWriteBuf.data(), rx.szReadBuf.data(), n);
    m_link.trace().echoChecked(mismatch);
    if (mismatch >= 0) {
        SetPopupTimeout();
        return false;
    }
    return true;
}

bool Exchange::CheckWrittenThenEcho(int n)
{
    if (nBytesW != 2 * anzframe) {
        SetPopupTimeout();
        return false;
    }
    return CheckEcho(n);
}

void Exchange::GetDataFrame(bool keepReception)
{
    if (nestedRequest())
        return;
    if (!keepReception) {
        m_autoFrames.end();
        // Earlier replies are recognised before the flush throws away what waits.
        settleLine(requestOf(szWriteBuf.data()));
        m_link.FlushQueues();
    }
    WriteFrame();
    awaitReply(m_options.replyLimit);
}

void Exchange::Befehl3plus4(ParameterSet& into)
{
    GetDataFrame();
    if (m_link.rx.bytesToRead == 0) {
        GetRxBufPara(into);
        into.CopyPPtoVars();
    } else {
        SetPopupTimeout();
    }
}

void Exchange::GetRxBufPara(ParameterSet& into)
{
    const auto& in = m_link.rx.szReadBuf;
    for (int i = 0; i < anzframe; ++i)
        into.pp[i] = getWord(in.data(), i);
}

FrameWords Exchange::GetRxBufData() const
{
    const auto& in = m_link.rx.szReadBuf;
    FrameWords words{};
    for (int i = 0; i < frame::kWords; ++i)
        words[i] = getWord(in.data(), i);
    return words;
}

void Exchange::SetPopupTimeout()
{
    m_transferFailed = true;
    m_flags.pollrecord = 0;
    m_flags.poll = 0;
    m_host.showStatus(QCoreApplication::translate("Exchange", "TIMEOUT"));
    m_host.timeoutReaction();
}

bool Exchange::StopAutoSend()
{
    FillTxBuf(frame::AutoSend, 0);
    m_link.FlushQueues();
    WriteFrame();
    m_autoFrames.end();
    return nBytesW == 2 * anzframe;
}

void Exchange::StartAutoSend(bool newReception)
{
    FillTxBuf(frame::AutoSend, 1);
    // Older bytes belong to no frame of this sending.
    if (newReception)
        m_autoFrames.begin();
    else if (!m_autoFrames.active())
        m_autoFrames.begin(true);
    WriteFrame();
}

std::optional<Identification> Exchange::askIdentification(bool keepReception)
{
    if (!keepReception) {
        m_autoFrames.end();
        if (m_options.lineCheckStopsAutoSend) {
            StopAutoSend();
            m_pump.sleep(m_options.lineCheckStopPause);
        }
    }

    FillTxBuf(frame::Identify, 0);
    if (!keepReception)
        m_link.FlushQueues();
    double limit = m_options.lineCheckSerialLimit;
    bool runEvents = true;
    if (m_link.isSerial()) {
        WriteFrame();
        runEvents = m_options.lineCheckSerialRunsEvents;
    } else {
        WriteFrame(5000);
        limit = m_options.lineCheckTcpLimit;
    }
    awaitReply(limit, runEvents);
    if (m_link.rx.bytesToRead != 0)
        return std::nullopt;
    Identification id{};
    std::copy_n(m_link.rx.szReadBuf.begin(), id.size(), id.begin());
    return id;
}

bool Exchange::QueryIdentification(bool keepReception)
{
    const std::optional<Identification> id = askIdentification(keepReception);
    if (id)
        version = *id;
    return id.has_value();
}

void Exchange::CheckComLine()
{
    if (nestedRequest())
        return;
    if (QueryIdentification()) {
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
    return QCoreApplication::translate("Exchange",
                                       " The sensor did not answer, so %1, pressed while it was awaited, \n"
                                       " was not carried out. \n\n Press it again once the sensor answers. ")
        .arg(commands.join(QStringLiteral(", ")));
}

double Exchange::lineCheckLimit() const
{
    return m_link.isSerial() ? m_options.lineCheckSerialLimit : m_options.lineCheckTcpLimit;
}

QString identificationText(const Identification& id)
{
    QString text;
    for (std::uint8_t c : id) {
        if (c == 0)
            break;
        // Keep the text readable whatever the sensor sent: no control
        // characters, neither C0 nor C1 (a terminal acts on both).
        text.append(c < 0x20 || (c >= 0x7F && c <= 0x9F) ? QChar(u'?') : QChar(c));
    }
    return text;
}

}  // namespace tarvo
