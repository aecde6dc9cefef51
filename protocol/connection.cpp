#include "connection.h"

namespace tarvo {

ConnectionOptions connectionOptions(ProgramProfile profile)
{
    ConnectionOptions o;
    o.linkProfile = profile;
    o.exchange = exchangeOptions(profile);
    if (profile == ProgramProfile::ColourTool) {
        o.readsWorkingSet = false;
        o.switchOffGivesUp = false;
    }
    return o;
}

Connection::Connection(const ConnectionOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_link(m_pump, m_flags, m_relay, options.linkProfile)
    , m_exchange(m_link, m_pump, m_flags, m_params, m_relay, options.exchange)
    , m_reconnect(m_link, m_exchange, m_pump)
{
    m_reconnect.readsWorkingSet = options.readsWorkingSet;
    m_reconnect.setHost(&m_relay);
}

Connection::~Connection() = default;

void Connection::transfer(TransferKind kind, const std::function<void()>& work)
{
    if (kind == TransferKind::Connect)
        m_reconnect.endIdleRecovery();
    m_exchange.Transfer(kind, work);
}

void Connection::applyReconnectSettings(const ReconnectSettings& settings)
{
    m_reconnect.setEnabled(settings.enabled);
    m_reconnect.quietLimit = settings.quietSeconds;
    if (settings.enabled)
        return;
    if (m_options.switchOffGivesUp)
        m_reconnect.stopRetrying();
    else
        m_reconnect.endIdleRecovery();
}

void Connection::close()
{
    m_reconnect.endIdleRecovery();
    m_flags.clearAll();
    m_pump.poke();  // a recording waiting for its next interval ends now
    m_closed = true;
    m_exchange.DropQueuedTransfers();
}

void Connection::closeChannel()
{
    if (m_link.tcpConnected())
        m_link.DisconnectFromTCPServer();
    m_link.CloseCom();
}

void Connection::Relay::showLinkStatus(const QString& text)
{
    emit m_c.openingFailed(text);
}

void Connection::Relay::message(const QString& title, const QString& text)
{
    if (!m_c.m_closed)
        emit m_c.message(title, text);
}

void Connection::Relay::setWaitCursor(bool on)
{
    emit m_c.waitCursor(on);
}

void Connection::Relay::showStatus(const QString& text)
{
    emit m_c.status(text);
}

void Connection::Relay::timeoutReaction()
{
    // Nothing opens once the user has closed the program.
    if (!m_c.m_closed)
        emit m_c.timedOut();
}

void Connection::Relay::lineCheckPassed()
{
    emit m_c.lineCheckPassed();
}

void Connection::Relay::lineCheckFailed()
{
    emit m_c.lineCheckFailed();
}

void Connection::Relay::queuedTransfersDropped(const std::vector<TransferKind>& kinds)
{
    if (!m_c.m_closed)
        emit m_c.transfersDropped(kinds);
}

void Connection::Relay::linkEvent(LinkEvent event, const QString& reason)
{
    emit m_c.linkEvent(event, reason);
}

void Connection::Relay::retryState(const QString& text)
{
    emit m_c.retryState(text);
}

void Connection::Relay::lineQuiet(const QString& text)
{
    emit m_c.lineQuiet(text);
}

}  // namespace tarvo
