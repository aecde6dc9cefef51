#include "interrupt.h"

#include <QCoreApplication>
#include <QMetaObject>

#if defined(Q_OS_UNIX)
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace tarvo::ctl {

namespace {
std::function<void()>& handlerSlot()
{
    static std::function<void()> handler;
    return handler;
}

void runHandler()
{
    if (handlerSlot())
        handlerSlot()();
}

#if defined(Q_OS_UNIX)
// The signal handler only writes a byte; the notifier runs the handler on
// the main thread, inside whatever wait is running.
int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_pipe[1], &c, 1);
}

void install()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buf[16];
        [[maybe_unused]] auto n = ::read(g_pipe[0], buf, sizeof buf);
        runHandler();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    // A closed output pipe is seen as a failed write, not as the end of the
    // process, so a recording still switches automatic sending off.
    signal(SIGPIPE, SIG_IGN);
}
#elif defined(Q_OS_WIN)
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        // Runs on a thread of its own: hand the work to the main thread.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { runHandler(); }, Qt::QueuedConnection);
        if (event == CTRL_CLOSE_EVENT)
            Sleep(2000);  // the process ends when this returns; give the main thread time
        return TRUE;
    default:
        return FALSE;
    }
}

void install()
{
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
#else
void install() {}
#endif
} // namespace

void onInterrupt(std::function<void()> handler)
{
    static bool installed = false;
    handlerSlot() = std::move(handler);
    if (!installed) {
        installed = true;
        install();
    }
}

} // namespace tarvo::ctl
