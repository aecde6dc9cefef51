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

}  // namespace tarvo
