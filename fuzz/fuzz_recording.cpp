// A record file read back for its report, its events file and a line of the
// calibration log come from disk: the readers refuse what is not theirs and
// never give figures that do not follow from the lines they took.
#include "calibrationlog.h"
#include "fuzzfiles.h"
#include "recordreport.h"

#include <cmath>

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    // The first part up to a form feed is the record file, the rest its events.
    const qsizetype cut = bytes.indexOf('\f');
    const QByteArray record = cut < 0 ? bytes : bytes.left(cut);
    const QByteArray events = cut < 0 ? QByteArray() : bytes.mid(cut + 1);

    QString error;
    std::optional<Recording> r = parseRecordFile(record, &error);
    if (!r) {
        if (error.isEmpty())
            broken("a record file refused without a reason");
    } else {
        if (r->sets.empty())
            broken("a recording without value sets was taken");
        if (!parseEvents(events, &*r, &error) && error.isEmpty())
            broken("an events file refused without a reason");
        ReportInput in;
        in.recordName = QStringLiteral("record.dat");
        in.recording = *r;
        in.limits = ToleranceLimits{10.0, 20.0};
        const ProcessFigures f = reportFigures(in);
        if (f.count != int(r->sets.size()) || !std::isfinite(f.mean) || !std::isfinite(f.stdDev) || f.min > f.max
            || f.mean < f.min - 1e-9 || f.mean > f.max + 1e-9)
            broken("figures that do not follow from the value sets");
        if (reportCsv(in, f).count('\n') != 2)
            broken("a CSV of other than a header and one row");
    }

    CalibrationRecord c;
    if (CalibrationRecord::fromJsonLine(bytes, &c)) {
        CalibrationRecord again;
        if (!CalibrationRecord::fromJsonLine(c.toJsonLine(), &again) || again.toJsonLine() != c.toJsonLine())
            broken("a calibration record that does not read back as written");
    }
    return 0;
}
