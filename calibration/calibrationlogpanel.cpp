#include "calibrationlogpanel.h"

#include "certificate.h"
#include "dialogs.h"
#include "fileio.h"
#include "timetext.h"
#include "ui_CALIBLOG.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTableWidget>
#include <QUrl>

namespace tarvo {

namespace {
// The log's words for a calibration's kind and outcome, as the table shows
// them; the log and its export keep them as written.
[[maybe_unused]] const char* const kLogWords[] = {
    QT_TRANSLATE_NOOP("CalibrationLog", "reference-100"), QT_TRANSLATE_NOOP("CalibrationLog", "other-system"),
    QT_TRANSLATE_NOOP("CalibrationLog", "done"), QT_TRANSLATE_NOOP("CalibrationLog", "cancelled"),
    QT_TRANSLATE_NOOP("CalibrationLog", "failed")};

QString shownWord(const QString& word)
{
    return QCoreApplication::translate("CalibrationLog", word.toUtf8().constData());
}

const char* const kAllSensors = QT_TRANSLATE_NOOP("CalibrationLog", "all sensors");
}

QString sensorKey(const CalibrationRecord& r)
{
    return r.sensorId.isEmpty() ? r.sensor : r.sensorId;
}

CalibrationLogPanel::CalibrationLogPanel(QPushButton* openButton, const CalibrationLog& log, QString documentsDir,
                                         QString program)
    : QObject(openButton)
    , m_log(log)
    , m_documentsDir(std::move(documentsDir))
    , m_program(std::move(program))
    , m_dialog(std::make_unique<QDialog>(openButton->window()))
    , m_ui(std::make_unique<Ui::CALIBLOG>())
{
    m_ui->setupUi(m_dialog.get());
    m_ui->TableCalibLog->horizontalHeader()->setStretchLastSection(true);
    connect(openButton, &QPushButton::clicked, this, [this] { CBF_ButtonCalibLog(); });
    connect(m_ui->EditLogSensor, &QComboBox::currentIndexChanged, this, [this] { showRecords(); });
    connect(m_ui->ButtonExportLog, &QPushButton::clicked, this, [this] { CBF_ButtonExportLog(); });
    connect(m_ui->ButtonCertificate, &QPushButton::clicked, this, [this] { CBF_ButtonCertificate(); });
    connect(m_ui->ButtonPrintCertificate, &QPushButton::clicked, this, [this] { CBF_ButtonPrintCertificate(); });
    connect(m_ui->ButtonCloseLog, &QPushButton::clicked, m_dialog.get(), &QDialog::hide);
    connect(m_ui->EditCalibInterval, &QSpinBox::valueChanged, this, [this] { CBF_EditCalibInterval(); });
}

CalibrationLogPanel::~CalibrationLogPanel() = default;

void CalibrationLogPanel::CBF_ButtonCalibLog()
{
    reload();
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void CalibrationLogPanel::reload()
{
    const CalibrationLog::Contents c = m_log.read();
    m_intervals = std::make_unique<CalibrationIntervals>(
        QFileInfo(m_log.path()).absoluteDir().filePath(QStringLiteral("calibration-intervals.txt")));
    m_records = c.records;
    QString note = QDir::toNativeSeparators(m_log.path());
    if (!c.error.isEmpty())
        note += QCoreApplication::translate("CalibrationLog", " — cannot be read: ") + c.error;
    else if (c.damaged > 0)
        note += QCoreApplication::translate("CalibrationLog", " — %n damaged line(s) skipped", nullptr, int(c.damaged));
    m_ui->DispLogFile->setText(note);

    const QString chosen = m_ui->EditLogSensor->currentText();
    QStringList sensors;
    for (const CalibrationRecord& r : m_records)
        if (!sensorKey(r).isEmpty() && !sensors.contains(sensorKey(r)))
            sensors << sensorKey(r);
    sensors.sort();
    {
        const QSignalBlocker quiet(m_ui->EditLogSensor);
        m_ui->EditLogSensor->clear();
        m_ui->EditLogSensor->addItem(QCoreApplication::translate("CalibrationLog", kAllSensors));
        m_ui->EditLogSensor->addItems(sensors);
        m_ui->EditLogSensor->setCurrentIndex(std::max(0, m_ui->EditLogSensor->findText(chosen)));
    }
    showRecords();
}

void CalibrationLogPanel::showRecords()
{
    const int filter = m_ui->EditLogSensor->currentIndex();
    const QString sensor = m_ui->EditLogSensor->currentText();
    m_rows.clear();
    for (size_t i = m_records.size(); i-- > 0;)
        if (filter <= 0 || sensorKey(m_records[i]) == sensor)
            m_rows.push_back(i);
    QTableWidget* t = m_ui->TableCalibLog;
    t->setRowCount(int(m_rows.size()));
    for (int row = 0; row < int(m_rows.size()); ++row) {
        const CalibrationRecord& r = m_records[m_rows[size_t(row)]];
        const QStringList cells{r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                shownWord(r.kind),
                                shownWord(r.outcome),
                                r.sensorId,
                                r.sensor,
                                r.user,
                                r.written,
                                r.reason};
        for (int col = 0; col < cells.size(); ++col)
            t->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    t->resizeColumnsToContents();
    if (!m_rows.empty())
        t->selectRow(0);
    const QSignalBlocker quiet(m_ui->EditCalibInterval);
    m_ui->EditCalibInterval->setEnabled(filter > 0);
    m_ui->EditCalibInterval->setValue(filter > 0 && m_intervals ? m_intervals->days(sensor) : 0);
}

void CalibrationLogPanel::CBF_EditCalibInterval()
{
    if (m_ui->EditLogSensor->currentIndex() <= 0 || !m_intervals)
        return;
    QString error;
    if (!m_intervals->setDays(m_ui->EditLogSensor->currentText(), m_ui->EditCalibInterval->value(), &error))
        dialogs().message(
            QStringLiteral("ATTENTION!"),
            QCoreApplication::translate("CalibrationLog", "The calibration interval could not be saved:\n%1")
                .arg(error));
}

std::vector<CalibrationRecord> CalibrationLogPanel::shown() const
{
    std::vector<CalibrationRecord> out;
    for (size_t i : m_rows)
        out.push_back(m_records[i]);
    return out;
}

const CalibrationRecord* CalibrationLogPanel::selected() const
{
    const int row = m_ui->TableCalibLog->currentRow();
    if (row < 0 || row >= int(m_rows.size()))
        return nullptr;
    return &m_records[m_rows[size_t(row)]];
}

void CalibrationLogPanel::CBF_ButtonExportLog()
{
    FileDialogRequest request;
    request.directory = m_documentsDir;
    request.defaultFile = datedFileName(QStringLiteral("calibration-log"), QDateTime::currentDateTime(),
                                        QStringLiteral("csv"));
    request.filter = QStringLiteral("*.csv");
    request.title = QStringLiteral("EXPORT CALIBRATION LOG");
    request.save = true;
    const QString path = dialogs().selectFile(request);
    if (path.isEmpty())
        return;
    // The export holds what the window shows: the sensor chosen, oldest first as a spreadsheet sorts.
    std::vector<CalibrationRecord> records = shown();
    std::reverse(records.begin(), records.end());
    QString error;
    if (!saveWholeFile(path, calibrationCsv(records).toUtf8(), &error))
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QCoreApplication::translate("CalibrationLog", "The log could not be exported:\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), error));
    else
        dialogs().success(
            QStringLiteral("INFO!"),
            QCoreApplication::translate("CalibrationLog", "%n record(s) exported:\n%1", nullptr, int(records.size()))
                .arg(QDir::toNativeSeparators(path)));
}

void CalibrationLogPanel::CBF_ButtonCertificate()
{
    const CalibrationRecord* r = selected();
    if (!r) {
        dialogs().message(QStringLiteral("INFO!"),
                          QCoreApplication::translate("CalibrationLog", "Select a calibration in the list first."));
        return;
    }
    FileDialogRequest request;
    request.directory = m_documentsDir;
    request.defaultFile = datedFileName(QStringLiteral("calibration-certificate"), r->when, QStringLiteral("pdf"));
    request.filter = QStringLiteral("*.pdf");
    request.title = QStringLiteral("CERTIFICATE");
    request.save = true;
    const QString path = dialogs().selectFile(request);
    if (path.isEmpty())
        return;
    QString error;
    if (!saveWholeFile(path, certificatePdf(*r, m_program), &error)) {
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QCoreApplication::translate("CalibrationLog", "The certificate could not be saved:\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    if (dialogs().offer(
            QStringLiteral("INFO!"),
            QCoreApplication::translate("CalibrationLog", "Certificate saved:\n%1").arg(QDir::toNativeSeparators(path)),
            QCoreApplication::translate("CalibrationLog", "OPEN")))
        dialogs().openUrl(QUrl::fromLocalFile(path));
}

void CalibrationLogPanel::CBF_ButtonPrintCertificate()
{
    const CalibrationRecord* r = selected();
    if (!r) {
        dialogs().message(QStringLiteral("INFO!"),
                          QCoreApplication::translate("CalibrationLog", "Select a calibration in the list first."));
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, m_dialog.get());
    dialog.setWindowTitle(QCoreApplication::translate("CalibrationLog", "PRINT CERTIFICATE"));
    if (dialog.exec() == QDialog::Accepted)
        printCertificate(&printer, *r, m_program);
}

}  // namespace tarvo
