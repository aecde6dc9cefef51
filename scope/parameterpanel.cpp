#include "parameterpanel.h"

#include "dialogs.h"
#include "eventpump.h"
#include "panelutil.h"
#include "paramfile.h"
#include "parameterset.h"
#include "ui_P.h"

#include <QSignalBlocker>
#include <initializer_list>

namespace tarvo {

namespace {
const QString kInfo = QStringLiteral("INFO!");

// A ring's value is its current index; an empty selection reads as 0.
std::uint16_t ringValue(const QComboBox* ring)
{
    return static_cast<std::uint16_t>(ring->currentIndex() < 0 ? 0 : ring->currentIndex());
}

// A value the ring does not list (a hostile sensor or file) leaves the ring
// as it was rather than emptying it.
void setRing(QComboBox* ring, std::uint16_t value)
{
    if (value < ring->count())
        ring->setCurrentIndex(value);
}

std::uint16_t word(const QAbstractSlider* s) { return static_cast<std::uint16_t>(s->value()); }
std::uint16_t word(const QSpinBox* s) { return static_cast<std::uint16_t>(s->value()); }
} // namespace

ParameterPanel::ParameterPanel(Ui::P& ui, ParameterSet& params, Exchange& exchange, Link& link, LoopFlags& flags,
                               EventPump& pump, const QString& projDir, std::function<void(int)> setButtonsDimmed,
                               const MeasuredValues& measured, QObject* parent)
    : QObject(parent)
    , proj_dir(projDir)
    , m_ui(ui)
    , m_params(params)
    , m_pump(pump)
    , m_setButtonsDimmed(std::move(setButtonsDimmed))
    , m_transfer(exchange, link, flags, params, pump, *this)
    , m_teach(ui, params, measured)
{
    // The panel as the defaults leave it: cells follow the evaluation mode,
    // row labels the vector count.
    m_teach.setCellsDimmed(ringValue(m_ui.Evalmode) == 1);
    m_teach.colourRows(m_ui.EditMaxNo->value());
    m_ui.SlidePowerValue->setValue(m_ui.SlidePower->value());
    wire();
}

void ParameterPanel::wire()
{
    Ui::P& p = m_ui;
    connect(p.ButtonSend, &QPushButton::clicked, this, [this] { CBF_ButtonSend(); });
    connect(p.ButtonGet, &QPushButton::clicked, this, [this] { CBF_ButtonGet(); });
    connect(p.SelectRAM, &QPushButton::clicked, this, [this](bool on) { CBF_SelectTarget(m_ui.SelectRAM, RAM, on); });
    connect(p.SelectEEPROM, &QPushButton::clicked, this,
            [this](bool on) { CBF_SelectTarget(m_ui.SelectEEPROM, EEPROM, on); });
    connect(p.SelectFILE, &QPushButton::clicked, this,
            [this](bool on) { CBF_SelectTarget(m_ui.SelectFILE, DATFILE, on); });
    connect(p.ParaVisible, &QCheckBox::clicked, this, [this] { CBF_ParaVisible(); });
    // Rings and switches: only the user's choice calls back (activated /
    // clicked); values the program sets do not.
    connect(p.Evalmode, &QComboBox::activated, this, [this] { InitEval(); });
    connect(p.EditTrigger, &QComboBox::activated, this, [this] { InitTrigger(); });
    connect(p.ExternTeach, &QCheckBox::clicked, this, [this] { InitExteach(); });
    connect(p.EditPmode, &QComboBox::activated, this, [this] { CBF_EditPmode(); });
    connect(p.EditDigitalOutmode, &QComboBox::activated, this, [this] { CBF_EditDigitalOutmode(); });
    // Numeric fields commit on arrows, Enter and focus loss; the program sets
    // them with their signals blocked.
    connect(p.EditAnaOutBeg, &QSpinBox::valueChanged, this, [this] { CBF_AnaOutBegEnd(); });
    connect(p.EditAnaOutEnd, &QSpinBox::valueChanged, this, [this] { CBF_AnaOutBegEnd(); });
    connect(p.EditProfileBeg, &QSpinBox::valueChanged, this, [this] { CBF_ProfileBegEnd(); });
    connect(p.EditProfileEnd, &QSpinBox::valueChanged, this, [this] { CBF_ProfileBegEnd(); });
    // The readout follows the slider whoever moves it.
    connect(p.SlidePower, &QSlider::valueChanged, p.SlidePowerValue, &QSpinBox::setValue);
    // EditAverage, EditHold, EditIntlim, EditBias, EditStTrsh and SlidePower
    // act only through their help texts.
}

void ParameterPanel::GetPanelValues()
{
    Ui::P& p = m_ui;
    ParameterSet& v = m_params;
    v.power = word(p.SlidePower);
    v.pmod = ringValue(p.EditPmode);
    v.average = word(p.EditAverage);
    v.evalmode = ringValue(p.Evalmode);
    v.hold = word(p.EditHold);
    v.intlim = word(p.EditIntlim);
    v.maxno = word(p.EditMaxNo);
    v.digitalout = ringValue(p.EditDigitalOutmode);
    v.trigger = ringValue(p.EditTrigger);
    v.extteach = p.ExternTeach->isChecked() ? 1 : 0;
    v.anaoutbeg = word(p.EditAnaOutBeg);
    v.anaoutend = word(p.EditAnaOutEnd);
    v.bias = ringValue(p.EditBias);
    v.sttrsh = word(p.EditStTrsh);
    v.profilbeg = word(p.EditProfileBeg);
    v.profilend = word(p.EditProfileEnd);
    m_teach.readCells(v.cttDouble);
}

void ParameterPanel::SetPanelValues()
{
    Ui::P& p = m_ui;
    const ParameterSet& v = m_params;
    // Values set here are not user commits: no rule fires for them. A number
    // outside a field's range is shown at the nearest end of the range.
    const QSignalBlocker b1(p.EditMaxNo), b2(p.EditAnaOutBeg), b3(p.EditAnaOutEnd), b4(p.EditProfileBeg),
        b5(p.EditProfileEnd), b6(p.EditAverage), b7(p.EditHold), b8(p.EditIntlim), b9(p.EditStTrsh);
    p.SlidePower->setValue(v.power);
    setRing(p.EditPmode, v.pmod);
    p.EditAverage->setValue(v.average);
    setRing(p.Evalmode, v.evalmode);
    p.EditHold->setValue(v.hold);
    p.EditIntlim->setValue(v.intlim);
    p.EditMaxNo->setValue(v.maxno);
    setRing(p.EditDigitalOutmode, v.digitalout);
    setRing(p.EditTrigger, v.trigger);
    if (v.extteach <= 1)
        p.ExternTeach->setChecked(v.extteach == 1);
    p.EditAnaOutBeg->setValue(v.anaoutbeg);
    p.EditAnaOutEnd->setValue(v.anaoutend);
    setRing(p.EditBias, v.bias);
    p.EditStTrsh->setValue(v.sttrsh);
    p.EditProfileBeg->setValue(v.profilbeg);
    p.EditProfileEnd->setValue(v.profilend);
    m_teach.writeCells(v.cttDouble);
}

void ParameterPanel::ShowFetchedParameters()
{
    // The trigger list must hold the right entries before the trigger is set.
    if (m_params.extteach <= 1)
        m_ui.ExternTeach->setChecked(m_params.extteach == 1);
    InitExteach();
    SetPanelValues();
    InitEval();
}

void ParameterPanel::InitEval()
{
    Ui::P& p = m_ui;
    m_params.evalmode = ringValue(p.Evalmode);
    if (m_params.evalmode == 0) {
        p.SelectSource->setCurrentIndex(0);
        p.EditIntlim->setEnabled(true);
        p.EditBias->setEnabled(false);
        p.ButtonCalibrate->setVisible(false);
        for (QWidget* w : {static_cast<QWidget*>(p.BarChRef), static_cast<QWidget*>(p.BarChDir),
                           static_cast<QWidget*>(p.BarChDif), static_cast<QWidget*>(p.DispChRef),
                           static_cast<QWidget*>(p.DispChDir), static_cast<QWidget*>(p.DispChDif)})
            setVisibleWithCaption(w, true);
        m_teach.setCellsDimmed(false);
    } else if (m_params.evalmode == 1) {
        p.SelectSource->setCurrentIndex(2);
        p.EditIntlim->setEnabled(false);
        p.EditBias->setEnabled(true);
        p.ButtonCalibrate->setVisible(true);
        m_teach.setCellsDimmed(true);
    }
    m_params.pmod = ringValue(p.EditPmode);
    p.SlidePower->setEnabled(m_params.pmod == 0);
    p.SlidePowerValue->setEnabled(m_params.pmod == 0);
    InitExteach();
    InitTrigger();
    DispVis();
}

void ParameterPanel::InitExteach()
{
    QComboBox* trigger = m_ui.EditTrigger;
    m_params.extteach = m_ui.ExternTeach->isChecked() ? 1 : 0;
    if (m_params.extteach == 0) {
        if (trigger->count() <= 2) {
            const char* const names[] = {"EXT1", "EXT2", "EXT3", "EXT4"};
            for (int i = 0; i < 4; ++i)
                trigger->insertItem(2 + i, QString::fromLatin1(names[i]));
        }
    } else {
        // The field is tested, not the variable: after a fetch the variable
        // already holds the fetched trigger, which SetPanelValues shows next.
        if (ringValue(trigger) >= 2)
            trigger->setCurrentIndex(0);
        while (trigger->count() >= 3)
            trigger->removeItem(trigger->count() - 1);
    }
}

void ParameterPanel::InitTrigger()
{
    Ui::P& p = m_ui;
    m_params.evalmode = ringValue(p.Evalmode);
    m_params.trigger = ringValue(p.EditTrigger);
    const int t = m_params.trigger;
    if (t <= 5) {
        const bool external = t >= 2;
        if (external)
            p.ExternTeach->setChecked(false);
        p.ExternTeach->setEnabled(!external);
        p.EditAverage->setEnabled(t != 1 && t != 4);
        p.EditStTrsh->setEnabled(t == 1);
        const bool profile = t == 1 || t == 4;
        p.EditProfileBeg->setEnabled(profile);
        p.EditProfileEnd->setEnabled(profile);
        setVisibleWithCaption(p.ButtonProfile, profile);
        setVisibleWithCaption(p.DispPP, profile);
        setVisibleWithCaption(p.ButtonOpenMonitor, t != 0 && m_params.evalmode == 1);
    }
    m_teach.InitTableLabel();
}

void ParameterPanel::showParameterControls(bool visible)
{
    Ui::P& p = m_ui;
    for (QWidget* w : std::initializer_list<QWidget*>{
             p.EditPmode, p.EditAverage, p.EditTrigger, p.EditIntlim, p.SlidePower, p.EditMaxNo,
             p.EditDigitalOutmode, p.EditAnaOutBeg, p.EditAnaOutEnd, p.EditHold, p.Evalmode, p.ExternTeach,
             p.EditBias, p.EditStTrsh, p.EditProfileBeg, p.EditProfileEnd, p.ParaCaption1, p.ParaCaption2,
             p.ParaCaption3, p.ParaCaption4}) {
        setVisibleWithCaption(w, visible);
        if (w == p.SlidePower)
            p.SlidePowerValue->setVisible(visible);
    }
}

void ParameterPanel::showTeachControls(bool visible)
{
    Ui::P& p = m_ui;
    for (QWidget* w : std::initializer_list<QWidget*>{p.TeachTable, p.ButtonTeachDataTo, p.ButtonResetTable,
                                                      p.EditNo, p.RadioInc})
        setVisibleWithCaption(w, visible);
}

void ParameterPanel::ParaVis()
{
    showTeachControls(false);
    showParameterControls(true);
}

void ParameterPanel::ParaInVis()
{
    showParameterControls(false);
    showTeachControls(true);
}

void ParameterPanel::DispVis()
{
    Ui::P& p = m_ui;
    const int s = p.SelectSource->currentIndex();
    if (s < 0 || s > 3)
        return;
    //                                     NORM   INT    GF     RAW
    const struct {
        QWidget* control;
        bool shown[4];
    } table[] = {
        {p.DispNorm, {true, true, false, false}},
        {p.DispINT, {true, true, false, false}},
        {p.DispGF, {false, false, true, false}},
        {p.DispChRef, {false, false, true, true}},
        {p.DispChDif, {true, true, false, true}},
        {p.BarChRef, {false, false, true, true}},
        {p.BarChDif, {true, true, false, true}},
        {p.GraphRaw1, {false, false, false, true}},
        {p.GraphNorm, {true, false, false, false}},
        {p.GraphInt, {false, true, false, false}},
        {p.GraphGF, {false, false, true, false}},
    };
    for (const auto& row : table)
        setVisibleWithCaption(row.control, row.shown[s]);
}

QString ParameterPanel::chooseFile(bool forWriting)
{
    FileDialogRequest request;
    request.directory = proj_dir;
    request.defaultFile = QString::fromLatin1(kFileDefault);
    request.filter = QStringLiteral("*.ini");
    request.title = QStringLiteral("Parameter");
    request.save = forWriting;
    return dialogs().selectFile(request);
}

void ParameterPanel::SendParaToFile()
{
    const QString chosen = chooseFile(true);
    if (chosen.isEmpty())
        return;
    file_name = chosen;
    GetPanelValues();
    m_params.CopyVarsToPP();
    const ParamFileResult result = writeParameterFile(file_name, m_params.pp);
    if (!result.ok)
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QStringLiteral("The parameters were not saved.\n%1\n%2").arg(file_name, result.error));
}

void ParameterPanel::ReadParaFromFile()
{
    const QString chosen = chooseFile(false);
    if (chosen.isEmpty())
        return;
    file_name = chosen;
    ParameterBlock block{};
    const ParamFileResult result = readParameterFile(file_name, block);
    if (!result.ok) {
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QStringLiteral("%1\nis not a parameter file: %2\nNo parameter was changed.")
                              .arg(file_name, result.error));
        return;
    }
    m_params.pp = block;
    m_params.CopyFileParatoVars();
    ShowFetchedParameters();
}

void ParameterPanel::CBF_ButtonSend()
{
    m_setButtonsDimmed(1);
    if (m_params.target == DATFILE)
        SendParaToFile();
    else
        m_transfer.SendPara();
    m_pump.sleep(0.5);
    m_setButtonsDimmed(0);
}

void ParameterPanel::CBF_ButtonGet()
{
    m_setButtonsDimmed(1);
    if (m_params.target == DATFILE)
        ReadParaFromFile();
    else
        m_transfer.GetPara();
    m_setButtonsDimmed(0);
}

void ParameterPanel::CBF_SelectTarget(QPushButton* toggle, std::uint16_t toggleTarget, bool on)
{
    Ui::P& p = m_ui;
    if (on) {
        m_params.target = toggleTarget;
        for (QPushButton* other : {p.SelectRAM, p.SelectEEPROM, p.SelectFILE})
            other->setChecked(other == toggle);
    } else {
        m_params.target = RAM;
        p.SelectRAM->setChecked(true);
    }
}

void ParameterPanel::CBF_ParaVisible()
{
    if (m_ui.ParaVisible->isChecked())
        ParaVis();
    else
        ParaInVis();
}

void ParameterPanel::CBF_EditPmode()
{
    m_params.pmod = ringValue(m_ui.EditPmode);
    m_ui.SlidePower->setEnabled(m_params.pmod == 0);
    m_ui.SlidePowerValue->setEnabled(m_params.pmod == 0);
}

void ParameterPanel::CBF_EditDigitalOutmode()
{
    m_params.maxno = word(m_ui.EditMaxNo);
    m_params.digitalout = ringValue(m_ui.EditDigitalOutmode);
    if (vectorCountTooHigh(m_params.maxno, m_params.digitalout))
        warnVectorCount();
}

void ParameterPanel::CBF_AnaOutBegEnd()
{
    m_params.anaoutbeg = word(m_ui.EditAnaOutBeg);
    m_params.anaoutend = word(m_ui.EditAnaOutEnd);
    const int beg = m_params.anaoutbeg, end = m_params.anaoutend;
    if (beg >= end || end - beg < 10)
        dialogs().message(kInfo, QStringLiteral("Notice:  \n Analog output range must be higher than 10 units."));
}

void ParameterPanel::CBF_ProfileBegEnd()
{
    m_params.profilbeg = word(m_ui.EditProfileBeg);
    m_params.profilend = word(m_ui.EditProfileEnd);
    const int beg = m_params.profilbeg, end = m_params.profilend;
    if (beg >= end || end - beg < 25)
        dialogs().message(kInfo, QStringLiteral(" Notice:  \n The Profile range must be at least 25%."));
}

} // namespace tarvo
