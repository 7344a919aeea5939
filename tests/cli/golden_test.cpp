// Every output of varigap-cli analyze, byte for byte against golden files made by this program:
// display lines with the ranking, TSV, JSON, GFF3, BED, output files, region files and the
// counts table, for the bundled example and for the records it lacks. (The help text is checked against the manual page by the install check.)
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "support/golden.h"

namespace varigap::test {
namespace {

TEST(CliGolden, EveryOutputFormatIsUnchanged) {
    const std::string example = std::string(VARIGAP_SOURCE_DIR) + "/data/example";
    CliFiles f;
    f.Write("s.fasta", f.EdgeRecords());
    // The documented example of an output file: the wide length variation lets the first
    // conserved region stand at 1..10 in the repetitive sequence.
    f.Write("doc/T.tpl", ">T1\r\nACGTACGTAC\r\n\"V1.txt\"\r\nGGGGGGGGGG\r\n");
    f.Write("doc/V1.txt", "GTACG>Festuca<\r\n");
    f.Write("doc/S.fasta", ">S1\r\nACGTACGTACGTACGTACGTACGTA\r\n");
    f.Write("doc/params.txt", "maxLengthVariation = 20\r\n");
    const std::string ex = "analyze trnLF.tpl sequences.fasta ", edge = "analyze t.tpl s.fasta ";
    // The edge records hold a read longer than the analysis takes: passed over, exit status 1.
    struct Case {
        std::string cwd, args, outputDir, golden;
        int status = 0;
    } cases[] = {
        {example, ex + "--ranking", "", "example.txt"},
        {example, ex + "--format tsv", "", "example.tsv"},
        {example, ex + "--format json", "", "example.json"},
        {example, ex + "-o " + f.Path("ex") + " --taxa", f.Path("ex"), "example_files.txt", 1},
        {f.Path(), edge + "--ranking", "", "edge.txt", 1},
        {f.Path(), edge + "--format tsv", "", "edge.tsv", 1},
        {f.Path(), edge + "--format json", "", "edge.json", 1},
        {f.Path(), edge + "-o out --taxa", f.Path("out"), "edge_files.txt", 1},
        {f.Path(), edge + "--format gff3", "", "edge.gff3", 1},
        {f.Path(), edge + "--extract x --extract-uncertain --extract-empty --counts x/counts.tsv --format bed",
         f.Path("x"), "edge_regions.txt", 1},
        {f.Path("doc"), "analyze T.tpl S.fasta --params params.txt -o out --taxa", f.Path("doc/out"),
         "documented_example.txt"},
    };
    for (const auto& c : cases) {
        CliResult r = RunCli(Words(c.args), c.cwd);
        EXPECT_EQ(r.status, c.status) << c.golden;
        std::string all = r.out + (c.outputDir.empty() ? "" : DirectoryText(c.outputDir)) +
                          (r.err.empty() ? "" : "==== standard error ====\n" + r.err);
        // The line of a table that says what it was made with names the program's version.
        for (size_t at; (at = all.find("\n# made with: ")) != std::string::npos;)
            all.erase(at + 1, all.find('\n', at + 1) - at);
        ExpectGolden("tests/cli/golden/" + c.golden, all);
    }
}

}  // namespace
}  // namespace varigap::test
