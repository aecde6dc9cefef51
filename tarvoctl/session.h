// One conversation with the sensor for one tarvoctl command: the link, the
// exchange and the transfers of the programs, with a host that turns what the
// programs would show on their panels into the step and reason of a failure.
#pragma once

#include "autoframes.h"
#include "connection.h"
#include "eventlog.h"
#include "measurement.h"
#include "paramtransfer.h"
#include "settingsfiles.h"

#include <QString>
#include <functional>
#include <optional>

namespace tarvo::ctl {

// Exit codes; a command ended by a signal exits with interruptedExitCode().
enum Exit : int { Done = 0, SensorFailed = 1, BadUsage = 2, NotRead = 3 };

// Messages on standard error, prefixed with the program name; returns code.
int report(int code, const QString& text);

// The scope's saved connection (ComSettings.cfg where the scope keeps it,
// for a scope in programDir), or the scope's defaults (RS-232, port 1) when
// there is none.
ConnectionSettings savedConnection(const QString& programDir);

// Where the sensor is, and how to talk to it.
struct Target {
    ConnectionSettings link;
    QString traceFile;              // the frame trace (empty: none)
    std::optional<double> timeout;  // seconds for every reply, the identification's included
};

class Session final : public ParamTransferHost, public MeasurementHost {
public:
    // profile: the scope's exchange, or the tool's for the colour sensor.
    explicit Session(const Target& target, ProgramProfile profile = ProgramProfile::Scope);
    ~Session() override;

    // Opens the trace file, if one is asked for, and the channel, then runs
    // the line check (identification). The exit code when any of it fails.
    std::optional<int> begin();
    // A run again after a failure continues the trace file of the first.
    bool appendTrace = false;
    bool opened() const { return m_opened; }
    // The sensor as a person names it: "HOST:PORT", "serial port N (DEVICE)".
    QString where() const;

    // The first failure since the start: which step, and why. Later failures
    // of the same sequence follow from the first and are not kept.
    bool failed() const { return !m_failure.isEmpty(); }
    QString failure() const { return m_failure; }
    void fail(const QString& step, const QString& reason);
    // Reports the failure (or `otherwise` when none was recorded) and gives
    // its exit code; after an interruption only the code, end() says why.
    int failureExit(const QString& otherwise = QStringLiteral("the sensor did not answer as expected")) const;
    // The failure was written down and the command goes on (a retried value set).
    void forgetFailure() { m_failure.clear(); }
    // Names the step that runs now, for failures that the exchange reports.
    void setStep(const QString& step) { m_step = step; }

    // A reply to the frame just sent (as words) carries the sensor's header,
    // the command and, for a teach row, the row asked for; else the failure.
    bool acceptReply(const std::uint16_t* words);

    // Automatic sending (command 50) on, and off again with a short pause so
    // that the frame leaves before the link closes, also after an interruption.
    // With `take`, the frames already on their way are not flushed but handed
    // to it until the line has been quiet for a moment (2 s at most).
    void startAutoSend();
    bool stopAutoSend(const std::function<void(const FrameWords&)>& take = {});

    // Ctrl+C, SIGTERM or SIGHUP: every loop and wait ends at once; a second
    // signal ends the process.
    void interrupt(int signal);
    bool interrupted() const { return m_signal != 0; }
    // Waits work again for what must still be sent after an interruption.
    void resumeWaits() { pump.setWaitsCutShort(false); }
    // The command's exit code. After an interruption: automatic sending off,
    // "interrupted" on standard error and interruptedExitCode().
    int end(int code);

    // Whether running the command again on a new connection is safe.
    bool retryAllowed() const { return m_retryAllowed; }
    void forbidRetry() { m_retryAllowed = false; }

    // The connection to the sensor, and its parts by the names the commands use.
    Connection connection;
    EventPump& pump;
    LoopFlags& flags;
    ParameterSet& params;
    Link& link;
    Exchange& exchange;
    Reconnector& reconnect;
    MeasuredValues values;
    ParamTransfer transfer;
    MeasurementTransfer measurement;

    // --reconnect: a lost line is taken up again. The working set is read
    // once (to tell a reboot's changes later) and events go to standard
    // error and, when eventsBeside names a record file, to its events file.
    // False after a failure (reported). readWorkingSet: false when the
    // command has read it already.
    bool enableReconnect(const QString& eventsBeside, bool readWorkingSet = true);
    // The lines written (value sets published) so far, for the events.
    long linesWritten = 0;
    // The events file could not be written (reported); the command ends.
    bool eventsFailed() const { return m_eventsFailed; }
    // STOPPED with its reason, at the end of a command with --reconnect.
    void stopped(const QString& reason);

    // ParamTransferHost: there is no panel; the variables are the set.
    void GetPanelValues() override {}
    void ShowFetchedParameters() override {}
    // A reply that the scope would quietly ignore ends the fetch as a failure.
    bool ParameterReplyRead() override;
    // MeasurementHost: the commands print what they fetched themselves.
    void HideProfileGraph() override {}
    void SetPanelData() override {}
    void ShowGraph() override {}
    void ShowProfile() override {}

private:
    // What the connection tells: a failed opening, a closed connection and a
    // missing reply are the command's failure; the reconnection's events
    // and states go to standard error (and the events file).
    void openingFailed();
    void connectionClosed();
    void timeoutReaction();
    void linkEvent(LinkEvent event, const QString& reason);
    void retryState(const QString& text);
    void lineQuiet(const QString& text);

    // The step and the frame on its way, after the sensor's name unless the
    // reason names it already.
    QString currentStep(bool withWhere = true) const;
    QString replyFault() const;
    QString openingFault() const;
    void takeFramesOnTheirWay(bool wait, const std::function<void(const FrameWords&)>& take);

    Target m_target;
    QString m_step;
    QString m_failure;
    bool m_lineCheck = false;
    bool m_opened = false;
    bool m_autoSendOn = false;
    bool m_autoSendStopped = false;
    bool m_retryAllowed = true;
    int m_signal = 0;
    EventLog m_events;
    bool m_eventsFailed = false;
    QString m_lastState;
    bool m_quietWarned = false;  // the quiet-line warning is printed once per run
};

}  // namespace tarvo::ctl
