// Variable region files: every entry layout, the files kept in memory, the exact run match
// against a plain depth-first search, and the contained search against InStrBases.
#include "engine/detail/vr_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/bases.h"
#include "core/messages.h"
#include "engine/parse_support.h"

namespace varigap {
namespace {

using test::ParseCase;

TEST(VRFiles, EveryLayoutOfAnEntryIsRead) {
    struct Case {
        const char* text;
        std::vector<std::array<std::string, 3>> entries;  // raw bases, cleaned bases, taxa
    } cases[] = {
        {"ACGT>Poa annua<\r\n", {{"ACGT", "ACGT", "Poa annua"}}},
        {"  ac 12\n# a comment\n\tgt-\n>Poa\n  # another\n annua<ignored>x<\n", {{"ac 12gt-", "acgt", "Poaannua"}}},
        {"> deleted in Briza <\nAA>\n<\n", {{"", "", " deleted in Briza "}, {"AA", "AA", ""}}},
        {"A>x<B>y<\nGG>unfinished\n", {{"A", "A", "x"}}},
        {"RYN u>amb<", {{"RYN u", "RYNu", "amb"}}},
        {"", {}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        TextReader f;
        f.Open(dir.Write("v.txt", c.text));
        VREntryReader reader(f);
        std::vector<std::array<std::string, 3>> got;
        for (VREntry e; reader.Next(e);) got.push_back({e.rawBases, e.bases, e.taxa});
        EXPECT_EQ(got, c.entries) << c.text;
    }
}

// Plain variants over plain stretches take the case-blind substring search (long ones by their
// 16-base heads: the first few by a scan, the others by an index), the rest InStrBases itself:
// the same first positions either way.
TEST(VRFiles, ContainedSearchFindsWhatInStrBasesFinds) {
    std::mt19937 rng(7);
    const std::string letters = "ACGTacgtACGTNRYuU-";
    auto random = [&](size_t n, size_t alphabet) { return test::Draw(rng, n, letters.substr(0, alphabet)); };
    ParseCase c;
    for (int round = 0; round < 600; ++round) {
        size_t alphabet = round % 2 ? 8 : letters.size();
        bool longer = round % 4 < 2;
        std::string text = random(rng() % (longer ? 300 : 30), alphabet);
        if (round % 5 == 0)  // a short motif over and over: the same 16 bases at many positions
            for (std::string motif = random(1 + rng() % 4, 4); text.size() < 200;) text += motif;
        SeqStretch s(text);
        std::string entries;
        for (int k = 0, n = round % 3 ? 12 : 48; k < n; ++k) {  // 48: past the scanned ones
            std::string b = random(rng() % 4, round % 3 ? 8 : letters.size());
            if (longer && rng() % 4) {  // a piece of the stretch, now and then changed
                b = s.Text().substr(rng() % (s.Text().size() + 1), 10 + rng() % 30);
                if (!b.empty() && rng() % 3 == 0) b[rng() % b.size()] = letters[rng() % alphabet];
            }
            StripNonBases(b);
            entries += b + ">t<\n";
        }
        VRFile file;
        c.dir.Write("v" + Str(round) + ".txt", entries);
        ASSERT_TRUE(OpenVRFile(c.st, "v" + Str(round) + ".txt", file));
        for (const VRVariant& v : *file.entries) {
            int expected = v.bases.empty() ? 0 : InStrBases(v.bases, s.Text(), 1);
            if (expected == 0 && !v.bases.empty()) continue;
            ASSERT_EQ(ReadNextContainedVariant(file, s), expected) << s.Text() << " / " << v.bases;
            EXPECT_EQ(file.current, &v);
        }
        EXPECT_EQ(ReadNextContainedVariant(file, s), -1);
    }
}

TEST(VRFiles, KeptFilesAreReadAgainWhenTheyChangeAndMissingOnesReportedEveryTime) {
    ParseCase c;
    std::string path = c.dir.Write("v.txt", "AC>one<\n");
    VRFile a, b;
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", a) && OpenVRFile(c.st, "V.TXT", b));
    EXPECT_EQ(a.entries, b.entries);    // read once
    c.dir.Write("v.txt", "AG>two<\n");  // same size: only the time tells
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", b));
    c.dir.Write("v.txt", "AGT>three<\n");
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", a));
    EXPECT_EQ(b.entries->at(0).taxa + " " + a.entries->at(0).taxa, "two three");
    std::filesystem::remove(path);
    EXPECT_FALSE(OpenVRFile(c.st, "v.txt", b) || OpenVRFile(c.st, "v.txt", b));
    EXPECT_EQ(c.Texts(),
              std::vector<std::string>(2, "Error: Varigap Variable Region File \"" + path + "\" not found."));
}

// The run match as a plain depth-first search over the files, each opened anew at every call:
// the left-over count, and in `fill` the bases and taxa of the variants chosen.
int LiteralMatchVRRun(State& st, const std::vector<std::string>& files, size_t at, const std::string& s,
                      std::string& fill) {
    fill.clear();
    if (at == files.size()) return static_cast<int>(s.size());
    TextReader f;
    if (!OpenInputFile(st, f, st.session.vrFilePath, files[at], "Varigap Variable Region File")) return -1;
    VREntryReader entries(f);
    int best = -1;
    for (VREntry e; entries.Next(e);) {
        if (e.bases.size() > s.size() || ToUpper(e.bases) != ToUpper(s.substr(0, e.bases.size()))) continue;
        std::string sub;
        int r = LiteralMatchVRRun(st, files, at + 1, s.substr(e.bases.size()), sub);
        if (r != -1 && (best == -1 || r < best)) {
            best = r;
            fill = e.bases + "/" + e.taxa + " " + sub;
        }
        if (r == 0) break;
    }
    return best;
}

// Same result, same variants chosen, same reports of missing files.
TEST(VRFiles, RunMatchChoosesWhatThePlainSearchChooses) {
    std::mt19937 rng(11);
    auto bases = [&](size_t n) { return test::Draw(rng, n, "ACgt"); };
    for (int round = 0; round < 300; ++round) {
        ParseCase c;
        std::vector<std::string> files;
        std::string s;
        for (int v = 1, n = 1 + static_cast<int>(rng() % 4); v <= n; ++v) {
            std::string file;
            for (int k = 0, entries = 1 + static_cast<int>(rng() % 6); k < entries; ++k) {
                // Variants of eight bases and more are looked up by their first eight.
                const size_t length = rng() % 3 == 0 ? 6 + rng() % 5 : rng() % 3;
                std::string b = rng() % 5 == 0 ? "" : bases(length), taxa = "t" + Str(v) + "." + Str(k);
                file += rng() % 2 ? b + ">" + taxa + "<\n" : b + "\n>\n" + taxa + "\n<\n";
                if (rng() % 3 == 0) s += b;
            }
            files.push_back("v" + Str(v) + ".txt");
            if (rng() % 10) c.dir.Write(files.back(), file);
        }
        s += bases(rng() % 3);
        std::string fill, chosen;
        int literal = LiteralMatchVRRun(c.st, files, 0, s, fill);
        std::vector<std::string> literalReports = c.Texts();
        c.ts.msgs.Clear();
        RunFilling filling;
        ASSERT_EQ(int(MatchVRRun(c.st, files, s, filling)), literal) << s;
        EXPECT_EQ(c.Texts(), literalReports);
        for (const ChosenVariant& v : filling) chosen += v.variant->bases + "/" + v.variant->taxa + " ";
        EXPECT_EQ(chosen, fill);
    }
}

TEST(VRFiles, LongRunsNeitherTakeForeverNorReportForever) {
    // 15 VRs with the empty variant and every variant of one or two bases: no perfect filling
    // of 40 bases exists, so nothing stops the search early.
    std::string file = ">none<\n", deletions;
    for (char a : std::string("ACGT")) {
        file += std::string(1, a) + ">x<\n";
        for (char b : std::string("ACGT")) file += std::string{a, b} + ">y<\n";
    }
    for (int k = 0; k < 40; ++k) deletions += ">x<\n";
    ParseCase c;
    c.dir.Write("short.txt", file);
    c.dir.Write("a.txt", deletions);
    RunFilling filling;
    EXPECT_EQ(int(MatchVRRun(c.st, std::vector<std::string>(15, "short.txt"), std::string(40, 'A'), filling)), 10);
    // A missing third file after 40 x 40 fillings of the two before: 1000 reports at most.
    EXPECT_EQ(int(MatchVRRun(c.st, {"a.txt", "a.txt", "gone.txt"}, "AC", filling)), -1);
    EXPECT_EQ(c.Texts().size(), 1000u);
}

}  // namespace
}  // namespace varigap
