// Arbitrary bytes as the connection settings and as the server history: the
// readers keep their limits, and a history read back after writing is the
// same list.
#include "fuzzfiles.h"
#include "settingsfiles.h"

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString settings = fuzz::scratchFile("ComSettings.cfg");
    const QString history = fuzz::scratchFile("IPComboBox.cfg");
    const QByteArray content = fuzz::bytesOf(data, size);
    fuzz::putFile(settings, content);
    fuzz::putFile(history, content);

    const SettingsRead s = readConnectionSettings(settings);
    if (s.status == SettingsRead::Missing)
        broken("an existing settings file reads as missing");
    if (s.status == SettingsRead::Failed && s.error.isEmpty())
        broken("a refused settings file without a reason");
    if (s.settings.ipBuf.size() > 255 || s.settings.portNumStr.size() > 31)
        broken("a settings line longer than its limit");

    const QStringList entries = readServerHistory(history);
    if (entries.size() > kHistoryMaxEntries)
        broken("more history entries than the list holds");
    for (const QString& e : entries)
        if (e.isEmpty() || e.toLatin1().size() > kHistoryRecordText)
            broken("an empty or over-long history entry");

    QString error;
    if (!writeServerHistory(history, entries, &error) || readServerHistory(history) != entries)
        broken("the history does not read back as written");
    return 0;
}
