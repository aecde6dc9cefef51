// Every file the programs write, against a disk that fills up: a failed
// write names its real reason and leaves the previous file exactly as it
// was; the record file always ends with a complete line. First through the
// writer's seam, then, where the test may mount one, on a real tiny tmpfs.
// Also the settings reader, which counts only a missing file as missing.
#include "calibcurve.h"
#include "equationfile.h"
#include "fileio.h"
#include "paramfile.h"
#include "recordfile.h"
#include "settingsfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace tarvo;

namespace {

using Writer = std::function<bool(const QString& path, QString* error)>;

// Each writer of the programs, writing content that differs from "old".
QList<QPair<QString, Writer>> writers()
{
    return {
        {QStringLiteral("ComSettings.cfg"),
         [](const QString& p, QString* e) {
             return writeConnectionSettings(p, {1, 3, QStringLiteral("sensor.local"), QStringLiteral("10001"), {}}, e);
         }},
        {QStringLiteral("IPComboBox.cfg"),
         [](const QString& p, QString* e) {
             return writeServerHistory(p, {QStringLiteral("a"), QStringLiteral("b")}, e);
         }},
        {QStringLiteral("Parameter.ini"),
         [](const QString& p, QString* e) {
             ParameterBlock pp{};
             pp.fill(7);
             const ParamFileResult r = writeParameterFile(p, pp);
             *e = r.error;
             return r.ok;
         }},
        {QStringLiteral("equation.equ"),
         [](const QString& p, QString* e) {
             tempcomp::Coefficients c{};
             c.fill(0.5);
             return tempcomp::writeEquationFile(p, c, e);
         }},
        {QStringLiteral("calib.cfg"),
         [](const QString& p, QString* e) { return saveWholeFile(p, FormatCalibFile(CalibCells::resetValues()), e); }},
        {QStringLiteral("record.dat"),
         [](const QString& p, QString* e) {
             RecordFile f;
             const bool ok = f.create(p);
             *e = f.errorString();
             return ok;
         }},
    };
}

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), content.size());
}

const QString kNoSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));

// A tmpfs of a few pages, mounted for one test and removed afterwards.
struct TinyDisk {
    QTemporaryDir dir;
    bool mounted = false;
    TinyDisk()
    {
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=64k"), QStringLiteral("tarvo-test"), dir.path()})
            == 0)
            mounted = true;
    }
    ~TinyDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {dir.path()});
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Fills what is left with one file; its removal frees the space again.
    void fill() const
    {
        QFile filler(path(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {}
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1) {}
    }
};

}  // namespace

class FileWritersTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        simulateDiskFullAfter(-1);
        simulateReadFailures(0);
    }

    void everyWriterOnAFullDiskKeepsThePreviousFile_data();
    void everyWriterOnAFullDiskKeepsThePreviousFile();
    void everyWriterOnARealFullFilesystemKeepsThePreviousFile();
    void recordLineCutShortIsTakenBackAndTheNextLineStartsWhole();
    void recordFileOnARealFullFilesystemEndsWithACompleteLine();
    void aLineCutShortEarlierIsRemovedBeforeTheNextOne();
    void settingsReaderCountsOnlyANoSuchFileAsMissing();
};

void FileWritersTest::everyWriterOnAFullDiskKeepsThePreviousFile_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<qint64>("bytesLeft");
    const auto all = writers();
    for (int i = 0; i < all.size(); ++i)
        for (qint64 left : {qint64(0), qint64(9)})
            QTest::addRow("%s, %lld bytes left", qPrintable(all[i].first), left) << i << left;
}

void FileWritersTest::everyWriterOnAFullDiskKeepsThePreviousFile()
{
    QFETCH(int, writer);
    QFETCH(qint64, bytesLeft);
    const auto [name, write] = writers().at(writer);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray old("old content that must survive\n");
    put(path, old);

    simulateDiskFullAfter(bytesLeft);
    QString error;
    QVERIFY(!write(path, &error));
    QCOMPARE(error, kNoSpace);
    QCOMPARE(contentOf(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});  // no temporary file left behind

    // With space again the same writer succeeds.
    simulateDiskFullAfter(-1);
    QVERIFY2(write(path, &error), qPrintable(error));
    QVERIFY(contentOf(path) != old);
}

void FileWritersTest::everyWriterOnARealFullFilesystemKeepsThePreviousFile()
{
    TinyDisk disk;
    if (!disk.mounted)
        QSKIP("no tmpfs can be mounted here (needs root)");
    const QByteArray old("old content that must survive\n");
    for (const auto& [name, write] : writers())
        put(disk.path(name), old);
    disk.fill();
    for (const auto& [name, write] : writers()) {
        QString error;
        QVERIFY2(!write(disk.path(name), &error), qPrintable(name));
        QCOMPARE(error, kNoSpace);
        QCOMPARE(contentOf(disk.path(name)), old);
    }
    QCOMPARE(QDir(disk.dir.path()).entryList(QDir::Files).size(), writers().size() + 1);  // and the filler
}

void FileWritersTest::recordLineCutShortIsTakenBackAndTheNextLineStartsWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.dat"));
    RecordFile file;
    file.clock = [] { return QDateTime(QDate(2026, 12, 8), QTime(12, 0, 0)); };
    QVERIFY(file.create(path));
    QVERIFY(file.append(path, {1, 2, 3, 4, 5, 6, 7, 8}));
    const QByteArray before = contentOf(path);

    simulateDiskFullAfter(20);  // part of the next line fits
    QVERIFY(!file.append(path, {9, 9, 9, 9, 9, 9, 9, 9}));
    QCOMPARE(file.errorString(), kNoSpace);
    QCOMPARE(contentOf(path), before);

    simulateDiskFullAfter(-1);
    QVERIFY(file.append(path, {10, 10, 10, 10, 10, 10, 10, 10}));
    const QByteArray after = contentOf(path);
    QCOMPARE(after.left(before.size()), before);
    QCOMPARE(after.mid(before.size()), recordLine(file.clock(), {10, 10, 10, 10, 10, 10, 10, 10}));
}

void FileWritersTest::recordFileOnARealFullFilesystemEndsWithACompleteLine()
{
    TinyDisk disk;
    if (!disk.mounted)
        QSKIP("no tmpfs can be mounted here (needs root)");
    const QString path = disk.path(QStringLiteral("record.dat"));
    RecordFile file;
    QVERIFY(file.create(path));
    disk.fill();
    // Lines go in until the disk is full; the failing one leaves no trace.
    int written = 0;
    while (file.append(path, {1000, 2000, 300, 869, 1150, 873, 12, 25}))
        ++written;
    QCOMPARE(file.errorString(), kNoSpace);
    const QByteArray content = contentOf(path);
    QVERIFY(content.endsWith("\r\n"));
    QCOMPARE(content.count("\r\n"), written + 1);
}

void FileWritersTest::aLineCutShortEarlierIsRemovedBeforeTheNextOne()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.dat"));
    RecordFile file;
    QVERIFY(file.create(path));
    QVERIFY(file.append(path, {1, 2, 3, 4, 5, 6, 7, 8}));
    const QByteArray whole = contentOf(path);
    put(path, whole + QByteArray("12-08-2026\0\0", 12));  // what a crash may leave
    QVERIFY(file.append(path, {1, 2, 3, 4, 5, 6, 7, 8}));
    const QByteArray content = contentOf(path);
    QCOMPARE(content.left(whole.size()), whole);
    QCOMPARE(content.count("\r\n"), 3);
    QVERIFY(content.endsWith("\t8\r\n"));
}

void FileWritersTest::settingsReaderCountsOnlyANoSuchFileAsMissing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ComSettings.cfg"));
    QCOMPARE(readConnectionSettings(path).status, SettingsRead::Missing);

    put(path, "1\n3\nsensor.local\n10001\n");
    simulateReadFailures(1);  // one failure is taken back by the second try
    SettingsRead read = readConnectionSettings(path);
    QCOMPARE(read.status, SettingsRead::Ok);
    QCOMPARE(read.settings.comport, std::uint16_t(3));

    simulateReadFailures(2);  // a lasting failure is reported, with the file and the reason
    read = readConnectionSettings(path);
    QCOMPARE(read.status, SettingsRead::Failed);
    QVERIFY2(read.error.contains(QLatin1String("ComSettings.cfg"))
                 && read.error.contains(QString::fromLocal8Bit(std::strerror(EIO))),
             qPrintable(read.error));

    // Something other than a file in its place is no missing file either.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ComSettings.cfg")));
    QCOMPARE(readConnectionSettings(path).status, SettingsRead::Failed);
}

QTEST_MAIN(FileWritersTest)
#include "tst_filewriters.moc"
