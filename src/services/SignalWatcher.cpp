#include "SignalWatcher.h"

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace olg {

int SignalWatcher::pipe_[2] = {-1, -1};

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipe_) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = &SignalWatcher::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SignalWatcher::Drain);
}

SignalWatcher::~SignalWatcher() {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    notifier_.reset();
    for (int& end : pipe_) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void SignalWatcher::OnSignal(int) {
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe already holds a pending request.
    [[maybe_unused]] const ssize_t written = ::write(pipe_[0], &byte, 1);
}

void SignalWatcher::Drain() {
    char bytes[16];
    while (::read(pipe_[1], bytes, sizeof(bytes)) > 0) {
    }
    emit TerminationRequested();
}

} // namespace olg
