#include "reportbutton.h"

#include "dialogs.h"
#include "eventlog.h"
#include "fileio.h"
#include "parameterset.h"
#include "recordreport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <cmath>

namespace tarvo {

namespace {

double teachCell(const QTableWidget* table, int col)
{
    const QTableWidgetItem* item = table ? table->item(0, col) : nullptr;
    bool ok = false;
    const double v = item ? item->data(Qt::EditRole).toDouble(&ok) : 0.0;
    return ok && std::isfinite(v) ? v : 0.0;
}

}  // namespace

ReportButton::ReportButton(QPushButton* button, ReportSources sources)
    : QObject(button)
    , m_src(std::move(sources))
{
    connect(button, &QPushButton::clicked, this, [this] { CBF_ButtonReport(); });
}

void ReportButton::CBF_ButtonReport()
{
    const QString title = QStringLiteral("INFO!");
    const QString record = m_src.recordPath();
    if (record.isEmpty() || !QFileInfo::exists(record)) {
        dialogs().message(title,
                          QCoreApplication::translate(
                              "ReportButton", "There is no recording to report on yet: record into a file first."));
        return;
    }
    const QString eventsPath = EventLog::pathFor(record);
    QString error;
    std::optional<Recording> recording = loadRecording(record, QFileInfo::exists(eventsPath) ? eventsPath : QString(),
                                                       &error);
    if (!recording) {
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QCoreApplication::translate("ReportButton", "No report made.\n%1").arg(error));
        return;
    }
    ReportInput in{
        .recordName = QDir::toNativeSeparators(record),
        .recording = std::move(*recording),
        .limits = {},
        .sensor = m_src.sensor ? m_src.sensor() : QString(),
        .parameters = {},
        .program = m_src.program,
    };
    const double gf = teachCell(m_src.teachTable, 0);
    const double tol = teachCell(m_src.teachTable, 1);
    if (tol > 0.0)
        in.limits = ToleranceLimits{.low = gf - tol, .high = gf + tol};
    if (m_src.params) {
        ParameterSet set = *m_src.params;
        const std::array<std::uint16_t, kParamCount> values{set.power,   set.pmod,     set.average,   set.evalmode,
                                                            set.hold,    set.intlim,   set.maxno,     set.digitalout,
                                                            set.trigger, set.extteach, set.anaoutbeg, set.anaoutend,
                                                            set.bias,    set.sttrsh,   set.profilbeg, set.profilend};
        for (int i = 0; i < kParamCount; ++i)
            in.parameters
                << QStringLiteral("%1 %2").arg(QString::fromLatin1(kParamNames[size_t(i)])).arg(values[size_t(i)]);
        in.parameters << QStringLiteral("teach row 0: GF %1, GF TOL %2").arg(gf).arg(tol);
    }

    FileDialogRequest request;
    const QFileInfo info(record);
    request.directory = info.absolutePath();
    request.defaultFile = info.completeBaseName() + QStringLiteral("-report.pdf");
    request.filter = QStringLiteral("*.pdf");
    request.title = QStringLiteral("REPORT!");
    request.save = true;
    const QString path = dialogs().selectFile(request);
    if (path.isEmpty())
        return;
    const ProcessFigures figures = reportFigures(in);
    if (!saveWholeFile(path, reportPdf(in, figures), &error)) {
        dialogs().message(QStringLiteral("ATTENTION!"),
                          QCoreApplication::translate("ReportButton", "The report could not be saved:\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_last = path;
    if (dialogs().offer(title,
                        QCoreApplication::translate("ReportButton", "Report of %n value sets saved:\n%1", nullptr,
                                                    int(figures.count))
                            .arg(QDir::toNativeSeparators(path)),
                        QCoreApplication::translate("ReportButton", "OPEN")))
        dialogs().openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tarvo
