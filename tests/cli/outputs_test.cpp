// The outputs of varigap-cli analyze besides the listing, as a process: region files, GFF3 and
// BED, the counts table, the summary and the distinct reads, and merges of a split run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "cli_fixture.h"
#include "core/complement.h"
#include "seqio/sequence_file.h"
#include "support/golden.h"

namespace varigap::test {
namespace {

const std::string kExample = std::string(VARIGAP_SOURCE_DIR) + "/data/example/";

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> f{""};
    for (char c : line) {
        if (c == '\t') f.emplace_back();
        else f.back().push_back(c);
    }
    return f;
}

// Runs a shell command in `dir`; its exit status, standard output in `out`.
int Shell(const std::string& dir, const std::string& command, std::string& out) {
    TempDir io;
    const int status = std::system(("cd " + dir + " && " + command + " >" + io.Path("out")).c_str());
    out = io.Read("out");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::map<std::string, seqio::SeqRecord> ReadsByName(const std::vector<std::string>& paths) {
    std::map<std::string, seqio::SeqRecord> reads;
    for (const auto& path : paths) {
        seqio::SequenceFile file;
        std::string error;
        EXPECT_TRUE(file.Open(path, error)) << error;
        seqio::ReadProblem p;
        for (seqio::SeqRecord r; file.Next(r, p) == seqio::ReadResult::Record;) reads[r.name] = r;
    }
    return reads;
}

// "KEY=VALUE" of a region file's header.
std::string HeaderField(const std::string& header, const std::string& key) {
    const size_t at = header.find(" " + key + "=") + key.size() + 2;
    return header.substr(at, header.find(' ', at) - at);
}

// The samples of a summary as "SAMPLE KEY" -> value, read by Python's JSON reader.
std::map<std::string, long long> SummaryCounters(const std::string& dir, const std::string& file) {
    std::string flat;
    EXPECT_EQ(Shell(dir,
                    "python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
                    "[print(s, k, v) for s, c in d[\"samples\"].items() for k, v in c.items()]' " +
                        file,
                    flat),
              0);
    std::map<std::string, long long> counters;
    for (const auto& line : Lines(flat))
        counters[line.substr(0, line.rfind(' '))] = std::stoll(line.substr(line.rfind(' ')));
    return counters;
}

TEST(CliOutputs, TheAmpliconExampleAgreesAcrossTableRegionsFeaturesCountsAndSummary) {
    TempDir d;
    const std::vector<std::string> files{kExample + "amplicon/S1.fastq.gz", kExample + "amplicon/S2.fastq.gz"};
    auto analyze = [&](const std::vector<std::string>& more) {
        std::vector<std::string> args{"analyze", kExample + "p6/p6.tpl", files[0], files[1], "--orient", "auto", "-j",
                                      "2"};
        args.insert(args.end(), more.begin(), more.end());
        CliResult r = RunCli(args, d.Path());
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    const auto tsv =
        Lines(analyze({"--format", "tsv", "--extract", "regions", "--counts", "c.tsv", "--summary", "s.json"}));
    const auto bed = Lines(analyze({"--format", "bed"}));
    d.Write("reads.gff3", analyze({"--format", "gff3"}));
    auto reads = ReadsByName(files);

    // BED: the TSV's start - 1 and end on a forward read, mirrored on a reverse one.
    std::map<std::string, std::string> vrBases;            // the reads whose VR line is ":"
    std::map<std::string, std::set<std::string>> readsOf;  // by sample
    size_t b = 0;
    for (size_t i = 1; i < tsv.size(); ++i) {
        const auto f = Fields(tsv[i]);
        readsOf[f[12]].insert(f[0]);
        if (f[3] == "VR" && f[7] == ":") vrBases[f[0]] = f[11];
        if (f[7] == "-" || b >= bed.size()) continue;
        const long n = static_cast<long>(reads[f[0]].bases.size()), s = std::stol(f[5]), e = std::stol(f[6]);
        const auto g = Fields(bed[b++]);
        EXPECT_EQ(g[1] + " " + g[2], f[13] == "+" ? std::to_string(s - 1) + " " + std::to_string(e)
                                                  : std::to_string(n - e) + " " + std::to_string(n - s + 1))
            << tsv[i];
        EXPECT_EQ(g[5], f[13]);
    }
    EXPECT_EQ(b, bed.size());

    // The VR's file: exactly those reads, the TSV's bases, the qualities in line with them.
    const auto fq = Lines(d.Read("regions/p6_loop.fastq"));
    std::map<std::string, std::string> extracted;
    for (size_t i = 0; i + 3 < fq.size(); i += 4) {
        const std::string name = fq[i].substr(1, fq[i].find(" sample=") - 1);
        const seqio::SeqRecord& read = reads[name];
        const size_t start = std::stoul(HeaderField(fq[i], "start")), end = std::stoul(HeaderField(fq[i], "end"));
        std::string bases = read.bases.substr(start - 1, end - start + 1),
                    quals = read.quals.substr(start - 1, end - start + 1);
        if (HeaderField(fq[i], "strand") == "-") {
            bases = ReverseComplement(bases);
            std::reverse(quals.begin(), quals.end());
        }
        EXPECT_EQ(fq[i + 1], bases) << fq[i];
        EXPECT_EQ(fq[i + 3], quals) << fq[i];
        extracted[name] = fq[i + 1];
    }
    EXPECT_EQ(extracted, vrBases);

    std::string says;
    EXPECT_EQ(Shell(d.Path(), "gt gff3validator -typecheck so reads.gff3", says), 0) << says;

    // Per sample the rows add up to the reads, and the summary says the same.
    const auto counts = Lines(d.Read("c.tsv"));
    const auto summary = SummaryCounters(d.Path(), "s.json");
    const auto header = Fields(counts[0]);
    ASSERT_EQ(header.size(), 7u);
    for (size_t c = 5; c < header.size(); ++c) {
        std::map<std::string, long long> sum;         // identified, unidentified, no template
        for (size_t i = 2; i < counts.size(); ++i) {  // after the header row and what the table was made with
            const auto f = Fields(counts[i]);
            sum[f[0] == "no template"    ? "no_cr_reads"
                : f[4] == "unidentified" ? "vr:p6:1:unidentified"
                                         : "vr:p6:1:identified"] += std::stoll(f[c]);
        }
        const std::string s = header[c] + " ";
        EXPECT_EQ(sum["no_cr_reads"] + sum["vr:p6:1:unidentified"] + sum["vr:p6:1:identified"],
                  static_cast<long long>(readsOf[header[c]].size()));
        for (const auto& [key, reads] : sum) EXPECT_EQ(summary.at(s + key), reads) << s << key;
        EXPECT_EQ(summary.at(s + "reads"), static_cast<long long>(readsOf[header[c]].size()));
        EXPECT_EQ(summary.at(s + "template:p6:reads"), summary.at(s + "reads") - sum["no_cr_reads"]);
    }
}

TEST(CliOutputs, ARunInPartsMergesIntoTheWholeRun) {
    TempDir d;
    // S1 in two halves and S2 whole: three shards of the run over S1 and S2.
    const std::string s1 = kExample + "amplicon/S1.fastq.gz", s2 = kExample + "amplicon/S2.fastq.gz";
    std::string halves[2];
    size_t n = 0;
    for (const auto& [name, r] : ReadsByName({s1}))
        halves[n++ % 2] += "@" + name + "\n" + r.bases + "\n+\n" + r.quals + "\n";
    d.Write("a.fastq", halves[0]);
    d.Write("b.fastq", halves[1]);
    struct Part {
        std::vector<std::string> files;
        std::string tag;
    } parts[] = {{{s1, s2, "-j", "3"}, "whole"},
                 {{"--sample", "S1", "a.fastq"}, "a"},
                 {{"--sample", "S1", "b.fastq"}, "b"},
                 {{s2}, "c"}};
    for (const auto& p : parts) {
        std::vector<std::string> args{"analyze",   kExample + "p6/p6.tpl", "--orient",   "auto",
                                      "--counts",  p.tag + ".tsv",         "--distinct", p.tag + ".reads",
                                      "--summary", p.tag + ".json"};
        args.insert(args.end(), p.files.begin(), p.files.end());
        EXPECT_EQ(RunCli(args, d.Path()).status, 0) << p.tag;
    }
    auto noCommandLine = [](const std::string& text) {  // a summary's differs
        const size_t at = text.find("\"command_line\"");
        return at == std::string::npos ? text : text.substr(0, at) + text.substr(text.find("\"parameters\""));
    };
    for (std::string kind : {"counts", "distinct", "summary"}) {
        const std::string ext = kind == "counts" ? ".tsv" : kind == "distinct" ? ".reads" : ".json";
        std::vector<std::string> args{"merge", kind, "m" + ext, "a" + ext, "b" + ext, "c" + ext};
        if (kind == "summary") args.insert(args.end(), {"--distinct", "m.reads"});
        CliResult r = RunCli(args, d.Path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(noCommandLine(d.Read("m" + ext)), noCommandLine(d.Read("whole" + ext))) << kind;
    }
}

// Region file records by read name: header, bases and qualities.
std::map<std::string, std::vector<std::string>> RegionRecords(const std::string& fastq) {
    std::map<std::string, std::vector<std::string>> records;
    const auto lines = Lines(fastq);
    for (size_t i = 0; i + 3 < lines.size(); i += 4)
        records[lines[i].substr(1, lines[i].find(" sample=") - 1)] = {lines[i], lines[i + 1], lines[i + 3]};
    return records;
}

TEST(CliOutputs, ReadsWithoutTheirPrimersGiveTheSameLoopsAtTheirOwnPositions) {
    TempDir d;
    const std::string s1 = kExample + "amplicon/S1.fastq.gz";
    auto analyze = [&](const std::string& file, const std::string& dir, const std::string& more) {
        std::vector<std::string> args{"analyze",  kExample + "p6/p6.tpl",
                                      "--sample", "S1",
                                      file,       "--orient",
                                      "auto",     "--format",
                                      "tsv",      "--extract",
                                      dir,        more};
        CliResult r = RunCli(args, d.Path());
        EXPECT_EQ(r.status, 0) << r.err;
        return Lines(r.out);
    };
    // Each read cut to what lies between its primer sites as the whole read places them, on
    // the strand it was given.
    auto reads = ReadsByName({s1});
    std::string trimmed;
    std::map<std::string, int> g;  // where the primer site g ends, on the strand analysed
    for (const auto& row : analyze(s1, "whole", "--no-progress")) {
        const auto f = Fields(row);
        if (f[3] == "CR" && f[4] == "1") g[f[0]] = std::stoi(f[6]);
        if (f[3] != "CR" || f[4] != "2" || !g.count(f[0])) continue;
        seqio::SeqRecord& r = reads[f[0]];
        const size_t n = r.bases.size(), from = static_cast<size_t>(g[f[0]]), to = std::stoul(f[5]) - 1;
        const size_t at = f[13] == "+" ? from : n - to;  // on the read as given
        trimmed += "@" + f[0] + "\n" + r.bases.substr(at, to - from) + "\n+\n" + r.quals.substr(at, to - from) + "\n";
    }
    d.Write("trimmed.fastq", trimmed);
    analyze("trimmed.fastq", "cut", "--primers-trimmed");
    auto whole = RegionRecords(d.Read("whole/p6_loop.fastq")), cut = RegionRecords(d.Read("cut/p6_loop.fastq"));
    EXPECT_GT(cut.size(), 400u);
    EXPECT_EQ(cut.size(), whole.size());
    for (const auto& [name, record] : cut) {
        EXPECT_EQ(record[1], whole[name][1]) << name;  // the loop's bases and qualities
        EXPECT_EQ(record[2], whole[name][2]) << name;
        EXPECT_EQ(HeaderField(record[0], "start") + " " + HeaderField(record[0], "end"),
                  "1 " + std::to_string(record[1].size()));
        EXPECT_EQ(HeaderField(record[0], "strand"), HeaderField(whole[name][0], "strand")) << name;
    }
}

// Whatever the files hold (a few reads and a bad record, nothing, a compressed stream damaged
// part-way), jobs that decompress ahead of each other write what one job writes.
TEST(CliOutputs, ManyJobsAndEveryReadAnalysedGiveTheOutputsOfOneJob) {
    TempDir d;
    const std::string s1 = kExample + "amplicon/S1.fastq.gz", s2 = kExample + "amplicon/S2.fastq.gz";
    std::string gz, text;
    ASSERT_EQ(Shell(d.Path(), "gzip -dc " + s1 + " " + s2 + " | tee all.fq | gzip", gz), 0);
    gz[gz.size() / 2] = static_cast<char>(gz[gz.size() / 2] ^ 0x55);
    d.Write("damaged.fq.gz", gz);
    text = d.Read("all.fq");
    d.Write("few.fq", text.substr(0, text.find("\n@", 3000) + 1) + "@bad\nACGT\n+\nII\n");
    d.Write("empty.fq", "");
    const std::string lists[] = {s1 + " few.fq empty.fq " + s2, "few.fq " + s1 + " damaged.fq.gz " + s2};
    for (const std::string& files : lists) {
        std::string first;
        for (std::string jobs : {"-j 1", "-j 2", "-j 4", "-j 4 --no-derep"}) {
            TempDir o;
            CliResult r = RunCli(Words("analyze " + kExample + "p6/p6.tpl " + files + " --orient auto --format gff3 " +
                                       jobs + " --extract " + o.Path() + " --counts " + o.Path("c.tsv") +
                                       " --summary " + o.Path("s.json") + " --distinct " + o.Path("d.tsv")),
                                 d.Path());
            std::string all = std::to_string(r.status) + r.err + r.out + DirectoryText(o.Path());
            const size_t line = all.find("  \"command_line\"");
            if (line != std::string::npos) all.erase(line, all.find('\n', line) - line);
            if (first.empty()) first = all;
            else EXPECT_EQ(all, first) << files << " " << jobs;
        }
        EXPECT_EQ(first[0], files == lists[0] ? '1' : '2') << first.substr(0, 2000);
    }
}

// Each run as the user sees it, in golden/outputs_runs.txt: the command line, the exit status,
// the messages and the files it writes (tables and summaries without the lines that name the
// program's version and the run, and without the unused template's counters).
TEST(CliOutputs, RunsAndMergesGiveTheirStatusMessagesAndFiles) {
    CliFiles f;
    const std::string grass = f.Grass(f.intron1, f.spacer1), huge(33000, 'A');
    f.Write("s.fasta", f.EdgeRecords());
    f.Write("q.fastq", "@ok\n" + grass + "\n+\n" + std::string(grass.size(), 'I') +
                           "\n@letters\nACGJT\n+\nIIIII\n@short quality\nACGT\n+\nII\n@empty\n\n+\n\n@huge\n" + huge +
                           "\n+\n" + std::string(huge.size(), 'I') + "\n@again\n" + grass + "\n+\n" +
                           std::string(grass.size(), '#') + "\n");
    f.Write("old.tsv", "old\n");
    f.Write("rows.tsv", "template\tvr\tvr_file\tvariant\ttaxa\tS\nGrass\t1\tintron.txt\tA\tPoa\tmany\n");
    const std::string runs[] = {
        "analyze t.tpl q.fastq --counts q.tsv --summary q.json --distinct q.reads --extract x",
        "analyze t.tpl q.fastq --extract x",  // the region files exist: kept
        "analyze t.tpl s.fasta --counts old.tsv",
        "analyze t.tpl s.fasta --counts old.tsv --force",
        "analyze t.tpl s.fasta --extract-empty",
        "analyze t.tpl s.fasta --counts o.tsv --distinct o.tsv",
        "merge",
        "merge counts m2.tsv",
        "merge counts q.tsv q.tsv",
        "merge counts m3.tsv q.tsv q.reads",
        "merge counts m4.tsv rows.tsv",
        "merge counts m5.tsv gone.tsv",
        "merge counts m6.tsv q.tsv old.tsv --distinct q.reads",
        "merge distinct m7.reads q.reads q.reads",
        "merge summary m8.json q.json q.json",
        "merge summary m9.json q.json q.json --distinct m7.reads",
        "merge summary m10.json q.json --distinct m7.reads",
        "merge summary m11.json q.reads",
        "report --summary m9.json --counts q.tsv --multiqc r_mqc.tsv",
        "report --summary q.tsv --counts q.tsv -o r.html",
        "report --summary q.json --counts q.json -o r.html",
        "report --summary q.json --counts q.tsv",
        "analyze t.tpl s.fasta --counts-format xml",
        "analyze t.tpl s.fasta --counts-format biom",
    };
    auto shown = [](const std::string& line) {
        for (const char* key : {"\"program\"", "\"version\"", "\"command_line\"", "\"parameters\"", "\"made_with\"",
                                "# made with: ", ":Sedge:", "# description"})
            if (line.find(key) != std::string::npos) return false;
        return true;
    };
    std::string log;
    for (const auto& run : runs) {
        const auto words = Words(run);
        CliResult r = f.Run(words);
        log += "$ varigap-cli " + run + "\nstatus " + std::to_string(r.status) + "\n" + r.err;
        for (size_t i = 1; i < words.size(); ++i) {
            const std::string& option = words[i - 1];
            const bool named = words[0] == "merge" ? i == 2
                               : words[0] == "report"
                                   ? option == "--multiqc"
                                   : option == "--counts" || option == "--summary" || option == "--distinct";
            if (!named || !f.Exists(words[i])) continue;
            log += "==== " + words[i] + " ====\n";
            for (const auto& line : Lines(f.Read(words[i])))
                if (shown(line)) log += line + "\n";
        }
        if (run.find("--extract ") != std::string::npos) log += DirectoryText(f.Path("x"));
    }
    ExpectGolden("tests/cli/golden/outputs_runs.txt", log);

    CliResult gff3 = f.Run({"analyze", "t.tpl", "s.fasta", "--format", "gff3"});
    f.Write("edge.gff3", gff3.out);
    std::string says;
    EXPECT_EQ(Shell(f.Path(), "gt gff3validator -typecheck so edge.gff3", says), 0) << says;
}

}  // namespace
}  // namespace varigap::test
