// Every target runs the real code, which wants an application object for its
// event loops, timers and files.
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt's own event dispatcher: the same waits at a fraction of the cost
    // per turn of the loop, which is most of a link target's time.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    static QCoreApplication app(*argc, *argv);
    return 0;
}
