// What every fuzz harness needs: scratch files, parts of an input, a started state, checks.
#include "fuzz_support.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/bases.h"
#include "engine/analysis.h"
#include "export/json_check.h"

namespace varigap::fuzz {

const std::string& ScratchDir() {
    // Never destroyed: the folder is removed at exit, after static objects may be gone.
    static const std::string& dir = *new std::string([] {
        // In memory where there is such a folder: each input writes and removes several files.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string tmpl = (base / "varigap-fuzz-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchDir(), ec);
        });
        return tmpl;
    }());
    return dir;
}

void ClearScratch() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(ScratchDir(), ec))
        std::filesystem::remove_all(e.path(), ec);
}

std::string WriteScratch(const std::string& name, std::string_view content) {
    const std::string path = ScratchDir() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(content.data(), std::streamsize(content.size()));
    return path;
}

std::vector<std::string> Parts(const uint8_t* data, size_t size, size_t count) {
    std::vector<std::string> parts(count);
    size_t k = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0x1E && k + 1 < count) ++k;
        else parts[k] += static_cast<char>(data[i]);
    }
    return parts;
}

namespace {

State& Slot(int slot) {
    static const std::unique_ptr<State> started = [] {
        auto st = std::make_unique<State>();
        st->programDir = ScratchDir();
        StartUp(*st, SettingsFiles::BuiltIn());
        return st;
    }();
    static std::unique_ptr<State> slots[2] = {std::make_unique<State>(), std::make_unique<State>()};
    State& st = *slots[slot & 1];
    st = *started;  // every table as at start-up, no file kept from the last input
    return st;
}

}  // namespace

FuzzState::FuzzState(int slot) : st(Slot(slot)) { st.messenger = &msgs; }

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

bool OnlyBases(std::string_view s) {
    std::string cleaned(s);
    StripNonBases(cleaned);
    return cleaned.size() == s.size();
}

bool IsJson(std::string_view text) { return exports::IsStrictJson(text); }

}  // namespace varigap::fuzz
