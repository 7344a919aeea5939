// varigap-cli analyze on read pairs, as a process: mates merged by their overlap (staggered or
// not), disagreeing bases, mates that do not overlap, files out of step, interleaved input, and
// the cache of identical pairs.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"
#include "core/complement.h"

namespace varigap::test {
namespace {

std::string Fastq(const std::string& name, const std::string& bases, std::string quals = "") {
    if (quals.empty()) quals.assign(bases.size(), 'I');
    return "@" + name + "\n" + bases + "\n+\n" + quals + "\n";
}

// A pair of mates of `insert` read `length` bases from each end, past it into adapter.
struct Mates {
    std::string one, two, q1, q2;
};
Mates Read(const std::string& insert, size_t length) {
    const std::string adapter = RandomBases(length, 77), rc = ReverseComplement(insert);
    Mates m{(insert + adapter).substr(0, length), (rc + ReverseComplement(adapter)).substr(0, length), "", ""};
    m.q1.assign(length, 'I');
    m.q2.assign(length, 'I');
    return m;
}

// The last field of each TSV row of `name`, joined by ",".
std::string MatesColumn(const std::string& tsv, const std::string& name) {
    std::string column;
    for (const auto& row : Lines(tsv))
        if (row.rfind(name + "\t", 0) == 0) column += (column.empty() ? "" : ",") + row.substr(row.rfind('\t') + 1);
    return column;
}

TEST(CliPairs, MatesAreMergedByTheirOverlapAndFilesOutOfStepStopTheRun) {
    CliFiles dir;
    const std::string insert = dir.Grass(dir.intron1, dir.spacer1);  // 175 bases: CRs at 1, 71, 136
    const Mates staggered = Read(insert, 205), ends = Read(insert, 120), apart = Read(insert, 60);
    // Disagreeing bases in the overlap (mate 2 covers 56..175): at 80 mate 1 is wrong with Q10,
    // at 100 mate 2 is (at its base 76 as read).
    Mates differ = ends;
    differ.one[79] = differ.one[79] == 'A' ? 'C' : 'A';
    differ.q1[79] = '+';
    differ.two[75] = differ.two[75] == 'A' ? 'C' : 'A';
    differ.q2[75] = '+';
    auto files = [&](const std::string& stem, const std::vector<std::pair<std::string, Mates>>& pairs, int drop = 0,
                     const std::string& rename = "") {
        std::string r1, r2, interleaved;
        for (size_t i = 0; i < pairs.size(); ++i) {
            const auto& [name, m] = pairs[i];
            r1 += Fastq(name + "/1 x", m.one, m.q1);
            const std::string two = Fastq((i == 1 && !rename.empty() ? rename : name) + "/2 y", m.two, m.q2);
            if (i + drop < pairs.size()) r2 += two;
            interleaved += Fastq(name + "/1", m.one, m.q1) + (i + drop < pairs.size() ? two : "");
        }
        dir.Write(stem + "_R1.fq", r1);
        dir.Write(stem + "_R2.fq", r2);
        dir.Write(stem + ".fq", interleaved);
    };
    files("S", {{"stag", staggered}, {"ends", ends}, {"apart", apart}, {"differ", differ}});
    files("Bad", {{"p1", ends}, {"p2", ends}}, 0, "q2");
    files("Odd", {{"p1", ends}, {"p2", ends}}, 1);
    files("Long", {{"long", Read(RandomBases(34000, 5), 17000)}});
    // The same merged bases with other mates' lengths (other mates columns), and mates apart, many
    // times over.
    std::vector<std::pair<std::string, Mates>> many;
    for (int i = 0; i < 300; ++i)
        many.emplace_back("m" + std::to_string(i), i % 4 == 0   ? ends
                                                   : i % 4 == 1 ? Read(insert, 130)
                                                   : i % 4 == 2 ? staggered
                                                                : apart);
    files("Many", many);

    const std::string vr1 = "\tGrass\t2\tVR\t1\t41\t70\t:\tintron.txt\t" + dir.intron1 + "\tPoa annua\t" + dir.intron1;
    std::string cr2quals(40, 'J');     // positions 71..110, both mates' Q40: Q41
    cr2quals[9] = cr2quals[29] = '?';  // Q40 against Q10, disagreeing: Q30
    const struct {
        const char* what;
        std::string args;
        int status;
        std::vector<std::pair<std::string, std::string>> expect;  // (file; "": stdout, "err": stderr), text
        std::string sameAs;                                       // other arguments giving the same stdout
    } cases[] = {
        {"staggered mates: cut where the other mate begins",
         "S_R1.fq S_R2.fq --pairs --format tsv",
         0,
         {{"", "stag" + vr1 + "\tS\t+\t12\n"}, {"", "ends" + vr1 + "\tS\t+\t12\n"}},
         ""},
        {"mates of each end: regions from mate 1, both, mate 2",
         "S_R1.fq S_R2.fq --pairs --format tsv",
         0,
         {{"mates of ends", "1,12,12,12,2"}},
         ""},
        {"disagreeing bases: the better quality's, posterior qualities",
         "S_R1.fq S_R2.fq --pairs --extract x",
         0,
         {{"x", "@differ sample=S strand=+ flag=: start=71 end=110\n" + dir.cr2 + "\n+\n" + cr2quals + "\n"}},
         ""},
        {"mates that do not overlap: placed apart, the unread gap not covered, no annotated file",
         "S_R1.fq S_R2.fq --pairs --format tsv --summary s.json -o od",
         0,
         {{"mates of apart", "1,,,,2"},
          {"err",
           "No output file for \"apart\": its mates do not overlap.\n  in pair 3 \"apart\" of sequence files "
           "\"S_R1.fq\" and \"S_R2.fq\"\n"},
          {"", "apart\tGrass\t2\tVR\t1\t\t\t-\tintron.txt\t\t\t\tS\t+\t\n"},
          {"s.json",
           "\"pairs_merged\": 3,\n      \"pairs_placed_apart\": 1,\n      \"pairs_not_analysed\": 0,\n"
           "      \"pairs_not_merged:no_overlap\": 1"}},
         ""},
        {"mismatched names",
         "Bad_R1.fq Bad_R2.fq --pairs",
         2,
         {{"err",
           "Sequence file \"Bad_R2.fq\", record 2: the name \"q2\" is not that of its mate, \"p2\" (record 2 of "
           "\"Bad_R1.fq\"): the mates are out of step; reading stopped there.\n"},
          {"", ">p1\tGrass\n"}},
         ""},
        {"an odd number of records in two files",
         "Odd_R1.fq Odd_R2.fq --pairs",
         2,
         {{"err", "Sequence file \"Odd_R2.fq\" ends before the mate of record 2 \"p2/1 x\" of \"Odd_R1.fq\""}},
         ""},
        {"an odd number of records in one file",
         "Odd.fq --interleaved",
         2,
         {{"err", "Sequence file \"Odd.fq\", record 3 \"p2/1\" has no mate: the file holds an odd number of records"}},
         ""},
        {"mates that make a read too long",
         "Long_R1.fq Long_R2.fq --pairs",
         1,
         {{"err",
           "Sequence files \"Long_R1.fq\" and \"Long_R2.fq\", pair 1 \"long\": its mates make 34000 bases, "
           "more than the 32000 a read may have; pair passed over.\n"}},
         ""},
        {"interleaved input: the same pairs",
         "S.fq --interleaved --format tsv",
         0,
         {{"", "stag" + vr1 + "\tS\t+\t12\n"}, {"mates of ends", "1,12,12,12,2"}},
         ""},
        {"two jobs and the cache of identical pairs",
         "Many_R1.fq Many_R2.fq --pairs --format json -j 2",
         0,
         {},
         "Many_R1.fq Many_R2.fq --pairs --format json --no-derep -j 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto args = Words("analyze t.tpl " + c.args);
        std::filesystem::remove_all(dir.Path("x"));
        const CliResult r = dir.Run(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const auto& [where, text] : c.expect) {
            const std::string got = where == ""                        ? r.out
                                    : where == "err"                   ? r.err
                                    : where == "x"                     ? DirectoryText(dir.Path("x"))
                                    : where.rfind("mates of ", 0) == 0 ? MatesColumn(r.out, where.substr(9))
                                                                       : dir.Read(where);
            EXPECT_NE(got.find(text), std::string::npos) << text << "\nnot in\n" << got;
        }
        if (!c.sameAs.empty()) {
            const CliResult other = dir.Run(Words("analyze t.tpl " + c.sameAs));
            EXPECT_EQ(r.out, other.out);
            EXPECT_EQ(Lines(r.out).size(), 300u);
        }
    }
}

}  // namespace
}  // namespace varigap::test
