// FASTA files as users bring them: names with blanks, dirty base lines, duplicates, line ends.
#include "input/sequence_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using Names = std::vector<std::string>;

struct SequenceFile {
    test::TempDir dir;
    test::TestState t;
    State& st = t.st;
    ItemList names;

    void Use(const std::string& content, const std::string& name = "s.fasta") {
        dir.Write(name, content);
        st.sequenceFilePath = dir.Path();
        st.sequenceFileName = name;
    }
    void List(const std::string& content) {
        Use(content);
        LoadSequenceFile(st, names);
    }
    std::string Load(const std::string& name, bool complement = false) {
        EXPECT_TRUE(LoadActSeq(st, name, complement));
        return st.actSeq;
    }
};

const std::string kExample =
    ">Festuca rubra\r\n"
    "ggcaatcctg agccaaatcc tgttttgaga\r\n"
    "aaacaagggg\r\n"
    ">Poa annua 2\r\n"
    "ggcaatcctg agcc-aatcc tgtt\r\n";

TEST(SequenceReader, ListsTheNamesAndLoadsOneSequence) {
    SequenceFile f;
    f.st.actSeq = "old";
    f.List(kExample);
    EXPECT_EQ(f.names.Items(), (Names{"Festuca rubra", "Poa annua 2"}));
    EXPECT_EQ(f.names.ListIndex(), 0);
    EXPECT_EQ(f.names.Text(), "Festuca rubra");
    EXPECT_EQ(f.st.actSeq, "");  // listing loads nothing
    EXPECT_EQ(f.Load("Poa annua 2"), "ggcaatcctgagccaatcctgtt");
    EXPECT_EQ(f.Load("Festuca rubra"), "ggcaatcctgagccaaatcctgttttgagaaaacaagggg");
    EXPECT_TRUE(f.t.msgs.shown.empty());
}

// What the list shows for each name line, and that analysing a listed name finds its record.
TEST(SequenceReader, NameLines) {
    struct Case {
        const char* what;
        std::string file;
        Names names;
    };
    const Case cases[] = {
        {"blanks after > go, trailing blanks stay", ">  Poa annua\nA\n>Poa annua\nC\n> Poa annua \nG\n",
         {"Poa annua", "Poa annua", "Poa annua "}},
        {"leading blanks and Tabs before >", "  >x\nA\n\t>y\nC\n", {"x", "y"}},
        {"only one > is removed", ">>x\nA\n> >y\nC\n", {">x", ">y"}},
        {"an empty name", ">\nA\n> \t\nC\n", {"", ""}},
        {"lines before the first name are ignored", "text\n>a b\nA\n", {"a b"}},
        {"no name line at all", "acgt\nacgt\n", {}},
        {"empty file", "", {}},
        {"bare LF, bare CR, no last line end", ">a\nA\r>b\rC\n>c", {"a", "b", "c"}},
        {"byte order mark", "\xEF\xBB\xBF>a\nA\n", {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SequenceFile f;
        f.List(c.file);
        EXPECT_EQ(f.names.Items(), c.names);
        EXPECT_EQ(f.names.ListIndex(), c.names.empty() ? -1 : 0);
        EXPECT_TRUE(f.t.msgs.shown.empty());
    }
}

TEST(SequenceReader, EachListedNameLoadsItsOwnRecord) {
    SequenceFile f;
    f.List(">  Poa annua\nAAAA\n>Poa annua \nCCCC\n  >x\nGGGG\n>\nTTTT\n");
    ASSERT_EQ(f.names.ListCount(), 4);
    EXPECT_EQ(f.Load(f.names.List(0)), "AAAA");
    EXPECT_EQ(f.Load(f.names.List(1)), "CCCC");  // the trailing blank finds the same line again
    EXPECT_EQ(f.Load(f.names.List(2)), "GGGG");
    EXPECT_EQ(f.Load(f.names.List(3)), "TTTT");
    EXPECT_EQ(f.Load("poa annua"), "");  // names are compared exactly
    EXPECT_EQ(f.Load("Poa"), "");
}

TEST(SequenceReader, BaseLinesAreCleaned) {
    struct Case {
        std::string lines, bases;
    };
    const Case cases[] = {
        {"acgu RYKM 123 ...\n", "acguRYKM"},
        {"  1 ggcaatcctg agcc-aatcc\n\n  21 XX*tt\n", "ggcaatcctgagccaatcctt"},
        {"\tNNNN\r\nbdhv\rBDHV\nswSW", "NNNNbdhvBDHVswSW"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        SequenceFile f;
        f.Use(">s\n" + c.lines + "\n>next\nAAAA\n");
        EXPECT_EQ(f.Load("s"), c.bases);
    }
}

TEST(SequenceReader, DuplicateNamesLoadTheFirst) {
    SequenceFile f;
    f.List(">dup\nAAAA\n>other\nCCCC\n>dup\nGGGG\n");
    EXPECT_EQ(f.names.Items(), (Names{"dup", "other", "dup"}));
    EXPECT_EQ(f.Load("dup"), "AAAA");
}

TEST(SequenceReader, TheComplementIsTakenWhenAsked) {
    SequenceFile f;
    f.Use(">a\nAACG\n>b\nacgu\n>c\nRYKMBDHVNSW-x\n");
    EXPECT_EQ(f.Load("a", true), "CGTT");
    EXPECT_EQ(f.Load("b", true), "ucgt");  // u has no complement
    EXPECT_EQ(f.Load("c", true), "WSNBDHVKMRY");
    EXPECT_EQ(f.Load("a", false), "AACG");
}

TEST(SequenceReader, AMissingFileIsReportedAndChangesNothing) {
    SequenceFile f;
    f.List(">a\nACGT\n>b\nGG\n");
    f.names.SetListIndex(1);
    EXPECT_EQ(f.Load("a"), "ACGT");

    f.st.sequenceFileName = "gone.fasta";
    const std::string message = "Error: Varigap Sequence File \"" + f.dir.Path("gone.fasta") + "\" not found.";
    LoadSequenceFile(f.st, f.names);
    EXPECT_EQ(f.names.Items(), (Names{"a", "b"}));
    EXPECT_EQ(f.names.ListIndex(), 1);
    EXPECT_FALSE(LoadActSeq(f.st, "a", false));
    EXPECT_EQ(f.st.actSeq, "ACGT");
    EXPECT_EQ(f.t.msgs.Texts(), (Names{message, message}));

    // No file chosen: nothing happens and nothing is said.
    f.st.sequenceFileName = "";
    LoadSequenceFile(f.st, f.names);
    EXPECT_EQ(f.names.ListCount(), 2);
    EXPECT_EQ(f.t.msgs.shown.size(), 2u);
}

TEST(SequenceReader, ListingAgainReplacesTheNames) {
    SequenceFile f;
    f.List(">a\nA\n>b\nC\n");
    f.names.SetListIndex(1);
    f.st.actSeq = "AC";
    f.List("no records here\n");
    EXPECT_EQ(f.names.ListCount(), 0);
    EXPECT_EQ(f.names.ListIndex(), -1);
    EXPECT_EQ(f.st.actSeq, "");
}

using Records = std::vector<std::pair<std::string, std::string>>;

Records Stream(const std::string& content) {
    test::TempDir dir;
    TextReader file;
    file.Open(dir.Write("s.fasta", content));
    FastaStream stream(file);
    Records out;
    std::string name, bases;
    while (stream.Next(name, bases)) out.emplace_back(name, bases);
    EXPECT_FALSE(stream.Next(name, bases));  // stays at the end
    return out;
}

TEST(SequenceReader, FastaStreamGivesEveryRecordOnceInFileOrder) {
    struct Case {
        const char* what;
        std::string file;
        Records records;
    };
    const Case cases[] = {
        {"duplicates and text before the first record", "header line\nACGT\n>dup\nAA\n>other \nCC\n>dup\nGG\n",
         {{"dup", "AA"}, {"other ", "CC"}, {"dup", "GG"}}},
        {"empty names and empty records", ">\n>  \t\n\n>x\n", {{"", ""}, {"", ""}, {"x", ""}}},
        {"cleaning and leading blanks", "  > a\r\n 1 ac-gu RY\r\n\r\n\t>b\r\nn n\r\n", {{"a", "acguRY"}, {"b", "nn"}}},
        {"no last line end", ">a\nAC\nGT", {{"a", "ACGT"}}},
        {"no record", "acgt\n", {}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Stream(c.file), c.records);
    }
}

TEST(SequenceReader, FastaStreamHandlesManyLongRecords) {
    std::string content;
    std::string line(70, 'a');
    for (int i = 0; i < 300; ++i) {
        content += ">seq" + std::to_string(i) + "\n";
        for (int k = 0; k < 20; ++k) content += line + "\n";
    }
    Records records = Stream(content);
    ASSERT_EQ(records.size(), 300u);
    EXPECT_EQ(records[299].first, "seq299");
    EXPECT_EQ(records[299].second, std::string(1400, 'a'));

    SequenceFile f;
    f.Use(content);
    EXPECT_EQ(f.Load("seq299").size(), 1400u);
}

}  // namespace
}  // namespace varigap
