#include "equationfile.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <cmath>

namespace tarvo::tempcomp {

namespace {

// Fifteen numbers take a few hundred bytes; a larger file is something else.
constexpr qint64 kMaxFileBytes = 64 * 1024;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// A line as it may be quoted in a message: short and printable.
QString quoted(const QByteArray& line)
{
    QString text;
    for (char c : line.left(40))
        text += (c >= 0x20 && c < 0x7F) ? QChar(c) : QChar(u'?');
    if (line.size() > 40)
        text += QStringLiteral("…");
    return text;
}

} // namespace

QByteArray formatEquation(const Coefficients& c)
{
    QByteArray text;
    for (double v : c)
        text += QStringLiteral("%1\n").arg(QString::number(v, 'g', QLocale::FloatingPointShortest), 10).toLatin1();
    return text;
}

bool writeEquationFile(const QString& path, const Coefficients& c, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        setError(error, file.errorString());
        return false;
    }
    const QByteArray text = formatEquation(c);
    if (file.write(text) != text.size()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

std::optional<Coefficients> parseEquation(const QByteArray& text, QString* error)
{
    Coefficients c{};
    int count = 0;
    int lineNumber = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++lineNumber;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        bool ok = false;
        const double v = QLocale::c().toDouble(QString::fromLatin1(line), &ok);
        if (!ok || !std::isfinite(v)) {
            setError(error, QStringLiteral("line %1 (\"%2\") is not a usable number").arg(lineNumber).arg(quoted(line)));
            return std::nullopt;
        }
        if (count == kCoefficients) {
            setError(error, QStringLiteral("it holds more than %1 numbers").arg(kCoefficients));
            return std::nullopt;
        }
        c[static_cast<size_t>(count++)] = v;
    }
    if (count < kCoefficients) {
        setError(error, QStringLiteral("it holds %1 numbers instead of %2").arg(count).arg(kCoefficients));
        return std::nullopt;
    }
    return c;
}

std::optional<Coefficients> readEquationFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        setError(error, QStringLiteral("it is far larger than an equation file"));
        return std::nullopt;
    }
    const QByteArray text = file.read(kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes) {  // a device that reported no size
        setError(error, QStringLiteral("it is far larger than an equation file"));
        return std::nullopt;
    }
    return parseEquation(text, error);
}

} // namespace tarvo::tempcomp
