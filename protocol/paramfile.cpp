#include "paramfile.h"

#include <QFile>
#include <QSaveFile>

namespace tarvo {

namespace {
// A parameter file is under a kilobyte; anything much larger is not one.
constexpr qint64 kMaxFileBytes = 64 * 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
} // namespace

QByteArray formatParameterFile(const ParameterBlock& pp)
{
    QByteArray text;
    text.reserve(pp.size() * 6);
    for (std::uint16_t word : pp)
        text += QByteArray::number(word).rightJustified(5, ' ') + '\n';
    return text;
}

ParamFileResult writeParameterFile(const QString& path, const ParameterBlock& pp)
{
    const QByteArray text = formatParameterFile(pp);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return {false, file.errorString()};
    if (file.write(text) != text.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return {false, why};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

ParamFileResult readParameterFile(const QString& path, ParameterBlock& pp)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("The file cannot be opened (%1).").arg(file.errorString())};
    if (file.size() > kMaxFileBytes)
        return {false, QStringLiteral("The file is too large to be a parameter file.")};
    const QByteArray text = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("The file cannot be read (%1).").arg(file.errorString())};

    ParameterBlock words{};
    int count = 0;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (isSpace(text[i])) {
            line += text[i] == '\n';
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && !isSpace(text[end]))
            ++end;
        const QByteArray token = text.mid(i, end - i);
        i = end;
        if (count == kBlockWords)
            return {false, QStringLiteral("The file holds more than %1 numbers.").arg(kBlockWords)};
        bool digitsOnly = token.size() <= 5;
        for (char c : token)
            digitsOnly &= c >= '0' && c <= '9';
        const uint value = digitsOnly ? token.toUInt() : 0;
        if (!digitsOnly || value > 65535) {
            QString shown = QString::fromLatin1(token.left(20));
            for (QChar& c : shown)
                if (!c.isPrint())
                    c = u'?';
            return {false, QStringLiteral("Line %1: \"%2\" is not a whole number from 0 to 65535.")
                               .arg(line)
                               .arg(shown)};
        }
        words[count++] = static_cast<std::uint16_t>(value);
    }
    if (count < kBlockWords)
        return {false, QStringLiteral("The file holds %1 numbers instead of %2.").arg(count).arg(kBlockWords)};
    pp = words;
    return {true, {}};
}

} // namespace tarvo
