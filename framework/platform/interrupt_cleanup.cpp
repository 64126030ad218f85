#include "framework/platform/interrupt_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace framework {

namespace {

// The handler may use only what is safe in a signal handler: the path lives in a fixed buffer
// that is published by a flag, and removing a file is one system call.
char pathToRemove[4096];
std::atomic<bool> armed{false};

extern "C" void RemoveAndEnd(int signalNumber) {
    if (armed.exchange(false)) {
        std::remove(pathToRemove);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// A signal the program was started ignoring (SIGINT in a background job, SIGHUP under nohup)
// stays ignored.
void Install(int signalNumber) {
    const auto previous = std::signal(signalNumber, RemoveAndEnd);
    if (previous == SIG_IGN) {
        std::signal(signalNumber, SIG_IGN);
    }
}

void Install() {
    Install(SIGINT);
    Install(SIGTERM);
#ifdef SIGHUP
    Install(SIGHUP);
#endif
}

}  // namespace

void RemoveOnInterrupt(const std::string& path) {
    armed = false;
    if (path.size() >= sizeof pathToRemove) {
        return;  // too long to keep; an interrupt then leaves it behind
    }
    std::memcpy(pathToRemove, path.c_str(), path.size() + 1);
    Install();
    armed = true;
}

void ForgetOnInterrupt() {
    armed = false;
}

}  // namespace framework
