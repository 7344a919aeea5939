#!/usr/bin/env bash
# Analyses the bundled trnL-F example with the programs in build folder $1.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [[ -x "$build/varigap-cli" && -f data/example/trnLF.tpl ]]; then
  "$build/varigap-cli" analyze data/example/trnLF.tpl data/example/sequences.fasta --ranking
else
  echo "Varigap is built in $build. Programs:"
  ls "$build" | grep -E '^varigap' || true
fi
