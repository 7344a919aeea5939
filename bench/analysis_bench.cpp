// Benchmarks of one record's analysis on the bundled trnL-F data: ranking, parsing and
// segmenting, the display lines, and the output file text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/state.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "engine/read_analysis.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "output/display_lines.h"
#include "output/output_file.h"
#include "started.h"

namespace varigap {
namespace {

const std::string kExample = std::string(VARIGAP_SOURCE_DIR) + "/data/example";

// A session started as the program starts, with the example templates and the first (grass)
// sequence of the example loaded.
std::unique_ptr<bench::Started> LoadedState() {
    auto started = std::make_unique<bench::Started>();
    Session& session = started->session;
    session.templateFilePath = session.vrFilePath = session.sequenceFilePath = kExample;
    session.templateFileName = "trnLF.tpl";
    session.sequenceFileName = "sequences.fasta";
    LoadTemplateFile(session);
    LoadActSeq(started->st, "Elymus praeruptus PV054326.1", false);
    return started;
}

void Analyse(State& st) { FindTemplate(st); }

void BM_AnalyseOneRecord(benchmark::State& state) {
    auto loaded = LoadedState();
    State& st = loaded->st;
    // The record with one of its first three bases in lower case, in turn: the same analysis,
    // but never the sequence ranked last or the one before, whose CR placements the ranking
    // keeps.
    std::vector<std::string> forms(3, st.actSeq);
    for (size_t k = 0; k < forms.size(); ++k) forms[k][k] = static_cast<char>(forms[k][k] | 0x20);
    size_t next = 0;
    for (auto _ : state) {
        FindTemplate(st, forms[next]);
        next = (next + 1) % forms.size();
        benchmark::DoNotOptimize(st.numSSegments);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AnalyseOneRecord);

void BM_DisplayLines(benchmark::State& state) {
    auto loaded = LoadedState();
    State& st = loaded->st;
    Analyse(st);
    for (auto _ : state) benchmark::DoNotOptimize(ComputeDisplayLines(st));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DisplayLines);

void BM_OutputFileText(benchmark::State& state) {
    auto loaded = LoadedState();
    State& st = loaded->st;
    Analyse(st);
    char dir[] = "/tmp/varigap-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string path = std::string(dir) + "/out.txt";
    const ReadResult result = CurrentResult(st, false);
    for (auto _ : state) {
        TextWriter out;
        out.Open(path);
        WriteOutputFileText(st, result, out, "out.txt", "Elymus praeruptus PV054326.1", true);
        out.Commit();
    }
    std::remove(path.c_str());
    std::remove(dir);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OutputFileText);

}  // namespace
}  // namespace varigap
