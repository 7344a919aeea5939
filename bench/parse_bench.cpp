// Parsing speed: a run of 15 variable regions, and the real trnL-F regions with intron and
// spacer files of one entry per record.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "core/bases.h"
#include "core/state.h"
#include "engine/analysis.h"
#include "engine/detail/vr_files.h"
#include "engine/trnlf_data.h"
#include "started.h"

namespace varigap {
namespace {

class TempFolder {
public:
    TempFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "varigap-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary directory");
        path_ = tmpl;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(path_ + "/" + name) << text; }

private:
    std::string path_;
};

// Template 1 with the given regions ("C" or a VR file name), files in `folder`.
std::unique_ptr<bench::Started> NewState(const TempFolder& folder, const std::vector<std::string>& regions) {
    auto started = std::make_unique<bench::Started>();
    Session& session = started->session;
    State& st = started->st;
    session.vrFilePath = folder.Path();
    session.numTemplates = 1;
    st.actTemplate = 1;
    for (const std::string& r : regions) {
        bool isCR = r == "C";
        int num = isCR ? ++session.numCRs[1] : ++session.numVRs[1];
        if (!isCR) session.vrFileName[1][num] = r;
        session.tRegions[1][session.numCRs[1] + session.numVRs[1]] = TRegion{isCR, num};
    }
    return started;
}

void BM_FifteenVRRun(benchmark::State& state) {
    TempFolder folder;
    std::string file = ">none<\n";
    for (char a : std::string("ACGT")) {
        file += std::string(1, a) + ">x<\n";
        for (char b : std::string("ACGT")) file += std::string{a, b} + ">y<\n";
    }
    folder.Write("short.txt", file);
    std::vector<std::string> regions{"C"};
    for (int v = 0; v < 15; ++v) regions.push_back("short.txt");
    regions.push_back("C");
    auto started = NewState(folder, regions);
    Session& session = started->session;
    State& st = started->st;
    session.crSeq[1][1] = session.crSeq[1][2] = "GGGGGG";
    st.actSeq = "GGGGGG" + std::string(40, 'A') + "GGGGGG";  // no perfect filling: every state is visited
    st.crStartPos[1][1] = 1;
    st.crEndPos[1][1] = 6;
    st.crStartPos[1][2] = 47;
    st.crEndPos[1][2] = 52;
    for (auto _ : state) {
        ParseActSeq(st);
        benchmark::DoNotOptimize(st.SRegions[16].endPos);
    }
}
BENCHMARK(BM_FifteenVRRun)->Unit(benchmark::kMicrosecond);

using test::TrnLFRecord;

const std::vector<TrnLFRecord>& TrnLF() {
    static const std::vector<TrnLFRecord> records = [] {
        const char* env = getenv("VARIGAP_TRNLF_DIR");  // for checkouts that lie elsewhere
        return test::LoadTrnLF(env ? env : test::FindTrnLFDir(VARIGAP_SOURCE_DIR));
    }();
    return records;
}

// 5' exon, intron, 3' exon, spacer, trnF; the intron and spacer files list every record's own.
struct TrnLFCase {
    TempFolder folder;
    std::unique_ptr<bench::Started> started;
    TrnLFCase() {
        std::string intron, spacer;
        for (const TrnLFRecord& r : TrnLF()) {
            intron += r.Cut(r.intronStart, r.intronEnd) + " > " + r.name + " <\n";
            spacer += r.Cut(r.spacerStart, r.spacerEnd) + "\n> " + r.name + "\n<\n";
        }
        folder.Write("intron.txt", "# trnL intron\n" + intron);
        folder.Write("spacer.txt", "# trnL-trnF spacer\n" + spacer);
        started = NewState(folder, {"C", "intron.txt", "C", "spacer.txt", "C"});
        Session& session = started->session;
        const TrnLFRecord& first = TrnLF().front();
        session.crSeq[1][1] = first.Cut(first.exon5Start, first.exon5End);
        session.crSeq[1][2] = first.Cut(first.exon3Start, first.exon3End);
        session.crSeq[1][3] = first.Cut(first.trnFStart, first.trnFEnd);
    }
    void Parse(const TrnLFRecord& r, bool exon3Found) {
        State& st = started->st;
        st.actSeq = r.bases;
        const int crs[3][2] = {{r.exon5Start, r.exon5End}, {r.exon3Start, r.exon3End}, {r.trnFStart, r.trnFEnd}};
        for (int c = 1; c <= 3; ++c) {
            st.crStartPos[1][c] = crs[c - 1][0];
            st.crEndPos[1][c] = crs[c - 1][1];
        }
        if (!exon3Found) st.crStartPos[1][2] = st.crEndPos[1][2] = POSNOTFOUND;
        ParseActSeq(st);
    }
};

void ParseAll(benchmark::State& state, bool exon3Found) {
    if (TrnLF().empty()) return state.SkipWithError("trnL-F data not found");
    TrnLFCase c;
    size_t identified = 0;
    for (const TrnLFRecord& r : TrnLF()) {  // also fills the files kept in memory
        c.Parse(r, exon3Found);
        identified += c.started->st.VRPoss[1].numPoss > 0 && c.started->st.VRPoss[2].numPoss > 0;
    }
    for (auto _ : state)
        for (const TrnLFRecord& r : TrnLF()) {
            c.Parse(r, exon3Found);
            benchmark::DoNotOptimize(c.started->st.numSSegments);
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(TrnLF().size()));  // records
    state.counters["bothVRsFound"] = static_cast<double>(identified);
}

// Every CR found: each VR is a run of one, identified by the exact match.
void BM_ParseTrnLF(benchmark::State& state) { ParseAll(state, true); }
BENCHMARK(BM_ParseTrnLF)->Unit(benchmark::kMillisecond);

// The 3' exon not found: intron, exon and spacer form a confused group, searched with every
// entry of both files.
void BM_ParseTrnLFConfusedGroup(benchmark::State& state) { ParseAll(state, false); }
BENCHMARK(BM_ParseTrnLFConfusedGroup)->Unit(benchmark::kMillisecond);

// The contained search over one record's intron-to-spacer stretch, by the shortcut for plain
// bases and by the IUPAC-aware search alone.
void ContainedSearch(benchmark::State& state, bool literal) {
    if (TrnLF().empty()) return state.SkipWithError("trnL-F data not found");
    TrnLFCase c;
    VRFile file;
    if (!OpenVRFile(c.started->st, "intron.txt", file)) state.SkipWithError("no intron file");
    const TrnLFRecord& r = TrnLF()[TrnLF().size() / 2];
    SeqStretch s(r.Cut(r.exon5End + 1, r.trnFStart - 1));
    for (auto _ : state) {
        int found = 0;
        if (literal) {
            for (const VRVariant& v : *file.entries) found += InStrBases(v.bases, s.Text(), 1) > 0;
        } else {
            VRFile f = file;
            while (ReadNextContainedVariant(f, s) >= 0) ++found;
        }
        benchmark::DoNotOptimize(found);
    }
}
void BM_ContainedSearch(benchmark::State& state) { ContainedSearch(state, false); }
void BM_ContainedSearchIUPACOnly(benchmark::State& state) { ContainedSearch(state, true); }
BENCHMARK(BM_ContainedSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContainedSearchIUPACOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varigap
