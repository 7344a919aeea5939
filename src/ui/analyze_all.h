// The whole run's window: every record of the sequence file loaded (or those chosen in its
// table) analysed by the batch library on a thread of its own, with progress and Cancel; the
// results table, sortable and filterable, whose double click shows that record in the main
// window; the reads of each taxon; the table exported as TSV, and annotated output files
// written for all or the chosen records.
#pragma once

#include <string>
#include <vector>

#include "core/state.h"
#include "ui/background_run.h"
#include "ui/controls.h"
#include "ui/run_table.h"
#include "ui/table_controls.h"

namespace varigap::ui {

class Application;

class FAnalyzeAll : public Window {
public:
    explicit FAnalyzeAll(Application& app);

    // ---- controls
    Label lblSource{*this, "lblSource"};
    CheckBox chkChosenOnly{*this, "chkChosenOnly"};
    CheckBox chkNearest{*this, "chkNearest"};
    CommandButton butStart{*this, "butStart"};
    CommandButton butCancel{*this, "butCancel"};
    ProgressBar pbProgress{*this, "pbProgress"};
    Label lblProgress{*this, "lblProgress"};
    TextBox txbxFilter{*this, "txbxFilter"};
    Grid grdResults{*this, "grdResults"};
    Grid grdTaxa{*this, "grdTaxa"};
    TextBox txbxTsvFile{*this, "txbxTsvFile"};
    CommandButton butExportTsv{*this, "butExportTsv"};
    TextBox txbxOutputDir{*this, "txbxOutputDir"};
    CheckBox chkTaxa{*this, "chkTaxa"};
    CheckBox chkReplace{*this, "chkReplace"};
    CommandButton butWriteFiles{*this, "butWriteFiles"};
    TextBox txbxMessages{*this, "txbxMessages"};
    Label lblStatus{*this, "lblStatus"};
    CommandButton butClose{*this, "butClose"};

    // ---- event handlers
    void Form_Activate();
    void butStart_Click();
    void butCancel_Click();
    void txbxFilter_Change();
    void grdResults_HeaderClick(int column);
    void grdResults_DblClick(int row);
    void butExportTsv_Click();
    void butWriteFiles_Click();

    // Takes what the run has done since the last call (the view calls it on a timer while a run
    // goes); true while a run goes.
    bool Poll();
    bool Running() const { return run_.Running(); }
    // Waits for the run to end and takes all it did (for tests and for quitting).
    void Finish();
    const RunTable& Table() const { return table_; }
    // The records of the table's rows as shown (indexes into Table().Records()).
    const std::vector<int>& ShownRecords() const { return shown_; }

private:
    enum class Job { None, Analyze, Write };
    // The records a run takes: all of the file, or those of the chosen rows.
    bool ChosenRecords(std::vector<int>& indexes);
    // Starts a run of `indexes` (all: empty) writing what `job` asks for.
    void StartRun(Job job, const std::vector<int>& indexes, const std::string& outputDir);
    void Ended(const BackgroundRun::Arrived& a);
    void ShowRows();
    void ShowTaxa();
    void UpdateSource();
    void SetRunning(bool running);
    void SetStatus(const std::string& text);

    Application& app_;
    State& st_;
    BackgroundRun run_;
    RunTable table_;
    std::vector<int> shown_;
    Job job_ = Job::None;
    std::string runPath_;   // the sequence file the table comes from
    std::string tempFile_;  // the chosen records, written for their run
    std::string writeDir_;
    long runRecords_ = 0;
    int tempCount_ = 0;
};

}  // namespace varigap::ui
