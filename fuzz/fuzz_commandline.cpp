// Arbitrary command lines (arguments separated by zero bytes, the program
// first) for both programs: the parser ends with 0 or 2 or gives a
// connection within the settings' limits, and an error is one line.
#include "commandline.h"
#include "fuzzfiles.h"

#include <QTextStream>

using namespace tarvo;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    QStringList arguments;
    for (const QByteArray& a : fuzz::bytesOf(data + 1, size - 1).split('\0'))
        arguments << QString::fromUtf8(a);
    ProgramInfo info;
    info.name = QStringLiteral("TarvoV43");
    info.title = QStringLiteral("the scope");
    info.settingsFiles = {QStringLiteral("ComSettings.cfg")};
    info.connectionOptions = data[0] & 1;

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const CommandLine c = parseCommandLine(
        arguments, info, [] { return QStringLiteral("here\n  and there"); }, outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (c.exitCode && *c.exitCode != 0 && *c.exitCode != 2)
        broken("an exit code other than 0 and 2");
    if (c.exitCode == 2 && (err.count(u'\n') != 1 || !err.endsWith(u'\n'))) {
        std::fprintf(stderr, "%s", qPrintable(err));
        broken("a usage error that is not one line");
    }
    if (!c.exitCode && !err.isEmpty())
        broken("an error printed, yet the program goes on");
    if (c.connection) {
        if (!info.connectionOptions)
            broken("a connection from a program that offers none");
        const ConnectionSettings& s = *c.connection;
        if (s.ipBuf.size() > 255 || s.portNumStr.size() > 31 || (s.comprotocol != 0 && s.comprotocol != 1))
            broken("a connection outside the settings' limits");
    }
    return 0;
}
