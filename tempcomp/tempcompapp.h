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
    bool quitRequested() const { return m_connection.closed(); }

    // The connection given on the command line: shown on the interface panel
    // and tried at start-up in place of serial port 1.
    void setConnectionForThisRun(const std::optional<ConnectionSettings>& settings)
    {
        m_connectionForThisRun = settings;
    }

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

    // The connection to the sensor and its parts.
    Connection& connection() { return m_connection; }
    EventPump& pump() { return m_connection.pump(); }
    LoopFlags& flags() { return m_connection.flags(); }
    ParameterSet& params() { return m_connection.params(); }
    Link& link() { return m_connection.link(); }
    Exchange& exchange() { return m_connection.exchange(); }
    Reconnector& reconnect() { return m_connection.reconnector(); }

    const QString& proj_dir() const { return m_projDir; }
    const SettingsLocation& settings() const { return m_settings; }
    // The path chosen in the last file dialog.
    const QString& file_name() const { return m_fileName; }

    QWidget* panel() const { return m_panel.get(); }
    Ui::P& ui() const { return *m_ui; }
    InterfacePanel& interfacepanel() { return m_interfacepanel; }
    TraceWindow& tracewindow() { return *m_tracewindow; }

    // The curves and factors last computed.
    const Curves& curves() const { return m_curves; }
    const Factors& factors() const { return m_factors; }
    // The pause between the announcement and the tables (200 ms); tests shorten it.
    void setFactorPause(int ms) { m_factorPauseMs = ms; }

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

    // First, before any panel: a control's interface is made at its first accessible event.
    AccessibleControls m_accessibleControls;
    // The connection to the sensor with the tool's options. Its parameter
    // set goes unused: the tool sends none. Its reconnection ("Reconnect and
    // resume") takes a lost line up again while the tool waits.
    Connection m_connection;
    QString m_projDir;
    SettingsLocation m_settings;
    std::optional<ConnectionSettings> m_connectionForThisRun;
    QString m_fileName;

    std::unique_ptr<QWidget> m_panel;
    std::unique_ptr<Ui::P> m_ui;
    InterfacePanel m_interfacepanel;
    // The frame trace's window, opened by ButtonTrace.
    std::unique_ptr<TraceWindow> m_tracewindow;

    Curves m_curves;
    Factors m_factors;

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
    int m_factorPauseMs = 200;
};

}  // namespace tempcomp
}  // namespace tarvo
