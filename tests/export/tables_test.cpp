// The run's counts table, distinct reads and summary as files: what is written reads back the
// same whatever the names hold, distinct reads beyond the memory given make the same table, and
// a damaged summary is refused with the place of the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

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

TEST(ExportTables, DistinctReadsBeyondTheMemoryGivenGiveTheTableOfATableInMemory) {
    TempDir d;
    using Keys = exports::DistinctTable::Keys;
    exports::DistinctTable whole, spilled(Keys::Bases, 32768, d.Path()), hashed(Keys::Hashes, 32768, d.Path());
    // Three jobs of a run, one of them meeting the samples in another order.
    std::vector<std::unique_ptr<exports::DistinctTable>> jobs;
    for (int j = 0; j < 3; ++j) jobs.push_back(std::make_unique<exports::DistinctTable>(Keys::Bases, 16384, d.Path()));
    const std::vector<std::string> samples{"S1", "S2", "S3"};
    for (auto* t : {&whole, &spilled, &hashed, jobs[0].get(), jobs[1].get()})
        for (const auto& s : samples) t->Sample(s);
    jobs[2]->Sample("S3");
    unsigned x = 29;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        const std::string& sample = samples[(x >> 8) % 3];
        const std::string read = std::string((x >> 12) % 40, 'A') + "CG"[(x >> 20) % 2] + std::to_string(x >> 26);
        const long long reads = 1 + (x >> 16) % 3;
        for (auto* t : {&whole, &spilled, &hashed, jobs[static_cast<size_t>(i) % 3].get()})
            t->Add(t->Sample(sample), read, reads);
    }
    exports::DistinctTable run(Keys::Bases, 16384, d.Path());
    for (auto& job : jobs) run.Add(std::move(*job));
    std::string expected, text;
    whole.Write([&](const std::string& piece) { expected += piece; });
    for (auto* t : {&spilled, &run}) {
        text.clear();
        t->Write([&](const std::string& piece) { text += piece; });
        EXPECT_EQ(text, expected);
    }
    EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 10000);
    for (const auto& s : samples) {
        EXPECT_EQ(hashed.Distinct(s), whole.Distinct(s)) << s;
        EXPECT_EQ(hashed.Reads(s), whole.Reads(s)) << s;
    }
    // A table that cannot keep its rows is not taken for a whole one.
    exports::DistinctTable lost(Keys::Bases, 64, d.Path("gone"));
    for (const char* read : {"ACGT", "CCGG", "TTAA"}) lost.Add(lost.Sample("S1"), read, 1);
    exports::Summary summary;
    summary.Add(summary.Sample("S1"), "reads", 3);
    std::string error;
    EXPECT_FALSE(summary.TakeDistinct(lost, error));
    EXPECT_EQ(error, "the distinct reads could not be kept: a temporary file in " + d.Path("gone") +
                         " could not be made: No such file or directory");
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
