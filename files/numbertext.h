// Numbers read from files and typed into fields, by one rule: the plain C
// forms. An optional sign, digits with at most one '.' as decimal point, and
// for decimal numbers an optional exponent (e or E, optional sign, digits).
// No thousands separators, no decimal comma, no blanks inside, no inf or nan.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tarvo {

enum class NumberForm {
    Decimal,  // 12, -0.5, .5, 5., 1.25e-3
    Whole,    // 12, -3, +7: digits only
};

// The value of the whole text, or nothing when the text is not exactly one
// number of that form (or does not fit a double).
std::optional<double> readNumber(QStringView text, NumberForm form = NumberForm::Decimal);
std::optional<double> readNumber(QByteArrayView text, NumberForm form = NumberForm::Decimal);

// Whether a text typed so far can still become a number of that form:
// for fields that check every keystroke.
bool couldBecomeNumber(QStringView text, NumberForm form = NumberForm::Decimal);

// The content of a plain text file without a leading UTF-8 byte-order mark.
QByteArray withoutByteOrderMark(const QByteArray& content);

// One blank-separated word of a text file and the line it stands on (from 1).
struct TextToken {
    QByteArray text;
    int line = 0;
};
// The words of a plain text file in order: a leading byte-order mark is
// dropped, blanks, tabs and line ends (LF, CR LF or CR) separate words.
QList<TextToken> textTokens(const QByteArray& content);

// For formats with one number per line: the message for the first line
// that holds a second word ("1 500" is not 1500), or an empty text.
QString secondWordOnLine(const QList<TextToken>& tokens, const QString& file);

// A piece of a file as the user's editor shows it: UTF-8 (bytes that are
// not are shown as U+FFFD), control characters as U+FFFD, at most 40 characters.
QString shownText(QByteArrayView bytes);

// "file, line N: "text" is not <expected>." (or "Line N: …" without a file
// name), the one shape of every message about a number in a file.
QString numberInFileMessage(const QString& file, int line, QByteArrayView text, const QString& expected);

}  // namespace tarvo
