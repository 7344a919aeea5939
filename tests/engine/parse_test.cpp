// Parsing a sequence along a template: what the display lines show after Find Template and
// after a reparse with another variant.
#include "engine/parse.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/parse_support.h"
#include "engine/vr_files.h"

namespace varigap {
namespace {

using test::Found;
using test::ParseCase;
using V = std::vector<std::string>;

const std::string kCR1 = "TGGATGGGAT", kCR2 = "GGACTCAAAA", kCR3 = "CGAATGGAGT";

TEST(Parse, RunsOfVariableRegionsAreFilledByConsecutiveVariants) {
    struct Case {
        const char* what;
        std::string file1, file2;  // file2 empty: a single VR
        std::string vrBases;
        V lines;
        std::string sel1, sel2;
    } cases[] = {
        {"each VR is a listed variant, case ignored", "ac>Poa<\nacgt>Festuca<\n", "", "ACGT",
         {"C1:1-10", "V1:11-14", "C2:15-24"}, "acgt/1", ""},
        {"two VRs filled by A then B", "TT>a<\nAAA>b<\n", "GG>c<\nCC>d<\n", "AAACC",
         {"C1:1-10", "V1:11-13", "V2:14-15", "C2:16-25"}, "AAA/1", "CC/1"},
        {"the fewest bases left over", "AA>a<\nAAA>b<\n", "A>c<\nT>d<\n", "AAATTT",
         {"C1:1-10", "V1:11-13", "V2:14-14", "-?15-16", "C2:17-26"}, "AAA/1", "T/1"},
        {"equally few left over: the earlier filling", "AA>a<\nAAA>b<\n", "AT>c<\nT>d<\n", "AAATG",
         {"C1:1-10", "V1:11-12", "V2:13-14", "-?15-15", "C2:16-25"}, "AA/1", "AT/1"},
        {"the first perfect filling wins", "A>a<\nAA>b<\n", "AT>c<\nT>d<\n", "AAT",
         {"C1:1-10", "V1:11-11", "V2:12-13", "C2:14-23"}, "A/1", "AT/1"},
        {"left-over bases form their own segment", "AC>a<\n", "", "ACGG",
         {"C1:1-10", "V1:11-12", "-?13-14", "C2:15-24"}, "AC/1", ""},
        {"a whole-stretch variant later in the file wins", "AC>a<\nACGG>b<\n", "", "ACGG",
         {"C1:1-10", "V1:11-14", "C2:15-24"}, "ACGG/1", ""},
        {"an exact deletion is resolved again", ">gone<\nTT>x<\n", "", "",
         {"C1:1-10", "V1:11-10", "C2:11-20"}, "<Deletion>/1", ""},
    };
    for (const Case& c : cases) {
        ParseCase p;
        p.CR(kCR1).VR("v1.txt", c.file1);
        if (!c.file2.empty()) p.VR("v2.txt", c.file2);
        p.Bases(c.vrBases).CR(kCR2);
        p.Parse();
        EXPECT_EQ(p.Lines(), c.lines) << c.what;
        EXPECT_EQ(p.Sel(1), c.sel1) << c.what;
        EXPECT_EQ(c.file2.empty() ? "" : p.Sel(2), c.sel2) << c.what;
        EXPECT_TRUE(p.Texts().empty()) << c.what;
    }
}

TEST(Parse, ACleanTemplateAlternatesConservedAndVariableLines) {
    ParseCase p;
    p.Bases("GG").CR(kCR1).VR("intron.txt", "# trnL intron\nAAT>x<\nAATTC\n>Poa annua<\n", "aattc").CR(kCR2);
    p.VR("spacer.txt", "GAT>Briza<\n", "GAT").CR(kCR3).Bases("TTT");
    p.Parse();
    EXPECT_EQ(p.Lines(), (V{"-?1-2", "C1:3-12", "V1:13-17", "C2:18-27", "V2:28-30", "C3:31-40", "-?41-43"}));
    EXPECT_EQ(p.st.VRPoss[1].poss[1].taxa, "Poa annua");
    EXPECT_TRUE(test::SegmentsTile(p.st));
}

TEST(Parse, UnidentifiedRegionsAreSearchedInsideTheirStretch) {
    struct Case {
        const char* what;
        Found cr1, cr2;
        std::string file, vrBases;
        V lines;
        std::string sel;
    } cases[] = {
        {"a variant inside the stretch", Found::Yes, Found::Yes, "ACG>b<\nGT>a<\nCGTA>c<\n", "TACGTA",
         {"C1:1-10", "-?11-12", "V1?13-16", "C2:17-26"}, "CGTA/3"},
        {"an ambiguity letter matches a compatible base", Found::Yes, Found::Yes, "GRCG>r<\n", "AGACGA",
         {"C1:1-10", "-?11-11", "V1?12-15", "-?16-16", "C2:17-26"}, "GRCG/1"},
        {"no variant inside", Found::Yes, Found::Yes, "GGGG>x<\n", "TACGTA",
         {"C1:1-10", "V1?11-16", "C2:17-26"}, "/0"},
        {"no CR found: the whole sequence is one group", Found::No, Found::No, "CGTA>c<\n", "TACGTA",
         {"C1?1-10", "-?11-12", "V1?13-16", "C2?17-26"}, "CGTA/1"},
        {"no CR and no variant found: no line at all", Found::No, Found::Twice, "GGGG>x<\n", "TACGTA", {}, "/0"},
    };
    for (const Case& c : cases) {
        ParseCase p;
        p.CR(kCR1, c.cr1).VR("v.txt", c.file, c.vrBases).CR(kCR2, c.cr2);
        p.Parse();
        EXPECT_EQ(p.Lines(), c.lines) << c.what;
        EXPECT_EQ(p.Sel(1), c.sel) << c.what;
        EXPECT_TRUE(test::SegmentsTile(p.st)) << c.what;
        EXPECT_TRUE(p.Texts().empty()) << c.what;  // "Cannot figure out" only when asked for
    }
}

TEST(Parse, ExactMatchTakesAmbiguityLettersLiterally) {
    ParseCase p;
    p.CR(kCR1).VR("v.txt", "GRCG>r<\n", "GRCG").CR(kCR2);
    p.Parse();
    EXPECT_EQ(p.Lines(), (V{"C1:1-10", "V1:11-14", "C2:15-24"}));
}

TEST(Parse, LimitsAndMissingFilesAreReported) {
    // A run of 16 VRs is left to the group search.
    ParseCase runs;
    runs.CR(kCR1);
    for (int v = 1; v <= 16; ++v) runs.VR("v.txt", v == 1 ? "A>a<\n" : "-", "A");
    runs.CR(kCR2);
    ParseSequence(runs.st);
    EXPECT_EQ(runs.Texts(), V{"Error: 16 consecutive variable regions. Can only handle MAXNUMCONSECUTIVEVRS = 15."});
    for (int v = 1; v <= 16; ++v) EXPECT_EQ(int(runs.st.VRPoss[v].numPoss), 0);

    // 255 regions: the first 254 are parsed, so the last VR has no CR after it.
    ParseCase regions;
    for (int k = 1; k <= 127; ++k) regions.CR("AAAA").VR("v.txt", k == 1 ? "C>c<\n" : "-", "C");
    ++regions.st.numCRs[1];
    ParseSequence(regions.st);
    EXPECT_EQ(regions.Texts(), V{"VARIGAP Error: numSRegions exceeds array bound. MAXNUMREGIONS = 254"});
    EXPECT_EQ(int(regions.st.numSRegions), 254);
    EXPECT_EQ(regions.Sel(126) + regions.Sel(127), "C/1/0");

    // Missing files and empty names: reported at the run match and at the search.
    ParseCase missing;
    missing.CR(kCR1).VR("gone.txt", "-", "AC").CR(kCR2).VR("", "-", "GT").CR(kCR3);
    missing.Parse();
    std::string gone = "Error: Varigap Variable Region File \"" + missing.dir.Path("gone.txt") + "\" not found.";
    std::string empty = "Error: Varigap Variable Region File \"" + missing.dir.Path() + "/\" not found.";
    EXPECT_EQ(missing.Texts(), (V{gone, empty, gone, empty}));
    EXPECT_EQ(missing.Lines(), (V{"C1:1-10", "V1?11-12", "C2:13-22", "V2?23-24", "C3:25-34"}));

    // A missing second file of a run: once for each variant tried for the first VR.
    ParseCase inner;
    inner.CR(kCR1).VR("v1.txt", ">a<\nA>b<\nAC>c<\nG>d<\n", "ACGT").VR("gone.txt", "-").CR(kCR2);
    inner.st.showVRWarnings = true;
    ParseSequence(inner.st);
    gone = "Error: Varigap Variable Region File \"" + inner.dir.Path("gone.txt") + "\" not found.";
    EXPECT_EQ(inner.Texts(), (V{gone, gone, gone, "Cannot figure out variable region v1.txt"}));
}

TEST(Parse, TooManyDisplayLinesAreCutAtTheLimitWithOneMessage) {
    ParseCase p;
    for (int k = 1; k <= 127; ++k) p.CR("AAAA").VR("v.txt", k == 1 ? "C>c<\nCG>cg<\n" : "-", "CGT");  // T is left over
    p.Parse();
    V text{"Too many display lines.  MAXNUMDISPLAYLINES = 254"};
    EXPECT_EQ(p.Texts(), text);
    EXPECT_EQ(int(p.st.numSSegments), 254);
    EXPECT_EQ(p.Lines()[253], "V85:593-594");
    p.ts.msgs.Clear();
    SelectVRPossibility(p.st, 2, 1, 1);
    EXPECT_EQ(p.Texts(), text);
    EXPECT_EQ(int(p.st.numSSegments), 254);
}

TEST(Parse, ReparseMovesTheChosenVariantIntoPlace) {
    ParseCase p;
    p.CR(kCR1).VR("v1.txt", ">gone<\nACG>b<\nCGTA>c<\n", "TACGTA").CR(kCR2, Found::No);
    p.VR("v2.txt", "CC>d<\n", "CC").CR(kCR3).Bases("TT");
    p.Parse();
    const V parsed{"C1:1-10", "-?11-12", "V1?13-16", "C2?17-26", "V2?27-28", "C3:29-38", "-?39-40"};
    ASSERT_EQ(p.Lines(), parsed);
    ASSERT_EQ(p.Sel(1), "CGTA/3");

    struct Case {
        const char* what;
        int line, vr, sel;
        V lines;
        int logicErrors;
    } cases[] = {
        {"possibility 0", 3, 1, 0, parsed, 0},
        {"one above the possibilities", 3, 1, 4, parsed, 0},
        {"a line that is not one VR", 2, 1, 1, parsed, 1},
        {"a line of another VR", 5, 1, 1, parsed, 1},
        {"a line beyond the display", 7, 1, 1, parsed, 1},
        {"another variant", 3, 1, 2, {"C1:1-10", "-?11-11", "V1?12-14", "C2?15-24", "-?25-26", "V2?27-28", "C3:29-38", "-?39-40"}, 0},
        {"the deletion", 3, 1, 1, {"C1:1-10", "V1?11-10", "C2?11-20", "-?21-26", "V2?27-28", "C3:29-38", "-?39-40"}, 0},
    };
    for (const Case& c : cases) {
        p.Parse();
        p.ts.msgs.Clear();
        SelectVRPossibility(p.st, c.line, c.vr, c.sel);
        EXPECT_EQ(p.Lines(), c.lines) << c.what;
        EXPECT_EQ(p.LogicErrors(), c.logicErrors) << c.what;
        EXPECT_TRUE(test::SegmentsTile(p.st)) << c.what;
    }
}


// The second VR's variant stands at its new segment start but runs on into CR 2.
TEST(Parse, ReparseNeverRunsAnUnplacedRegionIntoTheNextPlacedOne) {
    ParseCase p;
    p.CR(kCR1).VR("v1.txt", "CCGC>a<\nCC>b<\n", "CCGC").VR("v2.txt", "SCG>s<\n").CR(kCR2);
    p.Parse();
    ASSERT_EQ(p.Lines(), (V{"C1:1-10", "V1?11-14", "V2?15-14", "C2:15-24"}));
    SelectVRPossibility(p.st, 2, 1, 2);
    EXPECT_EQ(p.Lines(), (V{"C1:1-10", "V1?11-12", "V2?13-14", "C2:15-24"}));
}

// Random templates, files and sequences: after the parse and after every reparse the lines
// cover the sequence in order, and a line of several regions is always marked unresolved.
TEST(Parse, SegmentsTileTheSequenceAfterEveryParseAndReparse) {
    std::mt19937 rng(3);
    auto bases = [&](size_t n, const char* alphabet = "ACGT") {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += alphabet[rng() % std::char_traits<char>::length(alphabet)];
        return s;
    };
    auto check = [](const ParseCase& p, const std::string& when) {
        EXPECT_TRUE(test::SegmentsTile(p.st)) << when;
        for (int k = 1; k <= p.st.numSSegments; ++k) {
            const SSegment& g = p.st.SSegments[k];
            EXPECT_TRUE(g.nCRs + g.nVRs == 1 || g.unresolved) << when;
        }
    };
    int logicErrors = 0;
    for (int round = 0; round < 300; ++round) {
        ParseCase p;
        p.Bases(bases(rng() % 4));
        bool lastCR = false;
        for (int r = 0, regions = 1 + static_cast<int>(rng() % 9); r < regions; ++r) {
            lastCR = !lastCR && rng() % 2;
            if (lastCR) {
                int f = static_cast<int>(rng() % 10);
                p.CR(bases(4 + rng() % 5), f < 7 ? Found::Yes : f < 9 ? Found::No : Found::Twice);
                int c = p.st.numCRs[1];
                if (f < 7 && rng() % 3 == 0) p.st.crStartPos[1][c] += 1;  // placed a little short
                if (f < 7 && rng() % 3 == 0) p.st.crEndPos[1][c] -= 1;
                continue;
            }
            std::string held = bases(rng() % 6, "ACGTacgt");
            std::string file;
            for (int k = 0, n = static_cast<int>(rng() % 6); k < n; ++k) {
                int kind = static_cast<int>(rng() % 5);
                std::string b = kind == 0 ? "" : kind == 1 ? held : kind == 2 ? held.substr(rng() % (held.size() + 1))
                                                              : bases(1 + rng() % 3, "ACGTRN");
                file += b + ">t" + Str(k) + "<\n";
            }
            p.VR("v" + Str(r) + ".txt", rng() % 15 == 0 ? "-" : file, held);
        }
        p.Bases(bases(rng() % 4));
        p.Parse();
        std::string when = "round " + Str(round) + " " + p.st.actSeq;
        check(p, when);
        logicErrors += p.LogicErrors();
        V parsed = p.Lines();
        for (size_t line = 1; line <= parsed.size(); ++line) {
            p.Parse();
            const SSegment g = p.st.SSegments[static_cast<long long>(line)];
            if (g.nVRs != 1 || g.nCRs != 0) continue;
            for (int sel = 1; sel <= p.st.VRPoss[g.region].numPoss; ++sel) {
                p.Parse();
                p.ts.msgs.Clear();
                SelectVRPossibility(p.st, static_cast<int>(line), g.region, sel);
                check(p, when + " line " + Str(static_cast<long long>(line)) + " possibility " + Str(sel));
                logicErrors += p.LogicErrors();
            }
        }
    }
    EXPECT_EQ(logicErrors, 0);
}

}  // namespace
}  // namespace varigap
