// Running varigap-cli as a process in a temporary directory holding a small template file, its
// variable region files and sequences built from them.
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace varigap::test {

struct CliResult {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out, err;
    int signal = 0;  // the signal that ended it (RunCliWithStdout only)
};

// Runs varigap-cli with `args` in the directory `cwd`, standard input read from the file
// `input` (empty: /dev/null).
CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd, const std::string& input = "");
// Where standard output goes: a full device, nowhere (closed), or a pipe whose reader has gone,
// with SIGPIPE ignored as some parents leave it.
enum class Stdout { Full, Closed, BrokenPipe };
CliResult RunCliWithStdout(const std::vector<std::string>& args, const std::string& cwd, Stdout where);
// The words of `text`, split at blanks: a command line without quoting.
std::vector<std::string> Words(const std::string& text);
// Deterministic bases without repeated words: the same seed gives the same bases.
std::string RandomBases(size_t length, unsigned seed);
// A FASTA record with 60 bases to a line and CR LF line ends.
std::string FastaRecord(const std::string& name, const std::string& bases);
// Every file of a directory by name, each after a line "==== NAME ===="; "" for no directory.
std::string DirectoryText(const std::string& directory);

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
    // What the bundled example lacks: a deleted intron, an intron of no listed variant, bases
    // outside every region and an unresolved variable region, leading bases, a tab and quotes in a
    // name, names that give the same file name or none, a record without bases and one too long.
    std::string EdgeRecords() const;
    CliResult Run(const std::vector<std::string>& args) const { return RunCli(args, Path()); }

    std::string cr1 = RandomBases(40, 1), cr2 = RandomBases(40, 2), cr3 = RandomBases(40, 3);
    std::string intron1 = RandomBases(30, 21), intron2 = RandomBases(36, 22);
    std::string spacer1 = RandomBases(25, 31), spacer2 = RandomBases(28, 32);
};

// Lines of a text split at "\n" (a final empty piece dropped).
std::vector<std::string> Lines(const std::string& text);

}  // namespace varigap::test
