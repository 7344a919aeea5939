// A strict check of JSON text by recursive descent.
#include "export/json_check.h"

#include <cctype>

namespace varigap::exports {

namespace {

// Recursive descent over one JSON value; `at` moves past what was read.
class StrictReader {
public:
    explicit StrictReader(std::string_view t) : t_(t) {}

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

bool IsStrictJson(std::string_view text) { return StrictReader(text).Whole(); }

}  // namespace varigap::exports
