// The events file beside a record file ("record.dat.events"): one line per
// event of the line to the sensor, written and flushed as it happens, so that
// a gap in a recording is written down even when the PC goes down after it.
// Tab-separated: local time in ISO 8601 with its UTC offset, the event word,
// the reason, and the lines written to the record file so far.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace tarvo {

class EventLog {
public:
    // The PC clock; a test may fix it.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    // The events file of a record file.
    static QString pathFor(const QString& recordPath) { return recordPath + QStringLiteral(".events"); }

    // Events go beside this record file from now on; an events file left by
    // an earlier recording into a file of that name is removed.
    void startFresh(const QString& recordPath);
    // Events go beside this record file, after those it holds.
    void continueAt(const QString& recordPath) { m_path = pathFor(recordPath); }
    QString path() const { return m_path; }

    // One line, whole, on disk before this returns. False with the reason in
    // errorString() when it could not be written (a full disk).
    bool write(const QString& word, const QString& reason, long lines);
    QString errorString() const { return m_error; }

    // The line as it is written, without its line end.
    static QString line(const QDateTime& when, const QString& word, const QString& reason, long lines);

private:
    QString m_path;
    QString m_error;
};

}  // namespace tarvo
