// String helpers: clamped substrings, leading-character stripping, file-name-safe names, numbers.
#include "core/strings.h"

#include <gtest/gtest.h>

namespace varigap {
namespace {

TEST(StringHelpers, SubStrClampsToTheStringAndNeverFails) {
    EXPECT_EQ(SubStr("abcdef", 0, 3), "abc");
    EXPECT_EQ(SubStr("abcdef", 4, 99), "def");
    EXPECT_EQ(SubStr("abcdef", 5, 2), "");
    EXPECT_EQ(SubStr("abcdef", 7, 9), "");
    EXPECT_EQ(SubStr("abcdef", -5, 0), "");
    EXPECT_EQ(SubStr("", 1, 1), "");
    EXPECT_EQ(CharAt("abc", 0), "");
    EXPECT_EQ(CharAt("abc", 4), "");
    EXPECT_EQ(CharAt("abc", 2), "b");
}

TEST(StringHelpers, StripLeadingTouchesOnlyTheFront) {
    struct Case { const char* in; const char* chars; const char* out; } cases[] = {
        {">>  name", ">", "name"}, {"a>b", ">", "a>b"}, {" \t x ", "", "x "},
        {"  61 acgt", "0123456789", "acgt"}, {"", ">", ""}, {">>>", ">", ""},
    };
    for (auto c : cases) {
        std::string s = c.in;
        StripLeading(s, c.chars);
        EXPECT_EQ(s, c.out) << c.in;
    }
}

TEST(StringHelpers, MakeAlnumNameKeepsLettersAndDigitsFromTheFirstLetter) {
    EXPECT_EQ(MakeAlnumName(" 12 Poa annua (clone 3)", 8, ".txt"), "Poaannua.txt");
    EXPECT_EQ(MakeAlnumName("12 Festuca-rub_ra x", 8, ".txt"), "Festucar.txt");
    EXPECT_EQ(MakeAlnumName("12345", 8, ".txt"), ".txt");
    EXPECT_EQ(MakeAlnumName(" \t ", 8, ".txt"), "");
    EXPECT_EQ(MakeAlnumName("", 8, ".txt"), "");
    EXPECT_EQ(MakeAlnumName("Zea mays 2", 20, ""), "Zeamays2");
}

TEST(StringHelpers, LeadingNumberReadsTheNumberATextBeginsWith) {
    bool ok = false;
    EXPECT_EQ(LeadingNumber(" 80.5", &ok), 80.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(LeadingNumber("1 2 3"), 123);  // blanks anywhere are ignored
    EXPECT_EQ(LeadingNumber("-7xyz"), -7);
    EXPECT_EQ(LeadingNumber("&H10"), 16);
    EXPECT_EQ(LeadingNumber("&o17"), 15);
    EXPECT_EQ(LeadingNumber("&HFFFF"), -1);
    EXPECT_EQ(LeadingNumber("1e2"), 100);
    EXPECT_EQ(LeadingNumber("abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(LeadingNumber("", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
}

}  // namespace
}  // namespace varigap
