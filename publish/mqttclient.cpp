#include "mqttclient.h"

#include <QFile>
#include <QMetaObject>

#include <mosquitto.h>
#include <mqtt_protocol.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace tarvo::publish {

namespace {

constexpr double kFirstRetry = 0.25;  // seconds after a failure, doubled up to kMaxRetry
constexpr double kMaxRetry = 2.0;
constexpr double kAnswerLimit = 10.0;  // seconds for a broker to answer a connection attempt
constexpr int kLoopWaitMs = 250;       // the network loop looks at its stop flags this often
constexpr int kTimedOut = -1000;       // our own code: the attempt got no answer in time

// libmosquitto is set up once per process, before the first client.
void initLibrary()
{
    static const int once = mosquitto_lib_init();
    (void)once;
}

double secondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// A file libmosquitto will read, checked here so that a wrong path gets its
// real reason instead of libmosquitto's "invalid arguments".
bool readable(const QString& option, const QString& path, QString* error)
{
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        return true;
    *error = QStringLiteral("%1 %2: %3").arg(option, path, f.errorString());
    return false;
}

// The words for a reason code of MQTT 5 (or a CONNACK code of 3.1.1, which
// a broker that turned MQTT 5 away gives).
QString reasonText(int rc, bool v5)
{
    if (!v5) {
        switch (rc) {
        case CONNACK_REFUSED_IDENTIFIER_REJECTED: rc = MQTT_RC_CLIENTID_NOT_VALID; break;
        case CONNACK_REFUSED_SERVER_UNAVAILABLE: rc = MQTT_RC_SERVER_UNAVAILABLE; break;
        case CONNACK_REFUSED_BAD_USERNAME_PASSWORD: rc = MQTT_RC_BAD_USERNAME_OR_PASSWORD; break;
        case CONNACK_REFUSED_NOT_AUTHORIZED: rc = MQTT_RC_NOT_AUTHORIZED; break;
        default: return QString::fromUtf8(mosquitto_connack_string(rc));
        }
    }
    switch (rc) {
    case MQTT_RC_NOT_AUTHORIZED: return QStringLiteral("not authorised");
    case MQTT_RC_BAD_USERNAME_OR_PASSWORD: return QStringLiteral("bad user name or password");
    case MQTT_RC_CLIENTID_NOT_VALID: return QStringLiteral("the client id is not valid");
    case MQTT_RC_BANNED: return QStringLiteral("banned");
    case MQTT_RC_QUOTA_EXCEEDED: return QStringLiteral("quota exceeded");
    case MQTT_RC_TOPIC_NAME_INVALID: return QStringLiteral("the topic name is not valid");
    default: break;
    }
    return QStringLiteral("%1 (reason code %2)").arg(QString::fromUtf8(mosquitto_reason_string(rc)).toLower()).arg(rc);
}

// The will's own copy of the run's properties (libmosquitto takes it).
mosquitto_property* willProperties(const BrokerOptions& options)
{
    mosquitto_property* p = nullptr;
    mosquitto_property_add_string_pair(&p, MQTT_PROP_USER_PROPERTY, "run", options.run.toUtf8().constData());
    mosquitto_property_add_string_pair(&p, MQTT_PROP_USER_PROPERTY, "since",
                                       QByteArray::number(options.since).constData());
    return p;
}

// A user property of a message, or empty.
QByteArray userProperty(const mosquitto_property* props, const char* wanted)
{
    char* name = nullptr;
    char* value = nullptr;
    QByteArray out;
    for (const mosquitto_property* p = props; p;) {
        p = mosquitto_property_read_string_pair(p, MQTT_PROP_USER_PROPERTY, &name, &value, false);
        if (p && name && value && std::strcmp(name, wanted) == 0)
            out = value;
        std::free(name);
        std::free(value);
        name = value = nullptr;
        if (!out.isEmpty() || !p)
            break;
        p = mosquitto_property_next(p);
    }
    return out;
}

// A CONNACK code that says the broker is busy or going away: an outage to
// ride out, not a refusal of us.
bool isBusy(int rc, bool v5)
{
    if (!v5)
        return rc == CONNACK_REFUSED_SERVER_UNAVAILABLE;
    return rc == MQTT_RC_SERVER_UNAVAILABLE || rc == MQTT_RC_SERVER_BUSY || rc == MQTT_RC_CONNECTION_RATE_EXCEEDED
        || rc == MQTT_RC_SERVER_SHUTTING_DOWN;
}

}  // namespace

MqttClient::MqttClient(QObject* parent)
    : QObject(parent)
{
    initLibrary();
}

MqttClient::~MqttClient()
{
    stopThread();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
    mosquitto_property_free_all(&m_statusProperties);
}

QString MqttClient::where() const
{
    return QStringLiteral("%1:%2").arg(m_options.host, QString::number(m_options.port));
}

bool MqttClient::configure(const BrokerOptions& options, QString* error)
{
    m_options = options;
    // A clean session: the broker keeps nothing for us between connections;
    // messages not yet acknowledged are ours to send again.
    m_mosq = mosquitto_new(options.clientId.toUtf8().constData(), true, this);
    if (!m_mosq) {
        *error
            = QStringLiteral("the MQTT client cannot be created: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    mosquitto_threaded_set(m_mosq, true);
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    mosquitto_int_option(m_mosq, MOSQ_OPT_SEND_MAXIMUM, kInflight);
    // Small messages leave at once instead of waiting for the last one's ACK.
    mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_connect_v5_callback_set(m_mosq, &MqttClient::onConnect);
    mosquitto_disconnect_v5_callback_set(m_mosq, &MqttClient::onDisconnect);
    mosquitto_publish_v5_callback_set(m_mosq, &MqttClient::onPublish);
    mosquitto_subscribe_v5_callback_set(m_mosq, &MqttClient::onSubscribe);
    mosquitto_message_v5_callback_set(m_mosq, &MqttClient::onMessage);
    mosquitto_property_add_string_pair(&m_statusProperties, MQTT_PROP_USER_PROPERTY, "run",
                                       options.run.toUtf8().constData());
    mosquitto_property_add_string_pair(&m_statusProperties, MQTT_PROP_USER_PROPERTY, "since",
                                       QByteArray::number(options.since).constData());
    mosquitto_log_callback_set(m_mosq, &MqttClient::onLog);

    if (!options.username.isEmpty()
        && mosquitto_username_pw_set(m_mosq, options.username.toUtf8().constData(),
                                     options.password.isEmpty() ? nullptr : options.password.toUtf8().constData())
            != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("the user name or password cannot be used");
        return false;
    }
    if (!options.willTopic.isEmpty()
        && mosquitto_will_set_v5(m_mosq, options.willTopic.constData(), static_cast<int>(options.willPayload.size()),
                                 options.willPayload.constData(), 1, true, willProperties(options))
            != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("the topic %1 cannot be used").arg(QString::fromUtf8(options.willTopic));
        return false;
    }
    if (!options.tls)
        return true;
    if (options.cafile.isEmpty()) {
        if (mosquitto_int_option(m_mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1) == MOSQ_ERR_SUCCESS)
            return true;
        *error = QStringLiteral("this libmosquitto cannot use the system's certificates: give --cafile");
        return false;
    }
    if (!readable(QStringLiteral("--cafile"), options.cafile, error)
        || (!options.certfile.isEmpty() && !readable(QStringLiteral("--cert"), options.certfile, error))
        || (!options.keyfile.isEmpty() && !readable(QStringLiteral("--key"), options.keyfile, error)))
        return false;
    const QByteArray ca = QFile::encodeName(options.cafile);
    const QByteArray cert = QFile::encodeName(options.certfile);
    const QByteArray key = QFile::encodeName(options.keyfile);
    const int rc = mosquitto_tls_set(m_mosq, ca.constData(), nullptr, cert.isEmpty() ? nullptr : cert.constData(),
                                     key.isEmpty() ? nullptr : key.constData(), nullptr);
    if (rc != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("the TLS files cannot be used: %1").arg(QString::fromUtf8(mosquitto_strerror(rc)));
        return false;
    }
    return true;
}

void MqttClient::start()
{
    if (m_mosq && !m_thread.joinable())
        m_thread = std::thread([this] { networkLoop(); });
}

int MqttClient::publish(const QByteArray& topic, const QByteArray& payload, bool retain)
{
    int mid = 0;
    // Retained messages are the status and info: they say whose they are.
    const int rc = mosquitto_publish_v5(m_mosq, &mid, topic.constData(), static_cast<int>(payload.size()),
                                        payload.constData(), 1, retain, retain && m_v5 ? m_statusProperties : nullptr);
    return rc == MOSQ_ERR_SUCCESS ? mid : 0;
}

void MqttClient::disconnectAndStop(double limit)
{
    if (!m_thread.joinable())
        return;
    m_leaving = true;
    mosquitto_disconnect(m_mosq);
    m_wake.notify_all();
    {
        std::unique_lock lock(m_wakeMutex);
        m_wake.wait_for(lock, std::chrono::duration<double>(limit), [this] { return !m_connected; });
    }
    stopThread();
}

void MqttClient::stopThread()
{
    m_stop = true;
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    m_connected = false;
}

// ----------------------------------------------------------- network thread

void MqttClient::networkLoop()
{
    const QByteArray host = m_options.host.toUtf8();
    errno = 0;
    int rc = mosquitto_connect_async(m_mosq, host.constData(), m_options.port, m_options.keepaliveSeconds);
    int savedErrno = errno;
    auto attemptStart = std::chrono::steady_clock::now();
    double delay = kFirstRetry;
    while (!m_stop && !m_leaving) {
        if (rc == MOSQ_ERR_SUCCESS) {
            errno = 0;
            rc = mosquitto_loop(m_mosq, kLoopWaitMs, 1);
            savedErrno = errno;
            if (rc == MOSQ_ERR_SUCCESS) {
                if (m_answered || secondsSince(attemptStart) <= kAnswerLimit)
                    continue;
                rc = kTimedOut;
            }
        }
        if (m_stop || m_leaving)
            break;

        const bool wasConnected = m_connected.exchange(false);
        m_wake.notify_all();
        const int disconnectReason = std::exchange(m_disconnectReason, 0);
        bool atOnce = std::exchange(m_retryAtOnce, false);
        if (!m_refusal.isEmpty()) {
            // The run ends: trying again would not mend it, and with our
            // name in use it would take the session from the one there.
            report(m_inUse ? Failure::InUse : Failure::Refused, m_refusal);
            break;
        }
        if (atOnce) {
            // MQTT 3.1.1 next, at once
        } else if (wasConnected && (disconnectReason == MQTT_RC_NOT_AUTHORIZED || disconnectReason == MQTT_RC_BANNED)) {
            report(Failure::Refused,
                   QStringLiteral("the broker ended the connection: %1").arg(reasonText(disconnectReason, true)));
        } else if (wasConnected && disconnectReason >= MQTT_RC_UNSPECIFIED) {
            report(Failure::Lost,
                   QStringLiteral("the broker ended the connection: %1").arg(reasonText(disconnectReason, true)));
        } else if (wasConnected)
            report(Failure::Lost, reasonFor(rc, savedErrno));
        else if (!m_wasConnected && (rc == MOSQ_ERR_TLS || rc == MOSQ_ERR_TLS_HANDSHAKE || rc == MOSQ_ERR_CONN_LOST))
            report(Failure::Refused, reasonFor(rc, savedErrno));  // a set-up that does not fit; after a first
                                                                  // connection, an outage of a broker restarting
        else
            report(Failure::Unreachable, reasonFor(rc, savedErrno));
        if (wasConnected)
            delay = kFirstRetry;
        if (!atOnce) {
            pauseBeforeRetry(delay);
            delay = std::min(delay * 2, kMaxRetry);
        }
        if (m_stop || m_leaving)
            break;

        m_answered = false;
        m_refusal.clear();
        {
            std::lock_guard lock(m_wakeMutex);
            m_lastError.clear();
        }
        errno = 0;
        rc = mosquitto_reconnect_async(m_mosq);
        savedErrno = errno;
        attemptStart = std::chrono::steady_clock::now();
    }
    m_connected = false;
    m_wake.notify_all();
}

QString MqttClient::reasonFor(int rc, int savedErrno)
{
    QString lastError;
    {
        std::lock_guard lock(m_wakeMutex);
        lastError = m_lastError;
    }
    switch (rc) {
    case kTimedOut: return QStringLiteral("no answer within %1 s").arg(kAnswerLimit, 0, 'f', 0);
    case MOSQ_ERR_ERRNO:
        if (savedErrno != 0)
            return QString::fromLocal8Bit(std::strerror(savedErrno));
        break;
    case MOSQ_ERR_EAI: return QStringLiteral("the name %1 cannot be resolved").arg(m_options.host);
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_TLS_HANDSHAKE:
        return QStringLiteral("TLS failed: %1")
            .arg(lastError.isEmpty() ? QString::fromUtf8(mosquitto_strerror(rc)) : lastError);
    case MOSQ_ERR_CONN_LOST:
        return m_answered ? QStringLiteral("the connection was lost")
                          : QStringLiteral("the broker closed the connection without answering (does it want --tls?)");
    case MOSQ_ERR_KEEPALIVE: return QStringLiteral("the broker stopped answering");
    default: break;
    }
    return QString::fromUtf8(mosquitto_strerror(rc));
}

void MqttClient::report(Failure kind, const QString& reason)
{
    QMetaObject::invokeMethod(
        this, [this, kind, reason] { emit failed(kind, reason); }, Qt::QueuedConnection);
}

void MqttClient::pauseBeforeRetry(double seconds)
{
    std::unique_lock lock(m_wakeMutex);
    m_wake.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return m_stop || m_leaving; });
}

void MqttClient::onConnect(mosquitto* mosq, void* self, int rc, int flags, const mosquitto_property*)
{
    auto* c = static_cast<MqttClient*>(self);
    c->m_answered = true;
    if (c->m_v5 && (rc == MQTT_RC_UNSUPPORTED_PROTOCOL_VERSION || rc == CONNACK_REFUSED_PROTOCOL_VERSION)) {
        // A broker of MQTT 3.1.1: spoken to in its version from now on.
        c->m_v5 = false;
        mosquitto_int_option(mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
        c->m_retryAtOnce = true;
        QMetaObject::invokeMethod(
            c, [c] { emit c->downgraded(); }, Qt::QueuedConnection);
        return;
    }
    if (isBusy(rc, c->m_v5))
        return;  // the loop reports an outage and tries again
    if (rc != 0) {
        const QString why = reasonText(rc, c->m_v5);
        c->m_refusal = c->m_options.username.isEmpty()
            ? QStringLiteral("the broker refused the connection: %1").arg(why)
            : QStringLiteral("the broker refused user %1: %2").arg(c->m_options.username, why);
        return;
    }
    (void)flags;
    c->m_watched = false;
    if (!c->m_v5 || c->m_options.willTopic.isEmpty()) {
        c->accepted();
        return;
    }
    // The status topic's retained message first; the second SUBACK comes after it.
    const QByteArray topic = c->m_options.willTopic;
    mosquitto_subscribe_v5(mosq, nullptr, topic.constData(), 1, MQTT_SUB_OPT_NO_LOCAL, nullptr);
    mosquitto_subscribe_v5(mosq, &c->m_watchMid, topic.constData(), 1,
                           MQTT_SUB_OPT_NO_LOCAL | MQTT_SUB_OPT_SEND_RETAIN_NEVER, nullptr);
}

void MqttClient::accepted()
{
    m_watched = true;
    m_wasConnected = true;
    m_connected = true;
    QMetaObject::invokeMethod(
        this, [this] { emit connected(); }, Qt::QueuedConnection);
}

void MqttClient::inUse(const QString& otherRun)
{
    m_inUse = true;
    m_refusal = QStringLiteral("another publisher (run %1) publishes under this name").arg(otherRun);
    mosquitto_disconnect(m_mosq);
}

void MqttClient::onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted, const mosquitto_property*)
{
    auto* c = static_cast<MqttClient*>(self);
    if (mid != c->m_watchMid || c->m_watched || c->m_inUse)
        return;
    if (count > 0 && granted[0] >= MQTT_RC_UNSPECIFIED) {
        const QString why = QStringLiteral("the broker does not let us read %1 (%2): a second publisher under this "
                                           "name cannot be seen")
                                .arg(QString::fromUtf8(c->m_options.willTopic), reasonText(granted[0], true));
        QMetaObject::invokeMethod(
            c, [c, why] { emit c->unwatched(why); }, Qt::QueuedConnection);
    }
    c->accepted();
}

void MqttClient::onMessage(mosquitto*, void* self, const mosquitto_message* m, const mosquitto_property* props)
{
    auto* c = static_cast<MqttClient*>(self);
    if (!m || !m->topic || c->m_inUse || c->m_options.willTopic != m->topic)
        return;
    const QByteArray payload(static_cast<const char*>(m->payload), m->payloadlen);
    const QString run = QString::fromUtf8(userProperty(props, "run"));
    if (payload != "online" || run.isEmpty() || run == c->m_options.run)
        return;
    // Before our first "online" any other run's is the one that was there;
    // after it, of two that started together the later one leaves.
    bool ok = false;
    const qint64 since = userProperty(props, "since").toLongLong(&ok);
    const bool otherFirst = !ok || since < c->m_options.since
        || (since == c->m_options.since && run < c->m_options.run);
    if (!c->m_wasConnected || otherFirst)
        c->inUse(run);
}

void MqttClient::onDisconnect(mosquitto*, void* self, int rc, const mosquitto_property*)
{
    // The network loop sees the end of the connection and reports it; a
    // reason code from the broker's DISCONNECT goes with it.
    auto* c = static_cast<MqttClient*>(self);
    if (rc >= MQTT_RC_UNSPECIFIED)
        c->m_disconnectReason = rc;
}

void MqttClient::onPublish(mosquitto*, void* self, int mid, int rc, const mosquitto_property*)
{
    auto* c = static_cast<MqttClient*>(self);
    if (rc >= MQTT_RC_UNSPECIFIED) {
        const QString why = reasonText(rc, true);
        QMetaObject::invokeMethod(
            c, [c, mid, why] { emit c->denied(mid, why); }, Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(
        c, [c, mid] { emit c->acknowledged(mid); }, Qt::QueuedConnection);
}

void MqttClient::onLog(mosquitto*, void* self, int level, const char* text)
{
    if (!(level & MOSQ_LOG_ERR) || !text)
        return;
    auto* c = static_cast<MqttClient*>(self);
    std::lock_guard lock(c->m_wakeMutex);
    c->m_lastError = QString::fromUtf8(text);
}

}  // namespace tarvo::publish
