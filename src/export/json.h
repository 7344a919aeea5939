// JSON as the run summary needs it: strings quoted for writing, and a reader of objects,
// strings and whole numbers that keeps any other value as its text.
#pragma once

#include <string>
#include <string_view>

namespace varigap::exports {

// `s` as a JSON string: valid UTF-8 kept, control characters and bytes that are not UTF-8
// (taken as Latin-1) written as \u00XX.
std::string JsonQuote(std::string_view s);

// Reads one JSON text from the front. Each call skips blanks first; a call that fails leaves
// the reason in Error().
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    bool BeginObject();
    // The next key of the object begun (after its ":"); false at its end, which is consumed.
    bool NextKey(std::string& key);
    // A string; \u00XX from 0x80 on reads back as the one byte JsonQuote wrote it for.
    bool String(std::string& s);
    bool Count(long long& value);       // a whole number from 0 on
    bool Value(std::string_view& raw);  // any value, as its text
    bool AtEnd();                       // nothing but blanks left
    const std::string& Error() const { return error_; }

private:
    void SkipBlanks();
    bool Fail(const std::string& expected);
    bool Expect(char c);

    std::string_view text_;
    size_t pos_ = 0;
    bool first_ = true;  // no key read yet in the object begun last
    std::string error_;
};

}  // namespace varigap::exports
