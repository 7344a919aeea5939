// LPAM over region and window sizes: the indexed aligner beside the literal one.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/state.h"
#include "engine/lpam.h"
#include "engine/lpam_literal.h"
#include "engine/test_sequences.h"

namespace varigap {
namespace {

// A region planted in the middle of a window of random bases, with a few mismatches and a
// two-base deletion; the window lies inside a longer sequence.
struct AlignInput {
    std::string cr, seq;
    int from, to;
};

AlignInput MakeInput(int crLen, int windowLen, uint64_t seed) {
    AlignInput in;
    in.cr = test::RandomBases(crLen, 10 * seed + 1);
    std::string copy = in.cr;
    for (int p = 7; p <= crLen; p += 23)
        copy[static_cast<size_t>(p - 1)] = test::Mismatch(copy[static_cast<size_t>(p - 1)]);
    if (crLen > 40) copy.erase(static_cast<size_t>(crLen / 2), 2);
    const int before = (windowLen - static_cast<int>(copy.size())) / 2;
    const std::string window = test::RandomBases(before, 10 * seed + 2) + copy +
                               test::RandomBases(windowLen - before - static_cast<int>(copy.size()), 10 * seed + 3);
    in.seq = test::RandomBases(200, 10 * seed + 4) + window + test::RandomBases(200, 10 * seed + 5);
    in.from = 201;
    in.to = 200 + windowLen;
    return in;
}

template <void (*Align)(State&, const std::string&, const std::string&, Integer, Integer, Integer&, Integer&, Integer&)>
void BM_Align(benchmark::State& state) {
    // Several inputs in turn, so that the processor cannot learn one window's branches by heart.
    std::vector<AlignInput> inputs;
    for (uint64_t seed = 0; seed < 4; ++seed)
        inputs.push_back(MakeInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), seed));
    SilentMessenger quiet;
    auto st = std::make_unique<State>();
    st->messenger = &quiet;
    st->showAssertFailures = false;  // long windows fill the vote table: measure the aligner
    InitLPAM(*st);
    Integer n, s, e;
    size_t next = 0;
    for (auto _ : state) {
        const AlignInput& in = inputs[next];
        next = (next + 1) % inputs.size();
        Align(*st, in.cr, in.seq, in.from, in.to, n, s, e);
        benchmark::DoNotOptimize(n);
    }
    state.counters["numMatches"] = static_cast<double>(int(n));
    state.SetBytesProcessed(state.iterations() * state.range(1));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int window : {1000, 8000, 32000})
        for (int cr : {20, 100, 500, 2000})
            if (cr < window) b->Args({cr, window});
    b->ArgNames({"cr", "window"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK_TEMPLATE(BM_Align, LPAMAlign)->Name("LPAMAlign/fast")->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Align, literal::LPAMAlign)->Name("LPAMAlign/literal")->Apply(Sizes);

}  // namespace
}  // namespace varigap
