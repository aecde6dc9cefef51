// Command frames and the exchange with the sensor: one outstanding request,
// 36 bytes out, 36 bytes back within the time limit, or the timeout reaction.
#pragma once

#include "autoframes.h"
#include "frame.h"
#include "loopflags.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tarvo {

class EventPump;
class Link;
class ParameterSet;

// What an exchange shows; the program implements it.
class ExchangeHost {
public:
    virtual ~ExchangeHost() = default;
    // The status displays of the main and interface panels.
    virtual void showStatus(const QString& text) = 0;
    // The panel part of the timeout reaction: remember the interface panel's
    // values for Discard, dim Accept, show the interface panel.
    virtual void timeoutReaction() = 0;
    // The line check got the sensor's identification (already shown).
    virtual void lineCheckPassed() = 0;
    // The line check got no identification; only without lineCheckFailureIsTimeout.
    virtual void lineCheckFailed() {}
    // Transfers asked for during one that failed were dropped, not run: the
    // user is told which (their kinds, in the order asked for).
    virtual void queuedTransfersDropped(const QStringList& kinds) { (void)kinds; }
};

struct ExchangeOptions {
    double replyLimit = 3.0;         // seconds for every reply but the line check's
    double lineCheckTcpLimit = 5.0;  // seconds for the identification over TCP
    // How the temperature-compensation tool's exchange differs:
    bool headerOnlyFrames = false;         // FillTxBuf writes bytes 0-5 (sync, code, argument) only
    bool lineCheckStopsAutoSend = true;    // command 50 and a 0.1 s pause before the identification
    double lineCheckSerialLimit = 3.0;     // seconds for the identification over RS-232
    bool lineCheckSerialRunsEvents = true; // false: the RS-232 wait runs no other callback
    bool lineCheckFailureIsTimeout = true; // false: the host's lineCheckFailed() instead of SetPopupTimeout
};

// The word to the user about transfers dropped after a failed one; commands
// are the names of the buttons that asked for them.
QString notCarriedOutText(const QStringList& commands);

class Exchange {
public:
    Exchange(Link& link, EventPump& pump, LoopFlags& flags, ParameterSet& params, ExchangeHost& host,
             ExchangeOptions options = {});

    std::uint16_t sync = frame::kSyncPc;
    std::uint16_t order = 1;
    std::uint16_t anzframe = frame::kWords;
    std::array<std::uint8_t, frame::kBufferBytes> szWriteBuf{};
    std::array<std::uint16_t, frame::kWords> databuf{};
    std::array<std::uint16_t, 1001> biasBuf1001{};
    std::uint16_t comecho = 0;
    std::int64_t nBytesW = 0;
    double tstart = 0.0;
    double tdiff = 0.0;
    std::array<std::uint8_t, frame::kBytes> version{};

    void FillTxBuf(std::uint16_t code, std::uint16_t arg);
    // Writes the 36 bytes at the start of szWriteBuf; the count goes to nBytesW.
    void WriteFrame(int tcpTimeoutMs = 2000);
    // Waits for the reply to the frame just written and compares its first n words.
    void CheckEcho(int n);
    // Write-count check, then CheckEcho(n): for commands 30 and 33.
    void CheckWrittenThenEcho(int n);
    // Unpacks into `into` (default: the program's parameter set).
    void Befehl3plus4(ParameterSet* into = nullptr);
    void GetDataFrame();
    void GetRxBufPara(ParameterSet* into = nullptr);
    void GetRxBufData();
    void SetPopupTimeout();
    void StopAutoSend();
    void CheckComLine();

    // The one guard every transfer passes: at most one request is outstanding
    // on the link. work (a whole transfer: a sequence of exchanges, a loop,
    // a reconnect) runs now when no transfer runs, or when it is called from
    // inside the running transfer itself. Asked for from a callback that
    // runs inside a wait of the running transfer (a button pressed during a
    // wait), it runs right after that transfer ends; a second request of the
    // same kind is not queued twice. When the running transfer fails (a
    // timeout, a line check without identification), what was queued behind
    // it is dropped and the host told, except a connection attempt and
    // switching automatic sending off, which do not need the failed line.
    // True when work ran now.
    bool Transfer(const QString& kind, std::function<void()> work);
    bool transferRunning() const { return m_transferDepth > 0; }
    // Transfers asked for but not yet run; dropped when the program closes.
    int queuedTransfers() const { return static_cast<int>(m_queued.size()); }
    void DropQueuedTransfers() { m_queued.clear(); }

    // The frames the sensor sends on its own (monitor, triggered recorder).
    AutoFrameReader& autoFrames() { return m_autoFrames; }

    // The identification text: up to the first zero byte, at most 36 characters.
    QString versionText() const;
    std::int32_t bytesToRead() const;

private:
    // TCP: the reply bytes are awaited from now on.
    void expectReply();
    void awaitReply(double limit, bool runEvents = true);
    // The reply is complete or not, and what is still owed.
    void settleReply(int received, int owed);
    // A request would be written while another one waits for its reply.
    bool nestedRequest();

    Link& m_link;
    EventPump& m_pump;
    LoopFlags& m_flags;
    ParameterSet& m_params;
    ExchangeHost& m_host;
    ExchangeOptions m_options;

    struct QueuedTransfer {
        QString kind;
        std::function<void()> work;
    };
    int m_transferDepth = 0;
    int m_transferPumpDepth = 0;  // event-pump depth at which the running transfer began
    bool m_transferFailed = false;  // the running transfer met a timeout or a failed line check
    std::vector<QueuedTransfer> m_queued;
    bool m_replyOutstanding = false;
    AutoFrameReader m_autoFrames;
};

} // namespace tarvo
