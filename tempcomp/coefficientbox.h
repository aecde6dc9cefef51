// A number field for doubles of any magnitude: shows the shortest text that
// reads back as the same value (plain or exponent form, C locale) and keeps
// the value exactly as set, instead of rounding it to a number of decimals.
#pragma once

#include <QDoubleSpinBox>

namespace tarvo {

class CoefficientBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit CoefficientBox(QWidget* parent = nullptr);

    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
};

}  // namespace tarvo
