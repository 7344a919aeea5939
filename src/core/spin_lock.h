// Taking a lock that another thread holds for microseconds. Sleeping on it costs more than
// the wait where every thread has a core of its own: the sleeper is woken by a system call
// and, on a virtual machine, its idle core by the host.
#pragma once

#include <chrono>

namespace varigap {

// Tells the core that this thread is spinning (so that it yields to its sibling and saves power).
inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

// Takes `m` (anything with try_lock and lock), trying again for up to `spin` before sleeping
// on it; a zero `spin` sleeps at once, as where threads outnumber the cores.
template <class Lockable>
void LockSpinning(Lockable& m, std::chrono::nanoseconds spin) {
    if (m.try_lock()) return;
    if (spin.count() > 0) {
        const auto until = std::chrono::steady_clock::now() + spin;
        do {
            for (int i = 0; i < 8; ++i) {  // the clock is read once every few tries
                for (int k = 0; k < 8; ++k) CpuRelax();
                if (m.try_lock()) return;
            }
        } while (std::chrono::steady_clock::now() < until);
    }
    m.lock();
}

}  // namespace varigap
