// A batch run on a thread of its own, for a window that stays responsive meanwhile: the window
// polls what arrived (output, messages, progress) and may cancel; the run works on its own copy
// of the templates and settings, so the window may go on analysing and loading meanwhile.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/session.h"
#include "run/batch_run.h"
#include "ui/run_table.h"

namespace varigap::ui {

class BackgroundRun {
public:
    BackgroundRun();
    ~BackgroundRun();  // cancels a run still going and waits for it
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Starts RunBatch on `loaded` (copied) with `settings`; a run still going is cancelled first.
    // With `rows`, the row of each record analysed arrives too.
    void Start(const Session& loaded, run::RunSettings settings, bool rows = false);
    // Asks the run to stop: it stops reading at the next records it hands on.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

    // What arrived since the last poll.
    struct Arrived {
        std::string out, err;      // standard output and messages of the run
        std::vector<RunRow> rows;  // of the records analysed, in run order
        run::RunProgress progress;
        bool finished = false;  // the run has ended (its thread is done)
        run::RunStatus status = run::kRunOk;
    };
    Arrived Poll();
    bool Running() const { return started_ && !finished_; }
    // Waits until the run has ended.
    void Wait();

private:
    class Console;
    class Rows;
    std::unique_ptr<Session> session_;
    run::RunSettings settings_;
    std::thread thread_;
    std::mutex mutex_;
    std::string out_, err_;
    std::vector<RunRow> rows_;
    std::unique_ptr<Rows> rowSink_;
    run::RunProgress progress_;
    run::RunStatus status_ = run::kRunOk;
    std::atomic<bool> cancelled_{false}, finished_{false};
    bool started_ = false;
};

}  // namespace varigap::ui
