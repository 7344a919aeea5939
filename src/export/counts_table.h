// The variant-by-sample table of a run: reads per (template, VR, selected variant) and sample,
// a value that adds up exactly, so that jobs and shards of a run merge into the run's table.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/strings.h"
#include "core/textfile.h"

namespace varigap::exports {

class CountsTable {
public:
    // template, vr (number), vr_file, variant, taxa; fields hold no Tab or line break.
    using Key = std::array<std::string, 5>;
    static constexpr const char* kNoTemplate = "no template";
    static constexpr const char* kUnidentified = "unidentified";

    // The index of sample `name`, added after the others when new.
    size_t Sample(const std::string& name);
    // The index of the row of `key` (Tabs and line breaks in its fields become blanks), added
    // with no reads when new.
    size_t Row(const Key& key);
    // The same for the fields given one by one (without copying them for a row that exists).
    size_t Row(std::string_view tmpl, std::string_view vr, std::string_view vrFile, std::string_view variant,
               std::string_view taxa);
    void Add(size_t row, size_t sample, long long reads);
    // Adds every row of `other`, by key, and its samples, by name (new ones after the others).
    void Add(const CountsTable& other);

    // A header row "template vr vr_file variant taxa SAMPLE..." and every row, by total reads
    // (largest first), then variant, template, vr (as a number), taxa and vr_file.
    std::string Text() const;
    // Adds a table as Text writes it; false with the reason ("line N: ...").
    bool Read(TextReader& in, std::string& error);

    const std::vector<std::string>& Samples() const { return samples_; }
    // A count added up beyond kMostReads (and held there).
    bool Overflowed() const { return overflowed_; }

    // What the table was made with (exports::MadeWithText), its first line when not empty;
    // Read sets it from the table read ("" when it has no such line).
    std::string madeWith;

private:
    std::vector<std::string> samples_;
    std::unordered_map<std::string, size_t> sampleIndex_;
    std::vector<Key> keys_;
    std::vector<std::vector<long long>> reads_;         // by row, then sample (short rows: 0 after)
    std::unordered_map<std::string, size_t> rowIndex_;  // by the key's fields joined with Tabs
    std::string joined_;                                // scratch of Row
    bool overflowed_ = false;
};

// The most reads a count holds as the tables and the summary write it (18 digits).
inline constexpr long long kMostReads = 999'999'999'999'999'999;
// Adds `n` to `to` (both within kMostReads in size); false, with `to` held at kMostReads, when
// the sum is more: a merged count must read back as it was written.
inline bool AddReads(long long& to, long long n) {
    to += n;
    if (to <= kMostReads) return true;
    to = kMostReads;
    return false;
}

// Tabs and line breaks in a field written as blanks.
std::string TsvClean(std::string_view field);
// A count as written: digits only, at most 18 of them; false otherwise.
bool ParseCount(const std::string& text, long long& value);

}  // namespace varigap::exports
