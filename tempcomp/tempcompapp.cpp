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
    , m_connection(connectionOptions(ProgramProfile::ColourTool))
    , m_projDir(programDirOr(programDir))
    , m_settings(preparedSettingsLocation(m_projDir, kToolProgram, kToolSettingsFiles))
    , m_panel(std::make_unique<QWidget>())
    , m_ui(std::make_unique<Ui::P>())
    , m_interfacepanel(m_connection, *this, ProgramProfile::ColourTool, m_settings.settingsDir)
    , m_help(std::make_unique<RightClickHelp>())
{
    m_ui->setupUi(m_panel.get());
    // Right-click help on the interface panel only; the main panel acts on commits alone.
    InterfacePanel::addHelpTexts(*m_help);
    TraceWindow::addHelpTexts(*m_help);
    InterfacePanel::addLocationHelp(*m_help, describeSettingsLocation(m_settings, kToolSettingsFiles));
    m_help->install(m_interfacepanel.widget());
    watchNumberEntries(m_panel.get());
    watchNumberEntries(m_interfacepanel.widget());
    setupCharts();
    m_tracewindow = std::make_unique<TraceWindow>(link().trace(), m_ui->ButtonTrace, m_interfacepanel.widget(),
                                                  m_settings.documentsDir);
    m_help->install(m_tracewindow->widget());
    wireMainPanel();
    wireConnection();

    m_session = std::make_unique<QSettings>(m_settings.filePath(sessionFileName(kToolProgram)), QSettings::IniFormat);
    dialogs().rememberFoldersIn(m_session.get());
    m_interfacepanel.UseLanguageSetting(m_session.get());
    m_windows = std::make_unique<PanelWindows>(m_panel.get(), m_session.get(), QStringLiteral("tool.html"));
    m_windows->addSecondary(m_interfacepanel.widget(), QStringLiteral("connect.html"));
    m_windows->addSecondary(m_tracewindow->widget(), QStringLiteral("trace.html"));
}

TempCompApp::~TempCompApp()
{
    // The panel outlives its uic record by a moment; no event may reach the filter then.
    m_ui->EditTemp->removeEventFilter(this);
    m_panel->removeEventFilter(this);
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
        {m_ui->GraphRed, {red}, 0, 1, false},    {m_ui->GraphGreen, {green}, 1, 1, false},
        {m_ui->GraphBlue, {blue}, 2, 1, false},  {m_ui->GraphRGB, {red, green, blue}, 0, 3, false},
        {m_ui->GraphCfRed, {red}, 0, 1, true},   {m_ui->GraphCfGreen, {green}, 1, 1, true},
        {m_ui->GraphCfBlue, {blue}, 2, 1, true}, {m_ui->GraphCfRGB, {red, green, blue}, 0, 3, true},
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
        QStringList shownNames{QCoreApplication::translate("TempComp", "temperature step")};
        for (const QString& channel : channels)
            shownNames << withUnit(c.factors ? one.arg(channel) : channel, shownUnit(unit));
        strip->setShownNames(shownNames);
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
    setChartSource(m_panel.get(), [this] { return exchange().versionText(); });
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
    Ui::P& p = *m_ui;
    m_panel->installEventFilter(this);
    connect(p.ButtonConnect, &QPushButton::clicked, this, [this] { m_interfacepanel.CBF_ButtonConnect(); });
    connect(p.ButtonHelp, &QPushButton::clicked, this, [] { openUserGuide(QStringLiteral("tool.html")); });
    connect(p.ButtonSendCF, &QPushButton::clicked, this,
            [this] { exchange().Transfer(TransferKind::SendFactors, [this] { CBF_ButtonSendCF(); }); });
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
    m_panel->show();
    InitVars();
    if (!quitRequested())
        QApplication::exec();
    m_connection.closeChannel();
    return 0;
}

void TempCompApp::InitVars()
{

    ShowLogo(m_panel.get(), toolBrandingTable(), ToolBrandingVariant);
    m_interfacepanel.SetupServerField();
    // A connection given on the command line, else the last one that answered.
    if (m_connectionForThisRun)
        m_interfacepanel.UseForThisRun(*m_connectionForThisRun);
    else if (const auto last = lastConnection(*m_session))
        m_interfacepanel.UseForThisRun(*last);
    m_interfacepanel.InitConnectPanel();
    reconnect().setIdleRecovery(true);
    m_interfacepanel.GetReconnectSettingsFromFile();
    exchange().Transfer(TransferKind::Connect, [this] { m_interfacepanel.TryToConnect(); });
}

void TempCompApp::CBF_P_close()
{
    m_connection.close();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != m_panel.get())
            w->hide();
    pump().quitWhenIdle();
}

bool TempCompApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel.get() && event->type() == QEvent::Close) {
        CBF_P_close();
    } else if (watched == m_ui->EditTemp && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // A changed value commits through valueChanged; an unchanged one here.
            const int commitsBefore = m_tempCommits;
            m_ui->EditTemp->interpretText();
            if (m_tempCommits == commitsBefore)
                CBF_EditTemp();
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- Transfer -------------------------------------------------------------

bool TempCompApp::SendPara()
{
    commitPendingEdits(m_panel.get());  // the factors come from what the fields show
    CalcCurves();
    CalcCfCurves();
    if (!confirmDoubtfulFactors())
        return false;
    int blocks = 0;
    if (!SendFactorTables(exchange(), link(), m_factors, &blocks, m_factorPauseMs)) {
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
    m_interfacepanel.Reconnect();
    return true;
}

void TempCompApp::SetButtonsDimmed(bool dim)
{
    m_dimDepth = std::max(0, m_dimDepth + (dim ? 1 : -1));
    const bool on = m_dimDepth > 0;
    // Sending, connecting, and recomputing the factor tables being sent.
    const std::array<QWidget*, 3> commands = {m_ui->ButtonSendCF, m_ui->ButtonCalcCalib, m_ui->ButtonConnect};
    for (QWidget* w : commands)
        w->setEnabled(!on);
    m_interfacepanel.SetButtonsDimmed(on);
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
    const Ui::P& p = *m_ui;
    return {p.RX4, p.RX3, p.RX2, p.RX1, p.RT, p.GX4, p.GX3, p.GX2, p.GX1, p.GT, p.BX4, p.BX3, p.BX2, p.BX1, p.BT};
}

void TempCompApp::CalcCurves()
{
    m_curvesFrom = coefficientsFromPanel();
    m_curves = tempcomp::CalcCurves(*m_curvesFrom);
    plot(chart(m_ui->GraphRed), m_curves.extremes[Red], m_curves.dataRot.data(), kSteps);
    plot(chart(m_ui->GraphGreen), m_curves.extremes[Green], m_curves.dataGruen.data(), kSteps);
    plot(chart(m_ui->GraphBlue), m_curves.extremes[Blue], m_curves.dataBlau.data(), kSteps);
    plot(chart(m_ui->GraphRGB), m_curves.overall, m_curves.dataRGB.data(), kChannels * kSteps);
}

References TempCompApp::referencesFromPanel() const
{
    return {static_cast<std::uint16_t>(m_ui->EditRefRed->value()),
            static_cast<std::uint16_t>(m_ui->EditRefGreen->value()),
            static_cast<std::uint16_t>(m_ui->EditRefBlue->value())};
}

bool TempCompApp::CalcCfCurves()
{
    m_factors = tempcomp::CalcCfCurves(m_curves, referencesFromPanel());
    plot(chart(m_ui->GraphCfRed), m_factors.extremes[Red], asDoubles(m_factors.dataCfRot).data(), kSteps);
    plot(chart(m_ui->GraphCfGreen), m_factors.extremes[Green], asDoubles(m_factors.dataCfGruen).data(), kSteps);
    plot(chart(m_ui->GraphCfBlue), m_factors.extremes[Blue], asDoubles(m_factors.dataCfBlau).data(), kSteps);
    plot(chart(m_ui->GraphCfRGB), m_factors.overall, asDoubles(m_factors.dataCfRGB).data(), kChannels * kSteps);
    return !m_factors.anyClamped();
}

QString TempCompApp::clampedFactorsText() const
{
    QString text = QCoreApplication::translate("TempComp",
                                               " Some compensation factors do not fit the sensor's range 0 … 65535 \n"
                                               " (the curve is 0 or negative there, or far below its reference) \n"
                                               " and were limited to it: \n");
    for (int c = 0; c < kChannels; ++c) {
        const ClampReport& r = m_factors.clamped[c];
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
    if (m_factors.anyClamped())
        doubts << clampedFactorsText();
    QStringList zero;
    for (int c = 0; c < kChannels; ++c)
        if (allZero(m_factors.channel(c)))
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
                      .arg(m_ui->EditTemp->value())
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
    m_ui->DispSendCF->setText(QCoreApplication::translate("TempComp", "TRY TO SAVE"));
    setButtonColour(m_ui->ButtonSendCF, kSendColour);
    SetButtonsDimmed(true);
    const bool sent = SendPara();
    SetButtonsDimmed(false);
    m_ui->DispSendCF->setText(sent ? QCoreApplication::translate("TempComp", "SUCCESS")
                                   : QCoreApplication::translate("TempComp", "FAILURE"));
    setButtonColour(m_ui->ButtonSendCF, kIdleColour);
}

QString TempCompApp::selectEquationFile(bool save)
{
    FileDialogRequest request;
    request.directory = m_settings.documentsDir;
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
    m_fileName = path;
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
    showOnly(m_ui->GraphRGB, {m_ui->GraphRed, m_ui->GraphGreen, m_ui->GraphBlue});
    CalcCurves();
}

void TempCompApp::CBF_ButtonShowRed()
{
    showOnly(m_ui->GraphRed, {m_ui->GraphGreen, m_ui->GraphBlue, m_ui->GraphRGB});
}
void TempCompApp::CBF_ButtonShowGreen()
{
    showOnly(m_ui->GraphGreen, {m_ui->GraphRed, m_ui->GraphBlue, m_ui->GraphRGB});
}
void TempCompApp::CBF_ButtonShowBlue()
{
    showOnly(m_ui->GraphBlue, {m_ui->GraphRGB, m_ui->GraphRed, m_ui->GraphGreen});
}

void TempCompApp::CBF_ButtonCalcCalib()
{
    showOnly(m_ui->GraphCfRGB, {m_ui->GraphCfRed, m_ui->GraphCfGreen, m_ui->GraphCfBlue});
    if (!CalcCfCurves())
        dialogs().message(kAttention, clampedFactorsText());
}

void TempCompApp::CBF_ButtonShowCfRed()
{
    showOnly(m_ui->GraphCfRed, {m_ui->GraphCfGreen, m_ui->GraphCfBlue, m_ui->GraphCfRGB});
}
void TempCompApp::CBF_ButtonShowCfGreen()
{
    showOnly(m_ui->GraphCfGreen, {m_ui->GraphCfRed, m_ui->GraphCfBlue, m_ui->GraphCfRGB});
}
void TempCompApp::CBF_ButtonShowCfBlue()
{
    showOnly(m_ui->GraphCfBlue, {m_ui->GraphCfRGB, m_ui->GraphCfRed, m_ui->GraphCfGreen});
}

void TempCompApp::CBF_EditTemp()
{
    ++m_tempCommits;
    const int t = std::clamp(m_ui->EditTemp->value(), 0, kSteps - 1);
    CoefficientBox* displays[kChannels] = {m_ui->DispCurveRed, m_ui->DispCurveGreen, m_ui->DispCurveBlue};
    QSpinBox* refs[kChannels] = {m_ui->EditRefRed, m_ui->EditRefGreen, m_ui->EditRefBlue};
    QString limited;
    for (int c = 0; c < kChannels; ++c) {
        const double v = m_curves.channel(c)[static_cast<size_t>(t)];
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
    showConnectionBoxes(m_connection);
    connect(&m_connection, &Connection::status, this, &TempCompApp::showStatus);
    connect(&m_connection, &Connection::openingFailed, this, &TempCompApp::showStatus);
    connect(&m_connection, &Connection::timedOut, this, &TempCompApp::timeoutReaction);
    connect(&m_connection, &Connection::lineCheckPassed, this, &TempCompApp::lineCheckPassed);
    connect(&m_connection, &Connection::lineCheckFailed, this, &TempCompApp::lineCheckFailed);
    connect(&m_connection, &Connection::linkEvent, this, &TempCompApp::linkEvent);
    connect(&m_connection, &Connection::retryState, this, &TempCompApp::retryState);
    connect(&m_interfacepanel, &InterfacePanel::mainStatus, m_ui->DispStatus, &QLineEdit::setText);
    connect(&m_interfacepanel, &InterfacePanel::transferButtonsDimmed, this, &TempCompApp::SetButtonsDimmed);
}

void TempCompApp::showStatus(const QString& text)
{
    m_ui->DispStatus->setText(text);
}

void TempCompApp::timeoutReaction()
{
    dialogs().message(exchange().versionText(), kEchoFailureText);
}

void TempCompApp::lineCheckPassed()
{
    m_identified = true;
    m_interfacepanel.ui().DispInterfaceStatus->setText(exchange().versionText());
    m_interfacepanel.SetAcceptAllowed(true);
    // The next start tries this connection first.
    m_session->setValue(kLastProtocol, link().connectionInUse().comprotocol);
    m_session->setValue(kLastSerialPort, link().serialPort());
    m_session->setValue(kLastServer, link().connectionInUse().ipBuf);
    m_session->setValue(kLastTcpPort, link().connectionInUse().portNumStr);
    m_session->sync();
}

void TempCompApp::lineCheckFailed()
{
    m_ui->DispStatus->setText(QCoreApplication::translate("TempComp", "TIMEOUT"));
    m_interfacepanel.ui().DispInterfaceStatus->setText(QCoreApplication::translate("TempComp", "CONNECTION FAILURE"));
    m_interfacepanel.SetAcceptAllowed(false);
}

bool TempCompApp::afterOpening()
{
    // The version query runs whatever the opening returned.
    m_identified = false;
    SetButtonsDimmed(true);
    exchange().CheckComLine();
    SetButtonsDimmed(false);
    return m_identified;
}

// The event's reason is the English one of the events file; the boxes show
// the reconnector's reason in the user's language.
void TempCompApp::linkEvent(LinkEvent event, const QString& /*reason*/)
{
    if (event == LinkEvent::Resumed)
        showStatus(exchange().versionText());
    else if (event == LinkEvent::IdentityChanged && !quitRequested())
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            QCoreApplication::translate("TempComp", " Another sensor answered after the connection was lost: \n %1 ")
                .arg(reconnect().shownReason()));
}

void TempCompApp::retryState(const QString& text)
{
    m_interfacepanel.SetRetrying(!text.isEmpty());
    showStatus(text.isEmpty() ? QCoreApplication::translate("TempComp", "CONNECTION LOST") : text);
    m_interfacepanel.ui().DispInterfaceStatus->setText(m_ui->DispStatus->text());
}

}  // namespace tarvo::tempcomp
