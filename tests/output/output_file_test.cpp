// The output file: header, FEATURES from the first anchor on, ORIGIN in lines of sixty bases.
#include "output/output_file.h"

#include <gtest/gtest.h>

#include <functional>

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

// Template 1 "T1": CR 1, VR 1 ("V1.txt"), CR 2, VR 2 ("V2.txt"), CR 3.
void SetTemplate(State& st) {
    st.numTemplates = 1;
    st.templateName[1] = "T1";
    st.numCRs[1] = 3;
    st.numVRs[1] = 2;
    st.vrFileName[1][1] = "V1.txt";
    st.vrFileName[1][2] = "V2.txt";
    st.actTemplate = 1;
}

void SelectVariant(State& st, int vr, const std::string& bases, const std::string& taxa) {
    VRPossSet& set = st.VRPoss[vr];
    set.numPoss = 1;
    set.selPoss = 1;
    set.poss[1].varSeq = bases;
    set.poss[1].taxa = taxa;
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

std::string Annotation(State& st, bool taxa) {
    return Written([&](TextWriter& out) { WriteAnnotation(st, out, taxa); });
}

std::string Origin(State& st) {
    return Written([&](TextWriter& out) { WriteSequence(st, out); });
}

TEST(OutputFile, TheDocumentedExampleIsWrittenByteForByte) {
    test::TestState ts;
    State& st = ts.st;
    SetTemplate(st);
    st.actSeq = "ACGTACGTACGTACGTACGTACGTA";
    SetSegments(st, {Seg(1, 10, 1, 0, 1, false), Seg(11, 15, 0, 1, 1, false), Seg(16, 25, 1, 0, 2, false)});
    SelectVariant(st, 1, "GTACG", "Festuca");
    std::string text = Written([&](TextWriter& out) { WriteOutputFileText(st, out, "S1.txt", "S1", true); });
    EXPECT_EQ(text,
              "# Varigap Output File \"S1.txt\"\r\n"
              "# Analyzed with template \"T1\"\r\n"
              "\r\n"
              "NAME  S1\r\n"
              "    (bases 1 to 25)\r\n"
              "\r\n"
              "FEATURES\r\n"
              "    1..10\r\n"
              "        Conserved Region #1\r\n"
              "    11..15\r\n"
              "        Variable Region: \"V1.txt\"\r\n"
              "        Festuca\r\n"
              "    16..25\r\n"
              "        Conserved Region #2\r\n"
              "\r\n"
              "ORIGIN\r\n"
              " 1 ACGTACGTAC GTACGTACGT ACGTA\r\n");
    EXPECT_TRUE(ts.msgs.shown.empty());
}

TEST(OutputFile, OriginLinesHoldSixtyBasesInGroupsOfTen) {
    const std::string g10 = "ACGTACGTAC";
    const std::string six = " " + g10 + " " + g10 + " " + g10 + " " + g10 + " " + g10 + " " + g10;
    struct Case { int length; std::string expected; } cases[] = {
        {60, " 1" + six + "\r\n"},
        {61, " 1" + six + "\r\n61 A\r\n"},
        {125, "  1" + six + "\r\n 61" + six + "\r\n121 ACGTA\r\n"},
        {10, " 1 " + g10 + "\r\n"},
        {9, "1 ACGTACGTA\r\n"},
        {0, ""},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        std::string seq;
        while (static_cast<int>(seq.size()) < c.length) seq += g10;
        ts.st.actSeq = seq.substr(0, static_cast<size_t>(c.length));
        EXPECT_EQ(Origin(ts.st), c.expected) << c.length;
        EXPECT_TRUE(ts.msgs.shown.empty());
    }
}

TEST(OutputFile, TheLastLineOfTheLongestSequenceIsWritten) {
    test::TestState ts;
    ts.st.actSeq = std::string(32767, 'a');
    std::string text = Origin(ts.st);
    EXPECT_NE(text.find("\r\n32761 aaaaaaa\r\n"), std::string::npos);
    EXPECT_TRUE(ts.msgs.shown.empty());
}

TEST(OutputFile, PaddedNumbersAreRightAligned) {
    struct Case { int num, max; std::string text; size_t reports; } cases[] = {
        {1, 125, "  1", 0}, {61, 125, " 61", 0}, {121, 125, "121", 0}, {5, 5, "5", 0},
        {-1, 10, "-1", 0}, {1000, 125, "1000", 2},  // too long: both checks fail, written unpadded
    };
    for (const auto& c : cases) {
        test::TestState ts;
        EXPECT_EQ(PaddedNumber(ts.st, c.num, c.max), c.text) << c.num;
        EXPECT_EQ(ts.msgs.shown.size(), c.reports) << c.num;
    }
}

TEST(OutputFile, FeaturesStartAtTheFirstAnchor) {
    // Lines 1 and 2 are no anchors (a confused stretch and an unresolved CR); line 3 is an
    // unresolved variable region, which is one.
    struct Case { std::vector<SSegment> segs; std::string expected; } cases[] = {
        {{Seg(1, 4, 0, 0, -1, true), Seg(5, 8, 1, 0, 1, true), Seg(9, 12, 0, 1, 1, true), Seg(13, 20, 1, 0, 2, true)},
         "    9..12\r\n        Variable Region: \"V1.txt\"\r\n"
         "    13..20\r\n        Conserved Region #2\r\n"},
        {{Seg(1, 4, 2, 1, 1, true), Seg(5, 20, 1, 0, 2, false)},
         "    5..20\r\n        Conserved Region #2\r\n"},
        // a variable region without bases is no anchor
        {{Seg(1, 0, 0, 1, 1, false), Seg(1, 20, 0, 0, -1, true)}, ""},
        // nothing but unresolved lines: the block stays empty
        {{Seg(1, 10, 1, 0, 1, true), Seg(11, 20, 2, 2, 1, true)}, ""},
        // after the anchor every line is written: confused, without region, unresolved CR
        {{Seg(1, 5, 1, 0, 1, false), Seg(6, 10, 2, 1, 2, true), Seg(11, 15, 0, 0, -1, true), Seg(16, 20, 1, 0, 3, true)},
         "    1..5\r\n        Conserved Region #1\r\n"
         "    6..10\r\n        Confused Region: 2 Conserved Regions and 1 Variable Regions.\r\n"
         "    11..15\r\n        Confused Region: 0 Conserved Regions and 0 Variable Regions.\r\n"
         "    16..20\r\n        Conserved Region #3\r\n"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        SetTemplate(ts.st);
        ts.st.actSeq = std::string(20, 'c');
        SetSegments(ts.st, c.segs);
        EXPECT_EQ(Annotation(ts.st, false), c.expected);
    }
}

TEST(OutputFile, ALineWithoutBasesIsWrittenAsADeletion) {
    test::TestState ts;
    SetTemplate(ts.st);
    ts.st.actSeq = std::string(110, 'g');
    SetSegments(ts.st, {Seg(1, 100, 1, 0, 1, false), Seg(101, 100, 0, 1, 1, false), Seg(101, 110, 1, 0, 2, false)});
    EXPECT_EQ(Annotation(ts.st, false),
              "    1..100\r\n        Conserved Region #1\r\n"
              "    100[DEL]101\r\n        Variable Region: \"V1.txt\"\r\n"
              "    101..110\r\n        Conserved Region #2\r\n");
}

TEST(OutputFile, LinesOfUnknownPositionOrBeyondTheSequenceAreSkipped) {
    test::TestState ts;
    SetTemplate(ts.st);
    ts.st.actSeq = std::string(20, 't');
    SetSegments(ts.st, {Seg(1, 10, 1, 0, 1, false), Seg(POSNOTFOUND, POSNOTFOUND, 0, 1, 1, true),
                        Seg(11, POSAMBIGUOUS, 1, 0, 2, true), Seg(11, 20, 1, 0, 2, false),
                        Seg(21, 20, 0, 1, 2, false)});
    EXPECT_EQ(Annotation(ts.st, false),
              "    1..10\r\n        Conserved Region #1\r\n"
              "    11..20\r\n        Conserved Region #2\r\n");
    EXPECT_TRUE(ts.msgs.shown.empty());
}

TEST(OutputFile, TaxaFollowEveryVariableLineWhenIncluded) {
    test::TestState ts;
    SetTemplate(ts.st);
    ts.st.actSeq = std::string(30, 'a');
    SetSegments(ts.st, {Seg(1, 10, 1, 0, 1, false), Seg(11, 15, 0, 1, 1, false), Seg(16, 20, 1, 0, 2, false),
                        Seg(21, 25, 0, 1, 2, true), Seg(26, 30, 1, 0, 3, false)});
    SelectVariant(ts.st, 1, "aaaaa", "Poa annua PX1.1; Poa trivialis PX2.1");
    ts.st.VRPoss[2].numPoss = 0;  // found nothing: no selection
    ts.st.VRPoss[2].selPoss = 0;
    const std::string withTaxa = Annotation(ts.st, true);
    EXPECT_EQ(withTaxa,
              "    1..10\r\n        Conserved Region #1\r\n"
              "    11..15\r\n        Variable Region: \"V1.txt\"\r\n        Poa annua PX1.1; Poa trivialis PX2.1\r\n"
              "    16..20\r\n        Conserved Region #2\r\n"
              "    21..25\r\n        Variable Region: \"V2.txt\"\r\n        \r\n"
              "    26..30\r\n        Conserved Region #3\r\n");
    const std::string without = Annotation(ts.st, false);
    EXPECT_EQ(without.find("Poa annua"), std::string::npos);
    EXPECT_EQ(without.find("        \r\n"), std::string::npos);
}

TEST(OutputFile, BeforeAnyAnalysisTheTemplateNameIsEmpty) {
    test::TestState ts;
    std::string text = Written([&](TextWriter& out) { WriteOutputFileText(ts.st, out, "x.txt", "", false); });
    EXPECT_EQ(text,
              "# Varigap Output File \"x.txt\"\r\n"
              "# Analyzed with template \"\"\r\n"
              "\r\n"
              "NAME  \r\n"
              "    (bases 1 to 0)\r\n"
              "\r\n"
              "FEATURES\r\n"
              "\r\n"
              "ORIGIN\r\n");
}

}  // namespace
}  // namespace varigap
