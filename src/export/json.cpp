// JSON as the run summary needs it: quoting for writing and a small reader.
#include "export/json.h"

#include <cstdio>

namespace varigap::exports {

namespace {

// Length of the valid UTF-8 sequence starting at s[i], 0 when it is not one: overlong forms,
// surrogates and code points beyond U+10FFFF are not, as JSON readers hold.
size_t Utf8Length(std::string_view s, size_t i) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    const size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    const unsigned char lo = c == 0xE0   ? 0xA0
                             : c == 0xF0 ? 0x90
                                         : 0x80,
                        hi = c == 0xED   ? 0x9F
                             : c == 0xF4 ? 0x8F
                                         : 0xBF;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

void AppendUtf8(std::string& s, unsigned code) {
    if (code < 0x80) {
        s += static_cast<char>(code);
    } else if (code < 0x800) {
        s += static_cast<char>(0xC0 | (code >> 6));
        s += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (code >> 12));
        s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string JsonQuote(std::string_view s) {
    std::string j = "\"";
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            j += '\\';
            j += static_cast<char>(c);
        } else if (c == '\n') {
            j += "\\n";
        } else if (c == '\r') {
            j += "\\r";
        } else if (c == '\t') {
            j += "\\t";
        } else if (c >= 0x20 && c < 0x7F) {
            j += static_cast<char>(c);
        } else if (const size_t n = c >= 0x80 ? Utf8Length(s, i) : 0) {
            j.append(s, i, n);
            i += n - 1;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            j += buf;
        }
    }
    return j + "\"";
}

void JsonReader::SkipBlanks() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t'))
        ++pos_;
}

bool JsonReader::Fail(const std::string& expected) {
    if (error_.empty()) error_ = "byte " + std::to_string(pos_ + 1) + ": " + expected + " expected";
    return false;
}

bool JsonReader::Expect(char c) {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != c) return Fail(std::string("\"") + c + "\"");
    ++pos_;
    return true;
}

bool JsonReader::BeginObject() {
    first_ = true;
    return Expect('{');
}

bool JsonReader::NextKey(std::string& key) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        first_ = false;
        return false;
    }
    if (!first_ && (pos_ >= text_.size() || text_[pos_] != ',')) return Fail("\",\" or \"}\"");
    if (!first_) ++pos_;
    first_ = false;
    return String(key) && Expect(':');
}

bool JsonReader::String(std::string& s) {
    if (!Expect('"')) return false;
    s.clear();
    while (pos_ < text_.size() && text_[pos_] != '"') {
        const char c = text_[pos_++];
        if (c != '\\') {
            s += c;
            continue;
        }
        if (pos_ >= text_.size()) break;
        const char e = text_[pos_++];
        switch (e) {
            case 'n': s += '\n'; break;
            case 'r': s += '\r'; break;
            case 't': s += '\t'; break;
            case 'b': s += '\b'; break;
            case 'f': s += '\f'; break;
            case 'u': {
                unsigned code = 0;
                for (int k = 0; k < 4; ++k, ++pos_) {
                    const char h = pos_ < text_.size() ? text_[pos_] : 'x';
                    const int digit = h >= '0' && h <= '9'   ? h - '0'
                                      : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                      : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                             : -1;
                    if (digit < 0) return Fail("four hexadecimal digits");
                    code = code * 16 + static_cast<unsigned>(digit);
                }
                if (code >= 0x80 && code <= 0xFF) s += static_cast<char>(code);
                else AppendUtf8(s, code);
                break;
            }
            default: s += e;  // \" \\ \/
        }
    }
    return Expect('"');
}

bool JsonReader::Count(long long& value) {
    SkipBlanks();
    const size_t start = pos_;
    value = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && pos_ - start < 18)
        value = value * 10 + (text_[pos_++] - '0');
    if (pos_ == start || (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9'))
        return Fail("a whole number from 0 on");
    return true;
}

bool JsonReader::Value(std::string_view& raw) {
    SkipBlanks();
    const size_t start = pos_;
    std::string closers;  // of the objects and arrays open, innermost last
    bool inString = false;
    for (; pos_ < text_.size(); ++pos_) {
        const char c = text_[pos_];
        if (inString) {
            if (c == '\\') ++pos_;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            closers += c == '{' ? '}' : ']';
        } else if (c == '}' || c == ']') {
            if (closers.empty()) break;
            if (c != closers.back()) return Fail(std::string("\"") + closers.back() + "\"");
            closers.pop_back();
        } else if (closers.empty() && (c == ',' || c == ' ' || c == '\n' || c == '\r' || c == '\t')) {
            break;
        }
        if (closers.empty() && !inString && (c == '"' || c == '}' || c == ']') && pos_ > start) {
            ++pos_;  // a string, object or array ends the value
            break;
        }
    }
    if (pos_ == start || pos_ > text_.size() || inString || !closers.empty()) return Fail("a value");
    raw = text_.substr(start, pos_ - start);
    return true;
}

bool JsonReader::AtEnd() {
    SkipBlanks();
    return pos_ == text_.size() || Fail("the end of the text");
}

}  // namespace varigap::exports
