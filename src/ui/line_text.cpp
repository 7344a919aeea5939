// Display line parts.
#include "ui/line_text.h"

namespace varigap::ui {

// The number, then a flag (":" sure, "?" unsure), the mark, and the same flag again.
size_t DisplayLinePrefix(const std::string& line) {
    size_t flag = line.find_first_not_of("0123456789");
    if (flag == 0 || flag == std::string::npos || (line[flag] != ':' && line[flag] != '?')) return 0;
    size_t close = line.find(line[flag], flag + 1);
    return close == std::string::npos ? 0 : close + 1;
}

std::string BasesOfLine(const std::string& line) { return line.substr(DisplayLinePrefix(line)); }

std::string LineToolTip(const std::string& line) {
    const size_t prefix = DisplayLinePrefix(line);
    if (prefix == 0) return "";
    const size_t flag = line.find_first_not_of("0123456789");
    const size_t bases = line.size() - prefix;
    return "Line " + line.substr(0, flag) + ", " +
           (bases == 0 ? std::string("no bases") : std::to_string(bases) + (bases == 1 ? " base" : " bases")) + ". " +
           (line[flag] == '?' ? "Question marks (?) indicate that no unambiguous alignment for the region was found "
                                "by LPAM. User analysis is recommended."
                              : "Colons (:) indicate that Varigap found an unambiguous alignment for the region.");
}

}  // namespace varigap::ui
