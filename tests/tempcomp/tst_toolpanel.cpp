// The tool's main panel: start-up, the interface panel's options, the chart
// commands, the temperature step, the equation file commands and closing.
#include "chartexport.h"
#include "charts.h"
#include "equationfile.h"
#include "frametrace.h"
#include "languagecheck.h"
#include "righthelp.h"
#include "screenreader.h"
#include "toolfixture.h"
#include "tracewindow.h"

#include <QBuffer>
#include <QLabel>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

using namespace tarvo;
using namespace tarvo::tempcomp;
using tarvo::test::ToolFixture;

namespace {

// The charts as drawn: pending redraws are done first.
QLineSeries* series(QChartView* view, int trace = 0)
{
    ChartPlot::redrawAll();
    return qobject_cast<QLineSeries*>(view->chart()->series().at(trace));
}

QValueAxis* yAxis(QChartView* view)
{
    ChartPlot::redrawAll();
    return qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).value(0));
}

const Coefficients kLines = {0, 0, 0, 0.5, 1000, 0, 0, 0, 0, 2000, 0, 0, 0, 0, 3000};

}  // namespace

class ToolPanelTest : public QObject {
    Q_OBJECT
private slots:
    void controlsCarryCaptionsAndAccessibleNames();
    void everyTextReadsInGermanInGerman();
    void startUpBrandsTriesPortOneAndReadsOnlyTheHistory();
    void acceptOnlyHidesTheInterfacePanelAndTheNextStartTriesTheLastConnection();
    void chartCommandsLeaveOneChartOfTheirGroupVisible_data();
    void chartCommandsLeaveOneChartOfTheirGroupVisible();
    void calculatingDrawsEachChartOnItsOwnAxes();
    void chartsChangeOnlyWhenComputed();
    void temperatureStepCommitsSetTheReferences();
    void valuesOutsideSixteenBitsAreLimitedAndReported();
    void equationIsSavedWhereTheUserChoseAndLoadedBack();
    void badEquationFilesLeaveTheFieldsAndSaySo_data();
    void badEquationFilesLeaveTheFieldsAndSaySo();
    void equationDialogsOfferOnlyTheirFilterAndLoadOnlyEquationFiles();
    void typedEntriesTheFieldDoesNotTakeAreToldAtTheField();
    void keyboardReachesTheFieldsAndCommands();
    void rightClickHelpsOnlyOnTheInterfacePanel();
    void closingTheMainPanelEndsTheProgramAndTheConversation();
};

void ToolPanelTest::controlsCarryCaptionsAndAccessibleNames()
{
    ToolFixture f;
    TempCompApp app(f.dir.path());
    QWidget* p = app.panel();
    QCOMPARE(p->objectName(), QStringLiteral("P"));
    QCOMPARE(p->windowTitle(), QStringLiteral("TARVO-TEMPCOMP-Scope V4.3"));
    QStringList captioned = {"EditTemp",       "EditRefRed",    "EditRefGreen", "EditRefBlue", "DispCurveRed",
                             "DispCurveGreen", "DispCurveBlue", "DispSendCF",   "DispStatus"};
    for (const char* c : {"R", "G", "B"})
        for (const char* k : {"X4", "X3", "X2", "X1", "T"})
            captioned << QString::fromLatin1(c) + QString::fromLatin1(k);
    for (const QString& name : captioned) {
        auto* caption = p->findChild<QLabel*>(QStringLiteral("Label") + name);
        QVERIFY2(caption && caption->buddy() && caption->buddy()->objectName() == name, qPrintable(name));
    }
    for (QWidget* w : p->findChildren<QWidget*>())
        if (w->inherits("QChartView") && !w->objectName().isEmpty())
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    // Read by their names; the shared panels also described by their help.
    tarvo::test::checkScreenReaderTexts(p, false);
    tarvo::test::checkScreenReaderTexts(app.interfacepanel().widget(), true);
    QCOMPARE(app.ui().EditTemp->maximum(), 99);  // ranges come from the panel file
    // The panel opens on a 1366 x 768 screen whole, with a title bar and a task bar.
    QVERIFY(p->minimumSizeHint().width() <= 1366 && p->width() <= 1366);
    QVERIFY2(p->minimumSizeHint().height() <= 768 - 80 && p->height() <= 768 - 80,
             qPrintable(QString::number(p->minimumSizeHint().height())));
    QCOMPARE(app.ui().EditRefRed->maximum(), 65535);
}

void ToolPanelTest::everyTextReadsInGermanInGerman()
{
    // The main panel with its charts drawn, the interface panel and the
    // TRACE window, their right-click help, the box of an equation file that
    // is not there, and what the failed start on port 1 and a refused TCP
    // connection show: statuses, advice, box and the TRACE window's
    // outcomes, each part of them.
    const auto texts = [](ToolFixture& f, TempCompApp& app) {
        const quint16 closedPort = test::ScriptedSensor().port();
        f.connectTcp(closedPort);
        QStringList failures = {f.ui().DispStatus->text(), f.ip().DispInterfaceStatus->text(),
                                f.ip().LabelInterfaceHint->text()};
        app.tracewindow().refresh();
        const TraceTableModel& trace = app.tracewindow().model();
        for (int row = 0; row < trace.rowCount(); ++row)
            failures << trace.data(trace.index(row, FieldOutcome), Qt::DisplayRole).toString();
        for (const auto& box : std::as_const(f.dialogs->shown))
            failures << box.text;
        const QList<QWidget*> panels = {app.panel(), app.interfacepanel().widget(), app.tracewindow().widget()};
        f.dialogs->fileAnswers = {f.path(QStringLiteral("missing.equ"))};
        app.ui().ButtonGetEquation->click();
        app.ui().ButtonCalcCurves->click();
        QStringList t = tarvo::test::panelTexts(panels);
        RightClickHelp help;
        InterfacePanel::addHelpTexts(help);
        TraceWindow::addHelpTexts(help);
        t << tarvo::test::helpTexts(panels, help);
        for (const auto& box : std::as_const(f.dialogs->shown))
            t << box.text;
        return t + tarvo::test::textPieces(failures);
    };
    QStringList english;
    {
        ToolFixture f;
        english = texts(f, f.start());
    }
    tarvo::test::InGerman german;
    QVERIFY(german.translator.loaded());
    ToolFixture f;
    const QStringList inGerman = texts(f, f.start());
    QCOMPARE(f.dialogs->count(QStringLiteral("TCP Client")), 1);  // the refused connection
    const QStringList left = tarvo::test::stillEnglish(english, inGerman, german.translator);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral("\n"))));
}

void ToolPanelTest::startUpBrandsTriesPortOneAndReadsOnlyTheHistory()
{
    ToolFixture f;
    QByteArray history = QByteArray("sensor-hall-2").leftJustified(100, '\0') + '\n';
    history += QByteArray("10.0.0.7").leftJustified(100, '\0') + '\n';
    f.writeFile(QStringLiteral("IPComboBox.cfg"), history);
    // The tool keeps no connection settings: this file is not read.
    f.writeFile(QStringLiteral("ComSettings.cfg"),
                QStringLiteral("1\n1\n127.0.0.1\n%1\n").arg(f.sensor->tcpPort()).toUtf8());
    TempCompApp& app = f.start();

    bool titled = false;
    for (auto* label : app.panel()->findChildren<QLabel*>())
        titled |= label->text() == QStringLiteral("TARVO-TEMPCOMP-Scope V4.3");
    QVERIFY(titled);
    QCOMPARE(app.interfacepanel().historyEntries(), QStringList({"sensor-hall-2", "10.0.0.7"}));
    QCOMPARE(app.link().connectionInUse().comprotocol, std::uint16_t(RS232));
    QCOMPARE(app.link().statusText(), QStringLiteral("Invalid port number"));
    // Why, after the texts of old, and what to do on the interface panel.
    QCOMPARE(f.ui().DispStatus->text(), QStringLiteral("TIMEOUT: no device has this number"));
    QCOMPARE(f.ip().DispInterfaceStatus->text(), QStringLiteral("CONNECTION FAILURE: no device has this number"));
    QCOMPARE(f.ip().LabelInterfaceHint->text(),
             QStringLiteral("No sensor answered on RS-232 port 1: choose the port or TCP/IP, then TRY TO CONNECT"));
    QVERIFY(f.sensor->frames().isEmpty());
    QVERIFY(app.interfacepanel().widget()->isHidden());  // a failed start opens nothing
    QVERIFY(f.ip().EditID->isHidden());
    QCOMPARE(f.dialogs->shown.size(), 0);
}

void ToolPanelTest::acceptOnlyHidesTheInterfacePanelAndTheNextStartTriesTheLastConnection()
{
    ToolFixture f;
    f.start();
    f.connectToSensor();
    f.ip().ButtonAccept->click();
    QVERIFY(f.app->interfacepanel().widget()->isHidden());
    QVERIFY(!QFile::exists(f.path(QStringLiteral("ComSettings.cfg"))));
    QCOMPARE(f.dialogs->shown.size(), 0);
    // A refused connection is a box; the try leaves Accept dimmed.
    const quint16 closedPort = test::ScriptedSensor().port();
    f.connectTcp(closedPort);
    QVERIFY(!f.dialogs->shown.isEmpty());
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("TCP Client"));
    // In words, as the advice line says it; so does the trace's OUTCOME.
    QCOMPARE(f.dialogs->shown[0].text,
             QStringLiteral("Connection refused by 127.0.0.1:%1: the computer is there, but nothing takes "
                            "connections on port %1. Check the port number, then TRY TO CONNECT.")
                 .arg(closedPort));
    FrameTrace& trace = f.app->link().trace();
    trace.settle();
    quint64 opening = trace.endSeq() - 1;
    while (opening > trace.firstSeq() && trace.at(opening).outcome != TraceOutcome::OpenFailed)
        --opening;
    QCOMPARE(traceField(trace.at(opening), FieldOutcome), QStringLiteral("open failed: connection refused"));
    QCOMPARE(f.ip().DispInterfaceStatus->text(),
             QStringLiteral("CONNECTION FAILURE: connection refused by 127.0.0.1:%1").arg(closedPort));
    QVERIFY(!f.ip().ButtonAccept->isEnabled());

    // The next start tries the last connection that answered, not the refused one.
    f.start();
    QCOMPARE(f.app->link().connectionInUse().comprotocol, std::uint16_t(TCPIP));
    QCOMPARE(f.app->link().tcpPort(), int(f.sensor->tcpPort()));
    QCOMPARE(f.ip().DispInterfaceStatus->text(), f.ui().DispStatus->text());
    QVERIFY(f.ui().DispStatus->text() != QStringLiteral("TIMEOUT"));
}

void ToolPanelTest::chartCommandsLeaveOneChartOfTheirGroupVisible_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("curveChart");
    QTest::addColumn<QString>("factorChart");
    QTest::newRow("show red") << "ButtonShowRed"
                              << "GraphRed"
                              << "GraphCfBlue";
    QTest::newRow("show blue") << "ButtonShowBlue"
                               << "GraphBlue"
                               << "GraphCfBlue";
    QTest::newRow("calculate curves") << "ButtonCalcCurves"
                                      << "GraphRGB"
                                      << "GraphCfBlue";
    QTest::newRow("show red factors") << "ButtonShowCfRed"
                                      << "GraphGreen"
                                      << "GraphCfRed";
    QTest::newRow("show green factors") << "ButtonShowCfGreen"
                                        << "GraphGreen"
                                        << "GraphCfGreen";
    QTest::newRow("calculate factors") << "ButtonCalcCalib"
                                       << "GraphGreen"
                                       << "GraphCfRGB";
}

void ToolPanelTest::chartCommandsLeaveOneChartOfTheirGroupVisible()
{
    QFETCH(QString, button);
    QFETCH(QString, curveChart);
    QFETCH(QString, factorChart);
    ToolFixture f;
    TempCompApp& app = f.start();
    // Neither group at its start state, so each row shows which group a command leaves alone.
    app.CBF_ButtonShowGreen();
    app.CBF_ButtonShowCfBlue();
    app.panel()->findChild<QPushButton*>(button)->click();
    const auto visible = [&](const QStringList& group) {
        QStringList shown;
        for (const QString& name : group)
            if (app.panel()->findChild<QWidget*>(name)->isVisible())
                shown << name;
        return shown;
    };
    QCOMPARE(visible({"GraphRed", "GraphGreen", "GraphBlue", "GraphRGB"}), QStringList(curveChart));
    QCOMPARE(visible({"GraphCfRed", "GraphCfGreen", "GraphCfBlue", "GraphCfRGB"}), QStringList(factorChart));
}

void ToolPanelTest::calculatingDrawsEachChartOnItsOwnAxes()
{
    ToolFixture f;
    f.start();
    Ui::P& p = f.ui();
    f.setCoefficients(kLines);
    p.ButtonCalcCurves->click();
    for (int trace = 0; trace < 3; ++trace)
        QCOMPARE(series(p.GraphRGB, trace)->count(), 100);
    QCOMPARE(series(p.GraphRed)->points().last().y(), 1049.5);
    auto* x = qobject_cast<QValueAxis*>(p.GraphRed->chart()->axes(Qt::Horizontal).value(0));
    QCOMPARE(x->max() - x->min(), 100.0);  // a screen of 101 points
    // The y-axes reach 50 beyond the whole-number extremes of their own data.
    QCOMPARE(yAxis(p.GraphRed)->min(), 950.0);
    QCOMPARE(yAxis(p.GraphRed)->max(), 1099.0);
    QCOMPARE(yAxis(p.GraphGreen)->min(), 1950.0);
    QCOMPARE(yAxis(p.GraphRGB)->min(), 950.0);
    QCOMPARE(yAxis(p.GraphRGB)->max(), 3050.0);
    QCOMPARE(series(p.GraphCfRGB)->count(), 0);  // the factors are not computed yet

    p.EditRefRed->setValue(1010);
    p.ButtonCalcCalib->click();
    QCOMPARE(series(p.GraphCfRed)->points().first().y(), 1034.0);
    QCOMPARE(series(p.GraphCfRed)->points().last().y(), 985.0);
    QCOMPARE(yAxis(p.GraphCfRed)->min(), 935.0);
    QCOMPARE(yAxis(p.GraphCfRed)->max(), 1084.0);
    QCOMPARE(series(p.GraphCfRGB, 2)->at(50).y(), 341.0);  // 1000·1024/3000
    // X is the temperature step, 0 … 99, in the chart and its export: the
    // red curve's reference at step 20 makes the factor there exactly 1024.
    QCOMPARE(series(p.GraphCfRed)->at(20), QPointF(20, 1024));
    QCOMPARE(series(p.GraphCfRed)->points().last().x(), 99.0);
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    writeCsv(chartTable(p.GraphCfRed), csv);
    const QList<QByteArray> rows = csv.data().split('\n');
    QCOMPARE(rows[0], QByteArray("temperature step,RED factor [1/1024]"));
    QCOMPARE(rows[1], QByteArray("0,1034"));
    QCOMPARE(rows[21], QByteArray("20,1024"));
    QCOMPARE(f.dialogs->shown.size(), 0);
}

void ToolPanelTest::chartsChangeOnlyWhenComputed()
{
    ToolFixture f;
    TempCompApp& app = f.start();
    f.ui().ButtonShowRed->click();
    QCOMPARE(series(f.ui().GraphRed)->count(), 0);  // nothing computed yet: an empty chart

    f.setCoefficients(kLines);
    f.ui().ButtonCalcCurves->click();
    f.ui().ButtonCalcCalib->click();
    const QList<QPointF> curveBefore = series(f.ui().GraphRed)->points();
    const QList<QPointF> factorBefore = series(f.ui().GraphCfRGB)->points();

    Coefficients other = kLines;
    other[4] = 1500;
    QString error;
    QVERIFY(writeEquationFile(f.path(QStringLiteral("other.equ")), other, &error));
    f.dialogs->fileAnswers = {f.path(QStringLiteral("other.equ"))};
    f.ui().ButtonGetEquation->click();
    QCOMPARE(f.ui().RT->value(), 1500.0);
    QCOMPARE(series(f.ui().GraphRed)->points(), curveBefore);
    QCOMPARE(series(f.ui().GraphCfRGB)->points(), factorBefore);
    // The factors use the curves as last computed, not the fields.
    f.ui().ButtonCalcCalib->click();
    QCOMPARE(series(f.ui().GraphCfRGB)->points(), factorBefore);
    f.ui().ButtonCalcCurves->click();
    QCOMPARE(app.curves().dataRot[0], 1500.0);
}

void ToolPanelTest::temperatureStepCommitsSetTheReferences()
{
    ToolFixture f;
    f.start();
    Ui::P& p = f.ui();
    f.setCoefficients({0, 0, 0, 0.5, 1000, 0, 0, 0, -1.25, 2000, 0, 0, 0.01, 0, 3000.75});
    p.ButtonCalcCurves->click();
    p.EditTemp->setFocus();
    p.EditTemp->selectAll();
    QTest::keyClicks(p.EditTemp, QStringLiteral("20"));
    QTest::keyClick(p.EditTemp, Qt::Key_Return);
    QCOMPARE(p.DispCurveBlue->value(), 3004.75);
    QCOMPARE(p.EditRefRed->value(), 1010);
    QCOMPARE(p.EditRefGreen->value(), 1975);
    QCOMPARE(p.EditRefBlue->value(), 3004);  // truncated

    // Enter on the same step takes the references from curves computed since.
    f.setCoefficients(kLines);
    p.ButtonCalcCurves->click();
    QTest::keyClick(p.EditTemp, Qt::Key_Return);
    QCOMPARE(p.EditRefBlue->value(), 3000);
    QTest::keyClick(p.EditTemp, Qt::Key_Up);  // the arrows commit too
    QCOMPARE(p.DispCurveRed->value(), 1010.5);
    QCOMPARE(f.dialogs->shown.size(), 0);
}

void ToolPanelTest::valuesOutsideSixteenBitsAreLimitedAndReported()
{
    ToolFixture f;
    TempCompApp& app = f.start();
    Ui::P& p = f.ui();
    // Red constant -5.5, green 70000, blue 100 - 2t (zero at step 50).
    f.setCoefficients({0, 0, 0, 0, -5.5, 0, 0, 0, 0, 70000, 0, 0, 0, -2, 100});
    p.ButtonCalcCurves->click();
    p.EditTemp->setValue(7);
    QCOMPARE(p.DispCurveRed->value(), -5.5);
    QCOMPARE(p.EditRefRed->value(), 0);        // not 65531
    QCOMPARE(p.EditRefGreen->value(), 65535);  // not 4464
    QCOMPARE(p.EditRefBlue->value(), 86);
    QVERIFY(!f.dialogs->shown.isEmpty());
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown[0].text.contains(QStringLiteral("red: curve -5.5, reference 0")));
    QVERIFY(f.dialogs->shown[0].text.contains(QStringLiteral("green: curve 70000, reference 65535")));
    QVERIFY(!f.dialogs->shown[0].text.contains(QStringLiteral("blue")));

    p.ButtonCalcCalib->click();
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown[1].title, QStringLiteral("ATTENTION!"));
    // Red is 0 / -5.5 = 0, a factor like any other; blue has no quotient at 50 and is negative after.
    QVERIFY(f.dialogs->shown[1].text.contains(QStringLiteral("blue: 50 of 100, the first at temperature step 50")));
    QVERIFY(!f.dialogs->shown[1].text.contains(QStringLiteral("red:")));
    QVERIFY(!f.dialogs->shown[1].text.contains(QStringLiteral("green:")));
    QCOMPARE(app.factors().dataCfBlau[50], 0);
    QCOMPARE(series(p.GraphCfBlue)->points().last().y(), 0.0);  // drawn as limited
}

void ToolPanelTest::equationIsSavedWhereTheUserChoseAndLoadedBack()
{
    ToolFixture f;
    TempCompApp& app = f.start();
    f.setCoefficients(kLines);
    f.dialogs->fileAnswers = {QString(), f.path(QStringLiteral("line")), f.path(QStringLiteral("missing/x.equ"))};

    f.ui().ButtonSaveEquation->click();  // cancelled
    QVERIFY(QDir(f.dir.path()).entryList({"*.equ"}).isEmpty());
    const FileDialogRequest& r = f.dialogs->fileRequests[0];
    QCOMPARE(r.directory, f.dir.path());
    QCOMPARE(r.defaultFile, QStringLiteral("equation.equ"));
    QCOMPARE(r.filter, QStringLiteral("*.equ"));
    QCOMPARE(r.title, QStringLiteral("equation"));

    f.ui().ButtonSaveEquation->click();  // a name without the extension gets it
    QCOMPARE(app.file_name(), f.path(QStringLiteral("line.equ")));
    QCOMPARE(f.readFile(QStringLiteral("line.equ")), formatEquation(kLines));

    f.ui().ButtonSaveEquation->click();  // a place that cannot be written is reported
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("could not be saved")));

    f.writeFile(QStringLiteral("typed.equ"),
                "  1e-06\n-2.5E-4\n 0.001\n0.5\n1000\n0\n0\n0\n-1\n2000\n0\n0\n0\n0\n 3000.25\n");
    f.dialogs->fileAnswers = {f.path(QStringLiteral("typed.equ"))};
    f.ui().ButtonGetEquation->click();
    QCOMPARE(app.coefficientsFromPanel(),
             (Coefficients{1e-06, -2.5e-4, 0.001, 0.5, 1000, 0, 0, 0, -1, 2000, 0, 0, 0, 0, 3000.25}));
    QCOMPARE(f.ui().RX4->text(), QStringLiteral("1e-06"));

    // In German the fields show a decimal comma; the file saved is the one saved in English.
    f.dialogs->fileAnswers = {f.path(QStringLiteral("english.equ"))};
    f.ui().ButtonSaveEquation->click();
    tarvo::test::InGerman german;
    ToolFixture g;
    TempCompApp& inGerman = g.start();
    g.dialogs->fileAnswers = {f.path(QStringLiteral("typed.equ")), f.path(QStringLiteral("german.equ"))};
    g.ui().ButtonGetEquation->click();
    QCOMPARE(g.ui().RX2->text(), QStringLiteral("0,001"));
    QCOMPARE(inGerman.coefficientsFromPanel(), app.coefficientsFromPanel());
    g.ui().ButtonSaveEquation->click();
    QCOMPARE(f.readFile(QStringLiteral("german.equ")), f.readFile(QStringLiteral("english.equ")));
}

void ToolPanelTest::badEquationFilesLeaveTheFieldsAndSaySo_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("fewer numbers") << QByteArray("1\n2\n3\n") << "it holds 3 numbers instead of 15";
    QTest::newRow("NaN") << QByteArray("NaN\n").repeated(15) << "Line 1: \"NaN\" is not a number.";
    QTest::newRow("huge value") << QByteArray("0\n1e200\n") + QByteArray("0\n").repeated(13)
                                << "RX3 = 1e+200 lies outside -1e+09 … 1e+09";
    QTest::newRow("missing file") << QByteArray() << QString();
}

void ToolPanelTest::badEquationFilesLeaveTheFieldsAndSaySo()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    ToolFixture f;
    TempCompApp& app = f.start();
    f.setCoefficients(kLines);
    if (!reason.isEmpty())
        f.writeFile(QStringLiteral("bad.equ"), content);
    f.dialogs->fileAnswers = {f.path(QStringLiteral("bad.equ"))};
    f.ui().ButtonGetEquation->click();
    QCOMPARE(app.coefficientsFromPanel(), kLines);
    QCOMPARE(f.dialogs->shown.size(), 2);  // the file dialog, then the message
    QCOMPARE(f.dialogs->shown[1].title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown[1].text.contains(QStringLiteral("The coefficients are unchanged")));
    QVERIFY2(f.dialogs->shown[1].text.contains(reason), qPrintable(f.dialogs->shown[1].text));
}

void ToolPanelTest::equationDialogsOfferOnlyTheirFilterAndLoadOnlyEquationFiles()
{
    ToolFixture f;
    TempCompApp& app = f.start();
    f.setCoefficients(kLines);
    f.writeFile(QStringLiteral("coefficients.txt"), formatEquation(Coefficients{}));
    f.dialogs->fileAnswers = {f.path(QStringLiteral("coefficients.txt"))};
    f.ui().ButtonGetEquation->click();
    QCOMPARE(app.coefficientsFromPanel(), kLines);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QVERIFY(f.dialogs->shown.last().text.contains(QStringLiteral("is not an equation file (*.equ)")));
    // The dialog the user sees offers the format's filter alone, by its name.
    QCOMPARE(fileDialogFilter(f.dialogs->fileRequests.last()), QStringLiteral("Equation files (*.equ)"));
}

void ToolPanelTest::typedEntriesTheFieldDoesNotTakeAreToldAtTheField()
{
    ToolFixture f;
    f.start();
    Ui::P& p = f.ui();
    p.RX1->setValue(0.5);
    p.RX1->setFocus();
    p.RX1->selectAll();
    // A decimal comma is the decimal point, never dropped (0,25 is not 25).
    for (const auto& [typed, value] : {std::pair{"0,25", 0.25}, std::pair{"-0,0123", -0.0123}}) {
        p.RX1->selectAll();
        QTest::keyClicks(p.RX1, QString::fromLatin1(typed));
        QCOMPARE(p.RX1->text(), QString::fromLatin1(typed).replace(QLatin1Char(','), QLatin1Char('.')));
        QTest::keyClick(p.RX1, Qt::Key_Return);
        QCOMPARE(p.RX1->value(), value);
    }
    // A second separator is refused with the reason, the number kept whole.
    p.RX1->selectAll();
    QTest::keyClicks(p.RX1, QStringLiteral("1.5,"));
    QCOMPARE(p.RX1->text(), QStringLiteral("1.5"));
    QVERIFY2(p.RX1->toolTip().contains(QStringLiteral("\"1.5,\" was not taken")), qPrintable(p.RX1->toolTip()));

    p.RX2->setValue(0.25);
    p.RX2->selectAll();
    QTest::keyClicks(p.RX2, QStringLiteral("2e9"));
    QTest::keyClick(p.RX2, Qt::Key_Return);
    QCOMPARE(p.RX2->value(), 0.25);
    QVERIFY2(
        p.RX2->toolTip().contains(QStringLiteral("\"2e9\" was not taken: the value must lie within -1e+09 … 1e+09")),
        qPrintable(p.RX2->toolTip()));
    // The next entry clears the notice.
    p.RX2->selectAll();
    QTest::keyClicks(p.RX2, QStringLiteral("3"));
    QVERIFY(!p.RX2->toolTip().contains(QStringLiteral("not taken")));
}

void ToolPanelTest::keyboardReachesTheFieldsAndCommands()
{
    ToolFixture f;
    f.start();
    Ui::P& p = f.ui();
    f.app->panel()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.app->panel()));
    p.RX2->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"RX2", "RX1", "RT", "GX4"}));
    p.GX2->setFocus();
    p.GX2->selectAll();
    QTest::keyClicks(p.GX2, QStringLiteral("-2.5e-3"));  // exponent form may be typed
    QTest::keyClick(p.GX2, Qt::Key_Tab);
    QCOMPARE(p.GX2->value(), -0.0025);
    p.ButtonShowCfBlue->setFocus();
    QTest::keyClick(p.ButtonShowCfBlue, Qt::Key_Space);
    QVERIFY(p.GraphCfBlue->isVisible());
}

void ToolPanelTest::rightClickHelpsOnlyOnTheInterfacePanel()
{
    ToolFixture f;
    f.start();
    QTest::mouseClick(f.ui().ButtonShowRed, Qt::RightButton);
    QTest::mouseClick(f.ui().ButtonConnect, Qt::RightButton);
    QVERIFY(f.ui().GraphRGB->isVisible());  // a right click is no command
    QCOMPARE(f.dialogs->shown.size(), 0);
    f.ui().ButtonConnect->click();
    QTest::mouseClick(f.ip().ButtonTryToConnect, Qt::RightButton);
    QVERIFY(!f.dialogs->shown.isEmpty());
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("INFO!"));
}

void ToolPanelTest::closingTheMainPanelEndsTheProgramAndTheConversation()
{
    ToolFixture f;
    TempCompApp app(f.dir.path());
    // The interface panel as a user left it: the start-up connects over TCP.
    app.interfacepanel().ui().EditCommunicationProtocol->setCurrentIndex(1);
    app.interfacepanel().ui().StringIpAdress->setText(QStringLiteral("127.0.0.1"));
    app.interfacepanel().ui().StringPortNumber->setText(QString::number(f.sensor->tcpPort()));
    std::uint16_t tcpconWhileRunning = 0;
    // Closed once start-up has connected and its version query is over: the
    // test waits for that state, not for a time.
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, app.panel(), [&] {
        if (!app.link().tcpConnected() || app.exchange().transferRunning())
            return;
        probe.stop();
        tcpconWhileRunning = app.link().tcpConnected();
        app.interfacepanel().Show();
        app.panel()->close();
    });
    probe.start();
    QCOMPARE(app.run(), 0);
    QVERIFY(tcpconWhileRunning);
    QVERIFY(!app.link().tcpConnected());
    QVERIFY(app.interfacepanel().widget()->isHidden());
}

QTEST_MAIN(ToolPanelTest)
#include "tst_toolpanel.moc"
