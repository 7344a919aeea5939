// varigap-cli analyze on amplicon runs, as a process: FASTQ and gzip input, samples, both
// strands, identical reads analysed once, reads without primers, and bad input.
#include <gtest/gtest.h>
#include <htslib/bgzf.h>

#include <map>
#include <sstream>

#include "cli_fixture.h"
#include "core/complement.h"
#include "seqio/sequence_file.h"

namespace varigap::test {
namespace {

const std::string kExample = std::string(VARIGAP_SOURCE_DIR) + "/data/example";

std::string Fastq(const std::string& name, const std::string& bases) {
    return "@" + name + "\n" + bases + "\n+\n" + std::string(bases.size(), 'I') + "\n";
}

void WriteGzip(const std::string& path, const std::string& text) {
    BGZF* out = bgzf_open(path.c_str(), "wg");
    ASSERT_TRUE(out && bgzf_write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size()));
    ASSERT_EQ(bgzf_close(out), 0);
}

std::vector<seqio::SeqRecord> ReadAll(const std::string& path) {
    seqio::SequenceFile file;
    std::string error;
    EXPECT_TRUE(file.Open(path, error)) << error;
    std::vector<seqio::SeqRecord> records;
    seqio::SeqRecord r;
    seqio::ReadProblem p;
    while (file.Next(r, p) == seqio::ReadResult::Record) records.push_back(r);
    return records;
}

std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> f;
    std::stringstream in(row);
    for (std::string field; std::getline(in, field, '\t');) f.push_back(field);
    if (!row.empty() && row.back() == '\t') f.emplace_back();
    return f;
}

// The "key=value" words of a simulated read's name: acc, strand, errors.
std::map<std::string, std::string> Truth(const std::string& name) {
    std::map<std::string, std::string> t;
    std::stringstream in(name);
    for (std::string word; in >> word;)
        if (auto eq = word.find('='); eq != std::string::npos) t[word.substr(0, eq)] = word.substr(eq + 1);
    return t;
}

// TSV columns (after the twelve of every run): sample 12, strand 13.
struct VRRow {
    std::string flag, variant, taxa, sample, strand;
    bool operator==(const VRRow&) const = default;
};
std::map<std::string, VRRow> VRRows(const std::string& tsv) {
    std::map<std::string, VRRow> rows;
    for (const auto& line : Lines(tsv)) {
        auto f = Fields(line);
        if (f.size() == 14 && f[3] == "VR") rows[f[0]] = {f[7], f[9], f[10], f[12], f[13]};
    }
    return rows;
}

CliResult AnalyzeExample(const std::string& dir, const std::vector<std::string>& more) {
    std::vector<std::string> args{"analyze", kExample + "/p6/p6.tpl", "S1.fastq.gz", "S2.fastq.gz", "--orient", "auto"};
    args.insert(args.end(), more.begin(), more.end());
    return RunCli(args, dir);
}

TEST(CliAmplicon, EveryErrorFreeReadOfAListedSpeciesIsIdentifiedOnItsStrand) {
    const std::string samples = kExample + "/amplicon";
    CliResult r = AnalyzeExample(samples, {"--format", "tsv", "-j", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const auto& more : std::vector<std::vector<std::string>>{{"--no-derep"}, {"-j", "2"}, {"-j", "0"}}) {
        std::vector<std::string> args{"--format", "tsv"};
        args.insert(args.end(), more.begin(), more.end());
        EXPECT_EQ(AnalyzeExample(samples, args).out, r.out) << more[0];
    }
    // Every species of the example is listed: the samples and p6_loop.txt come from one table.
    std::map<std::string, int> identified, errorFree;  // by strand
    const auto rows = VRRows(r.out);
    EXPECT_EQ(rows.size(), 1200u);
    for (const auto& [name, row] : rows) {
        auto truth = Truth(name);
        EXPECT_EQ(row.sample, name.substr(0, 2));
        if (truth["errors"] != "0") continue;
        EXPECT_EQ(row.strand, truth["strand"]) << name;
        ++errorFree[truth["strand"]];
        if (row.flag == ":" && row.taxa.find(truth["acc"]) != std::string::npos) ++identified[row.strand];
    }
    EXPECT_EQ(identified, errorFree);
    EXPECT_GT(identified["-"], 300);
    EXPECT_GT(identified["+"], 300);

    // Text: the strand follows the template name.
    const std::string first = Lines(AnalyzeExample(samples, {}).out)[0];
    EXPECT_EQ(first.substr(first.find('\t')), "\tp6\t" + Truth(first)["strand"]);
}

TEST(CliAmplicon, ReadsWithoutTheirPrimersAreIdentifiedAlike) {
    TempDir dir;
    for (std::string sample : {"S1", "S2"}) {
        std::string text;
        for (const auto& r : ReadAll(kExample + "/amplicon/" + sample + ".fastq.gz")) {
            const bool reverse = Truth(r.name)["strand"] == "-";
            const size_t front = reverse ? 22 : 17, back = reverse ? 17 : 22;  // primer g: 17, h: 22 bases
            text += Fastq(r.name, r.bases.substr(front, r.bases.size() - front - back));
        }
        WriteGzip(dir.Path(sample + ".fastq.gz"), text);
    }
    CliResult whole = AnalyzeExample(kExample + "/amplicon", {"--format", "tsv"});
    CliResult cut = AnalyzeExample(dir.Path(), {"--format", "tsv", "--primers-trimmed"});
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_EQ(AnalyzeExample(dir.Path(), {"--format", "tsv", "--primers-trimmed", "--no-derep", "-j", "2"}).out,
              cut.out);
    const auto before = VRRows(whole.out), after = VRRows(cut.out);
    int compared = 0;
    for (const auto& [name, row] : before) {
        if (Truth(name)["errors"] != "0") continue;
        ASSERT_TRUE(after.count(name)) << name;
        EXPECT_EQ(after.at(name), row) << name;
        EXPECT_EQ(row.flag, ":");
        ++compared;
    }
    EXPECT_GT(compared, 600);
    // The primer sites are shown as not in the read and never as bases.
    for (const auto& line : Lines(cut.out)) {
        auto f = Fields(line);
        if (f[3] == "CR") {
            EXPECT_EQ(f[5] + f[6] + f[7] + f[11], "-") << line;
        }
    }
}

TEST(CliAmplicon, SamplesAreNamedAfterTheirFilesOrByTheCommandLine) {
    CliFiles f;
    const std::string read = f.Grass(f.intron1, f.spacer1);
    f.Write("a.fq", Fastq("r1", read));
    f.Write("in.fasta", FastaRecord("r2", read) + FastaRecord("r3", ReverseComplement(read)));
    WriteGzip(f.Path("b.fasta.gz"), ">r4\n" + read + "\n");
    CliResult r = RunCli(
        {"analyze", "t.tpl", "--sample", "first", "a.fq", "-", "b.fasta.gz", "--format", "tsv", "--orient", "auto"},
        f.Path(), f.Path("in.fasta"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> seen;
    for (const auto& line : Lines(r.out)) {
        auto fields = Fields(line);
        if (fields[3] == "VR" && fields[4] == "1") seen.push_back(fields[0] + " " + fields[12] + " " + fields[13]);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"r1 first +", "r2 stdin +", "r3 stdin -", "r4 b +"}));
    // -s finds names in any of the files, in the order given.
    CliResult named = RunCli({"analyze", "t.tpl", "a.fq", "b.fasta.gz", "-s", "r4", "-s", "r1", "-s", "r9"}, f.Path());
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(named.err, "Varigap: Sequence \"r9\" not found in the sequence files.\n");
    EXPECT_EQ(Lines(named.out)[0] + Lines(named.out)[6], ">r4\tGrass>r1\tGrass");
}

TEST(CliAmplicon, BadInputIsNamedByFileAndRecordAndTheRunGoesOnWhereItCan) {
    CliFiles f;
    const std::string read = f.Grass(f.intron1, f.spacer1);
    const std::string good = Fastq("ok", read);
    std::string many;
    for (int i = 1; i <= 3000; ++i) many += Fastq("r" + std::to_string(i), read);
    WriteGzip(f.Path("whole.fq.gz"), many);
    const std::string whole = f.Read("whole.fq.gz");
    f.Write("cut.fq.gz", whole.substr(0, whole.size() / 2));
    struct Case {
        std::string file, text;
        int status;
        std::string err;
        size_t good;  // records analysed from the file
    } cases[] = {
        {"qual.fq", good + "@q\nACGT\n+\nIII\n" + good, 1,
         "Sequence file \"qual.fq\", record 2 (line 5): 3 quality characters for 4 bases; record passed over.", 2},
        {"plus.fq", good + "@p\nACGT\n" + good, 1,
         "Sequence file \"plus.fq\", record 2 (line 5): the bases are not followed by a \"+\" line; record passed "
         "over.",
         2},
        {"bin.fq", good + std::string("@b\nAC\0T\n+\nIIII\n", 15) + good, 1,
         "Sequence file \"bin.fq\", record 2 (line 6): binary data in the bases; record passed over.", 2},
        {"junk.fq", std::string("\x89PNG\r\n\x1a\n\0\0", 10), 1,
         "Sequence file \"junk.fq\": binary data, not FASTA or FASTQ text (line 2); the file is passed over.", 0},
        {"empty.fq", "", 1, "Sequence file \"empty.fq\": the file is empty.", 0},
        {"long.fq", Fastq("long", std::string(32768, 'A')) + good, 1,
         "Sequence file \"long.fq\", record 1 (line 1): the read has 32768 bases, more than the 32000 that can be "
         "analysed; record passed over.",
         1},
        {"cut.fq.gz", "", 2, "Sequence file \"cut.fq.gz\": the compressed data breaks off (the file is truncated)", 0},
    };
    f.Write("next.fq", Fastq("next", read));
    for (const auto& c : cases) {
        if (c.file != "cut.fq.gz") f.Write(c.file, c.text);
        CliResult r = f.Run({"analyze", "t.tpl", c.file, "next.fq"});
        EXPECT_EQ(r.status, c.status) << c.file;
        EXPECT_EQ(r.err.substr(0, 9 + c.err.size()), "Varigap: " + c.err) << r.err;
        std::vector<std::string> names;
        for (const auto& line : Lines(r.out))
            if (line[0] == '>') names.push_back(line.substr(1, line.find('\t') - 1));
        if (c.status == 1) {  // every good record, and the next file
            EXPECT_EQ(names.back(), "next") << c.file;
            EXPECT_EQ(names.size(), c.good + 1) << c.file;
        } else {  // the records before the break, whole and in order; the run stops there
            ASSERT_GT(names.size(), 100u);
            EXPECT_LT(names.size(), 3000u);
            for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], "r" + std::to_string(i + 1));
            EXPECT_EQ(Lines(r.out).size(), names.size() * 6);
        }
    }
}

}  // namespace
}  // namespace varigap::test
