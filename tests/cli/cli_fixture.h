// Running varigap-cli as a process in a temporary directory holding a small template file, its
// variable region files and sequences built from them.
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace varigap::test {

struct CliResult {
    int status = -1;  // exit status; -1 when the program did not exit normally
    int signal = 0;   // the signal that ended it, if one did
    std::string out, err;
};

// Where standard output goes: a file (read into CliResult::out), a full device, nowhere (closed),
// or a pipe whose reader has gone, with SIGPIPE ignored as some parents leave it.
enum class Stdout { File, Full, Closed, BrokenPipe };

// Runs varigap-cli with `args` in the directory `cwd`.
CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd, Stdout out = Stdout::File);
// Deterministic bases without repeated words: the same seed gives the same bases.
std::string RandomBases(size_t length, unsigned seed);
// A FASTA record with 60 bases to a line and CR LF line ends.
std::string FastaRecord(const std::string& name, const std::string& bases);
// Lines of a text split at "\n" (a final empty piece dropped).
std::vector<std::string> Lines(const std::string& text);
// Files of a directory, sorted by name.
std::vector<std::string> FileNames(const std::string& directory);

// t.tpl holds template 1 "Grass": CR 1, VR 1 "intron.txt", CR 2, VR 2 "spacer.txt", CR 3 (40
// bases each) and template 2 "Sedge" with other regions. intron.txt lists intron1 (taxa "Poa
// annua"), intron2 ("Festuca rubra") and the empty variant ("Deleted grass"); spacer.txt lists
// spacer1 ("Poa annua") and spacer2 ("Festuca rubra; Poa trivialis").
struct CliFiles : TempDir {
    CliFiles();
    // A grass sequence: CR 1, intron, CR 2, spacer, CR 3.
    std::string Grass(const std::string& intron, const std::string& spacer) const {
        return cr1 + intron + cr2 + spacer + cr3;
    }
    CliResult Run(const std::vector<std::string>& args, Stdout out = Stdout::File) const {
        return RunCli(args, Path(), out);
    }
    // analyze t.tpl s.fasta, then `more`.
    CliResult Analyze(const std::vector<std::string>& more = {}) const;

    std::string cr1, cr2, cr3, intron1, intron2, spacer1, spacer2;
};

}  // namespace varigap::test
