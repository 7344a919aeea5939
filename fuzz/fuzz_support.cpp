// What every fuzz harness needs: scratch files, parts of an input, a started state, checks.
#include "fuzz_support.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

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

struct Slot {
    Session session;
    std::optional<State> st;
};

Slot& SlotAt(int slot) {
    static std::unique_ptr<Slot> slots[2] = {std::make_unique<Slot>(), std::make_unique<Slot>()};
    return *slots[slot & 1];
}

// The slot as at start-up: the session copied from a started one, a fresh working space.
Slot& TakeSlot(int slot) {
    static const std::unique_ptr<Session> started = [] {
        auto session = std::make_unique<Session>();
        session->programDir = ScratchDir();
        StartUp(*session, SettingsFiles::BuiltIn());
        return session;
    }();
    Slot& s = SlotAt(slot);
    s.session = *started;  // every table as at start-up, no file kept from the last input
    s.st.emplace(s.session);
    return s;
}

}  // namespace

FuzzState::FuzzState(int slot) : session(TakeSlot(slot).session), st(*SlotAt(slot).st) {
    session.messenger = &msgs;
    st.messenger = &msgs;
}

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
