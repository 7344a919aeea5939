// LPAM over region and window sizes: Find Template with a template of that one region, beside
// the literal aligner over the same window.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/state.h"
#include "engine/analysis.h"
#include "engine/lpam_literal.h"
#include "engine/test_sequences.h"
#include "started.h"

namespace varigap {
namespace {

// A region planted in the middle of a window of random bases, with a few mismatches and a
// two-base deletion.
struct AlignInput {
    std::string cr, seq;
};

AlignInput MakeInput(int crLen, int windowLen, uint64_t seed) {
    AlignInput in;
    in.cr = test::RandomBases(crLen, 10 * seed + 1);
    std::string copy = in.cr;
    for (int p = 7; p <= crLen; p += 23)
        copy[static_cast<size_t>(p - 1)] = test::Mismatch(copy[static_cast<size_t>(p - 1)]);
    if (crLen > 40) copy.erase(static_cast<size_t>(crLen / 2), 2);
    const int before = (windowLen - static_cast<int>(copy.size())) / 2;
    in.seq = test::RandomBases(before, 10 * seed + 2) + copy +
             test::RandomBases(windowLen - before - static_cast<int>(copy.size()), 10 * seed + 3);
    return in;
}

// The engine's aligner, as the ranking calls it for a template's only region: over the whole sequence.
void FindTemplateAlign(bench::Started& s, const std::string& cr, const std::string& seq, Integer& numMatches) {
    s.session.crSeq[1][1] = cr;
    FindTemplate(s.st, seq);
    const Integer p = s.st.crStartPos[1][1];
    numMatches = p == POSNOTFOUND ? 0 : p == POSAMBIGUOUS ? 2 : 1;
}

void LiteralAlign(bench::Started& s, const std::string& cr, const std::string& seq, Integer& numMatches) {
    Integer start, end;
    literal::LPAMAlign(s.st, cr, seq, 1, Len(seq), numMatches, start, end);
}

template <void (*Align)(bench::Started&, const std::string&, const std::string&, Integer&)>
void BM_Align(benchmark::State& state) {
    // Several inputs in turn, so that the processor cannot learn one window's branches by heart.
    std::vector<AlignInput> inputs;
    for (uint64_t seed = 0; seed < 4; ++seed)
        inputs.push_back(MakeInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), seed));
    auto started = std::make_unique<bench::Started>();
    Session& session = started->session;
    session.showAssertFailures = false;  // long windows fill the vote table: measure the aligner
    session.numTemplates = 1;
    session.numCRs[1] = 1;
    session.tRegions[1][1] = TRegion{true, 1};
    Integer n;
    size_t next = 0;
    for (auto _ : state) {
        const AlignInput& in = inputs[next];
        next = (next + 1) % inputs.size();
        Align(*started, in.cr, in.seq, n);
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

BENCHMARK_TEMPLATE(BM_Align, FindTemplateAlign)->Name("LPAMAlign/FindTemplate")->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Align, LiteralAlign)->Name("LPAMAlign/literal")->Apply(Sizes);

}  // namespace
}  // namespace varigap
