// The link to the sensor: RS-232 port or TCP client, one of them in use.
//
// Holds the channel settings in use, opens and closes the channel, writes
// frames and collects reply bytes into the receive buffer that the waiting
// exchange reads.
#pragma once

#include "frametrace.h"
#include "loopflags.h"
#include "programprofile.h"
#include "serialchannel.h"
#include "settingsfiles.h"
#include "statustexts.h"
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

// Where the reply of the running exchange lands.
struct ReceiveState {
    std::array<std::uint8_t, 1024> szReadBuf{};
    std::int32_t dataSize = 0;     // bytes of the reply found (36 when complete)
    std::int32_t bytesToRead = 0;  // bytes still missing; 0 = reply complete
    std::int32_t bytesRead = 0;    // bytes the last wait took from the channel
    // An exchange reads the channel: its bytes stay there for the exchange.
    // Bytes that come over TCP while none reads are read and dropped.
    bool waiting = false;
    // While the sensor sends on its own, its bytes stay in the channel for
    // the automatic-frame reader.
    bool autoFrames = false;
    // The last wait got back the request it was sent instead of a reply.
    bool loopBack = false;
};

// How the link behaves for a program; the tool's differs from the scope's.
struct LinkOptions {
    bool serialOpenStopsLoops = true;  // opening the port ends the polling loops
    bool tcpFailureAsMessage = false;  // connect failure as a "TCP Client" box, not a status
};
LinkOptions linkOptions(ProgramProfile profile);

enum : std::uint16_t { RS232 = 0, TCPIP = 1 };

class Link : public QObject {
    Q_OBJECT
public:
    Link(EventPump& pump, LoopFlags& flags, LinkHost& host, ProgramProfile profile = ProgramProfile::Scope,
         QObject* parent = nullptr);

    // The channel settings in use and the outcome of their last opening:
    // 0, or the channel's negative error code (its name in statusText()).
    std::int16_t openResult() const { return ret; }
    QString statusText() const { return szStatus; }
    bool tcpConnected() const { return tcpcon != 0; }
    std::uint16_t serialPort() const { return comport; }
    std::int32_t tcpPort() const { return portNum; }

    // The running exchange's reply as it came (the exchange fills it).
    const ReceiveState& receiveState() const { return rx; }
    // Every frame written and every byte received, with the exchanges' outcomes.
    FrameTrace& trace() { return m_trace; }
    const FrameTrace& trace() const { return m_trace; }

    // The channel in use was closed by the sensor, failed a write or
    // vanished (a USB adapter pulled). Holds until the next opening; every
    // wait for the sensor ends on it at once.
    bool channelLost() const { return m_lost; }
    // How it was lost, in words for the user ("connection closed by the
    // sensor" …): English for files and events, or in the user's language.
    QString lostReason(Wording wording = Wording::English) const
    {
        return wording == Wording::English ? m_lostReason : m_lostReasonShown;
    }
    // Each successful or failed opening counts: what was owed on an earlier
    // line is owed no more.
    std::uint64_t openings() const { return m_openings; }

    // A connection attempt, the one way the programs choose the channel in
    // use: the connection used so far ends (serial port and TCP conversation
    // alike, so no frame can reach a sensor that is no longer shown),
    // `settings` become the ones in use and their channel opens; result in
    // ret. After a failed opening no channel is open.
    void Connect(const ConnectionSettings& settings);
    // A connection attempt of the automatic reconnection: as Connect, but a
    // failure is not shown (the reconnection tells its own state), the loops
    // that wait for the line go on, and a TCP connect is given up after 2 s. The serial device is the one opened
    // before, by its path, whatever port number now names it.
    void Reattach(const ConnectionSettings& settings);

    // A lost line is taken up again by the automatic reconnection: TCP
    // connections opened from now on use keep-alive, and a closed
    // connection is not announced in a box (the reconnection shows it).
    void setAutoReconnect(bool on);
    bool autoReconnect() const { return m_autoReconnect; }
    ConnectionSettings connectionInUse() const { return {comprotocol, comport, ipBuf, portNumStr, comdevice}; }

    // (Re)opens the serial port in use; result in openResult().
    void InitRS232();
    // (Re)connects to the server in use; result in openResult().
    void InitTCP_IP();
    void CloseCom();
    void DisconnectFromTCPServer();

    // The device that serial port `comport` opens, and why the last open failed.
    QString serialDevicePath() const { return m_serialPath; }
    QString serialSystemError() const { return m_serial.lastSystemError(); }
    bool serialPermissionDenied() const { return m_serial.lastErrorWasPermission(); }
    bool serialInUse() const { return m_serial.lastErrorWasInUse(); }

    // Frame I/O on the channel chosen by comprotocol.
    std::int64_t write(const std::uint8_t* data, int n, int tcpTimeoutMs);
    std::int32_t GetInQLen() const;  // RS-232: bytes queued
    void FlushQueues();              // RS-232 only; TCP has no queues
    // RS-232: blocks until `want` bytes are queued or more than `limit`
    // seconds have passed. No event loop runs; only the port's own reads are
    // dispatched, so no other callback can run meanwhile. False when the
    // time ran out or the port can deliver nothing more.
    bool WaitInQWithoutEvents(std::int32_t want, double limit);
    bool isSerial() const { return comprotocol == RS232; }

    // Automatic sending on: the bytes stay in the channel for readBytes
    // (older ones are dropped first, unless the line is new and every byte
    // on it belongs to the sending). Off: whatever waits is dropped.
    void setAutoFrames(bool on, bool dropWaiting = true);
    void EndAutoFrames() { setAutoFrames(false); }
    // The bytes that came in on the channel in use, for the reader of the
    // moment (a waiting exchange, the automatic-frame reader).
    std::int64_t bytesAvailable() const;
    std::int64_t readBytes(std::uint8_t* data, std::int64_t max);

    // Test seams: the channels in use, and other ones (an in-memory pipe) put
    // in place of the serial port and the TCP client. The link does not own
    // replacements; they must outlive it or be replaced again.
    ByteChannel& serialChannel() { return *m_serialChannel; }
    ByteChannel& tcpChannel() { return *m_tcpChannel; }
    void replaceChannels(ByteChannel& serial, ByteChannel& tcp);

signals:
    // channelLost() became true.
    void connectionLost();

private:
    // The exchange owns the reply's state: it fills rx while it waits.
    friend class Exchange;

    // Trace hooks (linktrace.cpp).
    void traceOpening(bool serial);
    void traceFlushedInput();

    void ClientTCPDataReady();
    void ClientTCPDisconnected();
    void SerialVanished();
    // `reason`, marked for the translation; its %1, if it has one, takes `arg`.
    void lose(const char* reason, const QString& arg = QString());
    void opening();
    void attachChannels();
    // Reads what the channel holds and throws it away (traced).
    void dropBytes(ByteChannel& channel);

    // Channel settings in use. The programs change them only through
    // Connect; the low-level openings use them as they stand.
    std::uint16_t comprotocol = RS232;
    std::uint16_t comport = 1;
    // A device path given for this run: opened instead of port `comport`'s device.
    QString comdevice;
    std::int16_t ret = 0;
    std::uint16_t tcpcon = 0;
    QString ipBuf;
    QString portNumStr;
    std::int32_t portNum = 0;
    QString szStatus;
    ReceiveState rx;
    FrameTrace m_trace;

    EventPump& m_pump;
    LoopFlags& m_flags;
    LinkHost& m_host;
    LinkOptions m_options;
    SerialChannel m_serial;
    TcpChannel m_tcp;
    ByteChannel* m_serialChannel = &m_serial;
    ByteChannel* m_tcpChannel = &m_tcp;
    QString m_serialPath;
    bool m_lost = false;
    QString m_lostReason;
    QString m_lostReasonShown;
    bool m_reattaching = false;  // a reattachment: failures are not shown, loops go on
    bool m_autoReconnect = false;
    int m_connectTimeoutMs = 5000;
    std::uint64_t m_openings = 0;
    std::array<std::uint8_t, 1024> m_scratch{};
};

}  // namespace tarvo
