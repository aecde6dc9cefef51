#include "tempcompapp.h"

#include "brandingtables.h"
#include "charts.h"
#include "coefficientbox.h"
#include "connectionboxes.h"
#include "dialogs.h"
#include "entryfeedback.h"
#include "equationfile.h"
#include "factortransfer.h"
#include "frame.h"
#include "panelutil.h"
#include "panelwindows.h"
#include "righthelp.h"
#include "tracewindow.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"
#include "userguide.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSettings>
#include <QTimer>
#include <QtCharts/QChart>
#include <algorithm>

namespace tarvo::tempcomp {

namespace {

const QString kAttention = QStringLiteral("ATTENTION!");
constexpr int kPointsPerScreen = 101;
constexpr int kSendColour = 0xFF0000;
constexpr int kIdleColour = 0xE0E0E0;

QString programDirOr(const QString& dir)
{
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

void setButtonColour(QWidget* button, int rgb)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor::fromRgb(QRgb(rgb)));
    button->setPalette(palette);
}

void plot(StripChart& chart, const Extremes& e, const double* values, int count)
{
    chart.setPointsPerScreen(kPointsPerScreen);
    chart.setYRange(e.min - 50.0, e.max + 50.0);
    chart.plot(values, count);
}

// The last connection that answered, in the session file: the tool keeps
// no connection settings file of its own.
const QString kLastProtocol = QStringLiteral("connection/protocol");
const QString kLastSerialPort = QStringLiteral("connection/serialPort");
const QString kLastServer = QStringLiteral("connection/server");
const QString kLastTcpPort = QStringLiteral("connection/tcpPort");

std::optional<ConnectionSettings> lastConnection(const QSettings& session)
{
    bool ok = false;
    const int protocol = session.value(kLastProtocol).toInt(&ok);
    if (!ok || (protocol != RS232 && protocol != TCPIP))
        return std::nullopt;
    ConnectionSettings c;
    c.comprotocol = static_cast<std::uint16_t>(protocol);
    c.comport = static_cast<std::uint16_t>(std::clamp(session.value(kLastSerialPort, 1).toInt(), 1, 256));
    c.ipBuf = session.value(kLastServer).toString();
    c.portNumStr = session.value(kLastTcpPort).toString();
    return c;
}

template <size_t N>
std::array<double, N> asDoubles(const std::array<std::uint16_t, N>& values)
{
    std::array<double, N> out{};
    std::copy(values.begin(), values.end(), out.begin());
    return out;
}

}  // namespace

TempCompApp::TempCompApp(const QString& programDir, QObject* parent)
    : QObject(parent)
    , connection(connectionOptions(ProgramProfile::ColourTool))
    , pump(connection.pump())
    , flags(connection.flags())
    , params(connection.params())
    , link(connection.link())
    , exchange(connection.exchange())
    , reconnect(connection.reconnector())
    , proj_dir(programDirOr(programDir))
    , settings(preparedSettingsLocation(proj_dir, kToolProgram, kToolSettingsFiles))
    , panel(std::make_unique<QWidget>())
    , ui(std::make_unique<Ui::P>())
    , interfacepanel(connection, *this, ProgramProfile::ColourTool, settings.settingsDir)
    , m_help(std::make_unique<RightClickHelp>())
{
    ui->setupUi(panel.get());
    // Right-click help on the interface panel only; the main panel acts on commits alone.
    InterfacePanel::addHelpTexts(*m_help);
    TraceWindow::addHelpTexts(*m_help);
    InterfacePanel::addLocationHelp(*m_help, describeSettingsLocation(settings, kToolSettingsFiles));
    m_help->install(interfacepanel.widget());
    watchNumberEntries(panel.get());
    watchNumberEntries(interfacepanel.widget());
    setupCharts();
    tracewindow = std::make_unique<TraceWindow>(link.trace(), ui->ButtonTrace, interfacepanel.widget(),
                                                settings.documentsDir);
    m_help->install(tracewindow->widget());
    wireMainPanel();
    wireConnection();

    m_session = std::make_unique<QSettings>(settings.filePath(sessionFileName(kToolProgram)), QSettings::IniFormat);
    dialogs().rememberFoldersIn(m_session.get());
    interfacepanel.UseLanguageSetting(m_session.get());
    m_windows = std::make_unique<PanelWindows>(panel.get(), m_session.get(), QStringLiteral("tool.html"));
    m_windows->addSecondary(interfacepanel.widget(), QStringLiteral("connect.html"));
    m_windows->addSecondary(tracewindow->widget(), QStringLiteral("trace.html"));
}

TempCompApp::~TempCompApp()
{
    // The panel outlives its uic record by a moment; no event may reach the filter then.
    ui->EditTemp->removeEventFilter(this);
    panel->removeEventFilter(this);
}

void TempCompApp::setupCharts()
{
    const QColor red(210, 0, 0), green(0, 150, 0), blue(0, 0, 220);
    const QString raw = QStringLiteral("raw"), factor = QStringLiteral("1/1024");
    const QStringList rgb{QStringLiteral("RED"), QStringLiteral("GREEN"), QStringLiteral("BLUE")};
    auto names = [&](const QString& suffix, const QString& unit) {
        QStringList out;
        for (const QString& c : rgb)
            out << withUnit(c + suffix, unit);
        return out;
    };
    const QStringList curveNames = names(QString(), raw);
    const QStringList factorNames = names(QStringLiteral(" factor"), factor);
    const struct {
        QChartView* view;
        QList<QColor> colours;
        int first, count;  // of the three channels
        bool factors;
    } charts[] = {
        {ui->GraphRed, {red}, 0, 1, false},    {ui->GraphGreen, {green}, 1, 1, false},
        {ui->GraphBlue, {blue}, 2, 1, false},  {ui->GraphRGB, {red, green, blue}, 0, 3, false},
        {ui->GraphCfRed, {red}, 0, 1, true},   {ui->GraphCfGreen, {green}, 1, 1, true},
        {ui->GraphCfBlue, {blue}, 2, 1, true}, {ui->GraphCfRGB, {red, green, blue}, 0, 3, true},
    };
    for (const auto& c : charts) {
        auto strip = std::make_unique<StripChart>(c.view, c.colours);
        strip->setPointsPerScreen(kPointsPerScreen);
        strip->setAlignLeft(true);  // X is the temperature step t = 0 … 99
        // RED, GREEN, BLUE in the user's language on the chart; the export's columns keep them.
        const QStringList channels = QStringList{QCoreApplication::translate("TempComp", "RED"),
                                                 QCoreApplication::translate("TempComp", "GREEN"),
                                                 QCoreApplication::translate("TempComp", "BLUE")}
                                         .mid(c.first, c.count);
        const QString shown = channels.join(QStringLiteral(", "));
        const QString& unit = c.factors ? factor : raw;
        strip->setNames(QStringLiteral("temperature step"),
                        (c.factors ? factorNames : curveNames).mid(c.first, c.count));
        // "RED curve", "RED, GREEN, BLUE factors": the picture's and export's title.
        const QString one = c.factors ? QCoreApplication::translate("TempComp", "%1 factor")
                                      : QCoreApplication::translate("TempComp", "%1 curve");
        const QString kind = c.factors ? QCoreApplication::translate("TempComp", "factor")
                                       : QCoreApplication::translate("TempComp", "curve");
        strip->setAxisTitles(QCoreApplication::translate("TempComp", "temperature step t"),
                             withUnit(c.count == 1 ? one.arg(channels[0]) : kind, shownUnit(unit)));
        strip->chart()->setTitle(shown);
        // The file's name from the English title in every language: "rgb-red-curve".
        strip->setTitle(rgb.mid(c.first, c.count).join(QStringLiteral(", "))
                        + (c.factors ? QStringLiteral(" factor") : QStringLiteral(" curve"))
                        + (c.count == 1 ? QString() : QStringLiteral("s")));
        const QString stem = QStringLiteral("rgb-") + strip->fileStem();
        strip->setTitle(c.count == 1    ? one.arg(shown)
                            : c.factors ? QCoreApplication::translate("TempComp", "%1 factors").arg(shown)
                                        : QCoreApplication::translate("TempComp", "%1 curves").arg(shown));
        strip->setFileStem(stem);
        if (c.count > 1)
            for (int t = 0; t < c.count; ++t)
                strip->setLegendLabel(t, channels[t]);
        m_charts.emplace_back(c.view, std::move(strip));
    }
    setChartSource(panel.get(), [this] { return exchange.versionText(); });
}

StripChart& TempCompApp::chart(QChartView* view)
{
    for (auto& [v, strip] : m_charts)
        if (v == view)
            return *strip;
    Q_ASSERT_X(false, "TempCompApp::chart", "not one of the panel's charts");
    return *m_charts.front().second;
}

void TempCompApp::wireMainPanel()
{
    Ui::P& p = *ui;
    panel->installEventFilter(this);
    connect(p.ButtonConnect, &QPushButton::clicked, this, [this] { interfacepanel.CBF_ButtonConnect(); });
    connect(p.ButtonHelp, &QPushButton::clicked, this, [] { openUserGuide(QStringLiteral("tool.html")); });
    connect(p.ButtonSendCF, &QPushButton::clicked, this,
            [this] { exchange.Transfer(TransferKind::SendFactors, [this] { CBF_ButtonSendCF(); }); });
    connect(p.ButtonSaveEquation, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonSaveEquation);
    connect(p.ButtonGetEquation, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonGetEquation);
    connect(p.ButtonCalcCurves, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonCalcCurves);
    connect(p.ButtonShowRed, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonShowRed);
    connect(p.ButtonShowGreen, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonShowGreen);
    connect(p.ButtonShowBlue, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonShowBlue);
    connect(p.ButtonCalcCalib, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonCalcCalib);
    connect(p.ButtonShowCfRed, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonShowCfRed);
    connect(p.ButtonShowCfGreen, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonShowCfGreen);
    connect(p.ButtonShowCfBlue, &QPushButton::clicked, this, &TempCompApp::CBF_ButtonShowCfBlue);
    // The temperature step is committed by a changed value (arrows, or typing
    // then Enter or leaving the field) and by Enter on an unchanged value.
    connect(p.EditTemp, &QSpinBox::valueChanged, this, &TempCompApp::CBF_EditTemp);
    p.EditTemp->installEventFilter(this);
}

int TempCompApp::run()
{
    panel->show();
    InitVars();
    if (!quitRequested())
        QApplication::exec();
    connection.closeChannel();
    return 0;
}

void TempCompApp::InitVars()
{

    ShowLogo(panel.get(), toolBrandingTable(), ToolBrandingVariant);
    interfacepanel.SetupServerField();
    // A connection given on the command line, else the last one that answered.
    if (connectionForThisRun)
        interfacepanel.UseForThisRun(*connectionForThisRun);
    else if (const auto last = lastConnection(*m_session))
        interfacepanel.UseForThisRun(*last);
    interfacepanel.InitConnectPanel();
    reconnect.setIdleRecovery(true);
    interfacepanel.GetReconnectSettingsFromFile();
    exchange.Transfer(TransferKind::Connect, [this] { interfacepanel.TryToConnect(); });
}

void TempCompApp::CBF_P_close()
{
    connection.close();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != panel.get())
            w->hide();
    pump.quitWhenIdle();
}

bool TempCompApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panel.get() && event->type() == QEvent::Close) {
        CBF_P_close();
    } else if (watched == ui->EditTemp && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // A changed value commits through valueChanged; an unchanged one here.
            const int commitsBefore = m_tempCommits;
            ui->EditTemp->interpretText();
            if (m_tempCommits == commitsBefore)
                CBF_EditTemp();
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- Transfer -------------------------------------------------------------

bool TempCompApp::SendPara()
{
    commitPendingEdits(panel.get());  // the factors come from what the fields show
    CalcCurves();
    CalcCfCurves();
    if (!confirmDoubtfulFactors())
        return false;
    int blocks = 0;
    if (!SendFactorTables(exchange, link, factors, &blocks)) {
        if (blocks > 0)
            dialogs().message(
                QStringLiteral("ATTENTION!"),
                QCoreApplication::translate("TempComp",
                                            " THE FACTOR TABLES WERE CUT SHORT \n\n The sensor now holds mixed "
                                            "tables: \n %1. \n\n SEND the factors again to finish them. ")
                    .arg(describeCutFactors(blocks)));
        return false;
    }
    // Reopen the line that got the tables and query its version afresh, so
    // the status names the sensor that got them (not the panel's untried values).
    interfacepanel.Reconnect();
    return true;
}

void TempCompApp::SetButtonsDimmed(bool dim)
{
    m_dimDepth = std::max(0, m_dimDepth + (dim ? 1 : -1));
    const bool on = m_dimDepth > 0;
    // Sending, connecting, and recomputing the factor tables being sent.
    const std::array<QWidget*, 3> commands = {ui->ButtonSendCF, ui->ButtonCalcCalib, ui->ButtonConnect};
    for (QWidget* w : commands)
        w->setEnabled(!on);
    interfacepanel.SetButtonsDimmed(on);
}

// --- Computation ----------------------------------------------------------

Coefficients TempCompApp::coefficientsFromPanel() const
{
    Coefficients c{};
    const auto fields = coefficientFields();
    for (size_t i = 0; i < c.size(); ++i)
        c[i] = fields[i]->value();
    return c;
}

void TempCompApp::coefficientsToPanel(const Coefficients& c)
{
    const auto fields = coefficientFields();
    for (size_t i = 0; i < c.size(); ++i)
        fields[i]->setValue(c[i]);
}

std::array<CoefficientBox*, kCoefficients> TempCompApp::coefficientFields() const
{
    const Ui::P& p = *ui;
    return {p.RX4, p.RX3, p.RX2, p.RX1, p.RT, p.GX4, p.GX3, p.GX2, p.GX1, p.GT, p.BX4, p.BX3, p.BX2, p.BX1, p.BT};
}

void TempCompApp::CalcCurves()
{
    m_curvesFrom = coefficientsFromPanel();
    curves = tempcomp::CalcCurves(*m_curvesFrom);
    plot(chart(ui->GraphRed), curves.extremes[Red], curves.dataRot.data(), kSteps);
    plot(chart(ui->GraphGreen), curves.extremes[Green], curves.dataGruen.data(), kSteps);
    plot(chart(ui->GraphBlue), curves.extremes[Blue], curves.dataBlau.data(), kSteps);
    plot(chart(ui->GraphRGB), curves.overall, curves.dataRGB.data(), kChannels * kSteps);
}

References TempCompApp::referencesFromPanel() const
{
    return {static_cast<std::uint16_t>(ui->EditRefRed->value()), static_cast<std::uint16_t>(ui->EditRefGreen->value()),
            static_cast<std::uint16_t>(ui->EditRefBlue->value())};
}

bool TempCompApp::CalcCfCurves()
{
    factors = tempcomp::CalcCfCurves(curves, referencesFromPanel());
    plot(chart(ui->GraphCfRed), factors.extremes[Red], asDoubles(factors.dataCfRot).data(), kSteps);
    plot(chart(ui->GraphCfGreen), factors.extremes[Green], asDoubles(factors.dataCfGruen).data(), kSteps);
    plot(chart(ui->GraphCfBlue), factors.extremes[Blue], asDoubles(factors.dataCfBlau).data(), kSteps);
    plot(chart(ui->GraphCfRGB), factors.overall, asDoubles(factors.dataCfRGB).data(), kChannels * kSteps);
    return !factors.anyClamped();
}

QString TempCompApp::clampedFactorsText() const
{
    QString text = QCoreApplication::translate("TempComp",
                                               " Some compensation factors do not fit the sensor's range 0 … 65535 \n"
                                               " (the curve is 0 or negative there, or far below its reference) \n"
                                               " and were limited to it: \n");
    for (int c = 0; c < kChannels; ++c) {
        const ClampReport& r = factors.clamped[c];
        if (r.count > 0)
            text += QCoreApplication::translate("TempComp", "\n %1: %2 of 100, the first at temperature step %3 ")
                        .arg(QString::fromLatin1(kChannelNames[c]))
                        .arg(r.count)
                        .arg(r.firstStep);
    }
    return text;
}

bool TempCompApp::confirmDoubtfulFactors()
{
    QStringList doubts;
    if (factors.anyClamped())
        doubts << clampedFactorsText();
    QStringList zero;
    for (int c = 0; c < kChannels; ++c)
        if (allZero(factors.channel(c)))
            zero << QString::fromLatin1(kChannelNames[c]);
    if (!zero.isEmpty())
        doubts << QCoreApplication::translate("TempComp", " All 100 factors of %1 are 0. ")
                      .arg(zero.join(QStringLiteral(", ")));
    // References typed by hand are the user's; those taken from the curves
    // must come from the curves of the coefficients shown.
    if (m_refsFromCurves && m_refsTaken == referencesFromPanel() && m_refsFrom != coefficientsFromPanel())
        doubts << (m_refsFrom ? QCoreApplication::translate("TempComp",
                                                            " The reference values were taken at temperature step %1 \n"
                                                            " from curves of other coefficients than those shown. ")
                              : QCoreApplication::translate("TempComp",
                                                            " The reference values were taken at temperature step %1 \n"
                                                            " before the curves were computed. "))
                      .arg(ui->EditTemp->value())
                + QCoreApplication::translate("TempComp",
                                              "\n Choose the step again after CALCULATE CURVES \n"
                                              " to take them from the curves shown. ");
    if (doubts.isEmpty())
        return true;
    return dialogs().confirm(kAttention,
                             doubts.join(QStringLiteral("\n\n"))
                                 + QCoreApplication::translate("TempComp", "\n\n Send the factor tables anyway? "));
}

// --- Panel commands -------------------------------------------------------

void TempCompApp::CBF_ButtonSendCF()
{
    ui->DispSendCF->setText(QCoreApplication::translate("TempComp", "TRY TO SAVE"));
    setButtonColour(ui->ButtonSendCF, kSendColour);
    SetButtonsDimmed(true);
    const bool sent = SendPara();
    SetButtonsDimmed(false);
    ui->DispSendCF->setText(sent ? QCoreApplication::translate("TempComp", "SUCCESS")
                                 : QCoreApplication::translate("TempComp", "FAILURE"));
    setButtonColour(ui->ButtonSendCF, kIdleColour);
}

QString TempCompApp::selectEquationFile(bool save)
{
    FileDialogRequest request;
    request.directory = settings.documentsDir;
    request.defaultFile = QString::fromLatin1(kEquationDefaultFile);
    request.filter = QString::fromLatin1(kEquationFilter);
    request.title = QStringLiteral("equation");
    request.save = save;
    QString path = dialogs().selectFile(request);
    if (path.isEmpty())
        return path;
    const bool equ = QFileInfo(path).suffix().compare(QLatin1String("equ"), Qt::CaseInsensitive) == 0;
    if (save && !equ)
        path += QStringLiteral(".equ");  // the file type stays that of the filter
    if (!save && !equ) {
        // The format is defined by its extension; another file is not loaded.
        dialogs().message(kAttention,
                          QCoreApplication::translate("TempComp",
                                                      " %1 \n is not an equation file (*.equ). \n\n"
                                                      " The coefficients are unchanged. ")
                              .arg(QDir::toNativeSeparators(path)));
        return {};
    }
    file_name = path;
    return path;
}

void TempCompApp::CBF_ButtonSaveEquation()
{
    const QString path = selectEquationFile(true);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeEquationFile(path, coefficientsFromPanel(), &error))
        dialogs().message(
            kAttention,
            QCoreApplication::translate("TempComp", " The equation file \n %1 \n could not be saved (%2). ")
                .arg(QDir::toNativeSeparators(path), error));
}

void TempCompApp::CBF_ButtonGetEquation()
{
    const QString path = selectEquationFile(false);
    if (path.isEmpty())
        return;
    QString error;
    std::optional<Coefficients> c = readEquationFile(path, &error);
    if (c) {
        error = coefficientOutsideRange(*c);
        if (!error.isEmpty())
            c.reset();
    }
    if (!c) {
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);  // the sentence goes on below
        dialogs().message(kAttention,
                          QCoreApplication::translate("TempComp",
                                                      " The equation file \n %1 \n was not loaded: %2. \n\n"
                                                      " The coefficients are unchanged. ")
                              .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    // The curves and factors change only when they are computed again.
    coefficientsToPanel(*c);
}

void TempCompApp::showOnly(QWidget* shown, std::initializer_list<QWidget*> hidden)
{
    for (QWidget* w : hidden)
        w->setVisible(false);
    shown->setVisible(true);
}

void TempCompApp::CBF_ButtonCalcCurves()
{
    showOnly(ui->GraphRGB, {ui->GraphRed, ui->GraphGreen, ui->GraphBlue});
    CalcCurves();
}

void TempCompApp::CBF_ButtonShowRed()
{
    showOnly(ui->GraphRed, {ui->GraphGreen, ui->GraphBlue, ui->GraphRGB});
}
void TempCompApp::CBF_ButtonShowGreen()
{
    showOnly(ui->GraphGreen, {ui->GraphRed, ui->GraphBlue, ui->GraphRGB});
}
void TempCompApp::CBF_ButtonShowBlue()
{
    showOnly(ui->GraphBlue, {ui->GraphRGB, ui->GraphRed, ui->GraphGreen});
}

void TempCompApp::CBF_ButtonCalcCalib()
{
    showOnly(ui->GraphCfRGB, {ui->GraphCfRed, ui->GraphCfGreen, ui->GraphCfBlue});
    if (!CalcCfCurves())
        dialogs().message(kAttention, clampedFactorsText());
}

void TempCompApp::CBF_ButtonShowCfRed()
{
    showOnly(ui->GraphCfRed, {ui->GraphCfGreen, ui->GraphCfBlue, ui->GraphCfRGB});
}
void TempCompApp::CBF_ButtonShowCfGreen()
{
    showOnly(ui->GraphCfGreen, {ui->GraphCfRed, ui->GraphCfBlue, ui->GraphCfRGB});
}
void TempCompApp::CBF_ButtonShowCfBlue()
{
    showOnly(ui->GraphCfBlue, {ui->GraphCfRGB, ui->GraphCfRed, ui->GraphCfGreen});
}

void TempCompApp::CBF_EditTemp()
{
    ++m_tempCommits;
    const int t = std::clamp(ui->EditTemp->value(), 0, kSteps - 1);
    CoefficientBox* displays[kChannels] = {ui->DispCurveRed, ui->DispCurveGreen, ui->DispCurveBlue};
    QSpinBox* refs[kChannels] = {ui->EditRefRed, ui->EditRefGreen, ui->EditRefBlue};
    QString limited;
    for (int c = 0; c < kChannels; ++c) {
        const double v = curves.channel(c)[static_cast<size_t>(t)];
        displays[c]->setValue(v);
        const Limited ref = referenceValue(v);
        refs[c]->setValue(ref.value);
        if (ref.clamped)
            limited += QCoreApplication::translate("TempComp", "\n %1: curve %2, reference %3 ")
                           .arg(QString::fromLatin1(kChannelNames[c]), displays[c]->textFromValue(v))
                           .arg(ref.value);
    }
    m_refsFrom = m_curvesFrom;
    m_refsTaken = referencesFromPanel();
    m_refsFromCurves = true;
    if (!limited.isEmpty())
        dialogs().message(kAttention,
                          QCoreApplication::translate("TempComp",
                                                      " At temperature step %1 a curve lies outside 0 … 65535; \n"
                                                      " its reference value was limited to that range: \n")
                                  .arg(t)
                              + limited);
}

// --- The connection's notifications ---------------------------------------

void TempCompApp::wireConnection()
{
    showConnectionBoxes(connection);
    connect(&connection, &Connection::status, this, &TempCompApp::showStatus);
    connect(&connection, &Connection::openingFailed, this, &TempCompApp::showStatus);
    connect(&connection, &Connection::timedOut, this, &TempCompApp::timeoutReaction);
    connect(&connection, &Connection::lineCheckPassed, this, &TempCompApp::lineCheckPassed);
    connect(&connection, &Connection::lineCheckFailed, this, &TempCompApp::lineCheckFailed);
    connect(&connection, &Connection::linkEvent, this, &TempCompApp::linkEvent);
    connect(&connection, &Connection::retryState, this, &TempCompApp::retryState);
    connect(&interfacepanel, &InterfacePanel::mainStatus, ui->DispStatus, &QLineEdit::setText);
    connect(&interfacepanel, &InterfacePanel::transferButtonsDimmed, this, &TempCompApp::SetButtonsDimmed);
}

void TempCompApp::showStatus(const QString& text)
{
    ui->DispStatus->setText(text);
}

void TempCompApp::timeoutReaction()
{
    dialogs().message(exchange.versionText(), kEchoFailureText);
}

void TempCompApp::lineCheckPassed()
{
    m_identified = true;
    interfacepanel.ui().DispInterfaceStatus->setText(exchange.versionText());
    interfacepanel.SetAcceptAllowed(true);
    // The next start tries this connection first.
    m_session->setValue(kLastProtocol, link.connectionInUse().comprotocol);
    m_session->setValue(kLastSerialPort, link.serialPort());
    m_session->setValue(kLastServer, link.connectionInUse().ipBuf);
    m_session->setValue(kLastTcpPort, link.connectionInUse().portNumStr);
    m_session->sync();
}

void TempCompApp::lineCheckFailed()
{
    ui->DispStatus->setText(QCoreApplication::translate("TempComp", "TIMEOUT"));
    interfacepanel.ui().DispInterfaceStatus->setText(QCoreApplication::translate("TempComp", "CONNECTION FAILURE"));
    interfacepanel.SetAcceptAllowed(false);
}

bool TempCompApp::afterOpening()
{
    // The version query runs whatever the opening returned.
    m_identified = false;
    SetButtonsDimmed(true);
    exchange.CheckComLine();
    SetButtonsDimmed(false);
    return m_identified;
}

// The event's reason is the English one of the events file; the boxes show
// the reconnector's reason in the user's language.
void TempCompApp::linkEvent(LinkEvent event, const QString& /*reason*/)
{
    if (event == LinkEvent::Resumed)
        showStatus(exchange.versionText());
    else if (event == LinkEvent::IdentityChanged && !quitRequested())
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            QCoreApplication::translate("TempComp", " Another sensor answered after the connection was lost: \n %1 ")
                .arg(reconnect.shownReason()));
}

void TempCompApp::retryState(const QString& text)
{
    interfacepanel.SetRetrying(!text.isEmpty());
    showStatus(text.isEmpty() ? QCoreApplication::translate("TempComp", "CONNECTION LOST") : text);
    interfacepanel.ui().DispInterfaceStatus->setText(ui->DispStatus->text());
}

}  // namespace tarvo::tempcomp
