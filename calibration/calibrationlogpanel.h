// The calibration log's window CALIBLOG, opened from the calibration panel:
// the records newest first, filtered by sensor, exported as CSV, and each
// record's certificate as PDF or on the printer.
#pragma once

#include "calibrationlog.h"
#include "calibrationstatus.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QDialog;
class QPushButton;
namespace Ui {
class CALIBLOG;
}

namespace tarvo {

class CalibrationLogPanel final : public QObject {
    Q_OBJECT
public:
    CalibrationLogPanel(QPushButton* openButton, const CalibrationLog& log, QString documentsDir, QString program);
    ~CalibrationLogPanel() override;

    QDialog* widget() const { return m_dialog.get(); }
    Ui::CALIBLOG& ui() const { return *m_ui; }

    void CBF_ButtonCalibLog();  // shows the log, read afresh
    void reload();
    void showRecords();  // the records of the sensor chosen, newest first
    void CBF_ButtonExportLog();
    void CBF_ButtonCertificate();
    void CBF_ButtonPrintCertificate();
    // The interval of the sensor chosen (not of "all sensors").
    void CBF_EditCalibInterval();

    // The records shown, in the order shown.
    std::vector<CalibrationRecord> shown() const;

private:
    const CalibrationRecord* selected() const;

    const CalibrationLog& m_log;
    QString m_documentsDir;
    QString m_program;
    std::unique_ptr<QDialog> m_dialog;
    std::unique_ptr<Ui::CALIBLOG> m_ui;
    std::vector<CalibrationRecord> m_records;  // oldest first
    std::vector<size_t> m_rows;                // the records shown, by index, newest first
    std::unique_ptr<CalibrationIntervals> m_intervals;
};

// What the filter knows a record's sensor by: its SENSOR ID, else its identification.
QString sensorKey(const CalibrationRecord& r);

}  // namespace tarvo
