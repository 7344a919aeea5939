// varigap-cli merge tsv|gff3: the shards' TSV or GFF3 outputs joined in shard order, one header.
#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "core/textfile.h"
#include "core/types.h"
#include "export/made_with.h"
#include "run/job_messages.h"

namespace varigap::cli {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

void Say(const std::string& text) { std::fputs(run::MessageLine(Message{"Varigap", text}).c_str(), stderr); }

// The first line of `f`, its line end included ("" for an empty file).
std::string FirstLine(std::FILE* f) {
    std::string line;
    for (int c; (c = std::fgetc(f)) != EOF;) {
        line += static_cast<char>(c);
        if (c == '\n') break;
    }
    return line;
}

// Copies the rest of `in` to `out`; false when `in` could not be read to its end. `lastByte`
// is left at the last byte copied (unchanged when nothing was).
bool CopyRest(std::FILE* in, TextWriter& out, char& lastByte) {
    std::string block(1 << 20, '\0');
    for (;;) {
        const size_t n = std::fread(block.data(), 1, block.size(), in);
        if (n > 0) {
            lastByte = block[n - 1];
            out.Write(n == block.size() ? block : block.substr(0, n));
        }
        if (n < block.size()) return !std::ferror(in);
    }
}

// Every input in turn; "" when all were joined, else what stopped the join.
std::string Join(const MergeOptions& o, TextWriter& out) {
    const char* what = o.kind == MergeKind::Tsv ? "header row" : "\"##gff-version\" line";
    std::string header, madeWith;
    for (size_t i = 0; i < o.inputs.size(); ++i) {
        const std::string& path = o.inputs[i];
        FilePtr in(std::fopen(path.c_str(), "rb"), &std::fclose);
        if (!in) return "\"" + path + "\" could not be read";
        const std::string first = FirstLine(in.get());
        if (first.empty() || first.back() != '\n' ||
            (o.kind == MergeKind::Gff3 && first.rfind("##gff-version", 0) != 0))
            return "\"" + path + "\" does not begin with a " + what;
        if (i == 0) {
            header = first;
            out.Write(header);
        } else if (first != header) {
            return "the " + std::string(what) + " of \"" + path + "\" differs from that of \"" + o.inputs[0] + "\"";
        }
        char last = '\n';
        if (o.kind == MergeKind::Tsv) {
            // The line after the header row says what the shard was made with (analyze --made-with).
            std::string second = FirstLine(in.get()), made;
            const std::string prefix = exports::kMadeWithLine;
            if (second.rfind(prefix, 0) == 0 && second.back() == '\n') made = second.substr(prefix.size());
            if (i == 0) madeWith = made;
            const std::string difference = exports::MadeWithDifference(madeWith, o.inputs[0], made, path);
            if (!difference.empty())
                return "\"" + o.inputs[0] + "\" and \"" + path + "\" are not shards of one run: " + difference;
            if (i == 0 || made.empty()) out.Write(second);
            if (!second.empty()) last = second.back();
        }
        if (!CopyRest(in.get(), out, last)) return "\"" + path + "\" could not be read to its end";
        // A shard's output that stops inside a line was cut short: joining it would glue two lines.
        if (last != '\n') return "\"" + path + "\" ends inside a line (cut short?)";
    }
    return "";
}

}  // namespace

int RunConcat(const MergeOptions& opts) {
    // The output under another spelling of an input (a link, "./", a full path) would be overwritten.
    for (const auto& path : opts.inputs)
        if (SameFile(path, opts.output)) {
            Say("Nothing was merged: " + opts.output + " is the input " + path + ", which the merge would write over.");
            return kExitUsage;
        }
    auto exists = [&] {
        Say("\"" + opts.output + "\" already exists. It was left untouched (--force replaces it).");
        return kExitFailed;
    };
    // Anything of that name counts; and the file takes it only if no other run did meanwhile.
    if (!opts.force && PathEntryExists(opts.output)) return exists();
    TextWriter out;
    std::string problem;
    try {
        out.Open(opts.output, opts.force ? Publish::Replace : Publish::NoReplace);
        problem = Join(opts, out);
        if (!problem.empty()) {
            out.Abandon();
            Say("Nothing was merged: " + problem + ".");
            return kExitInput;
        }
        if (!out.Commit()) return exists();
    } catch (const RunTimeError& e) {
        out.Abandon();
        Say("\"" + opts.output + "\" could not be written: " + e.Description() + ".");
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace varigap::cli
