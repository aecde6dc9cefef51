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
    bool quitRequested() const { return connection.closed(); }

    // First, before any panel: a control's interface is made at its first accessible event.
    AccessibleControls accessibleControls;
    // The connection to the sensor, and its parts by the names the panels are
    // wired with. Its reconnection ("Reconnect and resume") takes a lost line
    // up again for the live loop, the recorder, the monitor and the idle program.
    Connection connection;
    EventPump& pump;
    LoopFlags& flags;
    ParameterSet& params;
    Link& link;
    Exchange& exchange;
    Reconnector& reconnect;
    MeasuredValues measured;  // the last value set received, from whatever source
    std::uint16_t anzdata = 16;

    QString proj_dir;
    // Where the settings and history files live and the file dialogs open.
    SettingsLocation settings;
    // The connection given on the command line: tried at start-up instead of
    // the saved one, which stays as it is.
    std::optional<ConnectionSettings> connectionForThisRun;
    // --reconnect: "Reconnect and resume" on for this run.
    bool reconnectForThisRun = false;

    // Panels, in load order.
    Panel<Ui::P> panel;
    Panel<Ui::RECP> recpanel;
    Panel<Ui::CALIBP> calibpanel;
    Panel<Ui::CALIBP2> calibpanel2;
    Panel<Ui::GRAPHP> graphpanel;
    Panel<Ui::GFPANEL> gfpanel;
    Panel<Ui::VECPANEL> vecpanel;
    InterfacePanel interfacepanel;
    Panel<Ui::ScaleAxisPanel> scaleaxispanel;
    Panel<Ui::MONITORP> monitorpanel;

    // The parameter fields, the teach table and their transfers (GetPara,
    // SendPara, DispVis, InitEval …) on the main panel.
    std::unique_ptr<ParameterPanel> parapanel;
    // The live loop with its displays and graph buffers, and the graphs.
    std::unique_ptr<Graphs> graphs;
    std::unique_ptr<LiveLoop> live;
    // The two calibrations on CALIBP and CALIBP2.
    std::unique_ptr<Calibration> calib;
    // The recorder on RECP.
    std::unique_ptr<Recorder> recorder;
    // The trend monitor on MONITORP.
    std::unique_ptr<MonitorPanel> monitor;
    // The frame trace's window, opened by ButtonTrace.
    std::unique_ptr<TraceWindow> tracewindow;

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
