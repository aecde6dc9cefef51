// Status texts for failed openings of the two channels, and the choice of
// language for texts that are both shown and written.
#pragma once

#include <QString>

namespace tarvo {

// The same text goes to the screen and into files: the screen reads it in
// the user's language, while files, the events file, published events and
// tarvoctl keep the English wording whatever the language.
enum class Wording { English, Shown };

// `source`, marked for the translation with QT_TRANSLATE_NOOP (or
// QT_TRANSLATE_N_NOOP with a count n for its %n), in the wording asked for.
QString worded(Wording wording, const char* context, const char* source, int n = -1);

// Seconds with one decimal ("3.0"): the point in files, the language's
// separator on screen.
QString wordedSeconds(double seconds, Wording wording);

QString rs232StatusText(int code, Wording wording = Wording::English);
QString tcpStatusText(int code);
// Why a write of n bytes to the sensor returned `result`, in plain words.
QString writeFailureText(bool serial, long long result, Wording wording = Wording::English);

}  // namespace tarvo
