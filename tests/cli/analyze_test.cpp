// varigap-cli as a process: exit statuses and messages, chosen sequences and templates, reparsing,
// output files that exist or cannot be written, the variants command, and --jobs.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/complement.h"
#include "support/golden.h"

namespace varigap::test {
namespace {

// Each run as the user sees it, in golden/runs.txt: the command line, the exit status, the
// messages on standard error and standard output.
TEST(Cli, RunsGiveTheirStatusMessagesAndOutput) {
    CliFiles f;
    // The spacer holds both listed spacers but starts with neither: the search finds both and
    // selects the longer one.
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, "GG" + f.spacer1 + f.spacer2)));
    f.Write("ab.fasta", FastaRecord("A", f.Grass(f.intron1, f.spacer1)) +
                            FastaRecord("B", f.Grass(f.intron2, f.spacer1)) +
                            FastaRecord("A", f.Grass(f.intron2, f.spacer1)));
    f.Write("rev.fasta", FastaRecord("rev", ReverseComplement(f.Grass(f.intron1, f.spacer1))));
    f.Write("huge.fasta", FastaRecord("huge", RandomBases(40000, 9)));
    f.Write("bad.tpl", ">T\r\nACGTACGT\r\n-acgt\r\n");
    f.Write("novr.tpl", ">NoVR\r\n" + f.cr1 + "\r\n>Grass\r\n" + f.cr1 + "\r\n\"intron.txt\"\r\n" + f.cr2 + "\r\n");
    f.Write("empty.tpl", "# nothing\r\n");
<<<<<<< HEAD
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
    EXPECT_EQ(r.err, "Varigap Run-Time Error: Run-Time Error #6: Overflow\n");
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
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{
                  "sequence\ttemplate\tline\tkind\tregion\tstart\tend\tflag\tregion_"
                  "name\tvariant\ttaxa\tbases\tsample\tstrand",
                  "P x\tGrass\t1\tCR\t1\t1\t40\t:\t[5' exon]\t\t\t" + f.cr1 + "\ts\t+",
                  "P x\tGrass\t2\tVR\t1\t41\t40\t:\tintron.txt\t<Deletion>\tDeleted grass\t\ts\t+",
                  "P x\tGrass\t3\tCR\t2\t41\t80\t:\t[3' exon]\t\t\t" + f.cr2 + "\ts\t+",
                  "P x\tGrass\t4\tnone\t\t81\t82\t?\t\t\t\tAC\ts\t+",
                  "P x\tGrass\t5\tVR\t2\t83\t107\t?\tspacer.txt\t" + f.spacer1 + "\tPoa annua\t" + f.spacer1 + "\ts\t+",
                  "P x\tGrass\t6\tCR\t3\t108\t147\t:\t[trnF]\t\t\t" + f.cr3 + "\ts\t+"}));
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
              "\"regions\":[],\"possibilities\":[],\"segments\":[],\"lines\":[],\"sample\":\"s\",\"strand\":\"+\"}");
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
    EXPECT_NE(after.out.find("\tspacer.txt\t" + f.spacer1 + "\tPoa annua\t" + f.spacer1 + "\ts\t+\n"),
              std::string::npos)
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
        EXPECT_EQ(r.err, "Varigap: --reparse " + c.request + " ignored: " + c.err + ".\n");
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
                                               {"analyze", "t.tpl", "s.fasta", "--jobs", "-1"},
                                               {"analyze", "t.tpl", "s.fasta", "--orient", "sideways"},
                                               {"analyze", "t.tpl", "s.fasta", "-c", "--orient", "auto"},
                                               {"analyze", "t.tpl", "s.fasta", "--sample", "late"},
                                               {"analyze", "t.tpl", "-", "-"},
                                               {"analyze", "t.tpl", "s.fasta", "--primers-trimmed", "-o", "out"},
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

=======
    f.Write("long.txt", "minCRLength = 41\r\n");  // longer than every conserved region: nothing placed
>>>>>>> main
    f.Write("quiet.txt", "showRunTimeErrors = FALSE\r\n");
    f.Write("out/A.txt", "old");
    f.Write("blocked", "a file where the directory should be");
    const std::string e250 = RandomBases(250, 5);
    f.Write("v.txt", "# a variable region file\r\nacgta >Poa annua<\r\nac gt-1 a>Festuca  rubra<\r\n" +
                         e250.substr(0, 120) + "\r\n# a comment inside the entry\r\n" + e250.substr(120) +
                         "\r\n>Long one<\r\n>Deleted<\r\nacgtac>Carex<\r\nacgt>unfinished\r\n");
    const std::string an = "analyze t.tpl s.fasta ";
    const std::string runs[] = {
        "analyze t.tpl ab.fasta -s B -s A",  // the first record called A
        "analyze t.tpl ab.fasta --sequence=A --sequence A",
        "analyze t.tpl ab.fasta",  // every record in file order, each with its own bases
        "analyze t.tpl ab.fasta -s nope -s B",
        "analyze t.tpl rev.fasta -c",
        "analyze t.tpl rev.fasta -c -s rev",
        an,
        an + "--reparse 5:1",                // the first possibility
        an + "--reparse 5:1 --reparse 5:2",  // applied in order
        an + "--reparse 1:1",
        an + "--reparse 99:1",
        an + "--reparse 5:3",
        an + "-t 2 --ranking",  // ranked all the same
        an + "--template=Sedge --ranking",
        an + "-t 3",
        an + "-t Rush",
        an + "--params long.txt --ranking",
        an + "--options gone.txt",
        "analyze t.tpl huge.fasta --options quiet.txt",  // the overflow unsaid
        "analyze t.tpl ab.fasta -o out",                 // out/A.txt exists: kept, the others written
        "analyze t.tpl ab.fasta -o out --force",         // no temporary files left
        "analyze t.tpl ab.fasta -o blocked",             // a file where the directory should be
        "analyze bad.tpl s.fasta",
        "analyze missing.tpl s.fasta",
        "analyze novr.tpl s.fasta --answer no",
        "analyze novr.tpl s.fasta --answer yes",
        "analyze empty.tpl s.fasta",
        "variants v.txt",  // entries as written, compared by their cleaned bases
        "variants v.txt --length 5",
        "variants v.txt --length 5 --mode longer",
        "variants v.txt --mode same",
        "variants v.txt --length=250 --mode=different",
        "variants gone.txt",
        "",
        "analyse",
        "analyze t.tpl",
        an + "--format xml",
        an + "-j 0",
        an + "--reparse 2",
        an + "--bogus",
        an + "--answer maybe",
        "variants",
        "variants v.txt --mode equal",
    };
    std::string log;
    for (const auto& run : runs) {
        CliResult r = f.Run(Words(run));
        log += "$ varigap-cli " + run + "\nstatus " + std::to_string(r.status) + "\n" + r.err + r.out;
        if (auto o = run.find(" -o "); o != std::string::npos)  // the files of the output directory
            log += DirectoryText(f.Path(Words(run.substr(o + 4))[0]));
    }
    ExpectGolden("tests/cli/golden/runs.txt", log);
}

TEST(Cli, ManyJobsGiveTheOutputMessagesAndFilesOfOne) {
    CliFiles f;
    std::string many;
    for (int i = 0; i < 35; ++i) many += f.EdgeRecords();  // names given again and again
    f.Write("many.fasta", many);
    const std::vector<std::string> variants[] = {
        {"--ranking", "--taxa", "--reparse", "5:1"},
        {"--format", "tsv"},
        {"--format", "json"},
        {"-s", "sequence3", "-s", "missing", "-s", "no bases", "-s", "sequence3"},
    };
    int v = 0;
    for (const auto& options : variants) {
        std::string first;
        for (std::string jobs : {"1", "2", "3"}) {
            const std::string out = "out" + std::to_string(v) + "_" + jobs;
            std::vector<std::string> args{"analyze", "t.tpl", "many.fasta", "-j", jobs, "-o", out};
            args.insert(args.end(), options.begin(), options.end());
            CliResult r = f.Run(args);
            // Messages come with their record, in record order.
            std::string all = std::to_string(r.status) + "\n" + r.out + r.err + DirectoryText(f.Path(out));
            if (jobs == "1") first = all;
            else EXPECT_EQ(all, first) << "-j " << jobs << " " << options[1];
            EXPECT_NE(r.err, "");
        }
        ++v;
    }
}

}  // namespace
}  // namespace varigap::test
