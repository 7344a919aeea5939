// Building templates and variable region files from records whose regions are known.
#pragma once

#include <string>
#include <vector>

#include "core/session.h"

namespace varigap::builder {

enum class GroupOrder { File, Narrowest, Name };

struct BuildOptions {
    std::string regionsFile;   // REGIONS.tsv
    std::string sequenceFile;  // FASTA or FASTQ, plain or gzip
    std::string outputDir;
    std::string name;         // template file DIR/NAME.tpl; also the template's name
    std::string groupColumn;  // one template per value of this column; "" for one template
    GroupOrder order = GroupOrder::File;
    double ambiguityMin = 0.25;  // share of a column from which a base joins its code
    bool asAnnotated = false;    // variable region bases exactly as the table gives them
    int maxShift = 10;           // a placed CR further from its annotation than this is not used
    std::string commandLine;     // for the files' comment lines
};

struct BuildResult {
    std::vector<std::string> problems;  // faults in the input ("FILE:LINE: message"); nothing written
    std::vector<std::string> written;   // paths of the files written, template file first
    std::string summary;                // what was made, in one line
};

// Reads the table and the records, makes the consensus of every conserved region and the
// variants of every variable region per template, and writes DIR/NAME.tpl and one variable
// region file per variable region (<region>.txt, or <group>_<region>.txt with groups).
// Variable region bases are cut between the conserved regions as the program places them
// in the record (the parameters and working values of `settings`) when it places every CR
// of the run's border once and within maxShift bases of the table's coordinates, else as
// the table gives them. The files are written completely or not at all. Throws InputError
// for an input file that cannot be read, OutputError for a file that cannot be written.
BuildResult BuildTemplates(const Session& settings, const BuildOptions& options);

}  // namespace varigap::builder
