#include "app/Termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace modVantrel {
namespace {

bool gRequested = false;

#if defined(Q_OS_UNIX)
// A signal handler may do almost nothing: it writes one byte to a socket
// whose other end the event loop watches.
int gSignalSockets[2] = {-1, -1};

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[0], &byte, 1);
}

// Handles every signal of kSignals with handler, except one the program was
// started with ignored (nohup, a background job): that stays ignored.
void Handle(void (*handler)(int))
{
    for (const int signal : kSignals) {
        struct sigaction previous = {};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
}
#endif

}  // namespace

void OnTerminationRequest(std::function<void()> onRequest)
{
#if defined(Q_OS_UNIX)
    if (gSignalSockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, onRequest = std::move(onRequest)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(gSignalSockets[1], &byte, 1);
        notifier->setEnabled(false);
        gRequested = true;
        // A second signal, should closing hang, ends the program at once.
        Handle(SIG_DFL);
        onRequest();
    });
    Handle(OnSignal);
#else
    (void)onRequest;
#endif
}

bool TerminationRequested()
{
    return gRequested;
}

}  // namespace modVantrel
