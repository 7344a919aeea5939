// The bases of a conserved region from the records: column-wise majority with IUPAC codes.
#pragma once

#include <string>
#include <vector>

namespace varigap::builder {

struct Consensus {
    std::string bases;  // lower case; "" when there were no records
    int used = 0;       // records of the chosen length
    int records = 0;    // records given
    int shortest = 0, longest = 0;
    int ambiguous = 0;  // columns written with an ambiguity code
};

// The IUPAC letter (upper case) for a set of bases: A=1, C=2, G=4, T=8; 'N' for all or none.
char IupacLetter(unsigned mask);

// Column-wise consensus of `records` (their bases as written): of all of them when they have
// one length, else of those with the most common length (the length seen first on a tie).
// A column gets the code of every base that makes up at least `ambiguityMin` of it, and
// always of its most frequent base(s); an ambiguity letter in a record counts as an equal
// share of each base it stands for, N not at all. A column of nothing but N stays N.
Consensus MakeConsensus(const std::vector<std::string>& records, double ambiguityMin);

}  // namespace varigap::builder
