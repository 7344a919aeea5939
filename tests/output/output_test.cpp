// What the command line's golden files cannot reach: display line texts and their logic-error
// reports, padded numbers, where FEATURES start, and the edges of ORIGIN and the variant listing.
// What each set of segments gives is in golden/display_lines.txt and golden/features.txt.
#include <gtest/gtest.h>

#include <functional>

#include "engine/read_analysis.h"
#include "output/display_lines.h"
#include "output/output_file.h"
#include "output/variant_listing.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

SSegment Seg(int start, int end, int nCRs, int nVRs, int region, bool unresolved) {
    return {start, end, nVRs, nCRs, region, unresolved};
}

// The segments as "start..end CRs,VRs region" ("?" when unresolved), and sets them.
std::string SetSegments(State& st, const std::vector<SSegment>& segs) {
    std::string s;
    st.numSSegments = static_cast<int>(segs.size());
    for (size_t i = 0; i < segs.size(); ++i) {
        st.SSegments[static_cast<long long>(i + 1)] = segs[i];
        const SSegment& g = segs[i];
        s += (i ? "; " : "") + std::to_string(g.startPos) + ".." + std::to_string(g.endPos) + " " +
             std::to_string(g.nCRs) + "," + std::to_string(g.nVRs) + " " + std::to_string(g.region) +
             (g.unresolved ? "?" : "");
    }
    return s;
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

TEST(DisplayLines, SegmentsReadAsNumberFlagMarkFlagBasesAndGapsOrUnknownPositionsAreLogicErrors) {
    const SSegment cr1 = Seg(1, 2, 1, 0, 1, false), cr2 = Seg(6, 10, 1, 0, 2, false), first = Seg(1, 3, 1, 0, 1, false);
    struct Case {
        std::vector<SSegment> segs;
        bool show = true;  // logic errors reported
    } cases[] = {
        // a conserved region, an ambiguous variable region, one without bases, a confused stretch of
        // two CRs and one VR, bases of no region
        {{Seg(1, 2, 1, 0, 1, false), Seg(3, 4, 0, 1, 1, true), Seg(5, 4, 0, 1, 2, false), Seg(5, 8, 2, 1, 4, true),
          Seg(9, 10, 0, 0, -1, true)}},
        {{cr1, Seg(POSNOTFOUND, 5, 0, 1, 1, true), cr2}},  // unknown positions: left out, the gaps reported
        {{cr1, Seg(3, POSAMBIGUOUS, 0, 1, 1, true), cr2}},
        {{cr1, Seg(POSAMBIGUOUS, POSAMBIGUOUS, 0, 1, 1, true), cr2}},
        {{cr1, Seg(POSNOTFOUND, POSNOTFOUND, 0, 1, 1, true), cr2}, false},
        {{first, Seg(4, 10, 1, 0, 2, false)}},  // tiling, a gap of two bases, one base shared
        {{first, Seg(6, 10, 1, 0, 2, false)}},
        {{first, Seg(3, 10, 1, 0, 2, false)}},
        {{}},
    };
    std::string log;
    for (const auto& c : cases) {
        test::TestState ts;
        ts.session.showAssertFailures = c.show;
        ts.st.actSeq = "ACGTACGTAC";
        log += SetSegments(ts.st, c.segs) + (c.show ? "" : " (logic errors off)") + "\n   ";
        std::vector<int> segs{7};
        for (const auto& line : ComputeDisplayLines(ts.st, &segs)) log += " " + line;
        log += "\n    segments";
        for (int s : segs) log += " " + std::to_string(s);
        for (const auto& m : ts.msgs.shown) log += "\n    " + m.title + ": " + m.text;
        log += "\n";
    }
    test::ExpectGolden("tests/output/golden/display_lines.txt", log);
    EXPECT_TRUE(KindOf(Seg(1, 1, 1, 1, 1, false)) == LineKind::Confused &&
                KindOf(Seg(1, 1, 0, 2, 1, false)) == LineKind::Confused);
}

TEST(DisplayLines, ARunTimeErrorIsReportedAndKeepsTheLinesMadeSoFar) {
    test::TestState ts;
    ts.st.actSeq = "ACGT";
    ts.st.numSSegments = MAXNUMDISPLAYLINES + 1;  // reaches past the table
    for (int i = 1; i <= MAXNUMDISPLAYLINES; ++i) ts.st.SSegments[i] = Seg(1, 0, 0, 0, -1, true);
    EXPECT_EQ(ComputeDisplayLines(ts.st).size(), static_cast<size_t>(MAXNUMDISPLAYLINES));
    EXPECT_EQ(ts.msgs.Texts().back(), "Run-Time Error #9: Subscript out of range");
}

TEST(OutputFile, NumbersArePaddedAndOriginWritesEveryLine) {
    test::TestState padded;  // a number wider than the largest: both checks fail, written unpadded
    EXPECT_EQ(PaddedNumber(padded.st, 1000, 125), "1000");
    EXPECT_EQ(padded.msgs.shown.size(), 2u);
    const std::string g10 = "ACGTACGTAC", six = " " + g10 + " " + g10 + " " + g10 + " " + g10 + " " + g10 + " " + g10;
    struct {
        int length;
        std::string expected;
    } origins[] = {{125, "  1" + six + "\r\n 61" + six + "\r\n121 ACGTA\r\n"},
                   {9, "1 ACGTACGTA\r\n"},
                   {0, ""},
                   {32767, "\r\n32761 ACGTACG\r\n"}};  // the longest: its end
    for (const auto& c : origins) {
        test::TestState ts;
        while (ts.st.actSeq.size() < static_cast<size_t>(c.length)) ts.st.actSeq += g10;
        ts.st.actSeq.resize(static_cast<size_t>(c.length));
        std::string text = Written([&](TextWriter& out) { WriteSequence(ts.st, ts.st.actSeq, out); });
        EXPECT_EQ(c.length == 32767 ? text.substr(text.size() - c.expected.size()) : text, c.expected) << c.length;
        EXPECT_TRUE(ts.msgs.shown.empty());
    }
}

TEST(OutputFile, FeaturesStartAtTheFirstAnchor) {
    const std::vector<SSegment> cases[] = {
        // lines 1 and 2 are no anchors (a confused stretch, an unresolved CR); an unresolved VR is one
        {Seg(1, 4, 0, 0, -1, true), Seg(5, 8, 1, 0, 1, true), Seg(9, 12, 0, 1, 1, true), Seg(13, 20, 1, 0, 2, true)},
        {Seg(1, 4, 2, 1, 1, true), Seg(5, 20, 1, 0, 2, false)},
        {Seg(1, 0, 0, 1, 1, false), Seg(1, 20, 0, 0, -1, true)},  // a VR without bases is no anchor
        {Seg(1, 10, 1, 0, 1, true), Seg(11, 20, 2, 2, 1, true)},  // nothing but unresolved lines
        // after the anchor every line is written: confused, without region, unresolved CR
        {Seg(1, 10, 1, 0, 1, false), Seg(11, 15, 2, 1, 2, true), Seg(16, 17, 0, 0, -1, true),
         Seg(18, 20, 1, 0, 3, true)},
        // lines of unknown position or beyond the sequence are skipped
        {Seg(1, 10, 1, 0, 1, false), Seg(POSNOTFOUND, POSNOTFOUND, 0, 1, 1, true), Seg(11, POSAMBIGUOUS, 1, 0, 2, true),
         Seg(11, 20, 1, 0, 2, false), Seg(21, 20, 0, 1, 2, false)},
    };
    std::string log;
    for (const auto& segs : cases) {
        test::TestState ts;
        State& st = ts.st;
        Session& session = ts.session;
        session.numTemplates = st.actTemplate = 1;
        session.numCRs[1] = 3;
        session.numVRs[1] = 2;
        session.vrFileName[1][1] = "V1.txt";
        st.actSeq = std::string(20, 'c');
        log += SetSegments(st, segs) + "\n";
        log += Written([&](TextWriter& out) { WriteAnnotation(st, CurrentResult(st, false), out, false); });
        EXPECT_TRUE(ts.msgs.shown.empty());
    }
    test::ExpectGolden("tests/output/golden/features.txt", log);
}

TEST(OutputFile, BeforeAnyAnalysisTheFileIsWrittenEmpty) {
    test::TestState ts;
    EXPECT_EQ(Written([&](TextWriter& out) {
                  WriteOutputFileText(ts.st, CurrentResult(ts.st, false), out, "x.txt", "", false);
              }),
              "# Varigap Output File \"x.txt\"\r\n# Analyzed with template \"\"\r\n\r\nNAME  \r\n"
              "    (bases 1 to 0)\r\n\r\nFEATURES\r\n\r\nORIGIN\r\n");
}

TEST(VariantListing, AHundredBasesFitOneLine) {
    EXPECT_EQ(SplitVariantText(std::string(100, 'c')), std::vector<std::string>{std::string(100, 'c')});
    EXPECT_EQ(SplitVariantText(std::string(200, 'g')),  // the second hundred is the rest, unmarked
              (std::vector<std::string>{std::string(100, 'g') + " +", std::string(100, 'g')}));
}

}  // namespace
}  // namespace varigap
