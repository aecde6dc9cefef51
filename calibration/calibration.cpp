#include "calibration.h"

#include "charts.h"
#include "dialogs.h"
#include "entryfeedback.h"
#include "eventpump.h"
#include "exchange.h"
#include "fileio.h"
#include "link.h"
#include "loopflags.h"
#include "measurement.h"
#include "mouseactions.h"
#include "numbertext.h"
#include "panelutil.h"
#include "parameterset.h"
#include "ui_CALIBP.h"
#include "ui_CALIBP2.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

const QString kAttention = QStringLiteral("ATTENTION!");
const QString kInfo = QStringLiteral("INFO!");

void setButtonColour(QWidget* button, unsigned rgb)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor::fromRgb(QRgb(rgb)));
    button->setPalette(palette);
}

void showPanel(QWidget* panel)
{
    panel->show();
    panel->raise();
    panel->activateWindow();
}

// Cells take only numbers by the one rule; a text that is none is not
// taken, the cell keeps its value and the user is told at the table.
class GridCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const auto* edit = qobject_cast<QLineEdit*>(editor);
        if (edit && !readNumber(QStringView(edit->text()).trimmed())) {
            auto* table = qobject_cast<QWidget*>(parent());
            showEntryNotice(table,
                            QCoreApplication::translate("Calibration",
                                                        "\"%1\" was not taken: a cell holds a number such as 12.5, "
                                                        "with \".\" as decimal point, or -1. The cell keeps %2.")
                                .arg(edit->text().trimmed(), index.data().toString()));
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

QString rangeMessage()
{
    return QCoreApplication::translate(
        "Calibration",
        "Cell value out of range! \r\nTARVO-VALUE: 0.0 to 2000.0 (row 1: 0.0, row 24: 2000.0). \r\n"
        "Other system: 0.0 to 3276.7. \r\nNot used cells: -1.");
}

}  // namespace

Calibration::Calibration(QWidget* calibpanel, const Ui::CALIBP& form1, QWidget* calibpanel2, const Ui::CALIBP2& form2,
                         Exchange& exchange, Link& link, EventPump& pump, LoopFlags& flags, ParameterSet& params,
                         MeasuredValues& measured, MeasurementTransfer& transfer, const QString& proj_dir,
                         QObject* parent)
    : QObject(parent)
    , m_journal(exchange, params, measured)
    , m_panel1(calibpanel)
    , m_panel2(calibpanel2)
    , m_ui2(form2)
    , m_ex(exchange)
    , m_link(link)
    , m_pump(pump)
    , m_flags(flags)
    , m_params(params)
    , m_measured(measured)
    , m_transfer(transfer)
    , m_projDir(proj_dir)
    , m_start(form1.ButtonStartCalib)
    , m_toOther(form1.ButtonCalibToOtherSystem)
    , m_close1(form1.ButtonCloseCalib)
    , m_slideRefPower(form1.SlideRefPower)
    , m_slideRefPowerValue(form1.SlideRefPowerValue)
    , m_dispChRef(form1.DispCalibChRef)
    , m_dispChDir(form1.DispCalibChDir)
    , m_grid(form2.GridMeasuredValues)
    , m_dispGfRaw(form2.DispCalibGfRaw)
    , m_measure(form2.ButtonMeasure)
    , m_graph(form2.GraphCalibBuf)
    , m_send(form2.ButtonSendCalibData)
{
    // Every cell carries an item, so reading and writing never meet an empty one.
    m_grid->setItemDelegate(new GridCellDelegate(m_grid));
    for (int r = 0; r < m_grid->rowCount(); ++r)
        for (int c = 0; c < m_grid->columnCount(); ++c)
            if (!m_grid->item(r, c))
                m_grid->setItem(r, c, new QTableWidgetItem(QStringLiteral("-1.0")));
    m_plot = std::make_unique<SeriesChart>(m_graph);
    const QString gloss = QString::fromLatin1(kUnitGloss);
    m_plot->setAxisTitles(withUnit(QCoreApplication::translate("Calibration", "TARVO-VALUE (GF RAW)"), gloss),
                          withUnit(QCoreApplication::translate("Calibration", "other system"), gloss));
    m_plot->setNames(
        withUnit(QStringLiteral("TARVO-VALUE"), gloss),
        {withUnit(QStringLiteral("calibration curve"), gloss), withUnit(QStringLiteral("identity"), gloss)});
    m_plot->setShownNames({withUnit(QStringLiteral("TARVO-VALUE"), gloss),
                           withUnit(QCoreApplication::translate("Calibration", "calibration curve"), gloss),
                           withUnit(QCoreApplication::translate("Calibration", "identity"), gloss)});
    m_plot->setTitle(QCoreApplication::translate("Calibration", "Calibration to another system"));
    m_plot->setFileStem(QStringLiteral("gloss-calibration-curve"));
    m_plot->setAxisRange(m_plot->xAxis(), 0.0, 2100.0);
    m_plot->setAxisRange(m_plot->yAxis(), 0.0, 2200.0);
    wire();
}

void Calibration::wire()
{
    // Commands that talk to the sensor run as transfers: never inside another's wait.
    auto transfer = [this](TransferKind kind, void (Calibration::*cb)()) {
        return [this, kind, cb] { m_ex.Transfer(kind, [this, cb] { (this->*cb)(); }); };
    };
    connect(m_start, &QPushButton::clicked, this,
            transfer(TransferKind::Calibrate, &Calibration::CBF_ButtonStartCalib));
    connect(m_toOther, &QPushButton::clicked, this,
            transfer(TransferKind::CalibrateOther, &Calibration::CBF_ButtonCalibToOtherSystem));
    connect(m_close1, &QPushButton::clicked, this,
            transfer(TransferKind::CalibrationClose, &Calibration::CBF_ButtonCloseCalib));
    connect(m_slideRefPower, &QSlider::valueChanged, m_slideRefPowerValue, &QSpinBox::setValue);
    m_slideRefPowerValue->setValue(m_slideRefPower->value());

    auto button = [this](QPushButton* b, void (Calibration::*cb)()) {
        connect(b, &QPushButton::clicked, this, [this, cb] { (this->*cb)(); });
    };
    connect(m_measure, &QPushButton::clicked, this,
            transfer(TransferKind::CalibrationMeasure, &Calibration::CBF_ButtonMeasure));
    button(m_ui2.ButtonAssignCal2, &Calibration::CBF_ButtonAssignCal2);
    button(m_ui2.ButtonCalcCalibData, &Calibration::CBF_ButtonCalcCalibData);
    connect(m_ui2.ButtonSendCalibData, &QPushButton::clicked, this,
            transfer(TransferKind::CalibrationTable, &Calibration::CBF_ButtonSendCalibData));
    button(m_ui2.ButtonGetFileFromDisk, &Calibration::CBF_ButtonGetFileFromDisk);
    button(m_ui2.ButtonSaveFileToDisk, &Calibration::CBF_ButtonSaveFileToDisk);
    button(m_ui2.ButtonResetCalibTable, &Calibration::CBF_ButtonResetCalibTable);
    connect(m_ui2.ButtonCloseCalibP2, &QPushButton::clicked, this,
            transfer(TransferKind::CalibrationClose, &Calibration::CBF_ButtonCloseCalibP2));

    onMouse(m_graph, QEvent::MouseButtonDblClick, Qt::LeftButton, [this] { emit scaleAxisPanelShown(true); });
    // The panels' close boxes do nothing: they are left through their close
    // buttons, and Esc presses that button.
    m_panel1->installEventFilter(this);
    m_panel2->installEventFilter(this);
}

bool Calibration::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_panel1 || watched == m_panel2) && event->type() == QEvent::Close) {
        event->ignore();
        // A close from the program (Esc) leaves the panel as its close button
        // does, back to the main panel; a dimmed button does nothing.
        if (!event->spontaneous())
            (watched == m_panel1 ? m_close1 : m_ui2.ButtonCloseCalibP2)->click();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// ---- Reference-100 calibration ------------------------------------------

std::uint16_t Calibration::nextPower(std::uint16_t power, std::uint16_t step, std::uint16_t m)
{
    const int half = step / 2;
    auto p = static_cast<std::uint16_t>(m > kSearchTarget ? power - half : power + half);
    return std::min<std::uint16_t>(p, 1000);
}

void Calibration::CopyCalibVarsToPP()
{
    const ParameterSet& v = m_params;
    const std::uint16_t words[kParamCount] = {v.power, v.pmod,       v.average,   v.evalmode, v.hold,      v.intlim,
                                              v.maxno, v.digitalout, v.trigger,   v.extteach, v.anaoutbeg, v.anaoutend,
                                              v.bias,  v.sttrsh,     v.profilbeg, v.profilend};
    std::copy(std::begin(words), std::end(words), m_params.pp.begin());
}

bool Calibration::SendCalibPara()
{
    // Only the working set: no teach table, no EEPROM store.
    CopyCalibVarsToPP();
    m_link.FlushQueues();
    return bool(m_ex.send({.code = frame::WriteParams, .echoWords = frame::kWords}));
}

void Calibration::wait(double seconds)
{
    m_pump.sleep(seconds * m_settleScale);
}

bool Calibration::readCalibFrame()
{
    if (!m_transfer.ReadMeasurement())
        return false;
    m_dispChDir->setValue(m_measured.dataChDir);
    m_dispChRef->setValue(m_measured.dataChRef);
    return true;
}

void Calibration::StartCalibrationRef100()
{
    // A result of an earlier run must never be confirmed by this one.
    calibok = 0;
    m_searchStarted = false;
    if (!dialogs().confirm(
            QStringLiteral("START CALIBRATION!"),
            QCoreApplication::translate(
                "Calibration",
                " Make sure that the sensor shines \n on the reference target with gloss factor 100 units! ")))
        return;
    m_searchStarted = true;

    m_params.pmod = 0;  // STAT: power kept where the search puts it
    m_params.average = 4096;
    m_params.evalmode = 1;  // gloss mode
    m_params.trigger = 0;   // CONT
    std::uint16_t step = 512;
    m_params.power = 512;
    emit panelValuesDue();

    std::uint16_t m = 0;
    for (int pass = 0; pass < 10; ++pass) {  // always ten passes: the last one is read at the final power
        if (!SendCalibPara())
            return;
        wait(kSettleSeconds);
        if (!readCalibFrame()) {
            m_ex.SetPopupTimeout();
            return;
        }
        m_pump.processEvents();
        m = std::max(m_measured.dataChRef, m_measured.dataChDir);
        m_params.power = nextPower(m_params.power, step, m);
        step /= 2;
        m_slideRefPower->setValue(m_params.power);
        emit powerDue(m_params.power);
    }

    if (!inCalibWindow(m)) {
        dialogs().message(
            kAttention,
            QCoreApplication::translate(
                "Calibration",
                " Calibration can not be done. \n No proper power value can be find. \n Make sure that sensor shines on the reference \n with gloss factor 100 units. \n Make sure that the optical glasses are clean."));
        calibok = 0;
        return;
    }
    CalibCanBeDone();
}

void Calibration::CalibCanBeDone()
{
    m_params.average = 0x8000;  // long average for the final reading
    emit panelValuesDue();
    if (!SendCalibPara())
        return;
    wait(kFinalSettleSeconds);
    if (!readCalibFrame()) {
        m_ex.SetPopupTimeout();
        return;
    }
    calibok = 1;
}

std::uint16_t Calibration::ConfirmCalibration()
{
    if (calibok != 1)
        return calibok;
    m_link.FlushQueues();
    // pp[3..15] stay as the last command 1 left them.
    m_params.pp[0] = m_params.power;
    m_params.pp[1] = m_measured.dataChDir;
    m_params.pp[2] = m_measured.dataChRef;
    return m_ex.send({.code = frame::ConfirmRefCalib, .echoWords = 5, .checkWritten = true}) ? 1 : 0;
}

void Calibration::CBF_ButtonCalibrate()
{
    m_flags.poll = 0;
    calibok = 0;
    pmodold = m_params.pmod;
    averageold = m_params.average;
    evalmodeold = m_params.evalmode;
    triggerold = m_params.trigger;
    emit mainPanelShown(false);
    showPanel(m_panel1);
}

void Calibration::CBF_ButtonStartCalib()
{
    emit buttonsDimmed(1);
    setButtonColour(m_start, kBusyColour);
    const CalibrationRecord::Values before = m_journal.state();
    StartCalibrationRef100();
    bool confirmed = false;  // the sensor acknowledged storing the calibration
    if (calibok == 1) {      // set only when the last echo came right
        confirmed = ConfirmCalibration() == 1;
        if (confirmed)
            dialogs().success(
                kAttention,
                QCoreApplication::translate(
                    "Calibration",
                    " Calibration successful! \n Calibration factors were sent to the EEPROM of the sensor. \n Press CLOSE CALIBRATION to leave calibration panel. \n Press CALIBRATE TO OTHER SYSTEM to calibrate sensor to an other system."));
    }
    m_journal.reference100(before, m_searchStarted, calibok == 1, confirmed,
                           std::max(m_measured.dataChRef, m_measured.dataChDir));
    setButtonColour(m_start, kIdleColour);
    emit buttonsDimmed(0);
}

void Calibration::ChangePanelCalib()
{
    m_params.pmod = pmodold;
    m_params.average = averageold;
    m_params.evalmode = evalmodeold;
    m_params.trigger = triggerold;
    emit panelValuesDue();
    // Dimmed so that nothing else starts an exchange inside the echo wait.
    emit buttonsDimmed(1);
    SendCalibPara();  // a failure has shown the timeout reaction; the panels close anyway
    emit buttonsDimmed(0);
    m_panel1->hide();
    m_panel2->hide();
    emit scaleAxisPanelShown(false);
    emit mainPanelShown(true);
}

void Calibration::CBF_ButtonCloseCalib()
{
    ChangePanelCalib();
}

void Calibration::setOtherSystemParams()
{
    m_params.pmod = 1;  // DYN
    m_params.average = 4096;
    m_params.evalmode = 1;
    m_params.trigger = 0;
    emit panelValuesDue();
}

void Calibration::CBF_ButtonCalibToOtherSystem()
{
    if (!dialogs().confirm(QStringLiteral("CONFIRM!"),
                           QCoreApplication::translate("Calibration", "Was CALIBRATION WITH REF=100 OK?"))) {
        m_journal.otherSystem(m_journal.state(), true, false, false, tableCells());
        return;
    }
    m_panel1->hide();
    showPanel(m_panel2);
    // A value read before, with other settings, is no sample of this calibration.
    m_dispGfRaw->setValue(m_dispGfRaw->minimum());
    setOtherSystemParams();
    emit buttonsDimmed(1);
    const bool sent = SendCalibPara();
    emit buttonsDimmed(0);
    if (sent)
        gridok = 0;
}

// ---- Calibration to another system --------------------------------------

CalibCells Calibration::tableCells()
{
    // A cell typed into with its editor still open counts, however the
    // command was given (a button pressed without taking the focus).
    commitPendingEdits(m_panel2);
    CalibCells t;
    for (int row = 1; row <= kCalibTableRows; ++row)
        for (int col = 1; col <= kCalibTableCols; ++col) {
            const QTableWidgetItem* item = m_grid->item(row - 1, col - 1);
            const auto v = item ? readNumber(QStringView(item->text()).trimmed()) : std::nullopt;
            t.at(col, row) = v ? *v : std::numeric_limits<double>::quiet_NaN();
        }
    return t;
}

void Calibration::setTableCells(const CalibCells& table)
{
    for (int row = 1; row <= kCalibTableRows; ++row)
        for (int col = 1; col <= kCalibTableCols; ++col)
            m_grid->item(row - 1, col - 1)->setText(cellText(table.at(col, row)));
}

void Calibration::ResetCalibTable()
{
    setTableCells(CalibCells::resetValues());
}

void Calibration::selectCell(int col, int row)
{
    // col 0: the whole row.
    m_grid->setFocus();
    const QModelIndex first = m_grid->model()->index(row - 1, col == 0 ? 0 : col - 1);
    const QModelIndex last = m_grid->model()->index(row - 1, col == 0 ? kCalibTableCols - 1 : col - 1);
    m_grid->setCurrentIndex(first);
    m_grid->selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
}

void Calibration::plotCurve()
{
    QList<QPointF> curve, identity;
    curve.reserve(kCurvePoints);
    identity.reserve(kCurvePoints);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double x = i / 10.0;
        curve.append({x, biasBuf[i] / 10.0});
        identity.append({x, x});
    }
    m_plot->setLines(
        {{QCoreApplication::translate("Calibration", "calibration curve"), QColor::fromRgb(QRgb(kCurveColour)), curve},
         {QCoreApplication::translate("Calibration", "identity"), QColor::fromRgb(QRgb(kIdentityColour)), identity}});
}

void Calibration::CalculateCalibrationData()
{
    const TableCheck check = CalculateCurve(tableCells(), biasBuf);
    switch (check.error) {
    case TableError::None:
        plotCurve();
        gridok = 1;
        return;
    case TableError::EndCellUnset:
        dialogs().message(
            kAttention,
            QCoreApplication::translate(
                "Calibration",
                "Cells GF=0.0 and GF=2000.0 must be set! \r\nDefault for row 0 is 0.0! \r\nDefault for row 2000.0 is 2000.0!"));
        break;
    case TableError::HalfRow:
        dialogs().message(
            kAttention,
            QCoreApplication::translate("Calibration", "Both cells in a row must be set or disabled (-1)."));
        break;
    case TableError::OutOfRange: dialogs().message(kAttention, rangeMessage()); break;
    }
    selectCell(check.col, check.row);
    gridok = 0;
}

bool Calibration::SaveCalibData()
{
    SentBuf sent{};
    SampleCurve(biasBuf, sent);
    m_link.FlushQueues();
    if (!m_ex.send({.code = frame::AnnounceCalibTable, .echoWords = 2}))
        return false;
    const std::span<const std::uint16_t> table(sent);
    for (std::uint16_t row = 0; row < kCalibFrames; ++row) {
        const CheckedSend rowFrame{.code = frame::WriteCalibRow,
                                   .arg = row,
                                   .echoWords = 16,
                                   .payload = table.subspan(frame::kCalibRowWords * row, frame::kCalibRowWords),
                                   .checkWritten = true};
        if (!m_ex.send(rowFrame))
            return false;  // the rows already acknowledged stay in the sensor
    }
    return true;
}

void Calibration::CBF_ButtonMeasure()
{
    // The settings this panel set on entry are set and sent again first, so
    // that the value is taken with them whatever became of them since (an
    // entry whose echo failed, a reconnection that read the sensor's own
    // parameters, a sensor that restarted).
    // The keyboard focus waits on the panel meanwhile: a dimmed MEASURE would
    // pass it on to ASSIGN GF RAW, and a second key press there would write
    // the value shown before this measurement.
    const bool hadFocus = m_measure->hasFocus();
    if (hadFocus)
        m_panel2->setFocus(Qt::OtherFocusReason);
    emit buttonsDimmed(1);
    setButtonColour(m_measure, kBusyColour);
    setOtherSystemParams();
    if (SendCalibPara()) {  // a failure has shown the timeout reaction
        wait(kSettleSeconds);
        if (m_transfer.ReadMeasurement())
            m_dispGfRaw->setValue(m_measured.dataGfRawDouble);
        else
            m_ex.SetPopupTimeout();  // the display keeps the value measured before
    }
    setButtonColour(m_measure, kIdleColour);
    emit buttonsDimmed(0);
    if (hadFocus && m_panel2->hasFocus())
        m_measure->setFocus(Qt::OtherFocusReason);
}

void Calibration::CBF_ButtonAssignCal2()
{
    const int col = m_grid->currentColumn() + 1;
    const int row = m_grid->currentRow() + 1;
    if (col == 1 && row >= 2 && row <= kCalibTableRows - 1) {
        // The value written is the one the display beside the button shows.
        if (m_dispGfRaw->value() <= m_dispGfRaw->minimum()) {
            dialogs().message(
                kInfo,
                QCoreApplication::translate("Calibration",
                                            "No GF RAW measured yet! \nPut the sample under the sensor, "
                                            "press MEASURE, then ASSIGN GF RAW. \nThe cell is unchanged."));
            return;
        }
        m_grid->item(row - 1, 0)->setText(cellText(m_dispGfRaw->value()));
        return;
    }
    dialogs().message(
        kInfo,
        QCoreApplication::translate(
            "Calibration",
            "Wrong cell selected! \r\nOnly cells in columne TARVO-VALUE can be selected! \r\nBut without cell 0 and cell 2000.0! "));
}

void Calibration::CBF_ButtonCalcCalibData()
{
    CalculateCalibrationData();
    if (gridok == 1)
        dialogs().message(
            kInfo,
            QCoreApplication::translate(
                "Calibration", "Calculation successful. \nCalibration data can be saved to EEPROM of sensor."));
}

void Calibration::CBF_ButtonSendCalibData()
{
    setButtonColour(m_send, kBusyColour);
    emit buttonsDimmed(1);
    const CalibrationRecord::Values before = m_journal.state();
    CalculateCalibrationData();  // always from the table as it is now
    bool saved = false;          // every frame of the curve acknowledged
    if (gridok == 1) {
        saved = SaveCalibData();
        if (saved)
            dialogs().message(kInfo, QCoreApplication::translate("Calibration", "Calibration data were saved to EE."));
        else
            dialogs().message(kAttention, QCoreApplication::translate("Calibration", "Calibration failed."));
    } else {
        dialogs().message(
            kAttention,
            QCoreApplication::translate("Calibration", "Datas can not be saved. \nCheck grid and repeat calculation."));
    }
    m_journal.otherSystem(before, false, gridok == 1, saved, tableCells());
    setButtonColour(m_send, kIdleColour);
    emit buttonsDimmed(0);
}

QString Calibration::chooseFile(bool forWriting)
{
    FileDialogRequest request;
    request.directory = m_projDir;
    request.defaultFile = QStringLiteral("calib.cfg");
    request.filter = QStringLiteral("*.cfg");
    request.title = QStringLiteral("calib");
    request.save = forWriting;
    QString chosen = dialogs().selectFile(request);
    if (!chosen.isEmpty())
        file_name = chosen;
    return chosen;
}

void Calibration::CBF_ButtonGetFileFromDisk()
{
    const QString path = chooseFile(false);
    if (path.isEmpty())
        return;
    const FileRead file = readWholeFile(path, kCalibFileMaxBytes);
    QString why = file.status == FileRead::Missing ? QCoreApplication::translate("Calibration", "No such file.")
                                                   : file.error;
    std::optional<CalibCells> table;
    if (file.status == FileRead::Ok)
        table = ParseCalibFile(file.content, &why);
    if (!table) {
        dialogs().message(
            kAttention,
            QCoreApplication::translate("Calibration", "Calibration table not loaded. \n%1 \n%2").arg(path, why));
        return;
    }
    setTableCells(*table);  // the curve is not recomputed here
}

void Calibration::CBF_ButtonSaveFileToDisk()
{
    const QString path = chooseFile(true);
    if (path.isEmpty())
        return;
    // Only a table that reads back as it is written goes to the file.
    const CalibCells table = tableCells();
    for (int row = 1; row <= kCalibTableRows; ++row)
        for (int col = 1; col <= kCalibTableCols; ++col)
            if (!cellValueFits(col, row, table.at(col, row))) {
                dialogs().message(kAttention, rangeMessage());
                selectCell(col, row);
                return;
            }
    QString error;
    if (!saveWholeFile(path, FormatCalibFile(table), &error))
        dialogs().message(
            kAttention,
            QCoreApplication::translate("Calibration", "Calibration table not saved. \n%1 \n%2").arg(path, error));
}

void Calibration::CBF_ButtonResetCalibTable()
{
    ResetCalibTable();
}

void Calibration::CBF_ButtonCloseCalibP2()
{
    ChangePanelCalib();
}

}  // namespace tarvo
