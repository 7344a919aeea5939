// varigap-cli merge: the counts tables, tables of distinct reads and summaries of the shards
// of a split run added up with the code that adds up the jobs of one run; tsv and gff3 go to
// RunConcat.
#include <cstdio>
#include <functional>

#include "cli/commands.h"
#include "export/counts_table.h"
#include "export/distinct_table.h"
#include "export/publish.h"
#include "export/summary.h"
#include "run/job_messages.h"

namespace varigap::cli {

namespace {

void Say(const std::string& text) { std::fputs(run::MessageLine(Message{"Varigap", text}).c_str(), stderr); }

// Reads `path` through `read`; false after a message naming the file.
bool ReadInput(const std::string& path, const std::function<bool(TextReader&, std::string&)>& read) {
    std::string error;
    try {
        TextReader in;
        in.Open(path);
        if (read(in, error)) return true;
    } catch (const std::exception& e) {
        error = e.what();
    }
    Say("File " + path + " could not be merged: " + error + ".");
    return false;
}

int Publish(const MergeOptions& o, const std::function<void(TextWriter&)>& fill) {
    std::string message;
    if (exports::Publish(o.output, o.force, fill, message)) return kExitOk;
    Say(message);
    return kExitFailed;
}

int MergeCounts(const MergeOptions& o) {
    exports::CountsTable total;
    for (const auto& path : o.inputs)
        if (!ReadInput(path, [&](TextReader& in, std::string& e) { return total.Read(in, e); })) return kExitInput;
    return Publish(o, [&](TextWriter& out) { out.Write(total.Text()); });
}

int MergeDistinct(const MergeOptions& o) {
    exports::DistinctTable total;
    for (const auto& path : o.inputs)
        if (!ReadInput(path, [&](TextReader& in, std::string& e) { return total.Read(in, e); })) return kExitInput;
    return Publish(o, [&](TextWriter& out) { total.Write([&](const std::string& piece) { out.Write(piece); }); });
}

int MergeSummary(const MergeOptions& o) {
    exports::Summary total;
    for (const auto& path : o.inputs) {
        exports::Summary one;
        if (!ReadInput(path, [&](TextReader& in, std::string& e) { return one.Read(in.ReadRest(), e); }))
            return kExitInput;
        if (path != o.inputs.front() && (one.version != total.version || one.parameters != total.parameters))
            Say("Summary " + path + " was made by another version or with other parameters than " + o.inputs.front() +
                "; its counters are added all the same.");
        total.Add(one);
    }
    total.commandLine = o.commandLine;
    if (o.distinctFile.empty()) {
        Say("distinct_reads are added up over the inputs: a read in several of them counts in each "
            "(--distinct FILE counts them exactly).");
    } else {
        exports::DistinctTable distinct;
        std::string error;
        if (!ReadInput(o.distinctFile, [&](TextReader& in, std::string& e) { return distinct.Read(in, e); }))
            return kExitInput;
        if (!total.TakeDistinct(distinct, error)) {
            Say("File " + o.distinctFile + " does not hold the distinct reads of these summaries: " + error + ".");
            return kExitInput;
        }
    }
    return Publish(o, [&](TextWriter& out) { out.Write(total.Json()); });
}

}  // namespace

int RunMerge(const MergeOptions& o) {
    switch (o.kind) {
        case MergeKind::Counts: return MergeCounts(o);
        case MergeKind::Distinct: return MergeDistinct(o);
        case MergeKind::Summary: return MergeSummary(o);
        case MergeKind::Tsv:
        case MergeKind::Gff3: return RunConcat(o);
    }
    return kExitUsage;
}

}  // namespace varigap::cli
