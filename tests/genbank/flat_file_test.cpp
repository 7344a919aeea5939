// GenBank and EMBL flat files: records read in order, malformed ones reported with file, line
// and record and skipped, gzip read alike, and mutated files never crash the reader.
#include "genbank/flat_file.h"

#include <gtest/gtest.h>
#include <htslib/bgzf.h>

#include <random>

#include "builder/line_reader.h"
#include "genbank/feature_map.h"
#include "support/temp_dir.h"

namespace varigap::genbank {
namespace {

using test::TempDir;

const std::string kBases = "acgtacgtac gtacgtacgt acgtacgtac gtacgtacgt acgtacgtac gtacgtacgt";

// A GenBank record of 60 bases; `origin` replaces the sequence lines.
std::string GenBank(const std::string& id, const std::string& origin = "        1 " + kBases + "\n") {
    return "LOCUS       " + id +
           "                 60 bp    DNA     linear   PLN 01-JAN-2000\n"
           "ACCESSION   " +
           id + "\nVERSION     " + id +
           ".1\n"
           "  ORGANISM  Poa annua\n            Eukaryota; Viridiplantae; Poales;\n            Poaceae; Poa.\n"
           "FEATURES             Location/Qualifiers\n"
           "     source          1..60\n                     /organism=\"Poa annua\"\n"
           "     tRNA            complement(join(40..50,\n                     5..10))\n"
           "                     /gene=\"trnL-UAA\"\n"
           "                     /note=\"over two\n                     lines, \"\"quoted\"\"\"\n"
           "                     /pseudo\n"
           "ORIGIN\n" +
           origin + "//\n";
}

struct Read {
    std::vector<FlatRecord> records;
    std::vector<std::string> problems;
};

Read ReadFile(const std::string& path) {
    Read r;
    ForEachFlatRecord(
        path, [&](const FlatRecord& rec) { r.records.push_back(rec); },
        [&](const std::string& p) { r.problems.push_back(p); });
    return r;
}

TEST(FlatFile, GenBankAndEmblRecordsGiveNameOrganismFeaturesAndSequence) {
    TempDir dir;
    const std::string embl =
        "ID   TEST2; SV 3; linear; genomic DNA; STD; PLN; 60 BP.\nXX\nAC   TEST2;\nOS   Carex flacca\n"
        "OC   Eukaryota; Poales; Cyperaceae.\nFH   Key             Location/Qualifiers\n"
        "FT   tRNA            join(5..10,40..50)\nFT                   /product=\"tRNA-Leu\"\n"
        "SQ   Sequence 60 BP;\n     " +
        kBases + "        60\n//\n";
    Read r = ReadFile(dir.Write("a.gb", GenBank("TEST1") + embl));
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    ASSERT_EQ(r.records.size(), 2u);
    const FlatRecord& g = r.records[0];
    EXPECT_EQ(g.accession, "TEST1.1");
    EXPECT_EQ(g.organism, "Poa annua");
    EXPECT_EQ(g.lineage, (std::vector<std::string>{"Eukaryota", "Viridiplantae", "Poales", "Poaceae", "Poa"}));
    ASSERT_EQ(g.features.size(), 2u);
    EXPECT_EQ(g.features[1].location, "complement(join(40..50,5..10))");
    EXPECT_EQ(g.features[1].qualifiers,
              (std::vector<std::pair<std::string, std::string>>{
                  {"gene", "trnL-UAA"}, {"note", "over two lines, \"quoted\""}, {"pseudo", ""}}));
    EXPECT_EQ(g.sequence.substr(0, 12), "ACGTACGTACGT");
    EXPECT_EQ(g.sequence.size(), 60u);
    const FlatRecord& e = r.records[1];
    EXPECT_EQ(e.accession, "TEST2.3");
    EXPECT_EQ(e.organism, "Carex flacca");
    EXPECT_EQ(e.lineage.back(), "Cyperaceae");
    ASSERT_EQ(e.features.size(), 1u);
    EXPECT_EQ(e.features[0].qualifiers.front().second, "tRNA-Leu");
    EXPECT_EQ(e.sequence, g.sequence);
}

TEST(FlatFile, AMalformedRecordIsNamedWithFileLineAndRecordAndTheNextIsStillRead) {
    TempDir dir;
    const std::string good = GenBank("GOOD");
    std::string noEnd = GenBank("BAD");
    noEnd.erase(noEnd.rfind("//"));
    std::string noLocation = GenBank("BAD");
    const std::string source = "     source          1..60";
    noLocation.replace(noLocation.find(source), source.size(), "     source");
    struct Case {
        std::string text, problem;
        size_t records;
    } cases[] = {
        {GenBank("BAD", "        1 acgtacgtac\n") + good,
         "f.gb:1: record 1 (BAD.1): the sequence has 10 bases, the record says 60", 1},
        {GenBank("BAD", "        1 acgt!cgtac\n") + good,
         "f.gb:17: record 1 (BAD.1): unexpected character in the sequence (code 33)", 1},
        {noEnd + good, "f.gb:18: record 1 (BAD.1): no \"//\" before the next record", 1},
        {good + noEnd, "f.gb:35: record 2 (BAD.1): the file ends inside this record (no \"//\")", 1},
        {noLocation + good, "f.gb:8: record 1 (BAD.1): feature source has no location", 1},
        {GenBank("BAD", "") + good, "f.gb:1: record 1 (BAD.1): the sequence has 0 bases, the record says 60", 1},
        {"hello\n" + good, "f.gb:1: expected a LOCUS (GenBank) or ID (EMBL) line", 1},
        {"", "f.gb: no GenBank or EMBL record", 0},
    };
    for (const auto& c : cases) {
        TempDir d;
        Read r = ReadFile(d.Write("f.gb", c.text));
        ASSERT_EQ(r.problems.size(), 1u) << c.problem;
        EXPECT_EQ(r.problems[0], d.Path("f.gb") + c.problem.substr(4)) << c.problem;
        EXPECT_EQ(r.records.size(), c.records) << c.problem;
    }
    std::string open = GenBank("BAD");
    open.replace(open.find("\"\"quoted\"\"\""), 11, "\"\"quoted\"\"");
    Read r = ReadFile(dir.Write("q.gb", open));
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_NE(r.problems[0].find("q.gb:16: record 1 (BAD.1): a quoted qualifier value is not closed"),
              std::string::npos)
        << r.problems[0];
}

void WriteGzip(const std::string& path, const std::string& text) {
    BGZF* f = bgzf_open(path.c_str(), "wg");  // one plain gzip member
    ASSERT_TRUE(f && bgzf_write(f, text.data(), text.size()) == static_cast<ssize_t>(text.size()));
    ASSERT_EQ(bgzf_close(f), 0);
}

TEST(FlatFile, GzipFilesAreReadAlikeAndACutOffOneSaysWhere) {
    TempDir dir;
    const std::string text = GenBank("A") + GenBank("B");
    WriteGzip(dir.Path("f.gb.gz"), text);
    EXPECT_EQ(ReadFile(dir.Path("f.gb.gz")).records.size(), 2u);
    std::string bytes = test::ReadFileBytes(dir.Path("f.gb.gz"));
    dir.Write("cut.gb.gz", bytes.substr(0, bytes.size() - 30));
    try {
        ReadFile(dir.Path("cut.gb.gz"));
        ADD_FAILURE() << "a cut-off file was read without complaint";
    } catch (const builder::InputError& e) {
        EXPECT_NE(std::string(e.what()).find("cut.gb.gz:"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("damaged or cut off"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadFile(dir.Path("missing.gb")), builder::InputError);
}

// Random damage to real-looking records: whatever happens, no crash, every record handed on
// is whole, and every problem names the file.
TEST(FlatFile, MutatedFilesNeverCrashTheReaderOrTheRegionSearch) {
    TempDir dir;
    const std::string base = GenBank("A") + GenBank("B");
    const std::vector<MapRegion> map = {
        {"exon1", true, false, {{0, "tRNA", {{"gene", '=', "TRNL-UAA", 0}}, 1}}},
        {"intron", false, true, {}},
        {"exon2", true, false, {{0, "tRNA", {{"gene", '~', "TRNL", 0}}, -1}}},
    };
    std::mt19937 rng(14);
    const std::string alphabet = "acgt()., .\"/=\n0123456789<>^:join";
    for (int round = 0; round < 300; ++round) {
        std::string text = base;
        for (int k = rng() % 6 + 1; k > 0; --k) {
            size_t at = rng() % text.size();
            switch (rng() % 4) {
                case 0: text[at] = alphabet[rng() % alphabet.size()]; break;
                case 1: text.erase(at, rng() % 40); break;
                case 2: text.insert(at, text.substr(rng() % text.size(), rng() % 60)); break;
                default: text.resize(at); break;
            }
            if (text.empty()) text = "x";
        }
        const std::string path = dir.Write("m.gb", text);
        Read r = ReadFile(path);
        for (const auto& p : r.problems) ASSERT_EQ(p.rfind(path, 0), 0u) << p;
        for (const auto& rec : r.records) {
            EXPECT_FALSE(rec.accession.empty());
            FoundRecord found;
            std::string why;
            if (FindRegions(rec, map, 5, 1000, found, why))
                for (const auto& g : found.regions) ASSERT_LE(g.end, static_cast<long>(found.sequence.size()));
            else EXPECT_FALSE(why.empty());
        }
    }
}

}  // namespace
}  // namespace varigap::genbank
