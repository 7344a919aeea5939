// The command line of varigap-cli's build, regions and check commands.
#include "cli/builder_options.h"

#include <charconv>
#include <cstdlib>

namespace varigap::cli {

namespace {

// Options of the form --name VALUE, --name=VALUE, -o VALUE and flags; "--" ends them.
class Options {
public:
    explicit Options(const std::vector<std::string>& args) : args_(args) {}

    // The next option name (without value), or false at the end; positional arguments are gathered.
    bool Next(std::string& name) {
        while (i_ < args_.size()) {
            std::string a = args_[i_++];
            if (!ended_ && a == "--") {
                ended_ = true;
                continue;
            }
            if (ended_ || a.size() < 2 || a[0] != '-') {
                positional.push_back(a);
                continue;
            }
            size_t eq = a.find('=');
            hasInline_ = a.rfind("--", 0) == 0 && eq != std::string::npos;
            inline_ = hasInline_ ? a.substr(eq + 1) : "";
            name = hasInline_ ? a.substr(0, eq) : a;
            return true;
        }
        return false;
    }
    bool Value(std::string& v) {
        if (hasInline_) {
            v = inline_;
            hasInline_ = false;
            return true;
        }
        if (i_ >= args_.size()) return false;
        v = args_[i_++];
        return true;
    }
    bool HasInline() const { return hasInline_; }

    std::vector<std::string> positional;

private:
    const std::vector<std::string>& args_;
    size_t i_ = 0;
    bool ended_ = false, hasInline_ = false;
    std::string inline_;
};

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool ParseLong(const std::string& text, long lo, long hi, long& value) {
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
    value = v;
    return true;
}

std::string CommandLineText(const std::string& command, const std::vector<std::string>& args) {
    std::string s = "varigap-cli " + command;
    for (const auto& a : args)
        s += " " + (a.find_first_of(" \t\"'") == std::string::npos && !a.empty() ? a : "\"" + a + "\"");
    return s;
}

// The stem of a file name: without directory and without its last extension (and ".gz").
std::string Stem(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0) name.erase(name.size() - 3);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

bool ParseBuild(const std::vector<std::string>& args, BuildCommandOptions& o, std::string& error) {
    builder::BuildOptions& b = o.build;
    Options w(args);
    std::string name, v;
    while (w.Next(name)) {
        const bool flag = name == "--as-annotated";
        if (!flag && !w.Value(v)) return Fail(error, "option " + name + " needs a value");
        if (flag && w.HasInline()) return Fail(error, "option " + name + " takes no value");
        if (name == "-o" || name == "--output-dir") {
            b.outputDir = v;
        } else if (name == "--name") {
            b.name = v;
        } else if (name == "--group") {
            b.groupColumn = v;
        } else if (name == "--order") {
            if (v == "file") b.order = builder::GroupOrder::File;
            else if (v == "narrowest") b.order = builder::GroupOrder::Narrowest;
            else if (v == "name") b.order = builder::GroupOrder::Name;
            else return Fail(error, "--order takes file, narrowest or name, not \"" + v + "\"");
        } else if (name == "--ambiguity-min") {
            char* end = nullptr;
            b.ambiguityMin = std::strtod(v.c_str(), &end);
            if (v.empty() || *end != '\0' || !(b.ambiguityMin > 0 && b.ambiguityMin <= 1))
                return Fail(error, "--ambiguity-min takes a fraction above 0 and at most 1, not \"" + v + "\"");
        } else if (name == "--max-shift") {
            long n = 0;
            if (!ParseLong(v, 0, 1000, n)) return Fail(error, "--max-shift takes a number from 0 to 1000");
            b.maxShift = static_cast<int>(n);
        } else if (name == "--as-annotated") {
            b.asAnnotated = true;
        } else if (name == "--params") {
            o.paramsFile = v;
        } else {
            return Fail(error, "unknown option " + name + " for build");
        }
    }
    if (w.positional.size() != 2) return Fail(error, "build needs REGIONS.tsv and SEQUENCES");
    if (b.outputDir.empty()) return Fail(error, "build needs -o DIR");
    b.regionsFile = w.positional[0];
    b.sequenceFile = w.positional[1];
    if (b.name.empty()) b.name = Stem(b.regionsFile);
    b.commandLine = CommandLineText("build", args);
    return true;
}

bool ParseRegions(const std::vector<std::string>& args, RegionsOptions& o, std::string& error) {
    Options w(args);
    std::string name, v;
    while (w.Next(name)) {
        if (!w.Value(v)) return Fail(error, "option " + name + " needs a value");
        if (name == "--map") {
            o.mapFile = v;
        } else if (name == "--fasta") {
            o.fastaFile = v;
        } else if (name == "--flank") {
            if (!ParseLong(v, 0, 100000, o.flank)) return Fail(error, "--flank takes a number from 0 to 100000");
        } else if (name == "--max-span") {
            if (!ParseLong(v, 1, 100000000, o.maxSpan)) return Fail(error, "--max-span takes a number from 1 on");
        } else {
            return Fail(error, "unknown option " + name + " for regions");
        }
    }
    if (w.positional.empty()) return Fail(error, "regions needs one or more GenBank or EMBL files");
    if (o.mapFile.empty()) return Fail(error, "regions needs --map MAP.tsv");
    o.files = w.positional;
    return true;
}

bool ParseCheck(const std::vector<std::string>& args, CheckOptions& o, std::string& error) {
    Options w(args);
    std::string name, v;
    while (w.Next(name)) {
        if (!w.Value(v)) return Fail(error, "option " + name + " needs a value");
        if (name == "--params") o.paramsFile = v;
        else return Fail(error, "unknown option " + name + " for check");
    }
    if (w.positional.size() != 1) return Fail(error, "check needs one TEMPLATE_FILE");
    o.templateFile = w.positional[0];
    return true;
}

std::string BuilderUsage() {
    return "  varigap-cli build REGIONS.tsv SEQUENCES -o DIR [options]\n"
           "  varigap-cli regions GENBANK_FILE... --map MAP.tsv [--fasta FILE] [options]\n"
           "  varigap-cli check TEMPLATE_FILE [--params FILE]\n";
}

std::string BuilderHelpText() {
    return R"(build: makes a template file and its variable region files from records whose regions are
known. REGIONS.tsv has a header row, then one row per record and region with the columns
sequence (the record's name as its header line gives it), region (a name), kind (CR or
VR), start and end (1-based, inclusive, counting the record's bases), optionally taxon
(listed for the record's variants; default its name) and any others. Every record needs
the same regions in the same order, without overlaps; two CRs may not follow each other.
SEQUENCES: FASTA or FASTQ, plain or gzip. Writes DIR/NAME.tpl and DIR/REGION.txt per VR.
A CR's bases: the column-wise majority of the records (of those with the most common
length), with an ambiguity code for the bases that make up at least --ambiguity-min of a
column. A VR file
lists every distinct variant (case-blind) with the taxa of its records, in first-seen
order. VR bases are cut between the CRs as this program places them in the record, where
it places them within --max-shift bases of the table, else as the table gives them.
  -o, --output-dir DIR   where the files go (created when missing; files there are replaced).
  --name NAME            template file NAME.tpl and template name (default: the table's
                         file name without extension).
  --group COLUMN         one template per value of that column, all in one file, named
                         "VALUE NAME", with VR files VALUE_REGION.txt.
  --order file|narrowest|name
                         order of the group templates: as first met in the table
                         (default), fewest records first, or by value.
  --ambiguity-min F      share of a column (0 < F <= 1, default 0.25) from which a base
                         joins the column's ambiguity code.
  --max-shift N          (default 10) see above.
  --as-annotated         VR bases exactly as the table gives them.
  --params FILE          parameters for placing the CRs (default as for analyze).
  Exit status: 0 written; 1 faults in the table or records (each as FILE:LINE: message),
  nothing written; 2 usage error, or a file that cannot be read or written.

regions: finds a template's regions in annotated GenBank or EMBL records (plain or gzip)
and writes REGIONS.tsv to standard output: columns sequence, region, kind, start, end,
accession, organism, order and family (the lineage names ending in "ales" and "aceae"). Each
record is cut out from its first to its last region with --flank bases on each side and
turned to the strand of its features; --fasta FILE writes these sequences. MAP.tsv has a
header row and the columns region, kind (CR or VR), key (the feature key, "-" for a gap),
qualifiers (tests that must all hold, blank-separated: /name=value, /name~text (contains),
/name (present), parts=N (the location has N parts); case-blind; "-" for none) and part
(all, N for the Nth part of a joined location in the feature's direction, -N from its end,
or gap for the bases between the regions before and after). Rows in template order; rows
with the same region are alternatives, tried in order. For each feature of the first
region, each next region is the nearest match downstream on the same strand; of the
complete series the shortest is taken. A record in which a region is missing is reported
and skipped; a malformed record is reported with file, line and record and skipped.
  --map MAP.tsv          the map (required).
  --fasta FILE           write the records' sequences (FASTA) to FILE.
  --flank N              bases on each side (default 40).
  --max-span N           skip a record whose regions spread over more bases (default 20000).
  Exit status: 0 every record gave its regions; 1 some were skipped; 2 usage error, or a
  map or file that cannot be read.

check: reads a template file with the program's reader and every variable region file it
names, and lists each problem as FILE:LINE: message: files missing or unreadable, reader
errors and limits, CRs shorter than the word length or minCRLength, characters that are
not bases in a variant, duplicate, empty or prefix variants, unfinished entries, a CR that
also occurs in a neighbouring VR's variants, templates that the ranking cannot tell apart.
  --params FILE          parameters to check against (default as for analyze).
  Exit status: 0 no problem; 1 problems listed; 2 template file not readable.
)";
}

}  // namespace varigap::cli
