// varigap-cli run as a process on what gave wrong answers without a word: shards made otherwise
// merged, a merge onto its own input, a short FASTQ quality line, a gzip member failing its
// check, pipes and folders as sequence files, reads longer than the analysis takes, words too
// short for the aligner, messages that named the wrong cause; and what analyze settles before
// the first record: an output folder that can take the files, their names, one sample per file.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "cli_fixture.h"

namespace varigap::test {
namespace {

const std::string kMap = std::string(VARIGAP_SOURCE_DIR) + "/data/tools/maps/trnLF_map.tsv";
const std::string kData = std::string(VARIGAP_SOURCE_DIR) + "/data";

// Runs a bash script in `dir` with `vg` standing for varigap-cli: its exit status and messages.
CliResult Bash(const std::string& dir, const std::string& script) {
    TempDir io;
    const char* other = std::getenv("VARIGAP_CLI_UNDER_TEST");  // as RunCli
    io.Write("script",
             "vg() { '" + std::string(other ? other : VARIGAP_CLI) + "' \"$@\"; }\ncd '" + dir + "'\n" + script + "\n");
    const int status =
        std::system(("bash " + io.Path("script") + " >" + io.Path("out") + " 2>" + io.Path("err")).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, io.Read("out"), io.Read("err")};
}

std::string Fastq(const std::string& name, const std::string& bases, size_t quals) {
    return "@" + name + "\n" + bases + "\n+\n" + std::string(quals, 'I') + "\n";
}

TEST(CliSaid, WhatWouldGiveAWrongAnswerIsRefusedOrNamed) {
    CliFiles f;
    const std::string g = f.Grass(f.intron1, f.spacer1), wrapped = g.substr(0, 60) + "\n" + g.substr(60);
    f.Write("s.fasta", FastaRecord("P", g));
    f.Write("s.fq", Fastq("r1", g, g.size()) + Fastq("r2", g, g.size()) + Fastq("r3", g, g.size()));
    f.Write("short.fq", Fastq("r1", g, g.size() - 4) + Fastq("abc", g, g.size()));
    // Bases and qualities wrapped alike, a quality line that begins with "@".
    f.Write("wrapped.fq", "@w\n" + wrapped + "\n+\n@" + std::string(59, 'I') + "\n" + std::string(g.size() - 60, 'I') +
                              "\n" + Fastq("after", g, g.size()));
    f.Write("other/t.tpl", f.Read("t.tpl"));  // the same template with another intron file
    f.Write("other/intron.txt", f.Read("intron.txt") + "ACGT>Zea mays<\n");
    f.Write("other/spacer.txt", f.Read("spacer.txt"));
    // The whole region inside reads of 32001 bases, and of 40000.
    const std::string pad(32001 - g.size(), 'A');
    f.Write("long.fq", Fastq("long", g + pad, g.size() + pad.size()) + Fastq("r1", g, g.size()));
    f.Write("long.fasta", FastaRecord("huge", g + pad + std::string(7999, 'A')) + FastaRecord("P", g));
    f.Write("names.fasta", FastaRecord("Poa 1", g) + FastaRecord("Poa 1", g) + FastaRecord("Poa-1", g) +
                               FastaRecord("12", g) + FastaRecord("Briza media", g) + FastaRecord("Poa 1", g));
    f.Write("run1/S.fastq", Fastq("r1", g, g.size()));
    f.Write("run2/S.fastq", Fastq("r1", g, g.size()));
    f.Write("a file", "");
    const std::string both =
        "Varigap: Sequence files \"run1/S.fastq\" and \"run2/S.fastq\" would both be sample \"S\": "
        "name each with --sample NAME before it (files given the same name are pooled in one sample).\n";
    const std::string samples = " --format tsv | awk -F'\\t' 'NR > 1 { print $(NF - 1) }' | uniq | tr '\\n' ' '";
    f.Write("g.gb",
            "LOCUS       Z 10 bp    DNA\nVERSION     Z.1\nFEATURES             Location/Qualifiers\n"
            "     tRNA            0..10\n                     /gene=\"trnL-UAA\"\nORIGIN\n        1 acgtacgtac\n//\n");
    const std::string shard =
        "vg analyze t.tpl s.fasta --format tsv --made-with --counts a.tsv --distinct a.d "
        "--summary a.json > a.out\n";
    auto other = [](const std::string& options) {
        return "vg analyze " + options +
               " s.fasta --format tsv --made-with --counts b.tsv --distinct b.d "
               "--summary b.json > b.out\n";
    };
    // gzip: the CRC of the second of two members spoilt.
    const std::string gz =
        "gzip -c s.fq > good.gz; gzip -c s.fq > bad.gz; n=$(($(stat -c %s bad.gz) - 8))\n"
        "printf '\\xff\\xff\\xff\\xff' | dd of=bad.gz bs=1 seek=$n conv=notrunc 2>/dev/null\n"
        "cat good.gz bad.gz > two.gz\n";
    const struct {
        std::string script;
        int status;
        std::string err;       // what the messages hold ("" for none)
        std::string out = "";  // what standard output holds
    } cases[] = {
        // Shards made otherwise are not merged; each merge names the two and the difference.
        {shard + other("t.tpl --orient reverse") + "vg merge counts m.tsv a.tsv b.tsv", 2,
         "a.tsv and b.tsv are not shards of one run: orient is forward in a.tsv but reverse in b.tsv."},
        {shard + other("other/t.tpl") + "vg merge distinct m.d a.d b.d", 2,
         "a.d and b.d are not shards of one run: checksum "},
        {shard + other("t.tpl --primers-trimmed") + "vg merge summary m.json a.json b.json", 2,
         "primers_trimmed is no in a.json but yes in b.json."},
        {shard + other("t.tpl -t 2") + "vg merge tsv m.out a.out b.out", 2,
         "\"a.out\" and \"b.out\" are not shards of one run: template_choice is best in a.out but 2 in b.out."},
        {shard + "echo '{}' > e.json; vg merge summary m.json a.json e.json", 2,
         "File e.json could not be merged: not a run summary (no program, version or samples)."},
        {shard + "vg merge counts m.tsv a.tsv a.tsv && vg merge tsv m.out a.out a.out && grep -c '^# made' m.tsv m.out",
         0, "", "m.tsv:1\nm.out:1\n"},
        // Counts that add up beyond what a table holds would not read back.
        {"r=$'Grass\\t1\\tintron.txt\\t\\tunidentified\\t999999999999999999\\n'\n"
         "printf 'template\\tvr\\tvr_file\\tvariant\\ttaxa\\tq\\n%s%s' \"$r\" \"$r\" > big.tsv; vg merge counts m.tsv "
         "big.tsv",
         2, "File big.tsv could not be merged: line 3: the reads add up to more than a count holds."},
        // A merge onto one of its inputs, spelt otherwise, is refused and leaves it as it was.
        {shard + "cp a.tsv keep; vg merge counts ./a.tsv a.tsv --force; s=$?; cmp a.tsv keep && exit $s", 2,
         "./a.tsv is the input a.tsv, which the merge would write over."},
        {shard + "ln -s a.out link; vg merge tsv \"$PWD/link\" a.out --force", 2,
         "is the input a.out, which the merge would write over."},
        // A quality line of another length on a one-line record is that record's fault alone.
        {"vg analyze t.tpl short.fq", 1,
         "\"short.fq\", record 1 (line 1): " + std::to_string(g.size() - 4) + " quality characters for " +
             std::to_string(g.size()) + " bases; record passed over.",
         ">abc\tGrass"},
        {"vg analyze t.tpl wrapped.fq | grep -c '^>'", 0, "", "2\n"},
        // A gzip member that fails its check: its records are named, none known to be sound.
        {gz + "vg analyze t.tpl bad.gz", 2,
         "fails its check (CRC or length) at the end of the gzip member that begins at line 1, after line 12: "
         "none of its records is known to be sound: records 1 to 3, whose results were written before the check"},
        {gz + "vg analyze t.tpl two.gz", 2,
         "member that begins at line 13, after line 24: none of its records is "
         "known to be sound: records 4 to 6"},
        // Pipes and FIFOs are read as streams; a folder is named as one; letter case as the check found.
        {"vg analyze t.tpl <(cat s.fq) | grep -c '^>r'", 0, "", "3\n"},
        {"mkfifo p.fq; cat s.fq > p.fq & vg analyze t.tpl p.fq | grep -c '^>r'", 0, "", "3\n"},
        {"vg analyze t.tpl other", 2, "Varigap Sequence File \"other\" is a folder, not a file."},
        {"vg analyze t.tpl S.FQ | grep -c '^>r'", 0, "", "3\n"},
        // One limit for FASTA and FASTQ, said once per read, counted as too long, exit status 1.
        {"vg analyze t.tpl long.fq --summary a.json && exit 9; s=$?; grep -c '\"skipped_too_long\": 1' a.json; exit $s",
         1,
         "\"long.fq\", record 1 (line 1): the read has 32001 bases, more than the 32000 that can be analysed; record "
         "passed over.\n",
         ">r1\tGrass"},
        {"vg analyze t.tpl long.fasta | grep -c '^>'", 1,
         "\"long.fasta\", record 1 (line 1): the read has 40000 bases, more than the 32000 that can be analysed",
         "1\n"},
        // Words too short for the vote table: said once per record with the cause and the cure,
        // counted in the summary, exit status 1.
        {"sed 's/wordLength = 6/wordLength = 3/' " + kData +
             "/settings/VarigapParams.txt > p3.txt\n"
             "vg analyze " +
             kData + "/example/trnLF.tpl " + kData +
             "/example/sequences.fasta --params p3.txt "
             "--summary a.json 2> e.txt >/dev/null && exit 9; s=$?\n"
             "grep -c 'at word length 3 their words occur in too many places' e.txt; grep -c 'record 16 ' e.txt\n"
             "grep -c '\"vote_table_full\": 16' a.json; exit $s",
         1, "", "16\n1\n1\n"},
        // The system's reason, the rule broken.
        {"vg analyze t.tpl s.fasta --extract s.fq", 1,
         "Region folder s.fq could not be made: Not a directory (something that is not a folder has its name)."},
        {"vg analyze t.tpl s.fasta --extract s.fq/x", 1, "Region folder s.fq/x could not be made: Not a directory."},
        {"vg regions g.gb --map " + kMap, 1, "position 0 in 0..10: positions count from 1"},
        // Output files: a folder that can take them, names found in time, unique and safe.
        {"vg analyze t.tpl names.fasta -o out >/dev/null && LC_ALL=C ls out | tr '\\n' ' '", 0, "",
         "Brizamed.txt Poa1-2.txt Poa1-3.txt Poa1-4.txt Poa1.txt sequence4.txt "},
        {"vg analyze t.tpl names.fasta -o /dev/null", 2,
         "Varigap: Output folder \"/dev/null\" cannot be used: it is not a folder.\n"},
        {"vg analyze t.tpl names.fasta -o 'a file/sub'", 2,
         "Varigap: Output folder \"a file/sub\" cannot be used: Not a directory.\n"},
        // One sample per file unless named alike on purpose.
        {"vg analyze t.tpl run1/S.fastq run2/S.fastq", 2, both},
        {"vg analyze t.tpl run1/S.fastq --sample S run2/S.fastq", 2, both},
        {"vg analyze t.tpl --sample S1 run1/S.fastq run2/S.fastq" + samples, 0, "", "S1 S "},
        {"vg analyze t.tpl --sample S run1/S.fastq --sample S run2/S.fastq" + samples, 0, "", "S "},
    };
    for (const auto& c : cases) {
        Bash(f.Path(), "rm -rf a.* b.* m.* e.json keep link p.fq *.gz out");
        CliResult r = Bash(f.Path(), "set -o pipefail\n" + c.script);
        EXPECT_EQ(r.status, c.status) << c.script << "\n" << r.err;
        if (c.err.empty()) EXPECT_EQ(r.err, "") << c.script;
        else EXPECT_NE(r.err.find(c.err), std::string::npos) << c.script << "\n" << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.script << "\n" << r.out.substr(0, 300);
    }
}

}  // namespace
}  // namespace varigap::test
