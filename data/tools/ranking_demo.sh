#!/usr/bin/env bash
# The ranking decides between templates of different loci: data/example/built/ranking.tpl
# holds the trnL-F template (conserved regions of 35, 50 and 73 bases) and the trnL P6 loop
# template (17 and 22 bases). A whole trnL-F read holds all five conserved regions and ranks
# trnL-F first (158 matched bases against 39); a P6 amplicon holds only the primer sites and
# ranks P6 first (39 against 0).
# Usage: data/tools/ranking_demo.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${1:-$root/build}/varigap-cli
[[ -x $cli ]] || { echo "ranking_demo: $cli is not built" >&2; exit 2; }
cd "$root/data/example/built"
echo "varigap-cli analyze ranking.tpl reads.fasta --ranking   (in data/example/built)"
"$cli" analyze ranking.tpl reads.fasta --ranking --no-progress | awk '
  /^>/ { print; next }
  /^#rank/ { printf "   rank %s: %-6s %3s matched bases\n", $2, $4, $5; next }
  { print "   " (length($0) > 76 ? substr($0, 1, 73) "..." : $0) }'
