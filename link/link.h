// The link to the sensor: RS-232 port or TCP client, one of them in use.
//
// Holds the channel settings in use, opens and closes the channel, writes
// frames and collects reply bytes into the receive buffer that the waiting
// exchange reads.
#pragma once

#include "frametrace.h"
#include "loopflags.h"
#include "serialchannel.h"
#include "settingsfiles.h"
#include "tcpchannel.h"

#include <QString>
#include <array>
#include <cstdint>

namespace tarvo {

class EventPump;

// What the link shows to the user; the program implements it.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    // Status of a failed opening (the status displays).
    virtual void showLinkStatus(const QString& text) = 0;
    virtual void message(const QString& title, const QString& text) = 0;
    virtual void setWaitCursor(bool on) { (void)on; }
};

// Where the reply bytes of the running exchange land.
struct ReceiveState {
    std::array<std::uint8_t, 1024> szReadBuf{};
    std::int32_t dataSize = 0;     // bytes expected (TCP) or found queued (RS-232)
    std::int32_t bytesToRead = 0;  // bytes still missing; 0 = reply complete
    std::int32_t bytesRead = 0;    // result of the last TCP read
    // An exchange waits for its reply: TCP bytes land in szReadBuf. Bytes
    // that come while none waits are read and dropped.
    bool waiting = false;
    // Bytes an abandoned exchange was still waiting for: they may yet come
    // and must not be taken for a later reply.
    std::int32_t owed = 0;
    // While the sensor sends on its own, its bytes stay in the channel for
    // the automatic-frame reader.
    bool autoFrames = false;
};

// How the temperature-compensation tool's link differs from the scope's.
struct LinkOptions {
    bool serialOpenStopsLoops = true;  // opening the port ends the polling loops
    bool tcpFailureAsMessage = false;  // connect failure as a "TCP Client" box, not a status
};

enum : std::uint16_t { RS232 = 0, TCPIP = 1 };

class Link : public QObject {
    Q_OBJECT
public:
    Link(EventPump& pump, LoopFlags& flags, LinkHost& host, LinkOptions options = {}, QObject* parent = nullptr);

    // Channel settings in use. The programs change them only through
    // Connect; the low-level openings below use them as they stand.
    std::uint16_t comprotocol = RS232;
    std::uint16_t comport = 1;
    std::int16_t ret = 0;
    std::uint16_t tcpcon = 0;
    QString ipBuf;
    QString portNumStr;
    std::int32_t portNum = 0;
    QString szStatus;

    ReceiveState rx;
    // Every frame written and every byte received, with the exchanges' outcomes.
    FrameTrace trace;

    // A connection attempt, the one way the programs choose the channel in
    // use: the connection used so far ends (serial port and TCP conversation
    // alike, so no frame can reach a sensor that is no longer shown),
    // `settings` become the ones in use and their channel opens; result in
    // ret. After a failed opening no channel is open.
    void Connect(const ConnectionSettings& settings);
    ConnectionSettings connectionInUse() const { return {comprotocol, comport, ipBuf, portNumStr}; }

    // (Re)opens serial port `comport`; result in ret.
    void InitRS232();
    // (Re)connects to ipBuf:portNum; result in ret, state in tcpcon.
    void InitTCP_IP();
    void CloseCom();
    void DisconnectFromTCPServer();

    // The device that serial port `comport` opens, and why the last open failed.
    QString serialDevicePath() const { return m_serialPath; }
    QString serialSystemError() const { return m_serial.lastSystemError(); }
    bool serialPermissionDenied() const { return m_serial.lastErrorWasPermission(); }

    // Frame I/O on the channel chosen by comprotocol.
    std::int64_t write(const std::uint8_t* data, int n, int tcpTimeoutMs);
    std::int32_t GetInQLen() const;           // RS-232: bytes queued
    std::int32_t ComRd(std::int32_t n);       // RS-232: takes n queued bytes into rx.szReadBuf
    void FlushQueues();                       // RS-232 only; TCP has no queues
    // RS-232: blocks until `want` bytes are queued or more than `limit`
    // seconds have passed. No event loop runs; only the port's own reads are
    // dispatched, so no other callback can run meanwhile.
    void WaitInQWithoutEvents(std::int32_t want, double limit);
    bool isSerial() const { return comprotocol == RS232; }

    // Automatic sending on: the bytes stay in the channel for readAutoBytes
    // (older ones are dropped first). Off: whatever waits is dropped.
    void setAutoFrames(bool on);
    void EndAutoFrames() { setAutoFrames(false); }
    std::int64_t autoBytesAvailable() const;
    std::int64_t readAutoBytes(std::uint8_t* data, std::int64_t max);

    // Test seams: the channels in use, and other ones (an in-memory pipe) put
    // in place of the serial port and the TCP client. The link does not own
    // replacements; they must outlive it or be replaced again.
    ByteChannel& serialChannel() { return *m_serialChannel; }
    ByteChannel& tcpChannel() { return *m_tcpChannel; }
    void replaceChannels(ByteChannel& serial, ByteChannel& tcp);

private:
    // Trace hooks (linktrace.cpp).
    void traceOpening(bool serial);
    void traceFlushedInput();

    void ClientTCPDataReady();
    void ClientTCPDisconnected();
    void attachChannels();
    void dropTcpBytes();
    void dropped(std::int64_t n);

    EventPump& m_pump;
    LoopFlags& m_flags;
    LinkHost& m_host;
    LinkOptions m_options;
    SerialChannel m_serial;
    TcpChannel m_tcp;
    ByteChannel* m_serialChannel = &m_serial;
    ByteChannel* m_tcpChannel = &m_tcp;
    QString m_serialPath;
    std::array<std::uint8_t, 1024> m_scratch{};
};

} // namespace tarvo
