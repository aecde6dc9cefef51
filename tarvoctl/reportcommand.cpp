#include "reportcommand.h"

#include "commandline.h"
#include "fileio.h"
#include "recordreport.h"
#include <cmath>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstring>

namespace tarvo::ctl {

namespace {

std::optional<ToleranceLimits> limitsOption(const Invocation& in)
{
    if (!in.isSet(opt::limits))
        return std::nullopt;
    const QStringList parts = in.value(opt::limits).split(u':');
    bool okLow = false;
    bool okHigh = false;
    const double low = parts.size() == 2 ? parts[0].trimmed().toDouble(&okLow) : 0.0;
    const double high = parts.size() == 2 ? parts[1].trimmed().toDouble(&okHigh) : 0.0;
    if (!okLow || !okHigh || !std::isfinite(low) || !std::isfinite(high) || !(high > low))
        usage(QStringLiteral("--limits wants LOW:HIGH, two numbers with LOW below HIGH, not \"%1\"")
                  .arg(in.value(opt::limits)));
    return ToleranceLimits{.low = low, .high = high};
}

}  // namespace

int reportRecording(const Invocation& in, Session&)
{
    wantArguments(in, "report RECORD.dat [--limits LOW:HIGH] [--events FILE] (-o REPORT.pdf | --csv [-o FILE])", 1);
    const QString recordPath = in.args.first();
    const std::optional<ToleranceLimits> limits = limitsOption(in);
    const bool csv = in.isSet(opt::csv);
    const QString outPath = in.value(opt::output);
    if (!csv && (outPath.isEmpty() || outPath == u"-"))
        usage(QStringLiteral("report writes its PDF to -o FILE (--csv: the figures to standard output)"));
    if (in.isSet(opt::events) && in.value(opt::events).isEmpty())
        usage(QStringLiteral("--events wants the name of the events file"));

    QString error;
    std::optional<Recording> recording = loadRecording(recordPath, in.value(opt::events), &error);
    if (!recording)
        return report(BadUsage, error);

    ReportInput input{
        .recordName = QFileInfo(recordPath).fileName(),
        .recording = std::move(*recording),
        .limits = limits,
        .sensor = {},
        .parameters = {},
        .program = QStringLiteral("tarvoctl %1").arg(programVersion()),
    };
    const ProcessFigures figures = reportFigures(input);
    if (csv) {
        if (!in.out->open(outPath, false, &error))
            return report(BadUsage, fileMessage(outPath, QStringLiteral("cannot be written: ") + error));
        in.out->write(reportCsv(input, figures).toUtf8());
        return Done;
    }
    if (!saveWholeFile(outPath, reportPdf(input, figures), &error))
        return report(BadUsage, fileMessage(outPath, QStringLiteral("cannot be written: ") + error));
    note(in, QStringLiteral("%1: report of %2 value sets").arg(QDir::toNativeSeparators(outPath)).arg(figures.count));
    return Done;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
    bool drawing = false;
    for (int i = 1; i < argc; ++i)
        drawing = drawing || std::strcmp(argv[i], "report") == 0;
    if (!drawing)
        return std::make_unique<QCoreApplication>(argc, argv);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The report shows nothing: no display is needed, only fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor a runtime folder, which the platform warns about when there is none.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")) && previous)
            previous(type, context, text);
    });
#endif
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace tarvo::ctl
