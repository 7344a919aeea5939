// varigap-cli analyze -o: an output file says when the complement of the record was analysed.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/complement.h"

namespace varigap::test {
namespace {

TEST(CliOutputHeader, TheComplementAnalysedIsSaidAfterTheHeader) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("Poa", ReverseComplement(f.Grass(f.intron1, f.spacer1))));
    CliResult r = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out", "--complement"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string text = f.Read("out/Poa.txt");
    EXPECT_EQ(text.substr(0, text.find("NAME")),
              "# Varigap Output File \"Poa.txt\"\r\n# Analyzed with template \"Grass\"\r\n"
              "# Reverse complement of the sequence as read\r\n\r\n");
}

}  // namespace
}  // namespace varigap::test
