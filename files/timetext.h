// Times as the programs write them into files, messages and payloads: ISO
// 8601 local time with milliseconds and its UTC offset always as ±HH:MM
// ("2026-12-09T17:02:03.456+01:00"), so that every file of a plant reads
// alike whatever zone its PC is set to (never "Z" for one and "+00:00" for
// another).
#pragma once

#include <QDateTime>
#include <QString>

namespace tarvo {

QString isoTimeWithOffset(const QDateTime& when);

// The columns every export of measured values shares: the PC time of a
// value set (isoTimeWithOffset) and its number, counted from 0.
inline constexpr const char* kTimeColumn = "time";
inline constexpr const char* kValueSetColumn = "value set";

// A default file name that says what and when: stem, local date and time
// to the minute, suffix ("gloss-gf-chart-2026-12-10-1012.png").
QString datedFileName(const QString& stem, const QDateTime& when, const QString& suffix);

}  // namespace tarvo
