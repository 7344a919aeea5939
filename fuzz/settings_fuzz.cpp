// Fuzzes the settings readers: whatever a file holds, the values read are saved and read back
// to the same values without a message.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "settings/settings_files.h"

using namespace varigap;

namespace {

struct Values {
    int mlv, wl, minCR, tolerance;
    float stdPct, minPct;
    bool vrWarnings, runTimeErrors, asserts;
    bool operator==(const Values&) const = default;
};

Values Of(const Session& session) {
    return {session.maxLengthVariation, session.wordLength,        session.minCRLength,
            session.baseCountTolerance, session.stdAcceptancePct,  session.minAcceptancePct,
            session.showVRWarnings,     session.showRunTimeErrors, session.showAssertFailures};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    fuzz::FuzzState first(0), second(1);
    const std::string dir = fuzz::ScratchDir();
    fuzz::WriteScratch("in.txt", std::string_view(reinterpret_cast<const char*>(data), size));
    // The same text as either kind of file; then both saved (twice: the backup copy too) and read again.
    fuzz::Check(LoadParametersFrom(first.session, dir, "in.txt") && LoadOptionsFrom(first.session, dir, "in.txt"),
                "a file that is there is read to its end");
    for (int save = 0; save < 2; ++save) {
        SaveParameters(first.session);
        SaveOptions(first.session);
    }
    fuzz::Check(LoadParametersFrom(second.session, dir, kParamsFileName) &&
                    LoadOptionsFrom(second.session, dir, kOptionsFileName),
                "saved files are read");
    fuzz::Check(Of(second.session) == Of(first.session), "saved values read back unchanged");
    fuzz::Check(second.msgs.shown.empty(), "a saved file raises no message");
    return 0;
}
