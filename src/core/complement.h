// Reverse complement of sequences, with the IUPAC codes paired (U has no complement).
#pragma once

#include <string>

namespace varigap {

struct Reporter;

// Checks the complement pairs at start-up (logic error report on a broken pair).
void InitializeComplement(Reporter st);
// The characters of s in reverse order, each replaced by its complement when it has one.
std::string ReverseComplement(const std::string& s);
// Complement code of a character, or -1 when it has none.
int ComplementOf(unsigned char c);

}  // namespace varigap
