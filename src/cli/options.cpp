// The command line of varigap-cli: commands, options and the help text.
#include "cli/options.h"

#include <algorithm>
#include <charconv>

#include "output/variant_listing.h"

namespace varigap::cli {

namespace {

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool ParseInt(const std::string& text, int lo, int hi, int& value) {
    int v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
    value = v;
    return true;
}

// Walks the arguments: options (long with "=" or a following value, short with an
// attached or a following value) and positional arguments, "--" ending the options.
class ArgWalker {
public:
    explicit ArgWalker(const std::vector<std::string>& args) : args_(args) {}

    bool Done() const { return i_ >= args_.size(); }
    // The next argument; sets `option` and `value` for an option ("--name=value" splits).
    void Next(std::string& arg, bool& isOption) {
        arg = args_[i_++];
        isOption = !optionsEnded_ && arg.size() > 1 && arg[0] == '-';
        if (isOption && arg == "--") {
            optionsEnded_ = true;
            isOption = false;
            arg.clear();
            skip_ = true;
        } else {
            skip_ = false;
        }
        inlineValue_.clear();
        hasInline_ = false;
        if (isOption && arg.rfind("--", 0) == 0) {
            auto eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue_ = arg.substr(eq + 1);
                hasInline_ = true;
                arg.erase(eq);
            }
        } else if (isOption && arg.size() > 2) {  // -j4, -sNAME
            inlineValue_ = arg.substr(2);
            hasInline_ = true;
            arg.erase(2);
        }
    }
    bool Skip() const { return skip_; }
    // The next option, gathering the positional arguments before it; false when none is left.
    bool NextOption(std::string& arg, std::vector<std::string>& positional) {
        while (!Done()) {
            bool isOption = false;
            Next(arg, isOption);
            if (Skip()) continue;
            if (isOption) return true;
            positional.push_back(arg);
        }
        return false;
    }
    bool HasInlineValue() const { return hasInline_; }
    // The option's value: inline or the next argument.
    bool Value(std::string& value) {
        if (hasInline_) {
            value = inlineValue_;
            hasInline_ = false;
            return true;
        }
        if (i_ >= args_.size()) return false;
        value = args_[i_++];
        return true;
    }

private:
    const std::vector<std::string>& args_;
    size_t i_ = 0;
    bool optionsEnded_ = false, skip_ = false, hasInline_ = false;
    std::string inlineValue_;
};

bool ParseAnalyze(ArgWalker& w, AnalyzeOptions& o, std::string& error) {
    std::vector<std::string> positional;
    std::vector<std::pair<size_t, std::string>> samples;  // (positional index it names, name)
    bool orientGiven = false;
    auto setOrient = [&](Orient orient, const std::string& how) {
        if (orientGiven && o.orient != orient) return Fail(error, how + " contradicts an earlier strand choice");
        orientGiven = true;
        o.orient = orient;
        return true;
    };
    std::string arg;
    while (w.NextOption(arg, positional)) {
        std::string v;
        auto need = [&](const char* what) {
            if (w.Value(v)) return true;
            error = "option " + arg + " needs " + what;
            return false;
        };
        auto flag = [&](bool& target) {
            if (w.HasInlineValue()) {
                error = "option " + arg + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        if (arg == "-s" || arg == "--sequence") {
            if (!need("a sequence name")) return false;
            o.sequences.push_back(v);
        } else if (arg == "-c" || arg == "--complement") {
            bool on = false;
            if (!flag(on) || !setOrient(Orient::Reverse, arg)) return false;
        } else if (arg == "--orient") {
            if (!need("forward, reverse or auto")) return false;
            Orient orient = Orient::Forward;
            if (v == "forward") orient = Orient::Forward;
            else if (v == "reverse") orient = Orient::Reverse;
            else if (v == "auto") orient = Orient::Auto;
            else return Fail(error, "--orient takes forward, reverse or auto, not \"" + v + "\"");
            if (!setOrient(orient, "--orient " + v)) return false;
        } else if (arg == "--sample") {
            if (!need("a name")) return false;
            if (v.empty()) return Fail(error, "option --sample needs a name");
            const size_t next = std::max<size_t>(positional.size(), 1);  // the next sequence file
            if (!samples.empty() && samples.back().first == next)
                return Fail(error, "two --sample names for one sequence file");
            samples.emplace_back(next, v);
        } else if (arg == "--no-derep") {
            bool on = false;
            if (!flag(on)) return false;
            o.derep = false;
        } else if (arg == "--made-with") {
            if (!flag(o.madeWith)) return false;
        } else if (arg == "--primers-trimmed") {
            if (!flag(o.primersTrimmed)) return false;
        } else if (arg == "-t" || arg == "--template") {
            if (!need("a template number or name")) return false;
            if (v.empty()) return Fail(error, "option " + arg + " needs a template number or name");
            o.templateChoice = v;
        } else if (arg == "--params") {
            if (!need("a file")) return false;
            o.paramsFile = v;
        } else if (arg == "--options") {
            if (!need("a file")) return false;
            o.optionsFile = v;
        } else if (arg == "--answer") {
            if (!need("yes or no")) return false;
            if (v == "yes") o.answerYes = true;
            else if (v == "no") o.answerYes = false;
            else return Fail(error, "--answer takes yes or no, not \"" + v + "\"");
        } else if (arg == "--reparse") {
            if (!need("LINE:SEL")) return false;
            auto colon = v.find(':');
            ReparseRequest r;
            if (colon == std::string::npos || !ParseInt(v.substr(0, colon), 1, 32767, r.line) ||
                !ParseInt(v.substr(colon + 1), 0, 32767, r.sel))
                return Fail(error, "--reparse takes LINE:SEL (two whole numbers, LINE from 1), not \"" + v + "\"");
            o.reparse.push_back(r);
        } else if (arg == "--ranking") {
            if (!flag(o.ranking)) return false;
        } else if (arg == "--format") {
            if (!need("text, tsv, json, gff3 or bed")) return false;
            if (v == "text") o.format = Format::Text;
            else if (v == "tsv") o.format = Format::Tsv;
            else if (v == "json") o.format = Format::Json;
            else if (v == "gff3") o.format = Format::Gff3;
            else if (v == "bed") o.format = Format::Bed;
            else return Fail(error, "--format takes text, tsv, json, gff3 or bed, not \"" + v + "\"");
        } else if (arg == "-o" || arg == "--output-dir") {
            if (!need("a directory")) return false;
            if (v.empty()) return Fail(error, "option " + arg + " needs a directory");
            o.outputDir = v;
        } else if (arg == "--taxa") {
            if (!flag(o.taxa)) return false;
        } else if (arg == "--force") {
            if (!flag(o.force)) return false;
        } else if (arg == "-j" || arg == "--jobs") {
            if (!need("a number")) return false;
            if (!ParseInt(v, 0, 1024, o.jobs))
                return Fail(error, "--jobs takes a number from 0 to 1024, not \"" + v + "\"");
        } else if (arg == "--extract") {
            if (!need("a directory")) return false;
            if (v.empty()) return Fail(error, "option --extract needs a directory");
            o.extractDir = v;
        } else if (arg == "--extract-uncertain") {
            if (!flag(o.extractUncertain)) return false;
        } else if (arg == "--extract-empty") {
            if (!flag(o.extractEmpty)) return false;
        } else if (arg == "--counts" || arg == "--summary" || arg == "--distinct") {
            if (!need("a file")) return false;
            if (v.empty()) return Fail(error, "option " + arg + " needs a file");
            (arg == "--counts" ? o.countsFile : arg == "--summary" ? o.summaryFile : o.distinctFile) = v;
        } else if (arg == "--no-progress") {
            bool on = false;
            if (!flag(on)) return false;
            o.progress = false;
        } else {
            error = "unknown option " + arg + " for analyze";
            return false;
        }
    }
    if (positional.size() < 2) {
        error = "analyze needs TEMPLATE_FILE and SEQUENCE_FILE";
        return false;
    }
    o.templateFile = positional[0];
    o.sequenceFiles.assign(positional.begin() + 1, positional.end());
    o.samples.assign(o.sequenceFiles.size(), "");
    for (const auto& [index, name] : samples) {
        if (index >= positional.size()) return Fail(error, "--sample " + name + " names no sequence file after it");
        o.samples[index - 1] = name;
    }
    if (std::count(o.sequenceFiles.begin(), o.sequenceFiles.end(), "-") > 1)
        return Fail(error, "standard input (-) can be read only once");
    // Output files show the analysed sequence whole, which a trimmed read is not.
    if (o.primersTrimmed && !o.outputDir.empty()) return Fail(error, "--primers-trimmed cannot write output files");
    if ((o.extractUncertain || o.extractEmpty) && o.extractDir.empty())
        return Fail(error,
                    (o.extractUncertain ? "--extract-uncertain" : "--extract-empty") + std::string(" needs --extract"));
    const std::vector<std::string> files{o.countsFile, o.summaryFile, o.distinctFile};
    for (size_t i = 0; i < files.size(); ++i)
        if (!files[i].empty() && std::count(files.begin(), files.end(), files[i]) > 1)
            return Fail(error, "--counts, --summary and --distinct name the same file " + files[i]);
    return true;
}

bool ParseVariants(ArgWalker& w, VariantsOptions& o, std::string& error) {
    std::vector<std::string> positional;
    bool lengthGiven = false;
    std::string arg;
    while (w.NextOption(arg, positional)) {
        std::string v;
        if (arg == "--length") {
            if (!w.Value(v) || !ParseInt(v, 0, 32767, o.length))
                return Fail(error, "--length takes a whole number from 0 to 32767");
            lengthGiven = true;
        } else if (arg == "--mode") {
            if (!w.Value(v)) return Fail(error, "--mode needs same, different, shorter, longer or all");
            if (v == "same") o.mode = kSameLength;
            else if (v == "different") o.mode = kDifferentLength;
            else if (v == "shorter") o.mode = kShorter;
            else if (v == "longer") o.mode = kLonger;
            else if (v == "all") o.mode = kAll;
            else return Fail(error, "--mode takes same, different, shorter, longer or all, not \"" + v + "\"");
        } else {
            error = "unknown option " + arg + " for variants";
            return false;
        }
    }
    if (positional.size() != 1) {
        error = "variants needs one VR_FILE";
        return false;
    }
    o.vrFile = positional[0];
    // Without a mode: the same length when a length is given, else every entry.
    if (o.mode == 0) o.mode = lengthGiven ? kSameLength : kAll;
    return true;
}

// The command line as a shell would take it back: arguments with other characters than
// letters, digits and "+,-./:=@_" in single quotes.
std::string CommandLineText(const std::vector<std::string>& args) {
    std::string text = "varigap-cli";
    for (const auto& a : args) {
        const bool plain = !a.empty() && a.find_first_not_of(
                                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                             "0123456789+,-./:=@_") == std::string::npos;
        std::string quoted = "'";
        for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        text += " " + (plain ? a : quoted + "'");
    }
    return text;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& cl, std::string& error) {
    for (const auto& a : args) {
        if (a == "--") break;
        if (a == "-h" || a == "--help") {
            cl.command = Command::Help;
            return true;
        }
        if (a == "--version") {
            cl.command = Command::Version;
            return true;
        }
    }
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    ArgWalker w(rest);
    if (args[0] == "analyze") {
        cl.command = Command::Analyze;
        cl.analyze.commandLine = CommandLineText(args);
        return ParseAnalyze(w, cl.analyze, error);
    }
    if (args[0] == "variants") {
        cl.command = Command::Variants;
        return ParseVariants(w, cl.variants, error);
    }
    if (args[0] == "build") {
        cl.command = Command::Build;
        return ParseBuild(rest, cl.build, error);
    }
    if (args[0] == "regions") {
        cl.command = Command::Regions;
        return ParseRegions(rest, cl.regions, error);
    }
    if (args[0] == "check") {
        cl.command = Command::Check;
        return ParseCheck(rest, cl.check, error);
    }
    // merge tsv|gff3 joins files, the other kinds add tables up: the first word that is not an
    // option says which.
    auto kind = std::find_if(rest.begin(), rest.end(), [](const std::string& a) { return a.empty() || a[0] != '-'; });
    if (args[0] == "merge" && kind != rest.end() && IsConcatMode(*kind)) {
        cl.command = Command::Concat;
        return ParseConcat(rest, cl.concat, error);
    }
    if (args[0] == "merge") {
        cl.command = Command::Merge;
        cl.merge.commandLine = CommandLineText(args);
        return ParseMerge(rest, cl.merge, error);
    }
    error = "unknown command \"" + args[0] + "\"";
    return false;
}

std::string HelpText() {
    return R"(Usage:
  varigap-cli analyze TEMPLATE_FILE SEQUENCE_FILE... [options]
  varigap-cli variants VR_FILE [--length N] [--mode same|different|shorter|longer|all]
)" + BuilderUsage() +
           MergeUsage() + ConcatUsage() +
           R"(  varigap-cli --help
  varigap-cli --version

analyze: does for every sequence of the SEQUENCE_FILEs what Find Template does in the
main window: ranks the templates of TEMPLATE_FILE against it, takes the best one (or the
one given with --template), cuts the sequence into conserved and variable regions,
identifies each variable region's variant and lists the display lines.

Sequence files are FASTA or FASTQ (a record may take several lines in both), plain,
gzip or BGZF, recognised by their content, not by their names; "-" reads standard
input. They are read in the order given. Each file is one sample, named after the file
without its directory and without ".gz" or ".bgz" and ".fastq", ".fq", ".fasta", ".fa",
".fna" or ".fas" ("stdin" for -). Read pairs are merged before (for instance with
vsearch --fastq_mergepairs). A record that cannot be read (a FASTQ quality line of
another length than its bases, a missing "+" line, binary data, a FASTQ read of more
than 32767 bases) is reported with its file and record number and passed over, as is
an empty file; a compressed stream that breaks off ends the run, keeping what was read.

  --sample NAME        name the sample of the sequence file that follows.
  -s, --sequence NAME  analyse only the sequence NAME (the first record of that name);
                       repeat it for more, they are analysed in the order given.
                       Without it every record is analysed in file order, each with
                       its own bases (the files are read once; records with the same
                       name are each analysed).
  --orient forward|reverse|auto
                       forward (default): each sequence as it is read; reverse: its
                       reverse complement; auto: the templates are ranked on both and
                       the strand whose best template ranks higher is analysed (the
                       forward strand when neither ranks higher).
  -c, --complement     the same as --orient reverse.
  --primers-trimmed    for reads whose primers were cut off: a template's first and
                       last conserved regions are taken to lie just outside the read,
                       on the strand analysed, and are shown as not in the read (text
                       "N-[C]-", TSV flag "-" with empty positions and bases, JSON
                       "flag":"-" with null positions). Their bases never count as
                       matched: a template ranks by the bases of the conserved regions
                       found inside the read and of the variable regions identified
                       there with a listed variant, out of the read's length.
  --no-derep           analyse every read. By default a read whose bases equal an
                       earlier read's reuses that analysis (the output is the same);
                       at most 32 MiB of reads and results are kept (shared by the
                       jobs), the least recently seen going first. Off with
                       --output-dir.
  -t, --template N|NAME
                       analyse with template number N, or the template called NAME,
                       instead of the best one; the templates are ranked all the same.
                       A whole number from 1 to the number of templates is taken as a
                       number, anything else as a name.
  --params FILE        read the alignment parameters from FILE (parameter file format).
  --options FILE       read the message options from FILE (options file format).
                       Default for both: the settings files listed at the end of this
                       help, else the built-in defaults.
  --answer yes|no      the answer to the template file's questions about a template
                       without variable or conserved regions (default yes).
  --reparse LINE:SEL   after the analysis, make possibility SEL the chosen variant of
                       the variable region on display line LINE and rebuild the lines,
                       as the Reparse button does. Repeatable; applied in order.
  --ranking            also list the template ranking (text format).
  --format text|tsv|json|gff3|bed
                       text (default), per sequence:
                         >NAME<TAB>TEMPLATE NAME     (>NAME<TAB> when nothing was analysed)
                           with --orient auto: >NAME<TAB>TEMPLATE NAME<TAB>+ or -
                         #rank<TAB>rank<TAB>template number<TAB>template name<TAB>
                           matched bases<TAB>spanned bases<TAB>matched fraction (--ranking)
                         the display lines, as the main window lists them:
                           line number, ":" or "?", [C] conserved, {V} variable or
                           CRs,VRs for a confused stretch, ":" or "?", the bases.
                       tsv: a header row, then one row per display line: sequence,
                         template, line, kind (CR, VR, confused, none), region (the CR
                         or VR number; for a confused line the position of its first
                         region in the template; empty for none), start, end, flag
                         (: or ?), region name (the CR's first text line or the VR's
                         file name), selected variant, taxa, bases, sample, strand (+
                         or -). Tabs and line breaks inside fields are written as blanks.
                       With --made-with, a first line "# made with: " and what the
                         counts table's first line says.
                       json: one JSON object per sequence and line: name, template,
                         ranking, regions, possibilities, segments, lines, sample and
                         strand.
                       gff3: "##gff-version 3", then per analysed sequence a
                         "##sequence-region ID 1 LENGTH" line and one feature per display
                         line (not for a CR beside a trimmed read): the sequence id (the
                         first word of the name; a name given before gets -2, -3, ...),
                         "varigap", the type (conserved_region, sequence_difference for a
                         VR, region for a confused or none line), start and end (1-based,
                         on the sequence as given: mirrored for a sequence analysed as its
                         reverse complement; an empty VR has start = end = the base before
                         it), ".", the strand analysed (+ or -), "." and the attributes ID
                         (ID.line), Name (region name, "confused" or "none"), Note (flag
                         : or ?, template, and for a VR variant and taxa) and sample.
                       bed: BED6 lines, one per display line: sequence id, start
                         (zero-based) and end on the sequence as given (for a sequence
                         analysed forward: the TSV start - 1 and end), the region name
                         made safe for file names ("confused", "none"), score 1000 for :
                         and 0 for ?, the strand analysed.
  -o, --output-dir DIR write one output file per analysed sequence into DIR (created
                       when missing), as the Write Output File window writes it. Its
                       name is made of the first 8 letters and digits of the sequence
                       name (from the first letter on) and ".txt"; a name given to an
                       earlier record of the run gets -2, -3, ... before ".txt"; a name
                       without letters becomes "sequence" + record number + ".txt".
                       Nothing is written for a sequence that could not be analysed
                       (its name stays taken, so names do not depend on the analysis).
                       Not with --primers-trimmed.
  --taxa               include the variable region data (the taxa of each variant).
  --force              overwrite existing output files (also of --extract, --counts,
                       --summary and --distinct); without it anything of that name (a
                       file, a link, a folder) is left untouched and reported, also when
                       another run writes it meanwhile. A file takes its name only when
                       it is complete: an interrupted run leaves no partial file behind.
  --extract DIR        write the sequences of each region into DIR (created when
                       missing): one file per region of each template of the template
                       file that a sequence took, named after the region (a CR's first
                       text line without brackets, a VR's file name without extension,
                       letters, digits, ".", "-" and "_" kept, other characters "_"),
                       after the template's name and "." when the file holds several
                       templates; ".fasta" for FASTA records, ".fastq" (with the
                       qualities) for FASTQ records. Each record holds the bases of the
                       region on the strand analysed (qualities reversed with them) as
                       the TSV shows them, its header the sequence name, then sample=,
                       strand= (+ or -), flag= (: or ?), start= and end= (on the sequence
                       as given) and for a VR taxa= (the selected variant's). Regions on
                       a display line of their own with flag : only, by default.
  --extract-uncertain  also regions with flag ?.
  --extract-empty      also deleted (empty) VRs, as records without bases.
  --counts FILE        write the variant-by-sample table: a header row "template vr
                       vr_file variant taxa" and one column per sample (in input order),
                       then a row per template, VR (its number), VR file, selected
                       variant and its taxa that occurred, with the reads of each sample
                       whose VR has that variant on a display line of its own with flag
                       :; a row per template and VR with variant empty and taxa
                       "unidentified" for the reads of that template where it is not (?,
                       on a line of several regions, or not found); and one row "no
                       template" (other fields empty) for the reads where no CR was
                       found. Per sample and template, the rows of one VR add up to the
                       reads that took the template; with "no template", the templates'
                       reads add up to the sample's reads. Rows by total reads (largest
                       first), then variant, template, VR number and taxa.
  --summary FILE       write a summary of the run as JSON: "program", "version",
                       "command_line", "parameters" (the template, the strand, the
                       settings in effect) and "samples": per sample (in input order)
                       whole numbers under fixed keys, in this order: reads (records
                       analysed), distinct_reads (different bases), reverse_reads
                       (analysed as the reverse complement), no_cr_reads (no CR found;
                       with --primers-trimmed: none inside the read and no VR identified),
                       skipped_too_long, skipped_empty, skipped_bad_letters and
                       skipped_malformed (records passed over, not among the reads); then
                       per template T of the template file template:T:reads (the reads
                       that took it, with a CR found), per region R of T (named as
                       --extract names it) region:T:R:placed (flag : on a line of its
                       own), region:T:R:uncertain (? or a line of several regions) and
                       region:T:R:not_found (no line, or beside a trimmed read), and per
                       VR number V vr:T:V:identified and vr:T:V:unidentified, as
                       --counts counts them.
  --distinct FILE      write the distinct reads: a header row "sample sequence reads",
                       then per sample (in input order) each different read (its bases
                       as read, before any strand is chosen; sorted bytewise) and how
                       many reads have them. With it, merge adds up distinct reads of
                       the shards of a split run exactly.
                       These files are written under a temporary name and renamed when
                       complete; --force replaces existing ones.
  -j, --jobs N         analyse with N worker threads; 0 (the default): as many as the
                       cores this process may use (its CPU affinity and cgroup CPU
                       quota). The output is the same as with --jobs 1, in the same order.
  --no-progress        no progress bar (it is shown on standard error for runs longer
                       than a second when standard error is a terminal).

variants: lists the entries of a variable region file as the Variable Region Analysis
window does: entries whose length (of their bases, as cleaned) is the same as,
different from, shorter or longer than N, or all entries (the first 1023 entries of
the file). Each entry's bases as written, in lines of at most 100 characters followed
by " +" where the entry goes on, each line followed by a TAB and the entry's taxa.
  --length N           reference length (default 0).
  --mode MODE          same, different, shorter, longer or all (default: same when
                       --length is given, else all).

)" + BuilderHelpText() +
           "\n" + MergeHelpText() + "\n" + ConcatHelpText() +
           R"(
Messages go to standard error as "TITLE: TEXT"; a message about a record is followed by
a line naming the record and its file, and a missing variable region file is reported
once, with a count at the end. Control characters in names are written as blanks.
Exit status: 0 all went well; 1 a named sequence was not found, a record or an empty
sequence file was passed over, or an output file could not be written or already
existed; 2 usage error, a template, sequence, settings or variable region file that
could not be loaded or read, a compressed sequence file that broke off or is damaged,
or standard output that could not be written.
)";
}

}  // namespace varigap::cli
