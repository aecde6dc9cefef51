#include "measurement.h"

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "loopflags.h"
#include "precisetimer.h"
#include "reconnect.h"

#include <QDateTime>
#include <algorithm>

namespace tarvo {

namespace {
constexpr int kLoopPauseMs = 25;     // between a live reply and the next request
constexpr double kPauseLimit = 1.0;  // seconds; the pause's timer ends the wait long before
}

void MeasuredValues::CopyDatatoVars(const DataWords& databuf)
{
    using namespace frame::measurement;
    dataChRef = databuf[ChRef];
    dataChDir = databuf[ChDir];
    dataChDif = databuf[ChDif];
    dataNorm = databuf[Norm];
    dataInt = databuf[Int];
    dataGf = databuf[Gf];
    dataVec = databuf[Vec];
    dataTemp = databuf[Temp];
    dataGfRaw = databuf[GfRaw];
    dataPP = databuf[PP];
    dataGfDouble = dataGf / 10.0;
    dataGfRawDouble = dataGfRaw / 10.0;
    dataPPDouble = dataPP / 10.0;
    receivedMs = QDateTime::currentMSecsSinceEpoch();
}

void MeasuredValues::StoreProfileBlock(int k, const DataWords& databuf)
{
    if (k >= 0 && k < kProfileBlocks - 1) {
        for (int j = 0; j < kProfileBlockPoints; ++j)
            profileBuf[kProfileBlockPoints * k + j] = databuf[2 + j] / 10.0;
    } else if (k == kProfileBlocks - 1) {
        const int first = kProfileBlockPoints * k;  // 144
        for (int j = 0; first + j < kProfilePoints; ++j)
            profileBuf[first + j] = databuf[2 + j] / 10.0;
        maxprof = databuf[8];
        minprof = databuf[9];
        // The count comes from the sensor; a reader must never go past the buffer.
        anzprof = std::min<std::uint16_t>(databuf[10], kProfilePoints);
    }
    if (k >= 0 && k < kProfileBlocks)
        profileReceivedMs = QDateTime::currentMSecsSinceEpoch();
}

MeasurementTransfer::MeasurementTransfer(Exchange& exchange, Link& link, EventPump& pump, LoopFlags& flags,
                                         MeasuredValues& values, MeasurementHost& host)
    : m_ex(exchange)
    , m_link(link)
    , m_pump(pump)
    , m_flags(flags)
    , m_values(values)
    , m_host(host)
{
}

bool MeasurementTransfer::ReadMeasurement()
{
    const Reply reply = m_ex.request(frame::ReadMeasurement);
    if (!reply)
        return false;
    m_lastWords = reply.words;  // the header word is not checked here
    m_values.CopyDatatoVars(m_lastWords);
    return true;
}

void MeasurementTransfer::StartAutoSend()
{
    m_ex.StartAutoSend();
}

void MeasurementTransfer::GetData()
{
    m_running = true;
    m_host.HideProfileGraph();
    m_link.FlushQueues();
    // The pause between two requests starts when a reply is in, and the
    // displays and other events run inside it: nothing but the exchange and
    // the pause itself delays the next request.
    PreciseTimer pause;
    QObject::connect(&pause, &PreciseTimer::timeout, &m_pump, &EventPump::poke);
    m_flags.poll = 1;
    if (m_reconnect)
        m_reconnect->begin();
    while (m_flags.poll == 1) {
        const bool complete = ReadMeasurement();
        const auto polled = m_reconnect ? m_reconnect->afterRequest(complete, m_flags.poll, false)
            : complete                  ? Reconnector::Polled::Value
                                        : Reconnector::Polled::Failed;
        pause.start(std::chrono::milliseconds(kLoopPauseMs));
        if (polled == Reconnector::Polled::Value) {
            m_host.SetPanelData();
            m_host.ShowGraph();
        } else if (polled == Reconnector::Polled::Failed) {
            m_ex.SetPopupTimeout();  // clears poll
        }
        m_pump.processEvents();
        m_pump.waitFor(kPauseLimit, [&pause] { return !pause.isActive(); });
    }
    m_running = false;
}

void MeasurementTransfer::GetProfile()
{
    m_flags.poll = 0;
    m_link.FlushQueues();
    for (int k = 0; k < kProfileBlocks; ++k) {
        if (const Reply reply = m_ex.request(frame::ReadProfileBlock, static_cast<std::uint16_t>(k))) {
            m_values.StoreProfileBlock(k, reply.words);
        } else {
            // The block keeps the points of the profile before; go on.
            m_ex.SetPopupTimeout();
        }
        m_pump.processEvents();
    }
    m_host.ShowProfile();
    if (ReadMeasurement())
        m_host.SetPanelData();
    else
        m_ex.SetPopupTimeout();
}

}  // namespace tarvo
