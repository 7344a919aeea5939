// Fuzzes the template file reader: whatever the file, the table it leaves keeps every limit,
// and a read that stops leaves it empty.
#include <cstddef>
#include <cstdint>

#include "core/limits.h"
#include "fuzz_support.h"
#include "input/template_reader.h"

using namespace varigap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    fuzz::FuzzState f;
    Session& session = f.session;
    // The answer to the questions about templates without regions comes from the last byte.
    f.msgs.defaultAnswer = size > 0 && data[size - 1] % 2 ? MsgAnswer::Yes : MsgAnswer::No;
    fuzz::WriteScratch("t.tpl", std::string_view(reinterpret_cast<const char*>(data), size));
    session.templateFilePath = fuzz::ScratchDir();
    session.templateFileName = "t.tpl";
    const bool ok = LoadTemplateFile(session);
    fuzz::Check(ok || session.numTemplates == 0, "a read that stops leaves the table empty");
    fuzz::Check(session.numTemplates >= 0 && session.numTemplates <= MAXNUMTEMPLATES, "templates within the limit");
    for (int t = 1; t <= session.numTemplates; ++t) {
        const int crs = session.numCRs[t], vrs = session.numVRs[t];
        fuzz::Check(crs >= 0 && crs <= MAXNUMCR && vrs >= 0 && vrs <= MAXNUMVR, "regions within the limits");
        fuzz::Check(crs + vrs <= MAXNUMREGIONS, "regions within the limit");
        int seenCRs = 0, seenVRs = 0;
        for (int r = 1; r <= crs + vrs; ++r) {
            const TRegion& reg = session.tRegions[t][r];
            fuzz::Check(!(reg.isCR && r > 1 && session.tRegions[t][r - 1].isCR), "two conserved regions never touch");
            fuzz::Check(reg.num == (reg.isCR ? ++seenCRs : ++seenVRs), "regions numbered in file order");
        }
        fuzz::Check(seenCRs == crs && seenVRs == vrs, "every region listed");
        for (int c = 1; c <= crs; ++c) {
            fuzz::Check(fuzz::OnlyBases(session.crSeq[t][c]), "conserved regions hold bases only");
            fuzz::Check(session.crSeq[t][c].size() <= static_cast<size_t>(maxSeqLen),
                        "no region longer than maxSeqLen");
        }
        for (int v = 1; v <= vrs; ++v)
            fuzz::Check(session.vrFileName[t][v].find_first_of("/\\") == std::string::npos, "no folder in a file name");
    }
    return 0;
}
