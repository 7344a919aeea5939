// varigap-cli check: a template file and its variable region files, checked before a long run.
#include <cstdio>
#include <memory>

#include "builder/template_check.h"
#include "cli/builder_options.h"
#include "cli/commands.h"
#include "cli/stdout_writer.h"
#include "run/job_messages.h"

namespace varigap::cli {

int RunCheck(const CheckOptions& opts) {
    auto state = std::make_unique<Session>();
    run::StderrMessenger msgs;
    state->messenger = &msgs;
    if (!StartBuilderState(*state, opts.paramsFile)) return kExitInput;
    builder::CheckResult res = builder::CheckTemplateFile(*state, opts.templateFile);
    for (const auto& p : res.problems) WriteStdout(p + "\n");
    if (res.unreadable) return kExitInput;
    return res.problems.empty() ? kExitOk : kExitFailed;
}

}  // namespace varigap::cli
