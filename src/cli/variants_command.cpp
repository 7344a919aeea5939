// varigap-cli variants: a variable region file's entries by length, as the Variable Region
// Analysis window lists them, each list line followed by a TAB and the entry's taxa.
#include <memory>

#include "cli/commands.h"
#include "cli/stdout_writer.h"
#include "core/messages.h"
#include "core/state.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/vr_files.h"
#include "output/variant_listing.h"
#include "run/job_messages.h"

namespace varigap::cli {

int RunVariants(const VariantsOptions& opts) {
    auto session = std::make_unique<Session>();
    Session& st = *session;
    run::StderrMessenger msgs;
    st.messenger = &msgs;
    std::string dir, name;
    SplitPath(opts.vrFile, dir, name);
    TextReader file;
    if (!OpenInputFile(st, file, dir, name, "Varigap Variable Region File")) return kExitInput;
    // Unlike the window's list box, the listing has no room limit: every entry is listed.
    std::string out;
    // A listing cut short by a read error would pass for the whole file: it is not written.
    const bool read = Trapped(st, [&] {
        VREntryReader reader(file);
        VREntry e;
        while (reader.Next(e)) {
            if (!IsSeqShown(e.rawBases, opts.mode, opts.length)) continue;
            for (const auto& line : SplitVariantText(e.rawBases))
                out += ControlsAsBlanks(line) + "\t" + ControlsAsBlanks(e.taxa) + "\n";
        }
    });
    if (!read) return kExitInput;
    WriteStdout(out);
    return kExitOk;
}

}  // namespace varigap::cli
