// The variant-by-sample table of a run, written and read as TSV and added up exactly.
#include "export/counts_table.h"
#include "core/strings.h"
#include "export/made_with.h"

#include <algorithm>
#include <numeric>

namespace varigap::exports {

namespace {

constexpr const char* kColumns[] = {"template", "vr", "vr_file", "variant", "taxa"};

// The vr column as a number, for sorting; 0 for the "no template" row's empty field.
long long VrNumber(const std::string& vr) {
    long long n = 0;
    return ParseCount(vr, n) ? n : 0;
}

bool Fail(std::string& error, long line, const std::string& why) {
    error = "line " + std::to_string(line) + ": " + why;
    return false;
}

}  // namespace

std::string TsvClean(std::string_view field) {
    std::string f(field);
    for (char& c : f)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return f;
}

bool ParseCount(const std::string& text, long long& value) {
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::stoll(text);
    return true;
}

size_t CountsTable::Sample(const std::string& name) {
    const std::string clean = TsvClean(name);
    auto [it, added] = sampleIndex_.emplace(clean, samples_.size());
    if (added) samples_.push_back(clean);
    return it->second;
}

size_t CountsTable::Row(const Key& key) { return Row(key[0], key[1], key[2], key[3], key[4]); }

size_t CountsTable::Row(std::string_view tmpl, std::string_view vr, std::string_view vrFile, std::string_view variant,
                        std::string_view taxa) {
    joined_.clear();
    for (std::string_view field : {tmpl, vr, vrFile, variant, taxa}) {
        for (char c : field) joined_ += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        joined_ += '\t';
    }
    if (auto it = rowIndex_.find(joined_); it != rowIndex_.end()) return it->second;
    rowIndex_.emplace(joined_, keys_.size());
    keys_.push_back(Key{TsvClean(tmpl), TsvClean(vr), TsvClean(vrFile), TsvClean(variant), TsvClean(taxa)});
    reads_.emplace_back();
    return keys_.size() - 1;
}

void CountsTable::Add(size_t row, size_t sample, long long reads) {
    std::vector<long long>& r = reads_[row];
    if (r.size() <= sample) r.resize(sample + 1, 0);
    if (!AddReads(r[sample], reads)) overflowed_ = true;
}

void CountsTable::Add(const CountsTable& other) {
    std::vector<size_t> sampleOf;
    for (const auto& s : other.samples_) sampleOf.push_back(Sample(s));
    for (size_t row = 0; row < other.keys_.size(); ++row) {
        const size_t mine = Row(other.keys_[row]);
        const auto& reads = other.reads_[row];
        for (size_t s = 0; s < reads.size(); ++s) Add(mine, sampleOf[s], reads[s]);
    }
}

std::string CountsTable::Text() const {
    std::vector<long long> total(keys_.size());
    for (size_t row = 0; row < keys_.size(); ++row)
        for (long long reads : reads_[row]) AddReads(total[row], reads);  // for the order only
    std::vector<size_t> order(keys_.size());
    std::iota(order.begin(), order.end(), 0);
    // A total order on rows, so that a table read back and added up sorts the same.
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const Key &ka = keys_[a], &kb = keys_[b];
        if (total[a] != total[b]) return total[a] > total[b];
        if (ka[3] != kb[3]) return ka[3] < kb[3];
        if (ka[0] != kb[0]) return ka[0] < kb[0];
        if (const long long va = VrNumber(ka[1]), vb = VrNumber(kb[1]); va != vb) return va < vb;
        if (ka[4] != kb[4]) return ka[4] < kb[4];
        if (ka[1] != kb[1]) return ka[1] < kb[1];
        return ka[2] < kb[2];
    });
    std::string text = kColumns[0];
    for (size_t c = 1; c < std::size(kColumns); ++c) text += std::string("\t") + kColumns[c];
    for (const auto& s : samples_) text += "\t" + s;
    text += '\n';
    if (!madeWith.empty()) text += kMadeWithLine + madeWith + "\n";
    for (size_t row : order) {
        text += keys_[row][0];
        for (size_t c = 1; c < keys_[row].size(); ++c) text += "\t" + keys_[row][c];
        for (size_t s = 0; s < samples_.size(); ++s)
            text += "\t" + std::to_string(s < reads_[row].size() ? reads_[row][s] : 0);
        text += '\n';
    }
    return text;
}

bool CountsTable::Read(TextReader& in, std::string& error) {
    std::string line;
    const size_t keyColumns = std::size(kColumns);
    if (!in.ReadLine(line)) return Fail(error, 1, "no header row");
    const std::vector<std::string> header = SplitTabs(line);
    if (header.size() < keyColumns || !std::equal(std::begin(kColumns), std::end(kColumns), header.begin()))
        return Fail(error, 1, "the header row does not begin with template, vr, vr_file, variant and taxa");
    std::vector<size_t> sampleOf;
    for (size_t i = keyColumns; i < header.size(); ++i) {
        const auto named = header.begin() + static_cast<long>(i);
        if (header[i].empty() || std::find(header.begin() + static_cast<long>(keyColumns), named, header[i]) != named)
            return Fail(error, 1, "sample \"" + header[i] + "\" is empty or given twice");
        sampleOf.push_back(Sample(header[i]));
    }
    madeWith.clear();
    const std::string made = kMadeWithLine;
    for (long number = 2; in.ReadLine(line); ++number) {
        if (number == 2 && line.rfind(made, 0) == 0) {
            madeWith = line.substr(made.size());
            continue;
        }
        const std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() != header.size())
            return Fail(error, number, std::to_string(fields.size()) + " fields, not " + std::to_string(header.size()));
        const size_t row = Row(Key{fields[0], fields[1], fields[2], fields[3], fields[4]});
        for (size_t i = keyColumns; i < fields.size(); ++i) {
            long long reads = 0;
            if (!ParseCount(fields[i], reads))
                return Fail(error, number, "\"" + fields[i] + "\" is not a count of reads");
            Add(row, sampleOf[i - keyColumns], reads);
            if (overflowed_) return Fail(error, number, "the reads add up to more than a count holds");
        }
    }
    return true;
}

}  // namespace varigap::exports
