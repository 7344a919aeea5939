// What the command line tests cannot reach: display line texts and their logic-error reports,
// padded numbers, where FEATURES start, and the edges of ORIGIN and the variant listing.
#include <gtest/gtest.h>

#include <functional>

#include "output/display_lines.h"
#include "output/output_file.h"
#include "output/variant_listing.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

SSegment Seg(int start, int end, int nCRs, int nVRs, int region, bool unresolved) {
    SSegment s;
    s.startPos = start;
    s.endPos = end;
    s.nCRs = nCRs;
    s.nVRs = nVRs;
    s.region = region;
    s.unresolved = unresolved;
    return s;
}

void SetSegments(State& st, const std::vector<SSegment>& segs) {
    st.numSSegments = static_cast<int>(segs.size());
    for (size_t i = 0; i < segs.size(); ++i) st.SSegments[static_cast<long long>(i + 1)] = segs[i];
}

// What `write` puts into a file, byte for byte.
std::string Written(const std::function<void(TextWriter&)>& write) {
    test::TempDir dir;
    TextWriter out;
    out.Open(dir.Path("out.txt"));
    write(out);
    out.Commit();
    return dir.Read("out.txt");
}

TEST(DisplayLines, EachSegmentReadsAsNumberFlagMarkFlagBases) {
    test::TestState ts;
    ts.st.actSeq = "GGATCCTTAACACGTACGTAAA";
    SetSegments(ts.st, {
                           Seg(1, 6, 1, 0, 1, false),    // an unambiguous conserved region
                           Seg(7, 11, 0, 1, 1, true),    // an ambiguous variable region
                           Seg(12, 11, 0, 1, 2, false),  // a variable region without bases
                           Seg(12, 19, 2, 1, 4, true),   // a confused stretch of two CRs and one VR
                           Seg(20, 22, 0, 0, -1, true),  // bases of no region
                       });
    std::vector<int> segs;
    EXPECT_EQ(ComputeDisplayLines(ts.st, &segs),
              (std::vector<std::string>{"1:[C]:GGATCC", "2?{V}?TTAAC", "3:{V}:", "4?2,1?ACGTACGT", "5?0,0?AAA"}));
    EXPECT_EQ(segs, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(ts.msgs.shown.empty());
    EXPECT_EQ(KindOf(Seg(1, 1, 1, 1, 1, false)), LineKind::Confused);
    EXPECT_EQ(KindOf(Seg(1, 1, 0, 2, 1, false)), LineKind::Confused);

    // Numbers carry no padding.
    ts.st.actSeq = std::string(10, 'A') + "C";
    std::vector<SSegment> many;
    for (int i = 1; i <= 11; ++i) many.push_back(Seg(i, i, 1, 0, i, false));
    SetSegments(ts.st, many);
    EXPECT_EQ(ComputeDisplayLines(ts.st).at(9), "10:[C]:A");
    std::string text;
    EXPECT_TRUE(DisplayLineText(ts.st, 11, text));
    EXPECT_EQ(text, "11:[C]:C");

    // No segments: nothing listed, the line-to-segment table emptied.
    ts.st.numSSegments = 0;
    segs = {7};
    EXPECT_TRUE(ComputeDisplayLines(ts.st, &segs).empty());
    EXPECT_TRUE(segs.empty());
}

TEST(DisplayLines, UnknownPositionsGapsAndOverlapsAreLogicErrors) {
    const SSegment cr1 = Seg(1, 2, 1, 0, 1, false), cr2 = Seg(6, 10, 1, 0, 2, false);
    const SSegment first = Seg(1, 3, 1, 0, 1, false);
    const std::vector<std::string> skipped{"1:[C]:AC", "3:[C]:CGTAC"};  // the unknown line is left out
    struct Case {
        std::vector<SSegment> segs;
        std::vector<std::string> lines;
        std::vector<int> segNums;
        size_t reports;
        bool show;
    } cases[] = {
        {{cr1, Seg(POSNOTFOUND, 5, 0, 1, 1, true), cr2}, skipped, {1, 3}, 2, true},  // the gaps too
        {{cr1, Seg(3, POSAMBIGUOUS, 0, 1, 1, true), cr2}, skipped, {1, 3}, 2, true},
        {{cr1, Seg(POSAMBIGUOUS, POSAMBIGUOUS, 0, 1, 1, true), cr2}, skipped, {1, 3}, 3, true},
        {{cr1, Seg(POSNOTFOUND, POSNOTFOUND, 0, 1, 1, true), cr2}, skipped, {1, 3}, 0, false},  // switched off
        // listed all the same: tiling, a gap of two bases, one base shared
        {{first, Seg(4, 10, 1, 0, 2, false)}, {"1:[C]:ACG", "2:[C]:TACGTAC"}, {1, 2}, 0, true},
        {{first, Seg(6, 10, 1, 0, 2, false)}, {"1:[C]:ACG", "2:[C]:CGTAC"}, {1, 2}, 1, true},
        {{first, Seg(3, 10, 1, 0, 2, false)}, {"1:[C]:ACG", "2:[C]:GTACGTAC"}, {1, 2}, 1, true},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        ts.st.showAssertFailures = c.show;
        ts.st.actSeq = "ACGTACGTAC";
        SetSegments(ts.st, c.segs);
        std::vector<int> segs;
        EXPECT_EQ(ComputeDisplayLines(ts.st, &segs), c.lines);
        EXPECT_EQ(segs, c.segNums);
        EXPECT_EQ(ts.msgs.shown.size(), c.reports) << &c - cases;
        for (const auto& m : ts.msgs.shown) {
            EXPECT_EQ(m.title, "Varigap Logic Error");
            EXPECT_EQ(m.text,
                      "Varigap internal logic error. The programmer's false assumptions may have unexpected "
                      "consequences.");
        }
    }
}

TEST(DisplayLines, ARunTimeErrorIsReportedAndKeepsTheLinesMadeSoFar) {
    test::TestState ts;
    ts.st.actSeq = "ACGT";
    ts.st.numSSegments = MAXNUMDISPLAYLINES + 1;  // reaches past the table
    for (int i = 1; i <= MAXNUMDISPLAYLINES; ++i) ts.st.SSegments[i] = Seg(1, 0, 0, 0, -1, true);
    EXPECT_EQ(ComputeDisplayLines(ts.st).size(), static_cast<size_t>(MAXNUMDISPLAYLINES));
    ASSERT_FALSE(ts.msgs.shown.empty());
    EXPECT_EQ(ts.msgs.shown.back().title, "Varigap Run-Time Error");
    EXPECT_EQ(ts.msgs.shown.back().text, "Run-Time Error #9: Subscript out of range");
}

TEST(OutputFile, PaddedNumbersAreRightAligned) {
    struct Case {
        int num, max;
        std::string text;
        size_t reports;
    } cases[] = {
        {1, 125, "  1", 0}, {61, 125, " 61", 0},    {121, 125, "121", 0}, {5, 5, "5", 0},
        {-1, 10, "-1", 0},  {1000, 125, "1000", 2},  // too long: both checks fail, written unpadded
    };
    for (const auto& c : cases) {
        test::TestState ts;
        EXPECT_EQ(PaddedNumber(ts.st, c.num, c.max), c.text) << c.num;
        EXPECT_EQ(ts.msgs.shown.size(), c.reports) << c.num;
    }
}

TEST(OutputFile, OriginNumbersArePaddedToTheLengthAndTheLastLineIsWritten) {
    const std::string g10 = "ACGTACGTAC";
    const std::string six = " " + g10 + " " + g10 + " " + g10 + " " + g10 + " " + g10 + " " + g10;
    struct Case {
        int length;
        std::string expected;
    } cases[] = {
        {125, "  1" + six + "\r\n 61" + six + "\r\n121 ACGTA\r\n"},
        {10, " 1 " + g10 + "\r\n"},
        {9, "1 ACGTACGTA\r\n"},
        {0, ""},
        {32767, ""},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        std::string seq;
        while (static_cast<int>(seq.size()) < c.length) seq += g10;
        ts.st.actSeq = seq.substr(0, static_cast<size_t>(c.length));
        std::string text = Written([&](TextWriter& out) { WriteSequence(ts.st, out); });
        if (c.length == 32767)  // the longest sequence
            EXPECT_NE(text.find("\r\n32761 ACGTACG\r\n"), std::string::npos);
        else EXPECT_EQ(text, c.expected) << c.length;
        EXPECT_TRUE(ts.msgs.shown.empty());
    }
}

TEST(OutputFile, FeaturesStartAtTheFirstAnchor) {
    struct Case {
        std::vector<SSegment> segs;
        std::string expected;
        bool taxa = false;
    } cases[] = {
        // lines 1 and 2 are no anchors (a confused stretch, an unresolved CR); an unresolved VR is one
        {{Seg(1, 4, 0, 0, -1, true), Seg(5, 8, 1, 0, 1, true), Seg(9, 12, 0, 1, 1, true), Seg(13, 20, 1, 0, 2, true)},
         "    9..12\r\n        Variable Region: \"V1.txt\"\r\n"
         "    13..20\r\n        Conserved Region #2\r\n"},
        {{Seg(1, 4, 2, 1, 1, true), Seg(5, 20, 1, 0, 2, false)}, "    5..20\r\n        Conserved Region #2\r\n"},
        // a variable region without bases is no anchor
        {{Seg(1, 0, 0, 1, 1, false), Seg(1, 20, 0, 0, -1, true)}, ""},
        // nothing but unresolved lines: the block stays empty
        {{Seg(1, 10, 1, 0, 1, true), Seg(11, 20, 2, 2, 1, true)}, ""},
        // after the anchor every line is written: confused, without region, unresolved CR
        {{Seg(1, 5, 1, 0, 1, false), Seg(6, 10, 2, 1, 2, true), Seg(11, 15, 0, 0, -1, true),
          Seg(16, 20, 1, 0, 3, true)},
         "    1..5\r\n        Conserved Region #1\r\n"
         "    6..10\r\n        Confused Region: 2 Conserved Regions and 1 Variable Regions.\r\n"
         "    11..15\r\n        Confused Region: 0 Conserved Regions and 0 Variable Regions.\r\n"
         "    16..20\r\n        Conserved Region #3\r\n"},
        {{}, ""},
        // lines of unknown position or beyond the sequence are skipped
        {{Seg(1, 10, 1, 0, 1, false), Seg(POSNOTFOUND, POSNOTFOUND, 0, 1, 1, true),
          Seg(11, POSAMBIGUOUS, 1, 0, 2, true), Seg(11, 20, 1, 0, 2, false), Seg(21, 20, 0, 1, 2, false)},
         "    1..10\r\n        Conserved Region #1\r\n    11..20\r\n        Conserved Region #2\r\n"},
        // with taxa, a variable region whose search found nothing has an empty taxa line
        {{Seg(1, 10, 1, 0, 1, false), Seg(11, 15, 0, 1, 2, true)},
         "    1..10\r\n        Conserved Region #1\r\n    11..15\r\n        Variable Region: \"V2.txt\"\r\n        "
         "\r\n",
         true},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        State& st = ts.st;
        st.numTemplates = 1;
        st.templateName[1] = "T1";
        st.numCRs[1] = 3;
        st.numVRs[1] = 2;
        st.vrFileName[1][1] = "V1.txt";
        st.vrFileName[1][2] = "V2.txt";
        st.actTemplate = 1;
        st.VRPoss[2].numPoss = 0;
        st.VRPoss[2].selPoss = 0;
        st.actSeq = std::string(20, 'c');
        SetSegments(st, c.segs);
        EXPECT_EQ(Written([&](TextWriter& out) { WriteAnnotation(st, out, c.taxa); }), c.expected);
        EXPECT_TRUE(ts.msgs.shown.empty());
    }
}

TEST(OutputFile, BeforeAnyAnalysisTheTemplateNameIsEmpty) {
    test::TestState ts;
    EXPECT_EQ(Written([&](TextWriter& out) { WriteOutputFileText(ts.st, out, "x.txt", "", false, false); }),
              "# Varigap Output File \"x.txt\"\r\n# Analyzed with template \"\"\r\n\r\nNAME  \r\n"
              "    (bases 1 to 0)\r\n\r\nFEATURES\r\n\r\nORIGIN\r\n");
}

TEST(VariantListing, UnknownModesShowNothingAndAHundredBasesFitOneLine) {
    EXPECT_FALSE(IsSeqShown("acgta", 0, 5));
    EXPECT_FALSE(IsSeqShown("acgta", 6, 5));
    EXPECT_EQ(SplitVariantText(std::string(100, 'c')), std::vector<std::string>{std::string(100, 'c')});
    EXPECT_EQ(SplitVariantText(std::string(200, 'g')),  // the second hundred is the rest, unmarked
              (std::vector<std::string>{std::string(100, 'g') + " +", std::string(100, 'g')}));
}

}  // namespace
}  // namespace varigap
