// Checking a template file: the program's reader for the table, a line scan beside it for
// the line numbers, then each variable region file and the templates side by side.
#include "builder/template_check.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "builder/line_reader.h"
#include "core/bases.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/vr_files.h"
#include "input/template_reader.h"

namespace varigap::builder {

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Line numbers of the template file's parts, found the way the reader walks the file.
struct TemplateLines {
    std::vector<long> tpl{0};               // per template (from 1)
    std::vector<std::vector<long>> cr{{}};  // per template, per CR (from 0)
    std::vector<std::vector<long>> vr{{}};
    long stop = 0;                   // the line at which the reader stops, 0 when it reads through
    std::vector<long> bracketLines;  // lines with "[" and no "]" after it
};

bool HasOpenBracket(std::string s) {
    for (size_t p = s.find('['); p != std::string::npos; p = s.find('[', p)) {
        size_t q = s.find(']', p);
        if (q == std::string::npos) return true;
        s.erase(p, q - p + 1);
    }
    return false;
}

TemplateLines ScanTemplateLines(const std::string& path) {
    TemplateLines t;
    TextReader in;
    in.Open(path);
    std::string line;
    long n = 0;
    int regions = 0;
    bool lastIsCR = false;
    while (t.stop == 0 && in.ReadLine(line)) {
        ++n;
        StripLeading(line);
        if (line.empty() || line[0] == '#') continue;
        const char c = line[0];
        const int templates = static_cast<int>(t.tpl.size()) - 1;
        if (c == '>') {
            if (templates + 1 > MAXNUMTEMPLATES) t.stop = n;
            t.tpl.push_back(n);
            t.cr.emplace_back();
            t.vr.emplace_back();
            regions = 0;
            lastIsCR = false;
        } else if (c == '"') {
            if (templates < 1 || ++regions > MAXNUMREGIONS || t.vr.back().size() + 1 > MAXNUMVR) t.stop = n;
            t.vr.back().push_back(n);
            lastIsCR = false;
        } else if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '[') {
            if (templates < 1) {
                t.stop = n;
                continue;
            }
            if (!lastIsCR) {
                if (++regions > MAXNUMREGIONS || t.cr.back().size() + 1 > MAXNUMCR) t.stop = n;
                t.cr.back().push_back(n);
            }
            lastIsCR = true;
            StripLeading(line, "0123456789");
            if (t.stop == 0 && line.size() >= 2 && HasOpenBracket(line)) t.bracketLines.push_back(n);
        } else {
            t.stop = n;
        }
    }
    return t;
}

// Line numbers of a variable region file's entries, found the way its reader walks it.
struct EntryLines {
    long first = 0;                                    // line of its first bases (or of its ">")
    std::vector<std::pair<long, std::string>> pieces;  // bases text per line
};

struct VRFileLines {
    std::vector<EntryLines> entries;  // complete entries
    long unfinished = 0;              // line of an entry left without "<" at the end, 0 if none
};

VRFileLines ScanVRFile(const std::string& path) {
    VRFileLines f;
    TextReader in;
    in.Open(path);
    std::string line;
    long n = 0;
    EntryLines e;
    bool inTaxa = false;
    while (in.ReadLine(line)) {
        ++n;
        StripLeading(line);
        if (!line.empty() && line[0] == '#') continue;
        if (e.first == 0 && !line.empty()) e.first = n;
        std::string rest = line;
        if (!inTaxa) {
            size_t gt = rest.find('>');
            e.pieces.emplace_back(n, rest.substr(0, gt));
            if (gt == std::string::npos) continue;
            rest.erase(0, gt + 1);
            inTaxa = true;
        }
        if (rest.find('<') == std::string::npos) continue;
        if (e.first == 0) e.first = n;
        f.entries.push_back(std::move(e));
        e = EntryLines{};
        inTaxa = false;
    }
    if (inTaxa || std::any_of(e.pieces.begin(), e.pieces.end(),
                              [](const auto& p) { return p.second.find_first_not_of(" \t") != std::string::npos; }))
        f.unfinished = e.first;
    return f;
}

class Checker {
public:
    Checker(const Session& settings, const std::string& path) : settings_(settings), path_(path) {}

    CheckResult Run() {
        std::string dir, name;
        std::filesystem::path p(path_);
        dir = p.parent_path().string();
        name = p.filename().string();
        if (!FileExists(path_)) {
            res_.unreadable = true;
            Problem(path_, 0, "not found");
            return Finish();
        }
        try {
            lines_ = ScanTemplateLines(path_);
        } catch (const RunTimeError& e) {
            res_.unreadable = true;
            Problem(path_, 0, "cannot be read (" + e.Description() + ")");
            return Finish();
        }
        if (!Load(dir, name)) return Finish();
        if (st_->numTemplates < 1) Problem(path_, 0, "holds no template");
        for (int t = 1; t <= st_->numTemplates; ++t) CheckTemplate(t);
        CheckVRFiles(dir);
        CheckTies();
        return Finish();
    }

private:
    void Problem(const std::string& file, long line, const std::string& message) {
        auto [it, fresh] = fileOrder_.emplace(file, static_cast<int>(fileOrder_.size()));
        found_.push_back(Found{it->second, line, Where(file, line, message)});
    }
    // The problems by file (in the order first met) and line.
    CheckResult Finish() {
        std::stable_sort(found_.begin(), found_.end(), [](const Found& a, const Found& b) {
            return a.file != b.file ? a.file < b.file : a.line < b.line;
        });
        for (auto& f : found_) res_.problems.push_back(std::move(f.text));
        return res_;
    }
    long CRLine(int t, int c) const { return Line(lines_.cr, t, c); }
    long VRLine(int t, int v) const { return Line(lines_.vr, t, v); }
    static long Line(const std::vector<std::vector<long>>& table, int t, int k) {
        if (t >= static_cast<int>(table.size()) || k > static_cast<int>(table[static_cast<size_t>(t)].size())) return 0;
        return table[static_cast<size_t>(t)][static_cast<size_t>(k - 1)];
    }
    long TplLine(int t) const {
        return t < static_cast<int>(lines_.tpl.size()) ? lines_.tpl[static_cast<size_t>(t)] : 0;
    }
    std::string Name(int t) const { return "template " + Quoted(st_->templateName[t]); }

    // The program's reader, its messages placed at the lines they are about.
    bool Load(const std::string& dir, const std::string& name) {
        st_ = std::make_unique<Session>(settings_);
        RecordingMessenger msgs;  // answers the questions about missing regions with Yes
        st_->messenger = &msgs;
        st_->templateFilePath = dir;
        st_->templateFileName = name;
        bool ok = false;
        try {
            ok = LoadTemplateFile(*st_);
        } catch (const RunTimeError& e) {
            res_.unreadable = true;
            Problem(path_, 0, "cannot be read (" + e.Description() + ")");
            return false;
        }
        size_t bracket = 0;
        for (const Message& m : msgs.shown) {
            if (m.buttons != MsgButtons::Ok) continue;  // the questions: said per template below
            std::string text = m.text;
            for (size_t crlf; (crlf = text.find("\r\n")) != std::string::npos;) text.replace(crlf, 2, " ");
            bool isBracket = text.rfind("Error: [ without", 0) == 0;
            long line =
                isBracket ? (bracket < lines_.bracketLines.size() ? lines_.bracketLines[bracket++] : 0) : lines_.stop;
            Problem(path_, line, text);
        }
        st_->messenger = nullptr;
        return ok;
    }

    void CheckTemplate(int t) {
        const Session& st = *st_;
        if (st.numCRs[t] == 0)
            Problem(path_, TplLine(t), Name(t) + " has no conserved regions: the ranking cannot place it");
        if (st.numVRs[t] == 0) Problem(path_, TplLine(t), Name(t) + " has no variable regions");
        for (int c = 1; c <= st.numCRs[t]; ++c) {
            const int len = static_cast<int>(st.crSeq[t][c].size());
            const std::string what = "CR " + Str(c) + " of " + Name(t);
            if (len == 0) Problem(path_, CRLine(t, c), what + " has no bases");
            else if (len < settings_.wordLength)
                Problem(path_, CRLine(t, c),
                        what + " has " + Str(len) + " bases, fewer than the word length " + Str(settings_.wordLength) +
                            ": it cannot be placed");
            else if (len < settings_.minCRLength)
                Problem(path_, CRLine(t, c),
                        what + " has " + Str(len) + " bases, fewer than minCRLength " + Str(settings_.minCRLength));
        }
        int run = 0;
        for (int r = 1; r <= st.numCRs[t] + st.numVRs[t] && r <= MAXNUMREGIONS; ++r) {
            const TRegion& region = st.tRegions[t][r];
            run = region.isCR ? 0 : run + 1;
            if (run == MAXNUMCONSECUTIVEVRS + 1)
                Problem(path_, VRLine(t, region.num),
                        Name(t) + " has more than " + Str(MAXNUMCONSECUTIVEVRS) +
                            " variable regions in a row: the parse cannot fill such a run");
            if (!region.isCR && st.vrFileName[t][region.num].empty())
                Problem(path_, VRLine(t, region.num),
                        "VR " + Str(region.num) + " of " + Name(t) +
                            " names no variable region file: every analysis reports it missing");
        }
    }

    struct LoadedVRFile {
        bool ok = false;
        std::string path;
        std::vector<VREntry> entries;
        VRFileLines lines;
    };

    const LoadedVRFile& VRFile(const std::string& dir, const std::string& name, int t, int v) {
        auto [it, fresh] = vrFiles_.try_emplace(ToUpper(name));
        LoadedVRFile& f = it->second;
        if (!fresh) return f;
        f.path = FindFileIgnoringCase(dir, name);
        if (f.path.empty()) {
            Problem(path_, VRLine(t, v), "variable region file " + Quoted(FullPath(dir, name)) + " not found");
            return f;
        }
        try {
            TextReader in;
            in.Open(f.path);
            VREntryReader reader(in);
            for (VREntry e; reader.Next(e);) f.entries.push_back(e);
            f.lines = ScanVRFile(f.path);
            f.ok = true;
        } catch (const RunTimeError& e) {
            Problem(f.path, 0, "cannot be read (" + e.Description() + ")");
        }
        if (f.ok) CheckEntries(f, inRuns_.count(ToUpper(name)) > 0);
        return f;
    }

    // `inRun`: the file serves a VR next to another VR, where a variant that is the beginning
    // of another can end the exact match early; beside CRs the longest fit wins anyway.
    void CheckEntries(const LoadedVRFile& f, bool inRun) {
        auto lineOf = [&](size_t i) { return i < f.lines.entries.size() ? f.lines.entries[i].first : 0L; };
        for (const auto& e : f.lines.entries)
            for (const auto& [line, text] : e.pieces)
                for (char c : text)
                    if (!IsBaseChar(c) && c != ' ' && c != '\t' && !(c >= '0' && c <= '9')) {
                        Problem(f.path, line,
                                std::string("\"") + c + "\" in a variant is not a base: the program drops it");
                        break;
                    }
        if (f.lines.unfinished)
            Problem(f.path, f.lines.unfinished, "an entry without its closing \"<\": the program ignores it");
        if (static_cast<int>(f.entries.size()) > MAXNUMVRFILEENTRIES)
            Problem(f.path, lineOf(MAXNUMVRFILEENTRIES),
                    Str(static_cast<long long>(f.entries.size())) +
                        " entries: the Variable Region Analysis window lists only the first " +
                        Str(MAXNUMVRFILEENTRIES));
        std::vector<std::pair<std::string, size_t>> sorted;  // upper-case bases, entry index
        for (size_t i = 0; i < f.entries.size(); ++i) {
            if (f.entries[i].bases.empty())
                Problem(f.path, lineOf(i),
                        "an empty variant: it fits wherever the region is missing, and the search lists it as a "
                        "deletion");
            else sorted.emplace_back(ToUpper(f.entries[i].bases), i);
        }
        std::stable_sort(sorted.begin(), sorted.end());
        for (size_t i = 0; i < sorted.size(); ++i) {
            const auto& [bases, idx] = sorted[i];
            if (i > 0 && sorted[i - 1].first == bases) {
                Problem(f.path, lineOf(idx), "the same variant as on line " + Str(lineOf(sorted[i - 1].second)));
                continue;
            }
            size_t j = i + 1;
            while (j < sorted.size() && sorted[j].first == bases) ++j;
            if (inRun && j < sorted.size() && sorted[j].first.compare(0, bases.size(), bases) == 0)
                Problem(f.path, lineOf(idx),
                        "this variant (" + Str(static_cast<long long>(bases.size())) +
                            " bases) is the beginning of the one on line " + Str(lineOf(sorted[j].second)) +
                            ": in a run of variable regions the exact match may stop at the shorter one");
        }
    }

    void CheckVRFiles(const std::string& dir) {
        const Session& st = *st_;
        for (int t = 1; t <= st.numTemplates; ++t)
            for (int r = 2; r <= std::min(st.numCRs[t] + st.numVRs[t], MAXNUMREGIONS); ++r) {
                const TRegion &a = st.tRegions[t][r - 1], &b = st.tRegions[t][r];
                if (a.isCR || b.isCR) continue;
                inRuns_.insert(ToUpper(st.vrFileName[t][a.num]));
                inRuns_.insert(ToUpper(st.vrFileName[t][b.num]));
            }
        for (int t = 1; t <= st.numTemplates; ++t) {
            for (int v = 1; v <= st.numVRs[t]; ++v)
                if (!st.vrFileName[t][v].empty()) VRFile(dir, st.vrFileName[t][v], t, v);
            // A CR that also stands in a variant beside it is found twice where that variant is.
            const int numRegions = std::min(st.numCRs[t] + st.numVRs[t], MAXNUMREGIONS);
            for (int r = 1; r <= numRegions; ++r) {
                const TRegion& cr = st.tRegions[t][r];
                if (!cr.isCR || static_cast<int>(st.crSeq[t][cr.num].size()) < settings_.wordLength) continue;
                for (int side : {r - 1, r + 1}) {
                    if (side < 1 || side > numRegions || st.tRegions[t][side].isCR) continue;
                    const int v = st.tRegions[t][side].num;
                    const std::string& vrName = st.vrFileName[t][v];
                    if (vrName.empty()) continue;
                    const LoadedVRFile& f = VRFile(dir, vrName, t, v);
                    int hits = 0;
                    size_t first = 0;
                    for (size_t i = 0; i < f.entries.size(); ++i)
                        if (InStrBases(st.crSeq[t][cr.num], f.entries[i].bases, 1) > 0 && hits++ == 0) first = i;
                    if (hits > 0)
                        Problem(path_, CRLine(t, cr.num),
                                "CR " + Str(cr.num) + " of " + Name(t) + " also occurs in " + Str(hits) + " variant" +
                                    (hits == 1 ? "" : "s") + " of VR " + Str(v) + " (" + f.path + ":" +
                                    Str(first < f.lines.entries.size() ? f.lines.entries[first].first : 0) +
                                    "): where such a variant stands, the CR is found twice and left unplaced");
                }
            }
        }
    }

    void CheckTies() {
        const Session& st = *st_;
        std::vector<std::vector<std::string>> crs(static_cast<size_t>(st.numTemplates) + 1);
        std::vector<long> total(crs.size(), 0);
        for (int t = 1; t <= st.numTemplates; ++t)
            for (int c = 1; c <= st.numCRs[t]; ++c) {
                crs[static_cast<size_t>(t)].push_back(ToUpper(st.crSeq[t][c]));
                total[static_cast<size_t>(t)] += static_cast<long>(st.crSeq[t][c].size());
            }
        for (int b = 2; b <= st.numTemplates; ++b) {
            for (int a = 1; a < b; ++a) {
                const size_t ia = static_cast<size_t>(a), ib = static_cast<size_t>(b);
                if (total[ia] == 0 || total[ib] == 0) continue;
                const std::string first = Name(a) + " (line " + Str(TplLine(a)) + ")";
                if (crs[ia] == crs[ib]) {
                    Problem(path_, TplLine(b),
                            Name(b) + " has the same conserved regions as " + first +
                                ": the ranking cannot tell them apart and the first one listed always wins");
                } else if (std::labs(total[ia] - total[ib]) <= settings_.baseCountTolerance) {
                    Problem(path_, TplLine(b),
                            Name(b) + " has " + Str(total[ib]) + " bases of conserved regions, " + first + " " +
                                Str(total[ia]) +
                                ": on a read that holds all of both the ranking counts them equal "
                                "(baseCountTolerance " +
                                Str(settings_.baseCountTolerance) + ") and the first one listed wins");
                } else {
                    continue;
                }
                break;  // one report per template, naming the first it ties with
            }
        }
    }

    struct Found {
        int file = 0;
        long line = 0;
        std::string text;
    };

    const Session& settings_;
    std::string path_;
    CheckResult res_;
    std::map<std::string, int> fileOrder_;
    std::vector<Found> found_;
    TemplateLines lines_;
    std::unique_ptr<Session> st_;                  // the table as the program reads it
    std::map<std::string, LoadedVRFile> vrFiles_;  // by upper-case name
    std::set<std::string> inRuns_;                 // upper-case names of files of VRs in runs
};

}  // namespace

CheckResult CheckTemplateFile(const Session& settings, const std::string& path) {
    return Checker(settings, path).Run();
}

}  // namespace varigap::builder
