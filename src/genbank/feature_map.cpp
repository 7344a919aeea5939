// MAP.tsv and the search for a template's regions among a record's features.
#include "genbank/feature_map.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <map>
#include <optional>

#include "builder/line_reader.h"
#include "core/complement.h"
#include "core/strings.h"
#include "genbank/location.h"

namespace varigap::genbank {

using builder::Where;

namespace {

// Words separated by blanks; a double-quoted stretch may hold blanks.
std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::string w;
    bool quoted = false, any = false;
    for (char c : s) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (any) words.push_back(w);
            w.clear();
            any = false;
        } else {
            w += c;
            any = true;
        }
    }
    if (any) words.push_back(w);
    return words;
}

bool ParseLong(const std::string& text, long& v) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseTest(const std::string& word, FeatureTest& t) {
    if (word.rfind("parts=", 0) == 0) {
        t.op = 'p';
        return ParseLong(word.substr(6), t.parts) && t.parts >= 1;
    }
    if (word.size() < 2 || word[0] != '/') return false;
    size_t op = word.find_first_of("=~");
    t.qualifier = word.substr(1, op == std::string::npos ? std::string::npos : op - 1);
    if (op != std::string::npos) {
        t.op = word[op];
        t.value = ToUpper(word.substr(op + 1));
    }
    return !t.qualifier.empty();
}

// The key and qualifier tests of a rule (the parts test needs the location).
bool PassesQualifiers(const Feature& f, const FeatureRule& rule) {
    if (f.key != rule.key) return false;
    for (const auto& t : rule.tests) {
        if (t.op == 'p') continue;
        bool ok = false;
        for (const auto& [name, value] : f.qualifiers) {
            if (name != t.qualifier) continue;
            std::string v = ToUpper(value);
            ok = t.op == '?' || (t.op == '=' && v == t.value) || (t.op == '~' && v.find(t.value) != std::string::npos);
            if (ok) break;
        }
        if (!ok) return false;
    }
    return true;
}

bool PassesParts(const std::vector<Part>& parts, const FeatureRule& rule) {
    return std::all_of(rule.tests.begin(), rule.tests.end(),
                       [&](const FeatureTest& t) { return t.op != 'p' || static_cast<long>(parts.size()) == t.parts; });
}

struct Candidate {
    long first = 0, last = 0;
    bool minus = false;
};

// "downstream" on the strand of the series: after `prev` in the direction of the features.
bool Downstream(const Candidate& c, const Candidate& prev) {
    return c.minus ? c.last < prev.first : c.first > prev.last;
}
bool Nearer(const Candidate& a, const Candidate& b) { return a.minus ? a.last > b.last : a.first < b.first; }

}  // namespace

std::vector<MapRegion> ReadFeatureMap(const std::string& path, std::vector<std::string>& problems) {
    builder::LineReader in(path);
    const size_t before = problems.size();
    std::vector<MapRegion> regions;
    std::map<std::string, int> column;
    std::string line;
    auto problem = [&](const std::string& m) { problems.push_back(Where(path, in.LineNumber(), m)); };
    while (in.Next(line)) {
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        std::vector<std::string> f = SplitTabs(line);
        if (column.empty()) {
            for (size_t i = 0; i < f.size(); ++i) column.emplace(f[i], static_cast<int>(i));
            for (const char* name : {"region", "kind", "key", "qualifiers", "part"}) {
                if (column.count(name)) continue;
                problem(std::string("the header has no column \"") + name + "\"");
                return {};
            }
            continue;
        }
        auto field = [&](const char* name) {
            int i = column[name];
            return i < static_cast<int>(f.size()) ? f[static_cast<size_t>(i)] : std::string();
        };
        MapRegion r;
        r.name = field("region");
        const std::string kind = field("kind"), part = field("part");
        if (r.name.empty()) {
            problem("empty region name");
            continue;
        }
        if (kind != "CR" && kind != "VR") {
            problem("kind must be CR or VR, not \"" + kind + "\"");
            continue;
        }
        r.isCR = kind == "CR";
        r.gap = part == "gap";
        FeatureRule rule;
        rule.line = in.LineNumber();
        rule.key = field("key");
        if (!r.gap) {
            if (part == "all") rule.part = 0;
            else if (!ParseLong(part, rule.part) || rule.part == 0) {
                problem("part must be all, gap or a part number (1 the first, -1 the last), not \"" + part + "\"");
                continue;
            }
            if (rule.key.empty() || rule.key == "-") {
                problem("region " + r.name + " needs a feature key");
                continue;
            }
            bool bad = false;
            for (const auto& w : Words(field("qualifiers"))) {
                if (w == "-") continue;
                FeatureTest t;
                if (!ParseTest(w, t)) {
                    problem("cannot read the test \"" + w + "\" (write /name=value, /name~text, /name or parts=N)");
                    bad = true;
                }
                rule.tests.push_back(t);
            }
            if (bad) continue;
            r.rules.push_back(rule);
        }
        if (!regions.empty() && regions.back().name == r.name) {
            MapRegion& last = regions.back();
            if (last.gap || r.gap || last.isCR != r.isCR)
                problem("region " + r.name + ": alternatives must be of one kind and not gaps");
            else last.rules.push_back(rule);
            continue;
        }
        if (std::any_of(regions.begin(), regions.end(), [&](const MapRegion& m) { return m.name == r.name; })) {
            problem("the rows of region " + r.name + " must stand together");
            continue;
        }
        if (r.gap && (regions.empty() || regions.back().gap)) {
            problem("a gap region needs a region found by its feature before it");
            continue;
        }
        regions.push_back(r);
    }
    if (problems.size() > before) return regions;
    if (column.empty()) problems.push_back(Where(path, 0, "no header row"));
    else if (regions.empty()) problems.push_back(Where(path, 0, "no regions"));
    else if (regions.back().gap) problems.push_back(Where(path, 0, "a gap region needs a region after it"));
    return regions;
}

bool FindRegions(const FlatRecord& record, const std::vector<MapRegion>& map, long flank, long maxSpan,
                 FoundRecord& found, std::string& why) {
    const long length = static_cast<long>(record.sequence.size());
    std::vector<std::optional<std::vector<Part>>> parts(record.features.size());
    // Candidates of each region found by features (gaps have none).
    std::vector<std::vector<Candidate>> cands(map.size());
    for (size_t f = 0; f < record.features.size(); ++f) {
        const Feature& feat = record.features[f];
        for (size_t k = 0; k < map.size(); ++k) {
            for (const auto& rule : map[k].rules) {
                if (!PassesQualifiers(feat, rule)) continue;
                // Only the locations of features that a rule asks for must be readable.
                if (!parts[f]) {
                    std::vector<Part> p;
                    std::string error;
                    if (!ParseLocation(feat.location, p, error)) {
                        why = "feature " + feat.key + " on line " + std::to_string(feat.line) + ": " + error;
                        return false;
                    }
                    for (const Part& q : p)
                        if (q.last > length) {
                            why = "feature " + feat.key + " on line " + std::to_string(feat.line) +
                                  " reaches beyond the sequence (" + std::to_string(length) + " bases)";
                            return false;
                        }
                    parts[f] = std::move(p);
                }
                const std::vector<Part>& p = *parts[f];
                if (!PassesParts(p, rule)) continue;
                const long n = static_cast<long>(p.size());
                if (rule.part == 0) {
                    bool oneStrand =
                        std::all_of(p.begin(), p.end(), [&](const Part& q) { return q.minus == p[0].minus; });
                    if (oneStrand) {
                        Candidate c{p[0].first, p[0].last, p[0].minus};
                        for (const Part& q : p) c.first = std::min(c.first, q.first), c.last = std::max(c.last, q.last);
                        cands[k].push_back(c);
                    }
                } else if (std::labs(rule.part) <= n) {
                    const Part& q = p[static_cast<size_t>(rule.part > 0 ? rule.part - 1 : n + rule.part)];
                    cands[k].push_back(Candidate{q.first, q.last, q.minus});
                }
                break;  // the first rule a feature passes gives its part
            }
        }
    }
    std::vector<size_t> placed;  // the regions found by features
    for (size_t k = 0; k < map.size(); ++k)
        if (!map[k].gap) placed.push_back(k);
    if (placed.empty()) {  // a map that ReadFeatureMap refuses; nothing to anchor a series on
        why = "the map has no region that a feature gives";
        return false;
    }
    std::vector<Candidate> best;
    long bestSpan = -1;
    size_t furthest = 0;  // how far the best attempt got, for the message
    for (const Candidate& anchor : cands[placed[0]]) {
        std::vector<Candidate> series{anchor};
        for (size_t i = 1; i < placed.size(); ++i) {
            const Candidate* next = nullptr;
            for (const Candidate& c : cands[placed[i]])
                if (c.minus == anchor.minus && Downstream(c, series.back()) && (!next || Nearer(c, *next))) next = &c;
            if (!next) break;
            series.push_back(*next);
        }
        furthest = std::max(furthest, series.size());
        if (series.size() != placed.size()) continue;
        long span = anchor.minus ? anchor.last - series.back().first + 1 : series.back().last - anchor.first + 1;
        if (bestSpan < 0 || span < bestSpan) best = series, bestSpan = span;
    }
    if (best.empty()) {
        if (furthest == 0) why = "no feature for region " + map[placed[0]].name;
        else
            why = "no region " + map[placed[furthest]].name + " after region " + map[placed[furthest - 1]].name +
                  " on the same strand";
        return false;
    }
    if (bestSpan > maxSpan) {
        why = "its regions spread over " + std::to_string(bestSpan) + " bases (more than " + std::to_string(maxSpan) +
              ")";
        return false;
    }
    const bool minus = best[0].minus;
    // Every region on the forward strand, gaps between their neighbours.
    std::vector<Candidate> at(map.size());
    for (size_t i = 0; i < placed.size(); ++i) at[placed[i]] = best[i];
    for (size_t k = 0; k < map.size(); ++k) {
        if (!map[k].gap) continue;
        const Candidate &prev = at[k - 1], &next = at[k + 1];
        at[k] =
            minus ? Candidate{next.last + 1, prev.first - 1, true} : Candidate{prev.last + 1, next.first - 1, false};
    }
    const long lo = minus ? best.back().first : best.front().first;
    const long hi = minus ? best.front().last : best.back().last;
    found = FoundRecord{};
    found.name = (record.organism.empty() ? "" : record.organism + " ") + record.accession;
    found.genomeStart = std::max(1L, lo - flank);
    found.genomeEnd = std::min(length, hi + flank);
    found.minus = minus;
    std::string stretch = record.sequence.substr(static_cast<size_t>(found.genomeStart - 1),
                                                 static_cast<size_t>(found.genomeEnd - found.genomeStart + 1));
    found.sequence = minus ? ReverseComplement(stretch) : stretch;
    for (size_t k = 0; k < map.size(); ++k) {
        const Candidate& c = at[k];
        FoundRegion r{map[k].name, map[k].isCR, 0, 0};
        r.start = minus ? found.genomeEnd - c.last + 1 : c.first - found.genomeStart + 1;
        r.end = minus ? found.genomeEnd - c.first + 1 : c.last - found.genomeStart + 1;
        found.regions.push_back(r);
    }
    return true;
}

}  // namespace varigap::genbank
