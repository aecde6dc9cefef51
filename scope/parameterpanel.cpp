#include "parameterpanel.h"

#include "dialogs.h"
#include "entryfeedback.h"
#include "eventpump.h"
#include "exchange.h"
#include "frame.h"
#include "link.h"
#include "panelutil.h"
#include "parameterset.h"
#include "paramfile.h"
#include "ui_P.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <array>
#include <initializer_list>

namespace tarvo {

namespace {
const QString kInfo = QStringLiteral("INFO!");
const QString kHeldColour = QStringLiteral("color: #c00000;");

std::uint16_t ring(const QComboBox* r)
{
    return static_cast<std::uint16_t>(ringValue(r));
}
}  // namespace

// A number the sensor (or a file) holds that a field's range cannot show is
// kept: the field shows the nearest value it can, says so, and the kept
// number is what is read back until the user changes or types into the field.
template <typename Field>
void ParameterPanel::showWord(Field* field, std::uint16_t value)
{
    field->setValue(value);
    if (field->value() == value) {
        forgetHeld(field);
        return;
    }
    const auto held = m_held.constFind(field);
    const QString own = held != m_held.constEnd() ? held->ownToolTip : field->toolTip();
    m_held.insert(field, {value, field->value(), own});
    field->setToolTip(tr("The sensor holds %1, which this field cannot show (%2 … %3). "
                         "It is sent back unchanged unless you change the field.")
                          .arg(value)
                          .arg(field->minimum())
                          .arg(field->maximum()));
    setFieldStyle(field, kHeldColour, true);
}

template <typename Field>
std::uint16_t ParameterPanel::readWord(Field* field) const
{
    const auto held = m_held.constFind(field);
    if (held != m_held.constEnd() && field->value() == held->shown)
        return held->value;
    return static_cast<std::uint16_t>(field->value());
}

void ParameterPanel::forgetHeld(QWidget* field)
{
    const auto held = m_held.constFind(field);
    if (held == m_held.constEnd())
        return;
    field->setToolTip(held->ownToolTip);
    setFieldStyle(field, kHeldColour, false);
    m_held.erase(held);
}

ParameterPanel::ParameterPanel(Ui::P& ui, ParameterSet& params, Exchange& exchange, Link& link, LoopFlags& flags,
                               EventPump& pump, const QString& projDir, const MeasuredValues& measured, QObject* parent)
    : QObject(parent)
    , proj_dir(projDir)
    , m_ui(ui)
    , m_params(params)
    , m_pump(pump)
    , m_ex(exchange)
    , m_link(link)
    , m_transfer(exchange, link, flags, params, pump, *this)
    , m_teach(ui, params, measured)
{
    // The panel as the defaults leave it: cells follow the evaluation mode,
    // row labels the vector count.
    m_teach.setCellsDimmed(ring(m_ui.Evalmode) == 1);
    m_teach.colourRows(m_ui.EditMaxNo->value());
    {
        const QSignalBlocker quiet(m_ui.SlidePowerValue);
        m_ui.SlidePowerValue->setValue(m_ui.SlidePower->value());
    }
    wire();
    readFields(m_synced);  // the panel's defaults are no edit
}

void ParameterPanel::wire()
{
    Ui::P& p = m_ui;
    connect(p.ButtonSend, &QPushButton::clicked, this, [this] { CBF_ButtonSend(); });
    connect(p.ButtonGet, &QPushButton::clicked, this, [this] { CBF_ButtonGet(); });
    // Rings and switches run their rules on every change of value, however
    // it is made (mouse, keyboard, assistive technology); values the program
    // sets itself are set with the signals blocked, so no rule runs for them.
    connect(p.SelectRAM, &QPushButton::toggled, this, [this](bool on) { CBF_SelectTarget(m_ui.SelectRAM, RAM, on); });
    connect(p.SelectEEPROM, &QPushButton::toggled, this,
            [this](bool on) { CBF_SelectTarget(m_ui.SelectEEPROM, EEPROM, on); });
    connect(p.SelectFILE, &QPushButton::toggled, this,
            [this](bool on) { CBF_SelectTarget(m_ui.SelectFILE, DATFILE, on); });
    for (QPushButton* each : {p.SelectRAM, p.SelectEEPROM, p.SelectFILE})
        showCheckedState(each);
    connect(p.ParaVisible, &QCheckBox::toggled, this, [this] { CBF_ParaVisible(); });
    connect(p.Evalmode, &QComboBox::currentIndexChanged, this, [this] { InitEval(); });
    connect(p.EditTrigger, &QComboBox::currentIndexChanged, this, [this] { InitTrigger(); });
    connect(p.ExternTeach, &QCheckBox::stateChanged, this, [this](int state) {
        if (state != Qt::PartiallyChecked)
            m_ui.ExternTeach->setTristate(false);
        InitExteach();
    });
    connect(p.EditPmode, &QComboBox::currentIndexChanged, this, [this] { CBF_EditPmode(); });
    connect(p.EditDigitalOutmode, &QComboBox::currentIndexChanged, this, [this] { CBF_EditDigitalOutmode(); });
    // A field that shows a kept value stops keeping it once the user changes
    // it or types into it (typing the number shown, then Enter, is an edit too).
    for (const auto& number : numberFields()) {
        QSpinBox* field = number.first;
        connect(field, &QSpinBox::valueChanged, this, [this, field] { forgetHeld(field); });
        if (auto* text = field->findChild<QLineEdit*>())
            connect(text, &QLineEdit::textEdited, this, [this, field] { forgetHeld(field); });
    }
    connect(p.SlidePower, &QSlider::valueChanged, this, [this] { forgetHeld(m_ui.SlidePower); });
    // Numeric fields commit on arrows, Enter and focus loss; the program sets
    // them with their signals blocked.
    connect(p.EditAnaOutBeg, &QSpinBox::valueChanged, this, [this] { CBF_AnaOutBegEnd(); });
    connect(p.EditAnaOutEnd, &QSpinBox::valueChanged, this, [this] { CBF_AnaOutBegEnd(); });
    connect(p.EditProfileBeg, &QSpinBox::valueChanged, this, [this] { CBF_ProfileBegEnd(); });
    connect(p.EditProfileEnd, &QSpinBox::valueChanged, this, [this] { CBF_ProfileBegEnd(); });
    // The readout follows the slider whoever moves it, and a value typed
    // into it moves the slider (up to its end; the readout then shows where
    // the slider stopped). The program sets the readout with its signals blocked.
    connect(p.SlidePower, &QSlider::valueChanged, this, [this](int v) {
        const QSignalBlocker quiet(m_ui.SlidePowerValue);
        m_ui.SlidePowerValue->setValue(v);
    });
    connect(p.SlidePowerValue, &QSpinBox::valueChanged, this, [this](int typed) {
        m_ui.SlidePower->setValue(typed);
        const QSignalBlocker quiet(m_ui.SlidePowerValue);
        m_ui.SlidePowerValue->setValue(m_ui.SlidePower->value());
    });
    // EditAverage, EditHold, EditIntlim, EditBias, EditStTrsh and SlidePower
    // act only through their help texts.

    // The unsent marks follow every change, after the field's own callback
    // (which may change other fields).
    for (const auto& number : numberFields())
        connect(number.first, &QSpinBox::valueChanged, this, &ParameterPanel::updateUnsentMarks);
    for (const auto& r : ringFields())
        connect(r.first, &QComboBox::currentIndexChanged, this, &ParameterPanel::updateUnsentMarks);
    connect(p.SlidePower, &QSlider::valueChanged, this, &ParameterPanel::updateUnsentMarks);
    connect(p.ExternTeach, &QCheckBox::stateChanged, this, &ParameterPanel::updateUnsentMarks);
    connect(p.TeachTable, &QTableWidget::itemChanged, this, &ParameterPanel::updateUnsentMarks);
}

std::vector<std::pair<QSpinBox*, std::uint16_t ParameterSet::*>> ParameterPanel::numberFields() const
{
    const Ui::P& p = m_ui;
    return {{p.EditAverage, &ParameterSet::average},     {p.EditHold, &ParameterSet::hold},
            {p.EditIntlim, &ParameterSet::intlim},       {p.EditMaxNo, &ParameterSet::maxno},
            {p.EditAnaOutBeg, &ParameterSet::anaoutbeg}, {p.EditAnaOutEnd, &ParameterSet::anaoutend},
            {p.EditStTrsh, &ParameterSet::sttrsh},       {p.EditProfileBeg, &ParameterSet::profilbeg},
            {p.EditProfileEnd, &ParameterSet::profilend}};
}

std::vector<std::pair<QComboBox*, std::uint16_t ParameterSet::*>> ParameterPanel::ringFields() const
{
    const Ui::P& p = m_ui;
    return {{p.EditPmode, &ParameterSet::pmod},
            {p.Evalmode, &ParameterSet::evalmode},
            {p.EditDigitalOutmode, &ParameterSet::digitalout},
            {p.EditTrigger, &ParameterSet::trigger},
            {p.EditBias, &ParameterSet::bias}};
}

void ParameterPanel::GetPanelValues()
{
    readPanelValues(m_params);
    m_lastPanelRead = m_params;
}

void ParameterPanel::readPanelValues(ParameterSet& v)
{
    commitPendingEdits(m_ui.TeachTable->window());
    readFields(v);
}

void ParameterPanel::readFields(ParameterSet& v) const
{
    const Ui::P& p = m_ui;
    v.power = readWord(p.SlidePower);
    for (const auto& [field, word] : numberFields())
        v.*word = readWord(field);
    for (const auto& [field, word] : ringFields())
        v.*word = ring(field);
    v.extteach = externTeach();
    m_teach.readCells(v.cttDouble);
}

void ParameterPanel::SetPanelValues()
{
    Ui::P& p = m_ui;
    const ParameterSet& v = m_params;
    // Values set here are not user commits: no rule fires for them. A number
    // a field cannot show is kept and flagged (showWord); a ring value no
    // entry lists gets an entry of its own.
    const QSignalBlocker b1(p.EditMaxNo), b2(p.EditAnaOutBeg), b3(p.EditAnaOutEnd), b4(p.EditProfileBeg),
        b5(p.EditProfileEnd), b6(p.EditAverage), b7(p.EditHold), b8(p.EditIntlim), b9(p.EditStTrsh), b10(p.EditPmode),
        b11(p.Evalmode), b12(p.EditDigitalOutmode), b13(p.EditTrigger), b14(p.EditBias), b15(p.ExternTeach);
    m_quietMarks = true;
    showWord(p.SlidePower, v.power);
    {
        const QSignalBlocker quiet(p.SlidePowerValue);
        p.SlidePowerValue->setValue(v.power);  // the readout shows the real value
    }
    for (const auto& [field, word] : numberFields())
        showWord(field, v.*word);
    // With external teach on the list holds no EXT entries: an EXT trigger
    // then shows as CONT, as the list rules say; other values are kept.
    const bool extTriggersListed = p.EditTrigger->count() > 2;
    for (const auto& [field, word] : ringFields())
        setRingValue(field,
                     field == p.EditTrigger && !extTriggersListed && v.trigger >= 2 && v.trigger <= 5 ? 0 : v.*word);
    setRingEntry(p.EditPmode, v.pmod == 0 ? 0 : 1, v.pmod);  // 0 = STAT, any other value DYN
    setExternTeach(v.extteach);
    m_teach.writeCells(v.cttDouble);
    m_quietMarks = false;
    updateUnsentMarks();
}

void ParameterPanel::ShowFetchedParameters()
{
    showParameters();
    markSynced();
    m_rowsNotRead = 0;
}

void ParameterPanel::showParameters()
{
    // The trigger list must hold the right entries before the trigger is set.
    {
        const QSignalBlocker quiet(m_ui.ExternTeach);
        setExternTeach(m_params.extteach);
    }
    InitExteach();
    SetPanelValues();
    InitEval();
}

void ParameterPanel::ShowPartlyFetchedParameters(int rowsRead)
{
    // The rows not read keep what the panel shows, marked as not known: a
    // SEND writes them as shown, and the user sees which they are.
    TeachCells shown;
    m_teach.readCells(shown);
    for (int r = std::max(rowsRead, 0); r < kTeachRows; ++r)
        m_params.cttDouble[static_cast<size_t>(r)] = shown[static_cast<size_t>(r)];
    const TeachCells syncedBefore = m_synced.cttDouble;
    ShowFetchedParameters();
    // What the sensor holds in those rows is not known: their unsent marks stay.
    for (int r = std::max(rowsRead, 0); r < kTeachRows; ++r)
        m_synced.cttDouble[static_cast<size_t>(r)] = syncedBefore[static_cast<size_t>(r)];
    updateUnsentMarks();
    m_teach.markUnread(rowsRead);
    m_rowsNotRead = kTeachRows - std::max(rowsRead, 0);
}

void ParameterPanel::InitEval()
{
    Ui::P& p = m_ui;
    m_params.evalmode = ring(p.Evalmode);
    const QSignalBlocker quietSource(p.SelectSource);
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
    m_params.pmod = ring(p.EditPmode);
    p.SlidePower->setEnabled(m_params.pmod == 0);
    p.SlidePowerValue->setEnabled(m_params.pmod == 0);
    InitExteach();
    InitTrigger();
    DispVis();
}

void ParameterPanel::InitExteach()
{
    QComboBox* trigger = m_ui.EditTrigger;
    const QSignalBlocker quiet(trigger);  // the list changes here; InitTrigger follows where needed
    m_params.extteach = externTeach();
    if (m_params.extteach == 0) {
        if (trigger->count() <= 2) {
            const char* const names[] = {"EXT1", "EXT2", "EXT3", "EXT4"};
            for (int i = 0; i < 4; ++i)
                trigger->insertItem(2 + i, QString::fromLatin1(names[i]));
        }
    } else if (m_params.extteach == 1) {
        // The field is tested, not the variable: after a fetch the variable
        // already holds the fetched trigger, which SetPanelValues shows next.
        if (ring(trigger) >= 2)
            trigger->setCurrentIndex(0);
        while (trigger->count() >= 3)
            trigger->removeItem(trigger->count() - 1);
    }
}

void ParameterPanel::InitTrigger()
{
    Ui::P& p = m_ui;
    m_params.evalmode = ring(p.Evalmode);
    m_params.trigger = ring(p.EditTrigger);
    const int t = m_params.trigger;
    if (t <= 5) {
        const bool external = t >= 2;
        if (external) {
            const QSignalBlocker quiet(p.ExternTeach);
            setExternTeach(0);
        }
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
             p.EditPmode,      p.EditAverage,        p.EditTrigger,   p.EditIntlim,    p.SlidePower,
             p.EditMaxNo,      p.EditDigitalOutmode, p.EditAnaOutBeg, p.EditAnaOutEnd, p.EditHold,
             p.Evalmode,       p.ExternTeach,        p.EditBias,      p.EditStTrsh,    p.EditProfileBeg,
             p.EditProfileEnd, p.ParaCaption1,       p.ParaCaption2,  p.ParaCaption3,  p.ParaCaption4}) {
        setVisibleWithCaption(w, visible);
        if (w == p.SlidePower)
            p.SlidePowerValue->setVisible(visible);
    }
}

void ParameterPanel::showTeachControls(bool visible)
{
    Ui::P& p = m_ui;
    for (QWidget* w :
         std::initializer_list<QWidget*>{p.TeachTable, p.ButtonTeachDataTo, p.ButtonResetTable, p.EditNo, p.RadioInc})
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
        {p.DispNorm, {true, true, false, false}},   {p.DispINT, {true, true, false, false}},
        {p.DispGF, {false, false, true, false}},    {p.DispChRef, {false, false, true, true}},
        {p.DispChDif, {true, true, false, true}},   {p.BarChRef, {false, false, true, true}},
        {p.BarChDif, {true, true, false, true}},    {p.GraphRaw1, {false, false, false, true}},
        {p.GraphNorm, {true, false, false, false}}, {p.GraphInt, {false, true, false, false}},
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

bool ParameterPanel::SendParaToFile()
{
    const QString chosen = chooseFile(true);
    if (chosen.isEmpty())
        return false;
    file_name = chosen;
    GetPanelValues();
    m_params.CopyVarsToPP();
    const ParamFileResult result = writeParameterFile(file_name, m_params.pp);
    if (!result.ok) {
        dialogs().message(QStringLiteral("ATTENTION!"),
                          tr("The parameters were not saved.\n%1\n%2").arg(file_name, result.error));
        return false;
    }
    // Saved is kept: the edits are no longer only on the panel.
    m_synced = m_lastPanelRead;
    updateUnsentMarks();
    return true;
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
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            tr("%1\nis not a parameter file: %2\nNo parameter was changed.").arg(file_name, result.error));
        return;
    }
    m_params.pp = block;
    m_params.CopyFileParatoVars();
    ShowFetchedParameters();
}

void ParameterPanel::setExternTeach(std::uint16_t value)
{
    QCheckBox* box = m_ui.ExternTeach;
    if (value <= 1) {
        box->setTristate(false);
        box->setChecked(value == 1);
        box->setToolTip(QString());
        return;
    }
    // Neither off nor on: shown half checked and kept until the user chooses.
    m_externTeachOther = value;
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    box->setToolTip(tr("The sensor holds external teach = %1 (other than OFF or ON); it is sent back unchanged "
                       "unless you change it.")
                        .arg(value));
}

std::uint16_t ParameterPanel::externTeach() const
{
    const Qt::CheckState state = m_ui.ExternTeach->checkState();
    if (state == Qt::PartiallyChecked)
        return m_externTeachOther;
    return state == Qt::Checked ? 1 : 0;
}

void ParameterPanel::CBF_ButtonSend(std::function<void(bool)> done)
{
    // What the panel shows now is what goes out, also when the send has to
    // wait for a running transfer whose fetch overwrites the panel meanwhile.
    ParameterSet shown = m_params;
    readPanelValues(shown);
    m_ex.Transfer(TransferKind::Send, [this, shown, done = std::move(done)] {
        emit buttonsDimmed(1);
        showAgainIfOverwritten(shown);
        // The target too is the one chosen at the press: a send that waited
        // goes where the user meant, and the toggles show it.
        if (m_params.target != shown.target) {
            Ui::P& p = m_ui;
            QPushButton* toggle = shown.target == DATFILE ? p.SelectFILE
                : shown.target == EEPROM                  ? p.SelectEEPROM
                                                          : p.SelectRAM;
            CBF_SelectTarget(toggle, shown.target, true);
        }
        bool sent = false;
        if (m_params.target == DATFILE)
            sent = SendParaToFile();
        else if (rowsNotReadMaySend())
            sent = SendPara();
        m_pump.sleep(m_afterSendPause);
        emit buttonsDimmed(0);
        if (done)
            done(sent);
    });
}

void ParameterPanel::showAgainIfOverwritten(const ParameterSet& shown)
{
    ParameterSet now = m_params;
    readPanelValues(now);
    const auto block = [](ParameterSet set) {
        set.CopyVarsToPP();
        return set.pp;
    };
    if (block(now) == block(shown))
        return;
    // The panel shows again what is sent, so the panel and the sensor agree.
    const auto target = m_params.target;
    m_params = shown;
    m_params.target = target;
    showParameters();
}

void ParameterPanel::CBF_ButtonGet()
{
    m_ex.Transfer(TransferKind::Get, [this] {
        emit buttonsDimmed(1);
        if (m_params.target == DATFILE)
            ReadParaFromFile();
        else
            GetPara();
        emit buttonsDimmed(0);
    });
}

void ParameterPanel::CBF_SelectTarget(QPushButton* toggle, std::uint16_t toggleTarget, bool on)
{
    Ui::P& p = m_ui;
    const QSignalBlocker b1(p.SelectRAM), b2(p.SelectEEPROM), b3(p.SelectFILE);
    if (on) {
        m_params.target = toggleTarget;
        for (QPushButton* other : {p.SelectRAM, p.SelectEEPROM, p.SelectFILE})
            other->setChecked(other == toggle);
    } else {
        m_params.target = RAM;
        p.SelectRAM->setChecked(true);
    }
    for (QPushButton* each : {p.SelectRAM, p.SelectEEPROM, p.SelectFILE})
        showCheckedState(each);
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
    m_params.pmod = ring(m_ui.EditPmode);
    m_ui.SlidePower->setEnabled(m_params.pmod == 0);
    m_ui.SlidePowerValue->setEnabled(m_params.pmod == 0);
}

void ParameterPanel::CBF_EditDigitalOutmode()
{
    m_params.maxno = readWord(m_ui.EditMaxNo);
    m_params.digitalout = ring(m_ui.EditDigitalOutmode);
    if (vectorCountTooHigh(m_params.maxno, m_params.digitalout))
        warnVectorCount();
}

void ParameterPanel::CBF_AnaOutBegEnd()
{
    m_params.anaoutbeg = readWord(m_ui.EditAnaOutBeg);
    m_params.anaoutend = readWord(m_ui.EditAnaOutEnd);
    const int beg = m_params.anaoutbeg, end = m_params.anaoutend;
    if (beg >= end || end - beg < 10)
        dialogs().message(kInfo, tr("Notice:  \n Analog output range must be higher than 10 units."));
}

void ParameterPanel::CBF_ProfileBegEnd()
{
    m_params.profilbeg = readWord(m_ui.EditProfileBeg);
    m_params.profilend = readWord(m_ui.EditProfileEnd);
    const int beg = m_params.profilbeg, end = m_params.profilend;
    if (beg >= end || end - beg < 25)
        dialogs().message(kInfo, tr(" Notice:  \n The Profile range must be at least 25%."));
}

bool ParameterPanel::withProgress(const std::function<bool()>& transfer)
{
    const QString status = m_ui.DispStatus->text();
    m_lastStep = 0;
    m_progressShown = false;
    const bool ok = transfer();
    if (ok && m_progressShown)
        m_ui.DispStatus->setText(status);
    return ok;
}

void ParameterPanel::TransferStep(std::uint16_t command, int row)
{
    m_lastStep = command;
    // Over TCP a transfer is over before a status could be read.
    if (!m_link.isSerial())
        return;
    QString text;
    switch (command) {
    case frame::WriteParams: text = tr("writing the parameters"); break;
    case frame::WriteTeachRow: text = tr("writing row %1 of %2").arg(row + 1).arg(kTeachRows); break;
    case frame::StoreEeprom: text = tr("storing the set in the EEPROM"); break;
    case frame::LoadEeprom: text = tr("loading the set from the EEPROM"); break;
    case frame::ReadParams: text = tr("reading the parameters"); break;
    case frame::ReadTeachRow: text = tr("reading row %1 of %2").arg(row + 1).arg(kTeachRows); break;
    default: return;
    }
    m_ui.DispStatus->setText(text);
    m_progressShown = true;
}

bool ParameterPanel::GetPara()
{
    // A fetch that goes through shows the set and takes it as synced.
    return withProgress([this] { return m_transfer.GetPara(); });
}

bool ParameterPanel::rowsNotReadMaySend()
{
    if (m_rowsNotRead <= 0)
        return true;
    const int first = kTeachRows - m_rowsNotRead + 1;
    const QString rows = first == kTeachRows ? tr("teach row %1").arg(first)
                                             : tr("teach rows %1-%2").arg(first).arg(kTeachRows);
    switch (dialogs().ask(QStringLiteral("ATTENTION!"),
                          tr(" The last GET stopped short: %1 were not read from the sensor. \n"
                             " SEND writes them as the panel shows them, over what the sensor holds. \n\n"
                             " SEND THEM, READ AGAIN first, or Cancel? ")
                              .arg(rows),
                          tr("SEND THEM"), tr("READ AGAIN"))) {
    case Dialogs::Answer::Yes: return true;
    case Dialogs::Answer::No: GetPara(); return false;
    case Dialogs::Answer::Cancel: return false;
    }
    return false;
}

void ParameterPanel::WriteCut(const CutWrite& cut)
{
    // The earlier set is the one last read or sent in whole; the panel keeps
    // the set that was sent. The rows acknowledged count as synced, the rest
    // stay marked.
    m_cut = cut;
    m_cutSent = m_lastPanelRead;
    m_cutEarlier = m_synced;
    TeachCells teach = m_synced.cttDouble;
    for (int r = 0; r < cut.rowsWritten; ++r)
        teach[static_cast<size_t>(r)] = m_lastPanelRead.cttDouble[static_cast<size_t>(r)];
    m_synced = m_lastPanelRead;
    m_synced.cttDouble = teach;
    updateUnsentMarks();
    m_rowsNotRead = 0;
}

bool ParameterPanel::OfferToFinishCutWrite()
{
    if (!m_cut)
        return false;
    const CutWrite cut = *m_cut;
    m_cut.reset();
    const Dialogs::Answer answer = dialogs().ask(
        QStringLiteral("ATTENTION!"),
        tr(" The last SEND was cut short: the sensor holds a mixed set, \n %1. \n\n"
           " FINISH THE WRITE sends the set that was sent again; PUT THE EARLIER SET BACK sends the set read or "
           "sent before it; Cancel leaves the sensor as it is. ")
            .arg(describeCutWrite(cut, 1)),
        tr("FINISH THE WRITE"), tr("PUT THE EARLIER SET BACK"));
    if (answer == Dialogs::Answer::Cancel)
        return true;
    // Shown, then sent as any set; the toggles keep the user's target.
    const auto target = m_params.target;
    m_params = answer == Dialogs::Answer::Yes ? m_cutSent : m_cutEarlier;
    m_params.target = answer == Dialogs::Answer::Yes && cut.eeprom ? EEPROM : RAM;
    showParameters();
    emit buttonsDimmed(1);
    SendPara();
    emit buttonsDimmed(0);
    m_params.target = target;
    return true;
}

bool ParameterPanel::SendPara()
{
    const bool sent = withProgress([this] { return m_transfer.SendPara(); });
    if (sent) {
        m_synced = m_lastPanelRead;
        m_rowsNotRead = 0;
        m_cut.reset();
        updateUnsentMarks();
    } else if (m_cut && m_transfer.lastCut()) {
        dialogs().notice(QStringLiteral("ATTENTION!"),
                         tr(" THE WRITE WAS CUT SHORT \n\n The sensor now holds a mixed set: \n %1. \n\n"
                            " The panel keeps the set that was sent. When the sensor answers again, you can finish "
                            "the write or put the earlier set back. ")
                             .arg(describeCutWrite(*m_cut, 1)));
    } else if (m_lastStep == frame::StoreEeprom) {
        emit failureExplained(
            tr("RAM got the set, the EEPROM store was not confirmed"),
            tr("The sensor took the whole parameter set into its RAM and works with it now, but did not "
               "confirm storing it in its EEPROM: after a power cut it may start with its old set. "
               "SEND to the EEPROM again once it answers."));
    }
    return sent;
}

void ParameterPanel::markSynced()
{
    readFields(m_synced);
    updateUnsentMarks();
}

void ParameterPanel::markParametersSynced()
{
    const TeachCells teach = m_synced.cttDouble;
    readFields(m_synced);
    m_synced.cttDouble = teach;
    updateUnsentMarks();
}

void ParameterPanel::updateUnsentMarks()
{
    if (m_quietMarks)
        return;
    const ParameterSet& s = m_synced;
    const bool power = readWord(m_ui.SlidePower) != s.power;
    markUnsent(m_ui.SlidePower, power);
    markUnsent(m_ui.SlidePowerValue, power);
    for (const auto& [field, word] : numberFields())
        markUnsent(field, readWord(field) != s.*word);
    for (const auto& [field, word] : ringFields())
        markUnsent(field, ring(field) != s.*word);
    markUnsent(m_ui.ExternTeach, externTeach() != s.extteach);
    m_teach.markUnsentCells(s.cttDouble);
}

QStringList ParameterPanel::unsentFields()
{
    // Typed but not yet confirmed is changed too.
    commitPendingEdits(m_ui.TeachTable->window());
    updateUnsentMarks();
    Ui::P& p = m_ui;
    QStringList names;
    for (QWidget* field : std::initializer_list<QWidget*>{
             p.EditPmode, p.SlidePower, p.EditAverage, p.Evalmode, p.EditHold, p.EditIntlim, p.EditMaxNo,
             p.EditDigitalOutmode, p.EditTrigger, p.ExternTeach, p.EditAnaOutBeg, p.EditAnaOutEnd, p.EditBias,
             p.EditStTrsh, p.EditProfileBeg, p.EditProfileEnd, p.TeachTable}) {
        if (!isMarkedUnsent(field))
            continue;
        const QLabel* label = caption(field);
        names << (label ? label->text() : field == p.TeachTable ? tr("TEACH TABLE") : field->accessibleName());
    }
    return names;
}

QWidget* ParameterPanel::wordControl(int word) const
{
    const Ui::P& p = m_ui;
    // In the order of the words in the block.
    const std::array<QWidget*, kParamCount> controls = {
        p.SlidePower, p.EditPmode,          p.EditAverage,    p.Evalmode,      p.EditHold,      p.EditIntlim,
        p.EditMaxNo,  p.EditDigitalOutmode, p.EditTrigger,    p.ExternTeach,   p.EditAnaOutBeg, p.EditAnaOutEnd,
        p.EditBias,   p.EditStTrsh,         p.EditProfileBeg, p.EditProfileEnd};
    return word >= 0 && word < kParamCount ? controls[static_cast<size_t>(word)] : nullptr;
}

QString ParameterPanel::wordCaption(int word) const
{
    const QWidget* field = wordControl(word);
    if (!field)
        return QString::fromLatin1(kParamNames.at(static_cast<size_t>(std::clamp(word, 0, kParamCount - 1))));
    const QLabel* label = caption(field);
    return label ? label->text() : field->accessibleName();
}

const QLabel* ParameterPanel::caption(const QWidget* field) const
{
    const Ui::P& p = m_ui;
    const std::pair<const QWidget*, const QLabel*> captions[] = {{p.SlidePower, p.LabelSlidePower},
                                                                 {p.EditPmode, p.LabelEditPmode},
                                                                 {p.EditAverage, p.LabelEditAverage},
                                                                 {p.Evalmode, p.LabelEvalmode},
                                                                 {p.EditHold, p.LabelEditHold},
                                                                 {p.EditIntlim, p.LabelEditIntlim},
                                                                 {p.EditMaxNo, p.LabelEditMaxNo},
                                                                 {p.EditDigitalOutmode, p.LabelEditDigitalOutmode},
                                                                 {p.EditTrigger, p.LabelEditTrigger},
                                                                 {p.ExternTeach, p.LabelExternTeach},
                                                                 {p.EditAnaOutBeg, p.LabelEditAnaOutBeg},
                                                                 {p.EditAnaOutEnd, p.LabelEditAnaOutEnd},
                                                                 {p.EditBias, p.LabelEditBias},
                                                                 {p.EditStTrsh, p.LabelEditStTrsh},
                                                                 {p.EditProfileBeg, p.LabelEditProfileBeg},
                                                                 {p.EditProfileEnd, p.LabelEditProfileEnd}};
    for (const auto& [f, label] : captions)
        if (f == field)
            return label;
    return nullptr;
}

QString ParameterPanel::wordValueText(int word, std::uint16_t value) const
{
    const QWidget* field = wordControl(word);
    if (field == m_ui.EditPmode)
        return m_ui.EditPmode->itemText(value == 0 ? 0 : 1);  // 0 = STAT, any other value DYN
    if (field == m_ui.ExternTeach)
        return value != 0 ? QStringLiteral("ON") : QStringLiteral("OFF");
    if (const auto* ring = qobject_cast<const QComboBox*>(field))
        if (QString text = ringText(ring, value); !text.isEmpty())
            return text;
    return QString::number(value);
}

}  // namespace tarvo
