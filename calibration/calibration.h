// The two calibrations on their panels: the reference-100 calibration
// (power search, final reading, confirmation to the sensor's EEPROM) on
// CALIBP, and the calibration curve to another measuring system on CALIBP2.
#pragma once

#include "calibcurve.h"
#include "calibrationjournal.h"
#include "charts.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class QChartView;
namespace Ui {
class CALIBP;
class CALIBP2;
}  // namespace Ui
class QDoubleSpinBox;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;

namespace tarvo {

class EventPump;
class Exchange;
class Link;
class MeasurementTransfer;
class ParameterSet;
struct LoopFlags;
struct MeasuredValues;

class Calibration final : public QObject {
    Q_OBJECT
public:
    Calibration(QWidget* calibpanel, const Ui::CALIBP& form1, QWidget* calibpanel2, const Ui::CALIBP2& form2,
                Exchange& exchange, Link& link, EventPump& pump, LoopFlags& flags, ParameterSet& params,
                MeasuredValues& measured, MeasurementTransfer& transfer, const QString& proj_dir,
                QObject* parent = nullptr);

    // Reference-100 calibration: 1 when its final reading came right.
    std::uint16_t calibrationOk() const { return calibok; }
    // Every calibration's record in the calibration log.
    CalibrationJournal& journal() { return m_journal; }

    void CopyCalibVarsToPP();
    // The parameters to the working set, echo checked; false after a failure.
    bool SendCalibPara();
    void StartCalibrationRef100();
    void CalibCanBeDone();
    std::uint16_t ConfirmCalibration();
    void ChangePanelCalib();

    void CBF_ButtonCalibrate();
    void CBF_ButtonStartCalib();
    void CBF_ButtonCalibToOtherSystem();
    void CBF_ButtonCloseCalib();

    // Calibration to another system: the bias table and whether its grid was taken.
    const CurveBuf& bias() const { return biasBuf; }
    std::uint16_t gridOk() const { return gridok; }

    void ResetCalibTable();
    void CalculateCalibrationData();
    // The table to the sensor; false when a frame failed.
    bool SaveCalibData();

    // One value set with this panel's settings into the GF RAW display.
    void CBF_ButtonMeasure();
    void CBF_ButtonAssignCal2();
    void CBF_ButtonCalcCalibData();
    void CBF_ButtonSendCalibData();
    void CBF_ButtonGetFileFromDisk();
    void CBF_ButtonSaveFileToDisk();
    void CBF_ButtonResetCalibTable();
    void CBF_ButtonCloseCalibP2();

    // The table as numbers; a cell that does not read as a number is NaN.
    CalibCells tableCells();
    void setTableCells(const CalibCells& table);

    static constexpr unsigned kBusyColour = 0xFF0000;
    static constexpr unsigned kIdleColour = 0xE0E0E0;
    static constexpr unsigned kCurveColour = 0x0000FF;
    static constexpr unsigned kIdentityColour = 0x00FF00;
    static constexpr std::uint16_t kSearchTarget = 3850;
    static constexpr std::uint16_t kWindowLow = 3550;   // exclusive
    static constexpr std::uint16_t kWindowHigh = 3950;  // exclusive
    static constexpr double kSettleSeconds = 0.4;
    static constexpr double kFinalSettleSeconds = 2.0;
    // The settling pauses last their seconds times this (0 to 1); tests about
    // what a calibration sends, not about its pace, shorten them.
    void setSettleScale(double scale) { m_settleScale = scale; }

    // One step of the power search: half the step up when m is at or below
    // the target, down when above, never above full power.
    static std::uint16_t nextPower(std::uint16_t power, std::uint16_t step, std::uint16_t m);
    static bool inCalibWindow(std::uint16_t m) { return m > kWindowLow && m < kWindowHigh; }

signals:
    // What the calibrations change beyond their panels; connected directly,
    // each has taken effect when the calibration goes on.
    void buttonsDimmed(int dim);
    void panelValuesDue();               // the parameters it set, to the main panel
    void powerDue(std::uint16_t power);  // the main panel's power slider
    void mainPanelShown(bool on);
    void scaleAxisPanelShown(bool on);

private:
    std::uint16_t calibok = 0;
    CalibrationJournal m_journal;
    CurveBuf biasBuf{};
    std::uint16_t gridok = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void wire();
    bool readCalibFrame();
    void setOtherSystemParams();  // dynamic power, average 4096, gloss mode, CONT
    void wait(double seconds);
    void selectCell(int col, int row);
    void plotCurve();
    QString chooseFile(bool forWriting);

    // The main panel's settings, put back when the calibration panels close.
    std::uint16_t pmodold = 0, averageold = 0, evalmodeold = 0, triggerold = 0;
    QString file_name;  // the file of the last table dialog

    double m_settleScale = 1.0;
    bool m_searchStarted = false;  // the user confirmed the start of the last power search
    QWidget* m_panel1;
    QWidget* m_panel2;
    const Ui::CALIBP2& m_ui2;
    Exchange& m_ex;
    Link& m_link;
    EventPump& m_pump;
    LoopFlags& m_flags;
    ParameterSet& m_params;
    MeasuredValues& m_measured;
    MeasurementTransfer& m_transfer;
    QString m_projDir;

    QPushButton* m_start;
    QPushButton* m_toOther;
    QPushButton* m_close1;
    QSlider* m_slideRefPower;
    QSpinBox* m_slideRefPowerValue;
    QSpinBox* m_dispChRef;
    QSpinBox* m_dispChDir;
    QTableWidget* m_grid;
    QDoubleSpinBox* m_dispGfRaw;
    QPushButton* m_measure;
    QChartView* m_graph;
    std::unique_ptr<SeriesChart> m_plot;
    QPushButton* m_send;
};

}  // namespace tarvo
