#!/usr/bin/env bash
# Analyses the bundled trnL-F example with the programs in build folder $1: the desktop program
# opens on it when a display is available, and the command line prints the analysis.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
template=data/example/trnLF.tpl
sequences=data/example/sequences.fasta
if [[ ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) && -x "$build/varigap" && -f $template ]]; then
  echo "Opening the desktop program on the example: $build/varigap $template $sequences"
  nohup "$build/varigap" "$template" "$sequences" >/dev/null 2>&1 &
  disown
fi
if [[ -x "$build/varigap-cli" && -f $template ]]; then
  "$build/varigap-cli" analyze "$template" "$sequences" --ranking
else
  echo "Varigap is built in $build. Programs:"
  ls "$build" | grep -E '^varigap' || true
fi
