// varigap-cli analyze --jobs: the same output, messages and files as one job, in record order.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

// Many records of every kind: identified, deleted, unknown variants, with leading bases,
// empty, too long (a run-time error), and names that collide as file names.
std::string ManyRecords(const CliFiles& f) {
    std::string fasta;
    const std::string introns[] = {f.intron1, f.intron2, "", RandomBases(33, 61)};
    const std::string spacers[] = {f.spacer1, f.spacer2, "GG" + f.spacer1 + f.spacer2};
    for (int i = 0; i < 240; ++i) {
        std::string name = "Poa annua " + std::to_string(i % 7) + " copy " + std::to_string(i);
        if (i % 50 == 13) fasta += FastaRecord(name, "");
        else if (i % 80 == 41) fasta += FastaRecord(name, RandomBases(33000, static_cast<unsigned>(i)));
        else
            fasta += FastaRecord(name,
                                 RandomBases(static_cast<size_t>(i % 5), 70) + f.Grass(introns[i % 4], spacers[i % 3]));
    }
    return fasta;
}

TEST(CliJobs, ManyJobsGiveTheOutputOfOne) {
    CliFiles f;
    f.Write("many.fasta", ManyRecords(f));
    // Messages come with their record, in record order.
    std::string messages;
    for (int i = 0; i < 240; ++i) {
        std::string name = "Poa annua " + std::to_string(i % 7) + " copy " + std::to_string(i);
        std::string where =
            "  in record " + std::to_string(i + 1) + " \"" + name + "\" of sequence file \"many.fasta\"\n";
        if (i % 80 == 41) messages += "Varigap Run-Time Error: Run-Time Error #6: Overflow\n" + where;
        if (i % 50 == 13 || i % 80 == 41)
            messages += "Varigap: No output file for \"" + name + "\": nothing could be analysed.\n" + where;
    }
    struct Variant {
        std::vector<std::string> options;
    } variants[] = {
        {{"--ranking", "--taxa", "--reparse", "5:1"}},
        {{"--format", "tsv"}},
        {{"--format", "json"}},
        {{"-s", "Poa annua 3 copy 3", "-s", "missing", "-s", "Poa annua 6 copy 13", "-s", "Poa annua 3 copy 3"}},
    };
    int v = 0;
    for (const auto& variant : variants) {
        std::vector<CliResult> results;
        std::vector<std::vector<std::string>> files;
        for (std::string jobs : {"1", "2", "3"}) {
            std::string out = "out" + std::to_string(v) + "_" + jobs;
            std::vector<std::string> args{"analyze", "t.tpl", "many.fasta", "-j", jobs, "-o", out};
            args.insert(args.end(), variant.options.begin(), variant.options.end());
            results.push_back(f.Run(args));
            std::vector<std::string> contents;
            for (const auto& name : FileNames(f.Path(out))) contents.push_back(name + "\n" + f.Read(out + "/" + name));
            files.push_back(contents);
        }
        ++v;
        EXPECT_FALSE(results[0].out.empty());
        EXPECT_FALSE(files[0].empty());
        if (v == 2) {  // tsv: no other messages
            EXPECT_EQ(results[0].status, 0);
            EXPECT_EQ(results[0].err, messages);
        }
        for (size_t k = 1; k < results.size(); ++k) {
            EXPECT_EQ(results[k].status, results[0].status);
            EXPECT_EQ(results[k].out, results[0].out);
            EXPECT_EQ(results[k].err, results[0].err);
            EXPECT_EQ(files[k], files[0]);
        }
    }
}

}  // namespace
}  // namespace varigap::test
