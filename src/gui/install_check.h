// A check of an installed or copied program, run without anybody at the screen: does it find
// its help chapters, and where does Save keep the settings.
#pragma once

#include <ostream>

namespace varigap::gui {

class Program;

// With the program started: opens the help window on every chapter and presses Save in the
// message options window, as a user would, and tells `out` where each chapter was read from
// and where the options file was written. Returns 0 when every chapter was shown and the
// options file was written, else 1 (the messages shown go to standard error).
int CheckInstall(Program& program, std::ostream& out);

}  // namespace varigap::gui
