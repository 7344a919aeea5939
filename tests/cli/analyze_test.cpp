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
    f.Write("long.txt", "minCRLength = 41\r\n");  // longer than every conserved region: nothing placed
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
        an + "-j -1",
        an + "--orient sideways",
        an + "-c --orient auto",
        an + "--sample late",
        "analyze t.tpl - -",
        an + "--primers-trimmed --output-dir=out",
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
