#include "mqttclient.h"

#include <QFile>
#include <QMetaObject>

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

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
    mosquitto_int_option(m_mosq, MOSQ_OPT_SEND_MAXIMUM, kInflight);
    // Small messages leave at once instead of waiting for the last one's ACK.
    mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_connect_callback_set(m_mosq, &MqttClient::onConnect);
    mosquitto_disconnect_callback_set(m_mosq, &MqttClient::onDisconnect);
    mosquitto_publish_callback_set(m_mosq, &MqttClient::onPublish);
    mosquitto_log_callback_set(m_mosq, &MqttClient::onLog);

    if (!options.username.isEmpty()
        && mosquitto_username_pw_set(m_mosq, options.username.toUtf8().constData(),
                                     options.password.isEmpty() ? nullptr : options.password.toUtf8().constData())
            != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("the user name or password cannot be used");
        return false;
    }
    if (!options.willTopic.isEmpty()
        && mosquitto_will_set(m_mosq, options.willTopic.constData(), static_cast<int>(options.willPayload.size()),
                              options.willPayload.constData(), 1, true)
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
    const int rc = mosquitto_publish(m_mosq, &mid, topic.constData(), static_cast<int>(payload.size()),
                                     payload.constData(), 1, retain);
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
        if (!m_refusal.isEmpty())
            report(Failure::Refused, m_refusal);
        else if (wasConnected)
            report(Failure::Lost, reasonFor(rc, savedErrno));
        else if (rc == MOSQ_ERR_TLS || rc == MOSQ_ERR_TLS_HANDSHAKE || rc == MOSQ_ERR_CONN_LOST)
            report(Failure::Refused, reasonFor(rc, savedErrno));
        else
            report(Failure::Unreachable, reasonFor(rc, savedErrno));
        if (wasConnected)
            delay = kFirstRetry;
        pauseBeforeRetry(delay);
        delay = std::min(delay * 2, kMaxRetry);
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

void MqttClient::onConnect(mosquitto*, void* self, int rc)
{
    auto* c = static_cast<MqttClient*>(self);
    c->m_answered = true;
    if (rc != 0) {
        c->m_refusal = QStringLiteral("the broker refused the connection: %1")
                           .arg(QString::fromUtf8(mosquitto_connack_string(rc)));
        return;
    }
    c->m_connected = true;
    QMetaObject::invokeMethod(
        c, [c] { emit c->connected(); }, Qt::QueuedConnection);
}

void MqttClient::onDisconnect(mosquitto*, void*, int)
{
    // The network loop sees the end of the connection and reports it.
}

void MqttClient::onPublish(mosquitto*, void* self, int mid)
{
    auto* c = static_cast<MqttClient*>(self);
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
