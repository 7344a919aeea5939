// Named temporary files removed on SIGINT/SIGTERM.
#include "core/temp_files.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace varigap {

namespace {

// A signal handler can reach nothing but process-wide data, so the list lives here, in fixed
// slots that the handler reads without locks: a slot is handed out (1), filled, then armed (2).
constexpr int kSlots = 64;
enum : int { kFree = 0, kFilling = 1, kArmed = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

Slot slots[kSlots];
std::once_flag installed;

extern "C" void RemoveTemporariesAndDie(int sig) {
    for (Slot& s : slots)
        if (s.state.load(std::memory_order_acquire) == kArmed) ::unlink(s.path);
    ::signal(sig, SIG_DFL);
    ::raise(sig);  // delivered on return: the program ends as the signal asked
}

void InstallHandlers() {
    for (int sig : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;  // someone else's
        struct sigaction sa {};
        sa.sa_handler = RemoveTemporariesAndDie;
        sa.sa_flags = SA_RESTART;
        sigemptyset(&sa.sa_mask);
        sigaddset(&sa.sa_mask, SIGINT);
        sigaddset(&sa.sa_mask, SIGTERM);
        ::sigaction(sig, &sa, nullptr);
    }
}

}  // namespace

int RememberTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    std::call_once(installed, InstallHandlers);
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!slots[i].state.compare_exchange_strong(expected, kFilling, std::memory_order_acq_rel)) continue;
        std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].state.store(kArmed, std::memory_order_release);
        return i;
    }
    return -1;
}

void ForgetTemporary(int ticket) {
    if (ticket >= 0 && ticket < kSlots) slots[ticket].state.store(kFree, std::memory_order_release);
}

}  // namespace varigap
