// The parameter fields of the main panel: fields to variables and back, the
// panel's adaptation to evaluation mode, trigger and external teach, the
// rules between fields, the views, the transfer target and Send / Get.
#pragma once

#include "paramtransfer.h"
#include "teachtable.h"

#include "parameterset.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QSpinBox;
class QPushButton;
namespace Ui {
class P;
}

class QLabel;

namespace tarvo {

class EventPump;
class Exchange;
class Link;
class ParameterSet;
struct LoopFlags;

class ParameterPanel final : public QObject, public ParamTransferHost {
    Q_OBJECT
public:
    // measured: the last received value set, for teaching.
    ParameterPanel(Ui::P& ui, ParameterSet& params, Exchange& exchange, Link& link, LoopFlags& flags, EventPump& pump,
                   const QString& proj_dir, const MeasuredValues& measured, QObject* parent = nullptr);

    // ParamTransferHost
    void GetPanelValues() override;
    void ShowFetchedParameters() override;
    void ShowPartlyFetchedParameters(int rowsRead) override;
    void TransferStep(std::uint16_t command, int row) override;
    void WriteCut(const CutWrite& cut) override;

    // Get and Send with the sensor (RAM or EEPROM). Over RS-232 the status
    // shows how far they are; a success leaves no field marked unsent.
    bool GetPara();
    bool SendPara();
    // After a SEND that was cut short, once the sensor answers again: asks
    // whether to finish the write, put the earlier set back or leave the
    // sensor as it is, and does it. False when no cut write was pending.
    bool OfferToFinishCutWrite();
    bool cutWritePending() const { return m_cut.has_value(); }

    // Fields changed on the panel since the set was last sent, fetched, saved
    // or loaded are marked unsent. Their captions, typed text included; empty
    // when there are none.
    QStringList unsentFields();
    // A parameter word (its position in the block) as the panel names it,
    // and one of its values as the control shows it ("TRIGGER", "SELF").
    QString wordCaption(int word) const;
    QString wordValueText(int word, std::uint16_t value) const;
    // What the fields show now is what the sensor or a file holds.
    void markSynced();
    // The sixteen parameters shown were sent by the program itself (a
    // calibration); the teach table keeps its marks.
    void markParametersSynced();

    void SetPanelValues();
    void InitEval();
    void InitTrigger();
    void InitExteach();
    void ParaVis();
    void ParaInVis();
    // Displays and strip charts for the signal chosen in SelectSource.
    void DispVis();

    bool SendParaToFile();
    void ReadParaFromFile();

    // Callbacks of the main panel's parameter controls. done, when given,
    // learns whether the send went through, once it has run.
    void CBF_ButtonSend(std::function<void(bool)> done = {});
    void CBF_ButtonGet();
    void CBF_SelectTarget(QPushButton* toggle, std::uint16_t toggleTarget, bool on);
    void CBF_ParaVisible();
    void CBF_EditPmode();
    void CBF_EditDigitalOutmode();
    void CBF_AnaOutBegEnd();
    void CBF_ProfileBegEnd();

    TeachTablePanel& teach() { return m_teach; }

    static constexpr const char* kFileDefault = "Parameter.ini";
    // After a SEND the buttons stay dimmed this long (0.5 s); tests not
    // about that pause shorten it.
    void setAfterSendPause(double seconds) { m_afterSendPause = seconds; }

signals:
    // Connected directly: each has taken effect when the transfer goes on.
    // The transfer buttons dimmed around every transfer (1), usable again (0).
    void buttonsDimmed(int dim);
    // A reason and advice after a failed transfer's "TIMEOUT".
    void failureExplained(const QString& reason, const QString& advice);

private:
    QString proj_dir;
    QString file_name;  // the file of the last parameter-file dialog

    void wire();
    // The fields and teach-table cells into `into`, typed text taken in first.
    void readPanelValues(ParameterSet& into);
    // The same as the fields hold them now.
    void readFields(ParameterSet& into) const;
    // A send that waited: the panel shows `shown` again when a fetch changed it.
    void showAgainIfOverwritten(const ParameterSet& shown);
    // Before a SEND after a fetch that stopped short: whether the rows not
    // read may be written (the user is asked; READ AGAIN fetches instead).
    bool rowsNotReadMaySend();
    // ExternTeach, InitExteach, SetPanelValues, InitEval: the variables onto the panel.
    void showParameters();
    void updateUnsentMarks();
    // The control of a parameter word; none past the sixteen.
    QWidget* wordControl(int word) const;
    // The caption beside a parameter field (its Label… on the panel); none for the teach table.
    const QLabel* caption(const QWidget* field) const;
    // Runs a transfer; its progress in the status gives way to what was there once it went through.
    bool withProgress(const std::function<bool()>& transfer);
    void showParameterControls(bool visible);
    void showTeachControls(bool visible);
    QString chooseFile(bool forWriting);
    template <typename Field>
    void showWord(Field* field, std::uint16_t value);
    template <typename Field>
    std::uint16_t readWord(Field* field) const;
    void forgetHeld(QWidget* field);
    void setExternTeach(std::uint16_t value);
    // The numeric fields and rings that hold one parameter word each.
    std::vector<std::pair<QSpinBox*, std::uint16_t ParameterSet::*>> numberFields() const;
    std::vector<std::pair<QComboBox*, std::uint16_t ParameterSet::*>> ringFields() const;
    std::uint16_t externTeach() const;

    struct Held {
        std::uint16_t value;  // what the sensor holds
        int shown;            // what the field shows instead
        QString ownToolTip;   // the field's tooltip, back when it holds no kept value
    };
    QHash<const QWidget*, Held> m_held;
    std::uint16_t m_externTeachOther = 0;

    Ui::P& m_ui;
    ParameterSet& m_params;
    EventPump& m_pump;
    Exchange& m_ex;
    Link& m_link;
    ParameterSet m_synced;         // what the sensor or file holds, as the panel showed it
    ParameterSet m_lastPanelRead;  // the panel as GetPanelValues last read it: what a send sends
    bool m_quietMarks = false;     // the panel is being filled: the marks follow at the end
    std::uint16_t m_lastStep = 0;  // the command of the transfer's last frame
    bool m_progressShown = false;
    double m_afterSendPause = 0.5;
    int m_rowsNotRead = 0;  // teach rows the last fetch did not read (the last ones)
    // A send cut short: what it was, the set it sent and the set before it.
    std::optional<CutWrite> m_cut;
    ParameterSet m_cutSent;
    ParameterSet m_cutEarlier;
    ParamTransfer m_transfer;
    TeachTablePanel m_teach;
};

}  // namespace tarvo
