// A batch run: records read once in order from every sequence file, analysed by jobs that each
// own their working space, and handed on in record order to the run's outputs. The command line
// and the desktop program run whole files through it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"
#include "run/run_settings.h"

namespace varigap::run {

// How far a run has come.
struct RunProgress {
    long records = 0;          // handed on so far
    long total = -1;           // records to come in all, -1 when not known
    long long bytes = 0;       // of the files as stored, read for them
    long long totalBytes = 0;  // of all the files, 0 when not known
    bool final = false;        // the last report, after every record
};

// Where a run's text goes: the front end's standard output, its messages and its progress.
class RunConsole {
public:
    virtual ~RunConsole() = default;
    // The records' standard output, in record order; false when it can no longer be written
    // (the run then stops reading).
    virtual bool Out(std::string_view text) = 0;
    // Messages, as whole lines, in order with the output of the records that raised them.
    virtual void Err(std::string_view text) = 0;
    virtual void Progress(const RunProgress&) {}
    // True once the run is to stop reading (a user's Cancel), asked after every chunk: a run
    // that writes no output stops as soon as one that does.
    virtual bool Stopped() const { return false; }
    // After the last record: hands on what is buffered; false when anything was lost.
    virtual bool Finish() { return true; }
};

// Analyses every record with the template table and settings of `session` (which every job
// reads, none writes) and writes what `settings` asks for.
RunStatus RunBatch(const Session& session, const RunSettings& settings, RunConsole& console);

}  // namespace varigap::run
