// Arbitrary bytes through the one number reader and the tokeniser of plain
// text files: a number read is finite and its text follows the plain C forms
// (and could have been typed into a field); tokens hold no blanks, their
// lines only grow, and what a message shows of them stays short.
#include "fuzzfiles.h"
#include "numbertext.h"

#include <cmath>

using namespace tarvo;
using tarvo::fuzz::broken;

namespace {

bool plainCharacter(char c, NumberForm form)
{
    if (c >= '0' && c <= '9')
        return true;
    if (c == '+' || c == '-')
        return true;
    return form == NumberForm::Decimal && (c == '.' || c == 'e' || c == 'E');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    for (NumberForm form : {NumberForm::Decimal, NumberForm::Whole}) {
        const auto v = readNumber(QByteArrayView(bytes), form);
        if (!v)
            continue;
        if (!std::isfinite(*v))
            broken("a number read that is not finite");
        if (!couldBecomeNumber(QString::fromLatin1(bytes), form))
            broken("a number read that could not have been typed");
        for (char c : bytes)
            if (!plainCharacter(c, form))
                broken("a number read from text other than the plain C forms");
        if (form == NumberForm::Whole && *v != std::trunc(*v))
            broken("a whole number with a fraction");
    }
    int line = 1;
    for (const TextToken& token : textTokens(bytes)) {
        if (token.text.isEmpty() || token.line < line)
            broken("an empty token or a line number that goes back");
        for (char c : token.text)
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
                broken("a token with a blank or line end in it");
        line = token.line;
        if (shownText(token.text).size() > 41)
            broken("a quoted text longer than a message shows");
    }
    return 0;
}
