// When a lost line is tried again: the retry schedule against a clock the
// test moves, and the words named when a returned sensor holds another set.
#include "reconnect.h"

#include <QtTest>

using namespace tarvo;

class TestReconnect : public QObject {
    Q_OBJECT
private slots:
    void attemptsFollowTheSchedule_data();
    void attemptsFollowTheSchedule();
    void jitterStaysWithinATenth_data();
    void jitterStaysWithinATenth();
    void differingWordsAreNamed();
};

void TestReconnect::attemptsFollowTheSchedule_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QList<double>>("times");  // when attempts 1, 2, … are due
    QTest::newRow("recording") << true << QList<double>{0.0, 0.5, 1.5, 3.5, 5.5, 7.5, 9.5};
    QTest::newRow("idle") << false << QList<double>{0.0, 0.5, 1.5, 3.5, 13.5, 23.5};
}

void TestReconnect::attemptsFollowTheSchedule()
{
    QFETCH(bool, busy);
    QFETCH(QList<double>, times);
    double now = 100.0;
    RetrySchedule schedule([&now] { return now; }, [] { return 0.0; });
    schedule.start(busy);
    for (int i = 0; i < times.size(); ++i) {
        QCOMPARE(schedule.nextAt(), 100.0 + times[i]);
        now = schedule.nextAt() - 0.01;
        QVERIFY(schedule.nextIn() > 0.0);  // not due a moment before
        now = schedule.nextAt();
        QCOMPARE(schedule.nextIn(), 0.0);
        schedule.attempted();
        QCOMPARE(schedule.attempts(), i + 1);
    }
}

void TestReconnect::jitterStaysWithinATenth_data()
{
    QTest::addColumn<double>("jitter");
    QTest::addColumn<double>("fifthAfter");  // the delay before attempt 5 while recording
    QTest::newRow("earliest") << -1.0 << 1.8;
    QTest::newRow("latest") << 1.0 << 2.2;
    QTest::newRow("beyond the range is held") << 7.0 << 2.2;
}

void TestReconnect::jitterStaysWithinATenth()
{
    QFETCH(double, jitter);
    QFETCH(double, fifthAfter);
    double now = 0.0;
    RetrySchedule schedule([&now] { return now; }, [jitter] { return jitter; });
    schedule.start(true);
    QCOMPARE(schedule.nextAt(), 0.0);  // the first attempt at once, whatever the jitter
    for (int i = 0; i < 4; ++i) {
        now = schedule.nextAt();
        schedule.attempted();
    }
    QVERIFY(qAbs(schedule.nextAt() - now - fifthAfter) < 1e-9);
}

void TestReconnect::differingWordsAreNamed()
{
    ParameterWords before{}, after{};
    after[0] = 600;                      // power
    after[kParamCount + 3 * 4 + 1] = 7;  // teach row 3, word 1
    QCOMPARE(parameterDifferences(before, after), QStringLiteral("power 0 -> 600, teach row 3 word 1 0 -> 7"));
    for (int i = 40; i < 60; ++i)
        after[i] = 1;
    QVERIFY(parameterDifferences(before, after, 2).endsWith(QStringLiteral(" and 20 more")));
}

QTEST_GUILESS_MAIN(TestReconnect)
#include "tst_reconnect.moc"
