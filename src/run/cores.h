// The cores this process may use: its CPU affinity, capped by a cgroup CPU quota.
#pragma once

#include <string>

namespace varigap::run {

// Worker threads for --jobs 0: the CPUs of the affinity mask, no more than a CPU quota of
// the process's cgroups (v2 cpu.max, v1 cpu.cfs_quota_us) allows, rounded up; at least 1.
int UsableCores();

// Cores that a quota in the form of cgroup v2's cpu.max allows ("150000 100000": 2, rounded
// up); 0 for no limit ("max 100000") or text that is not a quota.
int QuotaCores(const std::string& cpuMax);

}  // namespace varigap::run
