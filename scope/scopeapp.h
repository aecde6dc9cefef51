// The scope program: its ten panels, the subsystems created once at start-up,
// and the wiring between them.
#pragma once

#include "accessiblecontrols.h"
#include "connection.h"
#include "interfacepanel.h"
#include "measurement.h"
#include "settingsfiles.h"
#include "settingslocation.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QSettings;
class QWidget;
namespace Ui {
class P;
class RECP;
class CALIBP;
class CALIBP2;
class GRAPHP;
class GFPANEL;
class VECPANEL;
class ScaleAxisPanel;
class MONITORP;
}

namespace tarvo {

class Calibration;
class Graphs;
class LiveLoop;
class PanelWindows;
class MonitorPanel;
class ParameterPanel;
class Recorder;
class RightClickHelp;
class TraceWindow;

template <typename UiClass>
struct Panel {
    Panel();
    ~Panel();
    std::unique_ptr<QWidget> widget;
    std::unique_ptr<UiClass> ui;
};

class ScopeApp final : public QObject, public InterfacePanelHost {
    Q_OBJECT
public:
    // programDir: the program's own directory unless a test says otherwise;
    // the settings live there or in the user's folder (settingsLocation).
    explicit ScopeApp(const QString& programDir = QString(), QObject* parent = nullptr);
    ~ScopeApp() override;

    // Shows the main panel, initialises, runs the event loop until the main
    // panel is closed, then closes the link. Returns the exit code.
    int run();
    void InitAll();

    void SetButtonsDimmed(int dim);
    void CBF_P_close();
    bool quitRequested() const { return m_connection.closed(); }

    // The connection given on the command line: tried at start-up instead of
    // the saved one, which stays as it is.
    void setConnectionForThisRun(const std::optional<ConnectionSettings>& settings)
    {
        m_connectionForThisRun = settings;
    }
    // --reconnect: "Reconnect and resume" on for this run.
    void setReconnectForThisRun(bool on) { m_reconnectForThisRun = on; }

    // The connection to the sensor, and its parts.
    Connection& connection() { return m_connection; }
    EventPump& pump() { return m_connection.pump(); }
    LoopFlags& flags() { return m_connection.flags(); }
    ParameterSet& params() { return m_connection.params(); }
    Link& link() { return m_connection.link(); }
    Exchange& exchange() { return m_connection.exchange(); }
    Reconnector& reconnect() { return m_connection.reconnector(); }
    // The last value set received, from whatever source.
    MeasuredValues& measured() { return m_measured; }
    const QString& proj_dir() const { return m_projDir; }
    // Where the settings and history files live and the file dialogs open.
    const SettingsLocation& settings() const { return m_settings; }

    // The panels.
    const Panel<Ui::P>& panel() const { return m_panel; }
    const Panel<Ui::RECP>& recpanel() const { return m_recpanel; }
    const Panel<Ui::CALIBP>& calibpanel() const { return m_calibpanel; }
    const Panel<Ui::CALIBP2>& calibpanel2() const { return m_calibpanel2; }
    const Panel<Ui::GRAPHP>& graphpanel() const { return m_graphpanel; }
    const Panel<Ui::GFPANEL>& gfpanel() const { return m_gfpanel; }
    const Panel<Ui::VECPANEL>& vecpanel() const { return m_vecpanel; }
    InterfacePanel& interfacepanel() { return m_interfacepanel; }
    const Panel<Ui::ScaleAxisPanel>& scaleaxispanel() const { return m_scaleaxispanel; }
    const Panel<Ui::MONITORP>& monitorpanel() const { return m_monitorpanel; }

    // The subsystems on them.
    ParameterPanel& parapanel() { return *m_parapanel; }
    Graphs& graphs() { return *m_graphs; }
    LiveLoop& live() { return *m_live; }
    Calibration& calib() { return *m_calib; }
    Recorder& recorder() { return *m_recorder; }
    MonitorPanel& monitor() { return *m_monitor; }
    TraceWindow& tracewindow() { return *m_tracewindow; }

    // InterfacePanelHost
    bool afterOpening() override;

    // Start-up (panels, settings, the first connection and its line check) is over.
    bool startupFinished() const { return m_startupFinished; }
    // A fresh value set is being shown: displays left stale when retrying
    // was given up are live again.
    void valueShown();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // What the connection tells, on the panels.
    void wireConnection();
    void showStatus(const QString& text);
    void timeoutReaction();
    void openInterfacePanel();
    void lineCheckPassed();
    void showConnectionInUse(std::uint16_t comprotocol, std::uint16_t comport, const QString& ipBuf);
    void showIdentification(const QString& text);
    void linkEvent(LinkEvent event, const QString& reason);
    void retryState(const QString& text);
    void lineQuiet(const QString& text);
    // Closing with parameters changed but not sent asks first: send (then
    // close), close without sending, or stay. True: close now.
    bool mayClose();
    void wireMainPanel();
    // The line's state on the main, recorder and monitor panels: the state
    // line with its STOP RETRYING, the notice of a changed working set with its button.
    struct LineStateControls {
        QWidget* panel;
        QLabel* linkState;
        QPushButton* stopRetrying;
        QLabel* paramsChanged;
        QPushButton* paramsChangedSeen;
    };
    std::array<LineStateControls, 3> lineStateControls() const;
    // The value displays greyed (the last values stay, with their time) or live again.
    void showLineLost(bool lost);
    // The state line on the main, recorder and monitor panels after retrying
    // was given up: `state` and that the values shown are old.
    void showStale(const QString& state);
    // "calibration due since …" beside the status, from the calibration log and the sensor's interval.
    void showCalibrationDue();
    // The notice on the main, recorder and monitor panels that the sensor's
    // working set changed while the line was lost; empty: hidden.
    void showParametersChanged(const QString& text);

    // First, before any panel: a control's interface is made at its first accessible event.
    AccessibleControls m_accessibleControls;
    // Its reconnection ("Reconnect and resume") takes a lost line up again
    // for the live loop, the recorder, the monitor and the idle program.
    Connection m_connection;
    MeasuredValues m_measured;

    QString m_projDir;
    SettingsLocation m_settings;
    std::optional<ConnectionSettings> m_connectionForThisRun;
    bool m_reconnectForThisRun = false;

    // Panels, in load order.
    Panel<Ui::P> m_panel;
    Panel<Ui::RECP> m_recpanel;
    Panel<Ui::CALIBP> m_calibpanel;
    Panel<Ui::CALIBP2> m_calibpanel2;
    Panel<Ui::GRAPHP> m_graphpanel;
    Panel<Ui::GFPANEL> m_gfpanel;
    Panel<Ui::VECPANEL> m_vecpanel;
    InterfacePanel m_interfacepanel;
    Panel<Ui::ScaleAxisPanel> m_scaleaxispanel;
    Panel<Ui::MONITORP> m_monitorpanel;

    // The parameter fields, the teach table and their transfers (GetPara,
    // SendPara, DispVis, InitEval …) on the main panel.
    std::unique_ptr<ParameterPanel> m_parapanel;
    // The live loop with its displays and graph buffers, and the graphs.
    std::unique_ptr<Graphs> m_graphs;
    std::unique_ptr<LiveLoop> m_live;
    // The two calibrations on CALIBP and CALIBP2.
    std::unique_ptr<Calibration> m_calib;
    // The recorder on RECP.
    std::unique_ptr<Recorder> m_recorder;
    // The trend monitor on MONITORP.
    std::unique_ptr<MonitorPanel> m_monitor;
    // The frame trace's window, opened by ButtonTrace.
    std::unique_ptr<TraceWindow> m_tracewindow;

    std::unique_ptr<RightClickHelp> m_help;
    // Window places and the last folders, kept per user (sessionFileName).
    std::unique_ptr<QSettings> m_session;
    std::unique_ptr<PanelWindows> m_windows;
    bool m_identified = false;  // the last line check got the identification
    QString m_sensorId;         // the identification the user gave the sensor (DispID)
    bool m_startupFinished = false;
    bool m_lineShownLost = false;
    bool m_staleAfterGivingUp = false;  // the displays hold values from before the connection was lost
};

}  // namespace tarvo
