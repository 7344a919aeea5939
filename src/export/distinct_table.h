// The distinct reads of each sample with their read counts: the dereplicated reads of a run,
// and what counts distinct reads exactly across the shards of a split run.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/textfile.h"
#include "export/sorted_runs.h"

namespace varigap::exports {

class DistinctTable {
public:
    // What the table keeps of a read: its bases, or, for a table that is only counted, a 64-bit
    // hash of them. Two different reads of a sample with the same hash count as one: among n
    // distinct reads that happens with a chance of at most n(n-1)/2^65 (10 million: 3 in a
    // million).
    enum class Keys { Bases, Hashes };
    static constexpr size_t kMemory = size_t{32} << 20;

    // Rows beyond `memory` bytes go to sorted runs in a temporary file in `spillDir` ($TMPDIR,
    // else /tmp, when empty), merged when the table is read out.
    explicit DistinctTable(Keys keys = Keys::Bases, size_t memory = kMemory, std::string spillDir = "");
    DistinctTable(const DistinctTable&) = delete;
    DistinctTable& operator=(const DistinctTable&) = delete;

    // The index of sample `name`, added after the others when new.
    size_t Sample(const std::string& name);
    void Add(size_t sample, std::string_view sequence, long long reads);
    // Takes over every sequence of `other` by sample name and sequence (its temporary runs as
    // they are); `other` holds nothing any more.
    void Add(DistinctTable&& other);

    // Writes "sample sequence reads" and a row per sample and sequence: samples in the order
    // they came, sequences sorted bytewise. The text is handed on in pieces. Once a table is
    // read out (Write, Distinct, Reads) nothing more is added to it. Throws std::runtime_error
    // when its temporary file failed, and std::logic_error for a table of hashes.
    void Write(const std::function<void(const std::string&)>& out);
    // Adds a table as Write writes it; false with the reason ("line N: ...").
    bool Read(TextReader& in, std::string& error);

    const std::vector<std::string>& Samples() const { return samples_; }
    // The distinct sequences of sample `name` and their reads; 0 for a sample not in the table.
    // Throws std::runtime_error when its temporary file failed.
    long long Distinct(const std::string& name);
    long long Reads(const std::string& name);

    // A count added up beyond kMostReads (and held there).
    bool Overflowed() const { return overflowed_; }

    // What the table was made with, as CountsTable::madeWith.
    std::string madeWith;

private:
    struct Entry {
        uint32_t sample;
        std::string_view key;
        long long count;
    };
    struct Totals {
        long long distinct = 0, reads = 0;
    };
    class MemoryCursor;

    void AddKey(size_t sample, std::string_view key, long long reads);
    Entry EntryAt(size_t offset) const;
    // The slot of `key` in the index, or the empty slot where it goes.
    size_t Slot(uint64_t hash, size_t sample, std::string_view key) const;
    // Whether a new entry of `bytes` fits in the memory given, the index grown when needed.
    bool Room(size_t bytes);
    // Leaves the index's first entries_ slots in (sample, key) order.
    void SortIndex();
    // Writes the rows held in memory as a sorted run, and merges runs when there are many.
    void Spill();
    void MergeSmallestRuns();
    // Hands on every row in order (and counts them per sample).
    void ForEachRow(const std::function<void(uint32_t, std::string_view, long long)>& row);
    void Fail(const std::exception& e);
    const Totals& TotalsOf(const std::string& name);

    Keys keys_;
    size_t memory_;
    std::string spillDir_;
    std::vector<std::string> samples_;
    std::unordered_map<std::string, size_t> sampleIndex_;

    // In memory: entries one after another (sample 4 bytes, key length 4, count 8, the key),
    // found through an open-addressed index of (offset + 1) << 32 | 32 bits of the hash.
    std::string store_;
    std::vector<uint64_t> index_;
    size_t entries_ = 0;
    bool sealed_ = false;  // read out: the index is the entries in order

    std::shared_ptr<SpillFile> file_;
    std::vector<SortedRun> runs_;
    std::string error_;  // why the temporary file failed: the table is not whole
    std::optional<std::vector<Totals>> totals_;
    bool overflowed_ = false;
};

}  // namespace varigap::exports
