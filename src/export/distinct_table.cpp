// The distinct reads of each sample with their read counts, written and read as TSV.
#include "export/distinct_table.h"

#include <algorithm>

#include "export/counts_table.h"
#include "export/made_with.h"

namespace varigap::exports {

size_t DistinctTable::Sample(const std::string& name) {
    const std::string clean = TsvClean(name);
    auto [it, added] = sampleIndex_.emplace(clean, samples_.size());
    if (added) {
        samples_.push_back(clean);
        sequences_.emplace_back();
    }
    return it->second;
}

void DistinctTable::Add(size_t sample, std::string_view sequence, long long reads) {
    Sequences& s = sequences_[sample];
    if (auto it = s.find(sequence); it != s.end()) overflowed_ |= !AddReads(it->second, reads);
    else s.emplace(std::string(sequence), reads);
}

void DistinctTable::Add(const DistinctTable& other) {
    for (size_t s = 0; s < other.samples_.size(); ++s) {
        const size_t mine = Sample(other.samples_[s]);
        for (const auto& [sequence, reads] : other.sequences_[s]) Add(mine, sequence, reads);
    }
}

void DistinctTable::Write(const std::function<void(const std::string&)>& out) const {
    constexpr size_t kPiece = size_t{1} << 16;
    std::string text = "sample\tsequence\treads\n";
    if (!madeWith.empty()) text += kMadeWithLine + madeWith + "\n";
    for (size_t s = 0; s < samples_.size(); ++s) {
        std::vector<const Sequences::value_type*> sorted;
        sorted.reserve(sequences_[s].size());
        for (const auto& entry : sequences_[s]) sorted.push_back(&entry);
        std::sort(sorted.begin(), sorted.end(), [](auto a, auto b) { return a->first < b->first; });
        for (const auto* entry : sorted) {
            text += samples_[s] + "\t" + entry->first + "\t" + std::to_string(entry->second) + "\n";
            if (text.size() >= kPiece) {
                out(text);
                text.clear();
            }
        }
    }
    out(text);
}

bool DistinctTable::Read(TextReader& in, std::string& error) {
    std::string line;
    if (!in.ReadLine(line) || line != "sample\tsequence\treads") {
        error = "line 1: the header row is not sample, sequence and reads";
        return false;
    }
    madeWith.clear();
    const std::string made = kMadeWithLine;
    for (long number = 2; in.ReadLine(line); ++number) {
        if (number == 2 && line.rfind(made, 0) == 0) {
            madeWith = line.substr(made.size());
            continue;
        }
        const std::vector<std::string> fields = SplitTabs(line);
        long long reads = 0;
        if (fields.size() != 3 || fields[0].empty() || !ParseCount(fields[2], reads)) {
            error = "line " + std::to_string(number) + ": not a sample, a sequence and a count of reads";
            return false;
        }
        Add(Sample(fields[0]), fields[1], reads);
        if (overflowed_) {
            error = "line " + std::to_string(number) + ": the reads add up to more than a count holds";
            return false;
        }
    }
    return true;
}

long long DistinctTable::Distinct(const std::string& name) const {
    auto it = sampleIndex_.find(name);
    return it == sampleIndex_.end() ? 0 : static_cast<long long>(sequences_[it->second].size());
}

long long DistinctTable::Reads(const std::string& name) const {
    auto it = sampleIndex_.find(name);
    long long reads = 0;
    if (it != sampleIndex_.end())
        for (const auto& entry : sequences_[it->second]) AddReads(reads, entry.second);
    return reads;
}

}  // namespace varigap::exports
