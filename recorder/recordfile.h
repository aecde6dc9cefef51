// The record file: a tab-separated text file with a fixed header and one line
// per value set, stamped with the PC's date and time. Only ever appended to,
// except that choosing it anew replaces it with a fresh header.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace tarvo {

struct MeasuredValues;

// CH_REF, CH_DIR, CH_DIF, NORM, INT, GF, PP, TEMP as the frame's raw words
// (GF and PP in tenths).
using RecordValues = std::array<std::uint16_t, 8>;
RecordValues recordValues(const MeasuredValues& m);

// The header: each word followed by a tab and a zero byte, then CR LF.
QByteArray recordHeader();
// One line: date (MM-DD-YYYY) and time (HH:MM:SS) in 12-byte zero-padded
// fields, each followed by a tab, then the eight values tab-separated, CR LF.
QByteArray recordLine(const QDateTime& when, const RecordValues& values);

// Record time of `count` value sets `interval` seconds apart.
struct RecordTime {
    std::uint32_t days = 0, hours = 0, minutes = 0, seconds = 0;
};
RecordTime recordTime(std::uint16_t interval, std::uint16_t count);

class RecordFile {
public:
    // The PC clock; a test may fix it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    // Replaces whatever is at `path` by a file holding only the header; on
    // failure the old file stays as it was.
    bool create(const QString& path);
    // Appends one line, whole, to an existing file. Every line reaches the
    // system before this returns; a failed write is cut back, so the file
    // always ends with a complete line. A file that vanished is not
    // re-created: that would leave a file without header and hide the loss
    // of the earlier lines.
    // `when`: the time the values were measured; none: the clock's now.
    bool append(const QString& path, const RecordValues& values, const QDateTime& when = {});

    // Why the last create or append failed.
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

}  // namespace tarvo
