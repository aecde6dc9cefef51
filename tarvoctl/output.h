// Where a command's data go: standard output, or a file (-o FILE; "-" is
// standard output). Every command writes through this one writer.
//
// A writer thread does the writing, so that a reader that stops reading never
// holds up the command: signals are still acted on and the sensor is still
// switched off. Text is handed over in whole lines; a write that fails cuts a
// file back to its last whole line and ends the output with its reason. A
// reader that closed the pipe (a pipe into head) is a quiet end, no failure.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace tarvo {
class EventPump;
}

namespace tarvo::ctl {

// Standard streams that are closed when the program starts are opened on
// the null device, so that nothing opened later (the event loop, the
// sensor's socket) takes their number and receives the data. Call it first.
// False when standard output was closed.
bool holdStandardStreams();

class Output {
public:
    // Writing waits while this much is queued (a reader that stalls).
    static constexpr qint64 kBacklogBytes = 4 * 1024 * 1024;

    // stdoutOpen false: standard output was closed at start; writing to it fails.
    explicit Output(bool stdoutOpen = true);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Standard output (path empty or "-"), or the file at path, replaced,
    // or refused with noClobber when it exists. False with *error set when
    // the file cannot be opened. Without a call, the output is standard output.
    bool open(const QString& path, bool noClobber, QString* error);
    // "standard output" or the file's path, for messages.
    QString name() const { return m_name; }

    // Waits (when the backlog is full) run on this pump, so that the command's
    // interruption ends them; nullptr: a pump of the output's own.
    void attach(EventPump* pump);

    // Queues whole lines. False once the output has ended: its reader has
    // gone or a write failed; nothing more is written then.
    bool write(const QByteArray& lines);
    bool line(const QString& text) { return write(text.toUtf8() + '\n'); }

    // Waits until everything queued is written or the output has ended, at
    // most `limit` seconds (negative: no limit); what is left then is
    // abandoned. True when all was written.
    bool finish(double limit = -1.0);

    bool ended() const;
    bool readerGone() const;
    // The reason a write failed; empty when none did.
    QString failure() const;

    // What the command's thread shares with the writer thread.
    struct Shared;

private:
    void start(int fd);
    EventPump& pump();

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<EventPump> m_ownPump;
    EventPump* m_attached = nullptr;
    QString m_name = QStringLiteral("standard output");
    bool m_started = false;
    bool m_stdoutOpen = true;
};

}  // namespace tarvo::ctl
