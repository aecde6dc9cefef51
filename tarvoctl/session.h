// One conversation with the sensor for one tarvoctl command: the link, the
// exchange and the transfers of the programs, with a host that turns what the
// programs would show on their panels into the step and reason of a failure.
#pragma once

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "loopflags.h"
#include "measurement.h"
#include "parameterset.h"
#include "paramtransfer.h"
#include "settingsfiles.h"

#include <QString>
#include <optional>

namespace tarvo::ctl {

// Exit codes.
enum Exit : int { Done = 0, SensorFailed = 1, BadUsage = 2 };

// The scope's saved connection (ComSettings.cfg where the scope keeps it,
// for a scope in programDir), or the scope's defaults (RS-232, port 1) when
// there is none.
ConnectionSettings savedConnection(const QString& programDir);

class Session final : public LinkHost, public ExchangeHost, public ParamTransferHost, public MeasurementHost {
public:
    explicit Session(ExchangeOptions options = {});

    // Opens the channel and runs the line check (identification). False with
    // the failure recorded when either does not succeed.
    bool connect(const ConnectionSettings& where);

    // The first failure since the start: which step, and why. Later failures
    // of the same sequence follow from the first and are not kept.
    bool failed() const { return !m_failure.isEmpty(); }
    QString failure() const { return m_failure; }
    void fail(const QString& step, const QString& reason);
    // Names the step that runs now, for failures that the exchange reports.
    void setStep(const QString& step) { m_step = step; }

    // A reply to the frame just sent (as words) carries the sensor's header,
    // the command and, for a teach row, the row asked for; else the failure.
    bool acceptReply(const std::uint16_t* words);

    // Ctrl+C or SIGTERM: every loop ends at its next test.
    void interrupt();
    bool interrupted() const { return m_interrupted; }

    EventPump pump;
    LoopFlags flags;
    ParameterSet params;
    MeasuredValues values;
    Link link;
    Exchange exchange;
    ParamTransfer transfer;
    MeasurementTransfer measurement;

    // LinkHost
    void showLinkStatus(const QString& text) override;
    void message(const QString& title, const QString& text) override;
    // ExchangeHost
    void showStatus(const QString&) override {}
    void timeoutReaction() override;
    void lineCheckPassed() override {}
    void lineCheckFailed() override;
    // ParamTransferHost: there is no panel; the variables are the set.
    void GetPanelValues() override {}
    void ShowFetchedParameters() override {}
    // A reply that the scope would quietly ignore ends the fetch as a failure.
    void ParameterReplyRead() override;
    // MeasurementHost: the commands print what they fetched themselves.
    void HideProfileGraph() override {}
    void SetPanelData() override {}
    void ShowGraph() override {}
    void ShowProfile() override {}

private:
    QString currentStep() const;
    QString replyFault() const;

    ExchangeOptions m_options;
    QString m_step;
    QString m_failure;
    bool m_lineCheck = false;
    bool m_interrupted = false;
};

} // namespace tarvo::ctl
