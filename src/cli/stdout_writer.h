// Standard output of varigap-cli, every write checked: results that cannot be delivered (a full
// disk, a closed terminal, a pipe whose reader is gone) fail the run instead of ending it quietly.
#pragma once

#include <string_view>

namespace varigap::cli {

// Writes `text`; false when standard output has failed, now or before.
bool WriteStdout(std::string_view text);
// Hands on what is buffered; false as WriteStdout.
bool FlushStdout();
// Flushes and closes standard output at the end of the program and returns the exit status:
// `status`, or kExitOutput in place of success when anything written was lost (said once on
// standard error).
int CloseStdout(int status);

}  // namespace varigap::cli
