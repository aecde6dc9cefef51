// The record file is only appended to, and whatever an existing file holds
// (the user may pick any file) must stay as it was. The input gives the
// eight values, the clock and the old content; the line appended must read
// back as those values.
#include "fuzzfiles.h"
#include "recordfile.h"

#include <QDateTime>
#include <cstring>

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    RecordValues values{};
    qint64 msecs = 0;
    if (size < sizeof values + sizeof msecs)
        return 0;
    std::memcpy(values.data(), data, sizeof values);
    std::memcpy(&msecs, data + sizeof values, sizeof msecs);
    const size_t head = sizeof values + sizeof msecs;
    const QByteArray old = fuzz::bytesOf(data + head, size - head);

    const QString path = fuzz::scratchFile("record.txt");
    fuzz::putFile(path, old);
    RecordFile file;
    file.clock = [msecs] { return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC); };
    if (!file.append(path, values))
        broken("appending to an existing file failed");
    const QByteArray now = fuzz::fileContent(path);
    // A line cut short at the end (no line end) is taken back first; every
    // complete line stays as it was.
    const QByteArray kept = old.endsWith('\n') || old.isEmpty() ? old : old.left(old.lastIndexOf('\n') + 1);
    if (!now.startsWith(kept))
        broken("appending changed the complete lines the file held");

    const QByteArray line = now.mid(kept.size());
    if (!line.endsWith("\r\n") || line.count('\n') != 1)
        broken("an appended line that is not one line");
    const QList<QByteArray> fields = line.chopped(2).split('\t');
    if (fields.size() != 2 + int(values.size()) || fields[0].size() != 12 || fields[1].size() != 12)
        broken("an appended line with other fields than date, time and eight values");
    for (size_t i = 0; i < values.size(); ++i) {
        bool ok = false;
        if (fields[2 + int(i)].toUInt(&ok) != values[i] || !ok)
            broken("a value that does not read back as written");
    }

    if (!file.create(path) || fuzz::fileContent(path) != recordHeader())
        broken("a new record file holds more than the header");
    return 0;
}
