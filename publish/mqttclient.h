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
//
// MQTT 5 is spoken: the broker answers every message with a reason code, so
// a message it would not take (an ACL denial) is told from one it took. A
// broker that speaks only 3.1.1 is spoken to in 3.1.1, with a warning, as
// such a broker acknowledges denied messages like taken ones.
//
// One name is one sensor. Every run has a client id of its own, and its
// retained status messages (and its Last Will) carry the run and its start
// as user properties. After each connection the client reads the status
// topic (a second subscription's SUBACK marks the end of the retained
// message) before it reports the connection: an "online" of another run
// means the name is in use, and this client leaves without publishing. Two
// publishers that started at the same moment see each other's "online":
// the one that started later leaves.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct mosquitto;
struct mosquitto_message;
struct mqtt5__property;
typedef struct mqtt5__property mosquitto_property;  // NOLINT(modernize-use-using): as libmosquitto declares it

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
    // without a clean disconnect. It is the status topic, which is watched.
    QByteArray willTopic;
    QByteArray willPayload;
    QString run;       // this run's identity
    qint64 since = 0;  // its start, ms since 1970
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
        InUse,        // another run publishes under our name
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
    // The broker answered a message with a failure reason code: why.
    void denied(int messageId, const QString& reason);
    // The broker speaks only MQTT 3.1.1.
    void downgraded();
    // The status topic cannot be read (the broker's ACL): a second
    // publisher under our name cannot be seen.
    void unwatched(const QString& reason);

private:
    static void onConnect(mosquitto*, void* self, int rc, int flags, const mosquitto_property*);
    static void onDisconnect(mosquitto*, void* self, int rc, const mosquitto_property*);
    static void onPublish(mosquitto*, void* self, int mid, int rc, const mosquitto_property*);
    static void onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted, const mosquitto_property*);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* m, const mosquitto_property* props);
    void inUse(const QString& otherRun);
    void accepted();
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
    bool m_v5 = true;         // false once the broker turned MQTT 5 away
    bool m_retryAtOnce = false;
    bool m_inUse = false;    // another run publishes under our name
    bool m_watched = false;  // the status topic's retained message was read on this connection
    int m_watchMid = 0;      // the second subscription, whose SUBACK ends the wait for it
    mosquitto_property* m_statusProperties = nullptr;  // run and start
    bool m_wasConnected = false;                       // some connection of this run was accepted
    int m_disconnectReason = 0;                        // the broker's DISCONNECT reason code
};

}  // namespace tarvo::publish
