// The help of varigap-cli: every command's usage and what it does, whole or for one command.
#include "cli/help_text.h"

namespace varigap::cli {

namespace {

// One command's usage line and its part of the help; merge has two, one per group of kinds.
struct CommandHelp {
    Command command;
    const char* usage;
    const char* text;
};

const CommandHelp kCommandHelp[] = {
    {Command::Analyze, "  varigap-cli analyze TEMPLATE_FILE SEQUENCE_FILE... [options]\n",
     R"(analyze: does for every sequence of the SEQUENCE_FILEs what Find Template does in the
main window: ranks the templates of TEMPLATE_FILE against it, takes the best one (or the
one given with --template), cuts the sequence into conserved and variable regions,
identifies each variable region's variant and lists the display lines.

Sequence files are FASTA or FASTQ (a record may take several lines in both), plain,
gzip or BGZF, recognised by their content, not by their names; "-" reads standard
input. They are read in the order given. Each file is one sample, named after the file
without its directory and without ".gz" or ".bgz" and ".fastq", ".fq", ".fasta", ".fa",
".fna" or ".fas" ("stdin" for -). Read pairs are read with --pairs or
--interleaved. A record that cannot be read (a FASTQ quality line of another length
than its bases, a missing "+" line, binary data, a read of more than 32000 bases,
FASTA or FASTQ) is reported with its file and record number and passed over, as is
an empty file; a compressed stream that breaks off ends the run, keeping what was read.

  --pairs              read pairs straight from the sequencer: the files go two by two,
                       the first mates of a sample then its second mates in the same
                       order (S1_R1.fastq.gz S1_R2.fastq.gz); the sample is named after
                       the first file without its "_R1" or "_1" part (S1). Mates must
                       carry the same name but for a "/1" or "/2" and the comment; names
                       that differ, or a file that ends before its mate's, stop the run
                       with the file and record named (exit status 2). The mates of a
                       pair are merged by their overlap (at least 16 bases, at most one
                       in five of them different and never more than 10), mates that run
                       past each other being cut where the other begins (the rest is
                       adapter); where they disagree the base of the higher quality is
                       taken (mate 1's on a tie), and a base read by both gets the
                       posterior quality of the paired-read model of Edgar and Flyvbjerg
                       (2015), at most 41. One result per pair, named as the pair. Mates
                       that do not overlap are placed apart: mate 1 and mate 2 reverse
                       complemented are analysed as one read (so the template and the
                       strand are chosen for the pair; positions are in that read), and
                       the lines that reach across the unread gap between them, and the
                       uncertain lines beside those, are not covered: flag "-", no bases,
                       no variant; no --output-dir file is written for them (an
                       annotated file shows one sequence). --summary counts per sample
                       "pairs_merged", "pairs_placed_apart", "pairs_not_analysed" (no
                       conserved region found) and why mates were not merged
                       ("pairs_not_merged:no_overlap", "pairs_not_merged:mate_too_short").
                       TSV rows gain a last column "mates" and JSON regions and segments
                       a field "mates": the mates that read the line ("1", "2", "12").
  --interleaved        read pairs as --pairs does, from files that hold the two mates of
                       each pair in turn (each file one sample, named as without it).
  --sample NAME        name the sample of the sequence file that follows. Two files
                       that would be one sample (run1/S.fastq run2/S.fastq) are
                       refused unless both are given that name (they are then pooled).
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
  --identify exact|nearest
                       exact (default): a variable region is named only by a listed
                       variant equal to its bases. nearest: also, when none equals
                       them, by the listed variants with the fewest differences (edit
                       distance; IUPAC codes of read or variant match every base they
                       stand for) within --max-diffs and --min-identity, for a variable
                       region alone between two placed conserved regions. The variant's
                       ends may lie up to 2 bases beside the region's (a conserved
                       region placed a base or two off). Such a line is flagged "~"
                       ("2~{V}~ACGT..."); equally near variants are all listed, their
                       taxa joined, and the genus they share when all names share their
                       first word (JSON "shared", GFF3 Note "shared"). A variant found
                       exactly but followed by other bases before the next conserved
                       region is not exact: "~" when near variants are found, else "?".
                       TSV gains the columns diffs and identity, JSON per variable
                       region "identified" (exact, nearest, none), "diffs", "identity"
                       and "shared"; GFF3 Notes say "diffs N", BED scores a nearest
                       variant by its identity (at most 999), counts rows of nearest
                       variants carry "~" before the variant, and the summary counts
                       vr:...:nearest among those identified. Each distinct region is
                       looked up once per job.
  --max-diffs N        nearest: at most N differences (default: no limit but the
                       identity's).
  --min-identity F     nearest: at least this identity, 1 - differences / the longer
                       of region and variant (default 0.9: measured on simulated reads,
                       it names 96% of whole trnL-F regions with 5% errors and 91% of
                       P6 loops with 4%).
  --rank-by ranking|variants
                       ranking (default): the best template by the ranking, the first
                       of those that rank alike. variants: among the templates that rank
                       alike with the best, the one whose variable regions are identified
                       best: exact identifications first, then (with --identify
                       nearest) the fewest differences to the nearest variants, sought
                       down to identity 0.75 for this, a region too far counting all
                       its bases. It heads the ranking. When
                       several still tie, text says "#tie<TAB>N" after the name line,
                       JSON "tie": N and TSV a last column tie (1: no tie). Not with -t
                       or --primers-trimmed.
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
                       Nothing is written for a sequence that could not be analysed,
                       nor for one in which no region was placed (said on standard
                       error, exit status 1); its name stays taken, so names do not
                       depend on the analysis.
                       A DIR that is no folder or cannot be written stops the run
                       before it starts. Not with --primers-trimmed.
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
                       skipped_malformed (records passed over, not among the reads),
                       vote_table_full (reads whose CRs were placed with a full vote
                       table: the word length is too short for them); then
                       per template T of the template file template:T:reads (the reads
                       that took it, with a CR found), per region R of T (named as
                       --extract names it) region:T:R:placed (flag : on a line of its
                       own), region:T:R:uncertain (? or a line of several regions) and
                       region:T:R:not_found (no line, or beside a trimmed read), and per
                       VR number V vr:T:V:identified and vr:T:V:unidentified, as
                       --counts counts them. "schema_version" numbers the layout
                       (docs/schema/summary.schema.json); "vr_lengths" gives per sample
                       and variable region "T:V" the reads per length of the stretch
                       between its conserved regions.
  --counts-format F    tsv (the default) or biom: --counts writes the table as BIOM 1.0
                       (JSON), the variants as observations with template, vr, vr_file,
                       variant and taxa as metadata, the samples as columns.
  --report FILE        write the report of the run as one HTML page that needs no network:
                       reads per sample (analysed, passed over by reason, strand,
                       identified), the taxa most often found per sample and variable
                       region as bars and a heat map, the length of each variable region,
                       the templates applied, the command line and parameters; each chart
                       beside a table that sorts on a click on a column's header.
  --multiqc FILE       write the per-sample numbers as a MultiQC table; a name ending in
                       _mqc.tsv lets "multiqc FOLDER" show them as a Varigap section.
  --distinct FILE      write the distinct reads: a header row "sample sequence reads",
                       then per sample (in input order) each different read (its bases
                       as read, before any strand is chosen; sorted bytewise) and how
                       many reads have them. With it, merge adds up distinct reads of
                       the shards of a split run exactly. Distinct reads beyond 32 MiB
                       go to sorted temporary files in $TMPDIR (else /tmp).
                       These files are written under a temporary name and renamed when
                       complete; --force replaces existing ones.
  -j, --jobs N         analyse with N worker threads; 0 (the default): as many as the
                       cores this process may use (its CPU affinity and cgroup CPU
                       quota). The output is the same as with --jobs 1, in the same order.
  --no-progress        no progress bar (it is shown on standard error for runs longer
                       than a second when standard error is a terminal).
)"},
    {Command::Variants, "  varigap-cli variants VR_FILE [--length N] [--mode same|different|shorter|longer|all]\n",
     R"(variants: lists the entries of a variable region file as the Variable Region Analysis
window does: entries whose length (of their bases, as cleaned) is the same as,
different from, shorter or longer than N, or all entries (the first 1023 entries of
the file). Each entry's bases as written, in lines of at most 100 characters followed
by " +" where the entry goes on, each line followed by a TAB and the entry's taxa.
  --length N           reference length (default 0).
  --mode MODE          same, different, shorter, longer or all (default: same when
                       --length is given, else all).
)"},
    {Command::Build, "  varigap-cli build REGIONS.tsv SEQUENCES -o DIR [options]\n",
     R"(build: makes a template file and its variable region files from records whose regions are
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
)"},
    {Command::Regions, "  varigap-cli regions GENBANK_FILE... --map MAP.tsv [--fasta FILE] [options]\n",
     R"(regions: finds a template's regions in annotated GenBank or EMBL records (plain or gzip)
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
)"},
    {Command::Check, "  varigap-cli check TEMPLATE_FILE [--params FILE]\n",
     R"(check: reads a template file with the program's reader and every variable region file it
names, and lists each problem as FILE:LINE: message: files missing or unreadable, reader
errors and limits, CRs shorter than the word length or minCRLength, characters that are
not bases in a variant, duplicate, empty or prefix variants, unfinished entries, a CR that
also occurs in a neighbouring VR's variants, templates that the ranking cannot tell apart.
  --params FILE          parameters to check against (default as for analyze).
  Exit status: 0 no problem; 1 problems listed; 2 template file not readable.
)"},
    {Command::Evaluate, "  varigap-cli evaluate TEMPLATE_FILE [--format text|tsv] [options]\n",
     R"(evaluate: how well a reference tells its taxa apart, per variable region file of the
template file: the variants listed, those listed for more than one species (their taxa), and
a leave-one-out run: each variant removed and its bases identified by the others as
analyze --identify nearest would (the nearest name one of its species, only its genus,
neither: wrong, or none is within the bound: unidentified). Text: a table with percentages;
tsv: the columns template, vr, file, variants, shared_variants, same_species, same_genus,
wrong, unidentified, shared_taxa (each shared variant's taxa, " | " between them).
  --max-diffs N, --min-identity F   the bound, as for analyze --identify nearest.
  --params FILE          parameters (default as for analyze).
  Exit status: 0 done; 2 usage error or a template file that cannot be read.
)"},
    {Command::Merge, "  varigap-cli merge counts|distinct|summary OUTPUT INPUT... [--distinct FILE] [--force]\n",
     R"(merge: adds up the tables and summaries that analyze wrote for parts (shards) of a run,
inputs in shard order, into OUTPUT as one analyze run over all of them would have written
them. OUTPUT is written under a temporary name and renamed when complete; nothing is
written when an input cannot be read, is OUTPUT under another name, or was made
otherwise than the first input (the tables' "# made with:" line, the summaries'
made_with: template, its checksum, options that change results, version).
  counts               counts tables (--counts): the reads of each row and sample are added;
                       sample columns in the order they first come, rows sorted again.
  distinct             tables of distinct reads (--distinct): reads added per sample and
                       sequence.
  summary              summaries (--summary): every counter of each sample is added;
                       program, version and parameters from the first input, the command
                       line of the merge. distinct_reads cannot be added (a read can be in
                       several shards): it is taken from --distinct, else added with a
                       warning. "{}" and other JSON without program, version and samples
                       is refused.
  --distinct FILE      summary: the merged table of distinct reads of the same shards.
  --force              replace an existing OUTPUT.
)"},
    {Command::Merge, "  varigap-cli merge tsv|gff3 OUT IN... [--force]\n",
     R"(merge tsv|gff3: joins the outputs of the shards of a split run (analyze --format tsv or
gff3 on each shard) into OUT, in the order of the IN files: the first file's header row
(tsv) or "##gff-version" line (gff3) once, then every file's lines after it. Each IN must
begin with the same header line and end with a line end, and TSV shards of analyze
--made-with must say the same on the line after it (the first is kept); else nothing is
written. OUT is written under a temporary name and renamed when complete.
  --force                replace an existing OUT (without it OUT is left untouched).
  Exit status: 0 joined; 1 OUT exists or could not be written; 2 usage error, or an IN
  that cannot be read, begins with another header line or ends inside a line.
)"},
    {Command::Report,
     "  varigap-cli report --summary FILE --counts FILE [-o REPORT.html] [--multiqc NAME_mqc.tsv]\n"
     "                     [--biom FILE.biom] [--force]\n",
     R"(report: makes from the summary and the counts table of a run (as analyze --summary and
--counts or merge wrote them; of a whole project after merge) what analyze writes with
--report, --multiqc and --counts-format biom. Each file is written under a temporary name
and renamed when complete.
  -o, --output FILE    the HTML report (see --report).
  --multiqc FILE       the MultiQC table (see --multiqc).
  --biom FILE          the counts table as BIOM 1.0 (see --counts-format).
  --force              replace existing files.
)"},
};

// What every command shares: messages and exit statuses.
const char* const kMessagesAndStatus =
    R"(Messages go to standard error as "TITLE: TEXT"; a message about a record is followed by
a line naming the record and its file, and a missing variable region file is reported
once, with a count at the end. Control characters in names are written as blanks.
Exit status: 0 all went well; 1 a named sequence was not found, a record or an empty
sequence file was passed over, or an output file could not be written or already
existed; 2 usage error, a template, sequence, settings or variable region file that
could not be loaded or read, a compressed sequence file that broke off or is damaged,
or standard output that could not be written.
)";

}  // namespace

std::string HelpText(Command command) {
    const bool all = command == Command::Help;
    std::string text = "Usage:\n";
    for (const auto& h : kCommandHelp)
        if (all || h.command == command) text += h.usage;
    if (all) text += "  varigap-cli --help\n  varigap-cli --version\n";
    for (const auto& h : kCommandHelp)
        if (all || h.command == command) text += "\n" + std::string(h.text);
    // The commands without an exit status of their own share the general one.
    if (all || command == Command::Analyze || command == Command::Variants)
        text += "\n" + std::string(kMessagesAndStatus);
    return text;
}

}  // namespace varigap::cli
