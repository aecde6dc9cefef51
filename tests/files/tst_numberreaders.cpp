// One rule for every number read from a file or typed into a field: the
// plain C forms ('.' as decimal point, an optional exponent), nothing else.
// The same table of texts goes through every reader; a refusal names the
// line and shows the text, and a typed refusal is told at the field.
#include "calibcurve.h"
#include "coefficientbox.h"
#include "entryfeedback.h"
#include "equationfile.h"
#include "numbertext.h"
#include "paramfile.h"
#include "settingsfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarvo;

namespace {

// Lines of a file with `text` on line `line` (from 1) and `fill` elsewhere.
QByteArray linesWith(int count, int line, const QByteArray& text, const QByteArray& fill)
{
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += (i == line ? text : fill) + '\n';
    return out;
}

QString put(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(content);
    return f.fileName();
}

// The message names the line and shows the text as an editor shows it.
bool namesLineAndText(const QString& message, int line, const QByteArray& text)
{
    return message.contains(QStringLiteral("line %1").arg(line), Qt::CaseInsensitive)
        && message.contains(shownText(text));
}

}  // namespace

class NumberReadersTest : public QObject {
    Q_OBJECT
private slots:
    void everyReaderTakesOnlyThePlainCForms_data();
    void everyReaderTakesOnlyThePlainCForms();
    void byteOrderMarkIsAcceptedAtTheStartOfEveryTextFile();
    void messagesCountLinesAsAnEditorDoes();
};

void NumberReadersTest::everyReaderTakesOnlyThePlainCForms_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("decimal");  // read by the readers of decimal numbers
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("whole");    // read by the readers of unsigned whole numbers
    QTest::addColumn<double>("typed");  // what a typed field takes; NaN: refused at the field
    QTest::newRow("point") << QByteArray("0.001") << true << 0.001 << false << 0.001;
    QTest::newRow("comma as decimal point") << QByteArray("0,001") << false << 0.0 << false << 0.001;
    QTest::newRow("negative with comma") << QByteArray("-0,002") << false << 0.0 << false << -0.002;
    QTest::newRow("comma before three digits") << QByteArray("1,500") << false << 0.0 << false << 1.5;
    QTest::newRow("comma with exponent") << QByteArray("1,234e-3") << false << 0.0 << false << 0.001234;
    QTest::newRow("exponent") << QByteArray("1.234e-3") << true << 0.001234 << false << 0.001234;
    QTest::newRow("whole") << QByteArray("1500") << true << 1500.0 << true << 1500.0;
    QTest::newRow("plus sign") << QByteArray("+7") << true << 7.0 << true << 7.0;
    QTest::newRow("minus sign") << QByteArray("-3") << true << -3.0 << false << -3.0;
    QTest::newRow("exponent without point") << QByteArray("1e3") << true << 1000.0 << false << 1000.0;
    QTest::newRow("leading point") << QByteArray(".5") << true << 0.5 << false << 0.5;
    QTest::newRow("trailing point") << QByteArray("5.") << true << 5.0 << false << 5.0;
    QTest::newRow("blank as thousands separator") << QByteArray("1 500") << false << 0.0 << false << qQNaN();
    QTest::newRow("hexadecimal") << QByteArray("0x10") << false << 0.0 << false << qQNaN();
    QTest::newRow("infinity") << QByteArray("inf") << false << 0.0 << false << qQNaN();
    QTest::newRow("not a number") << QByteArray("nan") << false << 0.0 << false << qQNaN();
    QTest::newRow("beyond double") << QByteArray("1e999") << false << 0.0 << false << qQNaN();
    QTest::newRow("two points") << QByteArray("1.5.2") << false << 0.0 << false << qQNaN();
    QTest::newRow("unit") << QByteArray("12mm") << false << 0.0 << false << qQNaN();
    QTest::newRow("full-width digits") << QByteArray("\xEF\xBC\x91\xEF\xBC\x92") << false << 0.0 << false << qQNaN();
}

void NumberReadersTest::everyReaderTakesOnlyThePlainCForms()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, decimal);
    QFETCH(double, value);
    QFETCH(bool, whole);
    QFETCH(double, typed);
    const bool oneWord = !text.contains(' ');
    QTemporaryDir dir;

    // Equation file: the text as coefficient 3 (line 3).
    QString why;
    const auto c = tempcomp::parseEquation(linesWith(15, 3, text, "1"), &why);
    QCOMPARE(c.has_value(), decimal);
    if (c)
        QCOMPARE((*c)[2], value);
    else
        QVERIFY2(namesLineAndText(why, 3, text), qPrintable(why));

    // Calibration file: the text as the TARVO value of row 2 (line 3), which must lie in 0 … 2000.
    QByteArray calib = FormatCalibFile(CalibCells::resetValues());
    QList<QByteArray> lines = calib.split('\n');
    lines[2] = text;
    lines[3] = "5";
    const auto table = ParseCalibFile(lines.join('\n'), &why);
    QCOMPARE(table.has_value(), decimal && value >= 0 && value <= 2000);
    if (table)
        QCOMPARE(table->at(1, 2), value);
    else
        QVERIFY2(namesLineAndText(why, 3, text), qPrintable(why));

    // Parameter file: the text as word 3 (line 3), any whitespace between words.
    ParameterBlock pp;
    pp.fill(4242);
    const ParamFileResult param = readParameterFile(put(dir, QStringLiteral("p.ini"), linesWith(140, 3, text, "9")),
                                                    pp);
    QCOMPARE(param.ok, whole);
    if (param.ok)
        QCOMPARE(double(pp[2]), value);
    else {
        QCOMPARE(pp[0], std::uint16_t(4242));  // nothing changed
        if (oneWord)
            QVERIFY2(namesLineAndText(param.error, 3, text) && param.error.contains(QLatin1String("p.ini")),
                     qPrintable(param.error));
    }

    // Connection settings: the text as the port number (line 2).
    const SettingsRead settings = readConnectionSettings(
        put(dir, QStringLiteral("ComSettings.cfg"), "0\n" + text + "\nhost\n1\n"));
    QCOMPARE(settings.status == SettingsRead::Ok, whole);
    if (whole)
        QCOMPARE(double(settings.settings.comport), value);
    else
        QVERIFY2(namesLineAndText(settings.error, 2, text) && settings.error.contains(QLatin1String("ComSettings.cfg")),
                 qPrintable(settings.error));

    // A typed field: the number typed, or a notice at the field (keys of plain ASCII only).
    if (QString::fromUtf8(text) != QString::fromLatin1(text))
        return;
    CoefficientBox box;
    box.setRange(-1e9, 1e9);
    box.setValue(77.0);
    watchNumberEntry(&box);
    box.selectAll();
    QTest::keyClicks(&box, QString::fromUtf8(text));
    QTest::keyClick(&box, Qt::Key_Return);
    if (!qIsNaN(typed)) {  // a comma typed is the decimal point
        QCOMPARE(box.value(), typed);
        QVERIFY2(box.toolTip().isEmpty(), qPrintable(box.toolTip()));
    } else {
        QVERIFY2(box.toolTip().contains(QLatin1String("was not taken")), qPrintable(text));
        QCOMPARE(box.toolTip(), lastEntryNotice(&box));
    }
}

void NumberReadersTest::byteOrderMarkIsAcceptedAtTheStartOfEveryTextFile()
{
    const QByteArray bom("\xEF\xBB\xBF");
    QTemporaryDir dir;
    QString why;
    QVERIFY2(tempcomp::parseEquation(bom + linesWith(15, 1, "0.5", "1"), &why), qPrintable(why));
    QVERIFY2(ParseCalibFile(bom + FormatCalibFile(CalibCells::resetValues()), &why), qPrintable(why));
    ParameterBlock pp{};
    const ParamFileResult param = readParameterFile(
        put(dir, QStringLiteral("p.ini"), bom + linesWith(140, 1, "3", "9")), pp);
    QVERIFY2(param.ok, qPrintable(param.error));
    QCOMPARE(pp[0], std::uint16_t(3));
    const SettingsRead s = readConnectionSettings(
        put(dir, QStringLiteral("ComSettings.cfg"), bom + "1\n4\nhost\n10001\n"));
    QCOMPARE(s.status, SettingsRead::Ok);
    QCOMPARE(s.settings.comprotocol, std::uint16_t(1));

    // Anywhere else it is no part of a number, and the message does not show it as "???".
    QVERIFY(!tempcomp::parseEquation(linesWith(15, 2, bom + "0", "1"), &why));
    QVERIFY2(why.startsWith(QLatin1String("Line 2:")) && !why.contains(QLatin1String("???")), qPrintable(why));
}

void NumberReadersTest::messagesCountLinesAsAnEditorDoes()
{
    // Blank lines, CR LF and a lone CR each count as lines; numbers are not lines.
    QList<QByteArray> lines = FormatCalibFile(CalibCells::resetValues()).split('\n');
    lines[4] = "oops";  // number 5, on line 7 below two blank lines
    QString why;
    QVERIFY(!ParseCalibFile("\r\n\r\n" + lines.join('\n'), &why));
    QCOMPARE(why, QStringLiteral("Line 7: \"oops\" is not a number."));

    QByteArray text = "1\r2\r\n\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n1,5\n";
    QVERIFY(!tempcomp::parseEquation(text, &why));
    QCOMPARE(why, QStringLiteral("Line 16: \"1,5\" is not a number."));
}

QTEST_MAIN(NumberReadersTest)
#include "tst_numberreaders.moc"
