// The calibration curve to another measuring system: the table of measured
// value pairs, its checks, the piecewise-linear curve in tenths over the
// sensor gloss factors 0.0 .. 2000.0, the 1001 samples sent to the sensor,
// and the table's text file. No panel here.
#pragma once

#include "frame.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace tarvo {

constexpr int kCalibTableRows = 24;
constexpr int kCalibTableCols = 2;
constexpr int kCurvePoints = 20001;              // biasBuf: sensor GF 0.0 .. 2000.0 in tenths
constexpr int kSentPoints = frame::kCalibWords;  // biasBuf1001
constexpr int kCalibFrames = frame::kCalibRows;  // command-33 rows
constexpr int kCalibFrameWords = 13;             // values per row
constexpr double kUnused = -1.0;
constexpr double kTarvoMax = 2000.0;
constexpr int kOtherMaxTenths = 32767;  // other-system values travel as signed 16-bit tenths

using CurveBuf = std::array<std::uint16_t, kCurvePoints>;
using SentBuf = std::array<std::uint16_t, kSentPoints>;

// cells[row][col], both counted from 0: column 0 the TARVO value, column 1
// the other system's value; -1 marks a cell that is not used.
struct CalibCells {
    std::array<std::array<double, kCalibTableCols>, kCalibTableRows> cells{};
    // Column and row count from 1, as the table shows them.
    double& at(int col, int row) { return cells[row - 1][col - 1]; }
    double at(int col, int row) const { return cells[row - 1][col - 1]; }
    bool operator==(const CalibCells&) const = default;

    // Row 1 and row 24 at their ends (0.0 and 2000.0 on both sides), every other cell -1.
    static CalibCells resetValues();
};

// Whether a cell may hold this value at all: -1 (not used) or a value the
// curve can take. Column and row count from 1. NaN never fits.
bool cellValueFits(int col, int row, double value);

enum class TableError {
    None,
    EndCellUnset,  // row 1 or 24 holds -1
    HalfRow,       // one cell of a row set, the other -1
    OutOfRange,    // a cell that cellValueFits refuses
};

struct TableCheck {
    TableError error = TableError::None;
    int col = 0;  // 1-based; 0 for a whole row
    int row = 0;  // 1-based
};

// Checks the table and, when it passes, computes the curve into biasBuf by
// straight lines between neighbouring points. On an error biasBuf is left
// as it was. Only the first error in the order of the checks is reported.
TableCheck CalculateCurve(const CalibCells& table, CurveBuf& biasBuf);

// The part of the curve the sensor keeps: GF 0.0 .. 199.6 in steps of 0.4,
// then 200.0 .. 2000.0 in steps of 3.6.
void SampleCurve(const CurveBuf& biasBuf, SentBuf& biasBuf1001);

// The calibration file: 48 numbers, one per line, right-aligned in ten
// characters, row by row (column 1, column 2). Values are written in their
// shortest form that reads back unchanged.
QByteArray FormatCalibFile(const CalibCells& table);

// Reads a calibration file; nullopt with the reason in *why unless it holds
// exactly 48 numbers that fit their cells.
std::optional<CalibCells> ParseCalibFile(const QByteArray& content, QString* why);

constexpr qint64 kCalibFileMaxBytes = 64 * 1024;

// A cell value as the table shows it: shortest exact form, at least one decimal.
QString cellText(double value);

}  // namespace tarvo
