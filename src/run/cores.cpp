// The cores this process may use: its CPU affinity, capped by a cgroup CPU quota.
#include "run/cores.h"

#include <sched.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace varigap::run {

namespace {

int AffinityCores() {
    // The mask may be larger than the default cpu_set_t on machines with many CPUs.
    for (int cpus = CPU_SETSIZE; cpus <= (1 << 16); cpus *= 4) {
        cpu_set_t* set = CPU_ALLOC(static_cast<size_t>(cpus));
        const size_t size = CPU_ALLOC_SIZE(static_cast<size_t>(cpus));
        CPU_ZERO_S(size, set);
        const bool ok = sched_getaffinity(0, size, set) == 0;
        const int count = ok ? CPU_COUNT_S(size, set) : 0;
        CPU_FREE(set);
        if (ok) return count;
    }
    return static_cast<int>(std::thread::hardware_concurrency());
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The smallest quota found in `dir` and the directories above it up to `root`.
int SmallestQuota(const std::string& root, std::string dir, bool v2) {
    int best = 0;
    for (;;) {
        const std::string at = root + dir;
        const int cores =
            v2 ? QuotaCores(FirstLine(at + "/cpu.max"))
               : QuotaCores(FirstLine(at + "/cpu.cfs_quota_us") + " " + FirstLine(at + "/cpu.cfs_period_us"));
        if (cores > 0) best = best > 0 ? std::min(best, cores) : cores;
        if (dir.empty() || dir == "/") return best;
        dir.erase(dir.find_last_of('/'));
    }
}

// The CPU quota of the process's cgroups; 0 when there is none.
int CgroupCores() {
    std::ifstream in("/proc/self/cgroup");
    std::string line;
    int best = 0;
    while (std::getline(in, line)) {  // "hierarchy:controllers:path"
        const size_t a = line.find(':'), b = line.find(':', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        const std::string controllers = line.substr(a + 1, b - a - 1), path = line.substr(b + 1);
        int cores = 0;
        if (controllers.empty()) {
            cores = SmallestQuota("/sys/fs/cgroup", path, true);
        } else {
            std::stringstream list(controllers);
            std::string c;
            bool cpu = false;
            while (std::getline(list, c, ',')) cpu = cpu || c == "cpu";
            if (!cpu) continue;
            cores = SmallestQuota("/sys/fs/cgroup/" + controllers, path, false);
            if (cores == 0) cores = SmallestQuota("/sys/fs/cgroup/cpu", path, false);
        }
        if (cores > 0) best = best > 0 ? std::min(best, cores) : cores;
    }
    return best;
}

}  // namespace

int QuotaCores(const std::string& cpuMax) {
    std::istringstream in(cpuMax);
    long long quota = 0, period = 0;
    if (!(in >> quota >> period) || quota <= 0 || period <= 0) return 0;  // "max ..." or "-1 ..."
    return static_cast<int>((quota + period - 1) / period);
}

int UsableCores() {
    int cores = AffinityCores();
    const int quota = CgroupCores();
    if (quota > 0) cores = cores > 0 ? std::min(cores, quota) : quota;
    return std::max(1, cores);
}

}  // namespace varigap::run
