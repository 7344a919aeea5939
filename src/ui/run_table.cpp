// The results table of a whole run.
#include "ui/run_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace varigap::ui {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> f;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        f.push_back(line.substr(start, tab - start));
    f.push_back(line.substr(start));
    return f;
}

int Number(const std::string& s) {
    int n = 0;
    std::from_chars(s.data(), s.data() + s.size(), n);
    return n;
}

// A name as a TSV field writes it: Tabs and line ends as blanks.
std::string AsField(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return s;
}

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
    for (auto& n : names_) n = AsField(n);
    numbers_ = std::move(numbers);
}

void RunTable::Take(const std::string& tsv) {
    partial_ += tsv;
    size_t start = 0;
    for (size_t end; (end = partial_.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = partial_.substr(start, end - start);
        // The run's first line is its header row, whichever columns it names.
        const bool header = tsv_.empty();
        tsv_ += line;
        tsv_ += '\n';
        if (!header) TakeRow(line);
    }
    partial_.erase(0, start);
}

RunRecord* RunTable::RecordOf(const std::string& name, int line) {
    // A row of the same record: the same name and a later line.
    if (!records_.empty() && records_.back().name == name && line > lastLine_ && !records_.back().templ.empty())
        return &records_.back();
    for (; next_ < names_.size(); ++next_) {
        RunRecord r;
        r.index = indexes_[next_];
        r.number = numbers_[next_];
        r.name = names_[next_];
        const bool found = r.name == name;
        records_.push_back(std::move(r));
        if (found) {
            ++next_;
            return &records_.back();
        }
    }
    return nullptr;  // a row of no record of the run: not listed
}

void RunTable::TakeRow(const std::string& line) {
    // sequence template line kind region start end flag region_name variant taxa bases sample strand
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() < 14) return;
    const int lineNumber = Number(f[2]);
    RunRecord* r = RecordOf(f[0], lineNumber);
    lastLine_ = lineNumber;
    if (!r) return;
    r->templ = f[1];
    r->strand = f[13].empty() ? ' ' : f[13][0];
    if (f[3] != "VR") return;
    const int vr = Number(f[4]);
    if (vr < 1) return;
    if (r->vrs.size() < static_cast<size_t>(vr)) r->vrs.resize(static_cast<size_t>(vr));
    numVRs_ = std::max(numVRs_, r->vrs.size());
    r->vrs[static_cast<size_t>(vr - 1)] = {f[9], f[10], f[7]};
}

void RunTable::Finish(bool whole) {
    if (!whole) return;
    for (; next_ < names_.size(); ++next_) {
        RunRecord r;
        r.index = indexes_[next_];
        r.number = numbers_[next_];
        r.name = names_[next_];
        records_.push_back(std::move(r));
    }
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
