// Running varigap-cli as a process in a temporary directory, for the command line tests.
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace varigap::test {

struct CliResult {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out, err;
};

// Runs varigap-cli with `args` in the directory `cwd`.
CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd);

// Deterministic bases without repeated words: the same seed gives the same bases.
std::string RandomBases(size_t length, unsigned seed);

// A FASTA record with 60 bases to a line and CR LF line ends.
std::string FastaRecord(const std::string& name, const std::string& bases);

// Lines of a text split at "\n" (a final empty piece dropped).
std::vector<std::string> Lines(const std::string& text);

// Files of a directory, sorted by name.
std::vector<std::string> FileNames(const std::string& directory);

}  // namespace varigap::test
