#include "numbertext.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

namespace tarvo {

namespace {

constexpr int kShownChars = 40;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// How far the text follows the grammar: Complete when it is one number of
// the form, Prefix when more typing could make it one, Wrong otherwise.
enum class Match { Complete, Prefix, Wrong };

Match match(QStringView s, NumberForm form)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype mantissaDigits = 0;
    while (i < n && isDigit(s[i]))
        ++i, ++mantissaDigits;
    if (form == NumberForm::Whole)
        return i < n ? Match::Wrong : mantissaDigits > 0 ? Match::Complete : Match::Prefix;
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && isDigit(s[i]))
            ++i, ++mantissaDigits;
    }
    if (i == n)
        return mantissaDigits > 0 ? Match::Complete : Match::Prefix;
    if (mantissaDigits == 0 || (s[i] != u'e' && s[i] != u'E'))
        return Match::Wrong;
    ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype exponentDigits = 0;
    while (i < n && isDigit(s[i]))
        ++i, ++exponentDigits;
    if (i < n)
        return Match::Wrong;
    return exponentDigits > 0 ? Match::Complete : Match::Prefix;
}

}  // namespace

std::optional<double> readNumber(QStringView text, NumberForm form)
{
    if (match(text, form) != Match::Complete)
        return std::nullopt;
    bool ok = false;
    // The grammar above leaves nothing locale-dependent for the conversion.
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> readNumber(QByteArrayView text, NumberForm form)
{
    return readNumber(QStringView(QString::fromLatin1(text)), form);
}

bool couldBecomeNumber(QStringView text, NumberForm form)
{
    return match(text, form) != Match::Wrong;
}

QByteArray withoutByteOrderMark(const QByteArray& content)
{
    return content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
}

QList<TextToken> textTokens(const QByteArray& raw)
{
    const QByteArray content = withoutByteOrderMark(raw);
    QList<TextToken> tokens;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = content.size();
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (i < n) {
        const char c = content[i];
        if (c == '\n' || c == '\r') {
            // CR LF is one line end; a lone CR or LF is one too.
            ++line;
            i += (c == '\r' && i + 1 < n && content[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        if (isBlank(c)) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && !isBlank(content[end]) && content[end] != '\n' && content[end] != '\r')
            ++end;
        tokens.append({content.mid(i, end - i), line});
        i = end;
    }
    return tokens;
}

QString secondWordOnLine(const QList<TextToken>& tokens, const QString& file)
{
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        if (tokens[i].line != tokens[i - 1].line)
            continue;
        QByteArray words = tokens[i - 1].text;
        for (qsizetype j = i; j < tokens.size() && tokens[j].line == tokens[i].line; ++j)
            words += ' ' + tokens[j].text;
        return numberInFileMessage(file, tokens[i].line, words,
                                   QCoreApplication::translate("NumberText", "one number"));
    }
    return {};
}

QString shownText(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes);
    const bool cut = text.size() > kShownChars;
    text.truncate(kShownChars);
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QChar::ReplacementCharacter;
    if (cut)
        text += QStringLiteral("…");
    return text;
}

QString numberInFileMessage(const QString& file, int line, QByteArrayView text, const QString& expected)
{
    const QString where = file.isEmpty() ? QCoreApplication::translate("NumberText", "Line %1").arg(line)
                                         : QCoreApplication::translate("NumberText", "%1, line %2").arg(file).arg(line);
    return QCoreApplication::translate("NumberText", "%1: \"%2\" is not %3.").arg(where, shownText(text), expected);
}

}  // namespace tarvo
