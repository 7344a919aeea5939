// The command line of varigap-cli: which command, and the options of analyze and variants.
#include "cli/options.h"

#include <algorithm>
#include <cstdlib>

#include "cli/option_parser.h"
#include "output/variant_listing.h"

namespace varigap::cli {

namespace {

bool ParseAnalyze(const std::vector<std::string>& args, AnalyzeOptions& o, std::string& error) {
    std::vector<std::string> positional;
    std::vector<std::pair<size_t, std::string>> samples;  // (positional index it names, name)
    bool orientGiven = false, boundGiven = false;
    auto setOrient = [&](Orient orient, const std::string& how, std::string& e) {
        if (orientGiven && o.orient != orient) return Fail(e, how + " contradicts an earlier strand choice");
        orientGiven = true;
        o.orient = orient;
        return true;
    };
    auto set = [](bool& target, bool to) {
        return [&target, to](const std::string&, const std::string&, std::string&) {
            target = to;
            return true;
        };
    };
    auto file = [](std::string& target) {
        return [&target](const std::string&, const std::string& v, std::string&) {
            target = v;
            return true;
        };
    };
    std::vector<OptionSpec> table = {
        {"--sequence", 's', Takes::Value, "a sequence name",
         [&](const std::string&, const std::string& v, std::string&) {
             o.sequences.push_back(v);
             return true;
         }},
        {"--complement", 'c', Takes::Nothing, "",
         [&](const std::string& given, const std::string&, std::string& e) {
             return setOrient(Orient::Reverse, given, e);
         }},
        {"--orient", 0, Takes::Value, "forward, reverse or auto",
         [&](const std::string&, const std::string& v, std::string& e) {
             Orient orient = Orient::Forward;
             if (v == "forward") orient = Orient::Forward;
             else if (v == "reverse") orient = Orient::Reverse;
             else if (v == "auto") orient = Orient::Auto;
             else return Fail(e, "--orient takes forward, reverse or auto, not \"" + v + "\"");
             return setOrient(orient, "--orient " + v, e);
         }},
        {"--sample", 0, Takes::NonEmptyValue, "a name",
         [&](const std::string&, const std::string& v, std::string& e) {
             const size_t next = std::max<size_t>(positional.size(), 1);  // the next sequence file
             if (!samples.empty() && samples.back().first == next)
                 return Fail(e, "two --sample names for one sequence file");
             samples.emplace_back(next, v);
             return true;
         }},
        {"--no-derep", 0, Takes::Nothing, "", set(o.derep, false)},
        {"--pairs", 0, Takes::Nothing, "", set(o.pairs, true)},
        {"--interleaved", 0, Takes::Nothing, "", set(o.interleaved, true)},
        {"--made-with", 0, Takes::Nothing, "", set(o.madeWith, true)},
        {"--primers-trimmed", 0, Takes::Nothing, "", set(o.primersTrimmed, true)},
        {"--template", 't', Takes::NonEmptyValue, "a template number or name", file(o.templateChoice)},
        {"--params", 0, Takes::Value, "a file", file(o.paramsFile)},
        {"--options", 0, Takes::Value, "a file", file(o.optionsFile)},
        {"--answer", 0, Takes::Value, "yes or no",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v != "yes" && v != "no") return Fail(e, "--answer takes yes or no, not \"" + v + "\"");
             o.answerYes = v == "yes";
             return true;
         }},
        {"--reparse", 0, Takes::Value, "LINE:SEL",
         [&](const std::string&, const std::string& v, std::string& e) {
             auto colon = v.find(':');
             ReparseRequest r;
             if (colon == std::string::npos || !ParseNumber(v.substr(0, colon), 1, 32767, r.line) ||
                 !ParseNumber(v.substr(colon + 1), 0, 32767, r.sel))
                 return Fail(e, "--reparse takes LINE:SEL (two whole numbers, LINE from 1), not \"" + v + "\"");
             o.reparse.push_back(r);
             return true;
         }},
        {"--identify", 0, Takes::Value, "exact or nearest",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v != "exact" && v != "nearest") return Fail(e, "--identify takes exact or nearest, not \"" + v + "\"");
             o.identify = v == "nearest" ? Identify::Nearest : Identify::Exact;
             return true;
         }},
        {"--rank-by", 0, Takes::Value, "ranking or variants",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v != "ranking" && v != "variants")
                 return Fail(e, "--rank-by takes ranking or variants, not \"" + v + "\"");
             o.rankByVariants = v == "variants";
             return true;
         }},
        {"--ranking", 0, Takes::Nothing, "", set(o.ranking, true)},
        {"--format", 0, Takes::Value, "text, tsv, json, gff3 or bed",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v == "text") o.format = Format::Text;
             else if (v == "tsv") o.format = Format::Tsv;
             else if (v == "json") o.format = Format::Json;
             else if (v == "gff3") o.format = Format::Gff3;
             else if (v == "bed") o.format = Format::Bed;
             else return Fail(e, "--format takes text, tsv, json, gff3 or bed, not \"" + v + "\"");
             return true;
         }},
        {"--output-dir", 'o', Takes::NonEmptyValue, "a directory", file(o.outputDir)},
        {"--taxa", 0, Takes::Nothing, "", set(o.taxa, true)},
        {"--force", 0, Takes::Nothing, "", set(o.force, true)},
        {"--jobs", 'j', Takes::Value, "a number",
         [&](const std::string&, const std::string& v, std::string& e) {
             return ParseNumber(v, 0, 1024, o.jobs) ||
                    Fail(e, "--jobs takes a number from 0 to 1024, not \"" + v + "\"");
         }},
        {"--extract", 0, Takes::NonEmptyValue, "a directory", file(o.extractDir)},
        {"--extract-uncertain", 0, Takes::Nothing, "", set(o.extractUncertain, true)},
        {"--extract-empty", 0, Takes::Nothing, "", set(o.extractEmpty, true)},
        {"--counts", 0, Takes::NonEmptyValue, "a file", file(o.countsFile)},
        {"--summary", 0, Takes::NonEmptyValue, "a file", file(o.summaryFile)},
        {"--distinct", 0, Takes::NonEmptyValue, "a file", file(o.distinctFile)},
        {"--report", 0, Takes::NonEmptyValue, "a file", file(o.reportFile)},
        {"--multiqc", 0, Takes::NonEmptyValue, "a file", file(o.multiqcFile)},
        {"--counts-format", 0, Takes::Value, "tsv or biom",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v != "tsv" && v != "biom") return Fail(e, "--counts-format takes tsv or biom, not \"" + v + "\"");
             o.countsBiom = v == "biom";
             return true;
         }},
        {"--no-progress", 0, Takes::Nothing, "", set(o.progress, false)},
    };
    for (OptionSpec& bound : BoundOptions(o.nearest, boundGiven)) table.push_back(std::move(bound));
    if (!ReadOptions(args, table, "analyze", positional, error)) return false;
    if (positional.size() < 2) return Fail(error, "analyze needs TEMPLATE_FILE and SEQUENCE_FILE");
    o.templateFile = positional[0];
    o.sequenceFiles.assign(positional.begin() + 1, positional.end());
    o.samples.assign(o.sequenceFiles.size(), "");
    for (const auto& [index, name] : samples) {
        if (index >= positional.size()) return Fail(error, "--sample " + name + " names no sequence file after it");
        o.samples[index - 1] = name;
    }
    if (o.pairs && o.interleaved) return Fail(error, "--pairs and --interleaved exclude each other");
    if (o.pairs && o.sequenceFiles.size() % 2 != 0)
        return Fail(error, "--pairs takes the sequence files two by two (mates 1, then mates 2), not " +
                               std::to_string(o.sequenceFiles.size()));
    for (size_t i = 1; o.pairs && i < o.samples.size(); i += 2)
        if (!o.samples[i].empty())
            return Fail(error,
                        "--sample " + o.samples[i] + " names a file of mates 2: name the pair before its mates 1");
    if (std::count(o.sequenceFiles.begin(), o.sequenceFiles.end(), "-") > 1)
        return Fail(error, "standard input (-) can be read only once");
    // Output files show the analysed sequence whole, which a trimmed read is not.
    if (o.primersTrimmed && !o.outputDir.empty()) return Fail(error, "--primers-trimmed cannot write output files");
    if ((o.extractUncertain || o.extractEmpty) && o.extractDir.empty())
        return Fail(error,
                    (o.extractUncertain ? "--extract-uncertain" : "--extract-empty") + std::string(" needs --extract"));
    if (o.countsBiom && o.countsFile.empty()) return Fail(error, "--counts-format biom needs --counts");
    if (o.rankByVariants && (o.primersTrimmed || !o.templateChoice.empty()))
        return Fail(error, "--rank-by variants ranks the templates: not with --template or --primers-trimmed");
    if (boundGiven && o.identify != Identify::Nearest)
        return Fail(error, "--max-diffs and --min-identity need --identify nearest");
    const std::vector<std::string> files{o.countsFile, o.summaryFile, o.distinctFile, o.reportFile, o.multiqcFile};
    for (size_t i = 0; i < files.size(); ++i)
        if (!files[i].empty() && std::count(files.begin(), files.end(), files[i]) > 1)
            return Fail(error,
                        "--counts, --summary, --distinct, --report and --multiqc name the same file " + files[i]);
    return true;
}

bool ParseVariants(const std::vector<std::string>& args, VariantsOptions& o, std::string& error) {
    bool lengthGiven = false;
    const std::vector<OptionSpec> table = {
        {"--length", 0, Takes::Value, "a whole number from 0 to 32767",
         [&](const std::string&, const std::string& v, std::string& e) {
             lengthGiven = true;
             return ParseNumber(v, 0, 32767, o.length) || Fail(e, "--length takes a whole number from 0 to 32767");
         }},
        {"--mode", 0, Takes::Value, "same, different, shorter, longer or all",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v == "same") o.mode = kSameLength;
             else if (v == "different") o.mode = kDifferentLength;
             else if (v == "shorter") o.mode = kShorter;
             else if (v == "longer") o.mode = kLonger;
             else if (v == "all") o.mode = kAll;
             else return Fail(e, "--mode takes same, different, shorter, longer or all, not \"" + v + "\"");
             return true;
         }},
    };
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "variants", positional, error)) return false;
    if (positional.size() != 1) return Fail(error, "variants needs one VR_FILE");
    o.vrFile = positional[0];
    // Without a mode: the same length when a length is given, else every entry.
    if (o.mode == 0) o.mode = lengthGiven ? kSameLength : kAll;
    return true;
}

// The command line as a shell would take it back: arguments with other characters than
// letters, digits and "+,-./:=@_" in single quotes.
std::string CommandLineText(const std::vector<std::string>& args) {
    std::string text = "varigap-cli";
    for (const auto& a : args) {
        const bool plain = !a.empty() && a.find_first_not_of(
                                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                             "0123456789+,-./:=@_") == std::string::npos;
        std::string quoted = "'";
        for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        text += " " + (plain ? a : quoted + "'");
    }
    return text;
}

const struct {
    const char* name;
    Command command;
} kCommands[] = {
    {"analyze", Command::Analyze}, {"variants", Command::Variants}, {"build", Command::Build},
    {"regions", Command::Regions}, {"check", Command::Check},       {"merge", Command::Merge},
    {"report", Command::Report},   {"evaluate", Command::Evaluate},
};

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& cl, std::string& error) {
    Command named = Command::Help;  // none
    for (const auto& c : kCommands)
        if (!args.empty() && args[0] == c.name) named = c.command;
    // Help and version come before anything else on the line; help after a command is that
    // command's.
    for (const auto& a : args) {
        if (a == "--") break;
        if (a == "-h" || a == "--help") {
            cl.command = Command::Help;
            cl.helpFor = named;
            return true;
        }
        if (a == "--version") {
            cl.command = Command::Version;
            return true;
        }
    }
    if (args.empty()) return Fail(error, "no command given");
    if (named == Command::Help) return Fail(error, "unknown command \"" + args[0] + "\"");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    cl.command = named;
    switch (named) {
        case Command::Analyze:
            cl.analyze.commandLine = CommandLineText(args);
            return ParseAnalyze(rest, cl.analyze, error);
        case Command::Variants: return ParseVariants(rest, cl.variants, error);
        case Command::Build: return ParseBuild(rest, cl.build, error);
        case Command::Regions: return ParseRegions(rest, cl.regions, error);
        case Command::Check: return ParseCheck(rest, cl.check, error);
        case Command::Merge: cl.merge.commandLine = CommandLineText(args); return ParseMerge(rest, cl.merge, error);
        case Command::Report: return ParseReport(rest, cl.report, error);
        case Command::Evaluate: return ParseEvaluate(rest, cl.evaluate, error);
        case Command::Help:
        case Command::Version: break;
    }
    return false;
}

}  // namespace varigap::cli
