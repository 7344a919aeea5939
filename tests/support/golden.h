// Golden files: outputs made by the program, checked in and compared byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace varigap::test {

// Compares `actual` with the file at `path` in the source tree; with VARIGAP_UPDATE_GOLDEN=1 in
// the environment the file is rewritten instead (after a change of output that is meant).
inline void ExpectGolden(const std::string& path, const std::string& actual) {
    const std::string file = std::string(VARIGAP_SOURCE_DIR) + "/" + path;
    const char* update = std::getenv("VARIGAP_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") std::ofstream(file, std::ios::binary) << actual;
    else EXPECT_EQ(actual, ReadFileBytes(file)) << "differs from golden file " << file;
}

// `text` on one line: line ends, tabs and bytes outside ASCII written as C escapes.
inline std::string OneLine(const std::string& text) {
    std::string s;
    for (unsigned char c : text) {
        if (c == '\r') s += "\\r";
        else if (c == '\n') s += "\\n";
        else if (c == '\t') s += "\\t";
        else if (c < 0x20 || c >= 0x7F)
            s += "\\x" + std::string(1, "0123456789ABCDEF"[c >> 4]) + "0123456789ABCDEF"[c & 15];
        else s += static_cast<char>(c);
    }
    return s;
}

}  // namespace varigap::test
