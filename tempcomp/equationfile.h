// The equation file: the fifteen curve coefficients as text, one per line,
// in panel order, each right-aligned in a field of at least ten characters.
#pragma once

#include "compcurves.h"

#include <QString>
#include <optional>

namespace tarvo::tempcomp {

inline constexpr auto kEquationDefaultFile = "equation.equ";
inline constexpr auto kEquationFilter = "*.equ";

// The text of a file: each value in its shortest form that reads back as the
// same double (plain decimal or exponent form).
QByteArray formatEquation(const Coefficients& c);

// Replaces the file as a whole, or leaves it untouched; the reason for a
// failure goes to *error.
bool writeEquationFile(const QString& path, const Coefficients& c, QString* error);

// Exactly fifteen finite numbers in the plain C forms, one per line (blanks around them, empty
// lines and a leading byte-order mark are allowed). Anything else gives
// nothing and the reason, with the line as the file shows it, in *error.
std::optional<Coefficients> parseEquation(const QByteArray& text, QString* error);
std::optional<Coefficients> readEquationFile(const QString& path, QString* error);

// The first coefficient the tool does not take, as "RX3 = 1e+200 lies outside
// -1e+09 … 1e+09"; empty when all lie within ±kCoefficientLimit.
QString coefficientOutsideRange(const Coefficients& c);

}  // namespace tarvo::tempcomp
