// Reading one input file of a command whole through a reader of its format.
#pragma once

#include <functional>
#include <string>

#include "core/textfile.h"

namespace varigap::cli {

// Reads file `path` through `read`; false with the reason in `error`: the reader's, or why the
// file could not be opened or read.
bool ReadInputFile(const std::string& path, const std::function<bool(TextReader&, std::string&)>& read,
                   std::string& error);

}  // namespace varigap::cli
