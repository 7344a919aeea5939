// The results table of a whole run.
#include "ui/run_table.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "export/listing.h"

namespace varigap::ui {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string RunRecord::Taxon() const {
    if (templ.empty()) return "no template";
    std::string t;
    for (size_t v = 0; v < vrs.size(); ++v) {
        if (v) t += " | ";
        t += vrs[v].taxa.empty() ? "unidentified" : vrs[v].taxa;
    }
    return t.empty() ? "unidentified" : t;
}

void RunTable::Begin(std::vector<int> indexes, std::vector<std::string> names, std::vector<long> numbers) {
    *this = RunTable{};
    indexes_ = std::move(indexes);
    names_ = std::move(names);
    for (auto& n : names_) n = exports::TsvField(n);
    numbers_ = std::move(numbers);
}

RunRow RowOf(const Session& session, long number, const ReadResult& r) {
    RunRow row;
    row.number = number;
    if (!r.analysed) return row;
    row.templ = exports::TsvField(session.templateName[r.templateNum]);
    row.strand = r.reverse ? '-' : '+';
    for (const ResultLine& l : r.lines) {
        if (l.kind != LineKind::Variable || l.vr < 1) continue;
        if (row.vrs.size() < static_cast<size_t>(l.vr)) row.vrs.resize(static_cast<size_t>(l.vr));
        row.vrs[static_cast<size_t>(l.vr - 1)] = {exports::TsvField(r.Variant(l)), exports::TsvField(r.Taxa(l)),
                                                  std::string(1, l.flag)};
    }
    return row;
}

void RunTable::ListUpTo(size_t number) {
    for (size_t k = records_.size(); k < number && k < names_.size(); ++k) {
        RunRecord r;
        r.index = indexes_[k];
        r.number = numbers_[k];
        r.name = names_[k];
        records_.push_back(std::move(r));
    }
}

void RunTable::Take(std::vector<RunRow> rows) {
    for (RunRow& row : rows) {
        if (row.number < 1 || static_cast<size_t>(row.number) > names_.size()) continue;  // of no record of the run
        ListUpTo(static_cast<size_t>(row.number));
        RunRecord& r = records_[static_cast<size_t>(row.number - 1)];
        r.templ = std::move(row.templ);
        r.strand = row.strand;
        r.vrs = std::move(row.vrs);
        numVRs_ = std::max(numVRs_, r.vrs.size());
    }
}

void RunTable::Finish(bool whole) {
    if (whole) ListUpTo(names_.size());
}

std::vector<std::string> RunTable::Header() const {
    std::vector<std::string> h{"#", "record", "template", "strand"};
    for (size_t v = 1; v <= numVRs_; ++v)
        for (const char* what : {" variant", " taxa", " flag"}) h.push_back("VR" + std::to_string(v) + what);
    return h;
}

std::vector<std::string> RunTable::Cells(const RunRecord& r) const {
    std::vector<std::string> c{std::to_string(r.number), r.name, r.templ.empty() ? "(not analyzed)" : r.templ,
                               std::string(1, r.strand)};
    for (size_t v = 0; v < numVRs_; ++v) {
        const RunRecord::VR vr = v < r.vrs.size() ? r.vrs[v] : RunRecord::VR{};
        c.insert(c.end(), {vr.variant, vr.taxa, vr.flag});
    }
    return c;
}

std::vector<int> RunTable::Shown(const std::string& filter, int column, bool ascending) const {
    const std::string wanted = Lower(filter);
    std::vector<int> shown;
    std::vector<std::vector<std::string>> cells(records_.size());
    for (size_t i = 0; i < records_.size(); ++i) {
        cells[i] = Cells(records_[i]);
        const bool match = wanted.empty() || std::any_of(cells[i].begin(), cells[i].end(), [&](const std::string& s) {
                               return Lower(s).find(wanted) != std::string::npos;
                           });
        if (match) shown.push_back(static_cast<int>(i));
    }
    if (column < 0 || column >= static_cast<int>(Header().size())) return shown;
    const size_t col = static_cast<size_t>(column);
    std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) {
        const std::string &x = cells[static_cast<size_t>(a)][col], &y = cells[static_cast<size_t>(b)][col];
        const bool less =
            col == 0 ? records_[static_cast<size_t>(a)].number < records_[static_cast<size_t>(b)].number : x < y;
        const bool greater =
            col == 0 ? records_[static_cast<size_t>(b)].number < records_[static_cast<size_t>(a)].number : y < x;
        return ascending ? less : greater;
    });
    return shown;
}

std::vector<TaxonCount> RunTable::Taxa() const {
    std::map<std::string, long> counts;
    for (const RunRecord& r : records_) ++counts[r.Taxon()];
    std::vector<TaxonCount> taxa;
    for (const auto& [taxon, reads] : counts)
        taxa.push_back({taxon, reads, records_.empty() ? 0 : static_cast<double>(reads) / records_.size()});
    std::stable_sort(taxa.begin(), taxa.end(),
                     [](const TaxonCount& a, const TaxonCount& b) { return a.reads > b.reads; });
    return taxa;
}

}  // namespace varigap::ui
