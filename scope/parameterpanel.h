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
#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QSpinBox;
class QPushButton;
namespace Ui {
class P;
}

namespace tarvo {

class EventPump;
class Exchange;
class Link;
class ParameterSet;
struct LoopFlags;

class ParameterPanel final : public QObject, public ParamTransferHost {
    Q_OBJECT
public:
    // setButtonsDimmed: the program's SetButtonsDimmed, around every transfer.
    // measured: the last received value set, for teaching.
    ParameterPanel(Ui::P& ui, ParameterSet& params, Exchange& exchange, Link& link, LoopFlags& flags,
                   EventPump& pump, const QString& proj_dir, std::function<void(int)> setButtonsDimmed,
                   const MeasuredValues& measured, QObject* parent = nullptr);

    // ParamTransferHost
    void GetPanelValues() override;
    void ShowFetchedParameters() override;

    void SetPanelValues();
    void InitEval();
    void InitTrigger();
    void InitExteach();
    void ParaVis();
    void ParaInVis();
    // Displays and strip charts for the signal chosen in SelectSource.
    void DispVis();

    void SendParaToFile();
    void ReadParaFromFile();

    // Callbacks of the main panel's parameter controls.
    void CBF_ButtonSend();
    void CBF_ButtonGet();
    void CBF_SelectTarget(QPushButton* toggle, std::uint16_t toggleTarget, bool on);
    void CBF_ParaVisible();
    void CBF_EditPmode();
    void CBF_EditDigitalOutmode();
    void CBF_AnaOutBegEnd();
    void CBF_ProfileBegEnd();

    ParamTransfer& transfer() { return m_transfer; }
    TeachTablePanel& teach() { return m_teach; }

    QString proj_dir;
    QString file_name;  // the file of the last parameter-file dialog

    static constexpr const char* kFileDefault = "Parameter.ini";

private:
    void wire();
    // The fields and teach-table cells into `into`.
    void readPanelValues(ParameterSet& into);
    // A send that waited: the panel shows `shown` again when a fetch changed it.
    void showAgainIfOverwritten(const ParameterSet& shown);
    void showParameterControls(bool visible);
    void showTeachControls(bool visible);
    QString chooseFile(bool forWriting);
    template <typename Field>
    void showWord(Field* field, std::uint16_t value);
    template <typename Field>
    std::uint16_t readWord(Field* field);
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
    std::function<void(int)> m_setButtonsDimmed;
    ParamTransfer m_transfer;
    TeachTablePanel m_teach;
};

} // namespace tarvo
