// varigap-cli analyze -o: the comment lines after an output file's two header lines.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/complement.h"

namespace varigap::test {
namespace {

TEST(CliOutputHeader, TheComplementAnalysedIsSaidInTheFile) {
    CliFiles f;
    const std::string grass = f.Grass(f.intron1, f.spacer1);
    struct Case {
        std::string bases;
        std::vector<std::string> args, header;
    } cases[] = {
        {grass, {}, {"# Varigap Output File \"Poa.txt\"", "# Analyzed with template \"Grass\"", ""}},
        {ReverseComplement(grass),
         {"--complement"},
         {"# Varigap Output File \"Poa.txt\"", "# Analyzed with template \"Grass\"",
          "# Reverse complement of the sequence as read", ""}},
    };
    for (const auto& c : cases) {
        f.Write("s.fasta", FastaRecord("Poa", c.bases));
        std::vector<std::string> args = {"analyze", "t.tpl", "s.fasta", "-o", "out", "--force"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CliResult r = f.Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        std::string text = f.Read("out/Poa.txt");
        std::vector<std::string> header;
        for (size_t at = 0; header.empty() || !header.back().empty(); at = text.find("\r\n", at) + 2)
            header.push_back(text.substr(at, text.find("\r\n", at) - at));
        EXPECT_EQ(header, c.header);
    }
}

}  // namespace
}  // namespace varigap::test
