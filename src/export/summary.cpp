// The summary of a run as JSON, read back and added up exactly.
#include "export/summary.h"

#include "export/counts_table.h"
#include "export/json.h"
#include "export/json_check.h"

namespace varigap::exports {

size_t Summary::Sample(const std::string& name) {
    auto [it, added] = sampleIndex_.emplace(name, samples_.size());
    if (added) {
        samples_.push_back(name);
        counters_.emplace_back();
    }
    return it->second;
}

void Summary::Add(size_t sample, const std::string& key, long long value) {
    Counters& c = counters_[sample];
    auto [it, added] = c.index.emplace(key, c.values.size());
    if (added) c.values.emplace_back(key, 0);
    if (!AddReads(c.values[it->second].second, value)) overflowed_ = true;
}

void Summary::Add(const Summary& other) {
    if (program.empty() && version.empty()) {
        program = other.program;
        version = other.version;
        parameters = other.parameters;
        madeWith = other.madeWith;
    }
    for (size_t s = 0; s < other.samples_.size(); ++s) {
        const size_t mine = Sample(other.samples_[s]);
        for (const auto& [key, value] : other.counters_[s].values) Add(mine, key, value);
    }
}

bool Summary::TakeDistinct(const DistinctTable& distinct, std::string& error) {
    for (size_t s = 0; s < samples_.size(); ++s) {
        const std::string name = TsvClean(samples_[s]);
        if (distinct.Reads(name) != Get(samples_[s], "reads")) {
            error = "sample \"" + samples_[s] + "\" has " + std::to_string(Get(samples_[s], "reads")) +
                    " reads, the table of distinct reads " + std::to_string(distinct.Reads(name));
            return false;
        }
        Add(s, "distinct_reads", distinct.Distinct(name) - Get(samples_[s], "distinct_reads"));
    }
    return true;
}

long long Summary::Get(const std::string& sample, const std::string& key) const {
    auto s = sampleIndex_.find(sample);
    if (s == sampleIndex_.end()) return 0;
    const Counters& c = counters_[s->second];
    auto k = c.index.find(key);
    return k == c.index.end() ? 0 : c.values[k->second].second;
}

std::string Summary::Json() const {
    std::string j = "{\n  \"program\": " + JsonQuote(program) + ",\n  \"version\": " + JsonQuote(version) +
                    ",\n  \"command_line\": " + JsonQuote(commandLine) + ",\n  \"parameters\": " + parameters +
                    (madeWith.empty() ? "" : ",\n  \"made_with\": " + JsonQuote(madeWith)) + ",\n  \"samples\": {";
    for (size_t s = 0; s < samples_.size(); ++s) {
        j += (s ? ",\n    " : "\n    ") + JsonQuote(samples_[s]) + ": {";
        const auto& values = counters_[s].values;
        for (size_t k = 0; k < values.size(); ++k)
            j += (k ? ",\n      " : "\n      ") + JsonQuote(values[k].first) + ": " + std::to_string(values[k].second);
        j += values.empty() ? "}" : "\n    }";
    }
    j += samples_.empty() ? "}\n}\n" : "\n  }\n}\n";
    return j;
}

bool Summary::Read(const std::string& text, std::string& error) {
    JsonReader in(text);
    Summary read;
    std::string key;
    bool ok = in.BeginObject(), sawSamples = false;
    while (ok && in.NextKey(key)) {
        std::string_view raw;
        if (key == "program") ok = in.String(read.program);
        else if (key == "version") ok = in.String(read.version);
        else if (key == "command_line") ok = in.String(read.commandLine);
        else if (key == "parameters" && (ok = in.Value(raw))) {
            read.parameters = std::string(raw);
            // They are written back as they stand: they must be JSON (a value is only skipped).
            if (!IsStrictJson(raw)) {
                error = "the parameters are not JSON text";
                return false;
            }
        } else if (key == "made_with") ok = in.String(read.madeWith);
        else if (key != "samples") ok = in.Value(raw);  // a key of a later version
        else if ((ok = sawSamples = in.BeginObject())) {
            std::string sample, counter;
            while (ok && in.NextKey(sample)) {
                const size_t s = read.Sample(sample);
                ok = in.BeginObject();
                long long value = 0;
                while (ok && in.NextKey(counter) && (ok = in.Count(value))) read.Add(s, counter, value);
            }
        }
    }
    if (!ok || !in.Error().empty() || !in.AtEnd()) {
        error = in.Error().empty() ? "not a run summary" : in.Error();
        return false;
    }
    // An object that holds none of this ({}, a file of something else) is no summary of a run.
    if (read.program.empty() || read.version.empty() || !sawSamples) {
        error = "not a run summary (no program, version or samples)";
        return false;
    }
    Add(read);
    if (read.overflowed_ || overflowed_) {
        error = "a counter adds up to more than it holds";
        return false;
    }
    return true;
}

}  // namespace varigap::exports
