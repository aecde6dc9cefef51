// The precise single-shot timer: once, never early, and stop and restart
// behave like a Qt timer's.
#include "precisetimer.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace tarvo;
using namespace std::chrono_literals;

class PreciseTimerTest : public QObject {
    Q_OBJECT
private slots:
    void firesOnceAndNeverEarly();
    void stopAndRestart();
};

void PreciseTimerTest::firesOnceAndNeverEarly()
{
    PreciseTimer t;
    int fired = 0;
    qint64 firedAtNs = 0;
    QElapsedTimer clock;
    connect(&t, &PreciseTimer::timeout, this, [&] {
        ++fired;
        firedAtNs = clock.nsecsElapsed();
    });
    for (const std::chrono::microseconds after : {2500us, 25000us, 0us}) {
        fired = 0;
        clock.start();
        t.start(after);
        QVERIFY(t.isActive());
        QTRY_COMPARE(fired, 1);
        QVERIFY2(firedAtNs >= std::chrono::nanoseconds(after).count(), qPrintable(QString::number(firedAtNs)));
        QVERIFY(!t.isActive());
        QTest::qWait(30);
        QCOMPARE(fired, 1);  // single shot
    }
}

void PreciseTimerTest::stopAndRestart()
{
    PreciseTimer t;
    int fired = 0;
    connect(&t, &PreciseTimer::timeout, this, [&] { ++fired; });
    t.start(5ms);
    t.stop();
    QVERIFY(!t.isActive());
    QTest::qWait(30);
    QCOMPARE(fired, 0);

    // A restart replaces the pending time: one timeout, after the later one.
    QElapsedTimer clock;
    clock.start();
    t.start(1ms);
    t.start(20ms);
    QTRY_COMPARE(fired, 1);
    QVERIFY(clock.elapsed() >= 20);
    QTest::qWait(30);
    QCOMPARE(fired, 1);
}

QTEST_GUILESS_MAIN(PreciseTimerTest)
#include "tst_precisetimer.moc"
