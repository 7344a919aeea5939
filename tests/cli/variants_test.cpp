// varigap-cli variants: a variable region file's entries by length, with their taxa.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

TEST(CliVariants, EntriesAreListedByLengthWithTheirTaxaAndAMissingFileIsReported) {
    TempDir dir;
    const std::string e250 = RandomBases(250, 5);
    dir.Write("v.txt",
              "# a variable region file\r\n"
              "acgta >Poa annua<\r\n"
              "ac gt-1 a>Festuca  rubra<\r\n"  // five bases as cleaned, listed as written
                  + e250.substr(0, 120) + "\r\n# a comment inside the entry\r\n" + e250.substr(120) +
                  "\r\n>Long one<\r\n"
                  ">Deleted<\r\n"
                  "acgtac>Carex<\r\n"
                  "acgt>unfinished\r\n");
    const std::string longLines = e250.substr(0, 100) + " +\tLong one\n" + e250.substr(100, 100) + " +\tLong one\n" +
                                  e250.substr(200) + "\tLong one\n";
    struct Case {
        std::vector<std::string> options;
        std::string out;
    } cases[] = {
        {{}, "acgta \tPoa annua\nac gt-1 a\tFestuca  rubra\n" + longLines + "\tDeleted\nacgtac\tCarex\n"},
        {{"--length", "5"}, "acgta \tPoa annua\nac gt-1 a\tFestuca  rubra\n"},
        {{"--length", "5", "--mode", "longer"}, longLines + "acgtac\tCarex\n"},
        {{"--length", "5", "--mode", "shorter"}, "\tDeleted\n"},
        {{"--length", "5", "--mode", "different"}, longLines + "\tDeleted\nacgtac\tCarex\n"},
        {{"--mode", "same"}, "\tDeleted\n"},
        {{"--length=250", "--mode=same"}, longLines},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"variants", "v.txt"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        CliResult r = RunCli(args, dir.Path());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, c.out) << (c.options.empty() ? "" : c.options.back());
    }
    CliResult missing = RunCli({"variants", "gone.txt"}, dir.Path());
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "Varigap: Error: Varigap Variable Region File \"gone.txt\" not found.\n");
    EXPECT_EQ(missing.out, "");
}

}  // namespace
}  // namespace varigap::test
