// varigap-cli merge tsv|gff3: the shards' TSV or GFF3 outputs joined in shard order, one header.
#include "cli/concat_command.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/cli_messenger.h"
#include "cli/commands.h"
#include "core/textfile.h"
#include "core/types.h"
#include "export/made_with.h"

namespace varigap::cli {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

void Say(const std::string& text) { std::fputs(MessageLine(Message{"Varigap", text}).c_str(), stderr); }

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
std::string Join(const ConcatOptions& o, TextWriter& out) {
    const char* what = o.kind == ConcatKind::Tsv ? "header row" : "\"##gff-version\" line";
    std::string header, madeWith;
    for (size_t i = 0; i < o.inputs.size(); ++i) {
        const std::string& path = o.inputs[i];
        FilePtr in(std::fopen(path.c_str(), "rb"), &std::fclose);
        if (!in) return "\"" + path + "\" could not be read";
        const std::string first = FirstLine(in.get());
        if (first.empty() || first.back() != '\n' ||
            (o.kind == ConcatKind::Gff3 && first.rfind("##gff-version", 0) != 0))
            return "\"" + path + "\" does not begin with a " + what;
        if (i == 0) {
            header = first;
            out.Write(header);
        } else if (first != header) {
            return "the " + std::string(what) + " of \"" + path + "\" differs from that of \"" + o.inputs[0] + "\"";
        }
        char last = '\n';
        if (o.kind == ConcatKind::Tsv) {
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

bool IsConcatMode(const std::string& mode) { return mode == "tsv" || mode == "gff3"; }

bool ParseConcat(const std::vector<std::string>& args, ConcatOptions& o, std::string& error) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (const auto& a : args) {
        if (!optionsEnded && a == "--") optionsEnded = true;
        else if (!optionsEnded && a == "--force") o.force = true;
        else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a + " for merge";
            return false;
        } else positional.push_back(a);
    }
    if (positional.size() < 3 || !IsConcatMode(positional[0])) {
        error = "merge tsv|gff3 needs OUT and one or more IN files";
        return false;
    }
    o.kind = positional[0] == "tsv" ? ConcatKind::Tsv : ConcatKind::Gff3;
    o.output = positional[1];
    o.inputs.assign(positional.begin() + 2, positional.end());
    if (std::find(o.inputs.begin(), o.inputs.end(), o.output) != o.inputs.end()) {
        error = "merge would write over its input " + o.output;
        return false;
    }
    return true;
}

int RunConcat(const ConcatOptions& opts) {
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
            return kExitUsage;
        }
        if (!out.Commit()) return exists();
    } catch (const RunTimeError& e) {
        out.Abandon();
        Say("\"" + opts.output + "\" could not be written: " + e.Description() + ".");
        return kExitFailed;
    }
    return kExitOk;
}

std::string ConcatUsage() { return "  varigap-cli merge tsv|gff3 OUT IN... [--force]\n"; }

std::string ConcatHelpText() {
    return R"(merge tsv|gff3: joins the outputs of the shards of a split run (analyze --format tsv or
gff3 on each shard) into OUT, in the order of the IN files: the first file's header row
(tsv) or "##gff-version" line (gff3) once, then every file's lines after it. Each IN must
begin with the same header line and end with a line end, and TSV shards of analyze
--made-with must say the same on the line after it (the first is kept); else nothing is
written. OUT is written under a temporary name and renamed when complete.
  --force                replace an existing OUT (without it OUT is left untouched).
  Exit status: 0 joined; 1 OUT exists or could not be written; 2 usage error, or an IN
  that cannot be read, begins with another header line or ends inside a line.
)";
}

}  // namespace varigap::cli
