// The spool: messages the broker has not acknowledged yet, kept on disk
// beyond the publisher's in-memory bound and across a restart of the
// process.
//
// Every message has a key, counting up across runs, which fixes its place
// in the one order in which messages are delivered. The spool is a set of
// files in one directory, each holding a run of consecutive messages:
//
//   <id>.<first key, 20 digits>.spool   e.g. tarvo%2Fline3.00000000000000004711.spool
//
// where <id> is the percent-encoded "P/NAME". A file is a text file: the line
// "tarvoctl spool 1", then one line per message, "KEY<TAB>KIND<TAB>PAYLOAD",
// KIND being "values" or "events" and PAYLOAD the message's JSON. Files are
// read in the order of their first keys; a file is removed once all its
// messages are acknowledged, so a file left by a run that was killed is
// delivered again whole at the next start (duplicates, which QoS 1
// allows; no gaps). A damaged line (a line cut short by a crash) is skipped
// and reported. "<id>.lock" keeps a second publisher of the same topics out.
//
// The publisher writes ahead: every message is appended when it is taken,
// before it is sent, and removed once the broker acknowledged it. An append
// is in the file when append() returns (a crash of the program loses
// nothing); sync() puts the files written since on the disk, which the
// publisher does at most kSyncMs after an append (a power cut loses at most
// that much).
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace tarvo::publish {

struct SpoolEntry {
    quint64 key = 0;
    QByteArray kind;  // "values" or "events"
    QByteArray payload;
    quint64 file = 0;  // first key of the spool file it was read from; 0: never spooled
};

class Spool {
public:
    // Messages per file at most. A file goes when all its messages are
    // acknowledged, so after a crash at most this many come again.
    static constexpr int kFileEntries = 100;

    Spool(const QString& dir, const QString& id);
    ~Spool();
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;

    // Creates the directory if need be, takes the lock and finds the files
    // of earlier runs. False with the reason when the directory cannot be
    // written or another publisher holds it.
    bool open(QString* error);
    QString directory() const { return m_dir; }

    // The first key above every message on disk.
    quint64 nextKey() const { return m_nextKey; }
    // Messages on disk that have not been taken yet.
    bool hasUnread() const;

    static constexpr int kSyncMs = 100;

    // Appends one message, whose key is above all others on disk, and sets
    // its file; it is in the file when this returns true. `inMemory`: the
    // caller keeps it in memory and sends it from there (else take() reads
    // it back). False with the reason ("No space left on device" …).
    bool append(SpoolEntry& entry, bool inMemory, QString* error);
    // Puts what was appended since the last call on the disk.
    void sync();
    bool needsSync() const { return !m_dirty.empty(); }

    // The next messages in order, at most n. They stay on disk until
    // delivered() is called for each.
    std::vector<SpoolEntry> take(int n);
    void delivered(const SpoolEntry& entry);

    // The end of the run: `keep` (messages never spooled and not delivered,
    // in key order) are written where their keys place them, and files
    // with delivered messages are cut down to the rest. False with the
    // reason when something could not be written.
    bool close(const std::vector<SpoolEntry>& keep, QString* error);

    // What was skipped while reading (damaged lines, unreadable files),
    // one text each; taken and cleared.
    QStringList takeWarnings();

private:
    struct File {
        QString path;
        int entries = -1;      // messages in it; -1 until it is read (a file of an earlier run)
        bool reading = false;  // taken into the read buffer, or written from memory
        bool writing = false;  // appends go here
        std::vector<quint64> delivered;
    };

    QString pathFor(quint64 firstKey) const;
    bool load(quint64 firstKey, File& file);
    void removeIfDone(std::map<quint64, File>::iterator it);
    static QByteArray line(const SpoolEntry& e);

    QString m_dir;
    QString m_base;  // file names begin with this
    std::unique_ptr<QLockFile> m_lock;
    std::map<quint64, File> m_files;
    std::deque<SpoolEntry> m_buffer;
    quint64 m_nextKey = 1;
    QStringList m_warnings;
    QStringList m_dirty;  // files appended to since the last sync
    bool m_dirtyDirectory = false;
};

}  // namespace tarvo::publish
