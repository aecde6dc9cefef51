// The simulated sensor's side of the frame trace: frames received from the
// PC and bytes sent back, as records of the programs' own trace format, so
// that a trace of each end can be laid side by side.
#pragma once

#include <QObject>
#include <QString>

namespace tarvo {
class FrameTrace;
}

namespace tarvo::sim {

class SensorSim;

class SimTrace : public QObject {
    Q_OBJECT
public:
    SimTrace(SensorSim& sim, FrameTrace& trace, QObject* parent = nullptr);

private:
    void onConnected(const QString& channel);
    void onFrame(const QByteArray& frame);
    void onSent(const QByteArray& bytes);
    QString linkName(const QString& channel) const;

    SensorSim& m_sim;
    FrameTrace& m_trace;
    qint64 m_dropped = 0;
    int m_command = -1;  // of the frame whose reply is due
    int m_arg = -1;
    bool m_replyDue = false;
};

}  // namespace tarvo::sim
