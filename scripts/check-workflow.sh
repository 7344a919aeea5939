#!/usr/bin/env bash
# Checks the Snakemake workflow (workflow/Snakefile) with the varigap-cli of build folder $1
# (default build) on the bundled amplicon example, split into shards of 150 reads (four per
# sample), and the bundled trnL-F FASTA file (CR LF, wrapped lines) as a third sample, against
# one varigap-cli analyze over the same samples:
#   - analysis.tsv, counts.tsv and distinct.tsv byte for byte; regions/*.fastq.gz decompressed
#     and gff/SAMPLE.gff3 byte for byte; summary.json but for its command line; varigap_mqc.tsv
#     and counts.biom byte for byte, report.html there;
#   - a second run finds nothing to do; a sample added to the sheet is merged in;
#   - a shard that fails (a read longer than varigap-cli takes, in the third shard of S2) fails
#     the workflow with that shard's message and leaves no merged output, neither in a new
#     output folder nor the earlier run's in the old one.
#   - a paired run of two samples told apart by dual tags (data/example/pairs), demultiplexed by
#     the workflow, gives the tables and summary of demultiplexing by hand + analyze --pairs, and
#     counts the unassigned pairs.
# Usage: scripts/check-workflow.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build=$(cd "${1:-build}" && pwd)
cli=$build/varigap-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

check=check-workflow
export SOURCE_DATE_EPOCH=1700000000  # the date of the BIOM tables, the workflow's and the direct run's
source scripts/check-helpers.sh  # the working folder is the project's

cmake --build "$build" --target varigap-cli >"$tmp/build.log" 2>&1 || { cat "$tmp/build.log" >&2; fail "build"; }
ex=$src/data/example
template=$ex/p6/p6.tpl
# workflow CONFIG_NAME OUTDIR SAMPLE=FILE...: writes a configuration and runs the workflow with it.
workflow() {
  workflow_config "$1" "$2" 150 "$cli" "${@:3}"
  snakemake -s "$src/workflow/Snakefile" -d "$tmp" --configfile "$tmp/$1.yaml" --cores 2 --quiet
}

step "the workflow on three samples in shards of 150 reads"
S1=$ex/amplicon/S1.fastq.gz S2=$ex/amplicon/S2.fastq.gz S3=$ex/sequences.fasta out=$tmp/out
start=$(date +%s)
workflow run "$out" S1="$S1" S2="$S2" S3="$S3" >"$tmp/run.log" 2>&1 || { cat "$tmp/run.log" >&2; fail "the workflow"; }
step "  $(($(date +%s) - start)) s"
for s in S1 S2; do
  [[ $(ls "$out/logs/$s" | wc -l) -eq 4 ]] || fail "sample $s was not analysed in four shards"
done

step "its outputs = one varigap-cli analyze over the three samples"
direct=$tmp/direct
direct_run "$direct" S1="$S1" S2="$S2" S3="$S3"
same_tables "$direct" "$out"
for f in "$direct"/regions/*; do
  zcat "$out/regions/${f##*/}.gz" >"$tmp/region" || fail "no regions/${f##*/}.gz"
  same "$f" "$tmp/region" "regions/${f##*/}.gz differs from the direct run's ${f##*/}"
done
[[ $(ls "$out/regions" | wc -l) -eq $(ls "$direct/regions" | wc -l) ]] || fail "regions/ holds other files"
for s in S1 S2 S3; do
  analyze --sample "$s" "${!s}" --format gff3 >"$direct/$s.gff3"
  same "$direct/$s.gff3" "$out/gff/$s.gff3" "gff/$s.gff3 differs from the direct run's"
done
same <(grep -v '"command_line"' "$direct/summary.json") <(grep -v '"command_line"' "$out/summary.json") \
  "summary.json differs from the direct run's"
"$cli" report --summary "$direct/summary.json" --counts "$direct/counts.tsv" --multiqc "$direct/varigap_mqc.tsv" \
  --biom "$direct/counts.biom" || fail "varigap-cli report on the direct run"
for f in varigap_mqc.tsv counts.biom; do same "$direct/$f" "$out/$f" "$f differs from the direct run's"; done
grep -q '"S3"' "$out/report.html" || fail "report.html misses a sample"

step "a second run has nothing to do"
workflow run "$out" S1="$S1" S2="$S2" S3="$S3" >"$tmp/again.log" 2>&1 || { cat "$tmp/again.log" >&2; fail "the second run"; }
grep -q "Nothing to be done" "$tmp/again.log" || { cat "$tmp/again.log" >&2; fail "the second run did work"; }

step "a sample added to the sheet is merged in (the sheet's time left as it was)"
workflow run "$out" S1="$S1" S2="$S2" S3="$S3" S4="$S1" >"$tmp/added.log" 2>&1 ||
  { cat "$tmp/added.log" >&2; fail "the run with a sample added"; }
analyze --sample S1 "$S1" --sample S2 "$S2" --sample S3 "$S3" --sample S4 "$S1" --format tsv --made-with \
  --counts "$direct/counts4.tsv" >"$direct/analysis4.tsv"
same "$direct/analysis4.tsv" "$out/analysis.tsv" "analysis.tsv misses the added sample"
same "$direct/counts4.tsv" "$out/counts.tsv" "counts.tsv misses the added sample"

step "a failed shard fails the workflow with its message and leaves no merged output"
bad=$tmp/S2bad.fastq.gz
zcat "$S2" >"$tmp/S2.fastq"
{
  head -n 1600 "$tmp/S2.fastq"  # 400 reads: shards 1 and 2, half of 3
  printf '@long\n%s\n+\n%s\n' "$(printf 'A%.0s' {1..40000})" "$(printf 'I%.0s' {1..40000})"
  tail -n +1601 "$tmp/S2.fastq"
} | gzip >"$bad"
merged=(analysis.tsv counts.tsv distinct.tsv summary.json regions gff)
for outdir in "$tmp/fresh" "$out"; do  # a new output folder, then the one of the run above
  if workflow bad "$outdir" S1="$S1" S2="$bad" >"$tmp/bad.log" 2>&1; then fail "the workflow succeeded"; fi
  grep -q "shard 3 of sample S2 (reads 301 to at most 450 of $bad) failed with exit status 1" "$tmp/bad.log" &&
    grep -q "record 101 (line 401): the read has 40000 bases, more than the 32000" "$tmp/bad.log" ||
    { cat "$tmp/bad.log" >&2; fail "the shard's message is missing"; }
  for f in "${merged[@]}"; do [[ ! -e $outdir/$f ]] || fail "$outdir/$f was left behind"; done
done
step "a paired run of two samples told apart by their tags = demultiplexing by hand + analyze --pairs"
pairs=$ex/pairs paired=$tmp/paired
printf 'template: %s\ntags: %s\nreads1: %s\nreads2: %s\nchunks: 150\norient: auto\noutdir: %s\nvarigap: %s\n' \
  "$template" "$pairs/tags.tsv" "$pairs/run_R1.fastq.gz" "$pairs/run_R2.fastq.gz" "$paired" "$cli" >"$tmp/paired.yaml"
snakemake -s "$src/workflow/Snakefile" -d "$tmp" --configfile "$tmp/paired.yaml" --cores 2 --quiet >"$tmp/paired.log" 2>&1 ||
  { cat "$tmp/paired.log" >&2; fail "the workflow on the paired run"; }
# By hand: each sample's pairs whose mate 1 begins with its forward tag and mate 2 with its reverse
# one, then those read the other way round with their mates swapped; tags cut off.
hand=$tmp/hand
mkdir -p "$hand"
python3 - "$pairs" "$hand" <<'PY' >"$hand/unassigned" || fail "demultiplexing by hand"
import gzip, sys
src, out = sys.argv[1:]
def records(path):
    lines = gzip.open(path, "rt").read().splitlines()
    return [lines[i:i + 4] for i in range(0, len(lines), 4)]
rows = [line.split("\t") for line in open(f"{src}/tags.tsv").read().splitlines()[1:]]
files = {sample: ([], [], [], []) for sample, _, _ in rows}
unassigned = 0
for one, two in zip(records(f"{src}/run_R1.fastq.gz"), records(f"{src}/run_R2.fastq.gz")):
    for sample, f, r in rows:
        if one[1].startswith(f) and two[1].startswith(r):
            kept = files[sample][0:2]; a, b, ta, tb = one, two, f, r
        elif one[1].startswith(r) and two[1].startswith(f):
            kept = files[sample][2:4]; a, b, ta, tb = two, one, f, r
        else:
            continue
        kept[0].append("\n".join([a[0], a[1][len(ta):], "+", a[3][len(ta):]]))
        kept[1].append("\n".join([b[0], b[1][len(tb):], "+", b[3][len(tb):]]))
        break
    else:
        unassigned += 1
for sample, (f1, f2, r1, r2) in files.items():
    for mate, recs in ((1, f1 + r1), (2, f2 + r2)):
        open(f"{out}/{sample}_R{mate}.fastq", "w").write("".join(r + "\n" for r in recs))
print(unassigned)
PY
analyze --pairs --sample S1 "$hand/S1_R1.fastq" "$hand/S1_R2.fastq" --sample S2 "$hand/S2_R1.fastq" \
  "$hand/S2_R2.fastq" --format tsv --made-with --counts "$hand/counts.tsv" --distinct "$hand/distinct.tsv" \
  --summary "$hand/summary.json" >"$hand/analysis.tsv"
same_tables "$hand" "$paired"
python3 - "$hand/summary.json" "$paired/summary.json" "$(cat "$hand/unassigned")" <<'PY' ||
import json, sys
hand, flow = (json.load(open(p)) for p in sys.argv[1:3])
assert flow["samples"].pop("unassigned") == {"pairs_unassigned": int(sys.argv[3]), "distinct_reads": 0}
assert flow["vr_lengths"].pop("unassigned") == {}
for s in hand, flow:
    s.pop("command_line")
assert hand == flow and hand["samples"]["S1"]["pairs_merged"] > 0
PY
  fail "summary.json differs from the run by hand's (or unassigned pairs are not counted)"
step "all passed"
