// The command line of varigap-cli: the command and its options.
#pragma once

#include <string>
#include <vector>

#include "cli/builder_options.h"
#include "cli/evaluate_options.h"
#include "cli/merge_options.h"
#include "cli/report_options.h"
#include "engine/read_analysis.h"
#include "export/listing.h"

namespace varigap::cli {

using exports::Format;
using varigap::Orient;
using varigap::ReparseRequest;  // one --reparse LINE:SEL: possibility SEL for display line LINE

struct AnalyzeOptions {
    std::string templateFile;
    std::vector<std::string> sequenceFiles;  // "-": standard input
    std::vector<std::string> samples;        // one per sequence file; "" = named after the file
    std::vector<std::string> sequences;      // -s: only these, in this order
    Orient orient = Orient::Forward;
    bool derep = true;                    // identical reads analysed once
    bool pairs = false;                   // files two by two: mates 1, then mates 2 of a sample
    bool interleaved = false;             // each file holds mates 1 and 2 in turn
    bool primersTrimmed = false;          // the template's first and last CR lie just outside each read
    std::string templateChoice;           // -t: number or name; "" = the best
    std::string paramsFile, optionsFile;  // "" = the files beside the program
    bool answerYes = true;
    std::vector<ReparseRequest> reparse;
    Identify identify = Identify::Exact;  // --identify
    NearestBounds nearest;                // --max-diffs, --min-identity
    bool rankByVariants = false;          // --rank-by variants
    bool ranking = false;
    Format format = Format::Text;
    std::string outputDir;  // "" = no output files
    bool taxa = false;
    bool force = false;
    int jobs = 0;  // 0 = the cores this process may use
    bool progress = true;
    // Outputs fed by the stream of analysed records ("" = not written).
    std::string extractDir;  // one file of sequences per region
    bool extractUncertain = false, extractEmpty = false;
    std::string countsFile, summaryFile, distinctFile;
    bool countsBiom = false;              // --counts-format biom: the counts table as BIOM 1.0
    std::string reportFile, multiqcFile;  // the HTML report, the MultiQC table
    bool madeWith = false;                // --format tsv: a line saying what the run was made with
    std::string commandLine;              // as given, for the summary
};

struct VariantsOptions {
    std::string vrFile;
    int length = 0;
    int mode = 0;  // CompMode; 0 = not given
};

enum class Command { Help, Version, Analyze, Variants, Build, Regions, Check, Merge, Report, Evaluate };

struct CommandLine {
    Command command = Command::Help;
    Command helpFor = Command::Help;  // Help: the command whose help is asked for (Help: all)
    AnalyzeOptions analyze;
    VariantsOptions variants;
    BuildCommandOptions build;
    RegionsOptions regions;
    CheckOptions check;
    MergeOptions merge;
    ReportOptions report;
    EvaluateOptions evaluate;
};

// Reads the arguments; false with a one-line reason on a usage error.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& cl, std::string& error);

}  // namespace varigap::cli
