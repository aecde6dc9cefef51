// The recorder panel RECP: records measured value sets into the record file
// at an interval, while polling at the press of a button, or for every frame
// the sensor sends on its own, and shows them while it records.
#pragma once

#include "autoframes.h"
#include "eventlog.h"
#include "reconnect.h"
#include "recordfile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>

class QComboBox;
class QDoubleSpinBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QWidget;
namespace Ui {
class RECP;
}

namespace tarvo {

class Connection;
class EventPump;
class Exchange;
class Link;
struct LoopFlags;
struct MeasuredValues;

enum RecordMode : int { FixedCount = 0, Continuous = 1, Polling = 2, Triggered = 3 };

class Recorder final : public QObject {
    Q_OBJECT
public:
    // What a recording shows beyond its own panel is told by the signals
    // below; once the connection is closed nothing more is asked of the user.
    Recorder(QWidget* recpanel, const Ui::RECP& form, Connection& connection, MeasuredValues& measured,
             QString proj_dir);

    // The interval waited for is the panel's times this (1: as set); tests
    // shorten it, the panel's shortest interval being a second.
    void setIntervalScale(double scale) { intervalScale = scale; }
    // Lines of the current continuous or triggered recording.
    double lineCount() const { return linecount; }
    // The record file.
    const QString& fileName() const { return file_name; }

    int mode() const;

    void CBF_ButtonOpenRecorder();
    void InitRecordPanel();
    void CalcRecTime();
    void SelRecFile();
    void CBF_ButtonStartRecord();
    void CBF_ButtonStartTrigRec();
    void CBF_ButtonStartPolling();
    void CBF_ButtonManualRecord();
    void CBF_EditSelectDataRec();
    void CBF_RECP();
    void StopRecord();
    void ChangePanelRecord();
    // What the last triggered recording's reader saw.
    const AutoFrameCounts& receptionCounts() const { return m_autoCounts; }

signals:
    // Connected directly: each has taken effect when the recording goes on.
    void buttonsDimmed(int dim);  // the main panel's transfer buttons
    void panelDataDue();          // main panel displays and buffers
    void graphDue();              // the main panel's strip chart
    void panelGraphReset();       // graph panel: start afresh
    void panelGraphDataDue();     // graph panel: one more point

private:
    double intervalScale = 1.0;
    double linecount = 0;
    QString file_name;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void wire();
    bool Record();
    void RecordFrame();
    void SlowDown();
    void TriggeredRecord();
    void RecordPolling();
    void RecordManually();
    bool ReadMeasurement();
    void SetRecordData();
    // One line of the current values, stamped `measured` (default: now).
    bool ToFile(const QDateTime& measured = {});
    bool takeFileName();
    void showWriteFailure();
    void colourButton(QPushButton* button, unsigned rgb);
    void fileSavedMessage();
    void setRecording(bool on);
    // Events of the line go to the events file while a recording runs.
    void logEvents(bool on);
    void writeEvent(LinkEvent event, const QString& reason);

    std::uint16_t zeitint = 1;   // interval in seconds
    std::uint16_t anzwerte = 0;  // value sets to record (fixed count)
    std::uint16_t otcrec = 0;    // value sets recorded (fixed count, polling)
    double recstart = 0.0;
    RecordFile file;
    // "<record file>.events": what happened to the line while recording,
    // with "Reconnect and resume" on.
    EventLog events;

    QWidget* m_panel;
    const Connection& m_connection;
    Exchange& m_ex;
    Link& m_link;
    EventPump& m_pump;
    LoopFlags& m_flags;
    MeasuredValues& m_measured;
    Reconnector& m_reconnect;
    QString m_projDir;
    bool m_writeFailed = false;
    AutoFrameCounts m_autoCounts;  // what the last triggered recording's reader saw
    long m_linesWritten = 0;       // lines of the running recording
    QString m_gaveUp;              // why retrying stopped during the recording; empty: it did not
    bool m_polling = false;        // the polling loop runs
    std::int64_t m_polledMs = 0;   // when the latest poll's value set came; 0: its request got no reply

    QComboBox* EditSelectDataRec;
    QSpinBox* EditInterval;
    QSpinBox* EditRecVal;
    QWidget* DispRecordTime;
    QSpinBox *DispRecDays, *DispRecHours, *DispRecMinutes, *DispRecSeconds;
    QSpinBox* DispRecordedValues;
    QSpinBox* DispRemaining;
    QDoubleSpinBox* DispRecCount;
    QPushButton *ButtonStartRecord, *ButtonStopRecord;
    QPushButton *ButtonStartPolling, *ButtonStopPolling, *ButtonManualRecord;
    QPushButton *ButtonStartTrigRec, *ButtonStopTrigRec;
    QPushButton *ButtonSelRecFile, *ButtonCloseRecorder;
    QPlainTextEdit* DispRecFile;
    QProgressBar *RecBarChRef, *RecBarChDir, *RecBarChDif;
    QSpinBox *RecDispChRef, *RecDispChDir, *RecDispChDif, *RecDispNorm, *RecDispInt, *RecDispTemp;
    QDoubleSpinBox *DispGfRecord, *RecDispPP;
};

}  // namespace tarvo
