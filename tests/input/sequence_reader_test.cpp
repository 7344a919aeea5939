// FASTA files as users bring them: names with blanks, dirty base lines, duplicates, line ends.
#include "input/sequence_reader.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

struct SequenceFile {
    test::TempDir dir;
    test::TestState t;
    ItemList names;

    explicit SequenceFile(const std::string& content) {
        dir.Write("s.fasta", content);
        t.st.sequenceFilePath = dir.Path();
        t.st.sequenceFileName = "s.fasta";
    }
    // Lists the file, then loads every listed name: "name=bases" for each, joined by "; ".
    std::string ListAndLoadAll() {
        t.st.actSeq = "old";
        LoadSequenceFile(t.st, names);
        EXPECT_EQ(t.st.actSeq, "");  // listing loads nothing
        EXPECT_EQ(names.ListIndex(), names.ListCount() ? 0 : -1);
        std::string s;
        for (const std::string& name : names.Items()) {
            EXPECT_TRUE(LoadActSeq(t.st, name, false));
            s += (s.empty() ? "" : "; ") + name + "=" + t.st.actSeq;
        }
        return s;
    }
};

TEST(SequenceReader, ListedNamesAndTheBasesTheyLoad) {
    struct Case {
        std::string file, loaded;
    } const cases[] = {
        {">Festuca rubra\r\nggcaatcctg agccaaatcc tgttttgaga\r\naaacaagggg\r\n>Poa annua 2\r\nggcaatcctg agcc-aatcc "
         "tgtt\r\n",
         "Festuca rubra=ggcaatcctgagccaaatcctgttttgagaaaacaagggg; Poa annua 2=ggcaatcctgagccaatcctgtt"},
        {">  Poa annua\nA\n>Poa annua \nC\n>Poa annua\nG\n", "Poa annua=A; Poa annua =C; Poa annua=A"},
        {"  >x\nA\n\t>\nC\n>>y\nG\n", "x=A; =C; >y=G"},  // leading blanks, an empty name, one ">" removed
        {">dup\nAAAA\n>other\nCC\n>dup\nGG\n", "dup=AAAA; other=CC; dup=AAAA"},
        {"text before\n>s\nacgu RYKM 123 ...\n\n  21 XX*tt\r\n\tbdhv\rBDHV", "s=acguRYKMttbdhvBDHV"},
        {"\xEF\xBB\xBF>a\rAC\r>b\n", "a=AC; b="},
        {"acgt\nacgt\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SequenceFile f(c.file);
        EXPECT_EQ(f.ListAndLoadAll(), c.loaded) << c.file;
        EXPECT_TRUE(f.t.msgs.shown.empty());
    }
}

TEST(SequenceReader, TheComplementIsTakenWhenAsked) {
    SequenceFile f(">a\nAACG\n>b\nacgu\n>c\nRYKMBDHVNSW-x\n");
    for (auto [name, bases] : {std::pair{"a", "CGTT"}, {"b", "ucgt"}, {"c", "WSNBDHVKMRY"}, {"x", ""}}) {
        EXPECT_TRUE(LoadActSeq(f.t.st, name, true));
        EXPECT_EQ(f.t.st.actSeq, bases);
    }
}

TEST(SequenceReader, AMissingFileIsReportedAndChangesNothing) {
    SequenceFile f(">a\nACGT\n>b\nGG\n");
    f.ListAndLoadAll();
    f.names.SetListIndex(0);
    f.t.st.sequenceFileName = "gone.fasta";
    LoadSequenceFile(f.t.st, f.names);
    EXPECT_FALSE(LoadActSeq(f.t.st, "a", false));
    const std::string message = "Error: Varigap Sequence File \"" + f.dir.Path("gone.fasta") + "\" not found.";
    EXPECT_EQ(f.t.msgs.Texts(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(f.names.Items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(f.t.st.actSeq, "GG");
    f.t.st.sequenceFileName = "";  // no file chosen: nothing happens and nothing is said
    LoadSequenceFile(f.t.st, f.names);
    EXPECT_EQ(f.names.ListCount(), 2);
    EXPECT_EQ(f.t.msgs.shown.size(), 2u);
}

TEST(SequenceReader, AUtf16FileIsRefusedWithAMessage) {
    for (std::string bom : {"\xFF\xFE", "\xFE\xFF"}) {  // little- and big-endian ">a", "A"
        SequenceFile f(bom + std::string(">\0a\0\n\0A\0", 10));
        LoadSequenceFile(f.t.st, f.names);
        EXPECT_FALSE(LoadActSeq(f.t.st, "a", false));
        const std::string message = "Error: Varigap Sequence File \"" + f.dir.Path("s.fasta") +
                                    "\" is UTF-16 text.  Sequence files must be plain text (ASCII or UTF-8).";
        EXPECT_EQ(f.t.msgs.Texts(), (std::vector<std::string>{message, message}));
        EXPECT_EQ(f.names.ListCount(), 0);
    }
}

TEST(SequenceReader, FastaStreamGivesEveryRecordOnceInFileOrder) {
    struct Case {
        std::string file, records;
    } const cases[] = {
        {"header line\nACGT\n>dup\nAA\n>other \nCC\n>dup\nGG\n", "dup=AA; other =CC; dup=GG"},
        {">\n>  \t\n\n>x\n", "=; =; x="},
        {"  > a\r\n 1 ac-gu RY\r\n\r\n\t>b\r\nn n\r\n>c\nAC\nGT", "a=acguRY; b=nn; c=ACGT"},
        {"acgt\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        TextReader file;
        file.Open(dir.Write("s.fasta", c.file));
        FastaStream stream(file);
        std::string s, name, bases;
        while (stream.Next(name, bases)) s += (s.empty() ? "" : "; ") + name + "=" + bases;
        EXPECT_EQ(s, c.records) << c.file;
        EXPECT_FALSE(stream.Next(name, bases));  // stays at the end
    }
}

}  // namespace
}  // namespace varigap
