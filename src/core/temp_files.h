// Temporary files that have a name while they are written: removed when SIGINT or SIGTERM ends
// the program, so that an interrupted run leaves nothing half-written behind.
#pragma once

#include <string>

namespace varigap {

// Registers `path` for removal on SIGINT/SIGTERM (the handlers are installed on first use,
// only where those signals still have their default action). Returns a ticket for
// ForgetTemporary; -1 when the path could not be registered (too long, or too many at once).
int RememberTemporary(const std::string& path);
// The file is gone or published under its final name: no longer removed on a signal.
void ForgetTemporary(int ticket);

}  // namespace varigap
