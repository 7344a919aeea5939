#!/usr/bin/env bash
# Analyses the bundled trnL-F example with the programs in build folder $1: the desktop program
# opens on it when a display is available, and the command line prints the analysis.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tpl=data/example/trnLF.tpl
seqs=data/example/sequences.fasta
if [[ ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) && -x "$build/varigap" && -f $tpl ]]; then
  echo "Opening the desktop program on the example: $build/varigap $tpl $seqs"
  nohup "$build/varigap" "$tpl" "$seqs" >/dev/null 2>&1 &
  disown
fi
if [[ -x "$build/varigap-cli" && -f $tpl ]]; then
  cli=$build/varigap-cli
  echo "# Every sequence of $seqs against the templates of $tpl, with the ranking."
  echo "# Lines: number, ':' placed unambiguously or '?' not, [C] conserved region,"
  echo "# {V} variable region (identified among its known variants), CRs,VRs for other bases."
  "$cli" analyze "$tpl" "$seqs" --ranking
  echo
  echo "# The reverse-strand record, analysed as its complement:"
  "$cli" analyze "$tpl" "$seqs" --complement -s "Neomicrocalamus yunnanensis PV976845.1 (reverse strand)"
  echo
  echo "# A rush with the template of the other Poales, whose variable region files list it (TSV, taxa column):"
  "$cli" analyze "$tpl" "$seqs" --template "Poales (not Poaceae) trnL-F" -s "Juncus fauriei PP790565.1" --format tsv |
    cut -f 3-9,11
else
  echo "Varigap is built in $build. Programs:"
  ls "$build" | grep -E '^varigap' || true
fi
