// The main window: choosing a sequence, Find Template, Change Template, the analysed sequence
// line by line with its region information, choosing a variant and reparsing, and the doors
// to every other window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/state.h"
#include "ui/controls.h"

namespace varigap::ui {

class Application;

class FVarigapMainMenu : public Window {
public:
    explicit FVarigapMainMenu(Application& app);

    // ---- controls
    ListBox lstSeq{*this, "lstSeq"};
    CommandButton butSelectVRPoss{*this, "butSelectVRPoss"};
    ComboBox cbxVRPoss{*this, "cbxVRPoss"};
    CommandButton butSelectTemplate{*this, "butSelectTemplate"};
    ComboBox cbxTemplates{*this, "cbxTemplates"};
    CommandButton butHelp{*this, "butHelp"};
    CommandButton butIndelDiff{*this, "butIndelDiff"};
    CommandButton butIndelSame{*this, "butIndelSame"};
    CheckBox chkInverse{*this, "chkInverse"};
    ComboBox cbxSequences{*this, "cbxSequences"};
    TextBox txbxRegionInfo{*this, "txbxRegionInfo"};
    CommandButton butFindTemplate{*this, "butFindTemplate"};
    Label lblActSeqName{*this, "lblActSeqName"};
    Label lblSeqInfo{*this, "lblSeqInfo"};
    Label lblRegionInfo{*this, "lblRegionInfo"};
    Label lblBestTemplate{*this, "lblBestTemplate"};
    MenuItem menuFile{*this, "menuFile"};
    MenuItem menuLoadTemplate{*this, "menuLoadTemplate", &menuFile};
    MenuItem menuLoadSequences{*this, "menuLoadSequences", &menuFile};
    MenuItem menuWriteOutputFile{*this, "menuWriteOutputFile", &menuFile};
    MenuItem menuAnalyzeAll{*this, "menuAnalyzeAll", &menuFile};  // added: the whole run
    MenuItem menuLPAM{*this, "menuLPAM"};
    MenuItem menuOptions{*this, "menuOptions"};
    // Added to the window: what it has to say about the analysis (why none is shown, what to
    // try), and the Files menu's way out.
    Label lblStatus{*this, "lblStatus"};
    MenuItem menuQuit{*this, "menuQuit", &menuFile};
    // Added: the strand Find Template analyses (Forward, Reverse: the complement, Auto: the
    // strand the templates match better), the choice chkInverse stood for; and the whole run.
    ComboBox cbxOrient{*this, "cbxOrient"};
    // Added: Edit, Undo (Ctrl+Z) takes back the last Reparse or Change Template.
    MenuItem menuEdit{*this, "menuEdit"};
    MenuItem menuUndo{*this, "menuUndo", &menuEdit};
    // Added: the selected line's bases under a ruler of positions; bases to find or a position
    // to go to in the analysed sequence.
    TextBox txbxRuler{*this, "txbxRuler"};
    TextBox txbxFind{*this, "txbxFind"};
    CommandButton butFind{*this, "butFind"};

    // ---- public operations
    void SetRefindTemplate();
    void cbxSequences_DblClick();
    void SetNoSeq();
    std::string GetActSeqName() const { return actSeqName; }
    // Takes the analysis off the window (lines, region panel, template list, variant buttons,
    // the Variable Region Analysis window): everything that needs an analysis waits for the
    // next Find Template. `status` says why, or what to do next.
    void ClearAnalysis(const std::string& status);
    // A template file was read (`ok`), or reading it failed and emptied the template table.
    void TemplateFileRead(bool ok);
    // The sequence file chooser loaded a file: the sequence list changed.
    void SequenceFileRead();

    // ---- event handlers
    void Form_Load();
    void Form_Unload();
    void butFindTemplate_Click();
    void butSelectTemplate_Click();
    void cbxVRPoss_Click();
    void cbxVRPoss_DblClick();
    void butSelectVRPoss_Click();
    void butIndelSame_Click();
    void butIndelDiff_Click();
    void chkInverse_Click();
    void chkInverse_KeyPress(int keyAscii);
    void cbxSequences_Click();
    void cbxSequences_GotFocus();
    void lstSeq_GotFocus();
    void lstSeq_KeyUp(int keyCode);
    void lstSeq_MouseUp();
    void lstSeq_Scroll();
    void lstSeq_LostFocus();
    void butHelp_Click();
    void menuLoadTemplate_Click();
    void menuLoadSequences_Click();
    void menuWriteOutputFile_Click();
    void menuLPAM_Click();
    void menuOptions_Click();
    void menuQuit_Click();
    void cbxOrient_Click();
    void menuUndo_Click();
    void butFind_Click();
    void txbxFind_KeyPress(int keyAscii);
    void menuAnalyzeAll_Click();
    // Shows record `index` of the sequence list analysed on the strand given (from the whole
    // run's table): as choosing it, the strand, and Find Template.
    void OpenRecord(int index, bool reverse);

    // ---- the window's fields, for views and tests
    bool TemplateFound() const { return templateFound; }
    Integer BestTemplate() const { return bestTemplate; }
    Integer ActVRI() const { return actVRI; }
    Integer ActVRSel() const { return actVRSel; }
    const std::string& ActVRName() const { return actVRName; }
    const std::string& ActVRVariant() const { return actVRVariant; }
    // Whether the window shows a whole analysis of the sequence held (what Write Output File
    // writes), and whether that sequence is the reverse complement of the one read.
    bool AnalysisShown() const { return analysisShown; }
    bool AnalysedComplement() const { return analysedComplement; }

private:
    void FindTemplate(Integer templateNum);
    void SelectActSeq();
    void InitializeCBXTemplates();
    // The analysis display.
    void ComputeLSTSeq();
    void lstSeq_ShowLineInfo();
    void ShowVRPossibility(Integer vr, Integer sel);
    void ShowVRButtons();
    void HideVRButtons();
    void SetBusyPointer();
    void SetNormalPointer();
    void SetLSTSeqToolTip(const std::string& text);
    // How many templates after the first of the ranking tie with it.
    int TiesWithFirst() const;
    void VRAnalysis(Integer comp);
    void SetStatus(const std::string& text);
    // What the status says after an analysis: nothing of the template found, no line made, or
    // the complement.
    std::string AnalysisStatus() const;
    std::string NoLinesStatus() const;
    // The template list shows the template the analysis used, each template with its score.
    void ShowUsedTemplate();
    void UpdateCaption();

    Application& app_;
    Session& session_;
    State& st_;

    std::string actSeqName;
    bool templateFound = false;
    Integer bestTemplate;
    Integer actVRI;
    Integer actVRSel;
    std::string actVRName;
    std::string actVRVariant;
    bool analysisShown = false;
    bool analysedComplement = false;
    bool loadedComplement = false;  // how actSeq was read
    // What the analysis shown was made of, to make it again: the template asked for (0: the
    // best) and the reparses after it; and the analyses before each Reparse or Change Template.
    struct Made {
        int record = -1, orient = 0, templateNum = 0, line = 0;
        std::vector<std::pair<int, int>> reparses;  // display line, possibility
        std::string what;                           // "Reparse", "Change Template"
    };
    Made made;
    int lastFound = 0;  // where the bases typed were found last (1-based), to find the next
    std::vector<Made> undo;
    void PushUndo(const std::string& what);
    void ShowUndo();
    std::string selectedBases;   // the chosen record as read (forward)
    bool syncingOrient = false;  // cbxOrient and chkInverse follow each other
    std::string templateFile;    // the file the loaded templates came from
    std::string sequenceFile;    // the file the sequence list came from
};

}  // namespace varigap::ui
