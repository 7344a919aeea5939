// varigap-cli regions run as a process: a template's regions found in crafted and in real
// annotated GenBank records, on either strand, with records that lack a region skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "cli_fixture.h"
#include "engine/trnlf_data.h"

namespace varigap::test {
namespace {

const std::string kMap = std::string(VARIGAP_SOURCE_DIR) + "/data/tools/maps/trnLF_map.tsv";

// A GenBank record of `bases` with the given feature lines.
std::string Record(const std::string& id, const std::string& features, const std::string& bases, long declared = 0) {
    std::string r = "LOCUS       " + id + "   " +
                    std::to_string(declared ? declared : static_cast<long>(bases.size())) + " bp    DNA\nVERSION     " +
                    id +
                    ".1\n  ORGANISM  Poa annua\n            Viridiplantae; "
                    "Poales; Poaceae; Poa.\nFEATURES             Location/Qualifiers\n" +
                    features + "ORIGIN\n";
    for (size_t row = 0; row < bases.size(); row += 60) {
        std::string n = std::to_string(row + 1);
        r += std::string(9 - n.size(), ' ') + n;
        for (size_t g = row; g < std::min(bases.size(), row + 60); g += 10) r += " " + bases.substr(g, 10);
        r += "\n";
    }
    return r + "//\n";
}

std::string Feature(const std::string& key, const std::string& location, const std::string& qualifier) {
    return "     " + key + std::string(16 - key.size(), ' ') + location + "\n                     " + qualifier + "\n";
}

TEST(CliRegions, RegionsAreFoundOnEitherStrandAndRecordsWithoutThemSkipped) {
    TempDir dir;
    const std::string s = RandomBases(300, 11);
    const std::string plus = Feature("gene", "1..20", "/gene=\"trnL-UAA\"") +
                             Feature("tRNA", "join(101..110,151..160)", "/gene=\"trnL-UAA\"") +
                             Feature("tRNA", "complement(250..270)", "/gene=\"trnF-GAA\"") +  // the other strand
                             Feature("tRNA", "201..220", "/gene=\"trnF-GAA\"");
    const std::string minus = Feature("tRNA", "complement(81..100)", "/product=\"tRNA-Phe\"") +
                              Feature("tRNA", "complement(join(141..150,191..200))", "/product=\"tRNA-Leu\"");
    dir.Write("g.gb", Record("PLUS", plus, s) + Record("MINUS", minus, s) +
                          Record("NOF", Feature("tRNA", "join(101..110,151..160)", "/gene=\"trnL-UAA\""), s) +
                          Record("SHORT", plus, s, 400));
    CliResult r = RunCli({"regions", "g.gb", "--map", kMap, "--fasta", "r.fasta"}, dir.Path());
    EXPECT_EQ(r.status, 1);
    std::string rows = "sequence\tregion\tkind\tstart\tend\taccession\torganism\torder\tfamily\n";
    for (const char* id : {"PLUS", "MINUS"}) {
        const std::string name = std::string("Poa annua ") + id + ".1",
                          tail = "\t" + std::string(id) + ".1\tPoa annua\tPoales\tPoaceae\n";
        rows += name + "\ttrnL_5exon\tCR\t41\t50" + tail + name + "\ttrnL_intron\tVR\t51\t90" + tail + name +
                "\ttrnL_3exon\tCR\t91\t100" + tail + name + "\ttrnL-trnF_spacer\tVR\t101\t140" + tail + name +
                "\ttrnF\tCR\t141\t160" + tail;
    }
    EXPECT_EQ(r.out, rows);
    EXPECT_EQ(r.err,
              "g.gb:37: record 3 (NOF.1): no region trnF after region trnL_3exon on the same strand; skipped\n"
              "g.gb:51: record 4 (SHORT.1): the sequence has 300 bases, the record says 400\n"
              "varigap-cli regions: 2 records with every region, 2 reported\n");
    auto reverseComplement = [](std::string t) {
        std::string out;
        for (auto it = t.rbegin(); it != t.rend(); ++it) out += "TGCA"[std::string("ACGT").find(*it)];
        return out;
    };
    EXPECT_EQ(dir.Read("r.fasta"), FastaRecord("Poa annua PLUS.1", s.substr(60, 200)) +
                                       FastaRecord("Poa annua MINUS.1", reverseComplement(s.substr(40, 200))));
}

TEST(CliRegions, FaultsInTheMapAreNamedByLine) {
    const std::string header = "region\tkind\tkey\tqualifiers\tpart\n", a = "a\tCR\ttRNA\t/gene=x\t1\n";
    struct Case {
        std::string map, err;
    } cases[] = {
        {"region\tkind\tkey\tqualifiers\n" + a, "m.tsv:1: the header has no column \"part\""},
        {header + "a\tXX\ttRNA\t-\t1\n", "m.tsv:2: kind must be CR or VR, not \"XX\""},
        {header + "a\tCR\ttRNA\t-\tfirst\n",
         "m.tsv:2: part must be all, gap or a part number (1 the first, -1 the last), not \"first\""},
        {header + "a\tCR\ttRNA\tgene=x\t1\n",
         "m.tsv:2: cannot read the test \"gene=x\" (write /name=value, /name~text, /name or parts=N)"},
        {header + "g\tVR\t-\t-\tgap\n" + a, "m.tsv:2: a gap region needs a region found by its feature before it"},
        {header + a + "b\tVR\t-\t-\tgap\n", "m.tsv: a gap region needs a region after it"},
        {header + a + "b\tCR\tCDS\t-\tall\n" + a, "m.tsv:4: the rows of region a must stand together"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.Write("m.tsv", c.map);
        CliResult r = RunCli({"regions", "g.gb", "--map", "m.tsv"}, dir.Path());
        EXPECT_EQ(r.status, 2) << c.err;
        EXPECT_EQ(r.err, c.err + "\n");
    }
}

TEST(CliRegions, TheRealGenomesGiveTheAnnotatedCoordinates) {
    const std::string trnLF = FindTrnLFDir(VARIGAP_SOURCE_DIR);
    const std::string genbank = trnLF.empty() ? "" : trnLF + "/../genbank";
    if (genbank.empty() || !std::filesystem::exists(genbank)) GTEST_SKIP() << "shared/data/genbank not found";
    std::vector<std::string> args{"regions", "--map", kMap};
    for (const auto& e : std::filesystem::directory_iterator(genbank))
        if (e.path().extension() == ".gz") args.push_back(e.path().string());
    CliResult r = RunCli(args, genbank);
    EXPECT_EQ(r.status, 0) << r.err;
    std::map<std::string, TrnLFRecord> annotated;
    for (auto& rec : LoadTrnLF(trnLF)) annotated[rec.accession] = rec;
    std::map<std::string, int> rows;
    for (const auto& line : Lines(r.out)) {
        std::vector<std::string> f;
        for (size_t a = 0, b; a <= line.size(); a = b + 1)
            f.push_back(line.substr(a, (b = std::min(line.find('\t', a), line.size())) - a));
        if (f[0] == "sequence") continue;
        const TrnLFRecord& a = annotated.at(f[5]);
        std::map<std::string, std::pair<int, int>> want = {{"trnL_5exon", {a.exon5Start, a.exon5End}},
                                                           {"trnL_intron", {a.exon5End + 1, a.exon3Start - 1}},
                                                           {"trnL_3exon", {a.exon3Start, a.exon3End}},
                                                           {"trnL-trnF_spacer", {a.exon3End + 1, a.trnFStart - 1}},
                                                           {"trnF", {a.trnFStart, a.trnFEnd}}};
        EXPECT_EQ(std::make_pair(std::stoi(f[3]), std::stoi(f[4])), want.at(f[1])) << line;
        ++rows[f[5]];
    }
    EXPECT_EQ(rows.size(), args.size() - 3);
    for (const auto& [acc, n] : rows) EXPECT_EQ(n, 5) << acc;
}

}  // namespace
}  // namespace varigap::test
