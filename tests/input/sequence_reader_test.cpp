// FASTA files as users bring them: names with blanks, dirty base lines, duplicates, line ends;
// read name by name (the main window) or streamed record by record (the command line), as
// golden/sequence_files.txt lists them.
#include "input/sequence_reader.h"

#include <gtest/gtest.h>

#include "support/golden.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(SequenceReader, ListedNamesTheBasesTheyLoadAndTheStreamedRecords) {
    const std::string files[] = {
        ">Festuca rubra\r\nggcaatcctg agccaaatcc\r\naaacaagggg\r\n>Poa annua 2\r\nggcaatcctg agcc-aatcc tgtt\r\n",
        ">  Poa annua\nA\n>Poa annua \nC\n>Poa annua\nG\n",  // the first of a name, or each record
        "  >x\nA\n\t>\nC\n>>y\nG\n",                         // leading blanks, an empty name, one ">" removed
        "text before\n>s\nacgu RYKM 123 ...\n\n  21 XX*tt\r\n\tbdhv\rBDHV",
        "\xEF\xBB\xBF>a\rAC\r>b\n",
        ">\n>  \t\n\n>x\n",
        "acgt\nacgt\n",
        "",
    };
    std::string log;
    for (const std::string& content : files) {
        test::TempDir dir;
        test::TestState t;
        dir.Write("s.fasta", content);
        t.session.sequenceFilePath = dir.Path();
        t.session.sequenceFileName = "s.fasta";
        t.st.actSeq = "old";
        ItemList names;
        LoadSequenceFile(t.st, names);
        EXPECT_EQ(t.st.actSeq, "");  // listing loads nothing
        EXPECT_EQ(names.ListIndex(), names.ListCount() ? 0 : -1);
        log += test::OneLine(content) + "\n    listed and loaded:";
        for (const std::string& n : names.Items()) {
            EXPECT_TRUE(LoadActSeq(t.st, n, false));
            log += " \"" + n + "\" " + t.st.actSeq + ";";
        }
        log += "\n    streamed:";
        TextReader file;
        file.Open(dir.Path("s.fasta"));
        FastaStream stream(file);
        std::string name, bases;
        while (stream.Next(name, bases)) log += " \"" + name + "\" " + bases + ";";
        EXPECT_FALSE(stream.Next(name, bases));  // stays at the end
        EXPECT_TRUE(t.msgs.shown.empty());
        log += "\n";
    }
    test::ExpectGolden("tests/input/golden/sequence_files.txt", log);
}

TEST(SequenceReader, TheComplementIsTakenWhenAskedAndAMissingFileChangesNothing) {
    test::TempDir dir;
    test::TestState t;
    dir.Write("s.fasta", ">a\nAACG\n>b\nacgu\n>c\nRYKMBDHVNSW-x\n");
    t.session.sequenceFilePath = dir.Path();
    t.session.sequenceFileName = "s.fasta";
    for (auto [name, bases] : {std::pair{"a", "CGTT"}, {"b", "ucgt"}, {"c", "WSNBDHVKMRY"}, {"x", ""}}) {
        EXPECT_TRUE(LoadActSeq(t.st, name, true));
        EXPECT_EQ(t.st.actSeq, bases);
    }
    ItemList names;
    LoadSequenceFile(t.st, names);
    LoadActSeq(t.st, "a", false);
    t.session.sequenceFileName = "gone.fasta";
    LoadSequenceFile(t.st, names);
    EXPECT_FALSE(LoadActSeq(t.st, "b", false));
    const std::string message = "Error: Varigap Sequence File \"" + dir.Path("gone.fasta") + "\" not found.";
    EXPECT_EQ(t.msgs.Texts(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(t.st.actSeq, "AACG");
    t.session.sequenceFileName = "";  // no file chosen: nothing happens and nothing is said
    LoadSequenceFile(t.st, names);
    EXPECT_EQ(names.ListCount(), 3);
    EXPECT_EQ(t.msgs.shown.size(), 2u);
}

TEST(SequenceReader, AUtf16FileIsRefusedWithAMessage) {
    for (std::string bom : {"\xFF\xFE", "\xFE\xFF"}) {  // little- and big-endian ">a", "A"
        test::TempDir dir;
        test::TestState t;
        dir.Write("s.fasta", bom + std::string(">\0a\0\n\0A\0", 8));
        t.session.sequenceFilePath = dir.Path();
        t.session.sequenceFileName = "s.fasta";
        ItemList names;
        LoadSequenceFile(t.st, names);
        EXPECT_FALSE(LoadActSeq(t.st, "a", false));
        const std::string message = "Error: Varigap Sequence File \"" + dir.Path("s.fasta") +
                                    "\" is UTF-16 text.  Sequence files must be plain text (ASCII or UTF-8).";
        EXPECT_EQ(t.msgs.Texts(), (std::vector<std::string>{message, message}));
        EXPECT_EQ(names.ListCount(), 0);
    }
}

}  // namespace
}  // namespace varigap
