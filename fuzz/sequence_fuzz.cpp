// Fuzzes the desktop program's FASTA readers: the names listed, the records streamed and the
// sequences loaded by name all tell the same story, and every loaded sequence holds bases only.
// The batch reader (FASTA, FASTQ, compressed) has a harness of its own, seqio_fuzz.cpp.
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "core/complement.h"
#include "fuzz_support.h"
#include "input/sequence_reader.h"

using namespace varigap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    fuzz::FuzzState f;
    State& st = f.st;
    Session& session = f.session;
    fuzz::WriteScratch("s.fasta", std::string_view(reinterpret_cast<const char*>(data), size));
    session.sequenceFilePath = fuzz::ScratchDir();
    session.sequenceFileName = "s.fasta";

    ItemList names;
    LoadSequenceFile(st, names);
    std::vector<std::pair<std::string, std::string>> records;
    {
        TextReader file;
        if (!OpenSequenceFile(st, file)) {
            fuzz::Check(names.ListCount() == 0, "a refused file lists nothing");
            return 0;
        }
        FastaStream stream(file);
        for (std::string name, bases; stream.Next(name, bases);) records.emplace_back(name, bases);
    }
    fuzz::Check(static_cast<size_t>(names.ListCount()) == records.size(), "as many names as records");
    std::unordered_map<std::string, const std::string*> first;
    for (size_t i = 0; i < records.size(); ++i) {
        fuzz::Check(names.List(static_cast<int>(i)) == records[i].first, "names in file order");
        fuzz::Check(fuzz::OnlyBases(records[i].second), "bases only");
        first.emplace(records[i].first, &records[i].second);
    }
    int loads = 0;
    for (const auto& [name, bases] : first) {
        if (++loads > 16) break;
        fuzz::Check(LoadActSeq(st, name, false) && st.actSeq == *bases, "a name loads its first record");
        fuzz::Check(LoadActSeq(st, name, true) && ReverseComplement(st.actSeq) == *bases,
                    "the complement is loaded reversed and complemented");
    }
    return 0;
}
