// The connection to an MQTT broker, on libmosquitto.
//
// The network work (name lookup, connecting, the TLS handshake, reading and
// writing, keep-alive) runs on a thread of its own, so a slow or unreachable
// broker never holds up the thread that reads the sensor. Our own loop there
// drives libmosquitto and retries every failed or lost connection after
// 0.25, 0.5, 1, then every 2 s, whatever the reason (libmosquitto's own loop
// gives up for good on a failed name lookup or TLS error, which a service
// must ride out). What happens is reported as signals on the thread that
// owns the client.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct mosquitto;

namespace tarvo::publish {

struct BrokerOptions {
    QString host;
    int port = 1883;
    QString clientId;
    QString username;  // empty: none
    QString password;  // with a username only
    bool tls = false;
    QString cafile;    // empty: the system's certificate authorities
    QString certfile;  // client certificate and its key, both or neither
    QString keyfile;
    int keepaliveSeconds = 15;
    // The Last Will: published by the broker when the connection dies
    // without a clean disconnect.
    QByteArray willTopic;
    QByteArray willPayload;
};

class MqttClient : public QObject {
    Q_OBJECT
public:
    // QoS 1 messages handed over and not yet acknowledged, at most.
    static constexpr int kInflight = 20;

    enum class Failure {
        Refused,      // the broker answered but would not take us: credentials, TLS, closed before its answer
        Unreachable,  // no connection came about: refused port, no route, name unknown, no answer
        Lost,         // an established connection ended
    };
    Q_ENUM(Failure)

    explicit MqttClient(QObject* parent = nullptr);
    ~MqttClient() override;  // stops the network thread
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Takes the options: credentials, TLS files, the will. False with the
    // reason when a file cannot be used or an option is refused.
    bool configure(const BrokerOptions& options, QString* error);
    // The network thread starts connecting.
    void start();

    // Hands a QoS 1 message over; the message id, or 0 when libmosquitto
    // refused it (not connected, say). acknowledged(id) follows the
    // broker's PUBACK.
    int publish(const QByteArray& topic, const QByteArray& payload, bool retain);

    // A clean DISCONNECT (no will), then the network thread ends; waits at
    // most `limit` seconds for it.
    void disconnectAndStop(double limit);

    bool isConnected() const { return m_connected; }
    QString where() const;

signals:
    void connected();
    void failed(tarvo::publish::MqttClient::Failure kind, const QString& reason);
    void acknowledged(int messageId);

private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onPublish(mosquitto*, void* self, int mid);
    static void onLog(mosquitto*, void* self, int level, const char* text);

    void networkLoop();
    QString reasonFor(int rc, int savedErrno);
    void report(Failure kind, const QString& reason);
    void pauseBeforeRetry(double seconds);
    void stopThread();

    mosquitto* m_mosq = nullptr;
    BrokerOptions m_options;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_leaving{false};  // a clean disconnect was asked for
    std::atomic<bool> m_connected{false};
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    // Network thread only: what happened to the current connection attempt.
    bool m_answered = false;  // CONNACK came, accepted or not
    QString m_refusal;        // the broker's reason for not accepting
    QString m_lastError;      // libmosquitto's last error line (a TLS reason, say)
};

}  // namespace tarvo::publish
