// A small template file, its variable region files and sequences built from them, in a
// temporary directory, for the command line tests.
#pragma once

#include <string>

#include "cli_run.h"
#include "support/temp_dir.h"

namespace varigap::test {

// Template 1 "Grass": CR 1, VR 1 "intron.txt", CR 2, VR 2 "spacer.txt", CR 3 (40 bases each).
// Template 2 "Sedge": other conserved regions, VR files "sedge_intron.txt", "sedge_spacer.txt".
// intron.txt lists kIntron1 (taxa "Poa annua"), kIntron2 ("Festuca rubra") and the empty
// variant ("Deleted grass"); spacer.txt lists kSpacer1 ("Poa annua") and kSpacer2
// ("Festuca rubra; Poa trivialis").
class CliFiles {
public:
    CliFiles();

    const std::string& Dir() const { return dir_.Path(); }
    std::string Path(const std::string& name) const { return dir_.Path(name); }
    std::string Write(const std::string& name, const std::string& content) const { return dir_.Write(name, content); }
    std::string Read(const std::string& name) const { return dir_.Read(name); }
    bool Exists(const std::string& name) const { return dir_.Exists(name); }

    // A grass sequence: CR 1, intron, CR 2, spacer, CR 3 (each part given).
    std::string Grass(const std::string& intron, const std::string& spacer) const;
    CliResult Run(const std::vector<std::string>& args) const { return RunCli(args, Dir()); }

    std::string cr1, cr2, cr3, intron1, intron2, spacer1, spacer2;

private:
    TempDir dir_;
};

}  // namespace varigap::test
