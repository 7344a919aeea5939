// The analysed-sequence list: one line per display segment with number, flag, mark and bases.
#include "output/display_lines.h"

#include <gtest/gtest.h>

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

const char* kLogicError =
    "Varigap internal logic error. The programmer's false assumptions may have unexpected consequences.";

TEST(DisplayLines, KindsFollowTheRegionCounts) {
    struct Case { int nCRs, nVRs; LineKind kind; } cases[] = {
        {1, 0, LineKind::Conserved}, {0, 1, LineKind::Variable}, {0, 0, LineKind::Confused},
        {2, 1, LineKind::Confused},  {1, 1, LineKind::Confused}, {0, 2, LineKind::Confused},
    };
    for (auto c : cases) EXPECT_EQ(KindOf(Seg(1, 1, c.nCRs, c.nVRs, 1, false)), c.kind) << c.nCRs << "," << c.nVRs;
}

TEST(DisplayLines, EachSegmentReadsAsNumberFlagMarkFlagBases) {
    test::TestState ts;
    ts.st.actSeq = "GGATCCTTAACACGTACGTAAA";
    //              1     7    12        22
    SetSegments(ts.st, {
        Seg(1, 6, 1, 0, 1, false),     // an unambiguous conserved region
        Seg(7, 11, 0, 1, 1, true),     // an ambiguous variable region
        Seg(12, 11, 0, 1, 2, false),   // a variable region without bases
        Seg(12, 19, 2, 1, 4, true),    // a confused stretch of two CRs and one VR
        Seg(20, 22, 0, 0, -1, true),   // bases of no region
    });
    std::vector<int> segs;
    auto lines = ComputeDisplayLines(ts.st, &segs);
    EXPECT_EQ(lines, (std::vector<std::string>{"1:[C]:GGATCC", "2?{V}?TTAAC", "3:{V}:", "4?2,1?ACGTACGT",
                                               "5?0,0?AAA"}));
    EXPECT_EQ(segs, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(ts.msgs.shown.empty());
}

TEST(DisplayLines, NumbersCarryNoPadding) {
    test::TestState ts;
    ts.st.actSeq = std::string(10, 'A') + "C";
    std::vector<SSegment> segs;
    for (int i = 1; i <= 11; ++i) segs.push_back(Seg(i, i, 1, 0, i, false));
    SetSegments(ts.st, segs);
    auto lines = ComputeDisplayLines(ts.st);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[9], "10:[C]:A");
    EXPECT_EQ(lines[10], "11:[C]:C");
    std::string text;
    EXPECT_TRUE(DisplayLineText(ts.st, 11, text));
    EXPECT_EQ(text, "11:[C]:C");
}

TEST(DisplayLines, AnUnknownPositionIsALogicErrorAndTheLineIsLeftOut) {
    struct Case { int start, end; } cases[] = {{POSNOTFOUND, 5}, {3, POSAMBIGUOUS}, {POSAMBIGUOUS, POSAMBIGUOUS}};
    for (auto c : cases) {
        test::TestState ts;
        ts.st.actSeq = "ACGTACGTAC";
        SetSegments(ts.st, {Seg(1, 2, 1, 0, 1, false), Seg(c.start, c.end, 0, 1, 1, true), Seg(6, 10, 1, 0, 2, false)});
        std::vector<int> segs;
        auto lines = ComputeDisplayLines(ts.st, &segs);
        EXPECT_EQ(lines, (std::vector<std::string>{"1:[C]:AC", "3:[C]:CGTAC"}));
        EXPECT_EQ(segs, (std::vector<int>{1, 3}));
        ASSERT_FALSE(ts.msgs.shown.empty());
        EXPECT_EQ(ts.msgs.shown[0].title, "Varigap Logic Error");
        EXPECT_EQ(ts.msgs.shown[0].text, kLogicError);
    }
}

TEST(DisplayLines, GapsAndOverlapsBetweenLinesAreLogicErrors) {
    struct Case { int secondStart; size_t reports; } cases[] = {
        {4, 0},  // tiles the sequence
        {6, 1},  // a gap of two bases
        {3, 1},  // one base shared
    };
    for (auto c : cases) {
        test::TestState ts;
        ts.st.actSeq = "ACGTACGTAC";
        SetSegments(ts.st, {Seg(1, 3, 1, 0, 1, false), Seg(c.secondStart, 10, 1, 0, 2, false)});
        auto lines = ComputeDisplayLines(ts.st);
        EXPECT_EQ(lines.size(), 2u);  // listed all the same
        EXPECT_EQ(ts.msgs.shown.size(), c.reports) << c.secondStart;
    }
}

TEST(DisplayLines, LogicErrorsAreSilentWhenSwitchedOff) {
    test::TestState ts;
    ts.st.showAssertFailures = false;
    ts.st.actSeq = "ACGT";
    SetSegments(ts.st, {Seg(POSNOTFOUND, POSNOTFOUND, 0, 1, 1, true), Seg(3, 4, 1, 0, 1, false)});
    EXPECT_EQ(ComputeDisplayLines(ts.st), std::vector<std::string>{"2:[C]:GT"});
    EXPECT_TRUE(ts.msgs.shown.empty());
}

TEST(DisplayLines, AnAnalysisWithoutSegmentsListsNothing) {
    test::TestState ts;
    ts.st.actSeq = "ACGT";
    ts.st.numSSegments = 0;
    std::vector<int> segs{7};
    EXPECT_TRUE(ComputeDisplayLines(ts.st, &segs).empty());
    EXPECT_TRUE(segs.empty());
}

TEST(DisplayLines, ARunTimeErrorIsReportedAndKeepsTheLinesMadeSoFar) {
    test::TestState ts;
    ts.st.actSeq = "ACGT";
    ts.st.numSSegments = MAXNUMDISPLAYLINES + 1;  // reaches past the table
    for (int i = 1; i <= MAXNUMDISPLAYLINES; ++i) ts.st.SSegments[i] = Seg(1, 0, 0, 0, -1, true);
    auto lines = ComputeDisplayLines(ts.st);
    EXPECT_EQ(lines.size(), static_cast<size_t>(MAXNUMDISPLAYLINES));
    ASSERT_FALSE(ts.msgs.shown.empty());
    EXPECT_EQ(ts.msgs.shown.back().title, "Varigap Run-Time Error");
    EXPECT_EQ(ts.msgs.shown.back().text, "Run-Time Error #9: Subscript out of range");
}

}  // namespace
}  // namespace varigap
