// varigap-cli build run as a process: templates and variable region files from REGIONS.tsv and
// records, what an analysis then finds with them, groups, and faults named by file and line.
#include <gtest/gtest.h>
#include <htslib/bgzf.h>

#include "cli_fixture.h"
#include "engine/trnlf_data.h"

namespace varigap::test {
namespace {

// Four records of two families: CR a, VR loop, CR b, with 5 flanking bases each side. Record
// B has a G where the others have an A at base 3 of CR a; A and C share their loop.
struct BuildFiles : TempDir {
    std::string flank = "TTTTT", crA = RandomBases(30, 1), crB = RandomBases(30, 2);
    std::string loop1 = RandomBases(40, 3), loop2 = RandomBases(47, 4), loop3 = RandomBases(33, 5);
    std::vector<std::pair<std::string, std::string>> records;  // name, loop
    BuildFiles() {
        crA[2] = 'A';
        records = {{"A", loop1}, {"B", loop2}, {"C", loop1}, {"D", loop3}};
        std::string fasta, fastq, table = "sequence\tregion\tkind\tstart\tend\ttaxon\tfamily\n";
        for (const auto& [name, loop] : records) {
            std::string a = name == "B" ? crA.substr(0, 2) + "G" + crA.substr(3) : crA;
            std::string bases = flank + a + loop + crB + flank;
            fasta += FastaRecord(name, bases);
            fastq += "@" + name + "\n" + bases + "\n+\n" + std::string(bases.size(), 'I') + "\n";
            const std::string tail =
                std::string("\t") + (name == "C" ? "Taxon C" : "") + "\t" + (name == "D" ? "Cyper" : "Poac") + "\n";
            const size_t l = loop.size();
            table += name + "\ta\tCR\t6\t35" + tail + name + "\tloop\tVR\t36\t" + std::to_string(35 + l) + tail + name +
                     "\tb\tCR\t" + std::to_string(36 + l) + "\t" + std::to_string(65 + l) + tail;
        }
        Write("s.fasta", fasta);
        Write("r.tsv", table);
        BGZF* f = bgzf_open(Path("s.fq.gz").c_str(), "wg");  // one plain gzip member
        EXPECT_EQ(bgzf_write(f, fastq.data(), fastq.size()), static_cast<ssize_t>(fastq.size()));
        bgzf_close(f);
    }
    CliResult Run(const std::vector<std::string>& args) const { return RunCli(args, Path()); }
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Grouped(const std::string& bases) {
    std::string s = "1";
    for (size_t i = 0; i < bases.size(); i += 10) s += " " + bases.substr(i, 10);
    return s;
}

TEST(CliBuild, TheBuiltFilesIdentifyEveryRecordTheyWereMadeFrom) {
    BuildFiles f;
    CliResult r = f.Run({"build", "r.tsv", "s.fq.gz", "-o", "out", "--name", "loops"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "out/loops.tpl\nout/loop.txt\n");
    EXPECT_EQ(r.err,
              "varigap-cli build: 1 template from 4 records in out/loops.tpl; variable regions cut between placed CRs "
              "in 4\n");
    std::string tpl = f.Read("out/loops.tpl");
    // One G among four A at base 3 is a quarter: the column becomes R.
    std::string a = Lower(f.crA);
    a[2] = 'r';
    EXPECT_NE(tpl.find("# Command: varigap-cli build r.tsv s.fq.gz -o out --name loops\r\n"), std::string::npos);
    EXPECT_NE(
        tpl.find("\r\n>loops\r\n[a]\r\n" + Grouped(a) + "\r\n\"loop.txt\"\r\n[b]\r\n" + Grouped(Lower(f.crB)) + "\r\n"),
        std::string::npos)
        << tpl;
    std::string vr = f.Read("out/loop.txt");
    EXPECT_NE(vr.find("\r\n\r\n" + Lower(f.loop1) + "\r\n>A; Taxon C<\r\n\r\n" + Lower(f.loop2.substr(0, 60)) +
                      "\r\n>B<\r\n\r\n" + Lower(f.loop3) + "\r\n>D<\r\n"),
              std::string::npos)
        << vr;

    CliResult check = f.Run({"check", "out/loops.tpl"});
    EXPECT_EQ(check.status, 0) << check.out;
    CliResult analyzed = f.Run({"analyze", "out/loops.tpl", "s.fasta"});
    EXPECT_EQ(analyzed.status, 0) << analyzed.err;
    for (const auto& [name, loop] : f.records)
        EXPECT_NE(analyzed.out.find(">" + name + "\tloops\n1?0,0?TTTTT\n2:[C]:"), std::string::npos) << name;
    EXPECT_EQ(analyzed.out.find("?{V}?"), std::string::npos) << analyzed.out;
}

TEST(CliBuild, GroupsMakeOneTemplateEachNarrowestFirstWhenAsked) {
    BuildFiles f;
    CliResult r = f.Run({"build", "r.tsv", "s.fasta", "-o", "g", "--group", "family", "--order", "narrowest"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "g/r.tpl\ng/Cyper_loop.txt\ng/Poac_loop.txt\n");
    std::string tpl = f.Read("g/r.tpl");
    EXPECT_LT(tpl.find(">Cyper r\r\n"), tpl.find(">Poac r\r\n"));
    EXPECT_NE(tpl.find("# Template \"Poac r\": 3 records with family Poac."), std::string::npos);
    // Both templates have the same conserved regions but for one base: check says the ranking ties.
    CliResult check = f.Run({"check", "g/r.tpl"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("g/r.tpl:"), std::string::npos);
    EXPECT_NE(check.out.find("the ranking counts them equal (baseCountTolerance 3) and the first one listed wins"),
              std::string::npos)
        << check.out;
}

TEST(CliBuild, FaultsInTheTableOrRecordsAreNamedByFileAndLineAndNothingIsWritten) {
    struct Case {
        std::string from, to;  // a change to r.tsv: the first occurrence, or every one for a "\t..."
        std::string fasta;     // records added to s.fasta
        std::string err;       // the first fault reported
    } cases[] = {
        {"\tend\t", "\tstop\t", "", "r.tsv:1: the header has no column \"end\""},
        {"A\tloop\tVR", "A\tloop\tXR", "", "r.tsv:3: kind must be CR or VR, not \"XR\""},
        {"A\ta\tCR\t6", "A\ta\tCR\tsix", "",
         "r.tsv:2: start and end must be whole numbers, start from 1 (\"six\", \"35\")"},
        {"B\ta\tCR\t6\t35", "B\ta\tCR\t6\t5", "", "r.tsv:5: a conserved region needs at least one base (6..5)"},
        {"C\tb\tCR", "C\ta\tCR", "", "r.tsv:10: region \"a\" of \"C\" is given again (first on line 8)"},
        {"D\ta\tCR", "E\ta\tCR", "", "r.tsv:11: no record \"E\" in s.fasta"},
        {"A\ta\tCR\t6\t35", "A\ta\tCR\t6\t36", "", "r.tsv:3: region \"loop\" overlaps region \"a\" (line 2)"},
        {"A\ta\tCR\t6\t35", "A\ta\tCR\t6\t999", "", "r.tsv:2: region \"a\" ends at 999, but \"A\" has 110 bases"},
        {"", "", ">A\nACGT\n",
         "s.fasta: record 5: a second record \"A\" (the first is record 1): the table cannot tell them apart"},
        {"A\tloop\tVR", "A\tloop2\tVR", "",
         "r.tsv:5: \"B\" has the regions a, loop, b; \"A\" has a, loop2, b (every record needs the same regions in the "
         "same order)"},
        {"\tVR\t", "\tCR\t", "",
         "r.tsv: conserved regions \"a\" and \"loop\" follow each other: a template file would read them as one"},
    };
    for (const auto& c : cases) {
        BuildFiles f;
        std::string table = f.Read("r.tsv");
        for (size_t at = c.from.empty() ? std::string::npos : table.find(c.from); at != std::string::npos;
             at = c.from[0] == '\t' ? table.find(c.from, at + c.to.size()) : std::string::npos)
            table.replace(at, c.from.size(), c.to);
        f.Write("r.tsv", table);
        f.Write("s.fasta", f.Read("s.fasta") + c.fasta);
        CliResult r = f.Run({"build", "r.tsv", "s.fasta", "-o", "out"});
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(Lines(r.err).front(), c.err);
        EXPECT_NE(r.err.find("; nothing written.\n"), std::string::npos) << r.err;
        EXPECT_FALSE(f.Exists("out"));
    }
    BuildFiles f;
    EXPECT_EQ(f.Run({"build", "r.tsv", "s.fasta"}).status, 2);  // no -o
    CliResult missing = f.Run({"build", "r.tsv", "gone.fasta", "-o", "out"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "varigap-cli build: gone.fasta: cannot open: not found\n");
    f.Write("bad.fq", "@A\nACGT\n+\nIII\n");
    CliResult fastq = f.Run({"build", "r.tsv", "bad.fq", "-o", "out"});
    EXPECT_EQ(fastq.status, 2);
    EXPECT_EQ(fastq.err,
              "varigap-cli build: bad.fq: record 1 (line 1): 3 quality characters for 4 bases (the file ends)\n");
}

// The real records split in two halves: a template built from one places the conserved
// regions of the other near their annotation, and its files identify every record it was
// built from (data/tools/heldout_eval.sh says more).
TEST(CliBuild, ATemplateFromHalfTheRealRecordsFitsTheOtherHalf) {
    const std::string dir = FindTrnLFDir(VARIGAP_SOURCE_DIR);
    if (dir.empty()) GTEST_SKIP() << "shared/data/trnLF not found";
    TempDir work;
    std::string table = "sequence\tregion\tkind\tstart\tend\n";
    std::vector<TrnLFRecord> records = LoadTrnLF(dir), test;
    for (size_t i = 0; i < records.size(); ++i) {
        const TrnLFRecord& r = records[i];
        if (i % 2 == 1) {
            test.push_back(r);
            continue;
        }
        const std::string name = r.name + "\t";
        auto row = [&](const char* region, const char* kind, int start, int end) {
            table += name + region + "\t" + kind + "\t" + std::to_string(start) + "\t" + std::to_string(end) + "\n";
        };
        row("exon5", "CR", r.exon5Start, r.exon5End);
        row("intron", "VR", r.exon5End + 1, r.exon3Start - 1);
        row("exon3", "CR", r.exon3Start, r.exon3End);
        row("spacer", "VR", r.exon3End + 1, r.trnFStart - 1);
        row("trnF", "CR", r.trnFStart, r.trnFEnd);
    }
    work.Write("train.tsv", table);
    const std::string fasta = dir + "/regions.fasta";
    ASSERT_EQ(RunCli({"build", "train.tsv", fasta, "-o", "t"}, work.Path()).status, 0);
    CliResult r = RunCli({"analyze", "t/train.tpl", fasta, "--format", "tsv"}, work.Path());
    std::map<std::string, std::vector<int>> crs;  // name -> starts and ends of the CR lines
    std::map<std::string, int> identified;        // name -> VRs listing the record among their taxa
    for (const auto& line : Lines(r.out)) {
        std::vector<std::string> f;
        for (size_t a = 0, b; a <= line.size(); a = b + 1)
            f.push_back(line.substr(a, (b = std::min(line.find('\t', a), line.size())) - a));
        if (f[3] == "CR") crs[f[0]].insert(crs[f[0]].end(), {std::stoi(f[5]), std::stoi(f[6])});
        if (f[3] == "VR" && ("; " + f[10] + ";").find("; " + f[0] + ";") != std::string::npos) ++identified[f[0]];
    }
    int near = 0;
    for (const auto& t : test) {
        std::vector<int> want{t.exon5Start, t.exon5End, t.exon3Start, t.exon3End, t.trnFStart, t.trnFEnd};
        const std::vector<int>& got = crs[t.name];
        bool ok = got.size() == want.size();
        for (size_t k = 0; ok && k < want.size(); ++k) ok = std::abs(got[k] - want[k]) <= 3;
        near += ok;
    }
    EXPECT_GE(near, 320) << "of " << test.size();
    for (size_t i = 0; i < records.size(); i += 2) EXPECT_EQ(identified[records[i].name], 2) << records[i].accession;
}

}  // namespace
}  // namespace varigap::test
