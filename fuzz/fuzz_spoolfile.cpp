// Arbitrary bytes as a spool file left by an earlier run of tarvoctl
// publish: it is read without a crash, only whole messages come out, and
// once every one of them is delivered the file is gone.
#include "fuzzfiles.h"
#include "spool.h"

#include <QJsonDocument>

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString dir = fuzz::scratchFile("spool");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const QString file = QDir(dir).filePath(QStringLiteral("tarvo%2Fline3.00000000000000000007.spool"));
    fuzz::putFile(file, fuzz::bytesOf(data, size));

    publish::Spool spool(dir, QStringLiteral("tarvo/line3"));
    QString error;
    if (!spool.open(&error))
        broken("a spool directory holding one file does not open");
    if (spool.nextKey() <= 7)
        broken("the next key is not above the file's first key");
    std::vector<publish::SpoolEntry> taken;
    for (auto batch = spool.take(3); !batch.empty(); batch = spool.take(3))
        taken.insert(taken.end(), batch.begin(), batch.end());
    if (spool.hasUnread())
        broken("messages are left after everything was taken");
    for (const publish::SpoolEntry& e : taken) {
        if (e.key == 0 || e.key >= spool.nextKey() || (e.kind != "values" && e.kind != "events")
            || !QJsonDocument::fromJson(e.payload).isObject() || e.payload.contains('\n'))
            broken("a message that is not whole came out");
        spool.delivered(e);
    }
    const bool isSpool = fuzz::bytesOf(data, size).startsWith("tarvoctl spool 1\n");
    if (isSpool && QFileInfo::exists(file))
        broken("a spool file stays after all its messages were delivered");
    if (!isSpool && !QFileInfo::exists(file))
        broken("a file that is no spool file was removed");
    if (!spool.close({}, &error))
        broken("closing an emptied spool fails");
    return 0;
}
