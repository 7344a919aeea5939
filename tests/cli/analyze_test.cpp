// varigap-cli as a process: exit statuses and messages, chosen sequences and templates, reparsing,
// output files that exist or cannot be written, the variants command, and --jobs.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/complement.h"
#include "core/textfile.h"

namespace varigap::test {
namespace {

std::string Usage(const std::string& reason) { return "varigap-cli: " + reason + "\nTry \"varigap-cli --help\".\n"; }
std::string Said(const std::string& text) { return "Varigap: " + text + "\n"; }

// Each run as the user sees it: exit status, messages, and standard output (exactly, or its start
// where the expected text ends in "...").
TEST(Cli, RunsGiveTheirStatusMessagesAndOutput) {
    CliFiles f;
    // The spacer holds both listed spacers but starts with neither: the search finds both and
    // selects the longer one; --reparse 5:1 picks the first.
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
    const std::string e250 = RandomBases(250, 5);
    f.Write("v.txt", "# a variable region file\r\nacgta >Poa annua<\r\nac gt-1 a>Festuca  rubra<\r\n" +
                         e250.substr(0, 120) + "\r\n# a comment inside the entry\r\n" + e250.substr(120) +
                         "\r\n>Long one<\r\n>Deleted<\r\nacgtac>Carex<\r\nacgt>unfinished\r\n");
    const std::string five = "acgta \tPoa annua\nac gt-1 a\tFestuca  rubra\n";  // as written, compared cleaned
    const std::string longLines = e250.substr(0, 100) + " +\tLong one\n" + e250.substr(100, 100) + " +\tLong one\n" +
                                  e250.substr(200) + "\tLong one\n";
    const std::string noVR = Said(
        "Template NoVR has no variable regions specified. Are you sure \"novr.tpl\"is a valid Varigap TEMPLATE file?");
    auto notLoaded = [](const std::string& file) {
        return Said("Template file \"" + file + "\" could not be loaded.");
    };
    auto listed = [&](const std::string& name, const std::string& intron) {
        return ">" + name + "\tGrass\n1:[C]:" + f.cr1 + "\n2:{V}:" + intron + "\n3:[C]:" + f.cr2 +
               "\n4:{V}:" + f.spacer1 + "\n5:[C]:" + f.cr3 + "\n";
    };
    const std::string p = ">P\tGrass\n1:[C]:" + f.cr1 + "\n2:{V}:" + f.intron1 + "\n3:[C]:" + f.cr2 + "\n4?0,0?GG";
    const std::string longer = p + f.spacer1 + "\n5?{V}?" + f.spacer2 + "\n6:[C]:" + f.cr3 + "\n";
    const std::string first = p + "\n5?{V}?" + f.spacer1 + "\n6?0,0?" + f.spacer2 + "\n7:[C]:" + f.cr3 + "\n";
    const std::string an = "analyze t.tpl s.fasta ", sedge = ">P\tSedge\n#rank\t1\t1\tGrass\t120\t120\t1.000000\n...";
    auto ignored = [](const std::string& request, const std::string& reason) {
        return Said("--reparse " + request + " ignored: " + reason + ".");
    };
    struct Case {
        std::string args;  // separated by blanks
        int status;
        std::string err, out = "";
    } cases[] = {
        {"analyze t.tpl ab.fasta -s B -s A", 0, "", listed("B", f.intron2) + listed("A", f.intron1)},  // the first A
        {"analyze t.tpl ab.fasta --sequence=A --sequence A", 0, "", listed("A", f.intron1) + listed("A", f.intron1)},
        {"analyze t.tpl ab.fasta", 0, "", listed("A", f.intron1) + listed("B", f.intron2) + listed("A", f.intron2)},
        {"analyze t.tpl ab.fasta -s nope -s B", 1, Said("Sequence \"nope\" not found in sequence file \"ab.fasta\"."),
         listed("B", f.intron2)},
        {"analyze t.tpl rev.fasta -c", 0, "", listed("rev", f.intron1)},
        {an, 0, "", longer},
        {an + "--reparse 5:1", 0, "", first},
        {an + "--reparse 5:1 --reparse 5:2", 0, "", longer},  // applied in order
        {an + "--reparse 1:1", 0, ignored("1:1", "display line 1 is not a variable region"), longer},
        {an + "--reparse 99:1", 0, ignored("99:1", "there is no display line 99"), longer},
        {an + "--reparse 5:3", 0, ignored("5:3", "the variable region of display line 5 has 2 possibilities"), longer},
        {an + "-t 2 --ranking", 0, "", sedge},  // ranked all the same
        {an + "--template=Sedge --ranking", 0, "", sedge},
        {an + "-t 3", 2, Said("Template file \"t.tpl\" has no template 3.")},
        {an + "-t Rush", 2, Said("Template file \"t.tpl\" has no template Rush.")},
        {an + "--params long.txt --ranking", 0, "", ">P\tGrass\n#rank\t1\t1\tGrass\t0\t0\t0.000000\n..."},
        {an + "--options gone.txt", 2, Said("Error: Varigap Options File \"gone.txt\" not found.")},
        {"analyze t.tpl huge.fasta --options quiet.txt", 0, "", ">huge\t\n"},  // the overflow unsaid
        {"analyze bad.tpl s.fasta", 2,
         Said("Parse error in template file bad.tpl.  Unexpected initial character in line: -acgt") +
             notLoaded("bad.tpl")},
        {"analyze missing.tpl s.fasta", 2,
         Said("Error: Varigap Template File \"missing.tpl\" not found.") + notLoaded("missing.tpl")},
        {"analyze novr.tpl s.fasta --answer no", 2, noVR + notLoaded("novr.tpl")},
        {"analyze novr.tpl s.fasta --answer yes", 0, noVR, ">P\tGrass\n..."},
        {"analyze empty.tpl s.fasta", 2, Said("Template file \"empty.tpl\" holds no template.")},
        {"variants v.txt", 0, "", five + longLines + "\tDeleted\nacgtac\tCarex\n"},
        {"variants v.txt --length 5", 0, "", five},
        {"variants v.txt --length 5 --mode longer", 0, "", longLines + "acgtac\tCarex\n"},
        {"variants v.txt --mode same", 0, "", "\tDeleted\n"},
        {"variants v.txt --length=250 --mode=different", 0, "", five + "\tDeleted\nacgtac\tCarex\n"},
        {"variants gone.txt", 2, Said("Error: Varigap Variable Region File \"gone.txt\" not found.")},
        {"", 2, Usage("no command given")},
        {"analyse", 2, Usage("unknown command \"analyse\"")},
        {"analyze t.tpl", 2, Usage("analyze needs TEMPLATE_FILE and SEQUENCE_FILE")},
        {an + "--format xml", 2, Usage("--format takes text, tsv or json, not \"xml\"")},
        {an + "-j 0", 2, Usage("--jobs takes a number from 1 to 1024, not \"0\"")},
        {an + "--reparse 2", 2, Usage("--reparse takes LINE:SEL (two whole numbers, LINE from 1), not \"2\"")},
        {an + "--bogus", 2, Usage("unknown option --bogus for analyze")},
        {an + "--answer maybe", 2, Usage("--answer takes yes or no, not \"maybe\"")},
        {"variants", 2, Usage("variants needs one VR_FILE")},
        {"variants v.txt --mode equal", 2,
         Usage("--mode takes same, different, shorter, longer or all, not \"equal\"")},
    };
    for (const auto& c : cases) {
        CliResult r = f.Run(Words(c.args));
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
        const bool start = c.out.ends_with("...");
        const std::string out = start ? c.out.substr(0, c.out.size() - 3) : c.out;
        EXPECT_EQ(start ? r.out.substr(0, out.size()) : r.out, out) << c.args;
    }
}

TEST(Cli, ExistingOutputFilesAreKeptUnlessForcedAndUnwritablePlacesAreReported) {
    CliFiles f;
    f.Write("s.fasta",
            FastaRecord("Poa", f.Grass(f.intron1, f.spacer1)) + FastaRecord("Carex", f.Grass(f.intron2, f.spacer2)));
    f.Write("out/Poa.txt", "old");
    CliResult kept = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(kept.err,
              "Varigap: Output File out/Poa.txt already exists. It was left untouched (--force overwrites it).\n");
    EXPECT_EQ(f.Read("out/Poa.txt"), "old");
    EXPECT_EQ(ListFiles(f.Path("out")), (std::vector<std::string>{"Carex.txt", "Poa.txt"}));  // the other written
    CliResult forced = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out", "--force"});
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(forced.err, "");
    EXPECT_EQ(f.Read("out/Poa.txt").rfind("# Varigap Output File \"Poa.txt\"\r\n", 0), 0u);
    EXPECT_EQ(ListFiles(f.Path("out")).size(), 2u);  // no temporary files left

    f.Write("blocked", "a file where the directory should be");
    CliResult blocked = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "blocked"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.err,
              "Varigap Run-Time Error: Run-Time Error #76: Path not found\n"
              "Varigap Run-Time Error: Run-Time Error #76: Path not found\n");
    EXPECT_EQ(blocked.out, forced.out);
    EXPECT_EQ(f.Read("blocked"), "a file where the directory should be");
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
