// The equation file: exact round trip, the written layout, and files that
// are not equation files.
#include "equationfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

using namespace tarvo::tempcomp;

class EquationFileTest : public QObject {
    Q_OBJECT
private slots:
    void savedValuesLoadBackExactly();
    void eachValueStandsAloneOnItsLineInATenCharacterField();
    void acceptsPlainAndExponentNotationWithBlanks();
    void refusesWhatIsNotAnEquationFile_data();
    void refusesWhatIsNotAnEquationFile();
    void refusesAnOversizedFile();
    void failedSaveIsReported();
};

namespace {
const Coefficients kAwkward = {1.2345678901234567e-07,
                               -0.000123456789,
                               1e9,
                               -1e9,
                               0.1,
                               2.5e-300,
                               -0.0,
                               1000,
                               1010.5,
                               3,
                               1.0 / 3.0,
                               -2.0 / 7.0,
                               123456.789,
                               5e-324,
                               0};

QByteArray numbers(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i) + '\n';
    return text;
}
}  // namespace

void EquationFileTest::savedValuesLoadBackExactly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("equation.equ"));
    QString error;
    QVERIFY2(writeEquationFile(path, kAwkward, &error), qPrintable(error));
    const auto back = readEquationFile(path, &error);
    QVERIFY2(back, qPrintable(error));
    for (size_t i = 0; i < kAwkward.size(); ++i)
        QVERIFY2((*back)[i] == kAwkward[i], qPrintable(QString::number(i)));  // exactly, not fuzzily
}

void EquationFileTest::eachValueStandsAloneOnItsLineInATenCharacterField()
{
    const QList<QByteArray> lines
        = formatEquation({0, 0, 0, 0.5, 1000, 0, 0, 0, 0, 1e-7, 0, 0, 0, 0, -12.75}).split('\n');
    QCOMPARE(lines.size(), 16);  // fifteen lines, each ended
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(lines[0], QByteArray("         0"));
    QCOMPARE(lines[3], QByteArray("       0.5"));
    QCOMPARE(lines[4], QByteArray("      1000"));
    QCOMPARE(lines[9], QByteArray("     1e-07"));
    QCOMPARE(lines[14], QByteArray("    -12.75"));
    // A value that needs more than ten characters keeps all of them.
    const QByteArray longest = formatEquation(kAwkward).split('\n')[0];
    QVERIFY(longest.size() > 10);
    QCOMPARE(longest.toDouble(), kAwkward[0]);
}

void EquationFileTest::acceptsPlainAndExponentNotationWithBlanks()
{
    const QByteArray text = "   1.5\r\n  -2e-3\r\n+4E+2\n\t0.25  \n\n7\n.5\n-0\n1e0\n2\n3\n4\n5\n6\n7\n8\n";
    QString error;
    const auto c = parseEquation(text, &error);
    QVERIFY2(c, qPrintable(error));
    QCOMPARE((*c)[0], 1.5);
    QCOMPARE((*c)[1], -0.002);
    QCOMPARE((*c)[2], 400.0);
    QCOMPARE((*c)[3], 0.25);
    QCOMPARE((*c)[4], 7.0);  // the empty line is skipped
    QCOMPARE((*c)[5], 0.5);
    QCOMPARE((*c)[14], 8.0);
}

void EquationFileTest::refusesWhatIsNotAnEquationFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "it holds 0 numbers instead of 15";
    QTest::newRow("fourteen numbers") << numbers(14) << "it holds 14 numbers instead of 15";
    QTest::newRow("sixteen numbers") << numbers(16) << "Line 16: the file holds more than 15 numbers";
    QTest::newRow("words") << "RX4 = 0.5\n" + numbers(14) << "Line 1: \"RX4 = 0.5\" is not one number.";
    QTest::newRow("two on a line") << numbers(3) + "1 2\n" + numbers(11) << "Line 4: \"1 2\" is not one number.";
    QTest::newRow("decimal comma") << numbers(5) + "1,5\n" + numbers(9) << "Line 6: \"1,5\" is not a number.";
    QTest::newRow("nan") << numbers(14) + "nan\n"
                         << "Line 15: \"nan\" is not a number.";
    QTest::newRow("infinity") << "-inf\n" + numbers(14) << "Line 1: \"-inf\" is not a number.";
    QTest::newRow("beyond double") << "1e999\n" + numbers(14) << "Line 1: \"1e999\" is not a number.";
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe"
                                          "3",
                                          5)
            + '\n'
            + numbers(14) << "Line 1: \"\uFFFD\uFFFD\uFFFD\uFFFD3\" is not a number.";
}

void EquationFileTest::refusesWhatIsNotAnEquationFile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!parseEquation(text, &error));
    QCOMPARE(error, reason);
}

void EquationFileTest::refusesAnOversizedFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.equ"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(numbers(15));
    f.write(QByteArray(100 * 1024, '\n'));  // blank lines would parse; the size alone refuses it
    f.close();
    QString error;
    QVERIFY(!readEquationFile(path, &error));
    QCOMPARE(error, QStringLiteral("The file is too large (102435 bytes)."));
    QVERIFY(!readEquationFile(dir.filePath(QStringLiteral("missing.equ")), &error));
    QVERIFY(!error.isEmpty());
}

void EquationFileTest::failedSaveIsReported()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!writeEquationFile(dir.filePath(QStringLiteral("no/such/dir/equation.equ")), kAwkward, &error));
    QVERIFY(!error.isEmpty());

    // Something that cannot be replaced by a file stays as it was.
    const QString path = dir.filePath(QStringLiteral("taken.equ"));
    QVERIFY(QDir().mkdir(path));
    QVERIFY(!writeEquationFile(path, kAwkward, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_APPLESS_MAIN(EquationFileTest)
#include "tst_equationfile.moc"
