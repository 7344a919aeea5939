// varigap-cli analyze run as a process: display lines, ranking, formats, templates, errors.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

TEST(CliAnalyze, EachRecordIsListedAsTheMainWindowListsIt) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("Poa annua 1", f.Grass(f.intron1, f.spacer2)) +
                           FastaRecord("Festuca 2", f.Grass(f.intron2, f.spacer1)));
    CliResult r = f.Analyze();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              ">Poa annua 1\tGrass\n"
              "1:[C]:" +
                  f.cr1 + "\n2:{V}:" + f.intron1 + "\n3:[C]:" + f.cr2 + "\n4:{V}:" + f.spacer2 + "\n5:[C]:" + f.cr3 +
                  "\n"
                  ">Festuca 2\tGrass\n"
                  "1:[C]:" +
                  f.cr1 + "\n2:{V}:" + f.intron2 + "\n3:[C]:" + f.cr2 + "\n4:{V}:" + f.spacer1 + "\n5:[C]:" + f.cr3 +
                  "\n");
}

TEST(CliAnalyze, TheRankingListsEveryTemplateBestFirst) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    CliResult r = f.Analyze({"--ranking"});
    EXPECT_EQ(r.status, 0) << r.err;
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], ">P\tGrass");
    EXPECT_EQ(lines[1], "#rank\t1\t1\tGrass\t120\t120\t1.000000");
    // the other template: its matched and spanned bases and the fraction with six decimals
    EXPECT_EQ(lines[2].rfind("#rank\t2\t2\tSedge\t", 0), 0u) << lines[2];
    EXPECT_EQ(lines[2].substr(lines[2].size() - 9, 3), "\t0.");
    EXPECT_EQ(lines[3], "1:[C]:" + f.cr1);
}

TEST(CliAnalyze, NamedSequencesAreAnalysedInTheOrderGivenAndMissingOnesReported) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("A", f.Grass(f.intron1, f.spacer1)) +
                           FastaRecord("B", f.Grass(f.intron2, f.spacer2)) +
                           FastaRecord("A", f.Grass(f.intron2, f.spacer1)));
    struct Case {
        std::vector<std::string> args;
        std::string intronsInOrder;
        int status;
        std::string err;
    } cases[] = {
        {{"-s", "B", "-s", "A"}, "21", 0, ""},  // the first record called A
        {{"--sequence=A", "--sequence", "A"}, "11", 0, ""},
        {{}, "122", 0, ""},  // every record, in file order, duplicates too
        {{"-s", "nope", "-s", "A"}, "1", 1, "Varigap: Sequence \"nope\" not found in sequence file \"s.fasta\".\n"},
    };
    for (const auto& c : cases) {
        CliResult r = f.Analyze(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        std::string found;
        for (const auto& line : Lines(r.out)) {
            if (line == "2:{V}:" + f.intron1) found += "1";
            if (line == "2:{V}:" + f.intron2) found += "2";
        }
        EXPECT_EQ(found, c.intronsInOrder);
    }
}

TEST(CliAnalyze, TheComplementIsAnalysedOnRequest) {
    CliFiles f;
    std::string seq = f.Grass(f.intron1, f.spacer1), rc;
    for (auto it = seq.rbegin(); it != seq.rend(); ++it)
        rc += *it == 'A' ? 'T' : *it == 'T' ? 'A' : *it == 'C' ? 'G' : 'C';
    f.Write("s.fasta", FastaRecord("rev", rc));
    for (auto args : {std::vector<std::string>{"-c"}, {"-c", "-s", "rev"}}) {
        CliResult r = f.Analyze(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Lines(r.out)[2], "2:{V}:" + f.intron1) << args.size();
    }
}

TEST(CliAnalyze, ATemplateCanBeChosenByNumberOrName) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    struct Case {
        std::string choice, header;
    } cases[] = {
        {"2", ">P\tSedge"}, {"Sedge", ">P\tSedge"}, {"1", ">P\tGrass"}, {"Grass", ">P\tGrass"}, {"3", ""}, {"Rush", ""},
    };
    for (const auto& c : cases) {
        CliResult r = f.Analyze({"-t", c.choice, "--ranking"});
        EXPECT_EQ(r.status, c.header.empty() ? 2 : 0) << c.choice;
        if (c.header.empty()) {
            EXPECT_EQ(r.err, "Varigap: Template file \"t.tpl\" has no template " + c.choice + ".\n");
            EXPECT_EQ(r.out, "");
        } else {
            EXPECT_EQ(Lines(r.out)[0], c.header);
            EXPECT_EQ(Lines(r.out)[1], "#rank\t1\t1\tGrass\t120\t120\t1.000000");  // ranked all the same
        }
    }
}

TEST(CliAnalyze, ATemplateFileThatFailsToLoadEndsTheRun) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    f.Write("bad.tpl", ">T\r\nACGTACGT\r\n-acgt\r\n");
    f.Write("novr.tpl", ">NoVR\r\n" + f.cr1 + "\r\n>Grass\r\n" + f.cr1 + "\r\n\"intron.txt\"\r\n" + f.cr2 + "\r\n");
    f.Write("empty.tpl", "# nothing\r\n");
    const std::string noVR =
        "Varigap: Template NoVR has no variable regions specified. Are you sure \"novr.tpl\"is a "
        "valid Varigap TEMPLATE file?\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"bad.tpl"},
         2,
         "Varigap: Parse error in template file bad.tpl.  Unexpected initial character in line: -acgt\n"
         "Varigap: Template file \"bad.tpl\" could not be loaded.\n"},
        {{"missing.tpl"},
         2,
         "Varigap: Error: Varigap Template File \"missing.tpl\" not found.\n"
         "Varigap: Template file \"missing.tpl\" could not be loaded.\n"},
        {{"novr.tpl", "--answer", "no"}, 2, noVR + "Varigap: Template file \"novr.tpl\" could not be loaded.\n"},
        {{"novr.tpl", "--answer", "yes"}, 0, noVR},
        {{"empty.tpl"}, 2, "Varigap: Template file \"empty.tpl\" holds no template.\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"analyze", c.args[0], "s.fasta"};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        CliResult r = f.Run(args);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        EXPECT_EQ(r.err, c.err);
        if (c.status != 0) {
            EXPECT_EQ(r.out, "");
        }
    }
}

TEST(CliAnalyze, SequencesThatCannotBeAnalysedGiveTheirNameAlone) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("empty", "") + FastaRecord("huge", f.cr1 + RandomBases(40000, 7)) +
                           FastaRecord("ok", f.Grass(f.intron1, f.spacer1)));
    CliResult r = f.Analyze();
    EXPECT_EQ(r.status, 0);
    // The message's own text does not say which record could not be analysed: the line after it does.
    EXPECT_EQ(
        r.err,
        "Varigap Run-Time Error: Run-Time Error #6: Overflow\n  in record 2 \"huge\" of sequence file \"s.fasta\"\n");
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], ">empty\t");
    EXPECT_EQ(lines[1], ">huge\t");
    EXPECT_EQ(lines[2], ">ok\tGrass");
}

TEST(CliAnalyze, TsvGivesOneRowPerDisplayLine) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P\tx", f.Grass("", "AC" + f.spacer1)));
    CliResult r = f.Analyze({"--format", "tsv"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        Lines(r.out),
        (std::vector<std::string>{
            "sequence\ttemplate\tline\tkind\tregion\tstart\tend\tflag\tregion_name\tvariant\ttaxa\tbases",
            "P x\tGrass\t1\tCR\t1\t1\t40\t:\t[5' exon]\t\t\t" + f.cr1,
            "P x\tGrass\t2\tVR\t1\t41\t40\t:\tintron.txt\t<Deletion>\tDeleted grass\t",
            "P x\tGrass\t3\tCR\t2\t41\t80\t:\t[3' exon]\t\t\t" + f.cr2, "P x\tGrass\t4\tnone\t\t81\t82\t?\t\t\t\tAC",
            "P x\tGrass\t5\tVR\t2\t83\t107\t?\tspacer.txt\t" + f.spacer1 + "\tPoa annua\t" + f.spacer1,
            "P x\tGrass\t6\tCR\t3\t108\t147\t:\t[trnF]\t\t\t" + f.cr3}));
}

TEST(CliAnalyze, JsonHoldsEverythingPerSequence) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P \"1\"", f.Grass(f.intron1, f.spacer1)) + FastaRecord("none", ""));
    CliResult r = f.Analyze({"--format", "json"});
    EXPECT_EQ(r.status, 0) << r.err;
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 2u);
    for (const char* part :
         {"{\"sequence\":\"P \\\"1\\\"\",\"length\":175,\"analysed\":true,"
          "\"template\":{\"number\":1,\"name\":\"Grass\"},\"ranking\":[{\"rank\":1,\"template\":1,",
          "\"regions\":[{\"region\":1,\"kind\":\"CR\",\"number\":1,\"name\":\"[5' exon]\",\"start\":1,"
          "\"end\":40,\"unresolved\":false}",
          "\"possibilities\":[{\"vr\":1,\"file\":\"intron.txt\",\"numPoss\":1,\"selPoss\":1,",
          "\"taxa\":\"Poa annua\"}]}",
          "\"segments\":[{\"line\":1,\"kind\":\"CR\",\"region\":1,\"start\":1,\"end\":40,\"nCRs\":1,"
          "\"nVRs\":0,\"unresolved\":false}",
          "\"lines\":[\"1:[C]:"})
        EXPECT_NE(lines[0].find(part), std::string::npos) << part;
    EXPECT_EQ(lines[0].rfind("{\"sequence\":", 0), 0u);
    EXPECT_EQ(lines[1],
              "{\"sequence\":\"none\",\"length\":0,\"analysed\":false,\"template\":null,\"ranking\":[],"
              "\"regions\":[],\"possibilities\":[],\"segments\":[],\"lines\":[]}");
}

TEST(CliAnalyze, ReparseChoosesAnotherPossibility) {
    CliFiles f;
    // The spacer holds both listed spacers but starts with neither: the search finds both and
    // selects the longer one; --reparse picks the first.
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, "GG" + f.spacer1 + f.spacer2)));
    CliResult before = f.Analyze({"--format", "tsv"});
    EXPECT_EQ(before.status, 0) << before.err;
    std::string line;  // the spacer's display line: the longer spacer selected
    for (const auto& row : Lines(before.out))
        if (row.find("\tVR\t2\t") != std::string::npos &&
            row.find("\tspacer.txt\t" + f.spacer2 + "\tFestuca rubra; Poa trivialis\t" + f.spacer2) !=
                std::string::npos)
            line = row.substr(8, row.find('\t', 8) - 8);  // after "P\tGrass\t"
    ASSERT_FALSE(line.empty()) << before.out;

    CliResult after = f.Analyze({"--format", "tsv", "--reparse", line + ":1"});
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(after.err, "");
    EXPECT_NE(after.out.find("\tVR\t2\t"), std::string::npos);
    EXPECT_NE(after.out.find("\tspacer.txt\t" + f.spacer1 + "\tPoa annua\t" + f.spacer1 + "\n"), std::string::npos)
        << after.out;

    struct Case {
        std::string request, err;
    } cases[] = {
        {"1:1", "display line 1 is not a variable region"},
        {"99:1", "there is no display line 99"},
        {line + ":3", "the variable region of display line " + line + " has 2 possibilities"},
    };
    for (const auto& c : cases) {
        CliResult r = f.Analyze({"--format", "tsv", "--reparse", c.request});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "Varigap: --reparse " + c.request + " ignored: " + c.err +
                             ".\n  in record 1 \"P\" of sequence file \"s.fasta\"\n");
        EXPECT_EQ(r.out, before.out);
    }
}

TEST(CliAnalyze, UsageErrorsExitWithTwo) {
    CliFiles f;
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{},
                                               {"analyse"},
                                               {"analyze", "t.tpl"},
                                               {"analyze", "t.tpl", "s.fasta", "--format", "xml"},
                                               {"analyze", "t.tpl", "s.fasta", "--jobs", "0"},
                                               {"analyze", "t.tpl", "s.fasta", "--reparse", "2"},
                                               {"analyze", "t.tpl", "s.fasta", "--bogus"},
                                               {"analyze", "t.tpl", "s.fasta", "--answer", "maybe"},
                                               {"variants"},
                                               {"variants", "v.txt", "--mode", "equal"}}) {
        CliResult r = f.Run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_NE(r.err.find("Try \"varigap-cli --help\"."), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    CliResult help = f.Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"analyze", "variants", "--sequence", "--complement", "--template", "--params", "--options",
                             "--answer", "--reparse", "--ranking", "--format", "--output-dir", "--taxa", "--force",
                             "--jobs", "--length", "--mode", "Exit status"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

TEST(CliAnalyze, SettingsFilesAreReadFromTheCommandLine) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    // With a minimum analysed length above the conserved regions' length nothing is placed.
    f.Write("long.txt", "minCRLength = 41\r\n");
    CliResult r = f.Analyze({"--params", "long.txt", "--ranking"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out)[1], "#rank\t1\t1\tGrass\t0\t0\t0.000000");
    CliResult missing = f.Analyze({"--options", "gone.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "Varigap: Error: Varigap Options File \"gone.txt\" not found.\n");

    f.Write("quiet.txt", "showRunTimeErrors = FALSE\r\n");
    f.Write("s.fasta", FastaRecord("huge", RandomBases(40000, 9)));
    CliResult quiet = f.Analyze({"--options", "quiet.txt"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, ">huge\t\n");
}

TEST(CliAnalyze, TheBundledExampleIsAnalysed) {
    const std::string example = std::string(VARIGAP_SOURCE_DIR) + "/data/example";
    CliResult r = RunCli({"analyze", "trnLF.tpl", "sequences.fasta", "--ranking"}, example);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    size_t records = 0, grassIntrons = 0;
    for (const auto& line : Lines(r.out)) {
        if (line[0] == '>' && line.substr(line.find('\t')) == "\tPoaceae trnL-F") ++records;
        if (line.rfind("3:{V}:", 0) == 0) ++grassIntrons;  // flanking bases, 5' exon, intron identified
    }
    EXPECT_EQ(records, 16u);
    EXPECT_EQ(grassIntrons, 5u);  // the five full grass regions
    EXPECT_EQ(Lines(r.out).at(1), "#rank\t1\t1\tPoaceae trnL-F\t158\t158\t1.000000");

    // The reverse-strand record, complemented, reads as the forward one.
    const std::string name = "Neomicrocalamus yunnanensis PV976845.1";
    CliResult fwd = RunCli({"analyze", "trnLF.tpl", "sequences.fasta", "-s", name}, example);
    CliResult rev =
        RunCli({"analyze", "trnLF.tpl", "sequences.fasta", "-c", "-s", name + " (reverse strand)"}, example);
    EXPECT_EQ(rev.out.substr(rev.out.find('\n')), fwd.out.substr(fwd.out.find('\n')));
    EXPECT_EQ(Lines(rev.out).size(), 8u);
}

}  // namespace
}  // namespace varigap::test
