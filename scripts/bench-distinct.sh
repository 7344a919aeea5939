#!/usr/bin/env bash
# Memory of the run's tables with the programs in build folder $1 (default build):
# $VARIGAP_BENCH_DISTINCT (10000000) distinct P6-loop reads (primer g, a random loop of 30 to 90
# bases, primer h; the same seed gives the same reads) fed through standard input to
# varigap-cli analyze --orient auto -j 2 with --counts, --summary and --distinct, under
# /usr/bin/time -v. Prints the peak RSS and the time, and checks that the tables hold every read.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reads=${VARIGAP_BENCH_DISTINCT:-10000000}
limit_mb=150
cli=$build/varigap-cli
[[ -x $cli ]] || { echo "bench: $cli is not built" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

generate() {
  python3 - "$reads" <<'EOF'
import random, sys
n, rng, out = int(sys.argv[1]), random.Random(29), sys.stdout.buffer
acgt = bytes.maketrans(bytes(range(256)), b"ACGT" * 64)
g, h = b"GGGCAATCCTGAGCCAA", b"GATAGGTGCAGAGACTCAATGG"
for start in range(0, n, 100000):
    lengths = [rng.randrange(30, 91) for _ in range(min(100000, n - start))]
    bases, at, parts = rng.randbytes(sum(lengths)).translate(acgt), 0, []
    for i, length in enumerate(lengths):
        parts.append(b">r%d\n%s%s%s\n" % (start + i + 1, g, bases[at:at + length], h))
        at += length
    out.write(b"".join(parts))
EOF
}

start=$(date +%s.%N)
generate | /usr/bin/time -v -o "$work/time" "$cli" analyze data/example/p6/p6.tpl - --orient auto -j 2 --no-progress \
  --format tsv --counts "$work/counts.tsv" --summary "$work/summary.json" --distinct "$work/distinct.tsv" \
  >/dev/null 2>"$work/err" || { echo "bench: varigap-cli failed" >&2; cat "$work/err" "$work/time" >&2; exit 1; }
end=$(date +%s.%N)
rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time")
cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { printf "%.1f", u + s }' "$work/time")
rows=$(($(wc -l <"$work/distinct.tsv") - 1))
counted=$(python3 -c 'import json, sys; s = json.load(open(sys.argv[1]))["samples"]["stdin"]
print(s["reads"], s["distinct_reads"])' "$work/summary.json")
echo "== Tables of $reads distinct reads (--counts --summary --distinct, -j 2)"
awk -v rss="$rss" -v t="$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" -v cpu="$cpu" -v limit="$limit_mb" \
  'BEGIN { mb = rss / 1024; printf "peak RSS %.0f MB (at most %d wanted) %s; %.1f s, %.1f CPU s\n", mb, limit,
           (mb <= limit ? "PASS" : "FAIL"), t, cpu }'
echo "reads and distinct reads in the summary: $counted; rows of the distinct table: $rows"
