// The TRACE window of the scope program on its real panels: opened from the
// main panel, showing the live loop's exchanges, following new records,
// PAUSE, CLEAR, SAVE, and the counters on the interface panel.
#include "scopefixture.h"
#include "tracewindow.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"
#include "ui_TRACEP.h"

#include <QClipboard>
#include <QScrollBar>
#include <cerrno>
#include <csignal>
#include <cstring>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

void addRecords(FrameTrace& t, int n)
{
    for (int i = 0; i < n; ++i) {
        TraceRecord r;
        r.dir = TraceDirection::SensorToPc;
        r.outcome = TraceOutcome::Dropped;
        r.bytes = QByteArray(1, char(i));
        r.count = 1;
        t.add(r);
    }
}

QString cell(TraceWindow& w, int row, int column)
{
    return w.model().data(w.model().index(row, column), Qt::DisplayRole).toString();
}

}  // namespace

class TraceWindowTest : public QObject {
    Q_OBJECT
private slots:
    void buttonAndCtrlTOpenTheWindow();
    void liveRunShowsEachMeasurementExchangeAndSaves();
    void tableFollowsNewRecordsUnlessScrolledBack();
    void pauseHoldsTheTableAndClearEmptiesIt();
    void fullDiskEndsTheTraceFileWithAWholeLineAndSaysWhy();
};

void TraceWindowTest::buttonAndCtrlTOpenTheWindow()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    QWidget* window = app.tracewindow().widget();
    QCOMPARE(window->objectName(), QStringLiteral("TRACEP"));
    app.panel().widget->show();
    QVERIFY(!window->isVisible());
    QTest::mouseClick(app.panel().ui->ButtonTrace, Qt::LeftButton);
    QVERIFY(window->isVisible());

    window->hide();
    app.panel().widget->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(app.panel().widget.get()));
    QTest::keyClick(app.panel().widget.get(), Qt::Key_T, Qt::ControlModifier);
    QTRY_VERIFY(window->isVisible());  // a shortcut clicks its button a moment later
    for (QWidget* w : window->findChildren<QWidget*>())
        if ((w->inherits("QAbstractButton") || w->inherits("QLineEdit") || w->inherits("QComboBox"))
            && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
}

void TraceWindowTest::liveRunShowsEachMeasurementExchangeAndSaves()
{
    ScopeFixture f;
    f.settingsToSensor();
    ScopeApp& app = f.start();
    Ui::P& p = *app.panel().ui;
    TraceWindow& w = app.tracewindow();
    Ui::TRACEP& t = w.ui();
    p.ButtonTrace->click();

    // GO, and STOP once the sensor has answered ten value requests.
    int requests = 0;
    connect(f.sensor.get(), &sim::SensorSim::frameReceived, this, [&](const QByteArray& fr) {
        if (frame::getWord(reinterpret_cast<const std::uint8_t*>(fr.constData()), 1) == frame::ReadMeasurement
            && ++requests == 10)
            p.ButtonStop->click();
    });
    QTest::mouseClick(p.ButtonGo, Qt::LeftButton);  // returns when the loop has ended
    app.pump().processEvents();
    w.refresh();

    t.SelectTraceCommand->setCurrentIndex(t.SelectTraceCommand->findData(int(frame::ReadMeasurement)));
    QCOMPARE(w.model().rowCount(), 2 * requests);
    for (int row = 0; row < w.model().rowCount(); row += 2) {
        QCOMPARE(cell(w, row, FieldDirection), QStringLiteral("PC->SENSOR"));
        QVERIFY(cell(w, row, FieldBytes).startsWith(QStringLiteral("00 55 00 05")));
        QCOMPARE(cell(w, row + 1, FieldCommand), QStringLiteral("5 read measurement"));
        QVERIFY(cell(w, row + 1, FieldBytes).startsWith(QStringLiteral("00 aa 00 05")));
        QCOMPARE(cell(w, row + 1, FieldOutcome), QStringLiteral("reply complete"));
        QVERIFY(cell(w, row + 1, FieldValues).startsWith(QStringLiteral("GF ")));
    }
    // At the window's own size the bytes are in view without scrolling sideways.
    QWidget probe;
    Ui::TRACEP().setupUi(&probe);
    w.widget()->resize(probe.size());
    app.pump().processEvents();
    QCOMPARE(t.TableTrace->horizontalScrollBar()->maximum(), 0);
    t.SelectTraceOutcome->setCurrentIndex(t.SelectTraceOutcome->findData(int(TraceOutcome::Timeout)));
    QCOMPARE(w.model().rowCount(), 0);

    // The counters agree with the sensor's own count of frames.
    QCOMPARE(t.DispTraceExchanges->text(), QString::number(f.sensor->frameCount()));
    QCOMPARE(t.DispTraceTimeouts->text(), QStringLiteral("0"));
    QCOMPARE(t.DispTraceLink->text(), QStringLiteral("TCP 127.0.0.1:%1").arg(f.sensor->tcpPort()));
    app.interfacepanel().Show();
    QCOMPARE(app.interfacepanel().ui().DispInterfaceExchanges->text(), QString::number(f.sensor->frameCount()));
    QCOMPARE(app.interfacepanel().ui().DispInterfaceTimeouts->text(), QStringLiteral("0"));
    QCOMPARE(app.interfacepanel().ui().DispInterfaceEchoMismatches->text(), QStringLiteral("0"));

    // SAVE writes the column names, then what the table shows, one record a line.
    t.SelectTraceOutcome->setCurrentIndex(0);
    const QString path = f.path(QStringLiteral("saved.txt"));
    f.dialogs->fileAnswers << path;
    t.ButtonTraceSave->click();
    const QStringList lines
        = QString::fromUtf8(f.readFile(QStringLiteral("saved.txt"))).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2 * requests + 1);
    QCOMPARE(lines.first(), traceHeaderLine());
    QCOMPARE(lines[1], formatTraceLine(w.model().recordAt(0)));
    QCOMPARE(lines.last(), formatTraceLine(w.model().recordAt(2 * requests - 1)));
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 0);
}

void TraceWindowTest::tableFollowsNewRecordsUnlessScrolledBack()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    TraceWindow& w = app.tracewindow();
    FrameTrace& trace = app.link().trace();
    w.widget()->resize(900, 300);
    w.Show();
    QScrollBar* bar = w.ui().TableTrace->verticalScrollBar();

    addRecords(trace, 200);
    w.refresh();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    bar->setValue(0);  // the user scrolls back to read
    addRecords(trace, 50);
    w.refresh();
    QCOMPARE(w.model().rowCount(), 250);
    QCOMPARE(bar->value(), 0);

    bar->setValue(bar->maximum());  // and returns to the end
    addRecords(trace, 50);
    w.refresh();
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(cell(w, 299, FieldBytes), QStringLiteral("31"));
}

void TraceWindowTest::pauseHoldsTheTableAndClearEmptiesIt()
{
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    TraceWindow& w = app.tracewindow();
    Ui::TRACEP& t = w.ui();
    w.Show();
    addRecords(app.link().trace(), 5);
    w.refresh();
    QCOMPARE(w.model().rowCount(), 5);

    t.ButtonTracePause->click();
    addRecords(app.link().trace(), 3);
    w.refresh();
    QCOMPARE(w.model().rowCount(), 5);
    t.ButtonTracePause->click();
    QCOMPARE(w.model().rowCount(), 8);

    // COPY: the selected records, with the column names.
    t.TableTrace->selectRow(6);
    t.ButtonTraceCopy->click();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             traceHeaderLine() + u'\n' + formatTraceLine(w.model().recordAt(6)) + u'\n');

    app.link().trace().written(reinterpret_cast<const std::uint8_t*>("\x00\x55\x00\x32\x00\x00"), 6, 6);
    w.refresh();
    QCOMPARE(t.DispTraceExchanges->text(), QStringLiteral("1"));
    t.ButtonTraceClear->click();
    QCOMPARE(w.model().rowCount(), 0);
    QCOMPARE(t.DispTraceExchanges->text(), QStringLiteral("0"));
    addRecords(app.link().trace(), 2);
    w.refresh();
    QCOMPARE(w.model().rowCount(), 2);
}

void TraceWindowTest::fullDiskEndsTheTraceFileWithAWholeLineAndSaysWhy()
{
#ifndef Q_OS_UNIX
    QSKIP("the file-size limit that stands in for a full disk is POSIX");
#else
    ScopeFixture f;
    ScopeApp app(f.dir.path());
    FrameTrace& trace = app.link().trace();
    const QString path = f.path(QStringLiteral("run.trace"));
    QVERIFY(trace.openFile(path));
    // A file-size limit runs out of room as a full disk does, part way into a line.
    struct rlimit before {};
    getrlimit(RLIMIT_FSIZE, &before);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 700;
    setrlimit(RLIMIT_FSIZE, &small);
    addRecords(trace, 20);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!trace.fileOpen());

    const QByteArray text = f.readFile(QStringLiteral("run.trace"));
    QVERIFY(text.size() <= 700 && text.endsWith('\n'));
    const QList<QByteArray> lines = text.split('\n');
    QVERIFY(lines.size() > 3);
    QCOMPARE(QString::fromUtf8(lines[0]), traceHeaderLine());
    for (const QByteArray& line : lines.mid(1, lines.size() - 2))
        QCOMPARE(line.count('\t'), kTraceFields - 1);
    // The program says why, in a box that holds nothing up and in the window.
    QTRY_COMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].kind, QStringLiteral("notice"));
    const QString why = QString::fromLocal8Bit(std::strerror(EFBIG));
    QVERIFY2(f.dialogs->shown[0].text.contains(why), qPrintable(f.dialogs->shown[0].text));
    QVERIFY(app.tracewindow().ui().DispTraceFile->text().contains(why));
#endif
}

QTEST_MAIN(TraceWindowTest)
#include "tst_tracewindow.moc"
