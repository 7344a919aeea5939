// Parsing a sequence along a template: what the display lines show after Find Template and
// after a reparse with another variant.
#include <gtest/gtest.h>

#include <random>

#include "engine/detail/parse.h"
#include "engine/parse_support.h"

namespace varigap {
namespace {

using test::ParseCase;
using test::SegmentFault;
using V = std::vector<std::string>;

const std::string kCR1 = "TGGATGGGAT", kCR2 = "GGACTCAAAA", kCR3 = "CGAATGGAGT";

int LogicErrors(const ParseCase& p) {
    int n = 0;
    for (const Message& m : p.ts.msgs.shown) n += m.title == "Varigap Logic Error";
    return n;
}

// CR 1, VR 1 (and VR 2 when it has a file) holding `held`, CR 2; both CRs found or neither.
TEST(Parse, VariableRegionsAreIdentifiedFromTheirFiles) {
    struct Case {
        const char* what;
        std::string file1, file2, held;
        bool crsFound;
        std::string lines, sel;  // sel: VR 1's (and VR 2's) selected variant / possibilities
    } cases[] = {
        {"a listed variant, case ignored", "ac>Poa<\nacgt>Festuca<\n", "", "ACGT", true, "C1:1-10 V1:11-14 C2:15-24 ",
         "acgt/1"},
        {"two VRs filled by A then B", "TT>a<\nAAA>b<\n", "GG>c<\nCC>d<\n", "AAACC", true,
         "C1:1-10 V1:11-13 V2:14-15 C2:16-25 ", "AAA/1 CC/1"},
        {"left-over bases form their own segment", "AC>a<\n", "", "ACGG", true, "C1:1-10 V1:11-12 -?13-14 C2:15-24 ",
         "AC/1"},
        {"an exact deletion is resolved again", ">gone<\nTT>x<\n", "", "", true, "C1:1-10 V1:11-10 C2:11-20 ",
         "<Deletion>/1"},
        {"the exact match takes an ambiguity letter literally", "GRCG>r<\n", "", "GRCG", true,
         "C1:1-10 V1:11-14 C2:15-24 ", "GRCG/1"},
        {"else a variant inside the stretch, the longest", "ACG>b<\nGT>a<\nCGTA>c<\n", "", "TACGTA", true,
         "C1:1-10 -?11-12 V1?13-16 C2:17-26 ", "CGTA/3"},
        {"an ambiguity letter inside matches a compatible base", "GRCG>r<\n", "", "AGACGA", true,
         "C1:1-10 -?11-11 V1?12-15 -?16-16 C2:17-26 ", "GRCG/1"},
        {"no variant inside", "GGGG>x<\n", "", "TACGTA", true, "C1:1-10 V1?11-16 C2:17-26 ", "/0"},
        {"no CR found: the whole sequence is one group", "CGTA>c<\n", "", "TACGTA", false,
         "C1?1-10 -?11-12 V1?13-16 C2?17-26 ", "CGTA/1"},
        {"no CR and no variant found: no line at all", "GGGG>x<\n", "", "TACGTA", false, "", "/0"},
    };
    for (const Case& c : cases) {
        ParseCase p;
        p.CR(kCR1, c.crsFound ? 0 : POSNOTFOUND).VR("v1.txt", c.file1);
        if (!c.file2.empty()) p.VR("v2.txt", c.file2);
        p.Bases(c.held).CR(kCR2, c.crsFound ? 0 : POSAMBIGUOUS);
        p.Parse();
        EXPECT_EQ(p.Lines(), c.lines) << c.what;
        EXPECT_EQ(p.Sel(1) + (c.file2.empty() ? "" : " " + p.Sel(2)), c.sel) << c.what;
        EXPECT_EQ(SegmentFault(p.st), "") << c.what;
        EXPECT_TRUE(p.Texts().empty()) << c.what;  // "Cannot figure out" only when asked for
    }
}

TEST(Parse, LimitsAndMissingFilesAreReported) {
    ParseCase runs;  // a run of 16 VRs is left to the group search
    runs.CR(kCR1);
    for (int v = 1; v <= 16; ++v) runs.VR("v.txt", v == 1 ? "A>a<\n" : "-", "A");
    ParseSequence(runs.CR(kCR2).st);
    EXPECT_EQ(runs.Texts(), V{"Error: 16 consecutive variable regions. Can only handle MAXNUMCONSECUTIVEVRS = 15."});
    EXPECT_EQ(runs.Sel(1) + runs.Sel(16), "/0/0");

    ParseCase missing;  // reported at the run match, with the warning asked for, and again at the search
    missing.session.showVRWarnings = true;
    missing.CR(kCR1).VR("gone.txt", "-", "AC").CR(kCR2).VR("", "-", "GT").CR(kCR3).Parse();
    const std::string gone = "Error: Varigap Variable Region File \"" + missing.dir.Path("gone.txt") + "\" not found.";
    const std::string empty = "Error: Varigap Variable Region File \"" + missing.dir.Path() + "/\" not found.";
    const std::string warning = "Cannot figure out variable region ";
    EXPECT_EQ(missing.Texts(), (V{gone, warning + "gone.txt", empty, warning, gone, empty}));
    EXPECT_EQ(missing.Lines(), "C1:1-10 V1?11-12 C2:13-22 V2?23-24 C3:25-34 ");

    ParseCase lines;  // 127 x (CR, VR, left-over base): only 254 display lines, also after a reparse
    for (int k = 1; k <= 127; ++k) lines.CR("AAAA").VR("v.txt", k == 1 ? "C>c<\nCG>cg<\n" : "-", "CGT");
    lines.Parse();
    SelectVRPossibility(lines.st, 2, 1, 1);
    EXPECT_EQ(lines.Texts(), V(2, "Too many display lines.  MAXNUMDISPLAYLINES = 254"));
    EXPECT_EQ(int(lines.st.numSSegments), 254);
}

TEST(Parse, ReparseMovesTheChosenVariantIntoPlace) {
    ParseCase p;
    p.CR(kCR1).VR("v1.txt", ">gone<\nACG>b<\nCGTA>c<\n", "TACGTA").CR(kCR2, POSNOTFOUND);
    p.VR("v2.txt", "CC>d<\n", "CC").CR(kCR3).Bases("TT").Parse();
    const std::string parsed = "C1:1-10 -?11-12 V1?13-16 C2?17-26 V2?27-28 C3:29-38 -?39-40 ";
    ASSERT_EQ(p.Lines(), parsed);
    struct Case {
        const char* what;
        int sel;
        std::string lines;
    } cases[] = {
        {"another variant", 2, "C1:1-10 -?11-11 V1?12-14 C2?15-24 -?25-26 V2?27-28 C3:29-38 -?39-40 "},
        {"the deletion", 1, "C1:1-10 V1?11-10 C2?11-20 -?21-26 V2?27-28 C3:29-38 -?39-40 "},
    };
    for (const Case& c : cases) {
        p.Parse();
        SelectVRPossibility(p.st, 3, 1, c.sel);
        EXPECT_EQ(p.Lines(), c.lines) << c.what;
    }
    EXPECT_TRUE(p.Texts().empty());

    // VR 2's variant stands at its new segment start but would run on into CR 2.
    ParseCase q;
    q.CR(kCR1).VR("v1.txt", "CCGC>a<\nCC>b<\n", "CCGC").VR("v2.txt", "SCG>s<\n").CR(kCR2).Parse();
    ASSERT_EQ(q.Lines(), "C1:1-10 V1?11-14 V2?15-14 C2:15-24 ");
    SelectVRPossibility(q.st, 2, 1, 2);
    EXPECT_EQ(q.Lines(), "C1:1-10 V1?11-12 V2?13-14 C2:15-24 ");
}

// Random templates, files and sequences, CRs found, placed a little short, not found or found
// twice: the lines tile the sequence after the parse and after every possible reparse.
TEST(Parse, SegmentsTileTheSequenceAfterEveryParseAndReparse) {
    std::mt19937 rng(3);
    auto bases = [&](size_t n, const std::string& alphabet = "ACGT") { return test::Draw(rng, n, alphabet); };
    int logicErrors = 0;
    for (int round = 0; round < 300; ++round) {
        ParseCase p;
        p.Bases(bases(rng() % 4));
        for (int r = 0, regions = 1 + static_cast<int>(rng() % 9), lastCR = 0; r < regions; ++r) {
            if ((lastCR = !lastCR && rng() % 2)) {
                const int f = static_cast<int>(rng() % 10), marker = f < 7 ? 0 : f < 9 ? -1 : -2;
                const int c = p.CR(bases(4 + rng() % 5), marker).session.numCRs[1];
                if (f < 7 && rng() % 3 == 0) p.st.crStartPos[1][c] += 1;
                if (f < 7 && rng() % 3 == 0) p.st.crEndPos[1][c] -= 1;
                continue;
            }
            std::string held = bases(rng() % 6, "ACGTacgt"), file;
            for (int k = 0, n = static_cast<int>(rng() % 6); k < n; ++k) {
                const int kind = static_cast<int>(rng() % 5);
                file += (kind == 0   ? ""
                         : kind == 1 ? held
                         : kind == 2 ? held.substr(rng() % (held.size() + 1))
                                     : bases(1 + rng() % 3, "ACGTRN")) +
                        ">t<\n";
            }
            p.VR("v" + Str(r) + ".txt", rng() % 15 == 0 ? "-" : file, held);
        }
        p.Bases(bases(rng() % 4)).Parse();
        ASSERT_EQ(SegmentFault(p.st), "") << "round " << round;
        logicErrors += LogicErrors(p);
        for (int line = 1, lines = p.st.numSSegments; line <= lines; ++line) {
            p.Parse();
            const SSegment g = p.st.SSegments[line];
            for (int sel = 1; g.nVRs == 1 && g.nCRs == 0 && sel <= p.st.VRPoss[g.region].numPoss; ++sel) {
                p.Parse();
                p.ts.msgs.Clear();
                SelectVRPossibility(p.st, line, g.region, sel);
                ASSERT_EQ(SegmentFault(p.st), "") << "round " << round << " line " << line << " possibility " << sel;
                logicErrors += LogicErrors(p);
            }
        }
    }
    EXPECT_EQ(logicErrors, 0);
}

}  // namespace
}  // namespace varigap
