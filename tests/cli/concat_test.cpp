// varigap-cli merge tsv|gff3 as a process: shard outputs joined in order under one header, and
// inputs that do not fit together refused with nothing written.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

TEST(CliConcat, ShardsAreJoinedInOrderUnderOneHeaderOrNotAtAll) {
    TempDir d;
    d.Write("1.tsv", "h\tk\r\na\t1\n");
    d.Write("2.tsv", "h\tk\r\n");  // a shard without rows
    d.Write("3.tsv", "h\tk\r\nb\t2\nc\t3\n");
    d.Write("other.tsv", "h\tx\r\nd\t4\n");
    d.Write("cut.tsv", "h\tk\r\nd\t4");
    d.Write("1.gff3", "##gff-version 3\n##sequence-region r1 1 9\nr1\t.\tx\n");
    d.Write("2.gff3", "##gff-version 3\n##sequence-region r2 1 8\nr2\t.\tx\n");
    struct Case {
        std::string args;
        int status;
        std::string out, err;
    } cases[] = {
        {"tsv out 1.tsv 2.tsv 3.tsv", 0, "h\tk\r\na\t1\nb\t2\nc\t3\n", ""},
        {"gff3 out 1.gff3 2.gff3", 0,
         "##gff-version 3\n##sequence-region r1 1 9\nr1\t.\tx\n##sequence-region r2 1 8\nr2\t.\tx\n", ""},
        {"tsv out 1.tsv other.tsv", 2, "",
         "Varigap: Nothing was merged: the header row of \"other.tsv\" differs from that of \"1.tsv\".\n"},
        {"tsv out 1.tsv cut.tsv", 2, "", "Varigap: Nothing was merged: \"cut.tsv\" ends inside a line (cut short?).\n"},
        {"gff3 out 1.gff3 1.tsv", 2, "",
         "Varigap: Nothing was merged: \"1.tsv\" does not begin with a \"##gff-version\" line.\n"},
    };
    for (const auto& c : cases) {
        CliResult r = RunCli(Words("merge " + c.args), d.Path());
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
        EXPECT_EQ(d.Exists("out") ? d.Read("out") : "", c.out) << c.args;
        std::remove(d.Path("out").c_str());
        EXPECT_EQ(DirectoryText(d.Path()).find(".tmp"), std::string::npos) << c.args;  // no temporary file left
    }
    d.Write("out", "kept");
    EXPECT_EQ(RunCli(Words("merge tsv out 1.tsv"), d.Path()).status, 1);
    EXPECT_EQ(d.Read("out"), "kept");
    EXPECT_EQ(RunCli(Words("merge tsv out 1.tsv --force"), d.Path()).status, 0);
    EXPECT_EQ(d.Read("out"), "h\tk\r\na\t1\n");
}

}  // namespace
}  // namespace varigap::test
