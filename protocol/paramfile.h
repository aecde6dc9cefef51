// The parameter file: the 140 words of the block pp as unsigned decimal
// numbers, one per line, each right-aligned in a field five characters wide.
#pragma once

#include "parameterset.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace tarvo {

using ParameterBlock = std::array<std::uint16_t, kBlockWords>;

struct ParamFileResult {
    bool ok = false;
    QString error;  // why not, in words for the user; empty when ok
};

// The file's text: one number per line, right-aligned in five characters.
QByteArray formatParameterFile(const ParameterBlock& pp);

// Replaces the file's content with the block, or leaves the file as it was.
ParamFileResult writeParameterFile(const QString& path, const ParameterBlock& pp);

// Reads exactly 140 numbers 0..65535, separated by any white space, into pp.
// pp is changed only when the whole file is good.
ParamFileResult readParameterFile(const QString& path, ParameterBlock& pp);
// The same for a file's text; `name` names the file in the messages.
ParamFileResult parseParameterFile(const QByteArray& text, const QString& name, ParameterBlock& pp);

}  // namespace tarvo
