#!/usr/bin/env bash
# Identification accuracy on simulated reads, varigap-cli analyze beside vsearch
# --usearch_global --id 0.97 --strand both against the same reference: P6 amplicon reads of a
# good and a noisy run (ART's HiSeq 2500 and MiSeq v3 profiles), of species left out of the
# reference, and whole trnL-F regions with 2% and 5% errors. Prints one Markdown table; what
# each row counts, and what "true variant" means, is said at the top of
# measure_identification.py. Seeded: the same seed gives the same table.
# Needs art_illumina and vsearch (scripts/install-deps.sh --bench) and ../shared/data.
# Usage: data/tools/measure_identification.sh [BUILD_DIR] [SEED]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=$(cd "${1:-$root/build}" && pwd)/varigap-cli
[[ -x $cli ]] || { echo "measure_identification: $cli is not built" >&2; exit 2; }
for tool in art_illumina vsearch; do
  command -v "$tool" > /dev/null || { echo "measure_identification: $tool missing (scripts/install-deps.sh --bench)" >&2; exit 2; }
done
source "$root/data/tools/find_shared.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/data/tools/measure_identification.py" --cli "$cli" --shared "$shared/trnLF" --work "$work" --seed "${2:-2025}"
