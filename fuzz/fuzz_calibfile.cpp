// Arbitrary bytes as a calibration file: a table that is accepted writes back
// to the same table and gives a curve without leaving the curve's buffers.
#include "calibcurve.h"
#include "fuzzfiles.h"

#include <memory>

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    QString why;
    const auto table = ParseCalibFile(fuzz::bytesOf(data, size), &why);
    if (!fuzz::accepted(table, why))
        return 0;
    for (int row = 1; row <= kCalibTableRows; ++row)
        for (int col = 1; col <= kCalibTableCols; ++col)
            if (!cellValueFits(col, row, table->at(col, row)))
                broken("an accepted cell that does not fit");

    const auto again = ParseCalibFile(FormatCalibFile(*table), &why);
    if (!again || *again != *table)
        broken("a calibration table does not read back as written");

    // Both buffers live on the heap so that the address checker sees their ends.
    auto curve = std::make_unique<CurveBuf>();
    auto sent = std::make_unique<SentBuf>();
    const TableCheck check = CalculateCurve(*table, *curve);
    if (check.error == TableError::None)
        SampleCurve(*curve, *sent);
    else if (check.row < 1 || check.row > kCalibTableRows || check.col < 0 || check.col > kCalibTableCols)
        broken("a table error names a cell outside the table");
    return 0;
}
