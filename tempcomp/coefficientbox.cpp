#include "coefficientbox.h"

#include <QLocale>
#include <QRegularExpression>

#include <cfloat>
#include <cmath>

namespace tarvo {

CoefficientBox::CoefficientBox(QWidget* parent)
    : QDoubleSpinBox(parent)
{
    // A spin box rounds every value to `decimals` places; with the most it
    // allows, every double in range stays as it is.
    setDecimals(DBL_MAX_10_EXP + DBL_DIG);
}

QString CoefficientBox::textFromValue(double value) const
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double CoefficientBox::valueFromText(const QString& text) const
{
    return QLocale::c().toDouble(text.trimmed());
}

QValidator::State CoefficientBox::validate(QString& input, int&) const
{
    const QString text = input.trimmed();
    // What may still become a number while it is typed: sign, digits, point, exponent.
    static const QRegularExpression partial(QStringLiteral("^[+-]?\\d*\\.?\\d*([eE][+-]?\\d*)?$"));
    if (!partial.match(text).hasMatch())
        return QValidator::Invalid;
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (ok && std::isfinite(v) && v >= minimum() && v <= maximum())
        return QValidator::Acceptable;
    return QValidator::Intermediate;
}

} // namespace tarvo
