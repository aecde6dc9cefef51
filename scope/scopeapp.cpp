#include "scopeapp.h"

#include "brandingtables.h"
#include "calibration.h"
#include "calibrationlogpanel.h"
#include "calibrationstatus.h"
#include "charts.h"
#include "commandline.h"
#include "connectionboxes.h"
#include "dialogs.h"
#include "entryfeedback.h"
#include "graphs.h"
#include "liveloop.h"
#include "monitorpanel.h"
#include "panelutil.h"
#include "panelwindows.h"
#include "parameterpanel.h"
#include "recorder.h"
#include "reportbutton.h"
#include "righthelp.h"
#include "scopehelp.h"
#include "tracewindow.h"
#include "ui_CALIBP.h"
#include "ui_CALIBP2.h"
#include "ui_GFPANEL.h"
#include "ui_GRAPHP.h"
#include "ui_INTERFACEP.h"
#include "ui_MONITORP.h"
#include "ui_P.h"
#include "ui_RECP.h"
#include "ui_ScaleAxisPanel.h"
#include "ui_VECPANEL.h"
#include "userguide.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTimer>

namespace tarvo {

template <typename UiClass>
Panel<UiClass>::Panel()
    : widget(std::make_unique<QWidget>())
    , ui(std::make_unique<UiClass>())
{
    ui->setupUi(widget.get());
}

template <typename UiClass>
Panel<UiClass>::~Panel() = default;

namespace {
QString programDirOr(const QString& dir)
{
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

}  // namespace

ScopeApp::ScopeApp(const QString& programDir, QObject* parent)
    : QObject(parent)
    , m_connection(connectionOptions(ProgramProfile::Scope))
    , m_projDir(programDirOr(programDir))
    , m_settings(preparedSettingsLocation(m_projDir, kScopeProgram, kScopeSettingsFiles))
    , m_interfacepanel(m_connection, *this, ProgramProfile::Scope, m_settings.settingsDir)
    , m_help(std::make_unique<RightClickHelp>())
{
    addScopeHelpTexts(*m_help);
    InterfacePanel::addHelpTexts(*m_help);
    TraceWindow::addHelpTexts(*m_help);
    InterfacePanel::addLocationHelp(*m_help, describeSettingsLocation(m_settings, kScopeSettingsFiles));
    for (QWidget* w :
         {m_panel.widget.get(), m_recpanel.widget.get(), m_calibpanel.widget.get(), m_calibpanel2.widget.get(),
          m_graphpanel.widget.get(), m_gfpanel.widget.get(), m_vecpanel.widget.get(), m_interfacepanel.widget(),
          m_scaleaxispanel.widget.get(), m_monitorpanel.widget.get()}) {
        m_help->install(w);
        watchNumberEntries(w);
    }
    m_parapanel = std::make_unique<ParameterPanel>(*m_panel.ui, params(), exchange(), link(), flags(), pump(),
                                                   m_settings.documentsDir, m_measured);
    connect(m_parapanel.get(), &ParameterPanel::buttonsDimmed, this, &ScopeApp::SetButtonsDimmed);
    connect(m_parapanel.get(), &ParameterPanel::failureExplained, &m_interfacepanel, &InterfacePanel::ExplainFailure);
    m_live = std::make_unique<LiveLoop>(m_connection, m_measured,
                                        LivePanels{.main = m_panel.ui.get(),
                                                   .mainPanel = m_panel.widget.get(),
                                                   .glossBig = m_gfpanel.ui.get(),
                                                   .glossBigPanel = m_gfpanel.widget.get(),
                                                   .vectorBig = m_vecpanel.ui.get(),
                                                   .vectorBigPanel = m_vecpanel.widget.get(),
                                                   .calibration2 = m_calibpanel2.ui.get(),
                                                   .monitorPanel = m_monitorpanel.widget.get()});
    m_graphs = std::make_unique<Graphs>(GraphPanels{.main = m_panel.ui.get(),
                                                    .recorder = m_recpanel.ui.get(),
                                                    .graph = m_graphpanel.ui.get(),
                                                    .graphPanel = m_graphpanel.widget.get(),
                                                    .scaleAxis = m_scaleaxispanel.ui.get(),
                                                    .scaleAxisPanel = m_scaleaxispanel.widget.get(),
                                                    .glossBig = m_gfpanel.ui.get(),
                                                    .vectorBig = m_vecpanel.ui.get(),
                                                    .calibration2 = m_calibpanel2.ui.get()},
                                        exchange(), flags(), m_measured, m_live->history(), m_live->transfer());
    connect(m_live.get(), &LiveLoop::sourceSelected, m_parapanel.get(), &ParameterPanel::DispVis);
    connect(m_live.get(), &LiveLoop::buttonsDimmed, this, &ScopeApp::SetButtonsDimmed);
    connect(m_graphs.get(), &Graphs::buttonsDimmed, this, &ScopeApp::SetButtonsDimmed);
    connect(m_live.get(), &LiveLoop::valueShown, this, &ScopeApp::valueShown);
    connect(m_live.get(), &LiveLoop::graphDue, m_graphs.get(), &Graphs::ShowGraph);
    connect(m_live.get(), &LiveLoop::profileDue, m_graphs.get(), &Graphs::ShowProfile);
    m_live->transfer().setReconnector(&reconnect());
    // A changed working set is shown in the panel's words.
    reconnect().parameterNames = {
        .name = [this](int word) { return m_parapanel->wordCaption(word); },
        .value = [this](int word, std::uint16_t value) { return m_parapanel->wordValueText(word, value); }};
    m_calib = std::make_unique<Calibration>(m_calibpanel.widget.get(), *m_calibpanel.ui, m_calibpanel2.widget.get(),
                                            *m_calibpanel2.ui, exchange(), link(), pump(), flags(), params(),
                                            m_measured, m_live->transfer(), m_settings.documentsDir);
    connect(m_calib.get(), &Calibration::buttonsDimmed, this, &ScopeApp::SetButtonsDimmed);
    // The calibrations send the parameters they show.
    connect(m_calib.get(), &Calibration::panelValuesDue, this, [this] {
        m_parapanel->SetPanelValues();
        m_parapanel->markParametersSynced();
    });
    connect(m_calib.get(), &Calibration::powerDue, m_panel.ui->SlidePower, &QSlider::setValue);
    connect(m_calib.get(), &Calibration::mainPanelShown, m_panel.widget.get(), &QWidget::setVisible);
    connect(m_calib.get(), &Calibration::scaleAxisPanelShown, this, [this](bool on) {
        m_scaleaxispanel.widget->setVisible(on);
        if (on)
            m_scaleaxispanel.widget->raise();
    });
    m_monitor = std::make_unique<MonitorPanel>(MonitorContext{.monitorpanel = m_monitorpanel.widget.get(),
                                                              .ui = m_monitorpanel.ui.get(),
                                                              .mainpanel = m_panel.widget.get(),
                                                              .gfpanel = m_gfpanel.widget.get(),
                                                              .vecpanel = m_vecpanel.widget.get(),
                                                              .teachTable = m_panel.ui->TeachTable,
                                                              .history = &m_live->mutableHistory(),
                                                              .connection = &m_connection,
                                                              .transfer = &m_live->transfer(),
                                                              .measured = &m_measured});
    connect(m_monitor.get(), &MonitorPanel::buttonsDimmed, this, &ScopeApp::SetButtonsDimmed);
    connect(m_monitor.get(), &MonitorPanel::panelDataDue, m_live.get(), &LiveLoop::SetPanelData);
    m_recorder = std::make_unique<Recorder>(m_recpanel.widget.get(), *m_recpanel.ui, m_connection, m_measured,
                                            m_settings.documentsDir);
    connect(m_recorder.get(), &Recorder::buttonsDimmed, this, &ScopeApp::SetButtonsDimmed);
    connect(m_recorder.get(), &Recorder::panelDataDue, m_live.get(), &LiveLoop::SetPanelData);
    connect(m_recorder.get(), &Recorder::graphDue, m_graphs.get(), &Graphs::ShowGraph);
    connect(m_recorder.get(), &Recorder::panelGraphReset, m_graphs.get(), &Graphs::InitPanelGraph);
    connect(m_recorder.get(), &Recorder::panelGraphDataDue, m_graphs.get(), &Graphs::SetPanelGraphData);
    connect(m_live.get(), &LiveLoop::calibrationAsked, this, [this] { m_calib->CBF_ButtonCalibrate(); });
    connect(m_live.get(), &LiveLoop::recorderAsked, this, [this] { m_recorder->CBF_ButtonOpenRecorder(); });
    m_tracewindow = std::make_unique<TraceWindow>(link().trace(), m_panel.ui->ButtonTrace, m_interfacepanel.widget(),
                                                  m_settings.documentsDir);
    m_help->install(m_tracewindow->widget());
    // A saved chart picture and a report name the sensor: its identification and version.
    const auto sensorName = [this] {
        QString version = exchange().versionText();
        if (m_sensorId.isEmpty())
            return version;
        return QStringLiteral("ID ") + m_sensorId + (version.isEmpty() ? QString() : QStringLiteral(", ") + version);
    };
    for (QWidget* w :
         {m_panel.widget.get(), m_graphpanel.widget.get(), m_calibpanel2.widget.get(), m_monitorpanel.widget.get()})
        setChartSource(w, sensorName);
    new ReportButton(m_recpanel.ui->ButtonReport,
                     {.recordPath = [this] { return m_recorder->fileName(); },
                      .sensor = sensorName,
                      .params = &params(),
                      .teachTable = m_panel.ui->TeachTable,
                      .program = QStringLiteral("TarvoV43 ") + programVersion()});
    // Every calibration is logged with the SENSOR ID the user gave; the log is shown from the calibration panel.
    m_calib->journal().sensorId = [this] { return m_sensorId; };
    m_calib->journal().program = QStringLiteral("TarvoV43 ") + programVersion();
    auto* logPanel = new CalibrationLogPanel(m_calibpanel.ui->ButtonCalibLog, m_calib->journal().log,
                                             m_settings.documentsDir,
                                             m_calib->journal().program);  // owned by its button
    m_help->install(logPanel->widget());
    wireMainPanel();
    wireConnection();

    m_session = std::make_unique<QSettings>(m_settings.filePath(sessionFileName(kScopeProgram)), QSettings::IniFormat);
    dialogs().rememberFoldersIn(m_session.get());
    m_interfacepanel.UseLanguageSetting(m_session.get());
    m_windows = std::make_unique<PanelWindows>(m_panel.widget.get(), m_session.get(), kGuideStartPage);
    const std::pair<QWidget*, const char*> secondary[] = {
        {m_recpanel.widget.get(), "recorder.html"},
        {m_calibpanel.widget.get(), "calibration.html#reference"},
        {m_calibpanel2.widget.get(), "calibration.html#other-system"},
        {m_graphpanel.widget.get(), "live.html#graph-panel"},
        {m_gfpanel.widget.get(), "live.html#big-displays"},
        {m_vecpanel.widget.get(), "live.html#big-displays"},
        {m_interfacepanel.widget(), "connect.html"},
        {m_scaleaxispanel.widget.get(), "calibration.html#scale-axis"},
        {m_monitorpanel.widget.get(), "monitor.html"},
        {m_tracewindow->widget(), "trace.html"}};
    for (const auto& [w, topic] : secondary)
        m_windows->addSecondary(w, QString::fromLatin1(topic));
}

ScopeApp::~ScopeApp() = default;

void ScopeApp::wireMainPanel()
{
    Ui::P& p = *m_panel.ui;
    m_panel.widget->installEventFilter(this);
    connect(p.ButtonConnect, &QPushButton::clicked, this, [this] { m_interfacepanel.CBF_ButtonConnect(); });
    connect(p.ButtonHelp, &QPushButton::clicked, this, [] { openUserGuide(); });
    for (const LineStateControls& c : lineStateControls()) {
        connect(c.stopRetrying, &QPushButton::clicked, this, [this] { reconnect().stopRetrying(); });
        connect(c.paramsChangedSeen, &QPushButton::clicked, this, [this] { showParametersChanged({}); });
    }
    reconnect().setIdleRecovery(true);
}

void ScopeApp::wireConnection()
{
    showConnectionBoxes(m_connection);
    connect(&m_connection, &Connection::status, this, &ScopeApp::showStatus);
    connect(&m_connection, &Connection::openingFailed, this, &ScopeApp::showStatus);
    connect(&m_connection, &Connection::timedOut, this, &ScopeApp::timeoutReaction);
    connect(&m_connection, &Connection::lineCheckPassed, this, &ScopeApp::lineCheckPassed);
    connect(&m_connection, &Connection::linkEvent, this, &ScopeApp::linkEvent);
    connect(&m_connection, &Connection::retryState, this, &ScopeApp::retryState);
    connect(&m_connection, &Connection::lineQuiet, this, &ScopeApp::lineQuiet);
    connect(&m_interfacepanel, &InterfacePanel::mainStatus, m_panel.ui->DispStatus, &QLineEdit::setText);
    connect(&m_interfacepanel, &InterfacePanel::transferButtonsDimmed, this,
            [this](bool dim) { SetButtonsDimmed(dim ? 1 : 0); });
    connect(&m_interfacepanel, &InterfacePanel::connectionInUse, this, &ScopeApp::showConnectionInUse);
    connect(&m_interfacepanel, &InterfacePanel::identificationEdited, this, &ScopeApp::showIdentification);
}

// The event's reason is the English one of the events file; the boxes show
// the reconnector's reason in the user's language.
void ScopeApp::linkEvent(LinkEvent event, const QString& /*reason*/)
{
    m_monitor->linkEvent(event);
    if (event == LinkEvent::Resumed) {
        showStatus(exchange().versionText());
        if (m_parapanel->cutWritePending())
            QTimer::singleShot(0, this, [this] {
                exchange().Transfer(TransferKind::FinishSend, [this] { m_parapanel->OfferToFinishCutWrite(); });
            });
    } else if (event == LinkEvent::Lost && (flags().poll || flags().pollrecord || flags().pollmonitor)) {
        // The outage is no line across the charts of the work that runs.
        m_graphs->markGap();
        m_live->markGap();
    } else if (event == LinkEvent::IdentityChanged && !quitRequested()) {
        showStatus(exchange().versionText());
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            QCoreApplication::translate("ScopeApp",
                                        " Another sensor answered after the connection was lost: \n %1 \n\n"
                                        " Nothing of it has been recorded; the work has been stopped. ")
                .arg(reconnect().shownReason()));
    } else if (event == LinkEvent::ParametersChanged) {
        // Shown until seen; the recording goes on, as its frames are still real measurements.
        showParametersChanged(
            QCoreApplication::translate("ScopeApp", "PARAMETERS CHANGED while the connection was lost (%1): %2")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")), reconnect().shownReason()));
    } else if (event == LinkEvent::GaveUp) {
        showStatus(QCoreApplication::translate("ScopeApp", "CONNECTION LOST"));
        // The displays keep their last values, greyed and said to be old,
        // until a value set comes again.
        m_staleAfterGivingUp = true;
        showLineLost(true);
        showStale(QCoreApplication::translate("ScopeApp", "NOT CONNECTED — retrying stopped"));
        openInterfacePanel();
    }
}

std::array<ScopeApp::LineStateControls, 3> ScopeApp::lineStateControls() const
{
    const Ui::P& p = *m_panel.ui;
    const Ui::RECP& r = *m_recpanel.ui;
    const Ui::MONITORP& m = *m_monitorpanel.ui;
    return {
        {{m_panel.widget.get(), p.DispLinkState, p.ButtonStopRetrying, p.DispParamsChanged, p.ButtonParamsChangedSeen},
         {m_recpanel.widget.get(), r.DispLinkState, r.ButtonStopRetrying, r.DispParamsChanged,
          r.ButtonParamsChangedSeen},
         {m_monitorpanel.widget.get(), m.DispLinkState, m.ButtonStopRetrying, m.DispParamsChanged,
          m.ButtonParamsChangedSeen}}};
}

void ScopeApp::showStale(const QString& state)
{
    const QDateTime& last = m_live->lastValueTime();
    const QString old = last.isValid() ? QCoreApplication::translate("ScopeApp", "the values shown are old, from %1")
                                             .arg(last.toString(QStringLiteral("HH:mm:ss")))
                                       : QString();
    const QString text = state.isEmpty() ? old.left(1).toUpper() + old.mid(1)
                                         : state + (old.isEmpty() ? QString() : QStringLiteral("; ") + old);
    for (const LineStateControls& c : lineStateControls()) {
        c.linkState->setText(text);
        c.linkState->setVisible(!text.isEmpty());
    }
}

void ScopeApp::valueShown()
{
    if (!m_staleAfterGivingUp)
        return;
    m_staleAfterGivingUp = false;
    showLineLost(false);
    for (const LineStateControls& c : lineStateControls())
        c.linkState->setVisible(false);
}

void ScopeApp::retryState(const QString& text)
{
    const bool lost = !text.isEmpty();
    m_staleAfterGivingUp = false;  // a new outage, or its end, says it anew
    m_interfacepanel.SetRetrying(lost);
    if (lost)
        showStatus(text);
    else
        showStatus(
            QCoreApplication::translate("ScopeApp", "CONNECTION LOST"));  // until the sensor's identification follows
    showLineLost(lost);
    for (const LineStateControls& c : lineStateControls()) {
        QLabel* label = c.linkState;
        const QDateTime& last = m_live->lastValueTime();
        label->setText(!lost || !last.isValid() ? text
                                                : text
                               + QCoreApplication::translate("ScopeApp", " — last value %1")
                                     .arg(last.toString(QStringLiteral("HH:mm:ss"))));
        label->setAccessibleDescription(label->text());  // a named label reads its name, not its text
        label->setVisible(lost);
        c.stopRetrying->setVisible(lost);
    }
}

void ScopeApp::lineQuiet(const QString& text)
{
    // Only told: the reception goes on, and frames that come take it back.
    showStatus(text.isEmpty() ? exchange().versionText() : QCoreApplication::translate("ScopeApp", "NOTHING RECEIVED"));
    for (const LineStateControls& c : lineStateControls()) {
        c.linkState->setText(text);
        c.linkState->setAccessibleDescription(text);
        c.linkState->setVisible(!text.isEmpty());
    }
}

void ScopeApp::showParametersChanged(const QString& text)
{
    for (const LineStateControls& c : lineStateControls()) {
        QWidget* w = c.panel;
        QLabel* label = c.paramsChanged;
        label->setText(text);
        label->setAccessibleDescription(text);
        label->setToolTip(text.isEmpty() ? QString()
                                         : QCoreApplication::translate("ScopeApp",
                                                                       "The sensor came back with another working set, "
                                                                       "as after a reboot into its EEPROM set (%1).\n"
                                                                       "GET shows the sensor's set; SEND writes the "
                                                                       "panel's set again.")
                                               .arg(exchange().versionText()));
        label->setVisible(!text.isEmpty());
        c.paramsChangedSeen->setVisible(!text.isEmpty());
        // A panel shown now grows by the notice rather than squeezing its displays.
        if (!text.isEmpty() && w->isVisible()) {
            const int wanted = w->hasHeightForWidth() ? w->heightForWidth(w->width()) : w->sizeHint().height();
            if (w->height() < wanted) {
                w->resize(w->width(), wanted);
                fitOnScreen(w);
            }
        }
    }
}

void ScopeApp::showLineLost(bool lost)
{
    if (lost == m_lineShownLost)
        return;
    m_lineShownLost = lost;
    // Greyed, the displays keep the last values: nothing on them is live.
    const Ui::P& p = *m_panel.ui;
    const Ui::RECP& r = *m_recpanel.ui;
    const Ui::MONITORP& m = *m_monitorpanel.ui;
    const Ui::GFPANEL& g = *m_gfpanel.ui;
    const Ui::VECPANEL& v = *m_vecpanel.ui;
    QWidget* const displays[] = {p.DispChRef,    p.DispChDir,    p.DispChDif,    p.BarChRef,      p.BarChDir,
                                 p.BarChDif,     p.DispNorm,     p.DispINT,      p.DispGF,        p.DispVec,
                                 p.DispTemp,     p.DispPP,       r.RecBarChRef,  r.RecBarChDir,   r.RecBarChDif,
                                 r.RecDispChRef, r.RecDispChDir, r.RecDispChDif, r.RecDispNorm,   r.RecDispInt,
                                 r.RecDispTemp,  r.DispGfRecord, r.RecDispPP,    m.DispMonitorGf, m.DispMonitorPP,
                                 m.DispGfTrend,  m.DispStdDev,   m.DispBad,      g.DispGFBig,     v.DispVecBig};
    for (QWidget* display : displays)
        display->setEnabled(!lost);
}

int ScopeApp::run()
{
    m_panel.widget->show();
    InitAll();
    if (!quitRequested())
        QApplication::exec();
    m_connection.closeChannel();
    return 0;
}

void ScopeApp::InitAll()
{
    params().anzpara = kBlockWords;
    params().target = RAM;
    flags().pollmonitor = 0;
    flags().pollrecord = 0;
    flags().poll = 0;

    m_panel.ui->DispStatus->setText(QStringLiteral("InitVars"));
    m_panel.ui->ParaVisible->setChecked(true);
    m_parapanel->ParaVis();
    m_parapanel->DispVis();
    ShowLogo(m_panel.widget.get(), scopeBrandingTable(), ScopeBrandingVariant);
    m_parapanel->GetPanelValues();

    m_interfacepanel.SetupServerField();
    m_interfacepanel.GetConnectionSettingsFromFile();
    if (m_connectionForThisRun)
        m_interfacepanel.UseForThisRun(*m_connectionForThisRun);
    m_interfacepanel.GetReconnectSettingsFromFile(m_reconnectForThisRun);
    m_interfacepanel.InitConnectPanel();
    exchange().Transfer(TransferKind::Connect, [this] { m_interfacepanel.TryToConnect(); });
    m_startupFinished = true;
}

void ScopeApp::SetButtonsDimmed(int dim)
{
    const bool on = dim != 0;
    const Ui::P& p = *m_panel.ui;
    const Ui::CALIBP& c = *m_calibpanel.ui;
    const Ui::CALIBP2& c2 = *m_calibpanel2.ui;
    // The monitor's n (EditTrendValues) stays usable: it may change while monitoring runs.
    const Ui::MONITORP& m = *m_monitorpanel.ui;
    QWidget* const controls[] = {p.ButtonGo,
                                 p.ButtonSend,
                                 p.ButtonGet,
                                 p.ButtonOpenRecorder,
                                 p.ButtonConnect,
                                 p.ButtonProfile,
                                 p.ButtonOpenMonitor,
                                 c.ButtonStartCalib,
                                 c.ButtonCalibToOtherSystem,
                                 c.ButtonCloseCalib,
                                 c2.ButtonSendCalibData,
                                 c2.ButtonCalcCalibData,
                                 c2.ButtonCloseCalibP2,
                                 c2.ButtonMeasure,
                                 m.ButtonStartMonitor};
    for (QWidget* control : controls)
        control->setEnabled(!on);
    m_interfacepanel.SetButtonsDimmed(on);
    pump().processEvents();
}

void ScopeApp::CBF_P_close()
{
    m_connection.close();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != m_panel.widget.get())
            w->hide();
    pump().quitWhenIdle();
}

bool ScopeApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel.widget.get() && event->type() == QEvent::Close) {
        if (!quitRequested() && !mayClose()) {
            event->ignore();
            return true;
        }
        CBF_P_close();
    }
    return QObject::eventFilter(watched, event);
}

bool ScopeApp::mayClose()
{
    const QStringList unsent = m_parapanel->unsentFields();
    if (unsent.isEmpty())
        return true;
    const bool toFile = params().target == DATFILE;
    const QString where = toFile    ? QCoreApplication::translate("ScopeApp", "Save them to a parameter file")
        : params().target == EEPROM ? QCoreApplication::translate("ScopeApp", "Send them to the sensor's EEPROM")
                                    : QCoreApplication::translate("ScopeApp", "Send them to the sensor (RAM)");
    const QString text = QCoreApplication::translate(
                             "ScopeApp",
                             " These parameters were changed here but not sent to the sensor \n"
                             " (their fields have a dashed frame): \n %1. \n\n %2 before closing? ")
                             .arg(unsent.join(QStringLiteral(", ")), where);
    switch (dialogs().ask(QStringLiteral("CONFIRM!"), text,
                          toFile ? QCoreApplication::translate("ScopeApp", "Save, then close")
                                 : QCoreApplication::translate("ScopeApp", "Send, then close"),
                          toFile ? QCoreApplication::translate("ScopeApp", "Close without saving")
                                 : QCoreApplication::translate("ScopeApp", "Close without sending"))) {
    case Dialogs::Answer::No: return true;
    case Dialogs::Answer::Cancel: return false;
    case Dialogs::Answer::Yes: break;
    }
    // Running loops end, as on closing; the send follows them, and the
    // program closes once it went through. A failed send leaves it open.
    flags().poll = 0;
    flags().pollrecord = 0;
    flags().pollmonitor = 0;
    pump().poke();
    QPointer<QWidget> main = m_panel.widget.get();
    m_parapanel->CBF_ButtonSend([main](bool sent) {
        if (sent && main)
            QMetaObject::invokeMethod(main, &QWidget::close, Qt::QueuedConnection);
    });
    return false;
}

void ScopeApp::showStatus(const QString& text)
{
    m_panel.ui->DispStatus->setText(text);
    m_interfacepanel.ui().DispInterfaceStatus->setText(text);
}

void ScopeApp::timeoutReaction()
{
    // A transfer that lost the line with "Reconnect and resume" on: the line
    // is taken up again when it has ended; the panel opens if that gives up.
    if (reconnect().recoveryAsked())
        return;
    openInterfacePanel();
}

void ScopeApp::openInterfacePanel()
{
    if (quitRequested())
        return;
    m_interfacepanel.RememberForDiscard();
    m_interfacepanel.SetAcceptAllowed(false);
    m_interfacepanel.Show();
}

void ScopeApp::lineCheckPassed()
{
    m_identified = true;
    m_interfacepanel.SetAcceptAllowed(true);
    SetButtonsDimmed(1);
    // After a SEND cut short the sensor holds a mixed set: finished, put
    // back or left as the user says, before anything reads it.
    if (!m_parapanel->OfferToFinishCutWrite())
        m_parapanel->GetPara();
    SetButtonsDimmed(0);
}

void ScopeApp::showConnectionInUse(std::uint16_t comprotocol, std::uint16_t comport, const QString& ipBuf)
{
    Ui::P& p = *m_panel.ui;
    p.DispComPort->setValue(comport);
    p.DispIpAddress->setText(ipBuf);
    if (comprotocol == RS232 || comprotocol == TCPIP) {
        setVisibleWithCaption(p.DispComPort, comprotocol == RS232);
        setVisibleWithCaption(p.DispIpAddress, comprotocol == TCPIP);
    }
}

bool ScopeApp::afterOpening()
{
    m_identified = false;
    if (link().openResult() < 0)
        exchange().SetPopupTimeout();
    else
        exchange().CheckComLine();
    if (m_identified && m_staleAfterGivingUp)
        showStale(QString());  // connected again, but no value has come yet
    if (m_identified)
        showCalibrationDue();
    return m_identified;
}

void ScopeApp::showIdentification(const QString& text)
{
    m_sensorId = text.trimmed();
    if (m_identified)
        showCalibrationDue();
    for (QLineEdit* display :
         {m_gfpanel.ui->DispID, m_vecpanel.ui->DispID, m_recpanel.ui->DispID, m_monitorpanel.ui->DispID})
        display->setText(text);
}

void ScopeApp::showCalibrationDue()
{
    if (!m_calib)
        return;  // not built yet: the connection at start-up shows it again
    const CalibrationLog& log = m_calib->journal().log;
    const CalibrationIntervals intervals(
        QFileInfo(log.path()).absoluteDir().filePath(QStringLiteral("calibration-intervals.txt")));
    const QString due = calibrationDueText(log.read().records, intervals, m_sensorId, exchange().versionText(),
                                           QDateTime::currentDateTime());
    m_panel.ui->DispCalibDue->setText(due);
    m_panel.ui->DispCalibDue->setVisible(!due.isEmpty());
}

}  // namespace tarvo
