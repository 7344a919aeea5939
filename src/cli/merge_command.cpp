// varigap-cli merge: the counts tables, tables of distinct reads and summaries of the shards
// of a split run added up with the code that adds up the jobs of one run; tsv and gff3 go to
// RunConcat.
#include <cstdio>
#include <functional>

#include "cli/commands.h"
#include "cli/input_file.h"
#include "core/textfile.h"
#include "export/counts_table.h"
#include "export/distinct_table.h"
#include "export/made_with.h"
#include "export/publish.h"
#include "export/summary.h"
#include "run/job_messages.h"

namespace varigap::cli {

namespace {

void Say(const std::string& text) { std::fputs(run::MessageLine(Message{"Varigap", text}).c_str(), stderr); }

// Reads `path` through `read`; false after a message naming the file.
bool ReadInput(const std::string& path, const std::function<bool(TextReader&, std::string&)>& read) {
    std::string error;
    if (ReadInputFile(path, read, error)) return true;
    Say("File " + path + " could not be merged: " + error + ".");
    return false;
}

// The output is one of the inputs under another spelling (a link, "./", a full path).
int OverInput(const std::string& output, const std::string& input) {
    Say("Nothing was merged: " + output + " is the input " + input + ", which the merge would write over.");
    return kExitUsage;
}

int Publish(const MergeOptions& o, const std::function<void(TextWriter&)>& fill) {
    std::string message;
    if (exports::Publish(o.output, o.force, fill, message)) return kExitOk;
    Say(message);
    return kExitFailed;
}

// False after a message when input `i` was made otherwise than the first input (see made_with.h).
bool MadeAlike(const MergeOptions& o, size_t i, const std::string& first, const std::string& made) {
    const std::string difference = exports::MadeWithDifference(first, o.inputs[0], made, o.inputs[i]);
    if (difference.empty()) return true;
    Say("Nothing was merged: " + o.inputs[0] + " and " + o.inputs[i] + " are not shards of one run: " + difference +
        ".");
    return false;
}

int AddsUpBeyond(const std::string& path) {
    Say("Nothing was merged: with " + path + " a count adds up to more than " + std::to_string(exports::kMostReads) +
        ", more than the tables hold.");
    return kExitUsage;
}

// Reads every input into a table of its own, checks that it was made as the first, adds it up.
template <class Table>
int MergeTables(const MergeOptions& o, const std::function<void(Table&, TextWriter&)>& write) {
    Table total;
    for (size_t i = 0; i < o.inputs.size(); ++i) {
        Table one;
        if (!ReadInput(o.inputs[i], [&](TextReader& in, std::string& e) { return one.Read(in, e); })) return kExitInput;
        if (i == 0) total.madeWith = one.madeWith;
        if (!MadeAlike(o, i, total.madeWith, one.madeWith)) return kExitUsage;
        total.Add(std::move(one));
        if (total.Overflowed()) return AddsUpBeyond(o.inputs[i]);
    }
    return Publish(o, [&](TextWriter& out) { write(total, out); });
}

int MergeCounts(const MergeOptions& o) {
    return MergeTables<exports::CountsTable>(o, [](exports::CountsTable& t, TextWriter& out) { out.Write(t.Text()); });
}

int MergeDistinct(const MergeOptions& o) {
    return MergeTables<exports::DistinctTable>(o, [](exports::DistinctTable& t, TextWriter& out) {
        t.Write([&](const std::string& piece) { out.Write(piece); });
    });
}

int MergeSummary(const MergeOptions& o) {
    exports::Summary total;
    for (size_t i = 0; i < o.inputs.size(); ++i) {
        const std::string& path = o.inputs[i];
        exports::Summary one;
        if (!ReadInput(path, [&](TextReader& in, std::string& e) { return one.Read(in.ReadRest(), e); }))
            return kExitInput;
        if (i > 0 && !MadeAlike(o, i, total.madeWith, one.madeWith)) return kExitUsage;
        // Summaries that do not say what they were made with say at least version and parameters.
        if (i > 0 && total.madeWith.empty() && (one.version != total.version || one.parameters != total.parameters)) {
            Say("Nothing was merged: " + o.inputs[0] + " and " + path +
                " are not shards of one run: they name another version or other parameters.");
            return kExitUsage;
        }
        total.Add(one);
        if (total.Overflowed()) return AddsUpBeyond(path);
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
    if (SameFile(o.distinctFile, o.output)) return OverInput(o.output, o.distinctFile);  // read as an input too
    for (const auto& path : o.inputs)
        if (SameFile(path, o.output)) return OverInput(o.output, path);
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
