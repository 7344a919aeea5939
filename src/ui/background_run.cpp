// A batch run on its own thread.
#include "ui/background_run.h"

#include "engine/analysis.h"

namespace varigap::ui {

// Hands what the run writes to the window's next poll; once cancelled it refuses output and
// says the run is stopped, which stops the run's reading after the chunk at hand.
class BackgroundRun::Console : public run::RunConsole {
public:
    explicit Console(BackgroundRun& owner) : owner_(owner) {}
    bool Out(std::string_view text) override {
        if (owner_.cancelled_) return false;
        std::lock_guard lock(owner_.mutex_);
        owner_.out_ += text;
        return true;
    }
    void Err(std::string_view text) override {
        std::lock_guard lock(owner_.mutex_);
        owner_.err_ += text;
    }
    void Progress(const run::RunProgress& p) override {
        std::lock_guard lock(owner_.mutex_);
        owner_.progress_ = p;
    }
    bool Stopped() const override { return owner_.cancelled_; }

private:
    BackgroundRun& owner_;
};

// Makes the row of each record from its result as the run writes it, for the window's next poll.
class BackgroundRun::Rows : public exports::RecordSink {
public:
    explicit Rows(BackgroundRun& owner) : owner_(owner) {}
    void Take(const exports::AnalysedRead& r, std::string&, std::vector<std::string>&) override {
        RunRow row = RowOf(*owner_.session_, r.number, *r.result);
        std::lock_guard lock(owner_.mutex_);
        owner_.rows_.push_back(std::move(row));
    }
    bool Finish(std::vector<std::string>&) override { return true; }

private:
    BackgroundRun& owner_;
};

BackgroundRun::BackgroundRun() = default;

BackgroundRun::~BackgroundRun() {
    cancelled_ = true;
    Wait();
}

void BackgroundRun::Wait() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundRun::Start(const Session& loaded, run::RunSettings settings, bool rows) {
    cancelled_ = true;
    Wait();
    session_ = std::make_unique<Session>(loaded);
    session_->messenger = nullptr;  // the run's jobs say everything through the console
    // As varigap-cli runs: one version of each variable region file and of the template table
    // for the whole run, their words indexed once for every job.
    session_->vrFilesFixed = true;
    session_->templatesFixed = true;
    IndexTemplates(*session_);
    settings_ = std::move(settings);
    if (rows) {
        if (!rowSink_) rowSink_ = std::make_unique<Rows>(*this);
        settings_.records = rowSink_.get();
    }
    out_.clear();
    err_.clear();
    rows_.clear();
    progress_ = run::RunProgress{};
    status_ = run::kRunOk;
    cancelled_ = false;
    finished_ = false;
    started_ = true;
    thread_ = std::thread([this] {
        Console console(*this);
        const run::RunStatus status = run::RunBatch(*session_, settings_, console);
        std::lock_guard lock(mutex_);
        status_ = status;
        finished_ = true;
    });
}

BackgroundRun::Arrived BackgroundRun::Poll() {
    Arrived a;
    std::lock_guard lock(mutex_);
    a.out.swap(out_);
    a.err.swap(err_);
    a.rows.swap(rows_);
    a.progress = progress_;
    a.finished = finished_;
    a.status = status_;
    return a;
}

}  // namespace varigap::ui
