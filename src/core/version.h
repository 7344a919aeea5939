// The program's version: the release number and the git commit it was built from.
#pragma once

#include <string>

namespace varigap {

// The project's release number, e.g. "0.1".
std::string VersionNumber();
// The git commit the program was built from ("-dirty" after it when the checkout had changes);
// "" when it was not built from a git checkout.
std::string GitCommit();
// "0.1", or "0.1 (git 52d90a1c3f2e)" when built from a checkout.
std::string VersionText();

}  // namespace varigap
