// The main window: start-up, the analysis workflow and the doors to the other windows.
#include "ui/main_menu.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/complement.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "engine/read_analysis.h"
#include "input/sequence_reader.h"
#include "output/file_name.h"
#include "ui/analyze_all.h"
#include "ui/analyze_vrs.h"
#include "ui/application.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/item_captions.h"
#include "ui/line_text.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace varigap::ui {

namespace {

std::string Count(int n, const std::string& thing) { return Str(n) + " " + thing + (n == 1 ? "" : "s"); }

const char* const kTieTip =
    "These templates tie: they matched as many bases (within the Base Count Tolerance of the Parameters) and the "
    "same share of their span. Of tied templates the first in the template file ranks first and is applied by Find "
    "Template; choose another and press Change Template to compare.";

}  // namespace

FVarigapMainMenu::FVarigapMainMenu(Application& app)
    : Window(app.desktop, "FVarigapMainMenu"), app_(app), session_(app.session), st_(app.st) {
    SetCaption("Varigap: Sequence Analysis");

    lstSeq.fontName = "Courier New";
    lstSeq.SetToolTipText("Analyzed Sequence Box. Actual bases from sequence being analyzed.");
    butSelectVRPoss.SetCaption("&R");
    butSelectVRPoss.SetToolTipText(
        "Reparse Button:  Clicking this button reparses the sequence, giving preference to the selected variable "
        "region alternative.");
    butSelectVRPoss.SetVisible(false);
    cbxVRPoss.fontName = "Courier New";
    cbxVRPoss.SetToolTipText(
        "Variable Region Variant Box:  Click the arrow to see a list of other possible Variable Region variants.");
    cbxVRPoss.SetVisible(false);
    butSelectTemplate.SetCaption("&C");
    butSelectTemplate.SetToolTipText(
        "Change Template Button:  Click this button to align the selected sequence with the template selected  in "
        "the box to the right.");
    cbxTemplates.SetToolTipText(
        "Template List Box:  Click the arrow to scroll through the list of templates, ordered with best matches "
        "first, and select a different template.");
    butHelp.SetCaption("&Help");
    butIndelDiff.SetCaption("&Different Length");
    butIndelDiff.SetToolTipText(
        "Clicking this button opens the Variable Region Analysis window and displays all sequences in the file that "
        "are of a different length than is the case in the analyzed sequence.");
    butIndelDiff.SetVisible(false);
    butIndelSame.SetCaption("&Same Length");
    butIndelSame.SetToolTipText(
        "Clicking this button opens the Variable Region Analysis window and displays all sequences in the file that "
        "are the same length as in the analyzed sequence.");
    butIndelSame.SetVisible(false);
    chkInverse.SetCaption("&Use Complementary Sequence");
    chkInverse.SetToolTipText(
        "If this box is checked, Find Template will process the complement of the selected sequence.");
    // The strand list says what the box said, and Auto besides; the box follows it unseen.
    chkInverse.SetVisible(false);
    cbxOrient.SetItems({"Forward strand", "Reverse (complement)", "Auto (better strand)"});
    cbxOrient.SetListIndex(0);
    cbxOrient.SetToolTipText(
        "Strand Box:  Forward analyzes the sequence as read, Reverse its reverse complement, Auto the strand on "
        "which the templates match more bases (the forward one on a tie), as varigap-cli --orient does.");
    cbxSequences.SetToolTipText(
        "Sequence List Box:  Use the down arrow to display and scroll through the sequences in the sequence file.  "
        "Clicking on a sequence selects it.");
    txbxRegionInfo.multiLine = true;
    txbxRegionInfo.SetToolTipText("Taxa Box");
    butFindTemplate.SetCaption("Find &Template");
    butFindTemplate.SetToolTipText("Click after selecting a sequence to begin Varigap analysis.");
    lblActSeqName.fontName = "MS Sans Serif";
    lblActSeqName.SetToolTipText("Name of Sequence used in Displayed Analysis");
    lblSeqInfo.SetToolTipText(
        "Sequence length and position number, relative to the analyzed sequence, of the first and last bases in this "
        "region");
    lblRegionInfo.fontName = "Courier New";
    lblRegionInfo.SetToolTipText("Region Information");
    lblBestTemplate.SetToolTipText("Name of Template used in Displayed Analysis");
    menuFile.SetCaption("&Files");
    menuLoadTemplate.SetCaption("Load &Templates");
    menuLoadSequences.SetCaption("Load &Sequences");
    menuWriteOutputFile.SetCaption("&Write Output File");
    menuAnalyzeAll.SetCaption("&Analyze All...");
    menuLPAM.SetCaption("&Parameters");
    menuOptions.SetCaption("&Options");
    menuQuit.SetCaption("&Quit");
    txbxRuler.multiLine = true;
    txbxRuler.fontName = "Courier New";
    txbxRuler.SetToolTipText("Ruler: the selected line's bases under their positions in the analyzed sequence");
    txbxFind.SetToolTipText(
        "Find Box:  type bases (e.g. GGATCC) and press Enter or Find to select the line that holds them (again: the "
        "next place), or a position (e.g. 640) to select the line that holds that base.");
    butFind.SetCaption("Fi&nd");
    butFind.SetToolTipText("Finds the bases typed, or goes to the position typed, in the analyzed sequence");
    menuEdit.SetCaption("&Edit");
    menuUndo.SetCaption("&Undo");
    menuUndo.SetEnabled(false);
    lblStatus.SetToolTipText("Why no analysis is shown, or what to look at in the one shown");
    lblStatus.SetVisible(false);
    // Each line tells what it is where the mouse points, whichever line is selected.
    lstSeq.showItem = [this](int i) { return ItemShown{lstSeq.List(i), LineToolTip(lstSeq.List(i))}; };
    cbxSequences.showItem = [this](int i) { return NameShown(cbxSequences.List(i)); };
    cbxVRPoss.showItem = [this](int i) { return VariantShown(cbxVRPoss.List(i)); };
    cbxTemplates.showItem = [this](int i) {
        // Each template with what the ranking found of it, as long as the list is that ranking.
        const std::string& name = cbxTemplates.List(i);
        if (i + 1 > st_.numRankedTemplates) return ItemShown{name, ""};
        const TemplateRank& r = st_.templateRanks[i + 1];
        if (session_.templateName[r.templateNum] != name) return ItemShown{name, ""};
        char fraction[16];
        std::snprintf(fraction, sizeof fraction, "%.2f", static_cast<double>(r.fracMatched));
        const int ties = TiesWithFirst();
        std::string tie;
        if (ties > 0 && i == 0) tie = "; tied with " + Count(ties, "other") + ", first as first in the file";
        else if (i >= 1 && i <= ties) tie = "; tied with the first";
        return ItemShown{name + "  (" + Str(r.numMatched) + " bases matched, " + fraction + " of its span" + tie + ")",
                         tie.empty() ? "" : kTieTip};
    };

    FormLoad.Connect([this] { Form_Load(); });
    FormUnload.Connect([this](bool&) { Form_Unload(); });
    butFindTemplate.Click.Connect([this] { butFindTemplate_Click(); });
    butSelectTemplate.Click.Connect([this] { butSelectTemplate_Click(); });
    cbxVRPoss.Click.Connect([this] { cbxVRPoss_Click(); });
    cbxVRPoss.DblClick.Connect([this] { cbxVRPoss_DblClick(); });
    butSelectVRPoss.Click.Connect([this] { butSelectVRPoss_Click(); });
    butIndelSame.Click.Connect([this] { butIndelSame_Click(); });
    butIndelDiff.Click.Connect([this] { butIndelDiff_Click(); });
    chkInverse.Click.Connect([this] { chkInverse_Click(); });
    chkInverse.KeyPress.Connect([this](int k) { chkInverse_KeyPress(k); });
    cbxSequences.Click.Connect([this] { cbxSequences_Click(); });
    cbxSequences.DblClick.Connect([this] { cbxSequences_DblClick(); });
    cbxSequences.GotFocus.Connect([this] { cbxSequences_GotFocus(); });
    lstSeq.GotFocus.Connect([this] { lstSeq_GotFocus(); });
    lstSeq.KeyUp.Connect([this](int k) { lstSeq_KeyUp(k); });
    lstSeq.MouseUp.Connect([this] { lstSeq_MouseUp(); });
    lstSeq.Scroll.Connect([this] { lstSeq_Scroll(); });
    lstSeq.LostFocus.Connect([this] { lstSeq_LostFocus(); });
    butHelp.Click.Connect([this] { butHelp_Click(); });
    menuLoadTemplate.Click.Connect([this] { menuLoadTemplate_Click(); });
    menuLoadSequences.Click.Connect([this] { menuLoadSequences_Click(); });
    menuWriteOutputFile.Click.Connect([this] { menuWriteOutputFile_Click(); });
    menuLPAM.Click.Connect([this] { menuLPAM_Click(); });
    menuOptions.Click.Connect([this] { menuOptions_Click(); });
    menuQuit.Click.Connect([this] { menuQuit_Click(); });
    cbxOrient.Click.Connect([this] { cbxOrient_Click(); });
    menuUndo.Click.Connect([this] { menuUndo_Click(); });
    butFind.Click.Connect([this] { butFind_Click(); });
    txbxFind.KeyPress.Connect([this](int k) { txbxFind_KeyPress(k); });
    txbxFind.Change.Connect([this] { lastFound = 0; });
    menuAnalyzeAll.Click.Connect([this] { menuAnalyzeAll_Click(); });
}

// ---------------------------------------------------------------- public operations

void FVarigapMainMenu::SetRefindTemplate() { templateFound = false; }

void FVarigapMainMenu::cbxSequences_DblClick() {}

void FVarigapMainMenu::SetNoSeq() {
    st_.actSeq.clear();
    actSeqName.clear();
}

void FVarigapMainMenu::ClearAnalysis(const std::string& status) {
    analysisShown = false;
    menuUndo.SetEnabled(false);
    lstSeq.Clear();
    lblActSeqName.SetCaption("");
    lblBestTemplate.SetCaption("");
    lblRegionInfo.SetCaption("");
    txbxRegionInfo.SetText("");
    lblSeqInfo.SetCaption("");
    txbxRuler.SetText("");
    // The ranking shown was of the sequence and templates that were.
    cbxTemplates.Clear();
    HideVRButtons();
    cbxVRPoss.Clear();
    cbxVRPoss.SetVisible(false);
    actVRName.clear();
    actVRVariant.clear();
    actVRI = 0;
    actVRSel = 0;
    SetLSTSeqToolTip("");
    st_.numSSegments = 0;
    if (app_.Created("FAnalyzeVRs")) app_.AnalyzeVRs().Hide();
    SetStatus(status);
}

int FVarigapMainMenu::TiesWithFirst() const {
    const int ranked = st_.numRankedTemplates;
    if (ranked < 2 || st_.templateRanks[1].numMatched <= 0) return 0;
    int ties = 0;
    const TemplateRank& first = st_.templateRanks[1];
    for (int k = 2; k <= ranked; ++k) {
        const TemplateRank& r = st_.templateRanks[k];
        if (IsBetterRank(st_, first, r) || IsBetterRank(st_, r, first)) break;
        ++ties;
    }
    return ties;
}

void FVarigapMainMenu::TemplateFileRead(bool ok) {
    undo.clear();
    templateFile = ok ? session_.templateFileName : "";
    ClearAnalysis(ok ? "Template file \"" + templateFile + "\" loaded (" + Count(session_.numTemplates, "template") +
                           "): press Find Template to analyze the chosen sequence."
                     : "The template file \"" + session_.templateFileName +
                           "\" could not be read: no templates are loaded.");
    UpdateCaption();
}

void FVarigapMainMenu::SequenceFileRead() {
    undo.clear();
    const std::string& name = session_.sequenceFileName;
    sequenceFile = !name.empty() && FileExists(FullPath(session_.sequenceFilePath, name)) ? name : "";
    std::string status = "No sequence file is loaded: choose one (Files, Load Sequences).";
    if (!sequenceFile.empty())
        status = "Sequence file \"" + sequenceFile + "\" (" + app_.records.kind + ") lists " +
                 Count(cbxSequences.ListCount(), "sequence") +
                 (cbxSequences.ListCount() > 0 ? ": choose one and press Find Template." : ".");
    ClearAnalysis(status);
    UpdateCaption();
}

// The title names the files the analyses come from.
void FVarigapMainMenu::UpdateCaption() {
    std::string files = templateFile;
    if (!sequenceFile.empty()) files += (files.empty() ? "" : ", ") + sequenceFile;
    SetCaption("Varigap: Sequence Analysis" + (files.empty() ? "" : " - " + files));
}

void FVarigapMainMenu::SetStatus(const std::string& text) {
    lblStatus.SetCaption(text);
    lblStatus.SetVisible(!text.empty());
}

// ---------------------------------------------------------------- start and end

void FVarigapMainMenu::Form_Load() {
    StartUp(session_);
    SetLSTSeqToolTip("");
    SetRefindTemplate();
    SetNoSeq();
}

void FVarigapMainMenu::Form_Unload() { app_.End(); }

// ---------------------------------------------------------------- Find Template

void FVarigapMainMenu::butFindTemplate_Click() {
    undo.clear();
    FindTemplate(0);
    ShowUndo();
}

void FVarigapMainMenu::butSelectTemplate_Click() {
    int i = cbxTemplates.ListIndex() + 1;
    const bool was = analysisShown;
    if (was) PushUndo("Change Template");
    FindTemplate(st_.templateRanks[i].templateNum);
    if (was && !analysisShown) undo.pop_back();
    ShowUndo();
}

void FVarigapMainMenu::txbxFind_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) butFind_Click();
}

// A position selects the line that holds its base; bases select the line where they begin, the
// next place after the last one found on every press, from the start again after the last.
void FVarigapMainMenu::butFind_Click() {
    if (!analysisShown) {
        SetStatus("Find looks in the analysis shown: press Find Template first.");
        return;
    }
    std::string typed;
    for (char c : txbxFind.Text())
        if (c != ' ' && c != '\t') typed += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (typed.empty()) return;
    const std::string& seq = st_.actSeq;
    const bool number = std::all_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; });
    int from = 0, to = 0;
    if (number) {
        from = typed.size() <= 9 ? std::stoi(typed) : 0;
        if (from < 1 || from > static_cast<int>(seq.size())) {
            SetStatus("Position " + typed + " is outside the analyzed sequence (1 - " +
                      Str(static_cast<long>(seq.size())) + ").");
            return;
        }
        to = from;
    } else {
        std::string upper = seq;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        size_t at = upper.find(typed, static_cast<size_t>(lastFound));
        if (at == std::string::npos) at = upper.find(typed);
        if (at == std::string::npos) {
            SetStatus("\"" + txbxFind.Text() + "\" is not in the analyzed sequence.");
            return;
        }
        from = static_cast<int>(at) + 1;
        to = from + static_cast<int>(typed.size()) - 1;
        lastFound = from;
    }
    for (int k = 1; k <= st_.numSSegments && k <= lstSeq.ListCount(); ++k) {
        const SSegment& s = st_.SSegments[k];
        if (s.startPos <= from && from <= s.endPos) {
            lstSeq.SetListIndex(k - 1);
            lstSeq_ShowLineInfo();
            SetStatus((number ? "Position " + Str(from) : "Bases " + Str(from) + " - " + Str(to)) + ": line " + Str(k) +
                      (number ? "." : "; Find again for the next place."));
            return;
        }
    }
    SetStatus("Position " + Str(from) + " lies in no line shown.");
}

void FVarigapMainMenu::PushUndo(const std::string& what) {
    made.line = lstSeq.ListIndex();
    made.what = what;
    undo.push_back(made);
    // A long evening of reparsing keeps the last steps only.
    if (undo.size() > 50) undo.erase(undo.begin());
}

void FVarigapMainMenu::ShowUndo() {
    menuUndo.SetEnabled(analysisShown && !undo.empty());
    menuUndo.SetCaption(undo.empty() ? "&Undo" : "&Undo " + undo.back().what);
}

// The analysis before the last Reparse or Change Template, made again as it was made: the same
// record, strand and template, the same reparses in order.
void FVarigapMainMenu::menuUndo_Click() {
    if (undo.empty() || !analysisShown) return;
    const Made back = undo.back();
    undo.pop_back();
    cbxSequences.SetListIndex(back.record);
    cbxOrient.SetListIndex(back.orient);
    FindTemplate(back.templateNum);
    if (analysisShown && !back.reparses.empty()) {
        for (const auto& [line, sel] : back.reparses) ReparseLine(st_, line, sel);
        made.reparses = back.reparses;
        lstSeq.Clear();
        ComputeLSTSeq();
    }
    if (back.line >= 0 && back.line < lstSeq.ListCount()) {
        lstSeq.SetListIndex(back.line);
        lstSeq.SetFocus();
        lstSeq_ShowLineInfo();
    }
    ShowUndo();
}

void FVarigapMainMenu::FindTemplate(Integer templateNum) {
    try {
        SetBusyPointer();
        // The analysis shown goes first: whatever follows, no line of it stays beside another
        // sequence's name or bases.
        ClearAnalysis("");
        SelectActSeq();
        if (selectedBases.empty()) {
            SetStatus(actSeqName.empty() ? "No sequence to analyze: choose one in the list, then press Find Template."
                                         : "No bases of \"" + actSeqName + "\" were found in the sequence file.");
        } else if (session_.numTemplates < 1) {
            SetStatus(
                "No templates are loaded: load a template file (Files, Load Templates), then press Find "
                "Template.");
        } else {
            if (!templateFound) {
                // Ranked on the strand chosen (Auto: as a batch run with --orient auto decides).
                const Orient orient = cbxOrient.ListIndex() == 2 ? Orient::Auto
                                      : loadedComplement         ? Orient::Reverse
                                                                 : Orient::Forward;
                bestTemplate = RankRead(st_, selectedBases, orient, loadedComplement);
                if (st_.voteTableFull) MsgBox(st_, VoteTableFullText(st_));
                InitializeCBXTemplates();
                templateFound = true;
            }
            const Integer applied = ApplyTemplate(st_, templateNum, bestTemplate);
            lblBestTemplate.SetCaption(session_.templateName[applied]);
            ShowUsedTemplate();
            ComputeLSTSeq();
            analysisShown = true;
            analysedComplement = loadedComplement;
            made = Made{cbxSequences.ListIndex(), cbxOrient.ListIndex(), templateNum, 0, {}, ""};
            SetStatus(AnalysisStatus());
            if (lstSeq.ListCount() >= 1) {
                lstSeq.SetListIndex(0);
                lstSeq.SetFocus();
            }
        }
        SetNormalPointer();
    } catch (...) {
        SetNormalPointer();
        ReportRunTimeError(st_, std::current_exception());
    }
}

void FVarigapMainMenu::SelectActSeq() {
    loadedComplement = cbxOrient.ListIndex() == 1;
    const int listed = cbxSequences.ListIndex();
    selectedBases.clear();
    st_.actSeq.clear();
    if (listed >= 0 || !cbxSequences.Text().empty()) {
        actSeqName = cbxSequences.Text();
        // An entry of the list is its own record, also where names repeat or are empty; a typed
        // name is looked up. Without a record, no bases: those of the previous sequence are never
        // analysed under the new name.
        const SequenceRecords& records = app_.records;
        const int i = listed >= 0 && listed < records.Count() && records.names[listed] == actSeqName
                          ? listed
                          : records.Find(actSeqName);
        if (i >= 0) selectedBases = records.bases[i];
        SetRefindTemplate();
    } else {
        SetNoSeq();
    }
    lblActSeqName.SetCaption(actSeqName);
}

std::string FVarigapMainMenu::AnalysisStatus() const {
    const Integer t = st_.actTemplate;
    bool found = false;
    for (int c = 1; c <= session_.numCRs[t] && !found; ++c) found = st_.crStartPos[t][c] != POSNOTFOUND;
    if (!found && cbxOrient.ListIndex() == 2)
        return "No conserved region of template \"" + session_.templateName[t] +
               "\" was found on either strand of this sequence: does it hold the region?";
    if (!found)
        return "No conserved region of template \"" + session_.templateName[t] + "\" was found in this sequence. " +
               (analysedComplement ? "If the sequence was read in its own direction, choose \"Forward strand\""
                                   : "If the sequence was read in reverse, choose \"Reverse (complement)\"") +
               " in the Strand box (or \"Auto\") and press Find Template again.";
    if (lstSeq.ListCount() == 0) return NoLinesStatus();
    return analysedComplement ? "The reverse complement of the sequence as read is analyzed." : "";
}

// Conserved regions were found, yet the sequence could not be cut into lines: say which were
// found more than once or out of the template's order (a record holding the region twice, say
// two records joined), and where.
std::string FVarigapMainMenu::NoLinesStatus() const {
    const Integer t = st_.actTemplate;
    std::string where, twice;
    bool outOfOrder = false;
    int lastEnd = 0;
    for (int c = 1; c <= session_.numCRs[t]; ++c) {
        const int start = st_.crStartPos[t][c], end = st_.crEndPos[t][c];
        if (start == POSAMBIGUOUS || end == POSAMBIGUOUS) twice += (twice.empty() ? "#" : ", #") + Str(c);
        if (!IsValidPos(start) || !IsValidPos(end)) continue;
        where += (where.empty() ? "#" : ", #") + Str(c) + " at " + Str(start) + ".." + Str(end);
        outOfOrder = outOfOrder || start <= lastEnd;
        lastEnd = std::max(lastEnd, end);
    }
    const std::string lead = "The sequence could not be cut into regions along template \"" + session_.templateName[t] +
                             "\", so no line is shown: ";
    const std::string advice =
        ", as in a record that holds the region twice (two records joined, say). Check the record; each part can be "
        "analyzed on its own.";
    if (!twice.empty()) return lead + "conserved regions " + twice + " were each found more than once" + advice;
    if (outOfOrder)
        return lead + "its conserved regions were found out of the template's order (" + where + ")" + advice;
    return lead + "no region could be placed between its conserved regions" +
           (where.empty() ? "" : " (" + where + ")") + ".";
}

void FVarigapMainMenu::ShowUsedTemplate() {
    for (int i = 1; i <= st_.numRankedTemplates && i <= cbxTemplates.ListCount(); ++i)
        if (st_.templateRanks[i].templateNum == st_.actTemplate) cbxTemplates.SetListIndex(i - 1);
}

void FVarigapMainMenu::InitializeCBXTemplates() {
    cbxTemplates.Clear();
    Assert(st_, st_.numRankedTemplates == session_.numTemplates);
    for (int i = 1; i <= st_.numRankedTemplates; ++i)
        cbxTemplates.AddItem(session_.templateName[st_.templateRanks[i].templateNum]);
    cbxTemplates.SetListIndex(0);
}

// ---------------------------------------------------------------- variants and reparsing

void FVarigapMainMenu::cbxVRPoss_Click() { cbxVRPoss_DblClick(); }

void FVarigapMainMenu::cbxVRPoss_DblClick() { ShowVRPossibility(actVRI, cbxVRPoss.ListIndex() + 1); }

void FVarigapMainMenu::butSelectVRPoss_Click() {
    if (!analysisShown) return;
    int k = lstSeq.ListIndex() + 1;
    // The button shows only beside a variable region's line; a variant outside its list is passed over.
    PushUndo("Reparse");
    ReparseResult r = ReparseLine(st_, k, actVRSel);
    Assert(st_, r == ReparseResult::Done || r == ReparseResult::NoSuchPossibility);
    if (r == ReparseResult::Done) made.reparses.emplace_back(k, actVRSel);
    else undo.pop_back();
    ShowUndo();
    int i = lstSeq.ListIndex();
    lstSeq.Clear();
    ComputeLSTSeq();
    lstSeq.SetListIndex(std::min(i, lstSeq.ListCount() - 1));
    lstSeq.SetFocus();
}

void FVarigapMainMenu::butIndelSame_Click() { VRAnalysis(1); }

void FVarigapMainMenu::butIndelDiff_Click() { VRAnalysis(2); }

void FVarigapMainMenu::VRAnalysis(Integer comp) {
    if (!analysisShown) return;
    lstSeq.SetFocus();
    FAnalyzeVRs& w = app_.AnalyzeVRs();
    w.SetParameters(actVRI, actVRSel, comp);
    w.Show();
}

// ---------------------------------------------------------------- sequence choice and complement

void FVarigapMainMenu::chkInverse_Click() {
    SetRefindTemplate();
    if (!syncingOrient) {
        syncingOrient = true;
        cbxOrient.SetListIndex(chkInverse.Value() == 1 ? 1 : 0);
        syncingOrient = false;
    }
    cbxSequences_DblClick();
}

void FVarigapMainMenu::cbxOrient_Click() {
    SetRefindTemplate();
    if (syncingOrient) return;
    syncingOrient = true;
    chkInverse.SetValue(cbxOrient.ListIndex() == 1 ? 1 : 0);
    syncingOrient = false;
}

void FVarigapMainMenu::OpenRecord(int index, bool reverse) {
    if (index < 0 || index >= cbxSequences.ListCount()) return;
    Show();
    cbxSequences.SetListIndex(index);
    if (cbxOrient.ListIndex() != 2) cbxOrient.SetListIndex(reverse ? 1 : 0);
    undo.clear();
    FindTemplate(0);
    ShowUndo();
}

void FVarigapMainMenu::chkInverse_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter && (chkInverse.Value() == 0 || chkInverse.Value() == 1))
        chkInverse.SetValue(1 - chkInverse.Value());
}

void FVarigapMainMenu::cbxSequences_Click() { cbxSequences_DblClick(); }

void FVarigapMainMenu::cbxSequences_GotFocus() { cbxSequences_Click(); }

// ---------------------------------------------------------------- the analysed sequence box

void FVarigapMainMenu::lstSeq_GotFocus() { lstSeq_ShowLineInfo(); }
void FVarigapMainMenu::lstSeq_KeyUp(int) { lstSeq_ShowLineInfo(); }
void FVarigapMainMenu::lstSeq_MouseUp() { lstSeq_ShowLineInfo(); }
void FVarigapMainMenu::lstSeq_Scroll() { lstSeq_ShowLineInfo(); }
void FVarigapMainMenu::lstSeq_LostFocus() { SetLSTSeqToolTip(""); }

// ---------------------------------------------------------------- other windows

void FVarigapMainMenu::butHelp_Click() { app_.Help().Show(); }
void FVarigapMainMenu::menuLoadTemplate_Click() { app_.LoadTemplate().Show(); }
void FVarigapMainMenu::menuLoadSequences_Click() { app_.LoadSequence().Show(); }
void FVarigapMainMenu::menuLPAM_Click() { app_.Parameters().Show(); }
void FVarigapMainMenu::menuOptions_Click() { app_.Options().Show(); }
void FVarigapMainMenu::menuQuit_Click() { Unload(); }
void FVarigapMainMenu::menuAnalyzeAll_Click() { app_.AnalyzeAll().Show(); }

void FVarigapMainMenu::menuWriteOutputFile_Click() {
    std::string name = SuggestedFileName(actSeqName, 8, ".txt");
    FWriteOutputFile& w = app_.WriteOutput();
    w.SuggestFileName(name);
    w.Show();
}

// ---------------------------------------------------------------- pointer

void FVarigapMainMenu::SetBusyPointer() { SetMousePointer(kPointerHourglass); }
void FVarigapMainMenu::SetNormalPointer() { SetMousePointer(kPointerDefault); }

}  // namespace varigap::ui
