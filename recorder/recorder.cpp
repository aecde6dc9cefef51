#include "recorder.h"

#include "connection.h"
#include "dialogs.h"
#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "loopflags.h"
#include "measurement.h"
#include "panelutil.h"
#include "ui_RECP.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <algorithm>

namespace tarvo {

namespace {

const QString kAttention = QStringLiteral("ATTENTION!");
const QString kInfo = QStringLiteral("INFO!");
const char* const kRightFile = QT_TRANSLATE_NOOP("Recorder",
                                                 "Are you sure, that you have selected the right file name?");

QString makeSure(int blanks)
{
    return QCoreApplication::translate("Recorder", " Make sure, that the file is not opened by any other program.")
        + QString(blanks, u' ') + QCoreApplication::translate("Recorder", "\n Otherwise it can not be saved.");
}

constexpr unsigned kRunningColour = 0xFF0000;
constexpr unsigned kIdleColour = 0xE0E0E0;
constexpr double kPollPause = 0.05;
// Longest single wait for an automatically sent frame; the wait is repeated
// until a frame comes or the recording is stopped.

void setBar(QProgressBar* bar, int value)
{
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

}  // namespace

Recorder::Recorder(QWidget* recpanel, const Ui::RECP& form, Connection& connection, MeasuredValues& measured,
                   QString proj_dir)
    : m_panel(recpanel)
    , m_connection(connection)
    , m_ex(connection.exchange())
    , m_link(connection.link())
    , m_pump(connection.pump())
    , m_flags(connection.flags())
    , m_measured(measured)
    , m_reconnect(connection.reconnector())
    , m_projDir(std::move(proj_dir))
{
    EditSelectDataRec = form.EditSelectDataRec;
    EditInterval = form.EditInterval;
    EditRecVal = form.EditRecVal;
    DispRecordTime = form.DispRecordTime;
    DispRecDays = form.DispRecDays;
    DispRecHours = form.DispRecHours;
    DispRecMinutes = form.DispRecMinutes;
    DispRecSeconds = form.DispRecSeconds;
    DispRecordedValues = form.DispRecordedValues;
    DispRemaining = form.DispRemaining;
    DispRecCount = form.DispRecCount;
    ButtonStartRecord = form.ButtonStartRecord;
    ButtonStopRecord = form.ButtonStopRecord;
    ButtonStartPolling = form.ButtonStartPolling;
    ButtonStopPolling = form.ButtonStopPolling;
    ButtonManualRecord = form.ButtonManualRecord;
    ButtonStartTrigRec = form.ButtonStartTrigRec;
    ButtonStopTrigRec = form.ButtonStopTrigRec;
    ButtonSelRecFile = form.ButtonSelRecFile;
    ButtonCloseRecorder = form.ButtonCloseRecorder;
    DispRecFile = form.DispRecFile;
    RecBarChRef = form.RecBarChRef;
    RecBarChDir = form.RecBarChDir;
    RecBarChDif = form.RecBarChDif;
    RecDispChRef = form.RecDispChRef;
    RecDispChDir = form.RecDispChDir;
    RecDispChDif = form.RecDispChDif;
    RecDispNorm = form.RecDispNorm;
    RecDispInt = form.RecDispInt;
    RecDispTemp = form.RecDispTemp;
    DispGfRecord = form.DispGfRecord;
    RecDispPP = form.RecDispPP;
    wire();
}

void Recorder::wire()
{
    m_panel->installEventFilter(this);
    connect(ButtonCloseRecorder, &QPushButton::clicked, this, [this] { ChangePanelRecord(); });
    connect(ButtonSelRecFile, &QPushButton::clicked, this, [this] { SelRecFile(); });
    // Recordings talk to the sensor: each runs as one transfer on the link.
    connect(ButtonStartRecord, &QPushButton::clicked, this,
            [this] { m_ex.Transfer(TransferKind::Record, [this] { CBF_ButtonStartRecord(); }); });
    connect(ButtonStopRecord, &QPushButton::clicked, this, [this] { StopRecord(); });
    connect(ButtonStartTrigRec, &QPushButton::clicked, this,
            [this] { m_ex.Transfer(TransferKind::RecordTriggered, [this] { CBF_ButtonStartTrigRec(); }); });
    connect(ButtonStopTrigRec, &QPushButton::clicked, this, [this] { StopRecord(); });
    connect(ButtonStartPolling, &QPushButton::clicked, this,
            [this] { m_ex.Transfer(TransferKind::RecordPolling, [this] { CBF_ButtonStartPolling(); }); });
    connect(ButtonStopPolling, &QPushButton::clicked, this, [this] { StopRecord(); });
    connect(ButtonManualRecord, &QPushButton::clicked, this, [this] { CBF_ButtonManualRecord(); });
    // Every change of the mode calls back, however it is made.
    connect(EditSelectDataRec, &QComboBox::currentIndexChanged, this, [this] { CBF_EditSelectDataRec(); });
    connect(EditInterval, &QSpinBox::valueChanged, this, [this] { CalcRecTime(); });
    connect(EditRecVal, &QSpinBox::valueChanged, this, [this] { CalcRecTime(); });
}

bool Recorder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel && event->type() == QEvent::Close)
        CBF_RECP();
    return QObject::eventFilter(watched, event);
}

int Recorder::mode() const
{
    return EditSelectDataRec->currentIndex();
}

// ---- opening, mode, record time ---------------------------------------

void Recorder::CBF_ButtonOpenRecorder()
{
    StopRecord();
    m_flags.poll = 0;
    emit buttonsDimmed(1);
    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
    InitRecordPanel();
    if (mode() == FixedCount)
        CalcRecTime();
}

void Recorder::InitRecordPanel()
{
    const int m = mode();
    if (m < FixedCount || m > Triggered)
        return;
    const bool interval = m == FixedCount || m == Continuous;
    setVisibleWithCaption(EditInterval, interval);
    setVisibleWithCaption(EditRecVal, m == FixedCount);
    setVisibleWithCaption(DispRecordTime, m == FixedCount);
    setVisibleWithCaption(DispRecordedValues, m == FixedCount || m == Polling);
    setVisibleWithCaption(DispRemaining, m == FixedCount);
    setVisibleWithCaption(DispRecCount, m == Continuous || m == Triggered);
    setVisibleWithCaption(ButtonStartRecord, interval);
    setVisibleWithCaption(ButtonStopRecord, interval);
    setVisibleWithCaption(ButtonStartPolling, m == Polling);
    setVisibleWithCaption(ButtonStopPolling, m == Polling);
    setVisibleWithCaption(ButtonManualRecord, m == Polling);
    setVisibleWithCaption(ButtonStartTrigRec, m == Triggered);
    setVisibleWithCaption(ButtonStopTrigRec, m == Triggered);
}

void Recorder::CBF_EditSelectDataRec()
{
    StopRecord();
    const int m = mode();
    if (m == Polling) {
        DispRecordedValues->setValue(0);
        otcrec = 0;
    }
    if (m == FixedCount)
        CalcRecTime();
    InitRecordPanel();
    emit panelGraphReset();
}

void Recorder::CalcRecTime()
{
    zeitint = static_cast<std::uint16_t>(EditInterval->value());
    anzwerte = static_cast<std::uint16_t>(EditRecVal->value());
    DispRecordedValues->setValue(0);
    DispRemaining->setValue(anzwerte);
    const RecordTime t = recordTime(zeitint, anzwerte);
    DispRecDays->setValue(int(t.days));
    DispRecHours->setValue(int(t.hours));
    DispRecMinutes->setValue(int(t.minutes));
    DispRecSeconds->setValue(int(t.seconds));
}

// ---- the record file ----------------------------------------------------

void Recorder::SelRecFile()
{
    FileDialogRequest request;
    request.directory = m_projDir;
    request.defaultFile = QStringLiteral("record.dat");
    request.filter = QStringLiteral("*.dat");
    request.title = QStringLiteral("FILENAME!");
    request.save = true;
    request.askBeforeReplacing = false;  // the one question is asked below
    const QString path = dialogs().selectFile(request);
    if (path.isEmpty()) {
        dialogs().message(
            kAttention,
            QCoreApplication::translate("Recorder", "No filename was choosen! \nRecording will not be done! "));
        return;
    }
    if (QFileInfo::exists(path)) {
        if (!dialogs().confirm(
                kAttention,
                QCoreApplication::translate("Recorder", "File already exist! \nDo you want to select existing file?")))
            return;
        dialogs().message(kAttention, makeSure(36));
    }
    // The path is shown, and so becomes the record target, only once the
    // file holds its header; a failed choice leaves the earlier target.
    if (!file.create(path)) {
        dialogs().message(kAttention,
                          QCoreApplication::translate("Recorder", "The record file could not be created! \n%1\n%2")
                              .arg(path, file.errorString()));
        return;
    }
    file_name = path;
    events.startFresh(path);  // the events of the file it replaced go with it
    DispRecFile->clear();
    DispRecFile->setPlainText(path);
}

bool Recorder::takeFileName()
{
    file_name = DispRecFile->document()->firstBlock().text().trimmed();
    if (file_name.isEmpty()) {
        dialogs().message(kAttention,
                          QCoreApplication::translate(
                              "Recorder", "No record file has been selected! \nRecording will not be done! "));
        return false;
    }
    return true;
}

bool Recorder::ToFile(const QDateTime& measured)
{
    if (file.append(file_name, recordValues(m_measured), measured)) {
        ++m_linesWritten;
        return true;
    }
    // Nothing more can be kept: stop and say why, rather than go on
    // measuring into a file that does not take the values.
    m_writeFailed = true;
    StopRecord();
    showWriteFailure();
    return false;
}

void Recorder::showWriteFailure()
{
    dialogs().message(kAttention,
                      QCoreApplication::translate(
                          "Recorder", "The record file could not be written! \n%1\n%2\nRecording has been stopped. ")
                          .arg(file_name, file.errorString()));
}

void Recorder::fileSavedMessage()
{
    // After a write failure the values were not saved; after the main panel
    // was closed nobody is there to read the box.
    if (m_writeFailed || m_connection.closed())
        return;
    if (!m_gaveUp.isEmpty()) {
        // The recording ended without the user's STOP: the box says why.
        const int lines = static_cast<int>(m_linesWritten);  // a plain name: lupdate reads the count's argument
        dialogs().message(kAttention,
                          QCoreApplication::translate("Recorder",
                                                      " The connection to the sensor was lost and %1: \n"
                                                      " the recording has ended. \n\n"
                                                      "File has been saved!\n\n"
                                                      " It holds %n line(s); when the connection was lost is "
                                                      "written in \n %2 ",
                                                      nullptr, lines)
                              .arg(m_gaveUp, QDir::toNativeSeparators(events.path())));
        return;
    }
    dialogs().message(kInfo, QCoreApplication::translate("Recorder", "File has been saved!"));
}

// ---- shared pieces ------------------------------------------------------

bool Recorder::ReadMeasurement()
{
    const Reply reply = m_ex.request(frame::ReadMeasurement);
    if (!reply)
        return false;
    m_measured.CopyDatatoVars(reply.words);
    return true;
}

void Recorder::SetRecordData()
{
    const MeasuredValues& m = m_measured;
    setBar(RecBarChRef, m.dataChRef);
    setBar(RecBarChDir, m.dataChDir);
    setBar(RecBarChDif, m.dataChDif);
    RecDispChRef->setValue(m.dataChRef);
    RecDispChDir->setValue(m.dataChDir);
    RecDispChDif->setValue(m.dataChDif);
    RecDispNorm->setValue(m.dataNorm);
    RecDispInt->setValue(m.dataInt);
    DispGfRecord->setValue(m.dataGfDouble);
    RecDispTemp->setValue(m.dataTemp);
    RecDispPP->setValue(m.dataPPDouble);
}

void Recorder::colourButton(QPushButton* button, unsigned rgb)
{
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; }").arg(QColor::fromRgb(rgb).name()));
}

void Recorder::setRecording(bool on)
{
    // A new choice of file while recording would delete the file being
    // written, or split one recording over two files.
    ButtonSelRecFile->setEnabled(!on);
    if (on)
        m_writeFailed = false;
    logEvents(on);
}

void Recorder::logEvents(bool on)
{
    if (!m_reconnect.enabled())
        return;
    if (on) {
        m_linesWritten = 0;
        m_gaveUp.clear();
        events.continueAt(file_name);
        m_reconnect.begin();
        m_reconnect.eventLog = [this](LinkEvent event, const QString& reason) {
            if (event == LinkEvent::GaveUp)
                m_gaveUp = m_reconnect.shownReason();  // for the box; the file takes the English reason
            writeEvent(event, reason);
        };
        return;
    }
    m_reconnect.eventLog = nullptr;
    QString why;
    if (m_writeFailed)
        why = QStringLiteral("the record file could not be written");
    else if (m_reconnect.lastOutcome() != Reconnector::Outcome::Resumed)
        why = QStringLiteral("the connection was not taken up again");
    else if (m_connection.closed())
        why = QStringLiteral("the program was closed");
    else
        why = QStringLiteral("the recording was stopped");
    writeEvent(LinkEvent::Stopped, why);
}

void Recorder::writeEvent(LinkEvent event, const QString& reason)
{
    if (events.write(linkEventWord(event), reason, m_linesWritten))
        return;
    // The gap would go unrecorded: stop and say why, as for the record file.
    const bool first = !m_writeFailed;
    m_writeFailed = true;
    StopRecord();
    if (first)
        dialogs().message(
            kAttention,
            QCoreApplication::translate("Recorder",
                                        "The events file could not be written! \n%1\n%2\nRecording has been stopped. ")
                .arg(events.path(), events.errorString()));
}

void Recorder::StopRecord()
{
    m_flags.pollrecord = 0;
    m_pump.poke();  // a running wait ends now, not at its deadline
}

// ---- interval recording: fixed count and continuous ---------------------

void Recorder::CBF_ButtonStartRecord()
{
    EditSelectDataRec->setEnabled(false);
    ButtonStartRecord->setEnabled(false);
    emit panelGraphReset();
    Record();
    EditSelectDataRec->setEnabled(true);
    ButtonStartRecord->setEnabled(true);
}

bool Recorder::Record()
{
    if (!takeFileName())
        return false;
    if (!dialogs().confirmToGoOn(kAttention, QCoreApplication::translate("Recorder", kRightFile)))
        return false;
    dialogs().message(kAttention, makeSure(36));
    EditInterval->setEnabled(false);
    EditRecVal->setEnabled(false);
    ButtonStartRecord->setEnabled(false);
    colourButton(ButtonStartRecord, kRunningColour);
    setRecording(true);
    RecordFrame();
    setRecording(false);
    fileSavedMessage();
    EditInterval->setEnabled(true);
    EditRecVal->setEnabled(true);
    ButtonStartRecord->setEnabled(true);
    colourButton(ButtonStartRecord, kIdleColour);
    return true;
}

void Recorder::RecordFrame()
{
    m_flags.pollrecord = 1;
    otcrec = 0;
    CalcRecTime();
    linecount = 0;
    DispRecCount->setValue(0);
    while (m_flags.pollrecord == 1) {
        recstart = m_pump.now();
        const bool complete = ReadMeasurement();
        const auto polled = m_reconnect.afterRequest(complete, m_flags.pollrecord, true);
        if (polled == Reconnector::Polled::Value) {
            SetRecordData();
            emit panelGraphDataDue();
            emit panelDataDue();
            emit graphDue();
        } else if (polled == Reconnector::Polled::Again) {
            // No value this pass (the line was taken up again or one reply
            // went astray): no line, and the next one on its own schedule.
            SlowDown();
            continue;
        } else {
            // No fresh values: no line, so that the file never holds old
            // values under a new time.
            if (polled == Reconnector::Polled::Failed)
                m_ex.SetPopupTimeout();
            break;
        }
        if (!ToFile())
            break;
        if (mode() == FixedCount) {
            ++otcrec;
            DispRecordedValues->setValue(otcrec);
            DispRemaining->setValue(anzwerte - otcrec);
            if (otcrec >= anzwerte)
                m_flags.pollrecord = 0;
        } else {
            ++linecount;
            DispRecCount->setValue(linecount);
        }
        SlowDown();
    }
}

void Recorder::SlowDown()
{
    const double left = zeitint * intervalScale - (m_pump.now() - recstart);
    if (left > 0.0)
        m_pump.waitFor(left, [this] { return m_flags.pollrecord != 1; });
}

// ---- triggered recording -------------------------------------------------

void Recorder::CBF_ButtonStartTrigRec()
{
    if (!takeFileName())
        return;
    if (!dialogs().confirmToGoOn(kAttention, QCoreApplication::translate("Recorder", kRightFile)))
        return;
    dialogs().message(kAttention, makeSure(42));
    colourButton(ButtonStartTrigRec, kRunningColour);
    ButtonStartTrigRec->setEnabled(false);
    EditSelectDataRec->setEnabled(false);
    emit panelGraphReset();
    setRecording(true);
    TriggeredRecord();
    m_ex.StopAutoSend();
    setRecording(false);
    const QString report = autoFrameReport(m_autoCounts, 0);
    if (!report.isEmpty() && !m_connection.closed())
        dialogs().message(kInfo, report);
    fileSavedMessage();
    EditSelectDataRec->setEnabled(true);
    ButtonStartTrigRec->setEnabled(true);
    colourButton(ButtonStartTrigRec, kIdleColour);
}

void Recorder::TriggeredRecord()
{
    AutoFrameReader& reader = m_ex.autoFrames();
    m_ex.StartAutoSend();  // the first frame read starts at a frame boundary
    m_reconnect.begin();   // a quiet line is told from now on
    linecount = 0;
    DispRecCount->setValue(0);
    m_flags.pollrecord = 1;
    bool written = true;
    // Every measurement frame goes to the file and is a point of the graph
    // panel; the displays show the newest of those that came together.
    const auto record = [&](const FrameWords& words) {
        if (!written)
            return;
        m_measured.CopyDatatoVars(words);
        written = ToFile();
        if (!written)
            return;
        ++linecount;
        emit panelGraphDataDue();
    };
    while (m_flags.pollrecord == 1 && written) {
        if (!m_reconnect.awaitFrames(m_flags.pollrecord))
            continue;
        const int n = reader.takeAll(record);
        if (n == 0 || !written)
            continue;
        SetRecordData();
        emit panelDataDue();
        emit graphDue();
        DispRecCount->setValue(linecount);
    }
    // Frames already taken in when the recording stopped still go to the file.
    reader.takeAll(record);
    DispRecCount->setValue(linecount);
    m_autoCounts = reader.counts();
}

// ---- polling and manual recording ---------------------------------------

void Recorder::CBF_ButtonStartPolling()
{
    ButtonStartPolling->setEnabled(false);
    EditSelectDataRec->setEnabled(false);
    colourButton(ButtonStartPolling, kRunningColour);
    m_writeFailed = false;
    // RECORD ONE writes into the file of the panel: the line's events go beside it.
    file_name = DispRecFile->document()->firstBlock().text().trimmed();
    const bool logged = !file_name.isEmpty();
    if (logged)
        setRecording(true);
    RecordPolling();
    if (logged)
        setRecording(false);
    m_polledMs = 0;
    ButtonStartPolling->setEnabled(true);
    EditSelectDataRec->setEnabled(true);
    colourButton(ButtonStartPolling, kIdleColour);
}

void Recorder::RecordPolling()
{
    m_flags.pollrecord = 1;
    m_reconnect.begin();
    m_polling = true;
    while (m_flags.pollrecord == 1) {
        const bool complete = ReadMeasurement();
        // A request that got no reply leaves no value to record: the values
        // shown were measured before it.
        m_polledMs = complete ? m_measured.receivedMs : 0;
        const auto polled = m_reconnect.afterRequest(complete, m_flags.pollrecord, true);
        if (polled == Reconnector::Polled::Value) {
            SetRecordData();
            emit panelDataDue();
            emit graphDue();
        } else if (polled == Reconnector::Polled::Failed) {
            m_ex.SetPopupTimeout();
        }
        m_pump.processEvents();
        m_pump.waitFor(kPollPause, [this] { return m_flags.pollrecord != 1; });
    }
    m_polling = false;
}

void Recorder::CBF_ButtonManualRecord()
{
    ButtonManualRecord->setEnabled(false);
    RecordManually();
    ButtonManualRecord->setEnabled(true);
}

void Recorder::RecordManually()
{
    if (!takeFileName())
        return;
    // A value set goes to the file only with the time it was measured; while
    // polling, only one that answered the latest request.
    const std::int64_t measuredMs = m_polling ? m_polledMs : m_measured.receivedMs;
    if (measuredMs == 0) {
        dialogs().message(kAttention,
                          QCoreApplication::translate(
                              "Recorder", "No value has been recorded: the sensor did not answer the last request. "));
        return;
    }
    emit panelGraphDataDue();
    if (!ToFile(QDateTime::fromMSecsSinceEpoch(measuredMs)))
        return;
    ++otcrec;
    DispRecordedValues->setValue(otcrec);
}

// ---- stopping and closing -------------------------------------------------

void Recorder::ChangePanelRecord()
{
    StopRecord();
    m_panel->hide();
    emit buttonsDimmed(0);
}

void Recorder::CBF_RECP()
{
    ChangePanelRecord();
    StopRecord();
    // After a running recording has ended, never inside its wait.
    m_ex.Transfer(TransferKind::AutoSendOff, [this] { m_ex.StopAutoSend(); });
}

}  // namespace tarvo
