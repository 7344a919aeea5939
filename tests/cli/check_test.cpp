// varigap-cli check run as a process: each kind of problem in crafted template and variable
// region files reported as FILE:LINE: message, the bundled examples clean.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

TEST(CliCheck, EachProblemIsReportedAtItsFileAndLine) {
    const std::string cr = RandomBases(20, 7), cr2 = RandomBases(24, 8), other = RandomBases(22, 9);
    struct Case {
        std::vector<std::pair<std::string, std::string>> files;  // t.tpl first
        std::string out;
    } cases[] = {
        {{{"t.tpl", "# fine\n>A\n" + cr + "\n\"v.txt\"\n" + cr2 + "\n"},
          {"v.txt", "acgtt>T1<\nACGTT >T2<\nac-gx\nt>T3<\n>T4<\nttt" + cr + "ttt>T5<\nacg>unfinished\n"}},
         "v.txt:2: the same variant as on line 1\n"
         "v.txt:3: \"-\" in a variant is not a base: the program drops it\n"
         "v.txt:5: an empty variant: it fits wherever the region is missing, and the search lists it as a deletion\n"
         "v.txt:7: an entry without its closing \"<\": the program ignores it\n"
         "t.tpl:3: CR 1 of template \"A\" also occurs in 1 variant of VR 1 (v.txt:6): where such a variant stands, "
         "the CR is found twice and left unplaced\n"},
        {{{"t.tpl", ">A\nacg\n\"gone.txt\"\n[note\n" + cr + "\n\"\"\n>B\n" + cr2 + cr2 + "\n"}},
         "t.tpl:2: CR 1 of template \"A\" has 3 bases, fewer than the word length 6: it cannot be placed\n"
         "t.tpl:3: variable region file \"gone.txt\" not found\n"
         "t.tpl:4: Error: [ without matching ] on the same line.\n"
         "t.tpl:6: VR 2 of template \"A\" names no variable region file: every analysis reports it missing\n"
         "t.tpl:7: template \"B\" has no variable regions\n"},
        {{{"t.tpl", ">A\n" + cr + "\n\"p.txt\"\n\"q.txt\"\n" + cr2 + "\n>B\n" + cr + "\n\"q.txt\"\n" + cr2 + "\n>C\n" +
                        other + "\n\"q.txt\"\n" + cr + "\n>D\nacgtac\n"},
          {"p.txt", "aaccgg>P1<\naaccggtt>P2<\n"},
          {"q.txt", "aaccgg>Q1<\n"}},
         "t.tpl:6: template \"B\" has the same conserved regions as template \"A\" (line 1): the ranking cannot "
         "tell them apart and the first one listed always wins\n"
         "t.tpl:10: template \"C\" has 42 bases of conserved regions, template \"A\" (line 1) 44: on a read that holds "
         "all of both the ranking counts them equal (baseCountTolerance 3) and the first one listed wins\n"
         "t.tpl:14: template \"D\" has no variable regions\n"
         "p.txt:1: this variant (6 bases) is the beginning of the one on line 2: in a run of variable regions the "
         "exact match may stop at the shorter one\n"},
        {{{"t.tpl", ">A\n" + cr + "\n\"v.txt\"\n-" + cr2 + "\n"}},
         "t.tpl:4: Parse error in template file t.tpl.  Unexpected initial character in line: -" + cr2 + "\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const auto& [name, text] : c.files) dir.Write(name, text);
        CliResult r = RunCli({"check", "t.tpl"}, dir.Path());
        EXPECT_EQ(r.status, 1) << c.out;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliCheck, LimitsAreReportedWhereTheReaderStops) {
    TempDir dir;
    std::string many;
    for (int t = 1; t <= 64; ++t) many += ">T" + std::to_string(t) + "\n" + RandomBases(20, t) + "\n\"v.txt\"\n";
    dir.Write("v.txt", "acgt>x<\n");
    dir.Write("t.tpl", many);
    CliResult r = RunCli({"check", "t.tpl"}, dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "t.tpl:190: Too many templates in template file t.tpl.  MAXNUMTEMPLATES = 63.\n");
}

TEST(CliCheck, TheBundledExamplesAreCleanAndAMissingFileIsUnreadable) {
    const std::string examples = std::string(VARIGAP_SOURCE_DIR) + "/data/example";
    for (const char* tpl : {"built/trnLF.tpl", "built/ranking.tpl", "p6/p6.tpl"}) {
        CliResult r = RunCli({"check", tpl}, examples);
        EXPECT_EQ(r.status, 0) << tpl << "\n" << r.out;
        EXPECT_EQ(r.out, "") << tpl;
    }
    TempDir dir;
    CliResult missing = RunCli({"check", "nope.tpl"}, dir.Path());
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "nope.tpl: not found\n");
}

}  // namespace
}  // namespace varigap::test
