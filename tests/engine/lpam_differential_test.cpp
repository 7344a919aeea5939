// The indexed aligner against the step-by-step one on thousands of random regions and windows:
// same numMatches, same positions, same messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>

#include "core/limits.h"
#include "engine/detail/lpam.h"
#include "engine/lpam_literal.h"
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
            SetLPAMParameters(t.st, mlv, wl, stdPct, minPct, minCR);
            Integer numMatches, startPos, endPos;
            lpamAlign(t.st, cr, seq, from, to, numMatches, startPos, endPos);
            return std::tuple{int(numMatches), int(startPos), int(endPos), t.msgs.Texts()};
        };
        const auto ref = align(literalState, literal::LPAMAlign);
        ASSERT_EQ(align(fastState, LPAMAlign), ref) << "case " << n;  // matches, positions, messages
        ++kinds[std::get<0>(ref)];
        fullTables += !std::get<3>(ref).empty() && std::get<3>(ref)[0].find("logic error") != std::string::npos;
    }
    std::printf("outcomes 0/1/2: %d/%d/%d, full tables %d\n", kinds[0], kinds[1], kinds[2], fullTables);
    // The cases reach every outcome, including full vote tables.
    EXPECT_GT(kinds[0], numCases / 20);
    EXPECT_GT(kinds[1], numCases / 5);
    EXPECT_GT(kinds[2], numCases / 20);
    EXPECT_GT(fullTables, 20);
    EXPECT_GE(tooLong, 1);
}

}  // namespace
}  // namespace varigap
