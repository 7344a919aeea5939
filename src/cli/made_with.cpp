// What an analyze run's outputs say they were made with: nothing that differs between the shards
// of one split run (samples, files, jobs), everything that changes a read's results.
#include "cli/made_with.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/strings.h"
#include "core/textfile.h"
#include "core/version.h"
#include "export/made_with.h"

namespace varigap::cli {

namespace {

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace

std::string RunMadeWith(const Session& session, const AnalyzeOptions& o, const exports::Catalog& catalog) {
    std::vector<std::string> files{o.templateFile};
    std::vector<std::string> vrFiles;
    for (const auto& t : catalog.templates)
        for (const auto& r : t.regions)
            if (!r.isCR && std::find(vrFiles.begin(), vrFiles.end(), r.vrFile) == vrFiles.end())
                vrFiles.push_back(r.vrFile);
    for (const auto& name : vrFiles) {
        const std::string found = FindFileIgnoringCase(session.vrFilePath, name);
        files.push_back(found.empty() ? name : found);
    }
    std::string reparse, only;
    for (const auto& r : o.reparse) reparse += (reparse.empty() ? "" : " ") + Str(r.line) + ":" + Str(r.sel);
    for (const auto& s : o.sequences) only += (only.empty() ? "" : ", ") + s;
    const char* orient = o.orient == Orient::Auto ? "auto" : o.orient == Orient::Reverse ? "reverse" : "forward";
    std::vector<std::pair<std::string, std::string>> fields = {
        {"program", "varigap-cli " + VersionText()},
        {"template", std::filesystem::path(o.templateFile).filename().string()},
        {"checksum", exports::FilesChecksum(files) + " (template and " + std::to_string(vrFiles.size()) +
                         " variable region files)"},
        {"template_choice", o.templateChoice.empty() ? "best" : o.templateChoice},
        {"orient", orient},
        {"primers_trimmed", o.primersTrimmed ? "yes" : "no"},
        {"reparse", reparse.empty() ? "none" : reparse},
        {"sequences", only.empty() ? "all" : only},
        {"max_length_variation", Str(session.maxLengthVariation)},
        {"word_length", Str(session.wordLength)},
        {"std_acceptance_pct", Number(session.stdAcceptancePct)},
        {"min_acceptance_pct", Number(session.minAcceptancePct)},
        {"min_cr_length", Str(session.minCRLength)},
        {"base_count_tolerance", Str(session.baseCountTolerance)},
    };
    // Merged mates give other results than single reads: shards of both are not one run.
    if (o.pairs || o.interleaved) fields.emplace_back("pairs", o.pairs ? "files" : "interleaved");
    if (o.rankByVariants) fields.emplace_back("rank_by", "variants");
    if (o.identify == Identify::Nearest) {  // exact runs say what they always said
        fields.emplace_back("identify", "nearest");
        fields.emplace_back(
            "max_diffs",
            (o.nearest.maxDiffs == NearestBounds::kNoDiffsLimit ? std::string("none") : Str(o.nearest.maxDiffs)));
        fields.emplace_back("min_identity", Number(o.nearest.minIdentity));
    }
    return exports::MadeWithText(fields);
}

}  // namespace varigap::cli
