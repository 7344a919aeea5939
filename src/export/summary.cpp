// The summary of a run as JSON, read back and added up exactly.
#include "export/summary.h"

#include <stdexcept>

#include "export/counts_table.h"
#include "export/json.h"
#include "export/json_check.h"

namespace varigap::exports {

size_t Summary::Sample(const std::string& name) {
    auto [it, added] = sampleIndex_.emplace(name, samples_.size());
    if (added) {
        samples_.push_back(name);
        counters_.emplace_back();
        lengths_.emplace_back();
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
        for (const auto& [vr, lengths] : other.lengths_[s]) {
            Declare(mine, vr);
            for (const auto& [length, reads] : lengths) AddLength(mine, vr, length, reads);
        }
    }
}

void Summary::Declare(size_t sample, const std::string& vr) {
    auto& list = lengths_[sample];
    for (const auto& entry : list)
        if (entry.first == vr) return;
    list.emplace_back(vr, Lengths{});
}

void Summary::AddLength(size_t sample, const std::string& vr, int length, long long reads) {
    Declare(sample, vr);
    for (auto& [name, lengths] : lengths_[sample])
        if (name == vr) lengths[length] += reads;
}

bool Summary::TakeDistinct(DistinctTable& distinct, std::string& error) try {
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
} catch (const std::runtime_error& e) {
    error = e.what();
    return false;
}

long long Summary::Get(const std::string& sample, const std::string& key) const {
    auto s = sampleIndex_.find(sample);
    if (s == sampleIndex_.end()) return 0;
    const Counters& c = counters_[s->second];
    auto k = c.index.find(key);
    return k == c.index.end() ? 0 : c.values[k->second].second;
}

std::string Summary::Json() const {
    std::string j = "{\n  \"schema_version\": " + std::to_string(kSummarySchemaVersion) +
                    ",\n  \"program\": " + JsonQuote(program) + ",\n  \"version\": " + JsonQuote(version) +
                    ",\n  \"command_line\": " + JsonQuote(commandLine) + ",\n  \"parameters\": " + parameters +
                    (madeWith.empty() ? "" : ",\n  \"made_with\": " + JsonQuote(madeWith)) + ",\n  \"samples\": {";
    for (size_t s = 0; s < samples_.size(); ++s) {
        j += (s ? ",\n    " : "\n    ") + JsonQuote(samples_[s]) + ": {";
        const auto& values = counters_[s].values;
        for (size_t k = 0; k < values.size(); ++k)
            j += (k ? ",\n      " : "\n      ") + JsonQuote(values[k].first) + ": " + std::to_string(values[k].second);
        j += values.empty() ? "}" : "\n    }";
    }
    j += samples_.empty() ? "}" : "\n  }";
    j += ",\n  \"vr_lengths\": {";
    for (size_t s = 0; s < samples_.size(); ++s) {
        j += (s ? ",\n    " : "\n    ") + JsonQuote(samples_[s]) + ": {";
        const auto& vrs = lengths_[s];
        for (size_t v = 0; v < vrs.size(); ++v) {
            j += (v ? ",\n      " : "\n      ") + JsonQuote(vrs[v].first) + ": {";
            bool first = true;
            for (const auto& [length, reads] : vrs[v].second) {
                j += (first ? "\"" : ", \"") + std::to_string(length) + "\": " + std::to_string(reads);
                first = false;
            }
            j += "}";
        }
        j += vrs.empty() ? "}" : "\n    }";
    }
    j += samples_.empty() ? "}\n}\n" : "\n  }\n}\n";
    return j;
}

bool Summary::ReadLengths(JsonReader& in, Summary& read) {
    std::string sample, vr, length;
    bool ok = in.BeginObject();
    while (ok && in.NextKey(sample)) {
        const size_t s = read.Sample(sample);
        ok = in.BeginObject();
        while (ok && in.NextKey(vr)) {
            read.Declare(s, vr);
            ok = in.BeginObject();
            long long reads = 0;
            while (ok && in.NextKey(length) && (ok = in.Count(reads))) {
                long long n = 0;
                if (!ParseCount(length, n) || n > 1000000000) return false;  // the reader's error stays empty
                read.AddLength(s, vr, static_cast<int>(n), reads);
            }
        }
    }
    return ok;
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
        else if (key == "vr_lengths") ok = ReadLengths(in, read);
        else if (key != "samples") ok = in.Value(raw);  // schema_version, or a key of a later version
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
    if (commandLine.empty()) commandLine = read.commandLine;  // as the header says; a merge sets its own
    Add(read);
    if (read.overflowed_ || overflowed_) {
        error = "a counter adds up to more than it holds";
        return false;
    }
    return true;
}

}  // namespace varigap::exports
