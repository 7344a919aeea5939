// What every fuzz harness needs: scratch files, parts of an input, a started state, checks.
#include "fuzz_support.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/bases.h"
#include "engine/analysis.h"

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

namespace {

// Recursive descent over one JSON value; `at` moves past what was read.
class JsonReader {
public:
    explicit JsonReader(std::string_view t) : t_(t) {}

    bool Whole() {
        Blank();
        if (!Value(0)) return false;
        Blank();
        return at_ == t_.size();
    }

private:
    bool Value(int depth) {
        if (depth > 64 || at_ >= t_.size()) return false;
        switch (t_[at_]) {
            case '{': return Object(depth);
            case '[': return Array(depth);
            case '"': return String();
            case 't': return Word("true");
            case 'f': return Word("false");
            case 'n': return Word("null");
            default: return Number();
        }
    }
    bool Object(int depth) {
        ++at_;
        Blank();
        if (Eat('}')) return true;
        do {
            Blank();
            if (!String()) return false;
            Blank();
            if (!Eat(':')) return false;
            Blank();
            if (!Value(depth + 1)) return false;
            Blank();
        } while (Eat(','));
        return Eat('}');
    }
    bool Array(int depth) {
        ++at_;
        Blank();
        if (Eat(']')) return true;
        do {
            Blank();
            if (!Value(depth + 1)) return false;
            Blank();
        } while (Eat(','));
        return Eat(']');
    }
    bool String() {
        if (!Eat('"')) return false;
        while (at_ < t_.size()) {
            const unsigned char c = static_cast<unsigned char>(t_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                if (++at_ >= t_.size()) return false;
                const char e = t_[at_++];
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k, ++at_)
                        if (at_ >= t_.size() || !std::isxdigit(static_cast<unsigned char>(t_[at_]))) return false;
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            } else if (c < 0x80) {
                ++at_;
            } else if (!Utf8()) {
                return false;
            }
        }
        return false;
    }
    bool Utf8() {
        auto byte = [&](size_t k) { return at_ + k < t_.size() ? static_cast<unsigned char>(t_[at_ + k]) : 0; };
        const unsigned char c = byte(0);
        size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0) return false;
        const unsigned char lo = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        if (byte(1) < lo || byte(1) > hi) return false;
        for (size_t k = 2; k < n; ++k)
            if ((byte(k) & 0xC0) != 0x80) return false;
        at_ += n;
        return true;
    }
    bool Number() {
        const size_t start = at_;
        Eat('-');
        if (!Eat('0') && !Digits()) return false;
        if (Eat('.') && !Digits()) return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+')) Eat('-');
            if (!Digits()) return false;
        }
        return at_ > start;
    }
    bool Digits() {
        const size_t start = at_;
        while (at_ < t_.size() && t_[at_] >= '0' && t_[at_] <= '9') ++at_;
        return at_ > start;
    }
    bool Word(std::string_view w) {
        if (t_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }
    bool Eat(char c) {
        if (at_ >= t_.size() || t_[at_] != c) return false;
        ++at_;
        return true;
    }
    void Blank() {
        while (at_ < t_.size() && (t_[at_] == ' ' || t_[at_] == '\t' || t_[at_] == '\n' || t_[at_] == '\r')) ++at_;
    }

    std::string_view t_;
    size_t at_ = 0;
};

}  // namespace

bool IsJson(std::string_view text) { return JsonReader(text).Whole(); }

}  // namespace varigap::fuzz
