// The indexed aligner against the step-by-step one on thousands of random regions and windows:
// same numMatches, same positions, same messages; and the ranking of whole template tables of
// many templates, random and per-order trnL-F templates on real records, against the ranking
// step by step: same list, same CR positions of every template, same messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/complement.h"
#include "core/limits.h"
#include "engine/analysis.h"
#include "engine/detail/lpam.h"
#include "engine/detail/ranking.h"
#include "engine/lpam_literal.h"
#include "engine/trnlf_data.h"
#include "input/template_reader.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

class CaseMaker {
public:
    explicit CaseMaker(unsigned seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    // Bases from `alphabet`, now and then an ambiguity code or a lower-case letter.
    std::string Bases(int n, const std::string& alphabet, double iupac, double lower) {
        static const std::string codes = "NRYKMSWBDHVUnrykmswbdhvu";
        std::string s;
        for (int i = 0; i < n; ++i) {
            char c = iupac > 0 && Chance(iupac) ? codes[static_cast<size_t>(Int(0, int(codes.size()) - 1))]
                                                : alphabet[static_cast<size_t>(Int(0, int(alphabet.size()) - 1))];
            if (lower > 0 && Chance(lower) && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            s += c;
        }
        return s;
    }

    // A copy of the region with substitutions, small insertions and deletions.
    std::string Mutate(const std::string& cr, double sub, double indel, const std::string& alphabet) {
        std::string s;
        for (char c : cr) {
            if (indel > 0 && Chance(indel)) continue;  // deletion
            s += sub > 0 && Chance(sub) ? Bases(1, alphabet, 0, 0)[0] : c;
            if (indel > 0 && Chance(indel)) s += Bases(Int(1, 3), alphabet, 0, 0);
        }
        return s;
    }

    std::mt19937 rng_;
};

TEST(LpamDifferential, IndexedAlignerAgreesWithTheStepByStepOneOnRandomCases) {
    CaseMaker m(20240611);
    test::TestState fastState, literalState;
    int kinds[3] = {0, 0, 0};
    int fullTables = 0, tooLong = 0;
    const int numCases = 3000;
    for (int n = 0; n < numCases; ++n) {
        // Parameters, now and then outside the dialog's ranges.
        const int wl = m.Chance(0.02) ? m.Int(-1, 0) : m.Int(1, 12);
        const int mlv = m.Chance(0.05) ? m.Int(6, 12) : m.Int(0, 5);
        const int stdPct = m.Chance(0.3) ? 75 : m.Int(40, 100);
        const int minPct = m.Chance(0.3) ? 10 : m.Int(0, 60);
        const int minCR = m.Chance(0.9) ? 0 : m.Int(0, 40);

        // Alphabet: plain, two-letter (many hits, full vote tables), or four letters with codes.
        const int kind = m.Int(0, 9);
        const std::string alphabet = kind < 7 ? "ACGT" : (kind < 9 ? "AC" : "ACGTT");
        const double iupac = m.Chance(0.15) ? 0.03 : 0.0;
        const double lower = m.Chance(0.2) ? 0.3 : 0.0;

        const int crLen = m.Chance(0.1) ? m.Int(1, 12) : m.Int(8, m.Chance(0.05) ? 250 : 90);
        const std::string cr = m.Bases(crLen, alphabet, iupac, lower);

        // Background with planted copies: mutated, duplicated, cut off at either end.
        std::string seq = m.Bases(m.Int(0, 80), alphabet, iupac, lower);
        if (m.Chance(0.25)) {  // the region's end at the sequence start
            std::string copy = m.Mutate(cr, 0.1, 0.02, alphabet);
            seq = copy.substr(std::min(copy.size(), static_cast<size_t>(m.Int(0, crLen - 1)))) + seq;
        }
        const int copies = m.Chance(0.4) ? 1 : m.Int(0, 3);
        for (int c = 0; c < copies; ++c) {
            seq += m.Mutate(cr, m.Chance(0.5) ? 0.0 : 0.12, m.Chance(0.5) ? 0.0 : 0.03, alphabet);
            seq += m.Bases(m.Chance(0.3) ? m.Int(0, 6) : m.Int(0, 200), alphabet, iupac, lower);
        }
        if (m.Chance(0.25))  // the region's start at the sequence end
            seq += m.Mutate(cr, 0.1, 0.02, alphabet).substr(0, static_cast<size_t>(m.Int(1, crLen)));
        if (m.Chance(0.002)) {  // over the longest piece the aligner takes
            seq = m.Bases(maxSeqLen + m.Int(1, 50), "ACGT", 0, 0);
            ++tooLong;
        }
        if (seq.empty()) seq = "A";

        const int len = static_cast<int>(seq.size());
        int from = 1, to = len;
        if (m.Chance(0.5)) {  // a window inside the sequence
            from = m.Int(1, len);
            to = m.Int(from, len);
        }

        // One state per aligner for all cases, reusing its buffers as a run of the program does.
        auto align = [&](test::TestState& t, auto lpamAlign) {
            t.msgs.Clear();
            t.st.voteTableFull = false;
            SetLPAMParameters(t.session, mlv, wl, stdPct, minPct, minCR);
            Integer numMatches, startPos, endPos;
            lpamAlign(t.st, cr, seq, from, to, numMatches, startPos, endPos);
            return std::tuple{int(numMatches), int(startPos), int(endPos), t.msgs.Texts(), bool(t.st.voteTableFull)};
        };
        const auto ref = align(literalState, literal::LPAMAlign);
        ASSERT_EQ(align(fastState, LPAMAlign), ref) << "case " << n;  // matches, positions, messages
        ++kinds[std::get<0>(ref)];
        fullTables += std::get<4>(ref);
    }
    std::printf("outcomes 0/1/2: %d/%d/%d, full tables %d\n", kinds[0], kinds[1], kinds[2], fullTables);
    // The cases reach every outcome, including full vote tables.
    EXPECT_GT(kinds[0], numCases / 20);
    EXPECT_GT(kinds[1], numCases / 5);
    EXPECT_GT(kinds[2], numCases / 20);
    EXPECT_GT(fullTables, 20);
    EXPECT_GE(tooLong, 1);
}

// Two states that rank the same sequences against the same table: through the word index, and
// step by step with the literal aligner for every CR.
struct RankingPair {
    test::TestState fast, literal;
    RankingPair() {
        for (Session* session : {&fast.session, &literal.session}) StartUp(*session, SettingsFiles::BuiltIn());
    }
    template <class F>
    void Both(F&& change) {
        change(fast.session);
        change(literal.session);
    }
    // The ranking of seq as each state leaves it: the list, every template's CR positions, the
    // messages.
    std::pair<std::string, std::string> Rank(const std::string& seq) {
        return {Ranked(fast, RankTemplates, seq), Ranked(literal, literal::RankTemplates, seq)};
    }
    static std::string Ranked(test::TestState& t, Integer (*rank)(State&), const std::string& seq) {
        t.msgs.Clear();
        t.st.voteTableFull = false;
        t.st.actSeq = seq;
        std::ostringstream out;
        out << rank(t.st) << " |";
        for (int i = 1; i <= t.st.numRankedTemplates; ++i) {
            const TemplateRank& r = t.st.templateRanks[i];
            out << ' ' << r.templateNum << ':' << r.numMatched << '/' << r.numSpanned << '=' << r.fracMatched;
        }
        for (int tn = 1; tn <= t.session.numTemplates; ++tn) {
            out << " |";
            for (int c = 1; c <= t.session.numCRs[tn]; ++c)
                out << ' ' << t.st.crStartPos[tn][c] << ".." << t.st.crEndPos[tn][c];
        }
        for (const std::string& m : t.msgs.Texts()) out << " | " << m;
        if (t.st.voteTableFull) out << " | full vote table";
        return out.str();
    }
};

TEST(RankingDifferential, ManyTemplatesRankAsStepByStepOnRandomTables) {
    CaseMaker m(20250613);
    RankingPair pair;
    int rankings = 0, kinds[3] = {0, 0, 0}, withMessages = 0;
    for (int table = 0; table < 30; ++table) {
        const int wl = m.Chance(0.15) ? m.Int(9, 40) : m.Int(1, 8);  // up to 8 bases a table by code
        const int mlv = m.Int(0, 4), stdPct = m.Chance(0.5) ? 75 : m.Int(40, 95), minCR = m.Chance(0.9) ? 0 : 12;
        pair.Both([&](Session& session) { SetLPAMParameters(session, mlv, wl, stdPct, 10, minCR); });
        const std::string alphabet = m.Chance(0.8) ? "ACGT" : "AC";
        const double iupac = m.Chance(0.2) ? 0.03 : 0.0, lower = m.Chance(0.2) ? 0.3 : 0.0;
        // Families of CRs; each template takes a family's CRs as they are (shared), mutated or new.
        std::vector<std::vector<std::string>> families(static_cast<size_t>(m.Int(1, 3)));
        for (auto& f : families)
            for (int c = m.Int(1, 4); c > 0; --c)
                f.push_back(m.Bases(m.Int(1, 10) == 1 ? m.Int(1, 9) : m.Int(10, 70), alphabet, iupac, lower));
        const int numTemplates = m.Chance(0.2) ? MAXNUMTEMPLATES : m.Int(1, 20);
        std::vector<std::vector<std::string>> crs;
        for (int t = 0; t < numTemplates; ++t) {
            crs.emplace_back();
            for (const std::string& cr : families[static_cast<size_t>(m.Int(0, int(families.size()) - 1))])
                crs.back().push_back(m.Chance(0.5)   ? cr
                                     : m.Chance(0.7) ? m.Mutate(cr, 0.05, 0.01, alphabet)
                                                     : m.Bases(int(cr.size()), alphabet, iupac, lower));
        }
        pair.Both([&](Session& session) {
            session.numTemplates = numTemplates;
            for (int t = 1; t <= numTemplates; ++t) {
                session.numCRs[t] = int(crs[size_t(t - 1)].size());
                for (int c = 1; c <= session.numCRs[t]; ++c) session.crSeq[t][c] = crs[size_t(t - 1)][size_t(c - 1)];
            }
        });
        for (int read = 0; read < 3; ++read) {
            // A family's CRs in order, mutated and apart, the read cut anywhere.
            std::string seq = m.Bases(m.Int(0, 40), alphabet, iupac, lower);
            for (const std::string& cr : families[static_cast<size_t>(m.Int(0, int(families.size()) - 1))])
                seq += m.Mutate(cr, m.Chance(0.5) ? 0.0 : 0.1, m.Chance(0.5) ? 0.0 : 0.03, alphabet) +
                       m.Bases(m.Int(0, 50), alphabet, iupac, lower);
            seq = seq.substr(static_cast<size_t>(m.Int(0, 10)));
            if (seq.empty()) seq = "A";
            // Both strands, then the first again, as a read of unknown orientation is ranked.
            for (const std::string& s : {seq, ReverseComplement(seq), seq}) {
                const auto [got, want] = pair.Rank(s);
                ASSERT_EQ(got, want) << "table " << table << " read " << read;
                ++rankings;
                withMessages += got.find("full vote table") != std::string::npos;
                for (int t = 1; t <= numTemplates; ++t)
                    for (int c = 1; c <= pair.fast.session.numCRs[t]; ++c) {
                        const int start = pair.fast.st.crStartPos[t][c];
                        ++kinds[start == POSNOTFOUND ? 0 : start == POSAMBIGUOUS ? 2 : 1];
                    }
            }
            // The same read with other parameters, then with a template changed.
            pair.Both(
                [&](Session& session) { SetLPAMParameters(session, mlv + 1, wl % 12 + 1, stdPct - 10, 10, minCR); });
            const auto [got, want] = pair.Rank(seq);
            ASSERT_EQ(got, want) << "table " << table << " read " << read << ", other parameters";
            pair.Both([&](Session& session) {
                SetLPAMParameters(session, mlv, wl, stdPct, 10, minCR);
                session.crSeq[1][1] = families[0][0];
            });
            const auto [got2, want2] = pair.Rank(seq);
            ASSERT_EQ(got2, want2) << "table " << table << " read " << read << ", a template changed";
        }
    }
    std::printf("rankings %d, %d with messages; CRs not found/found/ambiguous: %d/%d/%d\n", rankings, withMessages,
                kinds[0], kinds[1], kinds[2]);
    for (int k : kinds) EXPECT_GT(k, rankings);  // every outcome, many times
    EXPECT_GT(withMessages, 0);
}

TEST(RankingDifferential, PerOrderTemplatesRankAsStepByStepOnRealRecords) {
    const auto records = test::LoadTrnLF(test::FindTrnLFDir(VARIGAP_SOURCE_DIR));
    if (records.empty()) GTEST_SKIP() << "trnL-F data not found";
    // One template per order, from its first record's exons and trnF, in a template file.
    std::string file, last;
    for (const auto& r : records) {
        if (r.order == last) continue;
        last = r.order;
        file += ">" + r.order + " trnLF\n[exon5]\n" + r.Cut(r.exon5Start, r.exon5End) + "\n\"intron.txt\"\n[exon3]\n" +
                r.Cut(r.exon3Start, r.exon3End) + "\n\"spacer.txt\"\n[trnF]\n" + r.Cut(r.trnFStart, r.trnFEnd) + "\n\n";
    }
    test::TempDir dir;
    dir.Write("orders.tpl", file);
    RankingPair pair;
    pair.Both([&](Session& session) {
        session.templateFilePath = dir.Path();
        session.templateFileName = "orders.tpl";
        ASSERT_TRUE(LoadTemplateFile(session));
    });
    ASSERT_GT(int(pair.fast.session.numTemplates), 50);
    pair.fast.session.templatesFixed = true;  // as a batch run ranks: the table is loaded once
    for (size_t i = 0; i < records.size(); i += 60)
        for (const std::string& s : {records[i].bases, ReverseComplement(records[i].bases)}) {
            const auto [got, want] = pair.Rank(s);
            EXPECT_EQ(got, want) << records[i].accession;
        }
}

}  // namespace
}  // namespace varigap
