// The summary of a run: program, version, command line, parameters and, per sample, flat
// counters of reads. Counters add up exactly, so that jobs and shards of a run merge into the
// run's summary.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "export/distinct_table.h"

namespace varigap::exports {

class JsonReader;

class Summary {
public:
    std::string program, version, commandLine;
    std::string parameters = "{}";  // a JSON object, as written
    std::string madeWith;           // what the run was made with (exports::MadeWithText); "" = not said

    // The index of sample `name`, added after the others when new.
    size_t Sample(const std::string& name);
    // Adds `value` to counter `key` of sample `sample`; a new key goes after the others.
    void Add(size_t sample, const std::string& key, long long value);
    // Adds every counter of `other`, by sample name and key.
    void Add(const Summary& other);
    // Sets distinct_reads of every sample to its count in `distinct`; false with the reason
    // when a sample's reads differ from the table's (a table of another run) or the table is
    // not whole (its temporary file failed).
    bool TakeDistinct(DistinctTable& distinct, std::string& error);

    // The JSON text: keys in a fixed order, a sample's counters in the order they came.
    std::string Json() const;
    // Adds a summary as Json writes it (program, version, command line, parameters and what it
    // was made with are taken when none are set yet); false with the reason, also for a JSON
    // object without program, version and samples.
    bool Read(const std::string& text, std::string& error);

    const std::vector<std::string>& Samples() const { return samples_; }
    // A counter added up beyond kMostReads (and held there).
    bool Overflowed() const { return overflowed_; }
    long long Get(const std::string& sample, const std::string& key) const;

    // Reads per length (bases between its conserved regions) of a variable region, named
    // "TEMPLATE:V". Declare gives each sample its variable regions in a fixed order (that of
    // the templates), whichever job or shard sees a length first.
    using Lengths = std::map<int, long long>;
    void Declare(size_t sample, const std::string& vr);
    void AddLength(size_t sample, const std::string& vr, int length, long long reads);
    const std::vector<std::pair<std::string, Lengths>>& LengthsOf(size_t sample) const { return lengths_[sample]; }

private:
    static bool ReadLengths(JsonReader& in, Summary& read);

    struct Counters {
        std::vector<std::pair<std::string, long long>> values;
        std::unordered_map<std::string, size_t> index;
    };
    std::vector<std::string> samples_;
    std::unordered_map<std::string, size_t> sampleIndex_;
    std::vector<Counters> counters_;                                     // by sample
    std::vector<std::vector<std::pair<std::string, Lengths>>> lengths_;  // by sample, then VR
    bool overflowed_ = false;
};

// The version of the summary's layout: 2 added "schema_version" and "vr_lengths", 3
// "vote_table_full". Only keys are added from one version to the next, so that readers of an
// earlier one go on working.
inline constexpr int kSummarySchemaVersion = 3;

// The counters every sample has first, in this order.
inline constexpr const char* kSampleCounters[] = {
    "reads",         "distinct_reads",      "reverse_reads",     "no_cr_reads",    "skipped_too_long",
    "skipped_empty", "skipped_bad_letters", "skipped_malformed", "vote_table_full"};

}  // namespace varigap::exports
