// The command line of varigap-cli: commands, options and the help text.
#pragma once

#include <string>
#include <vector>

#include "cli/builder_options.h"
#include "cli/concat_command.h"
#include "cli/merge_options.h"

namespace varigap::cli {

enum class Format { Text, Tsv, Json, Gff3, Bed };

// One --reparse LINE:SEL: possibility SEL for display line LINE.
struct ReparseRequest {
    int line = 0;
    int sel = 0;
};

// Which strand of each read is analysed.
enum class Orient { Forward, Reverse, Auto };

struct AnalyzeOptions {
    std::string templateFile;
    std::vector<std::string> sequenceFiles;  // "-": standard input
    std::vector<std::string> samples;        // one per sequence file; "" = named after the file
    std::vector<std::string> sequences;      // -s: only these, in this order
    Orient orient = Orient::Forward;
    bool derep = true;                    // identical reads analysed once
    bool primersTrimmed = false;          // the template's first and last CR lie just outside each read
    std::string templateChoice;           // -t: number or name; "" = the best
    std::string paramsFile, optionsFile;  // "" = the files beside the program
    bool answerYes = true;
    std::vector<ReparseRequest> reparse;
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
    bool madeWith = false;    // --format tsv: a first line saying what the run was made with
    std::string commandLine;  // as given, for the summary
};

struct VariantsOptions {
    std::string vrFile;
    int length = 0;
    int mode = 0;  // CompMode; 0 = not given
};

enum class Command { Help, Version, Analyze, Variants, Build, Regions, Check, Merge, Concat };

struct CommandLine {
    Command command = Command::Help;
    AnalyzeOptions analyze;
    VariantsOptions variants;
    BuildCommandOptions build;
    RegionsOptions regions;
    CheckOptions check;
    MergeOptions merge;
    ConcatOptions concat;
};

// Reads the arguments; false with a one-line reason on a usage error.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& cl, std::string& error);
std::string HelpText();

}  // namespace varigap::cli
