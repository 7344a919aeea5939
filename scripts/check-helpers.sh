# Helpers of the check scripts, sourced after setting `check` to the script's name:
# step WHAT prints progress, fail WHAT stops with a failure, same FILE1 FILE2 WHAT fails
# (showing the first differences) unless the files are equal.
fail() {
  echo "$check: FAILED: $*" >&2
  exit 1
}
step() { echo "$check: $*"; }
same() {
  cmp -s "$1" "$2" || { diff "$1" "$2" | head -20 >&2; fail "$3"; }
}

# The workflow checks share these; they read $tmp (a temporary folder), $template and $cli.
# workflow_config NAME OUTDIR CHUNKS VARIGAP SAMPLE=FILE...: writes the sample sheet $tmp/NAME.tsv and
# the configuration $tmp/NAME.yaml of a run over the samples in shards of CHUNKS reads by VARIGAP.
workflow_config() {
  local name=$1 outdir=$2 chunks=$3 varigap=$4 sample
  shift 4
  printf 'sample\tpath\n' >"$tmp/$name.tsv"
  for sample in "$@"; do printf '%s\t%s\n' "${sample%%=*}" "${sample#*=}" >>"$tmp/$name.tsv"; done
  touch -d 2000-01-01 "$tmp/$name.tsv"  # older than every output: changes must be seen otherwise
  printf 'template: %s\nsamples: %s\nchunks: %s\norient: auto\noutdir: %s\nvarigap: %s\n' \
    "$template" "$tmp/$name.tsv" "$chunks" "$outdir" "$varigap" >"$tmp/$name.yaml"
}
# analyze ARGS...: varigap-cli analyze with the template and strand the workflow uses.
analyze() { "$cli" analyze "$template" "$@" --orient auto --no-progress; }
# direct_run DIR SAMPLE=FILE...: one varigap-cli analyze over the samples, writing DIR/analysis.tsv,
# counts.tsv, distinct.tsv, summary.json and regions/ as the workflow's merge does.
direct_run() {
  local dir=$1 sample args=()
  shift
  for sample in "$@"; do args+=(--sample "${sample%%=*}" "${sample#*=}"); done
  mkdir -p "$dir"
  analyze "${args[@]}" --format tsv --made-with --counts "$dir/counts.tsv" --distinct "$dir/distinct.tsv" \
    --summary "$dir/summary.json" --extract "$dir/regions" >"$dir/analysis.tsv"
}
# same_tables DIRECT OUTDIR: the workflow's analysis.tsv, counts.tsv and distinct.tsv are the direct run's.
same_tables() {
  local f
  for f in analysis.tsv counts.tsv distinct.tsv; do same "$1/$f" "$2/$f" "$2/$f differs from the direct run's"; done
}
