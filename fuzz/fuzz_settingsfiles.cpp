// Feeds arbitrary bytes to the readers of the connection settings and the
// server history. Built as a libFuzzer target with -DTARVO_LIBFUZZER=ON and
// clang; otherwise a driver that runs a fixed number of seeded random and
// mutated inputs, so ctest exercises it on every run.
#include "settingsfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <random>

namespace {

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

void writeAll(const QString& path, const std::uint8_t* data, size_t size)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString settings = scratch().filePath(QStringLiteral("ComSettings.cfg"));
    const QString history = scratch().filePath(QStringLiteral("IPComboBox.cfg"));
    writeAll(settings, data, size);
    writeAll(history, data, size);

    const auto s = tarvo::readConnectionSettings(settings);
    if (!s || s->ipBuf.size() > 255 || s->portNumStr.size() > 31)
        std::abort();
    const QStringList entries = tarvo::readServerHistory(history);
    if (entries.size() > tarvo::kHistoryMaxEntries)
        std::abort();
    for (const QString& e : entries)
        if (e.isEmpty() || e.toLatin1().size() > tarvo::kHistoryRecordText)
            std::abort();

    // What is written can be read back unchanged.
    QString error;
    if (!tarvo::writeServerHistory(history, entries, &error) || tarvo::readServerHistory(history) != entries)
        std::abort();
    return 0;
}

#ifndef TARVO_LIBFUZZER
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::mt19937 rng(20261208);
    const char* seeds[] = {"1\n3\n127.0.0.1\n10001\n", "0\r\n1\r\n\r\n\r\n", "", "\0\0\0\n",
                           "host\n\0\0\0\0\0\0\0\n"};
    int runs = 0;
    for (const char* seed : seeds) {
        std::string input(seed);
        for (int i = 0; i < 400; ++i, ++runs) {
            // Mutate: flip, insert or delete bytes, now and then append a record-sized run.
            const int op = static_cast<int>(rng() % 4);
            const size_t pos = input.empty() ? 0 : rng() % input.size();
            if (op == 0 && !input.empty())
                input[pos] = static_cast<char>(rng());
            else if (op == 1)
                input.insert(pos, 1, static_cast<char>(rng() % 4 == 0 ? '\n' : rng()));
            else if (op == 2 && !input.empty())
                input.erase(pos, 1);
            else
                input.append(std::string(101, static_cast<char>(rng() % 3 == 0 ? 0 : 'a' + rng() % 26)));
            if (input.size() > 4096)
                input.resize(rng() % 512);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        }
    }
    std::printf("%d inputs, 0 failures\n", runs);
    return 0;
}
#endif
