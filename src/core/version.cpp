// The program's version, from the header the build writes.
#include "core/version.h"

#include "varigap_version.h"

namespace varigap {

std::string VersionNumber() { return VARIGAP_VERSION; }
std::string GitCommit() { return VARIGAP_GIT_COMMIT; }

std::string VersionText() {
    std::string commit = GitCommit();
    return commit.empty() ? VersionNumber() : VersionNumber() + " (git " + commit + ")";
}

}  // namespace varigap
