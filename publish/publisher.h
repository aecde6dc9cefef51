// The publisher of one sensor: value sets and events become QoS 1 messages
// on P/NAME/values and P/NAME/events, delivered in the order they came, and
// counted as delivered only when the broker acknowledged them (PUBACK).
//
// At most MqttClient::kInflight messages are with libmosquitto at a time.
// Behind them wait, in order: the in-memory queue (up to `queueLimit` value
// sets, 10 000 by default: about 3 MB, 200 s of a sensor sending 50 frames a
// second), then the spool directory (--spool) for everything beyond it. A
// spool left by an earlier run is delivered first.
//
// With a spool, every message is written to it when it is taken, before it
// is sent (see Spool), and removed once the broker acknowledged it. A spool
// that cannot be written is tried again with every message; meanwhile
// messages wait in memory. Only a full memory queue drops value sets (the
// oldest), counted and reported.
//
// A broker that refuses us, denies a message or finds our name in use ends
// the run: ended() says why. Every payload carries the run's identity.
//
// The status topic says "online" (retained) on every connection and
// "offline" at a clean end; the broker says "offline" for us, as our Last
// Will, when the process dies. The info message is retained as well and
// published again on every connection.
#pragma once

#include "measurement.h"
#include "mqttclient.h"
#include "payload.h"
#include "spool.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>

namespace tarvo {
class EventPump;
}

namespace tarvo::publish {

class Publisher : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultQueue = 10000;

    struct Options {
        QString prefix = QString::fromLatin1(kDefaultPrefix);
        QString name;
        int queueLimit = kDefaultQueue;
        QString spoolDir;  // empty: no spool
    };

    // What became of this run's value sets at the end.
    struct Outcome {
        quint64 published = 0;  // taken from the sensor
        quint64 delivered = 0;  // acknowledged by the broker
        quint64 kept = 0;       // in the spool for the next run
        quint64 lost = 0;       // neither: dropped from a full queue, or not written to the spool
        quint64 earlier = 0;    // messages of an earlier run's spool delivered in this one
        QString error;          // why something was lost
    };

    Publisher(MqttClient& client, const Options& options);
    ~Publisher() override;

    // Opens the spool, if there is one. False with the reason.
    bool open(QString* error);

    const Topics& topics() const { return m_topics; }
    // The retained info message, published now and on every connection.
    void setInfo(const QByteArray& payload);
    void addValues(const MeasuredValues& values, const QDateTime& when);
    void addEvent(const QString& word, const QString& reason);

    quint64 lastSeq() const { return m_seq; }
    const QString& run() const { return m_run; }
    // Why the run must end (a refusal, a denial, the name in use), or empty.
    QString fatal() const { return m_fatal; }

    // The end of the run: waits up to `limit` seconds (less when the broker
    // is away and there is a spool to keep the rest) for every message to be
    // acknowledged, says "offline", disconnects cleanly, and keeps what is
    // left in the spool. Waits cut short on the pump end the waiting early.
    Outcome finish(double limit, EventPump& pump);

    // Messages on the way, one line each, for standard error: the broker
    // connected or back, the spool in use (information); the broker lost,
    // value sets dropped, a damaged spool file (warnings).
    std::function<void(const QString& text, bool warning)> notice;

signals:
    // Something changed that a wait for the end may be waiting for.
    void progressed();
    // The broker refused us or denied a message, or our name is in use:
    // the run ends.
    void ended(const QString& reason);

private:
    void onConnected();
    void onFailed(MqttClient::Failure, const QString& reason);
    void onAcknowledged(int messageId);
    void onDenied(int messageId, const QString& reason);
    void end(const QString& reason);
    void publishRetained(const QByteArray& topic, const QByteArray& payload);
    bool writeAhead(SpoolEntry& entry, bool inMemory);
    void drop(std::deque<SpoolEntry>& queue);
    void enqueue(SpoolEntry entry);
    void handOver();
    bool pending() const;
    void say(const QString& text, bool warning = false);
    static bool isValues(const SpoolEntry& e) { return e.kind == "values"; }

    MqttClient& m_client;
    Options m_options;
    Topics m_topics;
    std::unique_ptr<Spool> m_spool;
    QByteArray m_info;
    quint64 m_seq = 0;
    quint64 m_nextKey = 1;
    quint64 m_firstKey = 1;                // keys below are an earlier run's
    std::map<int, SpoolEntry> m_inflight;  // by message id
    std::map<int, QByteArray> m_retained;  // status and info on their way, by message id
    std::deque<SpoolEntry> m_memory;
    std::deque<SpoolEntry> m_unsaved;  // the spool refused them
    int m_offlineId = 0;
    bool m_connected = false;
    bool m_everConnected = false;
    bool m_spooling = false;
    QString m_lastFailure;
    QString m_spoolFailure;  // the spool's last write failure, until a write succeeds
    QString m_fatal;
    QString m_run;
    QTimer m_syncTimer;
    quint64 m_delivered = 0;
    quint64 m_earlier = 0;
    quint64 m_dropped = 0;
};

}  // namespace tarvo::publish
