#include "sensorsim.h"

#include "eepromfile.h"
#include "frame.h"
#include "ptychannel.h"
#include "tcpserverchannel.h"

#include <QFileInfo>

namespace tarvo::sim {

namespace {

quint16 commandOf(const QByteArray& frame)
{
    return frame::getWord(reinterpret_cast<const quint8*>(frame.constData()), 1);
}

quint16 argOf(const QByteArray& frame)
{
    return frame::getWord(reinterpret_cast<const quint8*>(frame.constData()), 2);
}

}  // namespace

SensorSim::SensorSim(const SimOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_model(options.colour, options.seed)
{
    m_model.setGloss(options.gloss);
    m_model.setNoise(options.noise);
    m_model.setAnswerAutoSend(options.answerAutoSend);
    m_faults.set(options.faults);
    setPartRate(options.partRateHz);
    setAutoStray(options.autoStrayBytes, options.autoStrayEvery);
    setAutoFlood(options.autoFlood);
    connect(&m_autoTimer, &QTimer::timeout, this, &SensorSim::sendAutoFrame);
    m_muteTimer.setSingleShot(true);
    connect(&m_muteTimer, &QTimer::timeout, this, [this] { log(QStringLiteral("answers again")); });
    m_clock.start();
}

SensorSim::~SensorSim()
{
    // The channels go first, while the links their signals refer to still exist.
    for (SimChannel* ch : {static_cast<SimChannel*>(m_tcp), static_cast<SimChannel*>(m_pty)}) {
        if (ch) {
            ch->disconnect(this);
            delete ch;
        }
    }
}

bool SensorSim::start(QString* error)
{
    const QString& path = m_options.eepromPath;
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        QString why;
        if (auto image = loadEeprom(path, &why)) {
            m_model.powerUp(*image);
            log(QStringLiteral("EEPROM loaded from %1").arg(path));
        } else {
            log(QStringLiteral("EEPROM file unusable (%1); factory settings in use").arg(why));
        }
    }

    if (m_options.tcp) {
        m_tcp = new TcpServerChannel(this);
        if (!m_tcp->listen(m_options.tcpPort, error))
            return false;
        m_tcpLink.channel = m_tcp;
        attach(m_tcpLink);
    }
    if (m_options.pty) {
        m_pty = new PtyChannel(this);
        m_pty->setBaudPacing(m_options.baudPacing);
        m_pty->setLinkPath(m_options.ptyLink);
        if (!m_pty->open(error))
            return false;
        m_ptyLink.channel = m_pty;
        attach(m_ptyLink);
    }
    return true;
}

void SensorSim::attach(Link& link)
{
    SimChannel* ch = link.channel;
    connect(ch, &SimChannel::received, this, [this, &link](const QByteArray& bytes) { onBytes(link, bytes); });
    connect(ch, &SimChannel::connected, this, [this, &link] {
        link.assembler.reset();
        link.framesOnConnection = 0;
        log(QStringLiteral("%1: client connected").arg(link.channel->name()));
        emit clientConnected(link.channel->name());
    });
    connect(ch, &SimChannel::disconnected, this, [this, &link] {
        log(QStringLiteral("%1: client disconnected").arg(link.channel->name()));
        emit clientDisconnected(link.channel->name());
    });
}

void SensorSim::dropConnection()
{
    log(QStringLiteral("dropping the connection"));
    if (m_tcp)
        m_tcp->closeConnection();
    if (m_pty) {
        m_pty->suspend();
        QString why;
        if (!m_pty->resume(&why))
            log(why);
    }
}

void SensorSim::goAway(int ms)
{
    log(QStringLiteral("switched off for %1 ms").arg(ms));
    m_away = true;
    m_autoTimer.stop();
    for (SimChannel* ch : {static_cast<SimChannel*>(m_tcp), static_cast<SimChannel*>(m_pty)})
        if (ch)
            ch->suspend();
    QTimer::singleShot(qMax(0, ms), this, [this] {
        m_away = false;
        reboot();
        for (SimChannel* ch : {static_cast<SimChannel*>(m_tcp), static_cast<SimChannel*>(m_pty)}) {
            QString why;
            if (ch && !ch->resume(&why))
                log(why);
        }
        log(QStringLiteral("switched on again"));
    });
}

void SensorSim::reboot()
{
    m_model.powerUp(m_model.eeprom());
    if (m_autoTimer.isActive()) {
        m_autoTimer.stop();
        emit autoSendChanged(false);
    }
    log(QStringLiteral("rebooted: working set from the EEPROM, automatic sending off"));
}

void SensorSim::mute(int ms)
{
    log(QStringLiteral("silent for %1 ms, the line open").arg(ms));
    m_muteTimer.start(qMax(0, ms));
}

quint16 SensorSim::tcpPort() const
{
    return m_tcp ? m_tcp->port() : 0;
}

QString SensorSim::ptyPath() const
{
    return m_pty ? m_pty->path() : QString();
}

void SensorSim::setPartRate(double hz)
{
    m_model.setPartRate(hz);
    if (!m_options.autoFlood)
        m_autoTimer.setInterval(qMax(1, int(1000.0 / m_model.partRate())));
}

void SensorSim::setAutoStray(int bytes, int everyFrames)
{
    m_options.autoStrayBytes = qMax(0, bytes);
    m_options.autoStrayEvery = qMax(1, everyFrames);
}

void SensorSim::setAutoCut(int bytes, int everyFrames)
{
    m_options.autoCutBytes = qBound(0, bytes, 35);
    m_options.autoCutEvery = qMax(1, everyFrames);
}

void SensorSim::setAutoFlood(bool on)
{
    m_options.autoFlood = on;
    m_autoTimer.setInterval(on ? 1 : qMax(1, int(1000.0 / m_model.partRate())));
}

void SensorSim::setBaudPacing(bool on)
{
    m_options.baudPacing = on;
    if (m_pty)
        m_pty->setBaudPacing(on);
}

void SensorSim::setFaults(const Faults& faults)
{
    m_faults.set(faults);
    m_tcpLink.framesOnConnection = 0;
    m_ptyLink.framesOnConnection = 0;
    if (m_pty)
        m_pty->revive();
    log(QStringLiteral("faults: %1").arg(faults.describe()));
}

void SensorSim::injectBytes(const QByteArray& bytes)
{
    for (SimChannel* ch : {static_cast<SimChannel*>(m_tcp), static_cast<SimChannel*>(m_pty)}) {
        if (ch && ch->isConnected()) {
            ch->send(bytes);
            emit bytesSent(bytes);
        }
    }
}

qint64 SensorSim::droppedBytes() const
{
    return m_tcpLink.assembler.droppedBytes() + m_ptyLink.assembler.droppedBytes();
}

void SensorSim::clearReceived()
{
    m_frames.clear();
    m_frameCount = 0;
}

void SensorSim::onBytes(Link& link, const QByteArray& bytes)
{
    const QList<QByteArray> frames = link.assembler.feed(bytes);
    const qint64 dropped = link.assembler.droppedBytes();
    if (dropped != link.droppedBefore) {
        log(QStringLiteral("%1: skipped %2 bytes that do not start a frame")
                .arg(link.channel->name())
                .arg(dropped - link.droppedBefore));
        link.droppedBefore = dropped;
    }
    const quint64 connection = link.channel->connectionId();
    for (const QByteArray& f : frames) {
        // A closed connection ends the glued frames behind it too.
        if (link.channel->connectionId() != connection || !link.channel->isConnected())
            break;
        handleFrame(link, f);
    }
}

void SensorSim::handleFrame(Link& link, const QByteArray& frame)
{
    m_frames.append(frame);
    if (m_frames.size() > kFrameLogSize)
        m_frames.removeFirst();
    ++m_frameCount;
    ++link.framesOnConnection;
    m_faults.countFrame();
    emit frameReceived(frame);

    const quint16 command = commandOf(frame);
    if (muted()) {
        log(QStringLiteral("%1: command %2 not taken: silent").arg(link.channel->name()).arg(command));
        return;
    }
    SensorModel::Outcome out = m_model.handle(frame, m_clock.elapsed());
    log(QStringLiteral("%1: command %2 arg %3: %4")
            .arg(link.channel->name())
            .arg(command)
            .arg(argOf(frame))
            .arg(out.note));
    if (out.eepromWritten && !persist())
        out.reply.reset();  // a store that did not reach the EEPROM is not acknowledged
    if (out.autoSend) {
        if (*out.autoSend) {
            m_autoTarget = link.channel;
            if (!m_autoTimer.isActive()) {
                m_autoFrames = 0;
                m_autoTimer.start();
            }
        } else {
            m_autoTimer.stop();
        }
        emit autoSendChanged(*out.autoSend);
    }
    if (out.reply)
        deliver(link, frame, *out.reply);

    const int closeAfter = m_faults.faults().closeAfterFrames;
    if (closeAfter > 0 && link.framesOnConnection >= closeAfter) {
        log(QStringLiteral("%1: fault: closing the connection after %2 frames")
                .arg(link.channel->name())
                .arg(closeAfter));
        link.channel->closeConnection();
    }
}

void SensorSim::deliver(Link& link, const QByteArray& request, const QByteArray& reply)
{
    SimChannel* channel = link.channel;
    FaultInjector::Result r = m_faults.apply(commandOf(request), argOf(request), reply);
    if (!r.notes.isEmpty())
        log(QStringLiteral("%1: fault: %2").arg(channel->name(), r.notes.join(QStringLiteral(", "))));
    if (r.dropped)
        return;
    if (r.measurementInstead)
        r.bytes = m_model.measurementFrame(m_clock.elapsed());
    if (r.echo)
        r.bytes = request;
    if (r.frameBehind)
        r.bytes += m_model.measurementFrame(m_clock.elapsed());
    if (link.outboxConnection != channel->connectionId()) {
        link.outbox.clear();  // the client that asked has gone
        link.outboxConnection = channel->connectionId();
    }
    const Faults& f = m_faults.faults();
    const bool split = r.splitAt > 0 && r.splitAt < r.bytes.size();
    if (r.delayMs <= 0 && link.outbox.isEmpty() && !split) {
        channel->send(r.bytes);
        emit bytesSent(r.bytes);
        return;
    }
    const qint64 due = m_clock.elapsed() + qMax(0, r.delayMs);
    const qint64 behind = link.outbox.isEmpty() ? due : link.outbox.last().dueMs + f.followGapMs;
    if (split) {
        // Two writes, as a converter that forwards what it has at a read boundary.
        link.outbox.append({qMax(due, behind), r.bytes.left(r.splitAt)});
        link.outbox.append({qMax(due, behind) + qMax(0, f.splitGapMs), r.bytes.mid(r.splitAt)});
    } else {
        link.outbox.append({qMax(due, behind), r.bytes});
    }
    if (!link.outTimer) {
        link.outTimer = new QTimer(this);
        link.outTimer->setSingleShot(true);
        // Precise: a coarse timer may fire up to 5 % early, before the delay asked for.
        link.outTimer->setTimerType(Qt::PreciseTimer);
        connect(link.outTimer, &QTimer::timeout, this, [this, &link] { sendDue(link); });
    }
    sendDue(link);
}

void SensorSim::sendDue(Link& link)
{
    SimChannel* channel = link.channel;
    if (link.outboxConnection != channel->connectionId()) {
        link.outbox.clear();
        return;
    }
    const qint64 now = m_clock.elapsed();
    while (!link.outbox.isEmpty() && link.outbox.first().dueMs <= now) {
        const QByteArray bytes = link.outbox.takeFirst().bytes;
        channel->send(bytes);
        emit bytesSent(bytes);
    }
    if (!link.outbox.isEmpty())
        link.outTimer->start(int(link.outbox.first().dueMs - now));
}

void SensorSim::sendAutoFrame()
{
    if (!m_autoTarget || !m_autoTarget->isConnected() || muted())
        return;
    // A flood fills the line; otherwise one frame per part.
    constexpr qint64 kFloodBacklog = 16 * 1024;
    int frames = 0;
    do {
        QByteArray f = m_model.measurementFrame(m_clock.elapsed());
        if (m_options.autoCutBytes > 0 && (m_autoFrames + 1) % m_options.autoCutEvery == 0) {
            // A frame cut short: its first bytes, then a whole frame at once.
            const QByteArray cut = f.left(m_options.autoCutBytes);
            m_autoTarget->send(cut);
            emit bytesSent(cut);
            f = m_model.measurementFrame(m_clock.elapsed());
        }
        m_autoTarget->send(f);
        emit bytesSent(f);
        ++m_autoFrames;
        ++m_autoFramesTotal;
        ++frames;
        if (m_options.autoStrayBytes > 0 && m_autoFrames % m_options.autoStrayEvery == 0) {
            // Bytes that belong to no frame: 0x11 never starts the sensor's header.
            const QByteArray stray(m_options.autoStrayBytes, char(0x11));
            m_autoTarget->send(stray);
            emit bytesSent(stray);
        }
    } while (m_options.autoFlood && frames < 1000 && m_autoTarget->backlog() < kFloodBacklog);
}

bool SensorSim::persist()
{
    if (m_options.eepromPath.isEmpty())
        return true;
    QString why;
    if (saveEeprom(m_options.eepromPath, m_model.eeprom(), &why))
        return true;
    log(QStringLiteral("cannot write EEPROM file %1: %2; the command is not acknowledged")
            .arg(m_options.eepromPath, why));
    return false;
}

}  // namespace tarvo::sim
