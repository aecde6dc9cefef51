// The record file on its own: exact header and line bytes, the record time,
// and writes that fail.
#include "measurement.h"
#include "recordfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarvo;

class RecordFileTest : public QObject {
    Q_OBJECT
private slots:
    void headerIsTheTenWordsWithTabsAndZeroBytes();
    void lineHoldsPaddedDateAndTimeAndTheRawWords();
    void valuesComeFromTheRawWordsOfTheFrame();
    void recordTime_data();
    void recordTime();
    void createReplacesTheOldContentAndAppendAddsLines();
    void failedWritesAreReported_data();
    void failedWritesAreReported();
};

void RecordFileTest::headerIsTheTenWordsWithTabsAndZeroBytes()
{
    const QByteArray expected("DATE\t\0TIME\t\0CH_REF\t\0CH_DIR\t\0CH_DIF\t\0NORM\t\0INT\t\0GF\t\0PP\t\0TEMP\t\0\r\n",
                              63);
    QCOMPARE(recordHeader().size(), 63);
    QCOMPARE(recordHeader(), expected);
}

void RecordFileTest::lineHoldsPaddedDateAndTimeAndTheRawWords()
{
    const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 1));
    const QByteArray expected("03-07-2026\0\0\t09:05:01\0\0\0\0\t1000\t2000\t300\t869\t1150\t873\t12\t25\r\n", 60);
    QCOMPARE(recordLine(when, {1000, 2000, 300, 869, 1150, 873, 12, 25}), expected);

    // Full 16-bit words stay unsigned; late-evening times are 24-hour.
    const QByteArray edge = recordLine(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)),
                                       {0, 65535, 0, 0, 0, 0, 0, 65535});
    QCOMPARE(edge, QByteArray("12-31-1999\0\0\t23:59:59\0\0\0\0\t0\t65535\t0\t0\t0\t0\t0\t65535\r\n", 51));
}

void RecordFileTest::valuesComeFromTheRawWordsOfTheFrame()
{
    // Frame words 2..11: CH_REF, CH_DIR, CH_DIF, NORM, INT, GF, V-No, TEMP, GF raw, PP.
    DataWords words{};
    const std::uint16_t payload[] = {1000, 2000, 300, 869, 1150, 873, 4, 25, 870, 12};
    std::copy(std::begin(payload), std::end(payload), words.begin() + 2);
    MeasuredValues m;
    m.CopyDatatoVars(words);
    const RecordValues expected{1000, 2000, 300, 869, 1150, 873, 12, 25};
    QCOMPARE(recordValues(m), expected);
}

void RecordFileTest::recordTime_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("dhms");
    QTest::newRow("10 s x 100") << 10 << 100 << QList<int>{0, 0, 16, 40};
    QTest::newRow("3600 s x 48") << 3600 << 48 << QList<int>{2, 0, 0, 0};
    QTest::newRow("1 s x 1") << 1 << 1 << QList<int>{0, 0, 0, 1};
    // The largest product still fits the 32-bit count.
    QTest::newRow("65535 s x 65535") << 65535 << 65535 << QList<int>{49708, 18, 3, 45};
}

void RecordFileTest::recordTime()
{
    QFETCH(int, interval);
    QFETCH(int, count);
    QFETCH(QList<int>, dhms);
    const RecordTime t = tarvo::recordTime(std::uint16_t(interval), std::uint16_t(count));
    QCOMPARE((QList<int>{int(t.days), int(t.hours), int(t.minutes), int(t.seconds)}), dhms);
}

void RecordFileTest::createReplacesTheOldContentAndAppendAddsLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.dat"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old values that must go\r\n");
    }
    RecordFile file;
    file.clock = [] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 1)); };
    QVERIFY(file.create(path));
    QVERIFY(file.append(path, {1, 2, 3, 4, 5, 6, 7, 8}));
    QVERIFY(file.append(path, {9, 10, 11, 12, 13, 14, 15, 16}));

    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QDateTime when = file.clock();
    QCOMPARE(in.readAll(),
             recordHeader() + recordLine(when, {1, 2, 3, 4, 5, 6, 7, 8})
                 + recordLine(when, {9, 10, 11, 12, 13, 14, 15, 16}));
}

void RecordFileTest::failedWritesAreReported_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("file removed after choosing") << QStringLiteral("removed");
    QTest::newRow("folder missing") << QStringLiteral("nofolder");
    QTest::newRow("disk full") << QStringLiteral("full");
    QTest::newRow("no file name") << QStringLiteral("empty");
}

void RecordFileTest::failedWritesAreReported()
{
    QFETCH(QString, situation);
    QTemporaryDir dir;
    RecordFile file;
    QString path = dir.filePath(QStringLiteral("record.dat"));
    if (situation == QLatin1String("removed")) {
        QVERIFY(file.create(path));
        QVERIFY(QFile::remove(path));
    } else if (situation == QLatin1String("nofolder")) {
        path = dir.filePath(QStringLiteral("gone/record.dat"));
        QVERIFY(!file.create(path));
        QVERIFY(!file.errorString().isEmpty());
    } else if (situation == QLatin1String("full")) {
        path = QStringLiteral("/dev/full");
        if (!QFile::exists(path))
            QSKIP("no /dev/full on this system");
    } else {
        path.clear();
    }

    QVERIFY(!file.append(path, {1, 2, 3, 4, 5, 6, 7, 8}));
    QVERIFY(!file.errorString().isEmpty());
    if (situation == QLatin1String("removed"))
        QVERIFY(!QFile::exists(path));  // not re-created without its header
}

QTEST_GUILESS_MAIN(RecordFileTest)
#include "tst_recordfile.moc"
