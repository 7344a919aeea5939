// Pictures of the windows for the documentation: the program analyses the loaded files and
// saves an image of each window as it stands.
#pragma once

#include <string>
#include <vector>

namespace varigap::gui {

class Program;

// Nobody is there to answer: messages go to standard error and take their first answer.
void AnswerUnattended(Program& program);

// With the files loaded: Find Template, a variable line selected, then the main window, the
// Variable Region Analysis window, the Parameters dialog and the other windows, each saved as
// a PNG file in `directory`. Returns the files written; `problem` says what went wrong.
std::vector<std::string> TakeScreenshots(Program& program, const std::string& directory, std::string& problem);

}  // namespace varigap::gui
