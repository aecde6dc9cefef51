#include "mqttbroker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>

#include <mosquitto.h>

#include <chrono>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif
#include <functional>

namespace tarvo::test {

namespace {

constexpr int kStartMs = 10000;

// Runs events until done() holds or ms have passed.
bool waitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

quint16 freeTcpPort()
{
    QTcpServer s;
    return s.listen(QHostAddress::LocalHost, 0) ? s.serverPort() : 0;
}

QString MosquittoBroker::program()
{
    QString p = QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
    if (p.isEmpty())
        p = QStandardPaths::findExecutable(QStringLiteral("mosquitto"),
                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return p;
}

MosquittoBroker::MosquittoBroker(const QString& dir, Setup setup)
    : m_dir(dir)
    , m_setup(std::move(setup))
{
}

MosquittoBroker::~MosquittoBroker()
{
    stop();
}

bool MosquittoBroker::start(QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (program().isEmpty())
        return fail(QStringLiteral("mosquitto is not installed"));
    if (m_port == 0)
        m_port = freeTcpPort();
    QByteArray conf = "listener " + QByteArray::number(m_port) + " 127.0.0.1\n";
    // Anonymous clients (the test's subscriber) are welcome; a client that
    // gives a user name is checked against the password file.
    conf += "allow_anonymous true\n";
    if (!m_setup.passwordFile.isEmpty())
        conf += "password_file " + QFile::encodeName(m_setup.passwordFile) + '\n';
    if (!m_setup.aclFile.isEmpty())
        conf += "acl_file " + QFile::encodeName(m_setup.aclFile) + '\n';
    if (!m_setup.cafile.isEmpty())
        conf += "cafile " + QFile::encodeName(m_setup.cafile) + "\ncertfile " + QFile::encodeName(m_setup.certfile)
            + "\nkeyfile " + QFile::encodeName(m_setup.keyfile) + '\n';
    if (m_setup.persistence)
        conf += "persistence true\npersistence_location " + QFile::encodeName(m_dir) + "/\nautosave_interval 0\n";
#if defined(Q_OS_UNIX)
    // Started by root, mosquitto would become the user "mosquitto", who may
    // not read the test's files.
    if (::geteuid() == 0)
        conf += "user root\n";
#endif
    // Queued messages for a subscriber that is away are never dropped.
    conf += "max_queued_messages 0\nlog_dest stderr\n";
    const QString confPath = QDir(m_dir).filePath(QStringLiteral("mosquitto.conf"));
    QFile f(confPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(conf) != conf.size())
        return fail(QStringLiteral("cannot write %1").arg(confPath));
    f.close();

    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(program(), {QStringLiteral("-c"), confPath});
    QByteArray log;
    const bool up = waitUntil(
        [&] {
            log += m_process->readAll();
            return log.contains(" running") || m_process->state() == QProcess::NotRunning;
        },
        kStartMs);
    if (up && log.contains(" running"))
        return true;
    kill();
    return fail(QStringLiteral("mosquitto did not start: %1").arg(QString::fromLocal8Bit(log).trimmed()));
}

void MosquittoBroker::stop()
{
    if (!running())
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(5000))
        kill();
}

void MosquittoBroker::kill()
{
    if (!running())
        return;
    m_process->kill();
    m_process->waitForFinished(5000);
}

// ---------------------------------------------------------------- subscriber

MqttSubscriber::MqttSubscriber(const QString& clientId, bool persistent)
{
    mosquitto_lib_init();
    m_mosq = mosquitto_new(clientId.toUtf8().constData(), !persistent, this);
    mosquitto_connect_callback_set(m_mosq, &MqttSubscriber::onConnect);
    mosquitto_subscribe_callback_set(m_mosq, &MqttSubscriber::onSubscribe);
    mosquitto_message_callback_set(m_mosq, &MqttSubscriber::onMessage);
    mosquitto_reconnect_delay_set(m_mosq, 1, 1, false);
}

MqttSubscriber::~MqttSubscriber()
{
    mosquitto_disconnect(m_mosq);
    mosquitto_loop_stop(m_mosq, true);
    mosquitto_destroy(m_mosq);
}

bool MqttSubscriber::subscribe(quint16 port, const QByteArray& filter, QString* error, const QString& cafile)
{
    m_filter = filter;
    if (!cafile.isEmpty())
        mosquitto_tls_set(m_mosq, QFile::encodeName(cafile).constData(), nullptr, nullptr, nullptr, nullptr);
    int rc = mosquitto_connect_async(m_mosq, "127.0.0.1", port, 30);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_loop_start(m_mosq);
    const bool ok = rc == MOSQ_ERR_SUCCESS
        && waitUntil(
                        [this] {
                            std::lock_guard lock(m_mutex);
                            return m_subscribed;
                        },
                        kStartMs);
    if (!ok && error)
        *error = QStringLiteral("the subscriber did not get its subscription: %1")
                     .arg(QString::fromUtf8(mosquitto_strerror(rc)));
    return ok;
}

void MqttSubscriber::onConnect(mosquitto* mosq, void* self, int rc)
{
    if (rc == 0)
        mosquitto_subscribe(mosq, nullptr, static_cast<MqttSubscriber*>(self)->m_filter.constData(), 1);
}

void MqttSubscriber::onSubscribe(mosquitto*, void* self, int, int, const int*)
{
    auto* s = static_cast<MqttSubscriber*>(self);
    std::lock_guard lock(s->m_mutex);
    s->m_subscribed = true;
}

void MqttSubscriber::onMessage(mosquitto*, void* self, const mosquitto_message* m)
{
    auto* s = static_cast<MqttSubscriber*>(self);
    MqttMessage copy{QByteArray(m->topic), QByteArray(static_cast<const char*>(m->payload), m->payloadlen), m->retain,
                     nowNs()};
    std::lock_guard lock(s->m_mutex);
    s->m_messages.push_back(std::move(copy));
}

std::vector<MqttMessage> MqttSubscriber::messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<QByteArray> MqttSubscriber::payloads(const QByteArray& topic) const
{
    std::lock_guard lock(m_mutex);
    std::vector<QByteArray> out;
    for (const MqttMessage& m : m_messages)
        if (m.topic == topic)
            out.push_back(m.payload);
    return out;
}

std::size_t MqttSubscriber::count() const
{
    std::lock_guard lock(m_mutex);
    return m_messages.size();
}

}  // namespace tarvo::test
