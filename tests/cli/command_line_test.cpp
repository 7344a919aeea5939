// The command line's grammar as a process: every command takes its options the same ways,
// names an unknown option as unknown, ends its options at "--" and has its own --help.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

TEST(CliCommandLine, EveryCommandReadsItsOptionsByOneGrammar) {
    CliFiles f;
    f.Write("s.fa", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    f.Write("-s.fa", FastaRecord("Dashed", f.Grass(f.intron2, f.spacer1)));
    f.Write("r.tsv", "sequence\tregion\tkind\tstart\tend\nP\tx\tCR\t1\t40\n");
    f.Write("a.tsv", "h\n1\n");
    const std::string usage = "Usage:\n  varigap-cli ";
    struct Case {
        std::string args;
        int status;
        std::string err;  // a part of standard error ("" matches any)
        std::string out;  // a part of standard output
    } cases[] = {
        // Unknown options are named as unknown, in every command, also where they would take a value.
        {"build r.tsv s.fa -o out --force", 2, "varigap-cli: unknown option --force for build\n", ""},
        {"analyze t.tpl s.fa --bogus", 2, "unknown option --bogus for analyze", ""},
        {"variants intron.txt --bogus=1", 2, "unknown option --bogus for variants", ""},
        {"regions x.gb --map m.tsv -x", 2, "unknown option -x for regions", ""},
        {"check t.tpl --bogus", 2, "unknown option --bogus for check", ""},
        {"merge counts o.tsv a.tsv --bogus", 2, "unknown option --bogus for merge", ""},
        {"merge tsv o.tsv a.tsv --bogus", 2, "unknown option --bogus for merge", ""},
        {"report --summary s.json --counts c.tsv -o=r.html --bogus", 2, "unknown option --bogus for report", ""},
        // A value attached to a short option, after "=", or as the next argument.
        {"build r.tsv s.fa -oout1", 0, "1 template from 1 record in out1/r.tpl", ""},
        {"build r.tsv s.fa --output-dir=out2 --name=N", 0, "in out2/N.tpl", ""},
        {"analyze t.tpl s.fa -tSedge --format=tsv -j1", 0, "", "P\tSedge\t"},
        {"analyze t.tpl s.fa --format", 2, "option --format needs text, tsv, json, gff3 or bed", ""},
        {"analyze t.tpl s.fa --taxa=yes", 2, "option --taxa takes no value", ""},
        {"merge summary o.json a.json --distinct=", 2, "option --distinct needs a file", ""},
        {"merge tsv o.tsv a.tsv --distinct x", 2, "--distinct goes with merge summary", ""},
        // "--" ends the options: what follows is a file, whatever it looks like.
        {"analyze t.tpl -- -s.fa", 0, "", ">Dashed\tGrass\n"},
        {"variants -- --help", 2, "Variable Region File \"--help\" not found", ""},
        // Each command's own help.
        {"analyze --help", 0, "", usage + "analyze TEMPLATE_FILE SEQUENCE_FILE... [options]\n\nanalyze: "},
        {"variants x --help", 0, "", usage + "variants VR_FILE [--length N]"},
        {"build -h", 0, "", usage + "build REGIONS.tsv SEQUENCES -o DIR [options]\n\nbuild: "},
        {"regions --bogus --help", 0, "", usage + "regions GENBANK_FILE... --map MAP.tsv"},
        {"check --help", 0, "", usage + "check TEMPLATE_FILE [--params FILE]\n\ncheck: "},
        {"merge tsv --help", 0, "", usage + "merge counts|distinct|summary"},
        {"report --help", 0, "", usage + "report --summary FILE --counts FILE"},
        {"--help", 0, "", usage + "analyze TEMPLATE_FILE SEQUENCE_FILE... [options]\n  varigap-cli variants"},
    };
    for (const auto& c : cases) {
        CliResult r = f.Run(Words(c.args));
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << "\n" << r.out.substr(0, 300);
    }
}

}  // namespace
}  // namespace varigap::test
