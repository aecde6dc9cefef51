#include "liveloop.h"

#include "connection.h"
#include "mouseactions.h"
#include "panelutil.h"
#include "ui_CALIBP2.h"
#include "ui_GFPANEL.h"
#include "ui_P.h"
#include "ui_VECPANEL.h"

#include <QLCDNumber>
#include <QProgressBar>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

constexpr int kNormFullScale = 1000;
constexpr int kIntFullScale = 4095;

// A band limit as the sensor's signed 16-bit value: the fraction truncated
// toward zero, values beyond the 16-bit range held at its ends.
std::int16_t toInt16(double v)
{
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, double(std::numeric_limits<std::int16_t>::min()),
                   double(std::numeric_limits<std::int16_t>::max()));
    return static_cast<std::int16_t>(std::trunc(v));
}

void setBar(QProgressBar* bar, int value)
{
    // A bar ignores values outside its range; show them at its ends instead.
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

void showPanel(QWidget* panel)
{
    panel->show();
    panel->raise();
    panel->activateWindow();
}

}  // namespace

void displayGloss(QLCDNumber* display, double gf)
{
    display->display(QString::number(gf, 'f', 1));
}

LiveLoop::LiveLoop(Connection& connection, MeasuredValues& measured, const LivePanels& panels)
    : m_transfer(connection.exchange(), connection.link(), connection.pump(), connection.flags(), measured, *this)
    , m_flags(connection.flags())
    , m_exchange(connection.exchange())
    , m_measured(measured)
    , m_panels(panels)
{
    wire();
}

void LiveLoop::wire()
{
    Ui::P& p = *m_panels.main;
    connect(p.ButtonGo, &QPushButton::clicked, this, [this] { CBF_ButtonGo(); });
    connect(p.ButtonStop, &QPushButton::clicked, this, [this] { CBF_ButtonStop(); });
    // Every change of the signal calls back, however it is made; the program
    // sets the ring itself with its signals blocked.
    connect(p.SelectSource, &QComboBox::currentIndexChanged, this, [this] { CBF_SelectSource(); });
    // Choosing the signal already shown still hides the profile (the
    // callback does the same whether it runs once or twice).
    connect(p.SelectSource, &QComboBox::activated, this, [this] { CBF_SelectSource(); });
    connect(p.ButtonCalibrate, &QPushButton::clicked, this, [this] { CBF_ButtonCalibrate(); });
    connect(p.ButtonOpenRecorder, &QPushButton::clicked, this, [this] { CBF_ButtonOpenRecorder(); });
    connect(p.ButtonOpenMonitor, &QPushButton::clicked, this, [this] { CBF_ButtonOpenMonitor(); });

    onMouse(p.DispGF, QEvent::MouseButtonDblClick, Qt::LeftButton, [this] { CBF_DispGF(); });
    onMouse(p.DispVec, QEvent::MouseButtonDblClick, Qt::LeftButton, [this] { CBF_DispVec(); });
    // A right click anywhere on a big display panel hides it; closing hides it too.
    QWidget* gf = m_panels.glossBigPanel;
    QWidget* vec = m_panels.vectorBigPanel;
    onMouse(gf, QEvent::MouseButtonPress, Qt::RightButton, [gf] { gf->hide(); });
    onMouse(vec, QEvent::MouseButtonPress, Qt::RightButton, [vec] { vec->hide(); });
}

void LiveLoop::CBF_ButtonGo()
{
    m_exchange.Transfer(TransferKind::Go, [this] {
        if (m_transfer.running())
            return;  // one loop at a time
        emit buttonsDimmed(1);
        m_transfer.GetData();
        emit buttonsDimmed(0);
    });
}

void LiveLoop::CBF_ButtonStop()
{
    m_flags.poll = 0;
}

void LiveLoop::CBF_SelectSource()
{
    HideProfileGraph();
    emit sourceSelected();
}

void LiveLoop::CBF_DispGF()
{
    showPanel(m_panels.glossBigPanel);
}

void LiveLoop::CBF_DispVec()
{
    showPanel(m_panels.vectorBigPanel);
}

void LiveLoop::CBF_ButtonCalibrate()
{
    emit calibrationAsked();
}

void LiveLoop::CBF_ButtonOpenRecorder()
{
    emit recorderAsked();
}

void LiveLoop::CBF_ButtonOpenMonitor()
{
    m_flags.pollrecord = 0;
    m_flags.poll = 0;
    // The monitor takes the place of the main panel until it is closed.
    m_panels.mainPanel->hide();
    showPanel(m_panels.monitorPanel);
}

void LiveLoop::HideProfileGraph()
{
    setVisibleWithCaption(m_panels.main->GraphProfile, false);
}

void LiveLoop::ShowGraph()
{
    emit graphDue();
}

void LiveLoop::ShowProfile()
{
    emit profileDue();
}

double LiveLoop::teachCell(int row, int col) const
{
    const QTableWidgetItem* item = m_panels.main->TeachTable->item(row, col);
    if (!item)
        return 0.0;
    bool ok = false;
    const double v = item->data(Qt::EditRole).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

void LiveLoop::colourGlossBig(unsigned rgb)
{
    if (rgb == m_glossBigColour)
        return;  // the palette changes only when the colour does
    m_glossBigColour = rgb;
    QLCDNumber* big = m_panels.glossBig->DispGFBig;
    QPalette pal = big->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(rgb));
    big->setPalette(pal);
}

void LiveLoop::SetPanelData()
{
    const MeasuredValues& m = m_measured;
    Ui::P& p = *m_panels.main;

    std::int16_t normUpper = 0, normLower = 0, intUpper = 0, intLower = 0;
    double gfUpper = 0.0, gfLower = 0.0;

    setBar(p.BarChRef, m.dataChRef);
    setBar(p.BarChDir, m.dataChDir);
    setBar(p.BarChDif, m.dataChDif);
    p.DispChRef->setValue(m.dataChRef);
    p.DispChDir->setValue(m.dataChDir);
    p.DispChDif->setValue(m.dataChDif);
    p.DispNorm->setValue(m.dataNorm);
    p.DispINT->setValue(m.dataInt);
    p.DispGF->setValue(m.dataGfDouble);
    displayGloss(m_panels.glossBig->DispGFBig, m.dataGfDouble);
    m_panels.calibration2->DispCalibGfRaw->setValue(m.dataGfRawDouble);
    p.DispVec->setValue(m.dataVec);
    m_panels.vectorBig->DispVecBig->display(int(m.dataVec));
    p.DispTemp->setValue(m.dataTemp);
    p.DispPP->setValue(m.dataPPDouble);

    colourGlossBig(m.dataVec == kNoVector ? kNoVectorColour : kVectorColour);

    // The band of vector n is in table row n + 1 (rows counted from 1).
    const int row = p.EditNo->value();
    if (row >= 0 && row < p.TeachTable->rowCount()) {
        switch (p.SelectSource->currentIndex()) {
        case 0: {  // NORM
            const double a = teachCell(row, 0), t = teachCell(row, 1);
            normUpper = std::min<std::int16_t>(toInt16(a + t), kNormFullScale);
            normLower = std::max<std::int16_t>(toInt16(a - t), 0);
            break;
        }
        case 1: {  // INT
            const double a = teachCell(row, 2), t = teachCell(row, 3);
            intUpper = std::min<std::int16_t>(toInt16(a + t), kIntFullScale);
            intLower = std::max<std::int16_t>(toInt16(a - t), 0);
            break;
        }
        case 2: {  // GF: exact, only the lower limit held at 0
            const double a = teachCell(row, 0), t = teachCell(row, 1);
            gfUpper = a + t;
            gfLower = std::max(a - t, 0.0);
            break;
        }
        default:  // RAW: no band
            break;
        }
    }

    m_lastValueTime = QDateTime::currentDateTime();
    emit valueShown();
    // Every chart advances whatever signal is shown.
    m_history.append({.raw = {double(m.dataChRef), double(m.dataChDir), double(m.dataChDif)},
                      .norm = {double(m.dataNorm), double(normUpper), double(normLower)},
                      .intensity = {double(m.dataInt), double(intUpper), double(intLower)},
                      .gf = {m.dataGfDouble, gfUpper, gfLower},
                      .receivedMs = m.receivedMs});
}

}  // namespace tarvo
