// The parts of a display line as the analysed-sequence list shows it ("5?{V}?TTAAC"): the
// number, the flags and the mark before the bases.
#pragma once

#include <string>

namespace varigap::ui {

// Length of the part before the bases ("5?{V}?" is 6); 0 for a text of another form.
size_t DisplayLinePrefix(const std::string& line);
// The bases of a display line; a text of another form is returned whole.
std::string BasesOfLine(const std::string& line);
// The tool tip of one display line, for the line under the mouse: its number, its bases and
// what its flag says ("" for a text of another form).
std::string LineToolTip(const std::string& line);

}  // namespace varigap::ui
