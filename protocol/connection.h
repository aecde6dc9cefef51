// The connection to the sensor, as each program owns it: the event pump, the
// loop flags, the parameter set, the link, the exchange and the
// reconnection, built in one place and wired to each other. Widget-free: the
// scope, the tool and tarvoctl each turn its notifications into what they
// show.
//
// The way up: where the protocol needs an answer from the program it asks a
// host interface; what it only tells comes out here as a signal, connected
// directly, so that a handler has run when the exchange goes on.
#pragma once

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "loopflags.h"
#include "parameterset.h"
#include "programprofile.h"
#include "reconnect.h"
#include "settingsfiles.h"
#include "transferkind.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace tarvo {

// How a program's connection behaves (connectionOptions()).
struct ConnectionOptions {
    // How the link opens and reports a failed opening.
    ProgramProfile linkProfile = ProgramProfile::Scope;
    ExchangeOptions exchange = exchangeOptions(ProgramProfile::Scope);
    // After a return the working set is read and compared (the colour sensor has none).
    bool readsWorkingSet = true;
    // Switching "Reconnect and resume" off gives a running recovery up; otherwise
    // it only ends the recovery of the idle program.
    bool switchOffGivesUp = true;
};
ConnectionOptions connectionOptions(ProgramProfile profile);

class Connection final : public QObject {
    Q_OBJECT
public:
    explicit Connection(const ConnectionOptions& options, QObject* parent = nullptr);
    ~Connection() override;

    EventPump& pump() { return m_pump; }
    LoopFlags& flags() { return m_flags; }
    ParameterSet& params() { return m_params; }
    Link& link() { return m_link; }
    Exchange& exchange() { return m_exchange; }
    Reconnector& reconnector() { return m_reconnect; }
    const Exchange& exchange() const { return m_exchange; }
    const Link& link() const { return m_link; }
    const ConnectionOptions& options() const { return m_options; }

    // Runs work as one transfer on the link (the exchange's guard). A
    // connection the user asks for ends the retrying of the old one.
    void transfer(TransferKind kind, const std::function<void()>& work);
    // "Reconnect and resume" and the line-check time, as the interface panel
    // shows them (also when read at start).
    void applyReconnectSettings(const ReconnectSettings& settings);

    // The program closes: the loops end, a recovery of the idle program ends,
    // transfers asked for are dropped, and nothing more is told that would
    // open a box or a panel (messages, timeouts, dropped transfers).
    void close();
    bool closed() const { return m_closed; }
    // Closes the channel in use, serial port and TCP connection alike.
    void closeChannel();

signals:
    // The status displays: an exchange's state, or why an opening failed.
    void status(const QString& text);
    void openingFailed(const QString& text);
    // A box for the user (the sensor closed the connection).
    void message(const QString& title, const QString& text);
    void waitCursor(bool on);
    // The timeout reaction of a request that got no usable reply.
    void timedOut();
    // The line check got the sensor's identification (passed), or, without
    // ExchangeOptions::lineCheckFailureIsTimeout, none (failed).
    void lineCheckPassed();
    void lineCheckFailed();
    // Transfers asked for during one that failed were dropped, not run
    // (their kinds, in the order asked for).
    void transfersDropped(const std::vector<TransferKind>& kinds);
    // The reconnection's events and states (ReconnectHost).
    void linkEvent(LinkEvent event, const QString& reason);
    void retryState(const QString& text);
    void lineQuiet(const QString& text);

private:
    // The protocol's host interfaces: each call is told on as the signal of its name.
    class Relay final : public LinkHost, public ExchangeHost, public ReconnectHost {
    public:
        explicit Relay(Connection& connection)
            : m_c(connection)
        {
        }
        // LinkHost
        void showLinkStatus(const QString& text) override;
        void message(const QString& title, const QString& text) override;
        void setWaitCursor(bool on) override;
        // ExchangeHost
        void showStatus(const QString& text) override;
        void timeoutReaction() override;
        void lineCheckPassed() override;
        void lineCheckFailed() override;
        void queuedTransfersDropped(const std::vector<TransferKind>& kinds) override;
        // ReconnectHost
        void linkEvent(LinkEvent event, const QString& reason) override;
        void retryState(const QString& text) override;
        void lineQuiet(const QString& text) override;

    private:
        Connection& m_c;
    };

    ConnectionOptions m_options;
    Relay m_relay{*this};
    EventPump m_pump;
    LoopFlags m_flags;
    ParameterSet m_params;
    Link m_link;
    Exchange m_exchange;
    Reconnector m_reconnect;
    bool m_closed = false;
};

}  // namespace tarvo
