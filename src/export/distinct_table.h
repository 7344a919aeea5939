// The distinct reads of each sample with their read counts: the dereplicated reads of a run,
// and what counts distinct reads exactly across the shards of a split run.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/textfile.h"

namespace varigap::exports {

class DistinctTable {
public:
    // The index of sample `name`, added after the others when new.
    size_t Sample(const std::string& name);
    void Add(size_t sample, std::string_view sequence, long long reads);
    // Adds every sequence of `other` by sample name and sequence.
    void Add(const DistinctTable& other);

    // Writes "sample sequence reads" and a row per sample and sequence: samples in the order
    // they came, sequences sorted bytewise. The text is handed on in pieces.
    void Write(const std::function<void(const std::string&)>& out) const;
    // Adds a table as Write writes it; false with the reason ("line N: ...").
    bool Read(TextReader& in, std::string& error);

    const std::vector<std::string>& Samples() const { return samples_; }
    // The distinct sequences of sample `name` and their reads; 0 for a sample not in the table.
    long long Distinct(const std::string& name) const;
    long long Reads(const std::string& name) const;

    // A count added up beyond kMostReads (and held there).
    bool Overflowed() const { return overflowed_; }

    // What the table was made with, as CountsTable::madeWith.
    std::string madeWith;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    using Sequences = std::unordered_map<std::string, long long, Hash, std::equal_to<>>;

    std::vector<std::string> samples_;
    std::unordered_map<std::string, size_t> sampleIndex_;
    std::vector<Sequences> sequences_;  // by sample
    bool overflowed_ = false;
};

}  // namespace varigap::exports
