// A recording read back for its report: the record file's lines (PC time and
// the eight values) and the events file beside it. Reading checks every byte
// of the format, so a damaged file is refused with the place of the damage
// instead of giving figures made up from part of it.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvo {

struct RecordedSet {
    QDateTime when;                      // the PC's local time, to the second
    std::array<std::uint16_t, 8> words;  // CH_REF, CH_DIR, CH_DIF, NORM, INT, GF, PP, TEMP
    double gf() const { return words[5] / 10.0; }
};

struct RecordedEvent {
    QDateTime when;
    QString word;  // LOST, BACK, RESUMED, GAP …
    QString reason;
};

// A stretch of time in which the line gave no parts.
struct TimeGap {
    QDateTime from, to;
};

struct Recording {
    std::vector<RecordedSet> sets;
    std::vector<RecordedEvent> events;
    std::vector<TimeGap> gaps;
    // The sensor's identification where the events name it (a line taken up
    // again names the sensor that answered); empty otherwise.
    QString sensor;
};

// The record file's bytes; std::nullopt with *error saying what and on
// which line when the header is not the record file's, a line is damaged
// or cut, or there is no value set at all.
std::optional<Recording> parseRecordFile(const QByteArray& content, QString* error);
// Adds the events file's lines and the gaps they mark; false with *error on
// a line that is not an event.
bool parseEvents(const QByteArray& content, Recording* recording, QString* error);

// Both files from disk; `eventsPath` may be empty (no events file). The
// error names the file.
std::optional<Recording> loadRecording(const QString& recordPath, const QString& eventsPath, QString* error);

}  // namespace tarvo
