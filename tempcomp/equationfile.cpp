#include "equationfile.h"

#include "fileio.h"
#include "numbertext.h"

#include <QCoreApplication>
#include <QLocale>

namespace tarvo::tempcomp {

namespace {

// Fifteen numbers take a few hundred bytes; a larger file is something else.
constexpr qint64 kMaxFileBytes = 64 * 1024;

const char* const kCoefficientNames[kCoefficients] = {"RX4", "RX3", "RX2", "RX1", "RT",  "GX4", "GX3", "GX2",
                                                      "GX1", "GT",  "BX4", "BX3", "BX2", "BX1", "BT"};

QString shortest(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

}  // namespace

QByteArray formatEquation(const Coefficients& c)
{
    QByteArray text;
    for (double v : c)
        text += QStringLiteral("%1\n").arg(shortest(v), 10).toLatin1();
    return text;
}

bool writeEquationFile(const QString& path, const Coefficients& c, QString* error)
{
    return saveWholeFile(path, formatEquation(c), error);
}

std::optional<Coefficients> parseEquation(const QByteArray& text, QString* error)
{
    Coefficients c{};
    int count = 0;
    const QList<TextToken> tokens = textTokens(text);
    if (const QString twice = secondWordOnLine(tokens, QString()); !twice.isEmpty()) {
        setError(error, twice);
        return std::nullopt;
    }
    for (const TextToken& token : tokens) {
        const auto v = readNumber(QByteArrayView(token.text));
        if (!v) {
            setError(error,
                     numberInFileMessage(QString(), token.line, token.text,
                                         QCoreApplication::translate("EquationFile", "a number")));
            return std::nullopt;
        }
        if (count == kCoefficients) {
            setError(error,
                     QCoreApplication::translate("EquationFile", "Line %1: the file holds more than %2 numbers")
                         .arg(token.line)
                         .arg(kCoefficients));
            return std::nullopt;
        }
        c[static_cast<size_t>(count++)] = *v;
    }
    if (count < kCoefficients) {
        setError(error,
                 QCoreApplication::translate("EquationFile", "it holds %1 numbers instead of %2")
                     .arg(count)
                     .arg(kCoefficients));
        return std::nullopt;
    }
    return c;
}

QString coefficientOutsideRange(const Coefficients& c)
{
    for (int i = 0; i < kCoefficients; ++i) {
        const double v = c[static_cast<size_t>(i)];
        if (!(v >= -kCoefficientLimit && v <= kCoefficientLimit))
            return QCoreApplication::translate("EquationFile", "%1 = %2 lies outside %3 … %4")
                .arg(QString::fromLatin1(kCoefficientNames[i]), shortest(v), shortest(-kCoefficientLimit),
                     shortest(kCoefficientLimit));
    }
    return {};
}

std::optional<Coefficients> readEquationFile(const QString& path, QString* error)
{
    const FileRead file = readWholeFile(path, kMaxFileBytes);
    if (file.status != FileRead::Ok) {
        setError(error,
                 file.status == FileRead::Missing ? QCoreApplication::translate("EquationFile", "No such file")
                                                  : file.error);
        return std::nullopt;
    }
    return parseEquation(file.content, error);
}

}  // namespace tarvo::tempcomp
