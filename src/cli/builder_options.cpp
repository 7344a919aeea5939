// The command line of varigap-cli's build, regions and check commands.
#include "cli/builder_options.h"

#include <cstdlib>

#include "cli/option_parser.h"

namespace varigap::cli {

namespace {

// The command line written into the template file: arguments with blanks or quotes in double quotes.
std::string CommandLineText(const std::string& command, const std::vector<std::string>& args) {
    std::string s = "varigap-cli " + command;
    for (const auto& a : args)
        s += " " + (a.find_first_of(" \t\"'") == std::string::npos && !a.empty() ? a : "\"" + a + "\"");
    return s;
}

// The stem of a file name: without directory and without its last extension (and ".gz").
std::string Stem(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0) name.erase(name.size() - 3);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// A table entry's `take` that stores the value as it is.
auto Store(std::string& target) {
    return [&target](const std::string&, const std::string& v, std::string&) {
        target = v;
        return true;
    };
}

}  // namespace

bool ParseBuild(const std::vector<std::string>& args, BuildCommandOptions& o, std::string& error) {
    builder::BuildOptions& b = o.build;
    const std::vector<OptionSpec> table = {
        {"--output-dir", 'o', Takes::Value, "a value", Store(b.outputDir)},
        {"--name", 0, Takes::Value, "a value", Store(b.name)},
        {"--group", 0, Takes::Value, "a value", Store(b.groupColumn)},
        {"--order", 0, Takes::Value, "a value",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v == "file") b.order = builder::GroupOrder::File;
             else if (v == "narrowest") b.order = builder::GroupOrder::Narrowest;
             else if (v == "name") b.order = builder::GroupOrder::Name;
             else return Fail(e, "--order takes file, narrowest or name, not \"" + v + "\"");
             return true;
         }},
        {"--ambiguity-min", 0, Takes::Value, "a value",
         [&](const std::string&, const std::string& v, std::string& e) {
             char* end = nullptr;
             b.ambiguityMin = std::strtod(v.c_str(), &end);
             if (v.empty() || *end != '\0' || !(b.ambiguityMin > 0 && b.ambiguityMin <= 1))
                 return Fail(e, "--ambiguity-min takes a fraction above 0 and at most 1, not \"" + v + "\"");
             return true;
         }},
        {"--max-shift", 0, Takes::Value, "a value",
         [&](const std::string&, const std::string& v, std::string& e) {
             return ParseNumber(v, 0, 1000, b.maxShift) || Fail(e, "--max-shift takes a number from 0 to 1000");
         }},
        {"--as-annotated", 0, Takes::Nothing, "",
         [&](const std::string&, const std::string&, std::string&) {
             b.asAnnotated = true;
             return true;
         }},
        {"--params", 0, Takes::Value, "a value", Store(o.paramsFile)},
    };
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "build", positional, error)) return false;
    if (positional.size() != 2) return Fail(error, "build needs REGIONS.tsv and SEQUENCES");
    if (b.outputDir.empty()) return Fail(error, "build needs -o DIR");
    b.regionsFile = positional[0];
    b.sequenceFile = positional[1];
    if (b.name.empty()) b.name = Stem(b.regionsFile);
    b.commandLine = CommandLineText("build", args);
    return true;
}

bool ParseRegions(const std::vector<std::string>& args, RegionsOptions& o, std::string& error) {
    const std::vector<OptionSpec> table = {
        {"--map", 0, Takes::Value, "a value", Store(o.mapFile)},
        {"--fasta", 0, Takes::Value, "a value", Store(o.fastaFile)},
        {"--flank", 0, Takes::Value, "a value",
         [&](const std::string&, const std::string& v, std::string& e) {
             return ParseNumber(v, 0L, 100000L, o.flank) || Fail(e, "--flank takes a number from 0 to 100000");
         }},
        {"--max-span", 0, Takes::Value, "a value",
         [&](const std::string&, const std::string& v, std::string& e) {
             return ParseNumber(v, 1L, 100000000L, o.maxSpan) || Fail(e, "--max-span takes a number from 1 on");
         }},
    };
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "regions", positional, error)) return false;
    if (positional.empty()) return Fail(error, "regions needs one or more GenBank or EMBL files");
    if (o.mapFile.empty()) return Fail(error, "regions needs --map MAP.tsv");
    o.files = positional;
    return true;
}

bool ParseCheck(const std::vector<std::string>& args, CheckOptions& o, std::string& error) {
    const std::vector<OptionSpec> table = {{"--params", 0, Takes::Value, "a value", Store(o.paramsFile)}};
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "check", positional, error)) return false;
    if (positional.size() != 1) return Fail(error, "check needs one TEMPLATE_FILE");
    o.templateFile = positional[0];
    return true;
}

}  // namespace varigap::cli
