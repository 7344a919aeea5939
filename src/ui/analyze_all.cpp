// The whole run's window.
#include "ui/analyze_all.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "core/types.h"
#include "export/listing.h"
#include "run/output_files.h"
#include "seqio/sequence_file.h"
#include "ui/application.h"
#include "ui/main_menu.h"

namespace varigap::ui {

namespace {

// Messages kept in the window: the first ones say what went wrong; a run of a million bad
// records would otherwise fill the memory.
constexpr size_t kMostMessageText = 100000;

std::string Records(long n) { return Str(n) + (n == 1 ? " record" : " records"); }

// A path typed in the window: relative ones start in the folder the file windows use.
std::string Absolute(const std::string& typed, const std::string& dir) {
    if (typed.empty() || typed[0] == '/') return typed;
    return FullPath(dir, typed);
}

const char* const kOrientNames[] = {"forward", "reverse", "auto"};

}  // namespace

FAnalyzeAll::FAnalyzeAll(Application& app) : Window(app.desktop, "FAnalyzeAll"), app_(app), st_(app.st) {
    SetCaption("Varigap: Analyze All");
    closeOnEscape = true;
    chkChosenOnly.SetCaption("Only the records &chosen in the table");
    chkChosenOnly.SetToolTipText(
        "Analyze again, or write output files for, only the rows chosen in the results table (Ctrl or Shift with a "
        "click chooses several).");
    chkNearest.SetCaption("Name regions by their &nearest variants");
    chkNearest.SetToolTipText(
        "A variable region that no listed variant equals is named by the variants with the fewest differences (at "
        "least 90% identity), flagged ~, as varigap-cli analyze --identify nearest does. The main window's analysis "
        "of a record stays exact.");
    butStart.SetCaption("&Analyze");
    butStart.SetToolTipText(
        "Analyzes every record of the sequence file with the templates and parameters loaded, on the strand chosen "
        "in the main window, as varigap-cli analyze does. The window stays usable meanwhile.");
    butCancel.SetCaption("Cancel");
    butCancel.SetEnabled(false);
    butCancel.SetToolTipText("Stops the run: the records analyzed so far stay in the table.");
    pbProgress.SetToolTipText("Records analyzed");
    txbxFilter.SetToolTipText(
        "Filter: only the rows with a cell that holds this text (any case) are shown, e.g. a taxon or a template.");
    grdResults.SetToolTipText(
        "Results table: one row per record. Click a column's title to sort by it; double-click a row to show that "
        "record's analysis in the main window.");
    grdTaxa.SetToolTipText(
        "Reads per taxon: the taxa of each record's variable region variants (\"unidentified\" for a region without a "
        "listed variant), with their share of the records.");
    txbxTsvFile.SetText("results.tsv");
    txbxTsvFile.SetToolTipText("The TSV file to write (relative to the folder of the file windows)");
    butExportTsv.SetCaption("Export &TSV");
    butExportTsv.SetToolTipText(
        "Writes every row of the run as varigap-cli analyze --format tsv writes it (one row per display line).");
    txbxOutputDir.SetText("output");
    txbxOutputDir.SetToolTipText("The folder the output files go to (made when missing)");
    chkTaxa.SetCaption("With ta&xa");
    chkTaxa.SetToolTipText("The output files list the taxa of each variant, as the main window's Write Output File.");
    chkReplace.SetCaption("&Replace existing files");
    chkReplace.SetToolTipText(
        "Unchecked, files of the same names already in the folder are left untouched and named in the messages "
        "(as varigap-cli without --force).");
    butWriteFiles.SetCaption("&Write Output Files");
    butWriteFiles.SetToolTipText(
        "Writes one annotated output file per record (all, or the chosen rows) into the folder, as varigap-cli -o "
        "does.");
    txbxMessages.multiLine = true;
    txbxMessages.SetToolTipText("What the run had to say: records passed over, files not written");
    butClose.SetCaption("Close");
    cancelButton = &butClose;
    grdResults.fontName = "Courier New";

    FormActivate.Connect([this] { Form_Activate(); });
    butStart.Click.Connect([this] { butStart_Click(); });
    butCancel.Click.Connect([this] { butCancel_Click(); });
    butClose.Click.Connect([this] { Hide(); });
    txbxFilter.Change.Connect([this] { txbxFilter_Change(); });
    grdResults.HeaderClick.Connect([this](int c) { grdResults_HeaderClick(c); });
    grdResults.DblClick.Connect([this](int r) { grdResults_DblClick(r); });
    butExportTsv.Click.Connect([this] { butExportTsv_Click(); });
    butWriteFiles.Click.Connect([this] { butWriteFiles_Click(); });
    UpdateSource();
}

void FAnalyzeAll::Form_Activate() { UpdateSource(); }

void FAnalyzeAll::UpdateSource() {
    const SequenceRecords& r = app_.records;
    const int orient = std::clamp(app_.MainMenu().cbxOrient.ListIndex(), 0, 2);
    if (r.path.empty()) {
        lblSource.SetCaption("No sequence file is loaded: load one in the main window (Files, Load Sequences).");
        return;
    }
    lblSource.SetCaption("Sequence file \"" + r.path + "\" (" + r.kind + "): " + Records(r.Count()) + "; strand " +
                         kOrientNames[orient] + " (as chosen in the main window); " + Str(app_.session.numTemplates) +
                         " templates loaded.");
}

void FAnalyzeAll::SetStatus(const std::string& text) { lblStatus.SetCaption(text); }

void FAnalyzeAll::SetRunning(bool running) {
    butStart.SetEnabled(!running);
    butWriteFiles.SetEnabled(!running);
    butExportTsv.SetEnabled(!running);
    butCancel.SetEnabled(running);
    SetMousePointer(kPointerDefault);
}

bool FAnalyzeAll::ChosenRecords(std::vector<int>& indexes) {
    indexes.clear();
    if (chkChosenOnly.Value() != 1) return true;
    if (runPath_ != app_.records.path) {
        SetStatus("The table comes from another sequence file: analyze all records first.");
        return false;
    }
    for (int row : grdResults.Selected())
        indexes.push_back(table_.Records()[static_cast<size_t>(shown_[static_cast<size_t>(row)])].index);
    if (indexes.empty()) {
        SetStatus("No row is chosen in the table: choose rows, or uncheck \"Only the records chosen\".");
        return false;
    }
    std::sort(indexes.begin(), indexes.end());
    return true;
}

void FAnalyzeAll::butStart_Click() {
    UpdateSource();
    if (app_.records.Count() == 0) {
        SetStatus("No records to analyze: load a sequence file in the main window (Files, Load Sequences).");
        return;
    }
    if (app_.session.numTemplates < 1) {
        SetStatus("No templates are loaded: load a template file in the main window (Files, Load Templates).");
        return;
    }
    std::vector<int> indexes;
    if (!ChosenRecords(indexes)) return;
    StartRun(Job::Analyze, indexes, "");
}

void FAnalyzeAll::StartRun(Job job, const std::vector<int>& chosen, const std::string& outputDir) {
    const SequenceRecords& recs = app_.records;
    std::vector<int> indexes = chosen;
    if (indexes.empty())
        for (int i = 0; i < recs.Count(); ++i) indexes.push_back(i);
    run::RunSettings s;
    s.samples = {seqio::SampleName(recs.path)};
    s.files = {recs.path};
    if (!chosen.empty()) {
        // The chosen records as a file of their own: each read with its own bases, also where
        // names repeat.
        tempFile_ = (std::filesystem::temp_directory_path() /
                     ("varigap-chosen-" + std::to_string(getpid()) + "-" + std::to_string(++tempCount_) + ".fasta"))
                        .string();
        std::ofstream out(tempFile_, std::ios::binary | std::ios::trunc);
        for (int i : indexes)
            out << '>' << recs.names[static_cast<size_t>(i)] << '\n' << recs.bases[static_cast<size_t>(i)] << '\n';
        if (!out.flush()) {
            SetStatus("The chosen records could not be written to " + tempFile_ + " for their run.");
            return;
        }
        s.files = {tempFile_};
    }
    s.request.orient = static_cast<Orient>(std::clamp(app_.MainMenu().cbxOrient.ListIndex(), 0, 2));
    s.listing.format = exports::Format::Tsv;
    if (chkNearest.Value() == 1) {
        s.request.identify = Identify::Nearest;
        s.listing.nearest = true;
    }
    s.outputDir = outputDir;
    s.taxa = chkTaxa.Value() == 1;
    s.force = chkReplace.Value() == 1;
    job_ = job;
    runRecords_ = static_cast<long>(indexes.size());
    if (job == Job::Analyze) {
        std::vector<std::string> names;
        std::vector<long> numbers;
        for (int i : indexes) {
            names.push_back(recs.names[static_cast<size_t>(i)]);
            numbers.push_back(recs.numbers[static_cast<size_t>(i)]);
        }
        table_.Begin(indexes, std::move(names), std::move(numbers));
        runPath_ = recs.path;
        shown_.clear();
        grdResults.SetTable(table_.Header(), {});
        grdTaxa.SetTable({"reads", "share", "taxon"}, {});
    }
    txbxMessages.SetText("");
    pbProgress.SetRange(0, static_cast<int>(std::min<long>(runRecords_, 1 << 30)));
    lblProgress.SetCaption("0 of " + Records(runRecords_));
    SetStatus(job == Job::Analyze ? "Analyzing " + Records(runRecords_) + "..."
                                  : "Writing output files for " + Records(runRecords_) + "...");
    SetRunning(true);
    run_.Start(app_.session, std::move(s), job == Job::Analyze);
}

void FAnalyzeAll::butCancel_Click() {
    if (!run_.Running()) return;
    run_.Cancel();
    SetStatus("Cancelling...");
}

bool FAnalyzeAll::Poll() {
    if (job_ == Job::None) return false;
    BackgroundRun::Arrived a = run_.Poll();
    if (job_ == Job::Analyze) {
        table_.TakeTsv(a.out);
        table_.Take(std::move(a.rows));
    }
    if (!a.err.empty() && txbxMessages.Text().size() < kMostMessageText)
        txbxMessages.SetText(txbxMessages.Text() + a.err);
    const long done = std::min(a.progress.records, runRecords_);
    pbProgress.SetRange(static_cast<int>(std::min<long>(done, 1 << 30)), pbProgress.Maximum());
    lblProgress.SetCaption(Str(done) + " of " + Records(runRecords_));
    if (a.finished) Ended(a);
    return job_ != Job::None;
}

void FAnalyzeAll::Finish() {
    if (job_ == Job::None) return;
    run_.Wait();
    Poll();
}

void FAnalyzeAll::Ended(const BackgroundRun::Arrived& a) {
    const Job job = job_;
    job_ = Job::None;
    SetRunning(false);
    if (!tempFile_.empty()) {
        std::error_code ec;
        std::filesystem::remove(tempFile_, ec);
        tempFile_.clear();
    }
    const bool cancelled = run_.Cancelled();
    const std::string seeMessages = txbxMessages.Text().empty() ? "" : " See the messages below.";
    if (job == Job::Analyze) {
        table_.Finish(!cancelled);
        ShowRows();
        ShowTaxa();
        long withTemplate = 0;
        for (const RunRecord& r : table_.Records()) withTemplate += r.templ.empty() ? 0 : 1;
        SetStatus(cancelled ? "Cancelled: " + Records(static_cast<long>(table_.Records().size())) +
                                  " in the table, of " + Str(runRecords_) + "."
                            : Records(static_cast<long>(table_.Records().size())) + " analyzed, " + Str(withTemplate) +
                                  " placed along a template." + seeMessages);
    } else {
        if (cancelled) SetStatus("Cancelled: some output files were written to " + writeDir_ + ".");
        else if (a.status == run::kRunOk)
            SetStatus("Output files for " + Records(runRecords_) + " written to " + writeDir_ + ".");
        else SetStatus("Not every output file was written to " + writeDir_ + "." + seeMessages);
    }
}

void FAnalyzeAll::ShowRows() {
    shown_ = table_.Shown(txbxFilter.Text(), grdResults.sortColumn, grdResults.sortAscending);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(shown_.size());
    for (int i : shown_) rows.push_back(table_.Cells(table_.Records()[static_cast<size_t>(i)]));
    grdResults.SetTable(table_.Header(), std::move(rows));
}

void FAnalyzeAll::ShowTaxa() {
    std::vector<std::vector<std::string>> rows;
    for (const TaxonCount& t : table_.Taxa()) {
        char share[32];
        std::snprintf(share, sizeof share, "%.1f%%", 100 * t.share);
        rows.push_back({Str(t.reads), share, t.taxon});
    }
    grdTaxa.SetTable({"reads", "share", "taxon"}, std::move(rows));
}

void FAnalyzeAll::txbxFilter_Change() { ShowRows(); }

void FAnalyzeAll::grdResults_HeaderClick(int column) {
    grdResults.sortAscending = grdResults.sortColumn == column ? !grdResults.sortAscending : true;
    grdResults.sortColumn = column;
    ShowRows();
}

void FAnalyzeAll::grdResults_DblClick(int row) {
    if (row < 0 || static_cast<size_t>(row) >= shown_.size()) return;
    const RunRecord& r = table_.Records()[static_cast<size_t>(shown_[static_cast<size_t>(row)])];
    const SequenceRecords& recs = app_.records;
    if (recs.path != runPath_ || r.index >= recs.Count()) {
        SetStatus("The main window holds another sequence file now: analyze all again to open its records.");
        return;
    }
    app_.MainMenu().OpenRecord(r.index, r.strand == '-');
}

void FAnalyzeAll::butExportTsv_Click() {
    const std::string path = Absolute(txbxTsvFile.Text(), app_.currentDirectory);
    if (path.empty()) {
        SetStatus("Type the name of the TSV file to write.");
        return;
    }
    if (table_.Records().empty()) {
        SetStatus("Nothing to export: press Analyze first.");
        return;
    }
    if (FileExists(path) && Ask(st_, "File " + path + " already exists.\r\nDo you want to overwrite it?", "Varigap",
                                MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    try {
        TextWriter out;
        out.Open(path);
        out.Write(table_.Tsv());
        if (!out.Commit()) throw RunTimeError(kErrDiskFull, "the file could not be completed");
        SetStatus("The table was written to " + path + ".");
    } catch (const RunTimeError& e) {
        SetStatus("The table could not be written to " + path + ": " + e.Description() +
                  " (does the folder exist, and may it be written to?)");
    }
}

void FAnalyzeAll::butWriteFiles_Click() {
    const std::string dir = Absolute(txbxOutputDir.Text(), app_.currentDirectory);
    if (dir.empty()) {
        SetStatus("Type the folder the output files go to.");
        return;
    }
    if (app_.records.Count() == 0 || app_.session.numTemplates < 1) {
        SetStatus("Load a template file and a sequence file in the main window first.");
        return;
    }
    std::vector<int> indexes;
    if (!ChosenRecords(indexes)) return;
    std::string reason;
    if (!run::UsableOutputFolder(dir, reason)) {
        SetStatus("Output files cannot be written to " + dir + ": " + reason);
        return;
    }
    if (chkReplace.Value() == 1 &&
        Ask(st_, "Files of the same names in " + dir + " will be replaced.\r\nDo you want to go on?", "Varigap",
            MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    writeDir_ = dir;
    StartRun(Job::Write, indexes, dir);
}

}  // namespace varigap::ui
