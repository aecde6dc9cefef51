// The driver for machines without libFuzzer: runs every file of the seed
// corpus directories named on the command line, then a fixed number of
// inputs made from them by random flips, insertions, deletions and
// record-sized runs, from a fixed seed so that a failure repeats.
// A target that fails aborts, and so does this run.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);

namespace {

void run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

void mutate(std::string& input, std::mt19937& rng)
{
    const int op = static_cast<int>(rng() % 5);
    const size_t pos = input.empty() ? 0 : rng() % input.size();
    if (op == 0 && !input.empty())
        input[pos] = static_cast<char>(rng());
    else if (op == 1)
        input.insert(pos, 1, static_cast<char>(rng() % 4 == 0 ? '\n' : rng()));
    else if (op == 2 && !input.empty())
        input.erase(pos, 1 + rng() % 4);
    else if (op == 3 && !input.empty())
        input.insert(pos, input.substr(pos, 1 + rng() % 36));  // repeat a piece
    else
        input.append(std::string(1 + rng() % 101, static_cast<char>(rng() % 3 == 0 ? 0 : 'a' + rng() % 26)));
    if (input.size() > 8192)
        input.resize(rng() % 1024);
}

}  // namespace

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::string> seeds;
    int rounds = 400;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("-rounds="))) {
            rounds = arg.mid(8).toInt();
            continue;
        }
        QStringList files;
        if (QFileInfo(arg).isDir()) {
            for (const QString& name : QDir(arg).entryList(QDir::Files, QDir::Name))
                files << QDir(arg).filePath(name);
        } else {
            files << arg;
        }
        for (const QString& path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 2;
            }
            seeds.push_back(f.readAll().toStdString());
        }
    }
    if (seeds.empty())
        seeds.emplace_back();

    std::mt19937 rng(20261208);
    long runs = 0;
    for (const std::string& seed : seeds) {
        run(seed);
        ++runs;
    }
    for (const std::string& seed : seeds) {
        std::string input = seed;
        for (int i = 0; i < rounds; ++i, ++runs) {
            mutate(input, rng);
            run(input);
        }
    }
    std::printf("%zu seeds, %ld inputs, 0 failures\n", seeds.size(), runs);
    return 0;
}
