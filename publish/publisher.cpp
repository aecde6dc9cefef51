#include "publisher.h"

#include "eventpump.h"

#include <QDir>
#include <QUuid>

#include <algorithm>
#include <vector>

namespace tarvo::publish {

namespace {
constexpr double kOfflineLimit = 2.0;  // seconds for the broker to take "offline" at the end
}

Publisher::Publisher(MqttClient& client, const Options& options)
    : m_client(client)
    , m_options(options)
    , m_topics(options.prefix, options.name)
    , m_run(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    connect(&m_client, &MqttClient::connected, this, &Publisher::onConnected);
    connect(&m_client, &MqttClient::failed, this, &Publisher::onFailed);
    connect(&m_client, &MqttClient::acknowledged, this, &Publisher::onAcknowledged);
    connect(&m_client, &MqttClient::denied, this, &Publisher::onDenied);
    connect(&m_client, &MqttClient::downgraded, this, [this] {
        say(QStringLiteral("broker %1 speaks only MQTT 3.1.1: a message it denies cannot be told from one it took, "
                           "and a second publisher under this name cannot be seen; MQTT 5 tells both")
                .arg(m_client.where()),
            true);
    });
    connect(&m_client, &MqttClient::unwatched, this,
            [this](const QString& why) { say(QStringLiteral("broker %1: %2").arg(m_client.where(), why), true); });
    m_syncTimer.setSingleShot(true);
    m_syncTimer.setInterval(Spool::kSyncMs);
    connect(&m_syncTimer, &QTimer::timeout, this, [this] {
        if (m_spool)
            m_spool->sync();
    });
}

Publisher::~Publisher() = default;

bool Publisher::open(QString* error)
{
    if (m_options.spoolDir.isEmpty())
        return true;
    m_spool = std::make_unique<Spool>(m_options.spoolDir, m_options.prefix + u'/' + m_options.name);
    if (!m_spool->open(error)) {
        m_spool.reset();
        return false;
    }
    m_nextKey = m_firstKey = m_spool->nextKey();
    for (const QString& w : m_spool->takeWarnings())
        say(w, true);
    if (m_spool->hasUnread())
        say(QStringLiteral("the spool %1 holds messages of an earlier run; they are delivered first")
                .arg(QDir::toNativeSeparators(m_options.spoolDir)));
    return true;
}

void Publisher::say(const QString& text, bool warning)
{
    if (notice)
        notice(text, warning);
}

void Publisher::setInfo(const QByteArray& payload)
{
    m_info = payload;
    if (m_connected)
        publishRetained(m_topics.info, m_info);
}

void Publisher::publishRetained(const QByteArray& topic, const QByteArray& payload)
{
    if (const int id = m_client.publish(topic, payload, true))
        m_retained[id] = topic;
}

void Publisher::addValues(const MeasuredValues& values, const QDateTime& when)
{
    ++m_seq;
    enqueue({m_nextKey++, QByteArrayLiteral("values"), valuesPayload(m_seq, m_run, when, values), 0});
    handOver();
}

void Publisher::addEvent(const QString& word, const QString& reason)
{
    enqueue({m_nextKey++, QByteArrayLiteral("events"),
             eventPayload(QDateTime::currentDateTime(), word, reason, m_run, m_seq), 0});
    handOver();
}

// Written to the spool; a failure is told once until a write succeeds again.
bool Publisher::writeAhead(SpoolEntry& entry, bool inMemory)
{
    QString why;
    if (m_spool->append(entry, inMemory, &why)) {
        if (!m_spoolFailure.isEmpty())
            say(QStringLiteral("the spool %1 takes messages again")
                    .arg(QDir::toNativeSeparators(m_spool->directory())));
        m_spoolFailure.clear();
        if (!m_syncTimer.isActive())
            m_syncTimer.start();
        return true;
    }
    if (m_spoolFailure.isEmpty())
        say(QStringLiteral("the spool %1 cannot be written: %2; value sets wait in memory (--queue %3 at most) and "
                           "the spool is tried again with each")
                .arg(QDir::toNativeSeparators(m_spool->directory()), why)
                .arg(m_options.queueLimit),
            true);
    m_spoolFailure
        = QStringLiteral("the spool %1 cannot be written: %2").arg(QDir::toNativeSeparators(m_spool->directory()), why);
    return false;
}

// The oldest value set of a full queue goes, counted.
void Publisher::drop(std::deque<SpoolEntry>& queue)
{
    if (m_dropped == 0)
        say(QStringLiteral("%1 value sets wait in memory for the broker%2: the oldest are dropped from now on")
                .arg(m_options.queueLimit)
                .arg(m_spool ? QStringLiteral(" and the spool cannot be written")
                             : QStringLiteral(" and there is no --spool")),
            true);
    m_dropped += isValues(queue.front());
    queue.pop_front();
}

void Publisher::enqueue(SpoolEntry entry)
{
    const auto limit = static_cast<size_t>(m_options.queueLimit);
    if (!m_spool) {
        if (m_memory.size() >= limit)
            drop(m_memory);
        m_memory.push_back(std::move(entry));
        return;
    }
    // Messages the spool did not take come first, in order.
    while (!m_unsaved.empty() && writeAhead(m_unsaved.front(), false))
        m_unsaved.pop_front();
    const bool inMemory = m_unsaved.empty() && !m_spool->hasUnread() && m_memory.size() < limit;
    if (!inMemory && !m_spooling && m_unsaved.empty() && m_memory.size() >= limit) {
        say(QStringLiteral("%1 value sets wait in memory: the next wait in the spool %2 only")
                .arg(limit)
                .arg(QDir::toNativeSeparators(m_spool->directory())));
        m_spooling = true;
    }
    if (m_unsaved.empty() && writeAhead(entry, inMemory)) {
        if (inMemory)
            m_memory.push_back(std::move(entry));
        return;
    }
    if (inMemory) {
        m_memory.push_back(std::move(entry));  // sent from memory; written at the end if the spool takes it then
        return;
    }
    if (m_memory.size() + m_unsaved.size() >= limit)
        drop(m_unsaved.empty() ? m_memory : m_unsaved);
    m_unsaved.push_back(std::move(entry));
}

void Publisher::handOver()
{
    while (m_connected && m_fatal.isEmpty() && static_cast<int>(m_inflight.size()) < MqttClient::kInflight) {
        if (m_memory.empty() && m_spool && m_spool->hasUnread()) {
            for (SpoolEntry& e : m_spool->take(std::max(1, m_options.queueLimit)))
                m_memory.push_back(std::move(e));
            for (const QString& w : m_spool->takeWarnings())
                say(w, true);
        }
        if (m_memory.empty() && !m_unsaved.empty()) {
            m_memory.push_back(std::move(m_unsaved.front()));
            m_unsaved.pop_front();
        }
        if (m_memory.empty())
            break;
        SpoolEntry& e = m_memory.front();
        const int id = m_client.publish(m_topics.of(e.kind), e.payload, false);
        if (id == 0)
            break;  // the connection is going; handed over again when it is back
        m_inflight.emplace(id, std::move(e));
        m_memory.pop_front();
    }
    if (m_spooling && m_spool && !m_spool->hasUnread() && m_unsaved.empty() && m_memory.empty()) {
        m_spooling = false;
        say(QStringLiteral("the spool has caught up: value sets wait in memory again"));
    }
}

void Publisher::onConnected()
{
    const bool again = m_everConnected;
    m_connected = true;
    m_everConnected = true;
    m_lastFailure.clear();
    m_retained.clear();
    publishRetained(m_topics.status, kOnline);
    if (!m_info.isEmpty())
        publishRetained(m_topics.info, m_info);
    const size_t waiting = m_inflight.size() + m_memory.size() + m_unsaved.size();
    const bool spooled = m_spool && m_spool->hasUnread();
    if (!again)
        say(QStringLiteral("broker %1: connected; publishing to %2")
                .arg(m_client.where(), QString::fromUtf8(m_topics.values)));
    else
        say(QStringLiteral("broker %1: connected again; %2 messages wait%3")
                .arg(m_client.where(), QString::number(waiting),
                     spooled ? QStringLiteral(", more in the spool") : QString()));
    handOver();
    emit progressed();
}

void Publisher::end(const QString& reason)
{
    if (!m_fatal.isEmpty())
        return;
    m_fatal = reason;
    emit ended(reason);
    emit progressed();
}

void Publisher::onFailed(MqttClient::Failure kind, const QString& reason)
{
    const bool wasConnected = m_connected;
    m_connected = false;
    switch (kind) {
    case MqttClient::Failure::Refused: end(QStringLiteral("broker %1: %2").arg(m_client.where(), reason)); return;
    case MqttClient::Failure::InUse:
        end(QStringLiteral("broker %1: %2: the name %3 is in use; this publisher stops, the one that was there goes "
                           "on")
                .arg(m_client.where(), reason, m_options.name));
        return;
    default: break;
    }
    // Before the first connection the command reports how the start went;
    // while retrying, a reason is told once.
    if (m_everConnected && (wasConnected || reason != m_lastFailure)) {
        say(wasConnected
                ? QStringLiteral("broker %1: %2; messages are kept until it is back").arg(m_client.where(), reason)
                : QStringLiteral("broker %1: %2").arg(m_client.where(), reason),
            true);
    }
    m_lastFailure = reason;
    emit progressed();
}

void Publisher::onAcknowledged(int messageId)
{
    if (messageId == m_offlineId && m_offlineId != 0) {
        m_offlineId = 0;
        emit progressed();
        return;
    }
    const auto it = m_inflight.find(messageId);
    if (it == m_inflight.end()) {
        m_retained.erase(messageId);
        return;
    }
    const SpoolEntry& e = it->second;
    if (isValues(e)) {
        if (e.key >= m_firstKey)
            ++m_delivered;
        else
            ++m_earlier;
    } else if (e.key < m_firstKey) {
        ++m_earlier;
    }
    if (m_spool)
        m_spool->delivered(e);
    m_inflight.erase(it);
    handOver();
    emit progressed();
}

void Publisher::onDenied(int messageId, const QString& reason)
{
    const auto it = m_inflight.find(messageId);
    QByteArray topic = m_topics.status;
    if (const auto r = m_retained.find(messageId); r != m_retained.end())
        topic = r->second;
    if (it != m_inflight.end()) {
        topic = m_topics.of(it->second.kind);
        // Not delivered: it stays in the spool, or counts as lost.
        m_memory.push_front(std::move(it->second));
        m_inflight.erase(it);
    } else if (messageId == m_offlineId) {
        m_offlineId = 0;
    }
    end(QStringLiteral("the broker denied %1: %2").arg(QString::fromUtf8(topic), reason));
}

bool Publisher::pending() const
{
    return !m_inflight.empty() || !m_memory.empty() || !m_unsaved.empty() || (m_spool && m_spool->hasUnread());
}

Publisher::Outcome Publisher::finish(double limit, EventPump& pump)
{
    QObject::connect(this, &Publisher::progressed, &pump, &EventPump::poke);
    // With a spool, what the broker does not take now waits there; without
    // one, the broker may still come back within the limit.
    const auto done = [&] { return !pending() || (m_spool && !m_connected) || !m_fatal.isEmpty(); };
    if (!done())
        say(QStringLiteral("waiting up to %1 s for the broker to take the %2 messages still waiting (Ctrl+C "
                           "ends the wait)")
                .arg(limit)
                .arg(m_inflight.size() + m_memory.size() + m_unsaved.size()));
    pump.waitFor(limit, done);
    // "offline" also after a denial: the retained "online" of a run that
    // ended would keep the name in use.
    if (m_connected) {
        m_offlineId = m_client.publish(m_topics.status, kOffline, true);
        pump.waitFor(kOfflineLimit, [this] { return m_offlineId == 0 || !m_connected; });
    }
    m_client.disconnectAndStop(kOfflineLimit);
    m_connected = false;

    Outcome o;
    o.published = m_seq;
    o.delivered = m_delivered;
    o.earlier = m_earlier;
    // What was handed over or waits in memory, in order; spool files keep their own.
    std::vector<SpoolEntry> left;
    for (auto& [id, e] : m_inflight)
        left.push_back(std::move(e));
    for (auto* queue : {&m_memory, &m_unsaved})
        for (SpoolEntry& e : *queue)
            left.push_back(std::move(e));
    m_inflight.clear();
    m_memory.clear();
    m_unsaved.clear();
    std::sort(left.begin(), left.end(), [](const SpoolEntry& a, const SpoolEntry& b) { return a.key < b.key; });
    std::vector<SpoolEntry> unspooled;
    for (SpoolEntry& e : left)
        if (e.file == 0)
            unspooled.push_back(std::move(e));
    const auto thisRunsValues = [this](const std::vector<SpoolEntry>& v) {
        return static_cast<quint64>(std::count_if(
            v.begin(), v.end(), [this](const SpoolEntry& e) { return isValues(e) && e.key >= m_firstKey; }));
    };
    const quint64 undelivered = o.published - o.delivered - m_dropped;
    o.lost = m_dropped;
    if (m_spool) {
        QString why;
        if (m_spool->close(unspooled, &why)) {
            o.kept = undelivered;
        } else {
            const quint64 notWritten = thisRunsValues(unspooled);
            o.kept = undelivered - notWritten;
            o.lost += notWritten;
            o.error = QStringLiteral("the spool %1 cannot be written: %2")
                          .arg(QDir::toNativeSeparators(m_spool->directory()), why);
        }
        for (const QString& w : m_spool->takeWarnings())
            say(w, true);
        m_spool.reset();
    } else {
        o.lost += undelivered;
        if (undelivered > 0)
            o.error = QStringLiteral("the broker did not acknowledge them (--spool DIR keeps them for the next run)");
    }
    if (m_dropped > 0 && o.error.isEmpty())
        o.error = !m_options.spoolDir.isEmpty()
            ? QStringLiteral("the in-memory queue (--queue %1) was full and the spool could not be written%2")
                  .arg(QString::number(m_options.queueLimit),
                       m_spoolFailure.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_spoolFailure))
            : QStringLiteral("the in-memory queue (--queue %1) was full and there is no --spool")
                  .arg(m_options.queueLimit);
    return o;
}

}  // namespace tarvo::publish
