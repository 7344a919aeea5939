// The cores --jobs 0 takes: a cgroup CPU quota, rounded up, caps the affinity mask.
#include "run/cores.h"

#include <gtest/gtest.h>

namespace varigap::test {
namespace {

TEST(RunCores, ACpuQuotaAllowsItsCoresRoundedUp) {
    struct Case {
        const char* cpuMax;
        int cores;
    } cases[] = {{"max 100000", 0}, {"200000 100000", 2}, {"150000 100000", 2}, {"50000 100000", 1}, {"-1 100000", 0},
                 {"", 0},           {"junk", 0}};
    for (const auto& c : cases) EXPECT_EQ(run::QuotaCores(c.cpuMax), c.cores) << c.cpuMax;
}

}  // namespace
}  // namespace varigap::test
