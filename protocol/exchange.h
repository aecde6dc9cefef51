// Command frames and the exchange with the sensor: one outstanding request,
// 36 bytes out, 36 bytes back within the time limit, or the timeout reaction.
#pragma once

#include "autoframes.h"
#include "frame.h"
#include "framescanner.h"
#include "loopflags.h"
#include "parameterset.h"
#include "programprofile.h"
#include "transferkind.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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
    virtual void queuedTransfersDropped(const std::vector<TransferKind>& kinds) { (void)kinds; }
};

// How the exchange behaves for a program (exchangeOptions()); tarvoctl
// changes the time limits.
struct ExchangeOptions {
    double replyLimit = 3.0;         // seconds for every reply but the line check's
    double lineCheckTcpLimit = 5.0;  // seconds for the identification over TCP
    // How long after giving up on a reply the exchange waits for it before
    // it writes a request whose reply could be taken for it. The reply is
    // still told apart when it comes later: the next one of its command is
    // taken as the owed one.
    double lateWindow = 1.0;
    // How the temperature-compensation tool's exchange differs:
    bool headerOnlyFrames = false;       // a request carries sync, code and argument only (bytes 0-5)
    bool lineCheckStopsAutoSend = true;  // command 50 and a pause before the identification
    // The pause after that command 50: frames already on their way arrive
    // and are flushed before the identification is asked.
    double lineCheckStopPause = 0.1;
    double lineCheckSerialLimit = 3.0;      // seconds for the identification over RS-232
    bool lineCheckSerialRunsEvents = true;  // false: the RS-232 wait runs no other callback
    bool lineCheckFailureIsTimeout = true;  // false: the host's lineCheckFailed() instead of SetPopupTimeout
};

// The scope's exchange, or the tool's: header-only frames, 2.0 s for an
// echo, the version query without the auto-send stop.
ExchangeOptions exchangeOptions(ProgramProfile profile);

// The word to the user about transfers dropped after a failed one; commands
// are the names of the buttons that asked for them.
QString notCarriedOutText(const QStringList& commands);

// The sensor's identification as it came: text up to the first zero byte.
using Identification = std::array<std::uint8_t, frame::kBytes>;
// The identification text: up to the first zero byte, at most 36 characters,
// control characters shown as '?'.
QString identificationText(const Identification& id);

// Why an exchange brought no usable reply.
enum class ExchangeFault {
    None,
    Refused,       // another request still waits for its reply: nothing was written
    NotWritten,    // the frame did not go out whole: no reply was awaited
    NoReply,       // no whole reply within the time limit
    EchoMismatch,  // the reply does not repeat the request's words
};

// The outcome of one request: the reply's words, or why there are none.
struct Reply {
    ExchangeFault fault = ExchangeFault::NoReply;
    FrameWords words{};  // the reply; meaningful only when fault is None
    explicit operator bool() const { return fault == ExchangeFault::None; }
};

// A request whose reply must repeat its first echoWords words.
struct CheckedSend {
    std::uint16_t code = 0;
    std::uint16_t arg = 0;
    int echoWords = 2;
    // Words 3 on of the frame, in place of what the command carries by
    // default (a calibration row, a block of factors).
    std::span<const std::uint16_t> payload{};
    // A frame not written whole fails at once, without waiting for a reply.
    bool checkWritten = false;
};

class Exchange {
public:
    Exchange(Link& link, EventPump& pump, LoopFlags& flags, ParameterSet& params, ExchangeHost& host,
             ExchangeOptions options = exchangeOptions(ProgramProfile::Scope));

    // --- One request at a time ------------------------------------------

    // Writes the request and waits for its echo. A failure (no reply, a
    // wrong echo, a frame not written whole) has shown the timeout reaction
    // by the time this returns; a refused request has not.
    Reply send(const CheckedSend& request);
    // Writes the request and waits for its reply. No reaction to a failure:
    // the caller decides. With keepReception, automatic reception goes on
    // around it: the bytes in hand stay, and frames of parts that come with
    // the reply go to the automatic-frame reader.
    Reply request(std::uint16_t code, std::uint16_t arg = 0, bool keepReception = false);
    // A request for parameter words (commands 3 and 4): the reply's words go
    // into into.pp[0..17] and its variables are unpacked from them. A reply
    // that does not come shows the timeout reaction.
    Reply fetchParameters(std::uint16_t code, std::uint16_t arg, ParameterSet& into);
    // Writes a frame that gets no reply; true when it went out whole.
    bool post(std::uint16_t code, std::uint16_t arg);
    // The frame of the last request built (the next one's bytes that its
    // command does not set stay as they were).
    std::span<const std::uint8_t, frame::kBytes> lastRequest() const
    {
        return std::span<const std::uint8_t, frame::kBytes>(szWriteBuf.data(), frame::kBytes);
    }
    // Builds a request's frame without sending it, and returns it.
    std::span<const std::uint8_t, frame::kBytes> compose(std::uint16_t code, std::uint16_t arg,
                                                         std::span<const std::uint16_t> payload = {});

    // The timeout reaction: polling loops end, status TIMEOUT, the host's panels.
    void SetPopupTimeout();
    // Automatic sending off (command 50 with 0), the automatic-frame reader
    // ended; true when the frame went out whole.
    bool StopAutoSend();
    // Automatic sending on (command 50 with 1): the automatic-frame reader
    // takes what the sensor then sends. No reply is awaited. A new reception
    // starts the reader afresh; one that goes on (after a line check or a
    // return) keeps its counts, and, while the reader still runs, the
    // frames it holds.
    void StartAutoSend(bool newReception = true);
    // The line check: the identification, shown, and the host told.
    void CheckComLine();
    // The line check's exchange alone (automatic sending off, then the
    // identification), with no reaction to its outcome: true when the
    // identification came; it then is the one versionText() shows. With
    // keepReception, automatic sending and reception go on as in request().
    bool QueryIdentification(bool keepReception = false);
    // As QueryIdentification, but the identification is only returned, not kept.
    std::optional<Identification> askIdentification(bool keepReception = false);

    // The sensor's working set (parameter words, then the teach rows' words)
    // as last read from it or sent to it in whole; none before the first.
    const std::optional<ParameterWords>& workingSet() const { return m_workingSet; }
    void setWorkingSet(const std::optional<ParameterWords>& words) { m_workingSet = words; }

    // The one guard every transfer passes: at most one request is outstanding
    // on the link. work (a whole transfer: a sequence of exchanges, a loop,
    // a reconnect) runs now when no transfer runs, or when it is called from
    // inside the running transfer itself. Asked for from a callback that
    // runs inside a wait of the running transfer (a button pressed during a
    // wait), it runs right after that transfer ends; a second request of the
    // same kind is not queued twice. When the running transfer fails (a
    // timeout, a line check without identification), what was queued behind
    // it is dropped and the host told, except the kinds that do not need the
    // failed line (survivesFailedTransfer()). True when work ran now.
    bool Transfer(TransferKind kind, std::function<void()> work);
    bool transferRunning() const { return m_transferDepth > 0; }
    // Transfers asked for but not yet run; dropped when the program closes.
    int queuedTransfers() const { return static_cast<int>(m_queued.size()); }
    void DropQueuedTransfers() { m_queued.clear(); }

    // The frames the sensor sends on its own (monitor, triggered recorder).
    AutoFrameReader& autoFrames() { return m_autoFrames; }

    // Seconds the line check waits for the identification on the channel in use.
    double lineCheckLimit() const;

    // The identification text of the sensor that answered the last line check.
    QString versionText() const { return identificationText(version); }
    std::int32_t bytesToRead() const;
    // How long the last wait for a reply took, in seconds.
    double lastWaitSeconds() const { return tdiff; }

    // Frames and runs of bytes passed over while a reply was awaited: replies
    // to other or earlier requests, frames the sensor sent on its own, junk.
    long strays() const { return m_strays; }

    // The last request's own frame came back instead of a reply: the line
    // echoes (a loop-back plug, a modem) and no sensor answers.
    bool loopedBack() const;

    // The time limits and behaviour in force. Tests shorten the limits with
    // setOptions(); a change applies from the next wait on.
    const ExchangeOptions& options() const { return m_options; }
    void setOptions(const ExchangeOptions& options) { m_options = options; }

private:
    // The old procedures, kept by their names; every caller goes through
    // the typed calls above.
    void FillTxBuf(std::uint16_t code, std::uint16_t arg);
    // Writes the 36 bytes at the start of szWriteBuf; the count goes to nBytesW.
    void WriteFrame(int tcpTimeoutMs = 2000);
    // Waits for the reply to the frame just written and compares its first
    // n words; true when they match. A failure shows the timeout reaction.
    bool CheckEcho(int n);
    // Write-count check, then CheckEcho(n): for commands 30 and 33.
    bool CheckWrittenThenEcho(int n);
    // A request for parameter words, unpacked into `into`.
    void Befehl3plus4(ParameterSet& into);
    // One request and its reply (see request()).
    void GetDataFrame(bool keepReception = false);
    void GetRxBufPara(ParameterSet& into);
    FrameWords GetRxBufData() const;
    // The outcome of the last wait: the reply's words when it came whole.
    Reply replyOfLastWait() const;

    // What a reply must name to answer a request: its command and, where the
    // reply repeats it, the row or block asked for (-1: not repeated).
    struct Request {
        std::uint16_t code = 0;
        int arg = -1;
    };
    // A request that got no reply in time (at `since`). Its reply is told
    // from later ones however late it comes; one that is not firm may
    // already have been paid by a reply taken as an earlier one's.
    struct Owed {
        Request request;
        double since = 0.0;
        bool firm = true;
    };
    // A reply that answers a request still owed one.
    bool owedReply(const std::uint8_t* reply) const;
    // Until when a request that the owed reply could be taken for waits for it.
    double holdOffEnd(const Owed& owed) const;
    static Request requestOf(const std::uint8_t* frame);
    static bool answers(const std::uint8_t* reply, const Request& request);
    // Before a request goes out: replies owed to earlier requests that its
    // own reply could be taken for are waited for (or their time runs out),
    // and what came before the request is passed over.
    void settleLine(const Request& next);
    void awaitReply(double limit, bool runEvents = true);
    // Reads what the channel holds into the scanner; the count read.
    int takeIn();
    // False when the wait was cut short as if its time had run out, or the
    // port can deliver nothing more.
    bool waitForBytes(double until, bool runEvents);
    // An item of the scanner that is not the reply awaited.
    void passOver(const FrameScanner::Item& item);
    void forgetOldLine();
    // A request would be written while another one waits for its reply.
    bool nestedRequest();

    std::uint16_t sync = frame::kSyncPc;
    std::uint16_t anzframe = frame::kWords;
    std::array<std::uint8_t, frame::kBufferBytes> szWriteBuf{};
    std::int64_t nBytesW = 0;
    double tstart = 0.0;
    double tdiff = 0.0;
    Identification version{};
    std::optional<ParameterWords> m_workingSet;

    Link& m_link;
    EventPump& m_pump;
    LoopFlags& m_flags;
    ParameterSet& m_params;
    ExchangeHost& m_host;
    ExchangeOptions m_options;

    struct QueuedTransfer {
        TransferKind kind;
        std::function<void()> work;
    };
    int m_transferDepth = 0;
    int m_transferPumpDepth = 0;    // event-pump depth at which the running transfer began
    bool m_transferFailed = false;  // the running transfer met a timeout or a failed line check
    std::vector<QueuedTransfer> m_queued;
    bool m_replyOutstanding = false;
    AutoFrameReader m_autoFrames;
    FrameScanner m_scanner;
    Request m_request;         // the last request written that awaits a reply
    std::vector<Owed> m_owed;  // oldest first
    std::uint64_t m_openings = 0;
    long m_strays = 0;
    double m_lateness = 0.0;   // how long after its request gave up the last late reply came
    bool m_lateTaken = false;  // this wait passed over a late reply of its own command
};

}  // namespace tarvo
