// 1-based string helpers shared by the readers, the aligner and the windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varigap {

// Characters first..last of s, clamped to the string; "" when nothing is left.
std::string SubStr(std::string_view s, long first, long last);
// The character at pos, or "" outside the string.
std::string CharAt(const std::string& s, long pos);
// Removes from the front of s every character in `chars`, a Tab or a blank.
void StripLeading(std::string& s, const std::string& chars = "");
// A file-name-safe name: the letters and digits of s from its first letter on, at most
// maxLen of them, then suffix; "" when s holds nothing but blanks and Tabs.
std::string MakeAlnumName(const std::string& s, int maxLen, const std::string& suffix);
// s with every control character (below 32, and DEL) as a blank: a name written as text can
// then neither break its line nor drive the terminal it is shown on.
std::string ControlsAsBlanks(std::string s);
// Plain decimal text of a number, "-" for negatives, no padding.
std::string Str(long long v);
// ASCII upper case of one character / of a string.
inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
std::string ToUpper(std::string s);
// The number a text begins with, as the settings reader and the length boxes read it:
// blanks, Tabs and line feeds anywhere are ignored; an optional sign, digits, a decimal
// point and an exponent; &H and &O introduce hexadecimal and octal numbers; 0 when the
// text does not begin with a number. `ok` (optional) tells whether a number was found.
double LeadingNumber(const std::string& text, bool* ok = nullptr);

// The fields of a line of a tab-separated table (one more than the Tabs in it).
std::vector<std::string> SplitTabs(const std::string& line);

}  // namespace varigap
