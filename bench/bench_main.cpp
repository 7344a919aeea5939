// The one main() of varigap_bench: every bench/*.cpp registers its benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
