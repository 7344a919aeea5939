// Find Template with a grass trnL-F template of its three genes (5' exon, 3' exon, trnF)
// against every real trnL-F region: the ranking, which places the genes, takes nearly all the
// time; and the ranking alone with one such template per order, against the same regions.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/messages.h"
#include "core/state.h"
#include "engine/analysis.h"
#include "engine/trnlf_data.h"
#include "started.h"

namespace varigap {
namespace {

void BM_FindTemplate(benchmark::State& state) {
    const auto records = test::LoadTrnLF(test::FindTrnLFDir(VARIGAP_SOURCE_DIR));
    const test::TrnLFRecord* grass = nullptr;
    for (const auto& r : records)
        if (r.family == "Poaceae" && !grass) grass = &r;
    if (!grass) {
        state.SkipWithError("trnL-F data not found");
        return;
    }
    auto started = std::make_unique<bench::Started>();
    Session& session = started->session;
    State& st = started->st;
    session.numTemplates = 1;
    session.numCRs[1] = 3;
    for (int c = 1; c <= 3; ++c) session.tRegions[1][c] = TRegion{true, c};
    session.crSeq[1][1] = grass->Cut(grass->exon5Start, grass->exon5End);
    session.crSeq[1][2] = grass->Cut(grass->exon3Start, grass->exon3End);
    session.crSeq[1][3] = grass->Cut(grass->trnFStart, grass->trnFEnd);
    size_t next = 0;
    long found = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindTemplate(st, records[next].bases));
        next = (next + 1) % records.size();
        for (int c = 1; c <= 3; ++c) found += IsValidPos(st.crStartPos[1][c]) ? 1 : 0;
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
    auto started = std::make_unique<bench::Started>();
    Session& session = started->session;
    State& st = started->st;
    std::string last;
    for (const auto& r : records) {
        if (r.order == last || session.numTemplates >= state.range(0)) continue;
        last = r.order;
        const int t = ++session.numTemplates;
        session.numCRs[t] = 3;
        session.crSeq[t][1] = r.Cut(r.exon5Start, r.exon5End);
        session.crSeq[t][2] = r.Cut(r.exon3Start, r.exon3End);
        session.crSeq[t][3] = r.Cut(r.trnFStart, r.trnFEnd);
    }
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RankSequence(st, records[next].bases));
        next = (next + 1) % records.size();
    }
    state.SetItemsProcessed(state.iterations());  // sequences ranked
    state.SetLabel(std::to_string(session.numTemplates) + " templates");
}
BENCHMARK(BM_RankOrderTemplates)->Arg(1)->Arg(MAXNUMTEMPLATES)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varigap
