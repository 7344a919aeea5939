// Output files written whole or not at all: under a temporary name, given their name when
// complete; a file that exists is left untouched unless replacing it was asked for.
#pragma once

#include <functional>
#include <string>

#include "core/textfile.h"

namespace varigap::exports {

// Writes `path` through `fill`; false with a message (one sentence naming the file) when the
// file exists and `force` is off, or when it could not be written.
bool Publish(const std::string& path, bool force, const std::function<void(TextWriter&)>& fill, std::string& message);

}  // namespace varigap::exports
