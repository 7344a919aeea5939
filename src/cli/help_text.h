// The help of varigap-cli: every command's usage and what it does, whole or for one command.
#pragma once

#include <string>

#include "cli/options.h"

namespace varigap::cli {

// The help of `command`, or of every command for Command::Help.
std::string HelpText(Command command = Command::Help);

}  // namespace varigap::cli
