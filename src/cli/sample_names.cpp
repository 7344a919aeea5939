// The samples of a run's sequence files.
#include "cli/sample_names.h"

#include <unordered_map>

#include "export/counts_table.h"
#include "seqio/mate_pairs.h"
#include "seqio/sequence_file.h"

namespace varigap::cli {

bool NameSamples(const std::vector<std::string>& files, const std::vector<std::string>& given,
                 std::vector<std::string>& samples, std::string& error, bool pairs) {
    samples.clear();
    if (pairs) {
        std::vector<std::string> ones, names;
        for (size_t i = 0; i + 1 < files.size(); i += 2) {
            ones.push_back(files[i]);
            names.push_back(given[i].empty() ? seqio::PairSampleName(files[i]) : given[i]);
        }
        if (!NameSamples(ones, names, samples, error)) return false;
        std::vector<std::string> both;
        for (const auto& s : samples) both.insert(both.end(), {s, s});
        samples = both;
        return true;
    }
    // By the name the tables write: names that differ only where a Tab was are one sample there.
    std::unordered_map<std::string, size_t> first;
    for (size_t i = 0; i < files.size(); ++i) {
        samples.push_back(given[i].empty() ? seqio::SampleName(files[i]) : given[i]);
        auto [it, added] = first.emplace(exports::TsvClean(samples[i]), i);
        const size_t j = it->second;
        if (added || (!given[i].empty() && !given[j].empty() && samples[i] == samples[j])) continue;
        error = "Sequence files \"" + files[j] + "\" and \"" + files[i] + "\" would both be sample \"" + it->first +
                "\": name each with --sample NAME before it (files given the same name are pooled in one sample).";
        return false;
    }
    return true;
}

}  // namespace varigap::cli
