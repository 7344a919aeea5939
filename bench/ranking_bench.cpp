// Find Template with a grass trnL-F template of its three genes (5' exon, 3' exon, trnF)
// against every real trnL-F region: the ranking, which places the genes, takes nearly all the
// time; and the ranking alone with one such template per order, against the same regions.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/messages.h"
#include "core/state.h"
#include "engine/analysis.h"
#include "engine/trnlf_data.h"

namespace varigap {
namespace {

// A state started with the built-in settings, its messages silenced.
std::unique_ptr<State> StartedState(SilentMessenger& quiet) {
    auto st = std::make_unique<State>();
    st->messenger = &quiet;
    StartUp(*st, SettingsFiles::BuiltIn());
    return st;
}

void BM_FindTemplate(benchmark::State& state) {
    const auto records = test::LoadTrnLF(test::FindTrnLFDir(VARIGAP_SOURCE_DIR));
    const test::TrnLFRecord* grass = nullptr;
    for (const auto& r : records)
        if (r.family == "Poaceae" && !grass) grass = &r;
    if (!grass) {
        state.SkipWithError("trnL-F data not found");
        return;
    }
    SilentMessenger quiet;
    auto st = StartedState(quiet);
    st->numTemplates = 1;
    st->numCRs[1] = 3;
    for (int c = 1; c <= 3; ++c) st->tRegions[1][c] = TRegion{true, c};
    st->crSeq[1][1] = grass->Cut(grass->exon5Start, grass->exon5End);
    st->crSeq[1][2] = grass->Cut(grass->exon3Start, grass->exon3End);
    st->crSeq[1][3] = grass->Cut(grass->trnFStart, grass->trnFEnd);
    size_t next = 0;
    long found = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindTemplate(*st, records[next].bases));
        next = (next + 1) % records.size();
        for (int c = 1; c <= 3; ++c) found += IsValidPos(st->crStartPos[1][c]) ? 1 : 0;
    }
    state.SetItemsProcessed(state.iterations());  // sequences ranked
    state.counters["CRsPlacedPerSeq"] = double(found) / double(state.iterations());
    state.SetLabel(grass->accession + " against " + std::to_string(records.size()) + " regions");
}
BENCHMARK(BM_FindTemplate)->Unit(benchmark::kMicrosecond);

// The ranking alone, with the genes of the first record of each of the first state.range(0)
// orders as templates.
void BM_RankOrderTemplates(benchmark::State& state) {
    const auto records = test::LoadTrnLF(test::FindTrnLFDir(VARIGAP_SOURCE_DIR));
    if (records.empty()) {
        state.SkipWithError("trnL-F data not found");
        return;
    }
    SilentMessenger quiet;
    auto st = StartedState(quiet);
    std::string last;
    for (const auto& r : records) {
        if (r.order == last || st->numTemplates >= state.range(0)) continue;
        last = r.order;
        const int t = ++st->numTemplates;
        st->numCRs[t] = 3;
        st->crSeq[t][1] = r.Cut(r.exon5Start, r.exon5End);
        st->crSeq[t][2] = r.Cut(r.exon3Start, r.exon3End);
        st->crSeq[t][3] = r.Cut(r.trnFStart, r.trnFEnd);
    }
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RankSequence(*st, records[next].bases));
        next = (next + 1) % records.size();
    }
    state.SetItemsProcessed(state.iterations());  // sequences ranked
    state.SetLabel(std::to_string(st->numTemplates) + " templates");
}
BENCHMARK(BM_RankOrderTemplates)->Arg(1)->Arg(MAXNUMTEMPLATES)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varigap
