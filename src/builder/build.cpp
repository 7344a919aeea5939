// Building templates and variable region files: the table checked as a whole, one template
// per group, conserved regions by consensus, variable regions by their distinct variants.
#include "builder/build.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "builder/consensus.h"
#include "builder/line_reader.h"
#include "builder/placement.h"
#include "builder/regions_table.h"
#include "builder/sequence_source.h"
#include "builder/template_writer.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"

namespace varigap::builder {

namespace {

// One record of the table: its rows in the order of their positions.
struct Record {
    std::string name, group;
    std::vector<const RegionRow*> rows;
    const std::string* bases = nullptr;
};

// The regions every record has, in their order.
struct Layout {
    std::vector<std::string> names;
    std::vector<bool> isCR;
    int numCRs = 0, numVRs = 0;
};

struct TemplateBuild {
    std::string group, name;
    std::vector<const Record*> records;
    std::vector<Consensus> crs;
    std::vector<std::vector<Variant>> vrs;
    std::vector<std::string> vrFiles;
    int placed = 0;  // records whose variable regions were all cut between placed CRs
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Plural(long n, const std::string& word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

// The records of the table in first-seen order, each checked against its sequence.
std::vector<Record> GatherRecords(const BuildOptions& o, const std::vector<RegionRow>& rows,
                                  const std::map<std::string, std::string>& bases, std::vector<std::string>& problems) {
    std::vector<Record> records;
    std::map<std::string, size_t> index;
    for (const auto& r : rows) {
        auto [it, fresh] = index.emplace(r.sequence, records.size());
        if (fresh) records.push_back(Record{r.sequence, r.group, {}, nullptr});
        Record& rec = records[it->second];
        if (r.group != rec.group)
            problems.push_back(Where(o.regionsFile, r.line,
                                     Quoted(r.sequence) + " is in " + o.groupColumn + " " + Quoted(rec.group) +
                                         " on its first row, here in " + Quoted(r.group)));
        rec.rows.push_back(&r);
    }
    for (auto& rec : records) {
        std::stable_sort(rec.rows.begin(), rec.rows.end(),
                         [](const RegionRow* a, const RegionRow* b) { return a->start < b->start; });
        auto b = bases.find(rec.name);
        if (b == bases.end()) {
            problems.push_back(Where(o.regionsFile, rec.rows.front()->line,
                                     "no record " + Quoted(rec.name) + " in " + o.sequenceFile));
            continue;
        }
        rec.bases = &b->second;
        const long length = static_cast<long>(b->second.size());
        for (size_t i = 0; i < rec.rows.size(); ++i) {
            const RegionRow& r = *rec.rows[i];
            if (r.end > length)
                problems.push_back(Where(o.regionsFile, r.line,
                                         "region " + Quoted(r.region) + " ends at " + std::to_string(r.end) + ", but " +
                                             Quoted(rec.name) + " has " + std::to_string(length) + " bases"));
            if (i > 0 && r.start <= rec.rows[i - 1]->end)
                problems.push_back(Where(o.regionsFile, r.line,
                                         "region " + Quoted(r.region) + " overlaps region " +
                                             Quoted(rec.rows[i - 1]->region) + " (line " +
                                             std::to_string(rec.rows[i - 1]->line) + ")"));
        }
    }
    return records;
}

std::string NameList(const std::vector<std::string>& names) {
    std::string s;
    for (const auto& n : names) s += (s.empty() ? "" : ", ") + n;
    return s;
}

// The order of the regions: that of the record with the most regions; every record must
// have the same regions in the same order, each region one kind, no two CRs side by side.
Layout MakeLayout(const BuildOptions& o, const std::vector<Record>& records, std::vector<std::string>& problems) {
    Layout layout;
    const Record* ref = &records.front();
    for (const auto& rec : records)
        if (rec.rows.size() > ref->rows.size()) ref = &rec;
    for (const RegionRow* r : ref->rows) {
        layout.names.push_back(r->region);
        layout.isCR.push_back(r->isCR);
        ++(r->isCR ? layout.numCRs : layout.numVRs);
    }
    for (const auto& rec : records) {
        std::vector<std::string> names;
        for (const RegionRow* r : rec.rows) names.push_back(r->region);
        if (names != layout.names) {
            problems.push_back(Where(o.regionsFile, rec.rows.front()->line,
                                     Quoted(rec.name) + " has the regions " + NameList(names) + "; " +
                                         Quoted(ref->name) + " has " + NameList(layout.names) +
                                         " (every record needs the same regions in the same order)"));
            continue;
        }
        for (size_t i = 0; i < names.size(); ++i)
            if (rec.rows[i]->isCR != layout.isCR[i])
                problems.push_back(Where(o.regionsFile, rec.rows[i]->line,
                                         "region " + Quoted(names[i]) + " is a " + (layout.isCR[i] ? "CR" : "VR") +
                                             " in " + Quoted(ref->name)));
    }
    for (size_t i = 1; i < layout.names.size(); ++i)
        if (layout.isCR[i] && layout.isCR[i - 1])
            problems.push_back(Where(o.regionsFile, 0,
                                     "conserved regions " + Quoted(layout.names[i - 1]) + " and " +
                                         Quoted(layout.names[i]) +
                                         " follow each other: a template file would read them as one"));
    if (static_cast<int>(layout.names.size()) > MAXNUMREGIONS || layout.numCRs > MAXNUMCR || layout.numVRs > MAXNUMVR)
        problems.push_back(Where(o.regionsFile, 0,
                                 Plural(static_cast<long>(layout.names.size()), "region") +
                                     " in a template; the program reads at most " + std::to_string(MAXNUMREGIONS) +
                                     ", of them at most " + std::to_string(MAXNUMCR) + " CRs and " +
                                     std::to_string(MAXNUMVR) + " VRs"));
    return layout;
}

std::vector<TemplateBuild> MakeGroups(const BuildOptions& o, const std::vector<Record>& records) {
    std::vector<TemplateBuild> groups;
    std::map<std::string, size_t> index;
    for (const auto& rec : records) {
        auto [it, fresh] = index.emplace(rec.group, groups.size());
        if (fresh) {
            groups.emplace_back();
            groups.back().group = rec.group;
            groups.back().name = o.groupColumn.empty() ? o.name : rec.group + " " + o.name;
        }
        groups[it->second].records.push_back(&rec);
    }
    if (o.order == GroupOrder::Narrowest)
        std::stable_sort(groups.begin(), groups.end(), [](const TemplateBuild& a, const TemplateBuild& b) {
            return a.records.size() < b.records.size();
        });
    else if (o.order == GroupOrder::Name)
        std::stable_sort(groups.begin(), groups.end(),
                         [](const TemplateBuild& a, const TemplateBuild& b) { return a.group < b.group; });
    return groups;
}

std::string Cut(const Record& rec, Span s) {
    return rec.bases->substr(static_cast<size_t>(s.first - 1), static_cast<size_t>(s.last - s.first + 1));
}

// The stretch of each region of a record: CRs and VRs as the table gives them, then each run
// of VRs widened or narrowed to the CRs around it as placed, where they were placed near the
// table's coordinates. True when every run was cut between placed CRs.
bool RecordSpans(const BuildOptions& o, const Layout& layout, const Record& rec, const std::vector<Span>& placed,
                 std::vector<Span>& spans) {
    spans.clear();
    for (const RegionRow* r : rec.rows) spans.push_back(Span{r->start, r->end});
    if (o.asAnnotated) return false;
    std::vector<int> crOf(layout.names.size(), -1);  // CR number (0-based) of each region
    for (size_t i = 0, c = 0; i < layout.names.size(); ++i)
        if (layout.isCR[i]) crOf[i] = static_cast<int>(c++);
    auto near = [&](size_t i) {
        const Span& p = placed[static_cast<size_t>(crOf[i])];
        return p.first > 0 && std::labs(p.first - spans[i].first) <= o.maxShift &&
               std::labs(p.last - spans[i].last) <= o.maxShift;
    };
    bool all = true;
    for (size_t i = 0; i < layout.names.size();) {
        if (layout.isCR[i]) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j + 1 < layout.names.size() && !layout.isCR[j + 1]) ++j;
        std::vector<Span> run(spans.begin() + static_cast<long>(i), spans.begin() + static_cast<long>(j) + 1);
        bool placedLeft = i > 0 && near(i - 1), placedRight = j + 1 < layout.names.size() && near(j + 1);
        if (placedLeft) run.front().first = placed[static_cast<size_t>(crOf[i - 1])].last + 1;
        if (placedRight) run.back().last = placed[static_cast<size_t>(crOf[j + 1])].first - 1;
        bool sound = std::all_of(run.begin(), run.end(), [](const Span& s) { return s.last >= s.first - 1; });
        if (sound) std::copy(run.begin(), run.end(), spans.begin() + static_cast<long>(i));
        // A run at an end of the template has no CR on that side to be placed.
        all = all && sound && (placedLeft || i == 0) && (placedRight || j + 1 == layout.names.size());
        i = j + 1;
    }
    return all;
}

void BuildOne(const Session& settings, const BuildOptions& o, const Layout& layout, TemplateBuild& t) {
    std::vector<std::vector<std::string>> crBases(static_cast<size_t>(layout.numCRs));
    for (const Record* rec : t.records)
        for (size_t i = 0, c = 0; i < layout.names.size(); ++i)
            if (layout.isCR[i])
                crBases[c++].push_back(ToUpper(Cut(*rec, Span{rec->rows[i]->start, rec->rows[i]->end})));
    std::vector<std::string> consensus;
    for (const auto& b : crBases) {
        t.crs.push_back(MakeConsensus(b, o.ambiguityMin));
        consensus.push_back(t.crs.back().bases);
    }
    CRPlacer placer(settings, layout.isCR, consensus);
    t.vrs.assign(static_cast<size_t>(layout.numVRs), {});
    std::vector<std::map<std::string, size_t>> seen(static_cast<size_t>(layout.numVRs));
    std::vector<Span> spans;
    for (const Record* rec : t.records) {
        std::vector<Span> placed;
        if (!o.asAnnotated) placed = placer.Place(*rec->bases);
        if (RecordSpans(o, layout, *rec, placed, spans)) ++t.placed;
        for (size_t i = 0, v = 0; i < layout.names.size(); ++i) {
            if (layout.isCR[i]) continue;
            std::string bases = ToUpper(Cut(*rec, spans[i]));
            auto [it, fresh] = seen[v].emplace(bases, t.vrs[v].size());
            if (fresh) {
                std::string lower = bases;
                for (char& c : lower)
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
                t.vrs[v].push_back(Variant{lower, {}});
            }
            auto& taxa = t.vrs[v][it->second].taxa;
            const std::string& taxon = rec->rows[i]->taxon;
            if (std::find(taxa.begin(), taxa.end(), taxon) == taxa.end()) taxa.push_back(taxon);
            ++v;
        }
    }
}

std::string LengthRange(const std::vector<Variant>& vs) {
    size_t lo = SIZE_MAX, hi = 0;
    for (const auto& v : vs) lo = std::min(lo, v.bases.size()), hi = std::max(hi, v.bases.size());
    return vs.empty() ? "no variants" : std::to_string(lo) + " to " + std::to_string(hi) + " bases";
}

std::vector<std::string> TemplateText(const BuildOptions& o, const Layout& layout,
                                      const std::vector<TemplateBuild>& templates, size_t numRecords) {
    std::vector<std::string> lines = CommentLines(
        {"Varigap template file made by varigap-cli build.", "Command: " + o.commandLine,
         Plural(static_cast<long>(numRecords), "record") + " of " + o.regionsFile + " in " + o.sequenceFile + ", " +
             Plural(static_cast<long>(templates.size()), "template") + " of " +
             Plural(static_cast<long>(layout.names.size()), "region") + " each.",
         "Conserved regions: column-wise majority of the records' bases (of the records with the most common",
         "length), with an ambiguity code where other bases make up at least " +
             Str(static_cast<long long>(o.ambiguityMin * 100 + 0.5)) + "% of a column."});
    for (const auto& t : templates) {
        lines.emplace_back();
        std::vector<std::string> about{"Template " + Quoted(t.name) + ": " +
                                       Plural(static_cast<long>(t.records.size()), "record") +
                                       (o.groupColumn.empty() ? "" : " with " + o.groupColumn + " " + t.group) + "."};
        for (size_t i = 0, c = 0, v = 0; i < layout.names.size(); ++i) {
            if (layout.isCR[i]) {
                const Consensus& k = t.crs[c++];
                about.push_back(
                    "CR " + std::to_string(c) + " " + layout.names[i] + ": " + std::to_string(k.bases.size()) +
                    " bases from " + std::to_string(k.used) + " of " + Plural(k.records, "record") +
                    (k.shortest == k.longest
                         ? ""
                         : " (lengths " + std::to_string(k.shortest) + " to " + std::to_string(k.longest) + ")") +
                    ", " + Plural(k.ambiguous, "ambiguity code") + ".");
            } else {
                const auto& vs = t.vrs[v];
                about.push_back("VR " + std::to_string(v + 1) + " " + layout.names[i] + ": " + t.vrFiles[v] + ", " +
                                Plural(static_cast<long>(vs.size()), "variant") + ", " + LengthRange(vs) + ".");
                ++v;
            }
        }
        if (layout.numVRs > 0)
            about.push_back(o.asAnnotated ? "Variable regions cut as the table gives them."
                                          : "Variable regions cut between the conserved regions as the program places "
                                            "them in " +
                                                std::to_string(t.placed) + " records, as the table gives them in " +
                                                std::to_string(t.records.size() - static_cast<size_t>(t.placed)) + ".");
        for (auto& l : CommentLines(about)) lines.push_back(l);
        lines.push_back(">" + t.name);
        for (size_t i = 0, c = 0, v = 0; i < layout.names.size(); ++i) {
            if (layout.isCR[i]) {
                for (auto& l : ConservedRegionLines(layout.names[i], t.crs[c++].bases)) lines.push_back(l);
            } else {
                lines.push_back(Quoted(t.vrFiles[v++]));
            }
        }
    }
    return lines;
}

void WriteAll(const std::vector<std::pair<std::string, std::vector<std::string>>>& files) {
    std::vector<std::unique_ptr<TextWriter>> writers;
    for (const auto& [path, lines] : files) {
        writers.push_back(std::make_unique<TextWriter>());
        try {
            writers.back()->Open(path);
            for (const auto& l : lines) writers.back()->WriteLine(l);
        } catch (const RunTimeError& e) {
            throw OutputError(Where(path, 0, "cannot write (" + e.Description() + ")"));
        }
    }
    // Committed only once every file is complete; a writer not committed removes its file.
    for (size_t i = 0; i < files.size(); ++i) {
        try {
            writers[i]->Commit();
        } catch (const RunTimeError& e) {
            throw OutputError(Where(files[i].first, 0, "cannot write (" + e.Description() + ")"));
        }
    }
}

}  // namespace

BuildResult BuildTemplates(const Session& settings, const BuildOptions& o) {
    BuildResult res;
    std::vector<RegionRow> rows = ReadRegionsTable(o.regionsFile, o.groupColumn, res.problems);
    if (!res.problems.empty()) return res;
    if (rows.empty()) {
        res.problems.push_back(Where(o.regionsFile, 0, "no regions listed"));
        return res;
    }
    std::set<std::string> wanted;
    for (const auto& r : rows) wanted.insert(r.sequence);
    std::map<std::string, std::string> bases;
    std::map<std::string, long> recordNumber;
    ForEachRecord(o.sequenceFile, [&](const SeqRecord& s) {
        if (wanted.count(s.name) == 0) return;
        auto [it, fresh] = recordNumber.emplace(s.name, s.number);
        if (!fresh)
            res.problems.push_back(Where(o.sequenceFile, 0,
                                         "record " + std::to_string(s.number) + ": a second record " + Quoted(s.name) +
                                             " (the first is record " + std::to_string(it->second) +
                                             "): the table cannot tell them apart"));
        else bases.emplace(s.name, s.bases);
    });
    std::vector<Record> records = GatherRecords(o, rows, bases, res.problems);
    if (!res.problems.empty()) return res;
    Layout layout = MakeLayout(o, records, res.problems);
    std::vector<TemplateBuild> templates = MakeGroups(o, records);
    if (static_cast<int>(templates.size()) > MAXNUMTEMPLATES)
        res.problems.push_back(Where(o.regionsFile, 0,
                                     Plural(static_cast<long>(templates.size()), "group") + " of " + o.groupColumn +
                                         "; a template file holds at most " + std::to_string(MAXNUMTEMPLATES) +
                                         " templates"));
    if (!res.problems.empty()) return res;

    std::set<std::string> taken;  // file names in lower case: look-ups may ignore case
    auto fileName = [&](const std::string& stem, const std::string& ext) {
        std::string name = SafeFileName(stem) + ext;
        for (int k = 2; !taken.insert(ToUpper(name)).second; ++k) name = SafeFileName(stem) + "-" + Str(k) + ext;
        return name;
    };
    const std::string tplName = fileName(o.name, ".tpl");
    for (auto& t : templates) {
        for (size_t i = 0; i < layout.names.size(); ++i)
            if (!layout.isCR[i])
                t.vrFiles.push_back(fileName((o.groupColumn.empty() ? "" : t.group + "_") + layout.names[i], ".txt"));
        BuildOne(settings, o, layout, t);
    }

    std::vector<std::pair<std::string, std::vector<std::string>>> files;
    files.emplace_back(FullPath(o.outputDir, tplName), TemplateText(o, layout, templates, records.size()));
    for (const auto& t : templates) {
        for (size_t i = 0, v = 0; i < layout.names.size(); ++i) {
            if (layout.isCR[i]) continue;
            std::vector<std::string> lines = CommentLines(
                {"Varigap variable region file made by varigap-cli build: VR " + std::to_string(v + 1) + " " +
                     layout.names[i] + " of template " + Quoted(t.name) + " in " + tplName + ".",
                 "Command: " + o.commandLine,
                 Plural(static_cast<long>(t.records.size()), "record") + ", " +
                     Plural(static_cast<long>(t.vrs[v].size()), "variant") + ", " + LengthRange(t.vrs[v]) + ".",
                 "Each entry: the variant's bases, then \">\", the taxa of the records that carry it, then \"<\"."});
            lines.emplace_back();
            for (auto& l : VariantLines(t.vrs[v])) lines.push_back(l);
            files.emplace_back(FullPath(o.outputDir, t.vrFiles[v]), std::move(lines));
            ++v;
        }
    }
    long placed = 0;
    for (const auto& t : templates) placed += t.placed;
    res.summary = Plural(static_cast<long>(templates.size()), "template") + " from " +
                  Plural(static_cast<long>(records.size()), "record") + " in " + FullPath(o.outputDir, tplName) +
                  (o.asAnnotated ? "" : "; variable regions cut between placed CRs in " + std::to_string(placed));
    if (!o.outputDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.outputDir, ec);  // a failure shows when writing
    }
    WriteAll(files);
    for (const auto& f : files) res.written.push_back(f.first);
    return res;
}

}  // namespace varigap::builder
