// The real link, exchange, parameter, measurement, profile and automatic-frame
// code against a sensor whose every answer the input chooses: whole, split,
// late, corrupted, cut, padded, a flood of frames, silence or hanging up,
// over the serial line and over TCP. After every user action the buffers
// must be within their bounds, no wait or loop may be left running, and the
// user's retry must work: a measurement, or, when the line is gone, a
// reconnect, a line check and a measurement.
//
// Input: one byte of set-up, then user actions, each a byte and whatever the
// sensor's answers to its requests take. When the input is used up the
// sensor answers properly, so every run ends.
#include "eventpump.h"
#include "exchange.h"
#include "frame.h"
#include "link.h"
#include "measurement.h"
#include "parameterset.h"
#include "paramtransfer.h"
#include "scriptedsensor.h"
#include "serialports.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace tarvo;
using tarvo::fuzz::ScriptedChannel;

namespace {

[[noreturn]] void broken(const char* what)
{
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

// The input, read front to back; zeros once it is used up.
struct Input {
    const std::uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool empty() const { return pos >= size; }
    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    QByteArray bytes(int n)
    {
        QByteArray out;
        while (n-- > 0 && !empty())
            out.append(static_cast<char>(byte()));
        return out;
    }
};

constexpr const char* kIdentification = "GLOSS SENSOR SIMULATION V4.3";

// The words of a measurement frame a proper sensor sends.
std::uint16_t measurementWord(int i)
{
    return static_cast<std::uint16_t>(1000 + 37 * i);
}

QByteArray properReply(const QByteArray& request)
{
    QByteArray reply = request.leftJustified(frame::kBytes, '\0', true);
    const auto code = static_cast<std::uint16_t>(
        frame::getWord(reinterpret_cast<const std::uint8_t*>(request.constData()), 1));
    auto* w = reinterpret_cast<std::uint8_t*>(reply.data());
    switch (code) {
    case frame::Identify: reply = QByteArray(kIdentification).leftJustified(frame::kBytes, '\0'); return reply;
    case frame::ReadParams:
    case frame::ReadMeasurement:
    case frame::ReadProfileBlock:
        for (int i = 2; i < frame::kWords; ++i)
            frame::putWord(w, i, measurementWord(i));
        break;
    default:  // echoes, the teach row read included
        break;
    }
    frame::putWord(w, 0, frame::kSyncSensor);
    return reply;
}

struct Host : LinkHost, ExchangeHost, MeasurementHost, ParamTransferHost {
    int lineChecks = 0;
    int timeouts = 0;
    void showLinkStatus(const QString&) override {}
    void message(const QString&, const QString&) override {}
    void showStatus(const QString&) override {}
    void timeoutReaction() override { ++timeouts; }
    void lineCheckPassed() override { ++lineChecks; }
    void HideProfileGraph() override {}
    void SetPanelData() override {}
    void ShowGraph() override {}
    void ShowProfile() override {}
    void GetPanelValues() override {}
    void ShowFetchedParameters() override {}
};

class Harness {
public:
    explicit Harness(Input& in)
        : m_in(in)
    {
        const std::uint8_t setup = m_in.byte();
        ExchangeOptions options;
        if (setup & 1) {  // the colour tool's exchange
            options.headerOnlyFrames = true;
            options.lineCheckStopsAutoSend = false;
            options.lineCheckSerialRunsEvents = false;
            options.lineCheckFailureIsTimeout = false;
        }
        link = std::make_unique<Link>(pump, flags, host);
        exchange = std::make_unique<Exchange>(*link, pump, flags, params, host, options);
        transfer = std::make_unique<MeasurementTransfer>(*exchange, *link, pump, flags, values, host);
        paramTransfer = std::make_unique<ParamTransfer>(*exchange, *link, flags, params, pump, host);
        link->replaceChannels(serial, tcp);
        for (ScriptedChannel* c : {&serial, &tcp}) {
            c->onRequest = [this, c](const QByteArray& request) { answer(*c, request); };
            c->onOpen = [this] { return m_honest ? 0 : openResult(); };
            c->onRead = [this](const std::uint8_t* data, std::int64_t max) { checkRead(data, max); };
        }
        setSerialPortResolver([](int) { return SerialDevice{QStringLiteral("/dev/scripted"), QString()}; });

        // One arrival per turn of the event loop; when nothing more comes,
        // the innermost wait's time is up, or the user presses STOP.
        ticker.setInterval(0);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            if (active().tick())
                return;
            if (m_stopWhenQuiet && (flags.poll || flags.pollrecord || flags.pollmonitor)) {
                flags.clearAll();
                pump.poke();
            }
            pump.expireInnermostWait();
        });
        ticker.start();

        m_honest = true;  // the program starts on a working line
        connect((setup & 2) ? TCPIP : RS232);
        m_honest = false;
    }

    ~Harness()
    {
        ticker.stop();
        setSerialPortResolver(nullptr);
    }

    void run()
    {
        int actions = 0;
        while (!m_in.empty() && actions++ < 32) {
            const std::uint8_t action = m_in.byte();
            act(action);
            trace(action);
            checkBounds();
            retry();
        }
        // Last, always: the user reconnects and checks the line.
        reconnectAndCheck();
    }

private:
    ScriptedChannel& active() { return link->isSerial() ? serial : tcp; }

    int openResult()
    {
        const std::uint8_t b = m_in.byte();
        if (b < 0xF0)
            return 0;
        return link->isSerial() ? -6 : -4;  // device missing / connection refused
    }

    void connect(std::uint16_t protocol)
    {
        ConnectionSettings where;
        where.comprotocol = protocol;
        where.ipBuf = QStringLiteral("127.0.0.1");
        where.portNumStr = QStringLiteral("10001");
        link->Connect(where);
    }

    // The sensor's answer to one request, as the input chooses it.
    void answer(ScriptedChannel& c, const QByteArray& request)
    {
        const bool autoSend = request.size() >= 4
            && frame::getWord(reinterpret_cast<const std::uint8_t*>(request.constData()), 1) == frame::AutoSend;
        QByteArray reply = properReply(request);
        if (m_honest || m_in.empty()) {
            if (!autoSend)
                c.send({reply});
            return;
        }
        const std::uint8_t kind = m_in.byte();
        m_lastAnswer = kind % 10;
        switch (kind % 10) {
        case 0:  // whole
            if (!autoSend)
                c.send({reply});
            break;
        case 1: {  // in pieces, some turns apart
            const int pieces = 1 + m_in.byte() % 6;
            for (int i = 0; i < pieces && !reply.isEmpty(); ++i) {
                const int n = i + 1 == pieces ? int(reply.size()) : 1 + m_in.byte() % int(reply.size());
                c.send({reply.left(n), m_in.byte() % 4});
                reply.remove(0, n);
            }
            break;
        }
        case 2: {  // bytes changed
            const int changes = 1 + m_in.byte() % 3;
            for (int i = 0; i < changes; ++i)
                reply[m_in.byte() % frame::kBytes] = static_cast<char>(m_in.byte());
            c.send({reply});
            break;
        }
        case 3:  // cut short
            c.send({reply.left(m_in.byte() % frame::kBytes)});
            break;
        case 4:  // padded
            c.send({reply + m_in.bytes(m_in.byte() % 80)});
            break;
        case 5: {  // a flood of frames as automatic sending gives them, some out of step
            const int frames = 1 + m_in.byte() * 4;
            const std::uint8_t skew = m_in.byte();
            const QByteArray f = properReply(QByteArray::fromHex("00550005"));
            // Frames come in bursts of up to 64, as the network bundles them.
            QByteArray burst;
            for (int i = 0; i < frames; ++i) {
                if (skew && i % 97 == skew % 97)
                    burst += f.left(skew % frame::kBytes);
                burst += f;
                if (burst.size() >= 64 * frame::kBytes) {
                    c.send({burst});
                    burst.clear();
                }
            }
            c.send({burst});
            break;
        }
        case 6:  // silence
            break;
        case 7:  // too late: with the next request
            c.send({reply, 0, true});
            break;
        case 8:  // hangs up, after a part of the reply
            c.send({reply.left(m_in.byte() % frame::kBytes), m_in.byte() % 3});
            c.send({{}, 0, false, true});
            break;
        default:  // anything
            c.send({m_in.bytes(m_in.byte() % 64), m_in.byte() % 3});
            break;
        }
    }

    void act(std::uint8_t action)
    {
        m_stopWhenQuiet = false;
        switch (action % 12) {
        case 0: transfer->ReadMeasurement(); break;
        case 1: transfer->GetProfile(); break;
        case 2:
            params.target = (m_in.byte() & 1) ? EEPROM : RAM;
            params.evalmode = m_in.byte() % 3;
            paramTransfer->SendPara();
            break;
        case 3:
            params.target = (m_in.byte() & 1) ? EEPROM : RAM;
            paramTransfer->GetPara();
            break;
        case 4: exchange->CheckComLine(); break;
        case 5:  // the monitor
            automaticSending(flags.pollmonitor);
            break;
        case 6:  // the triggered recorder
            automaticSending(flags.pollrecord);
            break;
        case 7:  // GO: the live loop until STOP
            m_stopWhenQuiet = true;
            transfer->GetData();
            break;
        case 8: exchange->StopAutoSend(); break;
        case 9: connect((m_in.byte() & 1) ? TCPIP : RS232); break;
        case 10: {  // a calibration row: written count, then echo
            const std::array<std::uint16_t, frame::kCalibRowWords> row{};
            exchange->send({.code = frame::WriteCalibRow,
                            .arg = static_cast<std::uint16_t>(m_in.byte() % frame::kCalibRows),
                            .echoWords = 16,
                            .payload = row,
                            .checkWritten = true});
            break;
        }
        default:  // the user waits a little
            pump.processEvents();
            break;
        }
    }

    // Automatic sending on, frames taken until the user presses STOP, sending off.
    // The monitor and the triggered recorder read through the same reader.
    void automaticSending(std::uint16_t& loopFlag)
    {
        m_stopWhenQuiet = true;
        AutoFrameReader& reader = exchange->autoFrames();
        m_lastAnswer = -1;
        transfer->StartAutoSend();
        // A flood of one frame, some cut short: only that frame, whole, may be taken.
        const bool flood = m_lastAnswer == 5;
        const QByteArray sent = properReply(QByteArray::fromHex("00550005"));
        const auto whole = [&](const FrameWords& w) {
            for (int i = 0; i < frame::kWords; ++i)
                if (w[static_cast<size_t>(i)]
                    != frame::getWord(reinterpret_cast<const std::uint8_t*>(sent.constData()), i))
                    broken("a frame taken that the sensor never sent whole");
        };
        loopFlag = 1;
        while (loopFlag == 1) {
            if (reader.wait(loopFlag))
                m_frames += reader.takeAll([&](const FrameWords& w) {
                    if (flood)
                        whole(w);
                });
            if (reader.queued() > AutoFrameReader::kQueueFrames)
                broken("more frames queued than the reader's bound");
        }
        exchange->StopAutoSend();
    }

    // TARVO_FUZZ_TRACE=1 tells what each action came to, for reading an input.
    void trace(std::uint8_t action)
    {
        static const bool on = qEnvironmentVariableIntValue("TARVO_FUZZ_TRACE") == 1;
        if (!on)
            return;
        std::fprintf(stderr, "action %2d on %s: timeouts %d, line checks %d, frames %d, open %d, rx %d/%d%s\n",
                     action % 12, link->isSerial() ? "serial" : "tcp", host.timeouts, host.lineChecks, m_frames,
                     int(active().isOpen()), int(link->receiveState().bytesToRead), int(link->receiveState().dataSize),
                     link->receiveState().autoFrames ? " automatic frames" : "");
    }

    // The link may only ever read into the free part of its receive buffer.
    void checkRead(const std::uint8_t* data, std::int64_t max)
    {
        const std::uint8_t* begin = link->receiveState().szReadBuf.data();
        const std::uint8_t* end = begin + link->receiveState().szReadBuf.size();
        if (data >= begin && data < end && (max < 0 || max > end - data))
            broken("a read past the end of the receive buffer");
    }

    void checkBounds()
    {
        const ReceiveState& rx = link->receiveState();
        const int size = static_cast<int>(rx.szReadBuf.size());
        if (rx.dataSize < 0 || rx.dataSize > frame::kBytes || rx.bytesToRead < 0 || rx.bytesToRead > size)
            broken("receive counters outside the receive buffer");
        if (values.anzprof > kProfilePoints)
            broken("a profile count beyond the profile buffer");
        if (pump.depth() != 0)
            broken("a wait left running after the action");
        if (flags.poll || flags.pollrecord || flags.pollmonitor)
            broken("a loop flag left set after its loop ended");
        if (tcp.bytesAvailable() > tcp.capacity() || serial.bytesAvailable() > serial.capacity())
            broken("more bytes held than the channel's buffer");
        // Outside automatic reception, bytes that no exchange waits for (and
        // that no late reply may be among) are dropped.
        pump.processEvents();
        if (!link->isSerial() && !rx.autoFrames && !rx.waiting && !tcp.hasPending() && tcp.bytesAvailable() != 0)
            broken("stray bytes kept over TCP");
    }

    bool measurementWorks()
    {
        if (!transfer->ReadMeasurement())
            return false;
        for (int i = 2; i < 12; ++i)
            if (transfer->lastWords()[i] != measurementWord(i))
                broken("a measurement that is not the sensor's");
        return values.dataChRef == measurementWord(2) && values.dataPP == measurementWord(11);
    }

    // The sensor has said all it will say and now answers properly.
    void retry()
    {
        active().flushPending();
        m_honest = true;
        pump.processEvents();
        if (!active().isOpen())
            reconnectAndCheck();
        // A measurement that timed out is owed its reply: the next one's
        // is taken for it, which costs that request its own.
        else if (!measurementWorks() && !measurementWorks())
            broken("a measurement after the action failed on a working line");
        m_honest = false;
    }

    void reconnectAndCheck()
    {
        m_honest = true;
        active().flushPending();
        connect(link->connectionInUse().comprotocol);
        if (link->openResult() != 0)
            broken("reconnecting failed");
        const int before = host.lineChecks;
        exchange->CheckComLine();
        if (host.lineChecks != before + 1 || exchange->versionText() != QLatin1String(kIdentification))
            broken("the line check failed after reconnecting");
        if (!measurementWorks())
            broken("a measurement failed after reconnecting");
        m_honest = false;
    }

    Input& m_in;
    bool m_honest = false;
    bool m_stopWhenQuiet = false;
    int m_frames = 0;       // automatic frames taken
    int m_lastAnswer = -1;  // the kind of the last answer the input chose

public:
    EventPump pump;
    LoopFlags flags;
    ParameterSet params;
    MeasuredValues values;
    Host host;
    // Both lines hold back what the program has not read beyond its read buffer.
    ScriptedChannel serial{ScriptedChannel::Kind::Serial, kChannelReadBufferBytes};
    ScriptedChannel tcp{ScriptedChannel::Kind::Tcp, kChannelReadBufferBytes};
    std::unique_ptr<Link> link;
    std::unique_ptr<Exchange> exchange;
    std::unique_ptr<MeasurementTransfer> transfer;
    std::unique_ptr<ParamTransfer> paramTransfer;
    QTimer ticker;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    Input in{data, size};
    Harness harness(in);
    harness.run();
    return 0;
}
