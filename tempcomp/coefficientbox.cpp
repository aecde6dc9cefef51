#include "coefficientbox.h"

#include "numbertext.h"
#include "panelutil.h"

#include <QLocale>

#include <cfloat>

namespace tarvo {

namespace {

// The number as readNumber takes it: a decimal comma, where the language
// writes one, is the point.
QString pointed(QStringView text, const QLocale& locale)
{
    QString s = text.toString();
    if (locale.decimalPoint() == QStringLiteral(","))
        s.replace(u',', u'.');
    return s;
}

}  // namespace

CoefficientBox::CoefficientBox(QWidget* parent)
    : QDoubleSpinBox(parent)
{
    // A spin box rounds every value to `decimals` places; with the most it
    // allows, every double in range stays as it is.
    setDecimals(DBL_MAX_10_EXP + DBL_DIG);
    setProperty("takesExponent", true);  // for the entry feedback's rule
}

QString CoefficientBox::textFromValue(double value) const
{
    return shownNumber(value, 'g', QLocale::FloatingPointShortest);
}

double CoefficientBox::valueFromText(const QString& text) const
{
    return readNumber(QStringView(pointed(QStringView(text).trimmed(), locale()))).value_or(value());
}

QValidator::State CoefficientBox::validate(QString& input, int&) const
{
    const QString typed = pointed(QStringView(input).trimmed(), locale());
    const QStringView text(typed);
    // What may still become a number while it is typed: sign, digits, point, exponent.
    if (!couldBecomeNumber(text))
        return QValidator::Invalid;
    const auto v = readNumber(text);
    if (v && *v >= minimum() && *v <= maximum())
        return QValidator::Acceptable;
    return QValidator::Intermediate;
}

}  // namespace tarvo
