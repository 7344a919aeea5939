// varigap-cli regions: a template's regions found in annotated GenBank or EMBL records.
#include <cstdio>
#include <memory>
#include <string>

#include "builder/line_reader.h"
#include "cli/builder_options.h"
#include "cli/commands.h"
#include "cli/stdout_writer.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "genbank/feature_map.h"

namespace varigap::cli {

namespace {

// The last lineage names ending as plant and fungal orders and families do.
std::string RankName(const std::vector<std::string>& lineage, const std::string& ending) {
    for (auto it = lineage.rbegin(); it != lineage.rend(); ++it)
        if (it->size() > ending.size() && it->compare(it->size() - ending.size(), ending.size(), ending) == 0 &&
            it->find(' ') == std::string::npos)
            return *it;
    return "";
}

// Tabs and line breaks would break the table's columns.
std::string Field(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

}  // namespace

int RunRegions(const RegionsOptions& opts) {
    std::vector<std::string> problems;
    std::vector<genbank::MapRegion> map;
    try {
        map = genbank::ReadFeatureMap(opts.mapFile, problems);
    } catch (const builder::InputError& e) {
        std::fprintf(stderr, "varigap-cli regions: %s\n", e.what());
        return kExitInput;
    }
    if (!problems.empty()) {
        for (const auto& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
        return kExitInput;
    }
    std::string out = "sequence\tregion\tkind\tstart\tend\taccession\torganism\torder\tfamily\n";
    std::vector<std::string> fasta;
    long found = 0, skipped = 0;
    bool unreadable = false;
    auto report = [&](const std::string& p) {
        std::fprintf(stderr, "%s\n", p.c_str());
        ++skipped;
    };
    for (const auto& file : opts.files) {
        try {
            genbank::ForEachFlatRecord(
                file,
                [&](const genbank::FlatRecord& r) {
                    genbank::FoundRecord f;
                    std::string why;
                    if (!genbank::FindRegions(r, map, opts.flank, opts.maxSpan, f, why)) {
                        report(builder::Where(
                            file, r.line,
                            "record " + std::to_string(r.number) + " (" + r.accession + "): " + why + "; skipped"));
                        return;
                    }
                    ++found;
                    const std::string tail = "\t" + Field(r.accession) + "\t" + Field(r.organism) + "\t" +
                                             RankName(r.lineage, "ales") + "\t" + RankName(r.lineage, "aceae") + "\n";
                    for (const auto& g : f.regions)
                        out += Field(f.name) + "\t" + Field(g.name) + "\t" + (g.isCR ? "CR" : "VR") + "\t" +
                               std::to_string(g.start) + "\t" + std::to_string(g.end) + tail;
                    fasta.push_back(">" + f.name);
                    for (size_t p = 0; p < f.sequence.size(); p += 60) fasta.push_back(f.sequence.substr(p, 60));
                },
                report);
        } catch (const builder::InputError& e) {
            std::fprintf(stderr, "varigap-cli regions: %s\n", e.what());
            unreadable = true;
        }
    }
    WriteStdout(out);
    if (!opts.fastaFile.empty()) {
        try {
            TextWriter w;
            w.Open(opts.fastaFile);
            for (const auto& l : fasta) w.WriteLine(l);
            w.Commit();
        } catch (const RunTimeError& e) {
            std::fprintf(stderr, "varigap-cli regions: %s: cannot write (%s)\n", opts.fastaFile.c_str(),
                         e.Description().c_str());
            return kExitOutput;
        }
    }
    std::fprintf(stderr, "varigap-cli regions: %ld record%s with every region, %ld reported\n", found,
                 found == 1 ? "" : "s", skipped);
    if (unreadable) return kExitInput;
    return skipped > 0 ? kExitFailed : kExitOk;
}

}  // namespace varigap::cli
