#include "app/quit_on_signal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};  // written from the signal handler only
bool g_requested = false;  // set on the user-interface thread

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

void QuitOnSignal::Install() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
    ::fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

void QuitOnSignal::Arm() {
    if (g_pipe[0] < 0) return;
    auto* notifier =
        new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], &byte, 1);
        g_requested = true;
        // A modal box runs its own loop, which quitting does not end.
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        QCoreApplication::quit();
    });
}

bool QuitOnSignal::Requested() {
    return g_requested;
}
