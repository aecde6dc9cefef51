// Every target runs the real code, which wants an application object for its
// event loops, timers and files.
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}
