// varigap-cli analyze --output-dir: the output file format, names, --taxa and --force.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

// The FEATURES block of an output file, without its heading.
std::string Features(const std::string& file) {
    auto start = file.find("FEATURES\r\n");
    auto end = file.find("\r\n\r\nORIGIN\r\n");
    if (start == std::string::npos || end == std::string::npos) return "?";
    start += 10;
    return end + 2 > start ? file.substr(start, end + 2 - start) : "";
}

std::string Origin(const std::string& file) {
    auto start = file.find("ORIGIN\r\n");
    return start == std::string::npos ? "?" : file.substr(start + 8);
}

TEST(CliOutputFiles, TheDocumentedExampleIsReproducedByteForByte) {
    // S1: 25 bases; T1's second region is a variable region with the file V1.txt. The
    // wide length variation lets the first conserved region stand at 1..10 in the
    // repetitive sequence; the second is placed where the variant found ends.
    TempDir dir;
    dir.Write("T.tpl", ">T1\r\nACGTACGTAC\r\n\"V1.txt\"\r\nGGGGGGGGGG\r\n");
    dir.Write("V1.txt", "GTACG>Festuca<\r\n");
    dir.Write("S.fasta", ">S1\r\nACGTACGTACGTACGTACGTACGTA\r\n");
    dir.Write("params.txt", "maxLengthVariation = 20\r\n");
    CliResult r = RunCli({"analyze", "T.tpl", "S.fasta", "--params", "params.txt", "-o", "out", "--taxa"}, dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, ">S1\tT1\n1:[C]:ACGTACGTAC\n2?{V}?GTACG\n3?[C]?TACGTACGTA\n");
    EXPECT_EQ(FileNames(dir.Path("out")), std::vector<std::string>{"S1.txt"});
    EXPECT_EQ(dir.Read("out/S1.txt"),
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
}

TEST(CliOutputFiles, OriginLinesHoldSixtyBases) {
    TempDir dir;
    const std::string cr1 = RandomBases(20, 51), cr2 = RandomBases(20, 52);
    const std::string v20 = RandomBases(20, 53), v21 = RandomBases(21, 54);
    dir.Write("short.tpl", ">Short\r\n" + cr1 + "\r\n\"v.txt\"\r\n" + cr2 + "\r\n");
    dir.Write("v.txt", v20 + ">twenty<\r\n" + v21 + ">twenty-one<\r\n");
    dir.Write("s.fasta", FastaRecord("Sixty", cr1 + v20 + cr2) + FastaRecord("Sixty one", cr1 + v21 + cr2));
    CliResult r = RunCli({"analyze", "short.tpl", "s.fasta", "-o", "."}, dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string s60 = cr1 + v20 + cr2, s61 = cr1 + v21 + cr2;
    auto groups = [](const std::string& s, size_t from, size_t count) {
        std::string line;
        for (size_t i = 0; i < count && from + 10 * i < s.size(); ++i) line += " " + s.substr(from + 10 * i, 10);
        return line;
    };
    struct Case {
        std::string file, origin, length;
    } cases[] = {
        {"Sixty.txt", " 1" + groups(s60, 0, 6) + "\r\n", "(bases 1 to 60)"},
        {"Sixtyone.txt", " 1" + groups(s61, 0, 6) + "\r\n61 " + s61.substr(60) + "\r\n", "(bases 1 to 61)"},
    };
    for (const auto& c : cases) {
        std::string text = dir.Read(c.file);
        EXPECT_EQ(Origin(text), c.origin) << c.file;
        EXPECT_NE(text.find("\r\n    " + c.length + "\r\n"), std::string::npos) << c.file;
    }
}

TEST(CliOutputFiles, FeaturesFollowTheDisplayLines) {
    CliFiles f;
    const std::string lead = RandomBases(10, 99);
    struct Case {
        std::string name, bases;
        bool taxa;
        std::string features;
    } cases[] = {
        {"Plain", f.Grass(f.intron1, f.spacer1), false,
         "    1..40\r\n        Conserved Region #1\r\n"
         "    41..70\r\n        Variable Region: \"intron.txt\"\r\n"
         "    71..110\r\n        Conserved Region #2\r\n"
         "    111..135\r\n        Variable Region: \"spacer.txt\"\r\n"
         "    136..175\r\n        Conserved Region #3\r\n"},
        {"Taxa", f.Grass(f.intron1, f.spacer2), true,
         "    1..40\r\n        Conserved Region #1\r\n"
         "    41..70\r\n        Variable Region: \"intron.txt\"\r\n        Poa annua\r\n"
         "    71..110\r\n        Conserved Region #2\r\n"
         "    111..138\r\n        Variable Region: \"spacer.txt\"\r\n        Festuca rubra; Poa trivialis\r\n"
         "    139..178\r\n        Conserved Region #3\r\n"},
        // an intron deleted: its line has no bases
        {"Deleted", f.Grass("", f.spacer1), true,
         "    1..40\r\n        Conserved Region #1\r\n"
         "    40[DEL]41\r\n        Variable Region: \"intron.txt\"\r\n        Deleted grass\r\n"
         "    41..80\r\n        Conserved Region #2\r\n"
         "    81..105\r\n        Variable Region: \"spacer.txt\"\r\n        Poa annua\r\n"
         "    106..145\r\n        Conserved Region #3\r\n"},
        // bases before the first conserved region are no anchor: FEATURES start at CR 1
        {"Leading", lead + f.Grass(f.intron1, f.spacer1), false,
         "    11..50\r\n        Conserved Region #1\r\n"
         "    51..80\r\n        Variable Region: \"intron.txt\"\r\n"
         "    81..120\r\n        Conserved Region #2\r\n"
         "    121..145\r\n        Variable Region: \"spacer.txt\"\r\n"
         "    146..185\r\n        Conserved Region #3\r\n"},
    };
    for (const auto& c : cases) {
        f.Write(c.name + ".fasta", FastaRecord(c.name, c.bases));
        std::vector<std::string> args{"analyze", "t.tpl", c.name + ".fasta", "-o", "out"};
        if (c.taxa) args.push_back("--taxa");
        CliResult r = f.Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Features(f.Read("out/" + c.name + ".txt")), c.features) << c.name;
    }
    EXPECT_EQ(Lines(f.Run({"analyze", "t.tpl", "Leading.fasta"}).out)[1], "1?0,0?" + lead);
}

TEST(CliOutputFiles, NamesAreMadeFromTheSequenceNamesAndNeverCollide) {
    CliFiles f;
    const std::string g = f.Grass(f.intron1, f.spacer1);
    f.Write("s.fasta", FastaRecord("Poa annua 1", g) + FastaRecord("Poa annua 2", g) + FastaRecord(" 12 (34)", g) +
                           FastaRecord("Poa annua 3", g) + FastaRecord("", g) + FastaRecord("no bases", "") +
                           FastaRecord("Festuca rubra", g) + FastaRecord("sequence3", g));
    CliResult r = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "Varigap: No output file for \"no bases\": nothing could be analysed.\n"
              "  in record 6 \"no bases\" of sequence file \"s.fasta\"\n");
    EXPECT_EQ(FileNames(f.Path("out")),
              (std::vector<std::string>{"Festuca.txt", "Poaannua-2.txt", "Poaannua-3.txt", "Poaannua.txt",
                                        "sequence.txt", "sequence3.txt", "sequence5.txt"}));
    struct Case {
        std::string file, name;
    } cases[] = {
        {"Poaannua.txt", "Poa annua 1"}, {"Poaannua-2.txt", "Poa annua 2"},
        {"sequence3.txt", "12 (34)"},    {"Poaannua-3.txt", "Poa annua 3"},
        {"sequence5.txt", ""},           {"sequence.txt", "sequence3"},  // at most 8 letters and digits
    };
    for (const auto& c : cases) {
        std::string text = f.Read("out/" + c.file);
        EXPECT_EQ(text.substr(0, text.find("\r\n\r\nFEATURES")),
                  "# Varigap Output File \"" + c.file + "\"\r\n# Analyzed with template \"Grass\"\r\n\r\nNAME  " +
                      c.name + "\r\n    (bases 1 to 175)")
            << c.file;
    }
}

TEST(CliOutputFiles, ExistingEntriesAreKeptUnlessForced) {
    namespace fs = std::filesystem;
    CliFiles f;
    const std::string g = f.Grass(f.intron1, f.spacer1);
    f.Write("s.fasta",
            FastaRecord("Poa", g) + FastaRecord("Carex", g) + FastaRecord("Briza", g) + FastaRecord("Festuca", g));
    f.Write("out/Poa.txt", "old");  // any entry of the name counts: a file, a dangling link, a link to a folder
    fs::create_symlink("gone.txt", f.Path("out/Carex.txt"));
    fs::create_symlink("..", f.Path("out/Briza.txt"));
    CliResult kept = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out"});
    EXPECT_EQ(kept.status, 1);
    std::string err;
    int record = 0;
    for (std::string name : {"Poa", "Carex", "Briza"})
        err += "Varigap: Output File out/" + name +
               ".txt already exists. It was left untouched (--force overwrites it).\n" + "  in record " +
               std::to_string(++record) + " \"" + name + "\" of sequence file \"s.fasta\"\n";
    EXPECT_EQ(kept.err, err);
    EXPECT_EQ(f.Read("out/Poa.txt"), "old");
    EXPECT_EQ(fs::read_symlink(f.Path("out/Carex.txt")), "gone.txt");
    EXPECT_EQ(fs::read_symlink(f.Path("out/Briza.txt")), "..");
    EXPECT_TRUE(f.Exists("out/Festuca.txt"));  // the other record is written all the same
    EXPECT_EQ(Lines(kept.out).size(), 24u);

    CliResult forced = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out", "--force"});
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(forced.err, "");
    EXPECT_EQ(f.Read("out/Poa.txt").rfind("# Varigap Output File \"Poa.txt\"\r\n", 0), 0u);
    // Nothing but the finished files is left: no temporary files.
    EXPECT_EQ(FileNames(f.Path("out")), (std::vector<std::string>{"Briza.txt", "Carex.txt", "Festuca.txt", "Poa.txt"}));
}

TEST(CliOutputFiles, AFileThatCannotBeWrittenIsReported) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("Poa", f.Grass(f.intron1, f.spacer1)));
    f.Write("blocked", "a file where the directory should be");
    CliResult r = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "blocked"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Varigap Run-Time Error: Run-Time Error #76: Path not found\n"
              "  in record 1 \"Poa\" of sequence file \"s.fasta\"\n");
    EXPECT_EQ(Lines(r.out).front(), ">Poa\tGrass");
    EXPECT_EQ(f.Read("blocked"), "a file where the directory should be");
}

}  // namespace
}  // namespace varigap::test
