// varigap-cli report: the report, the MultiQC table and the BIOM table of a run made from its
// summary and counts table, as analyze makes them.
#include <cstdio>
#include <functional>

#include "cli/commands.h"
#include "cli/input_file.h"
#include "core/version.h"
#include "export/publish.h"
#include "run/job_messages.h"
#include "run/report_outputs.h"

namespace varigap::cli {

namespace {

void Say(const std::string& text) { std::fputs(run::MessageLine(Message{"Varigap", text}).c_str(), stderr); }

}  // namespace

int RunReport(const ReportOptions& o) {
    exports::Summary summary;
    exports::CountsTable counts;
    // Reads `path` through `read`; false after a message naming the file.
    auto load = [](const std::string& path, const char* what,
                   const std::function<bool(TextReader&, std::string&)>& read) {
        std::string error;
        if (ReadInputFile(path, read, error)) return true;
        Say("File " + path + " could not be read as " + what + ": " + error + ".");
        return false;
    };
    if (!load(o.summaryFile, "a run summary",
              [&](TextReader& in, std::string& e) { return summary.Read(in.ReadRest(), e); }) ||
        !load(o.countsFile, "a counts table", [&](TextReader& in, std::string& e) { return counts.Read(in, e); }))
        return kExitInput;
    int status = kExitOk;
    run::PublishFile publish = [&](const std::string& path, const std::function<void(TextWriter&)>& fill) {
        std::string message;
        if (exports::Publish(path, o.force, fill, message)) return;
        Say(message);
        status = kExitFailed;
    };
    run::WriteHtmlReport(o.output, summary, counts, publish);
    run::WriteMultiqc(o.multiqcFile, summary, publish);
    run::WriteBiom(o.biomFile, counts, summary.version.empty() ? VersionText() : summary.version, publish);
    return status;
}

}  // namespace varigap::cli
