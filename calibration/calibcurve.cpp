#include "calibcurve.h"

#include "numbertext.h"

#include <QCoreApplication>
#include <QList>
#include <QLocale>
#include <cmath>
#include <vector>

namespace tarvo {

namespace {

// Tenths of a typed value, truncated toward zero. The small allowance keeps
// decimal values such as 2.3, whose binary form lies just below, on their
// own tenth.
long long tenths(double value)
{
    return static_cast<long long>(std::trunc(value * 10.0 + 1e-6));
}

}  // namespace

CalibCells CalibCells::resetValues()
{
    CalibCells t;
    for (auto& row : t.cells)
        row = {kUnused, kUnused};
    t.at(1, 1) = 0.0;
    t.at(2, 1) = 0.0;
    t.at(1, kCalibTableRows) = kTarvoMax;
    t.at(2, kCalibTableRows) = kTarvoMax;
    return t;
}

bool cellValueFits(int col, int row, double value)
{
    if (value == kUnused)
        return true;
    // Far beyond any cell's range: refused before tenths() could overflow.
    if (!std::isfinite(value) || value < 0.0 || value > 1e6)
        return false;
    if (col == 1) {
        if (row == 1)
            return tenths(value) == 0;
        if (row == kCalibTableRows)
            return value <= kTarvoMax && tenths(value) == tenths(kTarvoMax);
        return value <= kTarvoMax;
    }
    return tenths(value) <= kOtherMaxTenths;
}

TableCheck CalculateCurve(const CalibCells& table, CurveBuf& biasBuf)
{
    // The end points must exist before anything else is looked at.
    for (int col = 1; col <= kCalibTableCols; ++col)
        for (int row : {1, kCalibTableRows})
            if (table.at(col, row) == kUnused)
                return {TableError::EndCellUnset, col, row};

    std::vector<int> pointSensor(kCurvePoints, -1);
    std::vector<int> pointOther(kCurvePoints, -1);
    for (int row = 1; row <= kCalibTableRows; ++row) {
        const double t = table.at(1, row);
        const double o = table.at(2, row);
        for (int col = 1; col <= kCalibTableCols; ++col)
            if (!cellValueFits(col, row, table.at(col, row)))
                return {TableError::OutOfRange, col, row};
        if ((t == kUnused) != (o == kUnused))
            return {TableError::HalfRow, 0, row};
        if (t == kUnused)
            continue;
        // A later row on the same tenth replaces an earlier one.
        const auto k = static_cast<int>(tenths(t));
        pointSensor[k] = k;
        pointOther[k] = static_cast<int>(tenths(o));
    }

    // Rows 1 and 24 guarantee points at 0 and 20000, so every entry is written.
    int last = 0;
    for (int k = 1; k < kCurvePoints; ++k) {
        if (pointSensor[k] == -1)
            continue;
        const int xl = pointSensor[last];
        const int n = pointSensor[k] - xl;
        const double yl = pointOther[last];
        const double rise = pointOther[k] - pointOther[last];
        // j·rise/n rather than j·(rise/n): exact at both ends of the segment,
        // so no point on a grid value falls a tenth short by rounding.
        for (int j = 0; j <= n; ++j)
            biasBuf[xl + j] = static_cast<std::uint16_t>(std::trunc(yl + j * rise / n));
        last = k;
    }
    return {};
}

void SampleCurve(const CurveBuf& biasBuf, SentBuf& biasBuf1001)
{
    for (int i = 0; i < 500; ++i)
        biasBuf1001[i] = biasBuf[4 * i];
    for (int i = 0; i <= 500; ++i)
        biasBuf1001[500 + i] = biasBuf[2000 + 36 * i];
}

QString cellText(double value)
{
    QString s = QString::number(value, 'f', QLocale::FloatingPointShortest);
    if (!s.contains(QLatin1Char('.')))
        s += QStringLiteral(".0");
    return s;
}

QByteArray FormatCalibFile(const CalibCells& table)
{
    QByteArray out;
    for (int row = 1; row <= kCalibTableRows; ++row)
        for (int col = 1; col <= kCalibTableCols; ++col)
            out += QString::number(table.at(col, row), 'f', QLocale::FloatingPointShortest)
                       .rightJustified(10)
                       .toLatin1()
                + '\n';
    return out;
}

std::optional<CalibCells> ParseCalibFile(const QByteArray& content, QString* why)
{
    auto fail = [why](const QString& reason) -> std::optional<CalibCells> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    constexpr int kNumbers = kCalibTableRows * kCalibTableCols;
    if (content.size() > kCalibFileMaxBytes)
        return fail(QStringLiteral("The file is too large for a calibration table."));
    const QList<TextToken> tokens = textTokens(content);
    if (const QString twice = secondWordOnLine(tokens, QString()); !twice.isEmpty())
        return fail(twice);
    CalibCells table;
    int i = 0;
    for (const TextToken& token : tokens) {
        if (i == kNumbers)
            return fail(QStringLiteral("Line %1: the file holds more than %2 values.").arg(token.line).arg(kNumbers));
        const int row = i / 2 + 1;
        const int col = i % 2 + 1;
        const auto v = readNumber(QByteArrayView(token.text));
        if (!v)
            return fail(numberInFileMessage(QString(), token.line, token.text,
                                            QCoreApplication::translate("CalibCurve", "a number")));
        if (!cellValueFits(col, row, *v))
            return fail(QStringLiteral("Line %1: %2 does not fit row %3, column %4.")
                            .arg(token.line)
                            .arg(shownText(token.text))
                            .arg(row)
                            .arg(col));
        table.at(col, row) = *v;
        ++i;
    }
    if (i != kNumbers)
        return fail(QStringLiteral("The file holds %1 values instead of %2.").arg(i).arg(kNumbers));
    return table;
}

}  // namespace tarvo
