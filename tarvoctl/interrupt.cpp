#include "interrupt.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_UNIX)
#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace tarvo::ctl {

namespace {

constexpr char kInterrupted[] = "tarvoctl: interrupted\n";

std::function<void(int)>& handlerSlot()
{
    static std::function<void(int)> handler;
    return handler;
}

// No handler: the signal ends the process where it arrives.
std::atomic<bool> g_endAtOnce{true};

void runHandler(int signal)
{
    if (handlerSlot())
        handlerSlot()(signal);
    else
        endInterrupted(signal);
}

#if defined(Q_OS_UNIX)
// The signal handler only writes the signal's number into a socket; the
// notifier runs the handler on the main thread, inside whatever wait is
// running.
int g_pipe[2] = {-1, -1};

void onSignal(int signal)
{
    if (g_endAtOnce.load()) {
        [[maybe_unused]] auto n = ::write(2, kInterrupted, sizeof kInterrupted - 1);
        ::_exit(interruptedExitCode(signal));
    }
    const char c = static_cast<char>(signal);
    [[maybe_unused]] auto n = ::write(g_pipe[1], &c, 1);
}

void install()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char c = 0;
        if (::read(g_pipe[0], &c, 1) == 1)
            runHandler(c);
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);  // the terminal or the ssh session was closed
    // A closed output pipe is seen as a failed write, not as the end of the
    // process, so a recording still switches automatic sending off.
    ::signal(SIGPIPE, SIG_IGN);
}
#elif defined(Q_OS_WIN)
BOOL WINAPI onConsoleEvent(DWORD event)
{
    int signal = SIGINT;
    switch (event) {
    case CTRL_C_EVENT: signal = SIGINT; break;
    case CTRL_BREAK_EVENT: signal = SIGBREAK; break;
    case CTRL_CLOSE_EVENT: signal = 1; break;  // as SIGHUP elsewhere
    default: return FALSE;
    }
    if (g_endAtOnce.load()) {
        std::fputs(kInterrupted, stderr);
        std::_Exit(interruptedExitCode(signal));
    }
    // Runs on a thread of its own: hand the work to the main thread.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [signal] { runHandler(signal); }, Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT)
        Sleep(2000);  // the process ends when this returns; give the main thread time
    return TRUE;
}

void install()
{
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
#else
void install()
{
}
#endif
}  // namespace

void onInterrupt(std::function<void(int)> handler)
{
    static bool installed = false;
    g_endAtOnce = !handler;
    handlerSlot() = std::move(handler);
    if (!installed) {
        installed = true;
        install();
    }
}

int interruptedExitCode(int signal)
{
    return 128 + signal;
}

void endInterrupted(int signal)
{
    // Standard output is not flushed: its reader may have stopped reading.
    std::fputs(kInterrupted, stderr);
    std::fflush(stderr);
    std::_Exit(interruptedExitCode(signal));
}

}  // namespace tarvo::ctl
