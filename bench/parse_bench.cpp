// Parsing speed: a run of 15 variable regions, and the real trnL-F regions with intron and
// spacer files of one entry per record.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/bases.h"
#include "core/state.h"
#include "engine/analysis.h"
#include "engine/detail/vr_files.h"

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
std::unique_ptr<State> NewState(const TempFolder& folder, const std::vector<std::string>& regions) {
    auto st = std::make_unique<State>();
    st->vrFilePath = folder.Path();
    st->numTemplates = 1;
    st->actTemplate = 1;
    for (const std::string& r : regions) {
        bool isCR = r == "C";
        int num = isCR ? ++st->numCRs[1] : ++st->numVRs[1];
        if (!isCR) st->vrFileName[1][num] = r;
        st->tRegions[1][st->numCRs[1] + st->numVRs[1]] = TRegion{isCR, num};
    }
    return st;
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
    auto st = NewState(folder, regions);
    st->crSeq[1][1] = st->crSeq[1][2] = "GGGGGG";
    st->actSeq = "GGGGGG" + std::string(40, 'A') + "GGGGGG";  // no perfect filling: every state is visited
    st->crStartPos[1][1] = 1;
    st->crEndPos[1][1] = 6;
    st->crStartPos[1][2] = 47;
    st->crEndPos[1][2] = 52;
    for (auto _ : state) {
        ParseActSeq(*st);
        benchmark::DoNotOptimize(st->SRegions[16].endPos);
    }
}
BENCHMARK(BM_FifteenVRRun)->Unit(benchmark::kMicrosecond);

// The trnL-F regions with their annotated 5' exon, intron, 3' exon, spacer and trnF.
struct Record {
    std::string name, seq;
    int exon5[2], intron[2], exon3[2], spacer[2], trnF[2];
};

const std::vector<Record>& TrnLF() {
    static const std::vector<Record> records = [] {
        const char* env = getenv("VARIGAP_TRNLF_DIR");  // for checkouts that lie elsewhere
        const std::string dir = std::string(env ? env : VARIGAP_SOURCE_DIR "/../shared/data/trnLF") + "/";
        std::vector<Record> out;
        std::ifstream fasta(dir + "regions.fasta");
        for (std::string line; std::getline(fasta, line);) {
            if (line.empty()) continue;
            if (line[0] == '>') out.push_back(Record{line.substr(1), "", {}, {}, {}, {}, {}});
            else out.back().seq += line;
        }
        std::ifstream tsv(dir + "features.tsv");
        std::string line;
        std::getline(tsv, line);  // header
        for (Record& r : out) {
            std::getline(tsv, line);
            std::istringstream row(line);
            std::string accession, field;
            std::getline(row, accession, '\t');
            for (int k = 0; k < 5; ++k) std::getline(row, field, '\t');  // species .. region_length
            if (r.name.substr(r.name.rfind(' ') + 1) != accession) throw std::runtime_error("features out of order");
            for (int* f : {r.exon5, r.intron, r.exon3, r.spacer, r.trnF}) row >> f[0] >> f[1];
        }
        return out;
    }();
    return records;
}

std::string Stretch(const Record& r, const int* f) {
    return r.seq.substr(static_cast<size_t>(f[0] - 1), static_cast<size_t>(f[1] - f[0] + 1));
}

// 5' exon, intron, 3' exon, spacer, trnF; the intron and spacer files list every record's own.
struct TrnLFCase {
    TempFolder folder;
    std::unique_ptr<State> st;
    TrnLFCase() {
        std::string intron, spacer;
        for (const Record& r : TrnLF()) {
            intron += Stretch(r, r.intron) + " > " + r.name + " <\n";
            spacer += Stretch(r, r.spacer) + "\n> " + r.name + "\n<\n";
        }
        folder.Write("intron.txt", "# trnL intron\n" + intron);
        folder.Write("spacer.txt", "# trnL-trnF spacer\n" + spacer);
        st = NewState(folder, {"C", "intron.txt", "C", "spacer.txt", "C"});
        const Record& first = TrnLF().front();
        st->crSeq[1][1] = Stretch(first, first.exon5);
        st->crSeq[1][2] = Stretch(first, first.exon3);
        st->crSeq[1][3] = Stretch(first, first.trnF);
    }
    void Parse(const Record& r, bool exon3Found) {
        st->actSeq = r.seq;
        const int* crs[] = {r.exon5, r.exon3, r.trnF};
        for (int c = 1; c <= 3; ++c) {
            st->crStartPos[1][c] = crs[c - 1][0];
            st->crEndPos[1][c] = crs[c - 1][1];
        }
        if (!exon3Found) st->crStartPos[1][2] = st->crEndPos[1][2] = POSNOTFOUND;
        ParseActSeq(*st);
    }
};

void ParseAll(benchmark::State& state, bool exon3Found) {
    if (TrnLF().empty()) return state.SkipWithError("trnL-F data not found");
    TrnLFCase c;
    size_t identified = 0;
    for (const Record& r : TrnLF()) {  // also fills the files kept in memory
        c.Parse(r, exon3Found);
        identified += c.st->VRPoss[1].numPoss > 0 && c.st->VRPoss[2].numPoss > 0;
    }
    for (auto _ : state)
        for (const Record& r : TrnLF()) {
            c.Parse(r, exon3Found);
            benchmark::DoNotOptimize(c.st->numSSegments);
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
    if (!OpenVRFile(*c.st, "intron.txt", file)) state.SkipWithError("no intron file");
    const Record& r = TrnLF()[TrnLF().size() / 2];
    SeqStretch s(r.seq.substr(static_cast<size_t>(r.exon5[1]), static_cast<size_t>(r.trnF[0] - r.exon5[1] - 1)));
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
