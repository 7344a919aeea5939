// The ruler over a line's bases.
#include "ui/base_ruler.h"

namespace varigap::ui {

std::string BaseRuler(int start, const std::string& bases) {
    if (bases.empty()) return "";
    std::string numbers, ticks;
    for (size_t i = 0; i < bases.size(); ++i) {
        const int pos = start + static_cast<int>(i);
        ticks += pos % 10 == 0 ? '|' : pos % 5 == 0 ? ':' : '.';
        // Each number over its tick, one blank at least after the one before.
        if ((pos % 10 == 0 || i == 0) && (numbers.empty() || numbers.size() < i)) {
            numbers.resize(i, ' ');
            numbers += std::to_string(pos);
        }
    }
    return numbers + "\r\n" + ticks + "\r\n" + bases;
}

}  // namespace varigap::ui
