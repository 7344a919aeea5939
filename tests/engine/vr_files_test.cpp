// Variable region files: every entry layout, the files kept in memory, the exact run match
// against a plain depth-first search, and the contained search against InStrBases.
#include "engine/vr_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/bases.h"
#include "engine/parse_support.h"

namespace varigap {
namespace {

using test::ParseCase;

std::vector<VREntry> ReadAll(const std::string& path) {
    TextReader f;
    f.Open(path);
    VREntryReader reader(f);
    std::vector<VREntry> out;
    for (VREntry e; reader.Next(e);) out.push_back(e);
    return out;
}

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
        std::vector<VREntry> got = ReadAll(dir.Write("v.txt", c.text));
        ASSERT_EQ(got.size(), c.entries.size()) << c.text;
        for (size_t k = 0; k < got.size(); ++k)
            EXPECT_EQ((std::array<std::string, 3>{got[k].rawBases, got[k].bases, got[k].taxa}), c.entries[k]) << c.text;
    }
}

// Plain variants over plain stretches take the case-blind substring search (by an index of
// 16-base heads for long ones); everything else the IUPAC-aware one. Both must give
// InStrBases' first positions.
TEST(VRFiles, ContainedSearchFindsWhatInStrBasesFinds) {
    std::mt19937 rng(7);
    const std::string letters = "ACGTacgtACGTNRYuU-";
    auto random = [&](size_t n, size_t alphabet) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += letters[rng() % alphabet];
        return s;
    };
    test::ParseCase c;
    for (int round = 0; round < 600; ++round) {
        size_t alphabet = round % 2 ? 8 : letters.size();
        bool longer = round % 4 < 2;
        SeqStretch s(random(rng() % (longer ? 300 : 30), alphabet));
        std::string entries;
        for (int k = 0; k < 12; ++k) {
            std::string b = random(rng() % 4, round % 3 ? 8 : letters.size());
            if (longer && rng() % 4) {  // a piece of the stretch, a little changed now and then
                b = s.Text().substr(rng() % (s.Text().size() + 1), 10 + rng() % 30);
                if (!b.empty() && rng() % 3 == 0) b[rng() % b.size()] = letters[rng() % alphabet];
            }
            StripNonBases(b);
            entries += b + ">t" + Str(k) + "<\n";
        }
        c.dir.Write("v" + Str(round) + ".txt", entries);
        VRFile file;
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
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", a));
    ASSERT_TRUE(OpenVRFile(c.st, "V.TXT", b));  // another case of the same file name
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", b));
    EXPECT_EQ(a.entries, b.entries);  // read once

    c.dir.Write("v.txt", "AG>two<\n");  // same size: only the time tells
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", b));
    EXPECT_EQ(b.entries->at(0).taxa, "two");
    c.dir.Write("v.txt", "AGT>three<\n");
    ASSERT_TRUE(OpenVRFile(c.st, "v.txt", b));
    EXPECT_EQ(b.entries->at(0).taxa, "three");
    EXPECT_EQ(a.entries->at(0).taxa, "one");  // an open file keeps what it read

    std::filesystem::remove(path);
    EXPECT_FALSE(OpenVRFile(c.st, "v.txt", b));
    EXPECT_FALSE(OpenVRFile(c.st, "v.txt", b));
    EXPECT_EQ(c.Texts(), std::vector<std::string>(2, "Error: Varigap Variable Region File \"" + path + "\" not found."));
}

// The run match as a plain depth-first search over the files, each opened anew at every call.
int LiteralMatchVRRun(State& st, int n, int regionIdx, const std::string& s, std::vector<VREntry>& fill) {
    fill.clear();
    if (n == 0) return static_cast<int>(s.size());
    TextReader f;
    if (!OpenInputFile(st, f, st.vrFilePath, VRFileNameOf(st, st.SRegions[regionIdx].num), "Varigap Variable Region File"))
        return -1;
    VREntryReader entries(f);
    int best = -1;
    for (VREntry e; entries.Next(e);) {
        if (e.bases.size() > s.size() || ToUpper(e.bases) != ToUpper(s.substr(0, e.bases.size()))) continue;
        std::vector<VREntry> sub;
        int r = LiteralMatchVRRun(st, n - 1, regionIdx + 1, s.substr(e.bases.size()), sub);
        if (r != -1 && (best == -1 || r < best)) {
            best = r;
            fill.assign(1, e);
            fill.insert(fill.end(), sub.begin(), sub.end());
        }
        if (r == 0) break;
    }
    return best;
}

TEST(VRFiles, RunMatchChoosesWhatThePlainSearchChooses) {
    std::mt19937 rng(11);
    auto bases = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += "ACgt"[rng() % 4];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        ParseCase c;
        c.CR("GGGGGG");
        int n = 1 + static_cast<int>(rng() % 4);
        std::string s;
        for (int v = 1; v <= n; ++v) {
            std::string file;
            for (int k = 0, entries = 1 + static_cast<int>(rng() % 6); k < entries; ++k) {
                std::string b = rng() % 5 == 0 ? "" : bases(rng() % 3);
                file += (rng() % 2 ? b + ">t" + Str(v) + "." + Str(k) + "<\n" : b + "\n>\nt" + Str(v) + "." + Str(k) + "\n<\n");
                if (rng() % 3 == 0) s += b;
            }
            bool missing = rng() % 10 == 0;
            c.VR("v" + Str(v) + ".txt", missing ? "-" : file);
        }
        s += bases(rng() % 3);
        c.Bases(s).CR("CCCCCC");
        BuildSRegions(c.st);

        std::vector<VREntry> fill;
        int literal = LiteralMatchVRRun(c.st, n, 2, s, fill);
        std::vector<std::string> literalMessages = c.Texts();
        c.ts.msgs.Clear();
        ASSERT_EQ(int(MatchVRRun(c.st, n, 2, s)), literal) << s;
        EXPECT_EQ(c.Texts(), literalMessages);
        if (literal < 0) continue;
        StoreRunMatch(c.st, 2, n);
        for (int v = 1; v <= n; ++v) {
            EXPECT_EQ(c.st.VRPoss[v].poss[1].varSeq, fill[v - 1].bases);
            EXPECT_EQ(c.st.VRPoss[v].poss[1].taxa, fill[v - 1].taxa);
        }
        EXPECT_EQ(int(c.st.SRegions[n + 1].endPos), 6 + static_cast<int>(s.size()) - literal);
    }
}

// Reported once for each filling of the VRs before it, as the plain search opens it, but not
// beyond 1000 times: here 40 x 40 fillings.
TEST(VRFiles, AMissingFileDeepInARunIsReportedAtMostAThousandTimes) {
    std::string deletions;
    for (int k = 0; k < 40; ++k) deletions += ">x<\n";
    ParseCase c;
    c.CR("GGGGGG").VR("a.txt", deletions).VR("b.txt", deletions).VR("gone.txt", "-").Bases("AC").CR("CCCCCC");
    BuildSRegions(c.st);
    EXPECT_EQ(int(MatchVRRun(c.st, 3, 2, "AC")), -1);
    EXPECT_EQ(c.Texts().size(), 1000u);
}

TEST(VRFiles, FifteenVRsWithEmptyAndShortVariantsAreMatched) {
    std::string file = ">none<\n";
    for (char a : std::string("ACGT")) {
        file += std::string(1, a) + ">x<\n";
        for (char b : std::string("ACGT")) file += std::string{a, b} + ">y<\n";
    }
    ParseCase c;
    c.CR("GGGGGG");
    for (int v = 1; v <= 15; ++v) c.VR("short.txt", v == 1 ? file : "-");
    std::string s(40, 'A');  // 30 bases at most can be filled: no perfect filling stops the search
    c.Bases(s).CR("CCCCCC");
    BuildSRegions(c.st);
    EXPECT_EQ(int(MatchVRRun(c.st, 15, 2, s)), 10);
}

}  // namespace
}  // namespace varigap
