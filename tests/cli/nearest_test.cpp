// varigap-cli analyze --identify nearest, as a process: which variants a variable region is
// given when none equals its bases, and that runs in parallel and with the cache agree.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_fixture.h"
#include "core/complement.h"

namespace varigap::test {
namespace {

// The intron's TSV row of each record: flag, taxa, diffs (by name).
std::map<std::string, std::vector<std::string>> IntronRows(const std::string& tsv) {
    std::map<std::string, std::vector<std::string>> rows;
    for (const std::string& row : Lines(tsv)) {
        std::vector<std::string> f;
        std::stringstream in(row);
        for (std::string field; std::getline(in, field, '\t');) f.push_back(field);
        if (!row.empty() && row.back() == '\t') f.emplace_back();
        if (f.size() == 16 && f[3] == "VR" && f[4] == "1") rows[f[0]] = {f[7], f[10], f[14]};
    }
    return rows;
}

std::string WithBase(std::string s, size_t at, char base) {
    s.replace(at, 1, 1, base);
    return s;
}

struct NearestFiles : CliFiles {
    NearestFiles() {
        // Poa annua and Poa trivialis differ at two places; the Carex loop holds an IUPAC code.
        Write("intron.txt",
              annua + ">Poa annua<\r\n" + trivialis + ">Poa trivialis<\r\n" + iupac + ">Carex flava<\r\n");
    }
    std::string annua = RandomBases(40, 51);
    std::string trivialis =
        WithBase(WithBase(annua, 10, annua[10] == 'A' ? 'C' : 'A'), 30, annua[30] == 'A' ? 'C' : 'A');
    std::string carex = RandomBases(40, 53);
    std::string iupac = WithBase(carex, 20, 'N');
};

TEST(CliNearest, AVariableRegionNoVariantEqualsGetsItsNearestVariants) {
    NearestFiles f;
    const std::string mutated = WithBase(f.annua, 20, f.annua[20] == 'G' ? 'T' : 'G');
    const std::string between = WithBase(f.annua, 10, f.trivialis[10]);  // 1 from each
    std::string far = f.annua;
    for (size_t at : {2, 8, 14, 20, 26}) far[at] = far[at] == 'A' ? 'C' : 'A';
    const struct {
        std::string name, read, options, flag, taxa, diffs;
    } cases[] = {
        {"exact", f.Grass(f.annua, f.spacer1), "", ":", "Poa annua", "0"},
        {"one_substitution", f.Grass(mutated, f.spacer1), "", "~", "Poa annua", "1"},
        {"tie", f.Grass(between, f.spacer1), "", "~", "Poa annua; Poa trivialis", "1"},
        {"iupac", f.Grass(f.carex, f.spacer1), "", "~", "Carex flava", "0"},
        // The slack takes two of the three bases as a boundary placed off.
        {"listed_plus_bases", f.Grass(f.annua + "GGA", f.spacer1), "", "~", "Poa annua", "1"},
        {"beyond_the_bound", f.Grass(far, f.spacer1), "", "?", "", ""},
        {"bound_raised", f.Grass(far, f.spacer1), "--max-diffs 5 --min-identity 0.8", "~", "Poa annua", "5"},
        {"identity_bound", f.Grass(mutated, f.spacer1), "--min-identity 0.99", "?", "", ""},
        // A base lost or gained beside the intron moves a conserved region's boundary.
        {"cr1_last_base_lost", f.cr1.substr(0, 39) + f.annua + f.cr2 + f.spacer1 + f.cr3, "", "~", "Poa annua", "0"},
        {"cr2_first_base_lost", f.cr1 + f.annua + f.cr2.substr(1) + f.spacer1 + f.cr3, "", "~", "Poa annua", "0"},
        {"base_gained_after_cr1", f.cr1 + "T" + f.annua + f.cr2 + f.spacer1 + f.cr3, "", "~", "Poa annua", "0"},
        {"reverse", ReverseComplement(f.Grass(mutated, f.spacer1)), "--orient auto", "~", "Poa annua", "1"},
        {"primers_trimmed", mutated + f.cr2 + f.spacer1, "--primers-trimmed", "~", "Poa annua", "1"},
    };
    for (const auto& c : cases) {
        f.Write("r.fasta", FastaRecord(c.name, c.read));
        const CliResult r = f.Run(Words("analyze t.tpl r.fasta --format tsv --identify nearest -t 1 " + c.options));
        ASSERT_EQ(r.status, 0) << c.name << r.err;
        const auto rows = IntronRows(r.out);
        ASSERT_EQ(rows.count(c.name), 1u) << c.name << r.out;
        EXPECT_EQ(rows.at(c.name), (std::vector<std::string>{c.flag, c.taxa, c.diffs})) << c.name << "\n" << r.out;
    }
}

TEST(CliNearest, ListedVariantPlusBasesStaysAsBeforeInExactMode) {
    NearestFiles f;
    f.Write("r.fasta", FastaRecord("plus", f.Grass(f.annua + "GGA", f.spacer1)));
    const CliResult exact = f.Run(Words("analyze t.tpl r.fasta -t 1"));
    EXPECT_NE(exact.out.find("2:{V}:" + f.annua + "\n3?"), std::string::npos) << exact.out;
    const CliResult nearest = f.Run(Words("analyze t.tpl r.fasta -t 1 --identify nearest"));
    EXPECT_NE(nearest.out.find("2~{V}~" + f.annua + "GGA\n3:[C]:"), std::string::npos) << nearest.out;
}

TEST(CliNearest, ParallelJobsAndTheCacheGiveTheRunsOutputsOfOneJob) {
    NearestFiles f;
    std::string reads;
    for (int i = 0; i < 300; ++i) {
        std::string intron = f.annua;
        intron[static_cast<size_t>(i % 37)] = "ACGT"[i % 4];
        reads += FastaRecord("r" + std::to_string(i), f.Grass(i % 3 ? intron : f.trivialis, f.spacer1));
    }
    f.Write("r.fasta", reads);
    const std::string outputs = " --identify nearest --format tsv --counts c.tsv --summary s.json --force";
    const CliResult one = f.Run(Words("analyze t.tpl r.fasta -j 1 --no-derep" + outputs));
    const std::string counts = f.Read("c.tsv"), summary = f.Read("s.json");
    const CliResult two = f.Run(Words("analyze t.tpl r.fasta -j 2" + outputs));
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(two.out, one.out);
    EXPECT_EQ(f.Read("c.tsv"), counts);
    EXPECT_NE(counts.find("\t~"), std::string::npos) << counts;
    EXPECT_NE(summary.find("\"vr:Grass:1:nearest\": "), std::string::npos) << summary;
}

TEST(CliNearest, BoundsNeedNearestMode) {
    NearestFiles f;
    const CliResult r = f.Run(Words("analyze t.tpl r.fasta --max-diffs 2"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--max-diffs and --min-identity need --identify nearest"), std::string::npos) << r.err;
}

TEST(CliNearest, RankingByVariantsPrefersTheTemplateThatNamesTheVariableRegions) {
    NearestFiles f;
    // Two templates of the same conserved regions; only the second lists the Poa introns.
    auto tpl = [&](const std::string& name, const std::string& intronFile) {
        return ">" + name + "\n[5' exon]\n" + f.cr1 + "\n\"" + intronFile + "\"\n[3' exon]\n" + f.cr2 +
               "\n\"spacer.txt\"\n[trnF]\n" + f.cr3 + "\n";
    };
    f.Write("same.tpl", tpl("Sedges", "sedge_intron.txt") + tpl("Grasses", "intron.txt"));
    const std::string mutated = WithBase(f.annua, 20, f.annua[20] == 'G' ? 'T' : 'G');
    f.Write("r.fasta", FastaRecord("exact", f.Grass(f.annua, f.spacer1)) +
                           FastaRecord("near", f.Grass(mutated, f.spacer1)) +
                           FastaRecord("neither", f.Grass(RandomBases(40, 99), f.spacer1)));
    const struct {
        std::string options, expected;
    } cases[] = {
        {"", ">exact\tSedges\n>near\tSedges\n>neither\tSedges\n"},
        {"--rank-by variants", ">exact\tGrasses\n>near\tSedges\n#tie\t2\n>neither\tSedges\n#tie\t2\n"},
        {"--rank-by variants --identify nearest", ">exact\tGrasses\n>near\tGrasses\n>neither\tSedges\n#tie\t2\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = f.Run(Words("analyze same.tpl r.fasta " + c.options));
        ASSERT_EQ(r.status, 0) << c.options << r.err;
        std::string heads;
        for (const std::string& line : Lines(r.out))
            if (line[0] == '>' || line[0] == '#') heads += line + "\n";
        EXPECT_EQ(heads, c.expected) << c.options << "\n" << r.out;
    }
    // TSV: the tie after the strand (and after diffs and identity in nearest mode).
    const CliResult tsv = f.Run(Words("analyze same.tpl r.fasta --format tsv --rank-by variants --identify nearest"));
    const auto rows = Lines(tsv.out);
    ASSERT_EQ(rows.size(), 16u) << tsv.out;
    EXPECT_EQ(rows[0].substr(rows[0].size() - 25), "strand\tdiffs\tidentity\ttie") << tsv.out;
    EXPECT_EQ(rows[4].substr(rows[4].find("\tr\t+")), "\tr\t+\t0\t1.000000\t1");
    EXPECT_EQ(rows[15].substr(rows[15].find("\tr\t+")), "\tr\t+\t\t\t2");
}

TEST(CliNearest, EvaluateIdentifiesEachVariantByTheOthers) {
    NearestFiles f;
    // Poa trivialis: two differences from Poa annua (same genus); Carex flava: far from both.
    const CliResult r = f.Run(Words("evaluate t.tpl --format tsv"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_GE(rows.size(), 3u) << r.out;
    EXPECT_EQ(rows[1], "Grass\t1\tintron.txt\t3\t0\t0\t2\t0\t1\t");
    EXPECT_EQ(rows[2], "Grass\t2\tspacer.txt\t2\t1\t0\t0\t0\t2\tFestuca rubra; Poa trivialis");
}

}  // namespace
}  // namespace varigap::test
