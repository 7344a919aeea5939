// What the user arranged, kept between sessions (QSettings, beside the recent files): each
// window's size and place, the positions of its splitters, and the last folder of each file
// window.
#pragma once

namespace varigap::gui {

class Program;

// Puts every window as the last session left it (before the windows are first shown).
void RestoreWindows(Program& program);
// Keeps how every window is now, for the next session.
void SaveWindows(Program& program);

}  // namespace varigap::gui
