// The simulated gloss (or colour) sensor: answers the programs' command frames
// over TCP on 127.0.0.1 and over a pseudo-terminal, measures a simulated
// target, keeps an EEPROM image on disk and can be told to misbehave.
#pragma once

#include "faults.h"
#include "frameassembler.h"
#include "sensormodel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace tarvo::sim {

class SimChannel;
class TcpServerChannel;
class PtyChannel;

struct SimOptions {
    bool colour = false;          // RGB sensor: other identification, commands 40..43
    bool tcp = true;              // serve TCP on 127.0.0.1
    quint16 tcpPort = 0;          // 0: any free port, see SensorSim::tcpPort()
    bool pty = false;             // open a pseudo-terminal (POSIX)
    bool baudPacing = false;      // pace the pseudo-terminal like 19200 baud 8N1
    QString ptyLink;              // a symbolic link kept pointing at the pseudo-terminal
    QString eepromPath;           // empty: the EEPROM lives in memory only
    double gloss = 100.0;         // gloss factor of the target under the sensor
    double noise = 1.0;           // 0: noiseless, 1: normal
    double partRateHz = 5.0;      // pieces per second, also the automatic sending rate
    bool answerAutoSend = false;  // echo command 50 (the programs expect no reply)
    // Automatic sending: this many stray bytes after every autoStrayEvery
    // frames (0: none), and sending as fast as the line takes (flood).
    int autoStrayBytes = 0;
    int autoStrayEvery = 1;
    // This many first bytes of every autoCutEvery-th frame (0: none), sent
    // right before a whole frame: a frame cut short.
    int autoCutBytes = 0;
    int autoCutEvery = 1;
    bool autoFlood = false;
    quint32 seed = 1;  // for the noise
    Faults faults;
};

class SensorSim : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameLogSize = 1000;

    explicit SensorSim(const SimOptions& options = {}, QObject* parent = nullptr);
    ~SensorSim() override;

    // Loads the EEPROM file, opens the channels. False with a reason in
    // *error when a requested channel cannot be opened.
    bool start(QString* error = nullptr);

    quint16 tcpPort() const;
    QString ptyPath() const;
    bool isColour() const { return m_model.isColour(); }

    // Simulated target and line, changeable while running.
    void setGloss(double gloss) { m_model.setGloss(gloss); }
    double gloss() const { return m_model.gloss(); }
    void setNoise(double factor) { m_model.setNoise(factor); }
    void setPartRate(double hz);
    // Stray bytes between automatically sent frames: n bytes after every k frames.
    void setAutoStray(int bytes, int everyFrames);
    // The first n bytes of every k-th automatic frame, right before a whole one.
    void setAutoCut(int bytes, int everyFrames);
    // Automatic sending as fast as the line takes the frames.
    void setAutoFlood(bool on);
    // Frames sent by automatic sending since it was last switched on.
    qint64 autoFramesSent() const { return m_autoFrames; }
    void setBaudPacing(bool on);

    // Faults start counting afresh; a dead pseudo-terminal line comes back.
    void setFaults(const Faults& faults);
    Faults faults() const { return m_faults.faults(); }

    // The connection drops now: TCP closed by the sensor, the
    // pseudo-terminal closed and opened anew (its device vanishes a moment).
    void dropConnection();
    // The sensor is switched off for ms: the connection drops, TCP
    // connections are refused and the pseudo-terminal is gone meanwhile; then
    // it starts as after a reboot.
    void goAway(int ms);
    bool away() const { return m_away; }
    // As after a reboot: the working set from the EEPROM, automatic sending off.
    void reboot();
    // The sensor hangs for ms: the line stays open, but it takes no command
    // and sends nothing; then it goes on as before, automatic sending too.
    void mute(int ms);
    bool muted() const { return m_muteTimer.isActive(); }
    // Another identification text (another sensor on the line); empty: its own.
    void setIdentification(const QByteArray& text) { m_model.setIdentification(text); }
    // Bytes after the identification's zero byte that change at every reply.
    void setIdentificationTailChanging(bool on) { m_model.setIdentificationTailChanging(on); }
    // A symbolic link kept pointing at the pseudo-terminal's device; set before start().
    void setPtyLink(const QString& path) { m_options.ptyLink = path; }
    // Frames sent by automatic sending since the start.
    qint64 autoFramesTotal() const { return m_autoFramesTotal; }

    // Sends bytes now, unrequested, on every connected channel.
    void injectBytes(const QByteArray& bytes);

    // What the PC put on the wire: complete frames (the last kFrameLogSize),
    // their total count, and bytes discarded while looking for a frame start.
    QList<QByteArray> receivedFrames() const { return m_frames; }
    qint64 frameCount() const { return m_frameCount; }
    qint64 droppedBytes() const;
    void clearReceived();

    bool autoSending() const { return m_autoTimer.isActive(); }
    ParamSet parameters() const { return m_model.params(); }
    TeachTable teachTable() const { return m_model.teach(); }
    EepromImage eeprom() const { return m_model.eeprom(); }
    RefCalibration calibration() const { return m_model.eeprom().calibration; }
    CalibTable calibTable() const { return m_model.eeprom().calibTable; }
    FactorTable colourFactors(int colour) const { return m_model.eeprom().factors.at(colour); }
    void setParameters(const ParamSet& params) { m_model.setParams(params); }
    void setTeachRow(int row, const TeachRow& values) { m_model.setTeachRow(row, values); }
    // A measurement as command 5 would report it now.
    Measurement measure() { return m_model.measure(m_clock.elapsed()); }

signals:
    void frameReceived(const QByteArray& frame);
    void bytesSent(const QByteArray& bytes);
    void clientConnected(const QString& channel);
    void clientDisconnected(const QString& channel);
    void autoSendChanged(bool on);
    void logLine(const QString& line);

private:
    struct Link {
        SimChannel* channel = nullptr;
        FrameAssembler assembler;
        qint64 droppedBefore = 0;
        int framesOnConnection = 0;
        // Replies leave in the order of their requests: one held back delays
        // those behind it, as on a sensor that answers one frame at a time.
        struct Pending {
            qint64 dueMs;
            QByteArray bytes;
        };
        QList<Pending> outbox;
        QTimer* outTimer = nullptr;
        quint64 outboxConnection = 0;
    };

    void attach(Link& link);
    void onBytes(Link& link, const QByteArray& bytes);
    void handleFrame(Link& link, const QByteArray& frame);
    void deliver(Link& link, const QByteArray& request, const QByteArray& reply);
    void sendDue(Link& link);
    void sendAutoFrame();
    bool persist();
    void log(const QString& line) { emit logLine(line); }

    SimOptions m_options;
    SensorModel m_model;
    FaultInjector m_faults;
    TcpServerChannel* m_tcp = nullptr;
    PtyChannel* m_pty = nullptr;
    Link m_tcpLink, m_ptyLink;
    QPointer<SimChannel> m_autoTarget;
    QTimer m_autoTimer;
    QTimer m_muteTimer;
    QElapsedTimer m_clock;
    QList<QByteArray> m_frames;
    qint64 m_frameCount = 0;
    qint64 m_autoFrames = 0;
    qint64 m_autoFramesTotal = 0;
    bool m_away = false;
};

}  // namespace tarvo::sim
