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

}  // namespace varigap::test
