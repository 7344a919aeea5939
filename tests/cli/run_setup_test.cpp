// What analyze settles before the first record: a folder for the output files that can take
// them, the names of those files, and one sample per sequence file unless named alike.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_fixture.h"
#include "core/textfile.h"

namespace varigap::test {
namespace {

std::string Join(const std::vector<std::string>& words) {
    std::string joined;
    for (const auto& w : words) joined += (joined.empty() ? "" : " ") + w;
    return joined;
}

TEST(CliRunSetup, OutputFoldersFileNamesAndSamplesAreSettledBeforeTheRun) {
    CliFiles f;
    const std::string g = f.Grass(f.intron1, f.spacer1);
    f.Write("names.fasta", FastaRecord("Poa 1", g) + FastaRecord("Poa 1", g) + FastaRecord("Poa-1", g) +
                               FastaRecord("12", g) + FastaRecord("Briza media", g) + FastaRecord("Poa 1", g));
    const std::string fastq = "@r1\n" + g + "\n+\n" + std::string(g.size(), 'I') + "\n";
    f.Write("run1/S.fastq", fastq);
    f.Write("run2/S.fastq", fastq);
    f.Write("a file", "");
    const std::string both =
        "Varigap: Sequence files \"run1/S.fastq\" and \"run2/S.fastq\" would both be sample \"S\": "
        "name each with --sample NAME before it (files given the same name are pooled in one "
        "sample).\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
        std::string listed = "";  // the files in out/, or the samples of the TSV rows
    } cases[] = {
        {{"names.fasta", "-o", "out"}, 0, "", "Brizamed.txt Poa1-2.txt Poa1-3.txt Poa1-4.txt Poa1.txt sequence4.txt"},
        {{"names.fasta", "-o", "/dev/null"},
         2,
         "Varigap: Output folder \"/dev/null\" cannot be used: it is not a folder.\n"},
        {{"names.fasta", "-o", "a file/sub"},
         2,
         "Varigap: Output folder \"a file/sub\" cannot be used: Not a directory.\n"},
        {{"run1/S.fastq", "run2/S.fastq"}, 2, both},
        {{"run1/S.fastq", "--sample", "S", "run2/S.fastq"}, 2, both},
        {{"--sample", "S1", "run1/S.fastq", "run2/S.fastq", "--format", "tsv"}, 0, "", "S1 S"},
        {{"--sample", "S", "run1/S.fastq", "--sample", "S", "run2/S.fastq", "--format", "tsv"}, 0, "", "S"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"analyze", "t.tpl"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::string shown = Join(args);
        CliResult r = f.Run(args);
        EXPECT_EQ(r.status, c.status) << shown;
        EXPECT_EQ(r.err, c.err) << shown;
        if (c.status == 2) {
            EXPECT_EQ(r.out, "") << shown;
        }
        std::vector<std::string> listed;
        if (c.args.back() == "tsv") {
            for (const auto& line : Lines(r.out)) {
                const std::string sample = line.substr(0, line.rfind('\t'));
                const std::string name = sample.substr(sample.rfind('\t') + 1);
                if (line.rfind("sequence\t", 0) != 0 && std::find(listed.begin(), listed.end(), name) == listed.end())
                    listed.push_back(name);
            }
        } else if (c.status == 0) {
            listed = ListFiles(f.Path("out"));
        }
        EXPECT_EQ(Join(listed), c.listed) << shown;
    }
}

}  // namespace
}  // namespace varigap::test
