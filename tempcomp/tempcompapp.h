// TarvoTempCompV43, the temperature-compensation tool for the colour sensor:
// its main panel, the shared link, exchange and interface panel with the
// tool's options, the curve and factor computation and the transfer of the
// three factor tables.
#pragma once

#include "accessiblecontrols.h"
#include "compcurves.h"
#include "connection.h"
#include "interfacepanel.h"
#include "settingslocation.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QChartView;
class QSettings;
class QWidget;
namespace Ui {
class P;
}

namespace tarvo {

class CoefficientBox;
class PanelWindows;
class RightClickHelp;
class StripChart;
class TraceWindow;

namespace tempcomp {

// The box of a failed echo; its title is the sensor's version text.
inline const QString kEchoFailureText = QStringLiteral(
    " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR.                           \n"
    " The version of the sensor is displayed as the name of this dialog box.");

class TempCompApp final : public QObject, public InterfacePanelHost {
    Q_OBJECT
public:
    // programDir: the program's own directory unless a test says otherwise;
    // the server history lives there or in the user's folder, and the file
    // dialogs start there or in the user's documents (settingsLocation).
    explicit TempCompApp(const QString& programDir = QString(), QObject* parent = nullptr);
    ~TempCompApp() override;

    // Shows the main panel, initialises, runs the event loop until the main
    // panel is closed, then closes the link. Returns the exit code.
    int run();
    void InitVars();
    void CBF_P_close();
    bool quitRequested() const { return connection.closed(); }

    // The connection given on the command line: shown on the interface panel
    // and tried at start-up in place of serial port 1.
    std::optional<ConnectionSettings> connectionForThisRun;

    // Transfer of the factor tables.
    // True when every frame was acknowledged.
    bool SendPara();

    // Computation from the panel, drawn into the charts. CalcCfCurves returns
    // false when factors had to be limited to 0..65535.
    void CalcCurves();
    bool CalcCfCurves();

    // Commands of the main panel.
    void CBF_ButtonSendCF();
    void CBF_ButtonSaveEquation();
    void CBF_ButtonGetEquation();
    void CBF_ButtonCalcCurves();
    void CBF_ButtonShowRed();
    void CBF_ButtonShowGreen();
    void CBF_ButtonShowBlue();
    void CBF_ButtonCalcCalib();
    void CBF_ButtonShowCfRed();
    void CBF_ButtonShowCfGreen();
    void CBF_ButtonShowCfBlue();
    void CBF_EditTemp();

    // Dims the commands that start an exchange or change the tables being
    // sent, while an exchange runs; nests.
    void SetButtonsDimmed(bool dim);

    Coefficients coefficientsFromPanel() const;
    void coefficientsToPanel(const Coefficients& c);
    StripChart& chart(QChartView* view);

    // First, before any panel: a control's interface is made at its first accessible event.
    AccessibleControls accessibleControls;
    // The connection to the sensor with the tool's options, and its parts by
    // the names the panel is wired with. Its parameter set goes unused: the
    // tool sends none. Its reconnection ("Reconnect and resume") takes a lost
    // line up again while the tool waits.
    Connection connection;
    EventPump& pump;
    LoopFlags& flags;
    ParameterSet& params;
    Link& link;
    Exchange& exchange;
    Reconnector& reconnect;

    QString proj_dir;
    SettingsLocation settings;
    QString file_name;  // the path chosen in the last file dialog

    std::unique_ptr<QWidget> panel;
    std::unique_ptr<Ui::P> ui;
    InterfacePanel interfacepanel;
    // The frame trace's window, opened by ButtonTrace.
    std::unique_ptr<TraceWindow> tracewindow;

    Curves curves;
    Factors factors;

    // InterfacePanelHost
    bool afterOpening() override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wireMainPanel();
    // What the connection tells, on the panel.
    void wireConnection();
    void showStatus(const QString& text);
    void timeoutReaction();
    void lineCheckPassed();
    void lineCheckFailed();
    void linkEvent(LinkEvent event, const QString& reason);
    void retryState(const QString& text);
    void setupCharts();
    void showOnly(QWidget* shown, std::initializer_list<QWidget*> hidden);
    bool confirmDoubtfulFactors();
    QString clampedFactorsText() const;
    References referencesFromPanel() const;
    QString selectEquationFile(bool save);
    std::array<CoefficientBox*, kCoefficients> coefficientFields() const;

    std::unique_ptr<RightClickHelp> m_help;
    // Window places, the last folders and the last connection that answered,
    // kept per user (sessionFileName).
    std::unique_ptr<QSettings> m_session;
    std::unique_ptr<PanelWindows> m_windows;
    std::vector<std::pair<QChartView*, std::unique_ptr<StripChart>>> m_charts;
    int m_dimDepth = 0;
    int m_tempCommits = 0;  // CBF_EditTemp runs, to tell a committed change from a plain Enter
    // The coefficients of the curves last computed (none before the first
    // computation), and of the curves the reference values were last taken
    // from, with those values: a send warns when the references shown came
    // from curves of other coefficients than those shown.
    std::optional<Coefficients> m_curvesFrom;
    std::optional<Coefficients> m_refsFrom;
    References m_refsTaken{};
    bool m_refsFromCurves = false;
    bool m_identified = false;  // the last line check got the identification
};

}  // namespace tempcomp
}  // namespace tarvo
