// The parameter file: its exact layout, the round trip through the
// variables, lenient spacing, and files that are not parameter files.
#include "paramfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarvo;

namespace {
QByteArray numbers(int count, const char* separator = "\n")
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i) + separator;
    return text;
}
}  // namespace

class ParamFileTest : public QObject {
    Q_OBJECT
private slots:
    void writtenFileHoldsTheBlockAndReadsBack();
    void readerAcceptsAnySpacing();
    void unusableFilesChangeNothing_data();
    void unusableFilesChangeNothing();
    void failedWriteIsReported();

private:
    QString put(const QByteArray& content)
    {
        QFile f(m_dir.filePath(QStringLiteral("p.ini")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return f.fileName();
    }
    QTemporaryDir m_dir;
};

void ParamFileTest::writtenFileHoldsTheBlockAndReadsBack()
{
    const QString path = put(QByteArray(5000, 'x'));  // a longer old file is replaced entirely
    ParameterSet out;
    out.power = 500, out.pmod = 65535, out.evalmode = 1, out.maxno = 31;
    out.cttDouble[0][0] = 55.5;
    out.cttDouble[30][3] = 2.3;
    out.CopyVarsToPP();
    QVERIFY(writeParameterFile(path, out.pp).ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.size(), 141);  // 140 lines, nothing after the last line end
    QCOMPARE(lines.mid(0, 3), QList<QByteArray>({"  500", "65535", "    0"}));
    QCOMPARE(lines[16], QByteArray("  555"));  // ten times the value in gloss mode

    ParameterSet in;
    QVERIFY(readParameterFile(path, in.pp).ok);
    in.CopyFileParatoVars();
    QCOMPARE(in.power, std::uint16_t(500));
    QCOMPARE(in.cttDouble[0][0], 55.5);
    QCOMPARE(in.cttDouble[30][3], 2.3);
    in.pp[6] = 40;  // maxno beyond the table
    in.CopyFileParatoVars();
    QCOMPARE(in.maxno, std::uint16_t(31));
}

void ParamFileTest::readerAcceptsAnySpacing()
{
    QByteArray text = "  \t" + numbers(70, " \t ") + "\r\n\r\n" + numbers(70, "\r\n");
    text.chop(2);  // no line end after the last number
    ParameterBlock pp{};
    QVERIFY(readParameterFile(put(text), pp).ok);
    QCOMPARE(pp[69], std::uint16_t(69));
    QCOMPARE(pp[70], std::uint16_t(0));
    QCOMPARE(pp[139], std::uint16_t(69));
}

void ParamFileTest::unusableFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("content");  // "<missing>": no file at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray("<missing>") << "No such file";
    QTest::newRow("empty") << QByteArray() << "holds 0 numbers instead of 140";
    QTest::newRow("139 numbers") << numbers(139) << "holds 139 numbers instead of 140";
    QTest::newRow("141 numbers") << numbers(141) << "more than 140 numbers";
    QTest::newRow("word too large") << numbers(10) + "65536\n" + numbers(129) << "p.ini, line 11: \"65536\"";
    QTest::newRow("negative") << "-1\n" + numbers(139) << "p.ini, line 1: \"-1\"";
    QTest::newRow("fraction") << numbers(3) + "1.5\n" + numbers(136) << "p.ini, line 4: \"1.5\"";
    QTest::newRow("other ini file") << "[Parameter]\npower=500\n" + numbers(140) << "p.ini, line 1: \"[Parameter]\"";
    QTest::newRow("binary") << QByteArray("\x01\x02\xff", 3) + numbers(140) << "p.ini, line 1: \"\uFFFD\uFFFD\uFFFD";
    QTest::newRow("huge") << QByteArray(100 * 1024, ' ') + numbers(140) << "too large";
}

void ParamFileTest::unusableFilesChangeNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = put(content);
    if (content == "<missing>")
        QFile::remove(path);
    ParameterBlock pp;
    pp.fill(4242);
    const ParamFileResult result = readParameterFile(path, pp);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QVERIFY(std::all_of(pp.begin(), pp.end(), [](std::uint16_t w) { return w == 4242; }));
}

void ParamFileTest::failedWriteIsReported()
{
    ParameterBlock pp{};
    const ParamFileResult noDir = writeParameterFile(m_dir.filePath(QStringLiteral("no/such/dir/p.ini")), pp);
    QVERIFY(!noDir.ok && !noDir.error.isEmpty());
    QVERIFY(!writeParameterFile(m_dir.path(), pp).ok);  // a directory, not a file
}

QTEST_MAIN(ParamFileTest)
#include "tst_paramfile.moc"
