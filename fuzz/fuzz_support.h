// What every fuzz harness needs: real files in a scratch folder, an input cut into parts, a
// state as the program starts it, and checks that end the run loudly when they fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages.h"
#include "core/state.h"

namespace varigap::fuzz {

// A folder of this process for the files of one input; the same folder every time.
const std::string& ScratchDir();
// Removes every file the last input left there, so that each input starts alike.
void ClearScratch();
// Writes `content` as file `name` in the scratch folder and returns its path.
std::string WriteScratch(const std::string& name, std::string_view content);

// The input cut at every byte 0x1E (record separator): part k is the k-th file or value of the
// harness; missing parts are empty. Seeds are example files joined with that byte.
std::vector<std::string> Parts(const uint8_t* data, size_t size, size_t count);

// A session after start-up with the built-in settings and a fresh working space, messages
// recorded. Sessions are large, so each of the (at most two) slots is built once and copied
// over from a started one per input.
struct FuzzState {
    explicit FuzzState(int slot = 0);
    Session& session;
    State& st;
    RecordingMessenger msgs;
};

// Ends the run with a message when `holds` is false: libFuzzer keeps the input.
void Check(bool holds, const char* what);

// A strict JSON text: one value, UTF-8 without overlong forms, surrogates or bytes beyond U+10FFFF.
bool IsJson(std::string_view text);
// Only letters of the base alphabet.
bool OnlyBases(std::string_view s);

}  // namespace varigap::fuzz
