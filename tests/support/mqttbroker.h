// A real MQTT broker for tests and benchmarks: Debian's mosquitto started
// on a free loopback port with a configuration written here, and a
// subscriber on libmosquitto that keeps every message it receives.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace tarvo::test {

// A loopback port nothing listens on now.
quint16 freeTcpPort();

struct BrokerSetup {
    QString passwordFile;               // users and passwords (mosquitto_passwd) for clients that give a name
    QString cafile, certfile, keyfile;  // a TLS listener
    bool persistence = false;           // sessions and queued messages survive a restart
    QString aclFile;                    // who may read and write which topics
};

class MosquittoBroker {
public:
    using Setup = BrokerSetup;

    // The broker program, or empty when it is not installed.
    static QString program();

    explicit MosquittoBroker(const QString& dir, Setup setup = {});
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    // Starts it and waits until it listens; the port stays the same across
    // restarts. False with the reason.
    bool start(QString* error = nullptr);
    // Ends it with SIGTERM (it saves its persistence file) or SIGKILL.
    void stop();
    void kill();
    bool running() const { return m_process && m_process->state() != QProcess::NotRunning; }
    quint16 port() const { return m_port; }

private:
    QString m_dir;
    Setup m_setup;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_process;
};

struct MqttMessage {
    QByteArray topic;
    QByteArray payload;
    bool retained = false;
    std::int64_t receivedNs = 0;  // steady clock, shared by every process of the machine
};

class MqttSubscriber {
public:
    // persistent: the broker keeps the subscription and queues QoS 1
    // messages while this subscriber is away.
    explicit MqttSubscriber(const QString& clientId, bool persistent = false);
    ~MqttSubscriber();
    MqttSubscriber(const MqttSubscriber&) = delete;
    MqttSubscriber& operator=(const MqttSubscriber&) = delete;

    // Connects, subscribes at QoS 1 (again after every reconnection) and
    // waits up to 10 s for the broker to confirm.
    bool subscribe(quint16 port, const QByteArray& filter, QString* error = nullptr, const QString& cafile = {});

    std::vector<MqttMessage> messages() const;
    // Payloads received on one topic, in order.
    std::vector<QByteArray> payloads(const QByteArray& topic) const;
    std::size_t count() const;

private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);

    mosquitto* m_mosq = nullptr;
    QByteArray m_filter;
    mutable std::mutex m_mutex;
    std::vector<MqttMessage> m_messages;
    bool m_subscribed = false;
};

}  // namespace tarvo::test
