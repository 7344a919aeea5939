// The run's counts table, distinct reads and summary as files: what is written reads back the
// same whatever the names hold, and a damaged summary is refused with the place of the damage.
#include <gtest/gtest.h>

#include "export/counts_table.h"
#include "export/distinct_table.h"
#include "export/summary.h"
#include "support/temp_dir.h"

namespace varigap::test {
namespace {

TEST(ExportTables, WhatIsWrittenReadsBackTheSameWhateverTheNamesHold) {
    const std::string names[] = {"S1",
                                 "quote \" backslash \\ slash /",
                                 "tab\tinside",
                                 "caf\xC3\xA9 UTF-8",
                                 "caf\xE9 Latin-1",
                                 "bell \x07",
                                 "colon:semicolon;"};
    TempDir d;
    std::string error;
    auto readBack = [&](const std::string& text, auto& table) {
        d.Write("t.tsv", text);
        TextReader in;
        in.Open(d.Path("t.tsv"));
        EXPECT_TRUE(table.Read(in, error)) << error;
    };
    for (const auto& name : names) {
        exports::Summary s;
        s.program = "varigap-cli";
        s.version = name;
        s.parameters = R"({"reparse": "5:1", "odd": [1, {"}": "]\""}]})";
        s.Add(s.Sample(name), "reads", 123456789012345678);
        s.Add(s.Sample(name), "region:" + name + ":placed", 0);
        s.Declare(s.Sample(name), name + ":2");
        s.AddLength(s.Sample(name), name + ":1", 46, 9);
        exports::Summary summary;
        ASSERT_TRUE(summary.Read(s.Json(), error)) << error;
        EXPECT_EQ(summary.Json(), s.Json()) << name;

        exports::CountsTable c, counts;
        c.Add(c.Row({name, "1", name, "ACGT", name}), c.Sample(name), 7);
        readBack(c.Text(), counts);
        EXPECT_EQ(counts.Text(), c.Text()) << name;

        exports::DistinctTable r, reads;
        r.Add(r.Sample(name), "ACGT", 3);
        std::string text, again;
        r.Write([&](const std::string& piece) { text += piece; });
        readBack(text, reads);
        reads.Write([&](const std::string& piece) { again += piece; });
        EXPECT_EQ(again, text) << name;
    }
}

TEST(ExportTables, ADamagedSummaryIsRefusedWithThePlaceOfTheDamage) {
    const struct {
        std::string text, error;
    } cases[] = {
        {"", "byte 1: \"{\" expected"},
        {R"({"program": 3})", "byte 13: \"\"\" expected"},
        {R"({"samples": {"S": {"reads": -1}}})", "byte 29: a whole number from 0 on expected"},
        {R"({"samples": {"S": {"reads": 1}})", "byte 32: \",\" or \"}\" expected"},
        {R"({"parameters": {"a": [1}})", "byte 24: \"]\" expected"},
        {R"({} {})", "byte 4: the end of the text expected"},
        {R"({"vr_lengths": {"S": {"p6:1": {"46": -2}}}})", "byte 38: a whole number from 0 on expected"},
    };
    for (const auto& c : cases) {
        exports::Summary s;
        std::string error;
        EXPECT_FALSE(s.Read(c.text, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(ExportTables, LengthsOfVariableRegionsAddUpOverPartsInTheTemplatesOrder) {
    // Two shards: the second saw a length, and a region, the first did not.
    exports::Summary first, second, total;
    for (auto* s : {&first, &second}) s->Declare(s->Sample("S"), "p6:1");
    first.AddLength(0, "p6:1", 46, 2);
    second.Declare(0, "p6:2");
    second.AddLength(0, "p6:1", 40, 1);
    second.AddLength(0, "p6:1", 46, 3);
    for (const auto* s : {&first, &second}) total.Add(*s);
    const auto& lengths = total.LengthsOf(0);
    ASSERT_EQ(lengths.size(), 2u);
    EXPECT_EQ(lengths[0].first, "p6:1");
    EXPECT_EQ(lengths[0].second, (exports::Summary::Lengths{{40, 1}, {46, 5}}));
    EXPECT_EQ(lengths[1].first, "p6:2");
    EXPECT_TRUE(lengths[1].second.empty());
}

}  // namespace
}  // namespace varigap::test
