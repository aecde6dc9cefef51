// The sensor's serial line as a pseudo-terminal (POSIX only). The programs
// open the slave side like a serial port. Optionally the line is paced like
// 19200 baud 8N1, in both directions.
#pragma once

#include "precisetimer.h"
#include "simchannel.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <memory>

namespace tarvo::sim {

class PtyChannel final : public SimChannel {
    Q_OBJECT
public:
    // One byte of 19200 baud 8N1: ten bits.
    static constexpr qint64 kByteNs = 10 * 1'000'000'000LL / 19200;

    explicit PtyChannel(QObject* parent = nullptr);
    ~PtyChannel() override;

    static bool supported();
    bool open(QString* error);
    QString path() const { return m_path; }

    void setBaudPacing(bool on) { m_paced = on; }
    bool baudPacing() const { return m_paced; }

    QString name() const override { return QStringLiteral("pty"); }
    bool isConnected() const override { return m_master >= 0 && !m_dead; }
    void send(const QByteArray& bytes) override;
    // A serial line cannot be hung up from the sensor's side: the line goes
    // dead instead (input ignored, nothing sent) until revive().
    void closeConnection() override;
    qint64 backlog() const override { return m_out.queue.size() + m_wire.size(); }
    void revive();
    // The pseudo-terminal is closed (the PC's port sees its device vanish)
    // and opened anew by resume(), at the path of linkPath when one is set.
    void suspend() override;
    bool resume(QString* error) override { return open(error); }
    // A symbolic link that always points at the pseudo-terminal's device,
    // so that a program can open the line by one path across a reopening,
    // as a USB adapter's stable device name.
    void setLinkPath(const QString& path) { m_linkPath = path; }
    QString linkPath() const { return m_linkPath; }

private:
    // Closes both ends of the pseudo-terminal; its device goes away.
    void closeDevice();
    // Bytes that travel the line at the baud rate.
    struct Lane {
        QByteArray queue;
        qint64 startNs = 0;   // when the current burst began
        qint64 released = 0;  // bytes of the burst already through
        QByteArray take(qint64 nowNs);
        void push(const QByteArray& bytes, qint64 nowNs);
        // When bytes should next be let through: every tick while the burst
        // lasts, and exactly when its last byte is through; -1 when idle.
        qint64 nextReleaseNs(qint64 nowNs) const;
    };

    void readMaster();
    void writeMaster();
    void pace();
    void deliver(const QByteArray& bytes);
    void startPacer();

    int m_master = -1;
    int m_slave = -1;  // held open so the line never hangs up between clients
    QString m_path;
    QString m_linkPath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QByteArray m_wire;  // ready to be written to the master
    bool m_paced = false;
    bool m_dead = false;
    Lane m_in, m_out;
    // Wakes when bytes are due, to the microsecond where the system allows,
    // so that a frame takes as long as on the real line and not up to a
    // millisecond more.
    PreciseTimer m_pacer;
    qint64 m_wakeNs = -1;  // when the pacer is set to wake; -1 not set
    QElapsedTimer m_clock;
};

}  // namespace tarvo::sim
