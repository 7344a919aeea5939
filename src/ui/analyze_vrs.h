// The Variable Region Analysis window: the variants of one variable region's file, listed by
// their length compared with a reference length, with the taxa of the selected one.
#pragma once

#include <string>

#include "core/limits.h"
#include "core/state.h"
#include "ui/controls.h"

namespace varigap::ui {

class Application;

class FAnalyzeVRs : public Window {
public:
    explicit FAnalyzeVRs(Application& app);

    // ---- controls
    OptionButton radAll{*this, "radAll"};
    ListBox lstSeqs{*this, "lstSeqs"};
    OptionButton radDiff{*this, "radDiff"};
    OptionButton radShorter{*this, "radShorter"};
    OptionButton radLonger{*this, "radLonger"};
    OptionButton radSame{*this, "radSame"};
    ComboBox cbxActVRSeq{*this, "cbxActVRSeq"};
    TextBox txbxSpecies{*this, "txbxSpecies"};
    TextBox txbxLength{*this, "txbxLength"};
    Label lblActSeqLine{*this, "lblActSeqLine"};
    Label Label1{*this, "Label1"};
    Label lblRegionName{*this, "lblRegionName"};

    // ---- public operations
    void SetParameters(Integer inVRI, Integer inVRSel, Integer inComp);
    void ComputePLengthFromParameters();
    void UpdateWithParameters();
    void InitializeCBXActVrSeq();
    void ParseVRFile();
    void ComputeLSTSeqs();
    void lstSeqs_SetLine();
    void SetCompMode(Integer mode);
    void UpdateTXBXSpecies();
    void SetActSeqLine(const std::string& inActSeqLine);
    // The main window shows display line `line` (text `lineText`); `lineVRI` is the variable
    // region it holds alone, 0 for any other line. The window follows a variable line; on any
    // other line it keeps its region and says which line that is.
    void FollowLine(Integer line, Integer lineVRI, Integer lineVRSel, const std::string& lineText);

    // ---- event handlers
    void Form_Activate();
    void cbxActVRSeq_Click();
    void cbxActVRSeq_DblClick();
    void lstSeqs_Click();
    void lstSeqs_DblClick();
    void lstSeqs_GotFocus();
    void lstSeqs_KeyUp(int keyCode);
    void radSame_Click();
    void radDiff_Click();
    void radShorter_Click();
    void radLonger_Click();
    void radAll_Click();
    void txbxLength_KeyPress(int keyAscii);
    void txbxLength_LostFocus();

    // ---- the window's fields, for views and tests
    const std::string& AnalyzedVRFile() const { return analyzedVRFile; }
    Integer Vri() const { return vri; }
    Integer VrSel() const { return vrSel; }
    Integer CompMode() const { return compMode; }
    Integer PLength() const { return pLength; }
    const std::string& ActSeqLine() const { return actSeqLine; }
    Integer NumEntries() const { return numEntries; }

private:
    bool IsSeqShown(const std::string& bases) const;
    void ApplyLengthBox();
    void ShowActSeqLine();

    Session& session_;
    State& st_;

    std::string analyzedVRFile;
    Integer vri;
    Integer vrSel;
    Integer compMode;
    Integer pLength;
    std::string actSeqLine;
    Table<std::string, MAXNUMVRFILEENTRIES> entrySeq;
    Integer numEntries;
    Table<std::string, MAXNUMVRFILEENTRIES> entryTaxa;
    Table<Integer, MAXNUMVRFILEENTRIES> lineEntry;
    Integer actLine = -1;
    Integer shownLine = 0;  // the main window's line of the variable region analysed
    Integer mainLine = 0;   // the main window's line shown last
};

}  // namespace varigap::ui
