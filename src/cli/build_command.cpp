// varigap-cli build: a template file and its variable region files from REGIONS.tsv and records.
#include <cstdio>
#include <memory>

#include "builder/line_reader.h"
#include "cli/builder_options.h"
#include "cli/commands.h"
#include "cli/stdout_writer.h"
#include "run/job_messages.h"

namespace varigap::cli {

int RunBuild(const BuildCommandOptions& opts) {
    auto state = std::make_unique<Session>();
    run::StderrMessenger msgs;
    state->messenger = &msgs;
    if (!StartBuilderState(*state, opts.paramsFile)) return kExitInput;
    builder::BuildResult res;
    try {
        res = builder::BuildTemplates(*state, opts.build);
    } catch (const builder::InputError& e) {
        std::fprintf(stderr, "varigap-cli build: %s\n", e.what());
        return kExitInput;
    } catch (const builder::OutputError& e) {
        std::fprintf(stderr, "varigap-cli build: %s\n", e.what());
        return kExitOutput;
    }
    for (const auto& p : res.problems) std::fprintf(stderr, "%s\n", p.c_str());
    if (!res.problems.empty()) {
        std::fprintf(stderr, "varigap-cli build: %zu problem%s; nothing written.\n", res.problems.size(),
                     res.problems.size() == 1 ? "" : "s");
        return kExitFailed;
    }
    std::fprintf(stderr, "varigap-cli build: %s\n", res.summary.c_str());
    for (const auto& f : res.written) WriteStdout(f + "\n");
    return kExitOk;
}

}  // namespace varigap::cli
