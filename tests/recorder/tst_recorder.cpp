// The recorder on the real panels against the simulated sensor: every mode
// writes the values the sensor sent, stops when told, ends on a timeout or
// a write failure, and leaves the sensor's automatic sending off.
#include "fileio.h"
#include "frame.h"
#include "graphs.h"
#include "pdftext.h"
#include "recorder.h"
#include "recordfile.h"
#include "scopefixture.h"
#include "ui_INTERFACEP.h"
#include "ui_P.h"
#include "ui_RECP.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>

using namespace tarvo;
using tarvo::test::ScopeFixture;

namespace {

std::uint16_t word(const QByteArray& bytes, int i)
{
    return frame::getWord(reinterpret_cast<const std::uint8_t*>(bytes.constData()), i);
}

// The values a measurement frame carries, in the order of the file.
RecordValues valuesOf(const QByteArray& f)
{
    return {word(f, 2), word(f, 3), word(f, 4), word(f, 5), word(f, 6), word(f, 7), word(f, 11), word(f, 9)};
}

// Every measurement frame the sensor put on the wire, replies and automatic ones.
QList<RecordValues> sentValues(const QSignalSpy& spy)
{
    QList<RecordValues> out;
    for (const auto& args : spy) {
        const QByteArray b = args.at(0).toByteArray();
        if (b.size() == frame::kBytes && word(b, 0) == frame::kSyncSensor && word(b, 1) == frame::ReadMeasurement)
            out.append(valuesOf(b));
    }
    return out;
}

// The lines of a record file after its header; each line's date and time
// fields are checked for their fixed layout on the way.
QList<RecordValues> recordedValues(const QByteArray& content)
{
    QList<RecordValues> out;
    if (!content.startsWith(recordHeader())) {
        qWarning("record file without its header");
        return out;
    }
    QByteArray rest = content.mid(recordHeader().size());
    if (!rest.isEmpty() && !rest.endsWith("\r\n"))
        qWarning("record file ends inside a line");
    for (const QByteArray& line : rest.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.chopped(1).split('\t');
        if (fields.size() != 10 || fields[0].size() != 12 || !fields[0].endsWith(QByteArray(2, '\0'))
            || fields[1].size() != 12 || !fields[1].endsWith(QByteArray(4, '\0'))) {
            qWarning("malformed record line");
            continue;
        }
        RecordValues v{};
        for (int i = 0; i < 8; ++i)
            v[std::size_t(i)] = std::uint16_t(fields[2 + i].toUInt());
        out.append(v);
    }
    return out;
}

bool isSubsequence(const QList<RecordValues>& part, const QList<RecordValues>& whole)
{
    qsizetype j = 0;
    for (const auto& v : part) {
        while (j < whole.size() && whole[j] != v)
            ++j;
        if (j == whole.size())
            return false;
        ++j;
    }
    return true;
}

// Runs `step` every 20 ms while the recording runs its loop.
struct During {
    QTimer timer;
    explicit During(std::function<void()> step)
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, std::move(step));
        timer.start();
    }
};

sim::SimOptions lineOptions(bool serial, bool paced)
{
    sim::SimOptions o;
    o.pty = serial;
    o.baudPacing = serial && paced;
    return o;
}

struct RecorderFixture : ScopeFixture {
    ScopeApp* a = nullptr;
    Ui::RECP* r = nullptr;
    QString file;

    explicit RecorderFixture(bool serial = false, bool paced = true, bool byLink = false)
        : ScopeFixture(lineOptions(serial, paced))
    {
        if (serial)
            settingsToSensorLine(byLink);
        else
            settingsToSensor();
        a = &start();
        r = a->recpanel().ui.get();
        QTest::mouseClick(a->panel().ui->ButtonOpenRecorder, Qt::LeftButton);
    }
    void selectMode(int mode)
    {
        r->EditSelectDataRec->setCurrentIndex(mode);
        emit r->EditSelectDataRec->activated(mode);
    }
    void chooseNewFile()
    {
        file = path(QStringLiteral("record.dat"));
        dialogs->fileAnswers << file;
        QTest::mouseClick(r->ButtonSelRecFile, Qt::LeftButton);
    }
    QList<RecordValues> lines() const { return recordedValues(readFile(QStringLiteral("record.dat"))); }
    QList<QByteArray> autoSendFrames() const
    {
        QList<QByteArray> out;
        for (const QByteArray& f : sensor->receivedFrames())
            if (word(f, 1) == frame::AutoSend)
                out.append(f);
        return out;
    }
    bool saidSaved() const { return dialogs->count(QStringLiteral("INFO!")) > 0; }
};

}  // namespace

class RecorderTest : public QObject {
    Q_OBJECT
private slots:
    void openingDimsTheMainPanelUntilClosed();
    void eachModeShowsItsControls_data();
    void eachModeShowsItsControls();
    void recordTimeFollowsIntervalAndCount();
    void choosingTheFile();
    void fixedCountWritesExactlyTheSentValues();
    void stopDuringTheIntervalWaitWritesNoFurtherLine();
    void timeoutEndsTheRecordingWithoutAStaleLine_data();
    void timeoutEndsTheRecordingWithoutAStaleLine();
    void pollingWritesOneLinePerPress();
    void pollingRecordsNothingForARequestWithoutReply();
    void quietLineWithTheSwitchOffIsToldAndTheRecordingGoesOn();
    void triggeredRecordsTheSensorsOwnFramesBetweenAutoSendOnAndOff();
    void writeFailureIsReportedAndStopsTheRecording_data();
    void writeFailureIsReportedAndStopsTheRecording();
    void fullDiskLeavesOnlyWholeLinesAndSaysWhy_data();
    void fullDiskLeavesOnlyWholeLinesAndSaysWhy();
    void startWithoutAFileRecordsNothing();
    void closingTheRecorderStopsAutomaticSending();
    void closingTheMainPanelEndsTheRecordingWithTheFileComplete_data();
    void closingTheMainPanelEndsTheRecordingWithTheFileComplete();
    void onlyWholeAutomaticFramesAreRecordedAndTheRestCounted_data();
    void onlyWholeAutomaticFramesAreRecordedAndTheRestCounted();
    void floodIsRecordedWholeWhileStopStaysResponsive_data();
    void floodIsRecordedWholeWhileStopStaysResponsive();
    void recordingGoesOnAcrossAnOutageWithTheGapWrittenBeside_data();
    void recordingGoesOnAcrossAnOutageWithTheGapWrittenBeside();
};

void RecorderTest::openingDimsTheMainPanelUntilClosed()
{
    RecorderFixture f;
    Ui::P& p = *f.a->panel().ui;
    QVERIFY(f.a->recpanel().widget->isVisible());
    for (QWidget* w : {static_cast<QWidget*>(p.ButtonGo), static_cast<QWidget*>(p.ButtonSend),
                       static_cast<QWidget*>(p.ButtonGet), static_cast<QWidget*>(p.ButtonOpenRecorder)})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));

    QTest::mouseClick(f.r->ButtonCloseRecorder, Qt::LeftButton);
    QVERIFY(!f.a->recpanel().widget->isVisible());
    QVERIFY(p.ButtonGo->isEnabled());
    QVERIFY(p.ButtonOpenRecorder->isEnabled());
}

void RecorderTest::eachModeShowsItsControls_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("fixed count") << 0 << QStringList{"EditInterval",       "EditRecVal",    "DispRecordTime",
                                                     "DispRecordedValues", "DispRemaining", "ButtonStartRecord",
                                                     "ButtonStopRecord"};
    QTest::newRow("continuous") << 1
                                << QStringList{"EditInterval", "DispRecCount", "ButtonStartRecord", "ButtonStopRecord"};
    QTest::newRow("polling") << 2
                             << QStringList{"DispRecordedValues", "ButtonStartPolling", "ButtonStopPolling",
                                            "ButtonManualRecord"};
    QTest::newRow("triggered") << 3 << QStringList{"DispRecCount", "ButtonStartTrigRec", "ButtonStopTrigRec"};
}

void RecorderTest::eachModeShowsItsControls()
{
    QFETCH(int, mode);
    QFETCH(QStringList, shown);
    RecorderFixture f;
    // Go through another mode first so nothing is left from the start state.
    f.selectMode((mode + 1) % 4);
    f.selectMode(mode);
    const QStringList dependent{"EditInterval",       "EditRecVal",        "DispRecordTime",     "DispRecordedValues",
                                "DispRemaining",      "DispRecCount",      "ButtonStartRecord",  "ButtonStopRecord",
                                "ButtonStartPolling", "ButtonStopPolling", "ButtonManualRecord", "ButtonStartTrigRec",
                                "ButtonStopTrigRec"};
    QWidget* panel = f.a->recpanel().widget.get();
    for (const QString& name : dependent) {
        QWidget* w = panel->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->isVisibleTo(panel), shown.contains(name));
        if (auto* caption = panel->findChild<QWidget*>(QStringLiteral("Label") + name))
            QCOMPARE(caption->isVisibleTo(panel), shown.contains(name));
    }
    for (const char* always : {"ButtonSelRecFile", "DispRecFile", "ButtonCloseRecorder", "DispGfRecord"})
        QVERIFY(panel->findChild<QWidget*>(QString::fromLatin1(always))->isVisibleTo(panel));
}

void RecorderTest::recordTimeFollowsIntervalAndCount()
{
    RecorderFixture f;
    f.r->EditInterval->setValue(10);
    f.r->EditRecVal->setValue(100);
    QCOMPARE((QList<int>{f.r->DispRecDays->value(), f.r->DispRecHours->value(), f.r->DispRecMinutes->value(),
                         f.r->DispRecSeconds->value()}),
             (QList<int>{0, 0, 16, 40}));
    QCOMPARE(f.r->DispRemaining->value(), 100);
    f.r->EditInterval->setValue(3600);
    f.r->EditRecVal->setValue(48);
    QCOMPARE((QList<int>{f.r->DispRecDays->value(), f.r->DispRecHours->value(), f.r->DispRecMinutes->value(),
                         f.r->DispRecSeconds->value()}),
             (QList<int>{2, 0, 0, 0}));
}

void RecorderTest::choosingTheFile()
{
    RecorderFixture f;
    auto& d = *f.dialogs;

    QTest::mouseClick(f.r->ButtonSelRecFile, Qt::LeftButton);  // cancelled
    QCOMPARE(d.shown.last().text, QStringLiteral("No filename was choosen! \nRecording will not be done! "));
    QVERIFY(f.r->DispRecFile->toPlainText().isEmpty());
    QCOMPARE(d.fileRequests.last().defaultFile, QStringLiteral("record.dat"));
    QCOMPARE(d.fileRequests.last().filter, QStringLiteral("*.dat"));
    QVERIFY(!d.fileRequests.last().askBeforeReplacing);  // the program asks its one question itself

    f.chooseNewFile();
    QCOMPARE(f.r->DispRecFile->toPlainText(), f.file);
    QCOMPARE(f.readFile(QStringLiteral("record.dat")), recordHeader());

    // An existing file, declined: the earlier target stays and keeps its content.
    f.writeFile(QStringLiteral("other.dat"), "keep me\r\n");
    d.fileAnswers << f.path(QStringLiteral("other.dat"));
    d.confirmAnswers << false;
    QTest::mouseClick(f.r->ButtonSelRecFile, Qt::LeftButton);
    QCOMPARE(d.shown.last().text, QStringLiteral("File already exist! \nDo you want to select existing file?"));
    QCOMPARE(f.r->DispRecFile->toPlainText(), f.file);
    QCOMPARE(f.readFile(QStringLiteral("other.dat")), QByteArray("keep me\r\n"));

    // Accepted: its old content is replaced by the header.
    d.fileAnswers << f.path(QStringLiteral("other.dat"));
    d.confirmAnswers << true;
    QTest::mouseClick(f.r->ButtonSelRecFile, Qt::LeftButton);
    QCOMPARE(d.shown.last().text,
             QStringLiteral(" Make sure, that the file is not opened by any other program.") + QString(36, u' ')
                 + QStringLiteral("\n Otherwise it can not be saved."));
    QCOMPARE(f.r->DispRecFile->toPlainText(), f.path(QStringLiteral("other.dat")));
    QCOMPARE(f.readFile(QStringLiteral("other.dat")), recordHeader());
    int questions = 0;
    for (const auto& box : d.shown)
        questions += box.kind == QLatin1String("confirm");
    QCOMPARE(questions, 2);  // one per choice of an existing file
}

void RecorderTest::fixedCountWritesExactlyTheSentValues()
{
    RecorderFixture f;
    f.chooseNewFile();
    f.r->EditInterval->setValue(1);
    f.r->EditRecVal->setValue(3);
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    f.dialogs->confirmAnswers << true;
    bool selectDimmedWhileRecording = false;
    During check([&] { selectDimmedWhileRecording |= !f.r->ButtonSelRecFile->isEnabled(); });

    QTest::mouseClick(f.r->ButtonStartRecord, Qt::LeftButton);

    QCOMPARE(f.lines().size(), 3);
    QCOMPARE(f.lines(), sentValues(sent));
    QCOMPARE(f.r->DispRecordedValues->value(), 3);
    QCOMPARE(f.r->DispRemaining->value(), 0);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("INFO!"));
    QCOMPARE(f.dialogs->shown.last().text, QStringLiteral("File has been saved!"));
    QCOMPARE(f.a->flags().pollrecord, std::uint16_t(0));
    QVERIFY(selectDimmedWhileRecording);
    QVERIFY(f.r->ButtonStartRecord->isEnabled() && f.r->EditSelectDataRec->isEnabled());
    QVERIFY(f.r->EditInterval->isEnabled() && f.r->ButtonSelRecFile->isEnabled());
    QCOMPARE(f.r->DispGfRecord->value(), f.lines().last()[5] / 10.0);

    // A second recording appends to the same file.
    f.r->EditRecVal->setValue(1);
    f.dialogs->confirmAnswers << true;
    QTest::mouseClick(f.r->ButtonStartRecord, Qt::LeftButton);
    QCOMPARE(f.lines().size(), 4);
}

void RecorderTest::stopDuringTheIntervalWaitWritesNoFurtherLine()
{
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(Continuous);
    f.r->EditInterval->setValue(3600);
    f.dialogs->confirmAnswers << true;
    During stopAfterFirstLine([&] {
        if (f.r->DispRecCount->value() >= 1 && f.r->ButtonStopRecord->isEnabled())
            QTest::mouseClick(f.r->ButtonStopRecord, Qt::LeftButton);
    });

    QTest::mouseClick(f.r->ButtonStartRecord, Qt::LeftButton);  // returns only after the stop

    QCOMPARE(f.lines().size(), 1);
    QCOMPARE(f.r->DispRecCount->value(), 1.0);
    QCOMPARE(f.dialogs->shown.last().text, QStringLiteral("File has been saved!"));
}

void RecorderTest::timeoutEndsTheRecordingWithoutAStaleLine_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fixed count") << int(FixedCount);
    QTest::newRow("polling") << int(Polling);
}

void RecorderTest::timeoutEndsTheRecordingWithoutAStaleLine()
{
    QFETCH(int, mode);
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(mode);
    f.r->EditRecVal->setValue(5);
    sim::Faults silent;
    silent.onlyCommand = frame::ReadMeasurement;
    silent.dropReplies = sim::Faults::kAll;
    f.sensor->setFaults(silent);
    f.dialogs->confirmAnswers << true;
    // The value set that never comes times out as soon as it is asked for.
    f.onCommand(f.a, frame::ReadMeasurement, [&f] { f.a->pump().expireInnermostWait(); });

    QTest::mouseClick(mode == Polling ? f.r->ButtonStartPolling : f.r->ButtonStartRecord, Qt::LeftButton);

    QCOMPARE(f.a->panel().ui->DispStatus->text(), QStringLiteral("TIMEOUT"));
    QVERIFY(f.interfaceWidget()->isVisible());
    QCOMPARE(f.a->flags().pollrecord, std::uint16_t(0));
    QCOMPARE(f.lines().size(), 0);
    QVERIFY(f.r->EditSelectDataRec->isEnabled());
}

void RecorderTest::pollingWritesOneLinePerPress()
{
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(Polling);
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    int presses = 0;
    During press([&] {
        if (sentValues(sent).size() < 3 + presses * 2)
            return;  // let a few polls pass between presses
        if (presses < 2) {
            QTest::mouseClick(f.r->ButtonManualRecord, Qt::LeftButton);
            ++presses;
        } else if (f.a->flags().pollrecord) {
            QTest::mouseClick(f.r->ButtonStopPolling, Qt::LeftButton);
        }
    });

    QTest::mouseClick(f.r->ButtonStartPolling, Qt::LeftButton);

    const QList<RecordValues> lines = f.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(isSubsequence(lines, sentValues(sent)));
    QCOMPARE(f.r->DispRecordedValues->value(), 2);
    QCOMPARE(f.dialogs->count(QStringLiteral("INFO!")), 0);
    QCOMPARE(f.dialogs->count(QStringLiteral("ATTENTION!")), 0);  // no question for a manual line
    QVERIFY(f.r->ButtonStartPolling->isEnabled());

    // Without polling a press writes the values of the last frame received.
    QTest::mouseClick(f.r->ButtonManualRecord, Qt::LeftButton);
    QCOMPARE(f.lines().size(), 3);
    QCOMPARE(f.lines().last(), sentValues(sent).last());
}

void RecorderTest::pollingRecordsNothingForARequestWithoutReply()
{
    RecorderFixture f(false, true, true);
    f.a->interfacepanel().ui().CheckReconnect->setChecked(true);
    f.a->reconnect().retryScale = 0.1;  // the full schedule has its own row
    f.chooseNewFile();
    f.selectMode(Polling);
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    auto* state = f.a->recpanel().widget->findChild<QLabel*>(QStringLiteral("DispLinkState"));
    int polledAtLoss = -1;
    bool pressedInOutage = false;
    qint64 measuredMs = 0;
    During press([&] {
        if (!f.a->flags().pollrecord)
            return;
        const int polled = int(sentValues(sent).size());
        if (polledAtLoss < 0 && polled >= 3) {
            polledAtLoss = polled;
            f.sensor->goAway(500);
        } else if (!pressedInOutage && state->isVisible()) {
            // Into the outage: the values shown were measured before it.
            QTest::mouseClick(f.r->ButtonManualRecord, Qt::LeftButton);
            pressedInOutage = true;
        } else if (pressedInOutage && !state->isVisible() && polled >= polledAtLoss + 3) {
            measuredMs = f.a->measured().receivedMs;
            QTest::mouseClick(f.r->ButtonManualRecord, Qt::LeftButton);
            QTest::mouseClick(f.r->ButtonStopPolling, Qt::LeftButton);
        }
    });
    QTest::mouseClick(f.r->ButtonStartPolling, Qt::LeftButton);

    QVERIFY(pressedInOutage);
    QVERIFY(std::any_of(f.dialogs->shown.begin(), f.dialogs->shown.end(), [](const auto& shown) {
        return shown.text.startsWith(QStringLiteral("No value has been recorded"));
    }));
    // One line, after the return, stamped with the time its value set came.
    const QList<QByteArray> lines = f.readFile(QStringLiteral("record.dat")).split('\n');
    QCOMPARE(f.lines().size(), 1);
    QVERIFY(isSubsequence(f.lines(), sentValues(sent)));
    const QByteArray stamp = QDateTime::fromMSecsSinceEpoch(measuredMs).toString(QStringLiteral("HH:mm:ss")).toLatin1();
    QVERIFY2(lines.size() >= 2 && lines[1].contains(stamp), lines.value(1).constData());
    // The line's events beside the file, as in the other modes.
    QStringList words;
    for (const QByteArray& line : f.readFile(QStringLiteral("record.dat.events")).split('\n'))
        if (!line.isEmpty())
            words << QString::fromLatin1(line.split('\t').value(1));
    QCOMPARE(words, (QStringList{"LOST", "BACK", "RESUMED", "STOPPED"}));
}

void RecorderTest::quietLineWithTheSwitchOffIsToldAndTheRecordingGoesOn()
{
    RecorderFixture f(false, true, true);
    f.a->interfacepanel().ui().EditQuietLimit->setValue(2);
    f.chooseNewFile();
    f.selectMode(Triggered);
    f.sensor->setPartRate(20.0);
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    f.dialogs->confirmAnswers << true;
    auto* state = f.a->recpanel().widget->findChild<QLabel*>(QStringLiteral("DispLinkState"));
    const auto count = [&] { return int(f.r->DispRecCount->value()); };
    int linesAtMute = -1;
    QString told;
    During drive([&] {
        if (!f.a->flags().pollrecord)
            return;
        if (linesAtMute < 0 && count() >= 3) {
            linesAtMute = count();
            f.sensor->mute(3500);  // a peer without power: the line stays open, nothing comes
        }
        if (state->isVisible()) {
            told = state->text();
            if (f.sensor->muted())
                f.sensor->mute(0);  // told: the sensor sends again
        }
        if (linesAtMute >= 0 && !told.isEmpty() && !state->isVisible() && count() >= linesAtMute + 3)
            QTest::mouseClick(f.r->ButtonStopTrigRec, Qt::LeftButton);
    });
    QTest::mouseClick(f.r->ButtonStartTrigRec, Qt::LeftButton);

    QCOMPARE(told,
             QStringLiteral("nothing received for 2 s; the line may be dead \u2014 turn on Reconnect and resume "
                            "to check it"));
    const QList<RecordValues> lines = f.lines();
    QVERIFY(lines.size() >= linesAtMute + 3);
    QCOMPARE(lines, sentValues(sent).mid(0, lines.size()));
    QVERIFY(f.a->panel().ui->DispStatus->text() != QStringLiteral("TIMEOUT"));
}

void RecorderTest::triggeredRecordsTheSensorsOwnFramesBetweenAutoSendOnAndOff()
{
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(Triggered);
    f.sensor->setPartRate(20.0);
    f.sensor->clearReceived();
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    f.dialogs->confirmAnswers << true;
    bool autoSendingWhileRecording = false;
    bool injected = false;
    During drive([&] {
        const double n = f.r->DispRecCount->value();
        autoSendingWhileRecording |= f.sensor->autoSending();
        if (n >= 2 && !injected) {
            // A frame not from the sensor: the same layout with the PC's header word.
            QByteArray bad(frame::kBytes, '\0');
            auto* b = reinterpret_cast<std::uint8_t*>(bad.data());
            frame::putWord(b, 0, frame::kSyncPc);
            frame::putWord(b, 1, frame::ReadMeasurement);
            frame::putWord(b, 2, 4321);
            f.sensor->injectBytes(bad);
            injected = true;
        }
        if (n >= 8 && f.a->flags().pollrecord)
            QTest::mouseClick(f.r->ButtonStopTrigRec, Qt::LeftButton);
    });

    QTest::mouseClick(f.r->ButtonStartTrigRec, Qt::LeftButton);

    QVERIFY(autoSendingWhileRecording);
    QTRY_VERIFY(!f.sensor->autoSending());
    const QList<QByteArray> switches = f.autoSendFrames();
    QCOMPARE(switches.size(), 2);
    QCOMPARE(word(switches.first(), 2), std::uint16_t(1));
    QCOMPARE(word(switches.last(), 2), std::uint16_t(0));

    const QList<RecordValues> lines = f.lines();
    QCOMPARE(double(lines.size()), f.r->DispRecCount->value());
    QVERIFY(lines.size() >= 8);
    QVERIFY(isSubsequence(lines, sentValues(sent)));
    for (const auto& v : lines)
        QVERIFY(v[0] != 4321);
    QCOMPARE(f.dialogs->shown.last().text, QStringLiteral("File has been saved!"));
    QVERIFY(f.r->ButtonStartTrigRec->isEnabled() && f.r->EditSelectDataRec->isEnabled());

    // Its report, beside the record file: every line counted, the sensor and the set in force named.
    f.dialogs->fileAnswers << f.path(QStringLiteral("record-report.pdf"));
    QTest::mouseClick(f.r->ButtonReport, Qt::LeftButton);
    QCOMPARE(f.dialogs->fileRequests.last().defaultFile, QStringLiteral("record-report.pdf"));
    const QString text = tarvo::test::pdfText(f.path(QStringLiteral("record-report.pdf")));
    for (const QString& expected : {QStringLiteral("Parts (n) %1").arg(lines.size()), QStringLiteral("TARVO"),
                                    QStringLiteral("power %1").arg(f.a->params().power), QStringLiteral("TarvoV43 ")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in: ") + text));
}

void RecorderTest::writeFailureIsReportedAndStopsTheRecording_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fixed count") << int(FixedCount);
    QTest::newRow("triggered") << int(Triggered);
    QTest::newRow("manual") << int(Polling);
}

void RecorderTest::writeFailureIsReportedAndStopsTheRecording()
{
    QFETCH(int, mode);
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(mode);
    f.r->EditRecVal->setValue(100);
    QVERIFY(QFile::remove(f.file));  // taken away behind the program's back
    f.dialogs->confirmAnswers << true;
    f.dialogs->shown.clear();

    if (mode == Polling) {
        During press([&] {
            if (f.a->flags().pollrecord && f.r->ButtonManualRecord->isEnabled())
                QTest::mouseClick(f.r->ButtonManualRecord, Qt::LeftButton);
        });
        QTest::mouseClick(f.r->ButtonStartPolling, Qt::LeftButton);
    } else {
        QTest::mouseClick(mode == Triggered ? f.r->ButtonStartTrigRec : f.r->ButtonStartRecord, Qt::LeftButton);
    }

    QCOMPARE(f.dialogs->count(QStringLiteral("INFO!")), 0);  // never "File has been saved!"
    QVERIFY(f.dialogs->shown.last().text.startsWith(QStringLiteral("The record file could not be written!")));
    QVERIFY(f.dialogs->shown.last().text.contains(f.file));
    QCOMPARE(f.a->flags().pollrecord, std::uint16_t(0));
    QVERIFY(!QFile::exists(f.file));
    QVERIFY(f.r->EditSelectDataRec->isEnabled());
    QTRY_VERIFY(!f.sensor->autoSending());
}

void RecorderTest::fullDiskLeavesOnlyWholeLinesAndSaysWhy_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fixed count") << int(FixedCount);
    QTest::newRow("triggered") << int(Triggered);
}

void RecorderTest::fullDiskLeavesOnlyWholeLinesAndSaysWhy()
{
    QFETCH(int, mode);
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(mode);
    f.r->EditRecVal->setValue(100);
    f.dialogs->confirmAnswers << true;
    f.dialogs->shown.clear();
    const int lineBytes = int(
        recordLine(QDateTime::currentDateTime(), {1000, 2000, 300, 869, 1150, 873, 12, 25}).size());
    simulateDiskFullAfter(2 * lineBytes + lineBytes / 2);  // two lines fit, the third only in part
    f.a->recorder().setIntervalScale(0.1);  // fixed count: a line every 0.1 s; the interval has its own row

    QTest::mouseClick(mode == Triggered ? f.r->ButtonStartTrigRec : f.r->ButtonStartRecord, Qt::LeftButton);
    simulateDiskFullAfter(-1);

    QVERIFY(f.dialogs->shown.last().text.startsWith(QStringLiteral("The record file could not be written!")));
    QVERIFY2(f.dialogs->shown.last().text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(f.dialogs->shown.last().text));
    QCOMPARE(f.dialogs->count(QStringLiteral("INFO!")), 0);
    const QByteArray content = f.readFile(QStringLiteral("record.dat"));
    QVERIFY(content.endsWith("\r\n"));
    QCOMPARE(f.lines().size(), 2);
    QTRY_VERIFY(!f.sensor->autoSending());

    // With space again the next recording continues after the last whole line.
    f.selectMode(FixedCount);
    f.r->EditRecVal->setValue(1);
    f.dialogs->confirmAnswers << true;
    QTest::mouseClick(f.r->ButtonStartRecord, Qt::LeftButton);
    QCOMPARE(f.lines().size(), 3);
    QCOMPARE(f.readFile(QStringLiteral("record.dat")).left(content.size()), content);
}

void RecorderTest::startWithoutAFileRecordsNothing()
{
    RecorderFixture f;
    QSignalSpy frames(f.sensor.get(), &sim::SensorSim::frameReceived);
    QTest::mouseClick(f.r->ButtonStartRecord, Qt::LeftButton);
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
    QCOMPARE(frames.size(), 0);
    QVERIFY(f.r->ButtonStartRecord->isEnabled());
}

void RecorderTest::closingTheRecorderStopsAutomaticSending()
{
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(Triggered);
    f.sensor->setPartRate(20.0);
    f.dialogs->confirmAnswers << true;
    During close([&] {
        if (f.r->DispRecCount->value() >= 2 && f.a->recpanel().widget->isVisible())
            f.a->recpanel().widget->close();
    });

    QTest::mouseClick(f.r->ButtonStartTrigRec, Qt::LeftButton);

    QTRY_VERIFY(!f.sensor->autoSending());
    QCOMPARE(word(f.autoSendFrames().last(), 2), std::uint16_t(0));
    QVERIFY(!f.a->recpanel().widget->isVisible());
    QVERIFY(f.a->panel().ui->ButtonGo->isEnabled());
    QCOMPARE(double(f.lines().size()), f.r->DispRecCount->value());
}

void RecorderTest::closingTheMainPanelEndsTheRecordingWithTheFileComplete_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("continuous") << int(Continuous);
    QTest::newRow("triggered") << int(Triggered);
}

void RecorderTest::closingTheMainPanelEndsTheRecordingWithTheFileComplete()
{
    QFETCH(int, mode);
    RecorderFixture f;
    f.chooseNewFile();
    f.selectMode(mode);
    f.r->EditInterval->setValue(3600);
    f.sensor->setPartRate(20.0);
    f.dialogs->confirmAnswers << true;
    f.dialogs->shown.clear();
    During close([&] {
        if (f.r->DispRecCount->value() >= 2 || (mode == Continuous && f.r->DispRecCount->value() >= 1))
            if (f.a->panel().widget->isVisible())
                f.a->panel().widget->close();
    });

    QTest::mouseClick(mode == Triggered ? f.r->ButtonStartTrigRec : f.r->ButtonStartRecord, Qt::LeftButton);

    QVERIFY(f.a->quitRequested());
    const QByteArray content = f.readFile(QStringLiteral("record.dat"));
    QVERIFY(content.endsWith("\r\n"));
    QCOMPARE(double(f.lines().size()), f.r->DispRecCount->value());
    QCOMPARE(f.dialogs->count(QStringLiteral("INFO!")), 0);
    QTRY_VERIFY(!f.sensor->autoSending());
}

void RecorderTest::onlyWholeAutomaticFramesAreRecordedAndTheRestCounted_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<bool>("cut");
    QTest::newRow("stray bytes, TCP") << false << false;
    QTest::newRow("cut frame, TCP") << false << true;
#ifdef Q_OS_UNIX
    QTest::newRow("stray bytes, line") << true << false;
    QTest::newRow("cut frame, line") << true << true;
#endif
}

void RecorderTest::onlyWholeAutomaticFramesAreRecordedAndTheRestCounted()
{
    QFETCH(bool, serial);
    QFETCH(bool, cut);
    RecorderFixture f(serial);
    f.chooseNewFile();
    f.selectMode(Triggered);
    f.sensor->setPartRate(20.0);
    if (cut)
        f.sensor->setAutoCut(15, 3);  // every third frame: its first 15 bytes, then a whole one
    else
        f.sensor->setAutoStray(5, 2);  // five stray bytes after every second frame
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    f.dialogs->confirmAnswers << true;
    During drive([&] {
        if (f.r->DispRecCount->value() >= 8 && f.a->flags().pollrecord)
            QTest::mouseClick(f.r->ButtonStopTrigRec, Qt::LeftButton);
    });
    QTest::mouseClick(f.r->ButtonStartTrigRec, Qt::LeftButton);

    // Every whole frame up to the stop is in the file, those after stray
    // bytes or a cut frame too; the report tells only what occurred.
    const QList<RecordValues> lines = f.lines();
    QVERIFY(lines.size() >= 8);
    QCOMPARE(lines, sentValues(sent).mid(0, lines.size()));
    const AutoFrameCounts& counts = f.a->recorder().receptionCounts();
    if (cut) {
        QVERIFY(counts.cutFrames >= 2);
        QCOMPARE(counts.skippedBytes, 15 * counts.cutFrames);
    } else {
        QCOMPARE(counts.cutFrames, 0L);
        QVERIFY(counts.skippedBytes >= 15);
    }
    const QList<tarvo::test::ShownBox>& boxes = f.dialogs->shown;
    QVERIFY(boxes.size() >= 2);
    const QString report = boxes[boxes.size() - 2].text;
    QVERIFY(report.contains(QStringLiteral("%1 byte(s)").arg(counts.skippedBytes)));
    QCOMPARE(report.contains(QStringLiteral("cut short")), cut);
    QCOMPARE(boxes.last().text, QStringLiteral("File has been saved!"));
}

void RecorderTest::floodIsRecordedWholeWhileStopStaysResponsive_data()
{
    tarvo::test::addLinkRows("line, unpaced");
}

void RecorderTest::floodIsRecordedWholeWhileStopStaysResponsive()
{
    QFETCH(bool, serial);
    RecorderFixture f(serial, false);
    f.chooseNewFile();
    f.selectMode(Triggered);
    f.sensor->setAutoFlood(true);
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    f.dialogs->confirmAnswers << true;
    // STOP is pressed from the event loop: that it is pressed at all shows the
    // window still runs its events while the frames pour in.
    bool stopped = false;
    During drive([&] {
        if (!stopped && f.r->DispRecCount->value() >= 3000) {
            stopped = true;
            QTest::mouseClick(f.r->ButtonStopTrigRec, Qt::LeftButton);
        }
    });
    QTest::mouseClick(f.r->ButtonStartTrigRec, Qt::LeftButton);
    QVERIFY(stopped);

    const QList<RecordValues> lines = f.lines();
    const AutoFrameCounts& counts = f.a->recorder().receptionCounts();
    QCOMPARE(long(lines.size()), counts.frames);  // every whole frame taken in is written
    QCOMPARE(double(lines.size()), f.r->DispRecCount->value());
    QCOMPARE(lines, sentValues(sent).mid(0, lines.size()));
    QCOMPARE(counts.skippedBytes, 0L);
    // The displays kept up by showing the newest of each batch, yet every
    // line written is a point of the graph panel.
    QCOMPARE(f.a->graphs().panelGraph(0).points().size(), std::int64_t(lines.size()));
    QCOMPARE(f.a->graphs().panelGraph(0).points().at(0), double(lines.first()[0]));
    QCOMPARE(f.a->graphs().panelGraph(5).points().at(lines.size() - 1), lines.last()[5] / 10.0);
    QCOMPARE(f.dialogs->shown.last().text, QStringLiteral("File has been saved!"));
}

void RecorderTest::recordingGoesOnAcrossAnOutageWithTheGapWrittenBeside_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<int>("mode");
    // away: the sensor is off for a moment (and comes back with another
    // parameter set than the one last read); rebooted: behind a line that
    // stays up, automatic sending off; silent: it hangs with the line open
    // and goes on while the line is checked; gone: off for good, until STOP
    // RETRYING.
    QTest::addColumn<QString>("outage");
    QTest::addColumn<QStringList>("events");
    const QStringList resumed{"LOST", "BACK", "RESUMED", "STOPPED"};
    QTest::newRow("triggered, TCP") << false << int(Triggered) << "away" << resumed;
    QTest::newRow("continuous, TCP") << false << int(Continuous) << "away" << resumed;
    // The sensor goes on sending on the new connection: none of it is thrown away.
    QTest::newRow("triggered, TCP, connection dropped: every frame recorded")
        << false << int(Triggered) << "dropped" << resumed;
    QTest::newRow("continuous, TCP, another set after the reboot")
        << false << int(Continuous) << "away, another set"
        << QStringList{"LOST", "BACK", "PARAMETERS-CHANGED", "RESUMED", "STOPPED"};
    // Told in the panel's words: "TRIGGER SELF -> CONT", not "trigger 1 -> 0".
    QTest::newRow("continuous, TCP, another trigger after the reboot")
        << false << int(Continuous) << "away, another trigger"
        << QStringList{"LOST", "BACK", "PARAMETERS-CHANGED", "RESUMED", "STOPPED"};
    // The gap of a reboot is written down even when nothing was lost.
    QTest::newRow("triggered, TCP, rebooted: the line check answers, nothing lost")
        << false << int(Triggered) << "rebooted" << QStringList{"GAP", "STOPPED"};
    QTest::newRow("triggered, TCP, rebooted into another set: the line check tells")
        << false << int(Triggered) << "rebooted, another set" << QStringList{"PARAMETERS-CHANGED", "GAP", "STOPPED"};
    QTest::newRow("triggered, TCP, rebooted into another teach row only: the line check tells")
        << false << int(Triggered) << "rebooted, another teach row"
        << QStringList{"PARAMETERS-CHANGED", "GAP", "STOPPED"};
    QTest::newRow("triggered, TCP, rebooted, identification bytes after its zero changing: the same sensor")
        << false << int(Triggered) << "rebooted, changing identification tail" << QStringList{"GAP", "STOPPED"};
    QTest::newRow("triggered, TCP, stop retrying")
        << false << int(Triggered) << "gone" << QStringList{"LOST", "GAVE-UP", "STOPPED"};
#ifdef Q_OS_UNIX
    QTest::newRow("triggered, line, unpaced") << true << int(Triggered) << "away" << resumed;
    QTest::newRow("triggered, line, unpaced, silent for less than the line check: the parts that come keep the line")
        << true << int(Triggered) << "silent" << QStringList{"STOPPED"};
#endif
}

void RecorderTest::recordingGoesOnAcrossAnOutageWithTheGapWrittenBeside()
{
    QFETCH(bool, serial);
    QFETCH(int, mode);
    QFETCH(QString, outage);
    QFETCH(QStringList, events);
    RecorderFixture f(serial, false, true);  // the line's speed is the cut frames' rows' matter
    f.a->interfacepanel().ui().EditQuietLimit->setValue(2);
    f.a->interfacepanel().ui().CheckReconnect->setChecked(true);
    // Retries on a tenth of the schedule (the whole one is tarvoctl's), the
    // sensor away for as long as the first attempts take.
    f.a->reconnect().retryScale = 0.1;
    f.a->recorder().setIntervalScale(0.1);  // continuous: a line every 0.1 s, not every second
    // A quiet line is checked after 0.5 s, not after the panel's shortest 2 s.
    if (outage.startsWith(u"rebooted") || outage == u"silent")
        f.a->reconnect().quietLimit = 0.5;
    if (outage == u"silent") {  // a guard: the check's wait ends once parts have come with it
        ExchangeOptions shorter = f.a->exchange().options();
        shorter.lineCheckSerialLimit = 1.5;
        f.a->exchange().setOptions(shorter);
    }
    const bool otherSet = outage.endsWith(u"another set");
    const bool otherTeach = outage.endsWith(u"another teach row");
    const bool otherTrigger = outage.endsWith(u"another trigger");
    if (otherSet)
        f.a->exchange().setWorkingSet(ParameterWords{});  // power 0: the sensor's own set has another
    if (otherTeach) {
        QVERIFY(f.a->exchange().workingSet());
        ParameterWords words = *f.a->exchange().workingSet();
        words[kParamCount] += 10;  // teach row 0 only: the parameters are the sensor's
        f.a->exchange().setWorkingSet(words);
    }
    if (otherTrigger) {
        QVERIFY(f.a->exchange().workingSet());
        ParameterWords words = *f.a->exchange().workingSet();
        QCOMPARE(words[8], std::uint16_t(0));  // the sensor triggers continuously
        words[8] = 1;                          // SELF
        f.a->exchange().setWorkingSet(words);
    }
    f.sensor->setIdentificationTailChanging(outage.endsWith(u"changing identification tail"));
    f.chooseNewFile();
    f.selectMode(mode);
    // Dropped: frames close together, so that some come on the new connection before it is asked anything.
    f.sensor->setPartRate(outage == u"dropped" ? 200.0 : 20.0);
    QSignalSpy sent(f.sensor.get(), &sim::SensorSim::bytesSent);
    f.dialogs->confirmAnswers << true;
    const auto count = [&] { return int(f.r->DispRecCount->value()); };
    int linesAtLoss = -1;
    bool greyedWithState = false;
    QElapsedTimer guard;  // ends a recording that never goes on, so the checks below tell why
    guard.start();
    During drive([&] {
        if (!f.a->flags().pollrecord)
            return;
        if (linesAtLoss < 0 && count() >= 3) {
            linesAtLoss = count();
            if (outage.startsWith(u"rebooted"))
                f.sensor->reboot();
            else if (outage == u"dropped")
                f.sensor->dropConnection();
            else if (outage == u"silent") {
                // Silent until the line is checked, then sending again while
                // the check waits for its answer, which never comes: the
                // check's wait ends once parts have come with it.
                f.sensor->mute(60000);
                f.onCommand(f.a, frame::Identify, [&f] {
                    f.sensor->mute(0);
                    ScopeFixture::when(
                        f.a, [&f] { return f.a->exchange().autoFrames().queued() > 0; },
                        [&f] { f.a->pump().expireInnermostWait(); });
                });
            } else {
                f.sensor->goAway(outage == u"gone" ? 600000 : 300);
            }
        }
        auto* state = f.a->recpanel().widget->findChild<QLabel*>(QStringLiteral("DispLinkState"));
        if (state->isVisible() && !f.r->DispGfRecord->isEnabled()) {
            // Once seen while retrying; after giving up the line says otherwise.
            greyedWithState = greyedWithState
                || (state->text().startsWith(QStringLiteral("CONNECTION LOST"))
                    && state->text().contains(QStringLiteral("last value")));
            if (outage == u"gone" && f.r->ButtonStopRetrying->isVisible())
                QTest::mouseClick(f.r->ButtonStopRetrying, Qt::LeftButton);
        }
        if ((linesAtLoss >= 0 && count() >= linesAtLoss + 3) || guard.elapsed() > 30000)
            QTest::mouseClick(mode == Triggered ? f.r->ButtonStopTrigRec : f.r->ButtonStopRecord, Qt::LeftButton);
    });
    QTest::mouseClick(mode == Triggered ? f.r->ButtonStartTrigRec : f.r->ButtonStartRecord, Qt::LeftButton);

    // The file goes on in its own format, every line a value set the sensor sent.
    const QList<RecordValues> lines = f.lines();
    if (outage == u"gone")
        QCOMPARE(lines.size(), linesAtLoss);
    else
        QVERIFY(lines.size() >= linesAtLoss + 3);
    QVERIFY(isSubsequence(lines, sentValues(sent)));
    if (outage == u"dropped" || outage.startsWith(u"rebooted"))
        QCOMPARE(lines, sentValues(sent).mid(0, lines.size()));  // none missing up to the last recorded
    if (outage != u"dropped")  // taken up again at once: the state may come and go between two looks
        QCOMPARE(greyedWithState, events.contains(QStringLiteral("LOST")));
    // The panel is back as before the loss; after giving up its displays
    // stay greyed and the state line says their values are old.
    auto* linkState = f.a->recpanel().widget->findChild<QLabel*>(QStringLiteral("DispLinkState"));
    QCOMPARE(f.r->DispGfRecord->isEnabled(), outage != u"gone");
    QCOMPARE(linkState->isVisible(), outage == u"gone");
    if (outage == u"gone") {
        QVERIFY2(linkState->text().contains(QStringLiteral("retrying stopped; the values shown are old, from ")),
                 qPrintable(linkState->text()));
        // The end box keeps its words and says why the recording ended.
        const QString box = f.dialogs->shown.last().text;
        QCOMPARE(f.dialogs->shown.last().title, QStringLiteral("ATTENTION!"));
        QVERIFY2(box.contains(QStringLiteral("File has been saved!")), qPrintable(box));
        QVERIFY2(QRegularExpression(QStringLiteral("lost and retrying stopped after \\d+ attempt\\(s\\)"))
                     .match(box)
                     .hasMatch(),
                 qPrintable(box));
        QVERIFY2(box.contains(QStringLiteral("%1 line(s)").arg(linesAtLoss)), qPrintable(box));
    }
    QVERIFY(!f.r->ButtonStopRetrying->isVisible());
    QVERIFY(f.r->ButtonStartTrigRec->isEnabled() || mode != Triggered);
    QCOMPARE(f.a->flags().pollrecord, std::uint16_t(0));
    // Only giving up opens the interface panel, as a timeout does.
    QCOMPARE(f.interfaceWidget()->isVisible(), outage == u"gone");
    QCOMPARE(f.dialogs->count(QStringLiteral("TCP Client")), 0);
    // Beside it, one line per event: time, word, reason, lines so far.
    QStringList words;
    const QList<QByteArray> written = f.readFile(QStringLiteral("record.dat.events")).split('\n');
    for (const QByteArray& line : written) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        QCOMPARE(fields.size(), 4);
        QVERIFY(QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs).isValid());
        // The offset as ±HH:MM even at UTC, as every other file writes it.
        QVERIFY2(
            QRegularExpression(QStringLiteral("[+-]\\d\\d:\\d\\d$")).match(QString::fromLatin1(fields[0])).hasMatch(),
            fields[0].constData());
        words << QString::fromLatin1(fields[1]);
        // The file names a change by the data's names in every language; the panel's words are for the screen.
        if (fields[1] == "PARAMETERS-CHANGED" && otherTrigger)
            QVERIFY2(fields[2].startsWith("trigger "), fields[2].constData());
        if (fields[1] == "LOST")
            QVERIFY(fields[3].toInt() >= linesAtLoss);
    }
    auto* notice = f.a->recpanel().widget->findChild<QLabel*>(QStringLiteral("DispParamsChanged"));
    if (otherSet || otherTeach || otherTrigger) {
        // Shown on the panel in view, with the words that differ, until seen.
        QVERIFY(notice->isVisible());
        const QString changed = otherSet ? QStringLiteral("POWER 0 -> ")
            : otherTrigger               ? QStringLiteral("): TRIGGER SELF -> CONT")
                                         : QStringLiteral("teach row 0 word 0");
        QVERIFY2(notice->text().contains(changed), qPrintable(notice->text()));
        f.a->recpanel().widget->findChild<QPushButton*>(QStringLiteral("ButtonParamsChangedSeen"))->click();
    }
    QVERIFY(notice->isHidden());
    QVERIFY(f.a->panel().ui->DispParamsChanged->isHidden());
    QCOMPARE(words, events);
}

QTEST_MAIN(RecorderTest)
#include "tst_recorder.moc"
