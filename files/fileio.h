// Reading and writing the programs' files, with the real reason of a failure.
// Every file the programs write goes through here, so that a full disk or a
// refused write is reported the same way everywhere and never leaves a
// damaged or emptied file behind.
#pragma once

#include <QByteArray>
#include <QString>

namespace tarvo {

// Replaces the file at `path` by `content` through a temporary file in the
// same directory that is flushed, synced and checked before it takes the
// file's place. On failure the previous file is left exactly as it was and
// *error holds the reason ("No space left on device", "Permission denied" …).
bool saveWholeFile(const QString& path, const QByteArray& content, QString* error);

// Appends `bytes` to the file at `path` as one piece. When the file does not
// end with a line end (a line cut short earlier), it is first cut back to
// its last complete line. On a failed write the file is cut back to where
// it ended before, so it never ends in a partial line. With `mustExist` a
// missing file is an error, not created.
bool appendWhole(const QString& path, const QByteArray& bytes, bool mustExist, QString* error);

struct FileRead {
    enum Status { Ok, Missing, Failed };
    Status status = Failed;
    QByteArray content;
    QString error;  // the reason, for Failed
};

// Reads a whole file of at most maxBytes. Only "no such file" counts as
// Missing; any other failure is tried once more before it is reported.
FileRead readWholeFile(const QString& path, qint64 maxBytes);

// Test seams: make the writes above fail as a full disk does once `bytes`
// more bytes have been written (a negative value ends it), and make the next
// `count` opens for reading fail.
void simulateDiskFullAfter(qint64 bytes);
void simulateReadFailures(int count);

}  // namespace tarvo
