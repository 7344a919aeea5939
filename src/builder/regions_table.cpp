// REGIONS.tsv: the header names the columns; each row is checked on its own.
#include "builder/regions_table.h"
#include "core/strings.h"

#include <charconv>
#include <map>

#include "builder/line_reader.h"

namespace varigap::builder {

namespace {

bool ParsePosition(const std::string& text, long& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

}  // namespace

std::vector<RegionRow> ReadRegionsTable(const std::string& path, const std::string& groupColumn,
                                        std::vector<std::string>& problems) {
    LineReader in(path);
    std::vector<RegionRow> rows;
    std::map<std::string, int> column;                         // name -> index
    std::map<std::pair<std::string, std::string>, long> seen;  // (sequence, region) -> line
    std::string line;
    auto problem = [&](const std::string& message) { problems.push_back(Where(path, in.LineNumber(), message)); };
    while (in.Next(line)) {
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        std::vector<std::string> f = SplitTabs(line);
        if (column.empty()) {
            for (size_t i = 0; i < f.size(); ++i) column.emplace(f[i], static_cast<int>(i));
            std::vector<std::string> required{"sequence", "region", "kind", "start", "end"};
            if (!groupColumn.empty()) required.push_back(groupColumn);
            for (const auto& name : required) {
                if (column.count(name) == 0) {
                    problem("the header has no column \"" + name + "\"");
                    return {};
                }
            }
            continue;
        }
        auto field = [&](const std::string& name) -> std::string {
            auto it = column.find(name);
            return it == column.end() || it->second >= static_cast<int>(f.size()) ? std::string() : f[it->second];
        };
        RegionRow r;
        r.line = in.LineNumber();
        r.sequence = field("sequence");
        r.region = field("region");
        r.taxon = field("taxon");
        if (r.taxon.empty()) r.taxon = r.sequence;
        if (!groupColumn.empty()) r.group = field(groupColumn);
        const std::string kind = field("kind");
        if (r.sequence.empty() || r.region.empty()) {
            problem("sequence and region must not be empty");
            continue;
        }
        if (kind == "CR" || kind == "cr") {
            r.isCR = true;
        } else if (kind != "VR" && kind != "vr") {
            problem("kind must be CR or VR, not \"" + kind + "\"");
            continue;
        }
        if (!ParsePosition(field("start"), r.start) || !ParsePosition(field("end"), r.end) || r.start < 1) {
            problem("start and end must be whole numbers, start from 1 (\"" + field("start") + "\", \"" + field("end") +
                    "\")");
            continue;
        }
        if (r.end < r.start - (r.isCR ? 0 : 1)) {
            problem(std::string(r.isCR ? "a conserved region needs at least one base" : "end before start") + " (" +
                    std::to_string(r.start) + ".." + std::to_string(r.end) + ")");
            continue;
        }
        if (!groupColumn.empty() && r.group.empty()) {
            problem("empty " + groupColumn);
            continue;
        }
        auto [it, fresh] = seen.emplace(std::make_pair(r.sequence, r.region), r.line);
        if (!fresh) {
            problem("region \"" + r.region + "\" of \"" + r.sequence + "\" is given again (first on line " +
                    std::to_string(it->second) + ")");
            continue;
        }
        rows.push_back(std::move(r));
    }
    if (column.empty()) problems.push_back(Where(path, 0, "no header row"));
    return rows;
}

}  // namespace varigap::builder
