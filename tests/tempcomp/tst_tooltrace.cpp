// The frame trace in the temperature-compensation tool: its TRACE button and
// the records of a factor-table transfer.
#include "toolfixture.h"
#include "tracewindow.h"
#include "ui_TRACEP.h"

using namespace tarvo;
using namespace tarvo::test;

class ToolTraceTest : public QObject {
    Q_OBJECT
private slots:
    void factorTransferIsTracedFrameByFrame();
};

void ToolTraceTest::factorTransferIsTracedFrameByFrame()
{
    ToolFixture f;
    TempCompApp& app = f.start();
    f.connectToSensor();
    f.enterDistinctCurves();
    f.ui().ButtonSendCF->click();
    QCOMPARE(f.ui().DispSendCF->text(), QStringLiteral("SUCCESS"));

    FrameTrace& trace = app.link().trace();
    trace.settle();
    // The version query at start went to a serial port that does not open.
    QCOMPARE(trace.at(trace.firstSeq()).outcome, TraceOutcome::OpenFailed);
    QCOMPARE(traceField(trace.at(trace.firstSeq()), FieldOutcome),
             QStringLiteral("open failed: no device has this number"));
    QCOMPARE(trace.at(trace.firstSeq() + 1).outcome, TraceOutcome::WriteFailed);
    QCOMPARE(trace.totals().exchanges, qint64(f.sensor->frames().size()));
    QCOMPARE(trace.totals().timeouts, qint64(1));  // that query
    QCOMPARE(trace.connection().timeouts, qint64(0));
    QCOMPARE(trace.totals().echoMismatches, qint64(0));
    int replies = 0;
    for (quint64 s = trace.firstSeq(); s < trace.endSeq(); ++s)
        if (trace.at(s).command == frame::CompGreen && trace.at(s).outcome == TraceOutcome::ReplyComplete)
            ++replies;
    QCOMPARE(replies, 10);

    f.ui().ButtonTrace->click();
    QVERIFY(app.tracewindow().widget()->isVisible());
    QCOMPARE(app.tracewindow().ui().DispTraceExchanges->text(), QString::number(f.sensor->frames().size()));
}

QTEST_MAIN(ToolTraceTest)
#include "tst_tooltrace.moc"
