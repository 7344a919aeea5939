// What the tables and the summary of a run were made with: the program's version, the template
// file (its name and a checksum of it and its variable region files) and every option that
// changes results. Shards of a split run merge only when they agree on all of it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace varigap::exports {

// A TSV table's second line, after the header row, carries it after this: the header row stays
// first for readers that take the first line for the column names.
inline constexpr const char* kMadeWithLine = "# made with: ";

// "KEY VALUE; KEY VALUE; ...", each value without ";" or line breaks.
std::string MadeWithText(const std::vector<std::pair<std::string, std::string>>& fields);
// "" when `a` and `b` agree, else the first thing they differ in, as "KEY is A in NAME_A but B
// in NAME_B" (a KEY that one of them lacks is "none" there).
std::string MadeWithDifference(const std::string& a, const std::string& nameA, const std::string& b,
                               const std::string& nameB);
// A checksum of the files' bytes in order (a missing file counts as one without bytes), as 16
// hexadecimal digits: 64-bit FNV-1a, enough to tell one template's files from another's.
std::string FilesChecksum(const std::vector<std::string>& paths);

}  // namespace varigap::exports
