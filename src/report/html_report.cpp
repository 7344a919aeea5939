// The report of a run as one self-contained HTML page.
#include "report/html_report.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>

#include "export/counts_rows.h"
#include "export/json.h"
#include "report/assets.h"

namespace varigap::report {

namespace {

using exports::CountsTable;
using exports::JsonQuote;

struct TaxaReads {
    std::string taxa;
    std::vector<long long> reads;  // by sample
    long long total = 0;
};

struct VrTaxa {
    std::vector<TaxaReads> taxa;  // identified, in first-seen order until sorted
    std::unordered_map<std::string, size_t> index;
    std::vector<long long> unidentified;
};

std::string Array(const std::vector<long long>& values) {
    std::string a = "[";
    for (size_t i = 0; i < values.size(); ++i) a += (i ? ", " : "") + std::to_string(values[i]);
    return a + "]";
}

// JSON that may stand inside a <script> element: every "<" (only ever inside strings) as
// \u003c, so that no "</script" or "<!--" of a name can end or bend the element.
std::string ScriptSafe(const std::string& json) {
    std::string safe;
    safe.reserve(json.size());
    for (char c : json) c == '<' ? safe += "\\u003c" : safe += c;
    return safe;
}

}  // namespace

std::string ReportData(const exports::Summary& summary, const CountsTable& counts) {
    const auto& samples = summary.Samples();
    std::vector<size_t> column;  // counts column -> summary sample (samples.size(): not in the summary)
    for (const auto& name : counts.Samples()) {
        auto it = std::find_if(samples.begin(), samples.end(),
                               [&](const std::string& s) { return exports::TsvClean(s) == name; });
        column.push_back(static_cast<size_t>(it - samples.begin()));
    }
    std::map<std::pair<std::string, long long>, VrTaxa> byVr;  // by template and VR number
    for (const auto& row : exports::CountsRows(counts)) {
        const auto& k = row.key;
        long long vr = 0;
        if (k[0] == CountsTable::kNoTemplate || !exports::ParseCount(k[1], vr)) continue;
        VrTaxa& v = byVr[{k[0], vr}];
        v.unidentified.resize(samples.size(), 0);
        std::vector<long long>* into = &v.unidentified;
        if (!(k[3].empty() && k[4] == CountsTable::kUnidentified)) {
            const std::string name = k[4].empty() ? "variant " + k[3] : k[4];
            auto [it, added] = v.index.emplace(name, v.taxa.size());
            if (added) v.taxa.push_back({name, std::vector<long long>(samples.size(), 0), 0});
            into = &v.taxa[it->second].reads;
            v.taxa[it->second].total += std::accumulate(row.reads.begin(), row.reads.end(), 0LL);
        }
        for (size_t c = 0; c < row.reads.size() && c < column.size(); ++c)
            if (column[c] < samples.size()) (*into)[column[c]] += row.reads[c];
    }
    std::string taxa;
    for (auto& [vr, v] : byVr) {
        std::stable_sort(v.taxa.begin(), v.taxa.end(), [](const TaxaReads& a, const TaxaReads& b) {
            return a.total != b.total ? a.total > b.total : a.taxa < b.taxa;
        });
        std::vector<long long> other(samples.size(), 0);
        std::string top;
        for (size_t t = 0; t < v.taxa.size(); ++t) {
            if (t >= kTopTaxa) {
                for (size_t s = 0; s < samples.size(); ++s) other[s] += v.taxa[t].reads[s];
                continue;
            }
            top += (t ? ", " : "") + std::string("{\"taxa\": ") + JsonQuote(v.taxa[t].taxa) +
                   ", \"reads\": " + Array(v.taxa[t].reads) + "}";
        }
        taxa += (taxa.empty() ? "" : ",\n") + JsonQuote(vr.first + ":" + std::to_string(vr.second)) + ": {\"top\": [" +
                top + "], \"other\": " + Array(other) + ", \"unidentified\": " + Array(v.unidentified) + "}";
    }
    return "{\"summary\": " + summary.Json() + ", \"taxa\": {" + taxa + "}}";
}

std::string HtmlReport(const exports::Summary& summary, const CountsTable& counts) {
    // No request leaves the page: everything it needs is inside (Vega compiles its expressions,
    // hence 'unsafe-eval').
    return std::string(
               "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
               "script-src 'unsafe-inline' 'unsafe-eval'; style-src 'unsafe-inline'; img-src data:\">\n"
               "<title>Varigap report</title>\n<style>\n") +
           kReportStyle + "</style>\n</head>\n<body>\n<h1 id=\"title\">Varigap report</h1>\n" +
           "<noscript>The charts and tables of this report need JavaScript.</noscript>\n<main id=\"main\"></main>\n" +
           "<script type=\"application/json\" id=\"varigap-data\">\n" + ScriptSafe(ReportData(summary, counts)) +
           "\n</script>\n<script>\n" + kVegaScript + "</script>\n<script>\n" + kReportScript + "</script>\n" +
           "</body>\n</html>\n";
}

}  // namespace varigap::report
