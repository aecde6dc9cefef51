#include "paramfile.h"

#include "fileio.h"
#include "numbertext.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tarvo {

namespace {
// A parameter file is under a kilobyte; anything much larger is not one.
constexpr qint64 kMaxFileBytes = 64 * 1024;
}  // namespace

QByteArray formatParameterFile(const ParameterBlock& pp)
{
    QByteArray text;
    text.reserve(static_cast<qsizetype>(pp.size() * 6));
    for (std::uint16_t word : pp)
        text += QByteArray::number(word).rightJustified(5, ' ') + '\n';
    return text;
}

ParamFileResult writeParameterFile(const QString& path, const ParameterBlock& pp)
{
    QString error;
    if (!saveWholeFile(path, formatParameterFile(pp), &error))
        return {false, error};
    return {true, {}};
}

ParamFileResult readParameterFile(const QString& path, ParameterBlock& pp)
{
    const FileRead file = readWholeFile(path, kMaxFileBytes);
    if (file.status != FileRead::Ok)
        return {false,
                QCoreApplication::translate("ParamFile", "The file cannot be read (%1).")
                    .arg(file.status == FileRead::Missing ? QCoreApplication::translate("ParamFile", "No such file")
                                                          : file.error)};

    return parseParameterFile(file.content, QFileInfo(path).fileName(), pp);
}

ParamFileResult parseParameterFile(const QByteArray& text, const QString& name, ParameterBlock& pp)
{
    const QList<TextToken> tokens = textTokens(text);
    ParameterBlock words{};
    int count = 0;
    for (const TextToken& token : tokens) {
        if (count == kBlockWords)
            return {false,
                    QCoreApplication::translate("ParamFile", "%1, line %2: the file holds more than %3 numbers.")
                        .arg(name)
                        .arg(token.line)
                        .arg(kBlockWords)};
        const auto value = readNumber(QByteArrayView(token.text), NumberForm::Whole);
        if (!value || *value < 0 || *value > 65535)
            return {false,
                    numberInFileMessage(name, token.line, token.text,
                                        QCoreApplication::translate("ParamFile", "a whole number from 0 to 65535"))};
        words[count++] = static_cast<std::uint16_t>(*value);
    }
    if (count < kBlockWords)
        return {false,
                QCoreApplication::translate("ParamFile", "%1 holds %2 numbers instead of %3.")
                    .arg(name)
                    .arg(count)
                    .arg(kBlockWords)};
    pp = words;
    return {true, {}};
}

}  // namespace tarvo
