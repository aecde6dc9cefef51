// Start-up and shutdown of the scope program on its real panels.
#include "calibrationlogpanel.h"
#include "frametrace.h"
#include "languagecheck.h"
#include "righthelp.h"
#include "scopefixture.h"
#include "scopehelp.h"
#include "screenreader.h"
#include "tracewindow.h"
#include "ui_CALIBP.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"
#include "ui_RECP.h"

#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryFile>
#include <QWindow>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

// The simulator for a walk of everyTextReadsInGermanInGerman.
sim::SimOptions walkSensor(const QString& walk)
{
    sim::SimOptions o;
    o.pty = walk == QLatin1String("silent line");
    if (o.pty)
        o.faults.dropReplies = sim::Faults::kAll;
    return o;
}

// What the scope shows when a connection fails (every status on the way, the
// interface panel's status and advice, the TRACE window's outcomes) or when
// retrying is given up (the reason the recorder's box quotes). `logged` gets
// the reason the events file is given.
QStringList failureTexts(const QString& walk, ScopeFixture& f, QString& logged)
{
    if (walk == QLatin1String("no device")) {
        f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 7, QString(), QString()));
    } else if (walk == QLatin1String("silent line")) {
        const QString pty = f.sensor->ptyPath();
        setSerialPortResolver([pty](int n) { return SerialDevice{n == 4 ? pty : QString(), QString()}; });
        f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 4, QString(), QString()));
        f.onCommand(f.sensor.get(), frame::Identify, [&f] { f.app->pump().expireInnermostWait(); });
    } else if (walk == QLatin1String("refused")) {
        f.settingsToNowhere();
    } else {
        f.settingsToSensor();
    }
    QStringList shown;
    f.app = std::make_unique<ScopeApp>(f.dir.path());
    ScopeApp& app = *f.app;
    // The start's "InitVars" and the sensor's own version text are names, the same in every language.
    QObject::connect(app.panel().ui->DispStatus, &QLineEdit::textChanged, app.panel().widget.get(),
                     [&shown, &app](const QString& t) {
                         if (t != QLatin1String("InitVars") && t != app.exchange().versionText())
                             shown << t;
                     });
    app.panel().widget->show();
    app.InitAll();
    if (walk == QLatin1String("gave up")) {
        app.reconnect().setEnabled(true);
        app.reconnect().eventLog = [&logged](LinkEvent e, const QString& reason) {
            if (e == LinkEvent::GaveUp)
                logged = reason;
        };
        // The sensor is switched off; retrying is given up once it is shown,
        // within the full schedule's half second before the second attempt.
        f.sensor->goAway(600000);
        ScopeFixture::when(
            &app, [&app] { return app.panel().ui->ButtonStopRetrying->isVisible(); },
            [&app] { app.panel().ui->ButtonStopRetrying->click(); });
        [&] { QTRY_VERIFY(!logged.isEmpty()); }();
        shown << app.reconnect().shownReason() << app.panel().ui->DispLinkState->text();
        return shown;
    }
    const auto& ui = app.interfacepanel().ui();
    shown << ui.DispInterfaceStatus->text() << ui.LabelInterfaceHint->text();
    app.tracewindow().refresh();
    const TraceTableModel& trace = app.tracewindow().model();
    for (int row = 0; row < trace.rowCount(); ++row)
        shown << trace.data(trace.index(row, FieldOutcome), Qt::DisplayRole).toString();
    // The trace file's line stays English whatever the screen's language.
    if (walk == QLatin1String("no device"))
        logged = formatTraceLine(trace.recordAt(0));
    return shown;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
public:
    // A screen of 1366 x 768 with window frames, the smallest the panels are made for.
    static void initMain()
    {
        if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
            return;
        static QTemporaryFile config;
        if (!config.open())
            return;
        config.write(R"({"windowFrameMargins": true,
                         "screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                                      "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        config.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }

private slots:
    void panelsAreLoadedWithTheirNames();
    void everyTextReadsInGermanInGerman_data();
    void everyTextReadsInGermanInGerman();
    void secondaryPanelsStayAboveTheMainPanelAndKeepTheirPlace();
    void startsConnectedToTheSensorInTheSettings();
    void noSensorShowsTimeoutAndOpensTheInterfacePanel();
    void missingSettingsFileUsesSerialPortOne();
    void serialSettingsConnectOverTheLine();
    void closingTheMainPanelEndsTheProgramAndTheConversation();
    void closingDuringAWaitEndsAfterTheWait();
    void brandingShowsTheTitle();
    void transferButtonsDimTogetherButStopNever();
    void buttonPressedDuringLineCheckRunsAfterItOnlyIfItPassed_data();
    void buttonPressedDuringLineCheckRunsAfterItOnlyIfItPassed();
    void nothingOpensAfterTheMainPanelIsClosed();
};

void StartupTest::panelsAreLoadedWithTheirNames()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    const QStringList names = {app.panel().widget->objectName(),          app.recpanel().widget->objectName(),
                               app.calibpanel().widget->objectName(),     app.calibpanel2().widget->objectName(),
                               app.graphpanel().widget->objectName(),     app.gfpanel().widget->objectName(),
                               app.vecpanel().widget->objectName(),       app.interfacepanel().widget()->objectName(),
                               app.scaleaxispanel().widget->objectName(), app.monitorpanel().widget->objectName()};
    QCOMPARE(names,
             QStringList({"P", "RECP", "CALIBP", "CALIBP2", "GRAPHP", "GFPANEL", "VECPANEL", "INTERFACEP",
                          "ScaleAxisPanel", "MONITORP"}));
    // Every control a screen reader meets is read by its name and described.
    for (QWidget* panel :
         {app.panel().widget.get(), app.recpanel().widget.get(), app.calibpanel().widget.get(),
          app.calibpanel2().widget.get(), app.graphpanel().widget.get(), app.gfpanel().widget.get(),
          app.vecpanel().widget.get(), app.interfacepanel().widget(), app.scaleaxispanel().widget.get(),
          app.monitorpanel().widget.get(), app.tracewindow().widget()}) {
        tarvo::test::checkScreenReaderTexts(panel, true);
        if (QTest::currentTestFailed())
            return;
    }

    // Every control with a right-click help text has the same text as its tooltip.
    RightClickHelp help;
    addScopeHelpTexts(help);
    InterfacePanel::addHelpTexts(help);
    TraceWindow::addHelpTexts(help);
    int tips = 0;
    QStringList describedOtherwise;  // a screen reader describes each by the same help
    for (QWidget* panel : QApplication::topLevelWidgets())
        for (QWidget* w : panel->findChildren<QWidget*>())
            if (const RightClickHelp::Entry* e = help.entry(w->objectName())) {
                QCOMPARE(w->toolTip(), e->text.trimmed());
                QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
                if (!reader || reader->text(QAccessible::Description) != e->text.trimmed())
                    describedOtherwise << w->objectName();
                ++tips;
            }
    QVERIFY2(describedOtherwise.isEmpty(), qPrintable(describedOtherwise.join(u' ')));
    QVERIFY(tips > 60);
    // The main panel fits a 1366 x 768 screen with a title bar and a task bar.
    QVERIFY(app.panel().widget->minimumSizeHint().width() <= 1366);
    QVERIFY(app.panel().widget->minimumSizeHint().height() <= 768 - 80);
}

void StartupTest::everyTextReadsInGermanInGerman_data()
{
    QTest::addColumn<QString>("walk");
    QTest::newRow("panels, help and boxes") << "panels";
    // A failed connection: the serial status name, the reason after TIMEOUT,
    // the advice naming the port, the TRACE window's outcome.
    QTest::newRow("serial port without a device") << "no device";
#ifdef Q_OS_UNIX
    QTest::newRow("serial line without a sensor") << "silent line";
#endif
    QTest::newRow("TCP port nobody listens on") << "refused";
    // The reconnection's reason, as the recorder's box quotes it.
    QTest::newRow("retrying given up") << "gave up";
}

void StartupTest::everyTextReadsInGermanInGerman()
{
    QFETCH(QString, walk);
    if (walk != QLatin1String("panels")) {
        QStringList english;
        QString logged;
        {
            ScopeFixture f(walkSensor(walk));
            english = failureTexts(walk, f, logged);
        }
        const QString englishLogged = std::exchange(logged, QString());
        tarvo::test::InGerman german;
        QVERIFY(german.translator.loaded());
        ScopeFixture f(walkSensor(walk));
        const QStringList inGerman = failureTexts(walk, f, logged);
        QVERIFY(inGerman.size() >= 3);
        // The reasons are composed into the texts: each part is looked at.
        const QStringList left = tarvo::test::stillEnglish(tarvo::test::textPieces(english),
                                                           tarvo::test::textPieces(inGerman), german.translator);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral("\n"))));
        // The events file and the trace file keep English.
        if (walk == QLatin1String("gave up"))
            QVERIFY2(QRegularExpression(QStringLiteral("^retrying stopped after \\d+ attempt\\(s\\)$"))
                         .match(logged)
                         .hasMatch(),
                     qPrintable(logged));
        else if (walk == QLatin1String("no device"))
            QCOMPARE(logged.section(u'\t', FieldOutcome), englishLogged.section(u'\t', FieldOutcome));
        return;
    }
    // Every panel, the calibration log's included, its right-click help and
    // the boxes a recorder without a file shows.
    const auto texts = [](ScopeFixture& f, ScopeApp& app) {
        app.calibpanel().ui->ButtonCalibLog->click();
        auto* log = app.calibpanel().ui->ButtonCalibLog->findChild<CalibrationLogPanel*>();
        const QList<QWidget*> panels = {
            app.panel().widget.get(),          app.recpanel().widget.get(),
            app.calibpanel().widget.get(),     app.calibpanel2().widget.get(),
            app.graphpanel().widget.get(),     app.gfpanel().widget.get(),
            app.vecpanel().widget.get(),       app.interfacepanel().widget(),
            app.scaleaxispanel().widget.get(), app.monitorpanel().widget.get(),
            app.tracewindow().widget(),        log ? static_cast<QWidget*>(log->widget()) : nullptr};
        if (panels.contains(nullptr))
            return QStringList{QStringLiteral("no calibration log panel")};
        QStringList t = tarvo::test::panelTexts(panels);
        RightClickHelp help;
        addScopeHelpTexts(help);
        InterfacePanel::addHelpTexts(help);
        TraceWindow::addHelpTexts(help);
        t << tarvo::test::helpTexts(panels, help);
        app.recpanel().ui->ButtonStartRecord->click();
        app.recpanel().ui->ButtonReport->click();
        for (const auto& box : std::as_const(f.dialogs->shown))
            t << box.text;
        return t;
    };
    QStringList english;
    {
        ScopeFixture f;
        ScopeApp app(f.dir.path());
        english = texts(f, app);
    }
    tarvo::test::InGerman german;
    QVERIFY(german.translator.loaded());
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    const QStringList inGerman = texts(f, app);
    QCOMPARE(f.dialogs->shown.size(), 2);
    QVERIFY(inGerman.size() > 1000);
    const QStringList left = tarvo::test::stillEnglish(english, inGerman, german.translator);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral("\n"))));
}

void StartupTest::secondaryPanelsStayAboveTheMainPanelAndKeepTheirPlace()
{
    ScopeFixture f;
    QRect left;
    {
        ScopeApp app(f.dir.path());
        app.panel().widget->show();
        const QRect screen = app.panel().widget->screen()->availableGeometry();
        QVERIFY(screen.contains(app.panel().widget->frameGeometry()));
        for (QWidget* w : {app.recpanel().widget.get(), app.calibpanel().widget.get(), app.calibpanel2().widget.get(),
                           app.graphpanel().widget.get(), app.gfpanel().widget.get(), app.vecpanel().widget.get(),
                           app.interfacepanel().widget(), app.scaleaxispanel().widget.get(),
                           app.monitorpanel().widget.get(), app.tracewindow().widget()}) {
            w->show();
            QVERIFY2(w->windowHandle() && w->windowHandle()->transientParent() == app.panel().widget->windowHandle(),
                     qPrintable(w->objectName()));
            QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(w->objectName()));
            w->hide();
        }
        // Esc closes a secondary panel.
        QWidget* rec = app.recpanel().widget.get();
        rec->show();
        rec->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rec));
        QTest::keyClick(rec, Qt::Key_Escape);
        QTRY_VERIFY(!rec->isVisible());
        rec->show();
        rec->setGeometry(40, 60, 500, 380);
        left = rec->geometry();
    }
    // The next run opens it where it was left.
    ScopeApp again(f.dir.path());
    again.recpanel().widget->show();
    QCOMPARE(again.recpanel().widget->geometry(), left);
}

void StartupTest::startsConnectedToTheSensorInTheSettings()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    const QString id = QString::fromLatin1(f.sensor->isColour() ? "" : "TARVO");
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(id));
    QCOMPARE(app.interfacepanel().ui().DispInterfaceStatus->text(), app.panel().ui->DispStatus->text());
    QVERIFY(!f.interfaceWidget()->isVisible());
    QVERIFY(app.interfacepanel().ui().ButtonAccept->isEnabled());
    QVERIFY(app.panel().ui->DispIpAddress->isVisible());
    QVERIFY(!app.panel().ui->DispComPort->isVisible());
    QCOMPARE(app.panel().ui->DispIpAddress->text(), QStringLiteral("127.0.0.1"));
    QVERIFY(app.link().tcpConnected());
    QCOMPARE(f.dialogs->shown.size(), 0);
    // Buttons are usable again after the line check.
    QVERIFY(app.panel().ui->ButtonConnect->isEnabled());
}

void StartupTest::noSensorShowsTimeoutAndOpensTheInterfacePanel()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
    QVERIFY(app.interfacepanel().ui().DispInterfaceStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
    QCOMPARE(app.link().statusText(), QStringLiteral("FailedToConnect"));
    QVERIFY(f.interfaceWidget()->isVisible());
    QVERIFY(!app.interfacepanel().ui().ButtonAccept->isEnabled());
    QVERIFY(app.interfacepanel().ui().ButtonTryToConnect->isEnabled());
    QVERIFY(!app.link().tcpConnected());
}

void StartupTest::missingSettingsFileUsesSerialPortOne()
{
    ScopeFixture f;
    setSerialPortResolver([](int) { return SerialDevice{}; });
    ScopeApp& app = f.start();
    QCOMPARE(app.link().connectionInUse().comprotocol, std::uint16_t(RS232));
    QCOMPARE(app.link().serialPort(), std::uint16_t(1));
    QCOMPARE(app.link().statusText(), QStringLiteral("Invalid port number"));
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TIMEOUT: ")));
    QVERIFY(app.panel().ui->DispComPort->isVisible());
    QVERIFY(!app.panel().ui->DispIpAddress->isVisible());
    QVERIFY(!QFile::exists(f.path(QStringLiteral("ComSettings.cfg"))));  // nothing saved unasked
}

void StartupTest::serialSettingsConnectOverTheLine()
{
#ifdef Q_OS_UNIX
    sim::SimOptions o;
    o.pty = true;
    ScopeFixture f(o);
    const QString pty = f.sensor->ptyPath();
    setSerialPortResolver([pty](int n) { return SerialDevice{n == 4 ? pty : QString(), QStringLiteral("simulated")}; });
    f.writeFile(QStringLiteral("ComSettings.cfg"), test::settingsFor(0, 4, QString(), QString()));
    ScopeApp& app = f.start();
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    QCOMPARE(app.panel().ui->DispComPort->value(), 4);
    QVERIFY(app.interfacepanel().ui().LabelComDevice->text().contains(pty));
#else
    QSKIP("pseudo-terminals are POSIX only");
#endif
}

void StartupTest::closingTheMainPanelEndsTheProgramAndTheConversation()
{
    ScopeFixture f;
    f.settingsToSensor();
    QSignalSpy gone(f.sensor.get(), &sim::SensorSim::clientDisconnected);
    ScopeApp app(f.dir.path());
    app.flags().poll = app.flags().pollrecord = app.flags().pollmonitor = 1;
    QTimer::singleShot(200, app.panel().widget.get(), &QWidget::close);
    QCOMPARE(app.run(), 0);
    QCOMPARE(app.flags().poll + app.flags().pollrecord + app.flags().pollmonitor, 0);
    QVERIFY(gone.wait(2000) || gone.size() == 1);
}

void StartupTest::closingDuringAWaitEndsAfterTheWait()
{
    ScopeFixture f;
    f.settingsToSensor();
    sim::Faults slow;
    slow.delayMs = 50;  // the close below comes as the sensor gets the request
    slow.onlyCommand = 7;
    f.sensor->setFaults(slow);
    ScopeApp app(f.dir.path());
    f.shortenPauses(app);
    // Closed while the line check waits for the identification: the wait
    // ends normally (no TIMEOUT) and then the program ends.
    f.onCommand(&app, frame::Identify, [&] { app.panel().widget->close(); });
    QCOMPARE(app.run(), 0);
    QVERIFY(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")));
    QCOMPARE(f.dialogs->shown.size(), 0);
}

void StartupTest::brandingShowsTheTitle()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    bool found = false;
    for (auto* label : app.panel().widget->findChildren<QLabel*>())
        found |= label->text() == QStringLiteral("TARVO-Scope 4.3");
    QVERIFY(found);
    QCOMPARE(app.panel().widget->windowTitle(), QStringLiteral("TARVO-Scope 4.3"));
}

void StartupTest::transferButtonsDimTogetherButStopNever()
{
    ScopeFixture f;
    f.settingsToNowhere();
    ScopeApp& app = f.start();
    const auto find = [](QWidget* panel, const char* name) {
        return panel->findChild<QWidget*>(QString::fromLatin1(name));
    };
    const QList<QWidget*> dimmed = {find(app.panel().widget.get(), "ButtonGo"),
                                    find(app.panel().widget.get(), "ButtonSend"),
                                    find(app.panel().widget.get(), "ButtonGet"),
                                    find(app.panel().widget.get(), "ButtonConnect"),
                                    find(app.calibpanel().widget.get(), "ButtonStartCalib"),
                                    find(app.calibpanel2().widget.get(), "ButtonSendCalibData"),
                                    find(app.monitorpanel().widget.get(), "ButtonStartMonitor"),
                                    app.interfacepanel().ui().ButtonTryToConnect,
                                    app.interfacepanel().ui().ButtonDiscard};
    app.SetButtonsDimmed(1);
    for (QWidget* w : dimmed)
        QVERIFY2(w && !w->isEnabled(), w ? qPrintable(w->objectName()) : "missing control");
    QVERIFY(app.panel().ui->ButtonStop->isEnabled());
    QVERIFY(find(app.monitorpanel().widget.get(), "ButtonStopMonitor")->isEnabled());
    app.SetButtonsDimmed(0);
    for (QWidget* w : dimmed)
        QVERIFY(w->isEnabled());
    QVERIFY(!app.interfacepanel().ui().ButtonAccept->isEnabled());  // no line check has passed
}

void StartupTest::buttonPressedDuringLineCheckRunsAfterItOnlyIfItPassed_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("passes");  // the sensor identifies itself
    QTest::newRow("GET, TCP") << false << "ButtonGet" << true;
    QTest::newRow("GO, TCP") << false << "ButtonGo" << true;
    QTest::newRow("SEND, TCP") << false << "ButtonSend" << true;
    QTest::newRow("PROFILE, TCP, no identification") << false << "ButtonProfile" << false;
#ifdef Q_OS_UNIX
    QTest::newRow("GET, line, unpaced") << true << "ButtonGet" << true;
    QTest::newRow("GO, line, unpaced") << true << "ButtonGo" << true;
    QTest::newRow("SEND, line, unpaced, no identification") << true << "ButtonSend" << false;
#endif
}

void StartupTest::buttonPressedDuringLineCheckRunsAfterItOnlyIfItPassed()
{
    QFETCH(bool, serial);
    QFETCH(QString, button);
    QFETCH(bool, passes);
    ScopeFixture f(ScopeFixture::linkOptions(serial, false));  // about the order, not the line's speed
    sim::Faults slow;
    slow.delayMs = 50;  // the press below comes as the sensor gets the request
    if (!passes)
        slow.dropReplies = sim::Faults::kAll;
    slow.onlyCommand = frame::Identify;
    f.sensor->setFaults(slow);
    if (serial)
        f.settingsToSensorLine();
    else
        f.settingsToSensor();
    ScopeApp app(f.dir.path());
    f.shortenPauses(app);
    app.panel().widget->show();
    app.panel().ui->SlidePower->setValue(321);  // the sensor holds 500
    // Pressed while the identification is outstanding (F9, F10, F11 act like the click).
    f.onCommand(&app, frame::Identify, [&] {
        app.panel().widget->findChild<QPushButton*>(button)->click();
        if (!passes)
            app.pump().expireInnermostWait();  // the identification that never comes times out now
    });
    // SEND goes to the target chosen at the press, also with EEPROM chosen while it waited.
    if (button == u"ButtonSend")
        f.onCommand(&app, frame::ReadTeachRow, [&] {
            if (!app.panel().ui->SelectEEPROM->isChecked())
                app.panel().ui->SelectEEPROM->click();
        });
    // A live loop started after the check is stopped once it has fetched a value set.
    f.onCommand(&app, frame::ReadMeasurement, [&] { app.panel().ui->ButtonStop->click(); });
    app.InitAll();
    QTRY_VERIFY(!app.exchange().transferRunning() && app.exchange().queuedTransfers() == 0);

    const QList<int> got = f.commands();
    if (!passes) {
        // Dropped, and said so; nothing waits with the buttons dimmed.
        QCOMPARE(got, QList<int>({frame::AutoSend, frame::Identify}));
        QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 1);
        QVERIFY(f.dialogs->shown.last().text.contains(button.mid(6).toUpper() + QLatin1Char(',')));
        QVERIFY(app.interfacepanel().ui().ButtonTryToConnect->isEnabled());
        return;
    }
    QVERIFY2(app.panel().ui->DispStatus->text().startsWith(QLatin1String("TARVO")),
             qPrintable(app.panel().ui->DispStatus->text()));
    QCOMPARE(f.dialogs->shown.size(), 0);
    // On the wire: the check and its parameter read whole, then what was pressed.
    QList<int> expected{frame::AutoSend, frame::Identify, frame::ReadParams};
    for (int row = 0; row < 31; ++row)
        expected << frame::ReadTeachRow;
    QCOMPARE(got.mid(0, expected.size()), expected);
    const int after = got.value(expected.size());
    if (button == u"ButtonGet") {
        QCOMPARE(got.size(), 2 * expected.size() - 2);
        QCOMPARE(after, int(frame::ReadParams));
    } else if (button == u"ButtonGo") {
        QCOMPARE(after, int(frame::ReadMeasurement));
    } else {
        QCOMPARE(after, int(frame::WriteParams));
        // What the panel showed when SEND was pressed, not what the read put there.
        QCOMPARE(f.sensor->parameters()[sim::Power], quint16(321));
        QCOMPARE(app.panel().ui->SlidePower->value(), 321);
        QVERIFY(!got.contains(int(frame::StoreEeprom)));
        QVERIFY(app.panel().ui->SelectRAM->isChecked());
    }
}

void StartupTest::nothingOpensAfterTheMainPanelIsClosed()
{
    ScopeFixture f;
    f.settingsToSensor();
    sim::Faults silent;
    silent.dropReplies = sim::Faults::kAll;
    silent.onlyCommand = frame::Identify;
    f.sensor->setFaults(silent);
    ScopeApp app(f.dir.path());
    // Closed while the line check waits for an identification that never
    // comes; the wait then times out.
    f.onCommand(&app, frame::Identify, [&] {
        app.panel().widget->close();
        app.pump().expireInnermostWait();
    });
    QCOMPARE(app.run(), 0);
    QVERIFY(!app.interfacepanel().widget()->isVisible());
    QCOMPARE(f.dialogs->shown.size(), 0);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
