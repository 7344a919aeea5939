#!/usr/bin/env bash
# The bundled examples, built by varigap-cli itself from the real trnL-F records:
#   data/tools/regions/trnLF.tsv, p6.tsv   REGIONS.tsv of the 654 trnL-F records and of the
#                                          P6 loops found in them (trnlf_regions.sh, p6_regions.sh)
#   data/example/built/trnLF.tpl           one template of the trnL-F region (CR trnL 5' exon,
#                                          VR intron, CR 3' exon, VR spacer, CR trnF), with
#                                          trnL_intron.txt and trnL-trnF_spacer.txt
#   data/example/p6/p6.tpl                 the trnL P6 loop between primer sites g and h, with p6_loop.txt
#   data/example/built/ranking.tpl         both templates in one file (with a copy of p6_loop.txt):
#                                          the ranking picks trnL-F for a whole-region read and
#                                          P6 for an amplicon read (reads.fasta, ranking_demo.sh)
# Each file is checked with varigap-cli check. Usage: data/tools/build_examples.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=$(cd "${1:-$root/build}" && pwd)/varigap-cli
[[ -x $cli ]] || { echo "build_examples: $cli is not built" >&2; exit 2; }
source "$root/data/tools/find_shared.sh"
tools=$root/data/tools
example=$root/data/example

"$tools/trnlf_regions.sh" "$shared/trnLF/features.tsv" > "$tools/regions/trnLF.tsv"
"$tools/p6_regions.sh" "$shared/trnLF/regions.fasta" "$shared/trnLF/features.tsv" > "$tools/regions/p6.tsv"

# Short relative names, so that the command lines written into the files do not depend on
# where the repository and the data lie.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$shared/trnLF" "$work/trnLF"
ln -s "$tools/regions" "$work/regions"
ln -s "$example" "$work/example"
cd "$work"
"$cli" build regions/trnLF.tsv trnLF/regions.fasta -o example/built --name trnLF > /dev/null
"$cli" build regions/p6.tsv trnLF/regions.fasta -o example/p6 --name p6 > /dev/null

# Template files can be put one after another: the ranking file is the two side by side.
cp example/p6/p6_loop.txt example/built/
{
  printf '# Two templates of different loci for the ranking demo (data/tools/ranking_demo.sh):\r\n'
  printf '# trnL-F (trnLF.tpl) and the trnL P6 loop (../p6/p6.tpl), joined by data/tools/build_examples.sh.\r\n\r\n'
  cat example/built/trnLF.tpl
  printf '\r\n'
  cat example/p6/p6.tpl
} > example/built/ranking.tpl

# Demo reads: two records as a whole-region (Sanger) read and as a P6 amplicon (g to h).
awk -F '\t' '
  FNR == NR { if ($2 == "g_site") g[$1] = $4; if ($2 == "h_site") h[$1] = $5; next }
  function emit(name, s,   p) { printf ">%s\r\n", name; for (p = 1; p <= length(s); p += 60) printf "%s\r\n", substr(s, p, 60) }
  function done() {
    if (!(name in want)) return
    emit(name " (Sanger read)", seq)
    emit(name " (P6 amplicon)", substr(seq, g[name], h[name] - g[name] + 1))
  }
  BEGIN { want["Melocalamus scandens PV976839.1"]; want["Quercus gilva PQ876385.1"] }
  /^>/ { done(); name = substr($0, 2); seq = ""; next }
  { seq = seq $0 }
  END { done() }' regions/p6.tsv trnLF/regions.fasta > example/built/reads.fasta

for tpl in example/built/trnLF.tpl example/p6/p6.tpl example/built/ranking.tpl; do
  "$cli" check "$tpl" || { echo "build_examples: $tpl is not clean" >&2; exit 1; }
  echo "$tpl: checked, clean"
done
echo
"$tools/ranking_demo.sh" "$(dirname "$cli")"
