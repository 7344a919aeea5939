// The Variable Region Analysis window.
#include "ui/analyze_vrs.h"

#include <cmath>

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/vr_files.h"
#include "output/variant_listing.h"
#include "ui/application.h"
#include "ui/item_captions.h"

namespace varigap::ui {

FAnalyzeVRs::FAnalyzeVRs(Application& app) : Window(app.desktop, "FAnalyzeVRs"), session_(app.session), st_(app.st) {
    SetCaption("Variable Region Analysis");
    radAll.SetCaption("&All Sequences");
    radAll.SetToolTipText("Display all variable region sequences in the file.");
    lstSeqs.fontName = "Courier New";
    lstSeqs.SetToolTipText("Variable Region Sequence List Box");
    radDiff.SetCaption("&Different Length");
    radDiff.SetToolTipText(
        "Display all variable region sequences in the file of a different length than the value shown.");
    radShorter.SetCaption("S&horter");
    radShorter.SetToolTipText("Display all variable region sequences in the file shorter than the value shown.");
    radLonger.SetCaption("&Longer");
    radLonger.SetToolTipText("Display all variable region sequences in the file longer than the value shown.");
    radSame.SetCaption("&Same Length");
    radSame.SetToolTipText("Display all variable region sequences in the file of length equal to the value shown.");
    cbxActVRSeq.SetToolTipText("Current possible variable region sequence.");
    txbxSpecies.multiLine = true;
    txbxSpecies.SetToolTipText("Taxa Box");
    txbxLength.SetToolTipText(
        "Default value is the length of the analyzed variable region sequence, enter a different value to analyze "
        "any other variable region sequence length");
    lblActSeqLine.fontName = "Courier New";
    lblActSeqLine.SetCaption("Put actual sequence here for comparison.");
    lblActSeqLine.SetToolTipText("Line currently selected in main menu (from the actual sequence being analyzed).");
    Label1.SetCaption("Variable Region Length:");
    lblRegionName.fontName = "Courier New";
    lblRegionName.SetCaption("Variable Region Analysis");
    lblRegionName.SetToolTipText("Name of region being analyzed.");
    OptionButton::Group({&radAll, &radDiff, &radShorter, &radLonger, &radSame});
    cbxActVRSeq.showItem = [this](int i) { return VariantShown(cbxActVRSeq.List(i)); };
    closeOnEscape = true;

    FormActivate.Connect([this] { Form_Activate(); });
    cbxActVRSeq.Click.Connect([this] { cbxActVRSeq_Click(); });
    cbxActVRSeq.DblClick.Connect([this] { cbxActVRSeq_DblClick(); });
    lstSeqs.Click.Connect([this] { lstSeqs_Click(); });
    lstSeqs.DblClick.Connect([this] { lstSeqs_DblClick(); });
    lstSeqs.GotFocus.Connect([this] { lstSeqs_GotFocus(); });
    lstSeqs.KeyUp.Connect([this](int k) { lstSeqs_KeyUp(k); });
    radSame.Click.Connect([this] { radSame_Click(); });
    radDiff.Click.Connect([this] { radDiff_Click(); });
    radShorter.Click.Connect([this] { radShorter_Click(); });
    radLonger.Click.Connect([this] { radLonger_Click(); });
    radAll.Click.Connect([this] { radAll_Click(); });
    txbxLength.KeyPress.Connect([this](int k) { txbxLength_KeyPress(k); });
    txbxLength.LostFocus.Connect([this] { txbxLength_LostFocus(); });
}

// ---------------------------------------------------------------- public operations

void FAnalyzeVRs::SetParameters(Integer inVRI, Integer inVRSel, Integer inComp) {
    vri = inVRI;
    analyzedVRFile = session_.vrFileName[st_.actTemplate][inVRI];
    vrSel = inVRSel;
    compMode = inComp;
    ComputePLengthFromParameters();
    InitializeCBXActVrSeq();
    UpdateWithParameters();
}

// The length compared with is the variant's; a region whose variant was not found is compared
// by the bases its line holds in the main window.
void FAnalyzeVRs::ComputePLengthFromParameters() {
    const std::string& v = st_.VRPoss[vri].poss[vrSel].varSeq;
    pLength = v == "<Deletion>" ? Integer(0) : Len(v);
    if (v.empty() && shownLine >= 1 && shownLine <= st_.numSSegments) {
        const SSegment& s = st_.SSegments[shownLine];
        if (s.startPos <= s.endPos) pLength = s.endPos - s.startPos + 1;
    }
}

void FAnalyzeVRs::UpdateWithParameters() {
    lblRegionName.SetCaption("Analyzing variable region \"" + analyzedVRFile + "\"");
    SetCompMode(compMode);
    txbxLength.SetText(Str(pLength));
    ParseVRFile();
    ComputeLSTSeqs();
}

void FAnalyzeVRs::InitializeCBXActVrSeq() {
    cbxActVRSeq.Clear();
    const VRPossSet& set = st_.VRPoss[vri];
    for (int p = 1; p <= set.numPoss; ++p) cbxActVRSeq.AddItem(set.poss[p].varSeq);
    cbxActVRSeq.SetListIndex(vrSel - 1);
}

void FAnalyzeVRs::ParseVRFile() {
    numEntries = 0;
    TextReader file;
    if (!OpenInputFile(st_, file, session_.vrFilePath, analyzedVRFile, "Varigap Variable Region File")) return;
    try {
        VREntryReader reader(file);
        VREntry entry;
        while (numEntries < MAXNUMVRFILEENTRIES && reader.Next(entry)) {
            ++numEntries;
            entrySeq[numEntries] = entry.rawBases;
            entryTaxa[numEntries] = entry.taxa;
        }
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
    file.Close();
}

bool FAnalyzeVRs::IsSeqShown(const std::string& bases) const { return varigap::IsSeqShown(bases, compMode, pLength); }

void FAnalyzeVRs::ComputeLSTSeqs() {
    try {
        lstSeqs.Clear();
        actLine = -1;
        for (int k = 1; k <= numEntries; ++k) {
            if (!IsSeqShown(entrySeq[k])) continue;
            for (const std::string& line : SplitVariantText(entrySeq[k])) {
                lineEntry[lstSeqs.ListCount() + 1] = k;  // more than 1023 lines: run-time error 9
                lstSeqs.AddItem(line);
            }
            std::string cleaned = entrySeq[k];
            StripNonBases(cleaned);
            const std::string& shown = cbxActVRSeq.Text();
            if ((shown == "<Deletion>" && cleaned.empty()) || shown == cleaned) actLine = lstSeqs.ListCount() - 1;
        }
        txbxSpecies.SetText("");
        if (lstSeqs.ListCount() >= 1) {
            UpdateTXBXSpecies();
            lstSeqs_SetLine();
            // Not while following the main window: the focus stays where the user works.
            if (Visible() && IsActive()) lstSeqs.SetFocus();
        }
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
}

void FAnalyzeVRs::lstSeqs_SetLine() {
    if (lstSeqs.ListCount() < 1) return;
    lstSeqs.SetListIndex((actLine >= 0 && actLine < lstSeqs.ListCount()) ? static_cast<int>(actLine) : 0);
}

void FAnalyzeVRs::SetCompMode(Integer mode) {
    OptionButton* buttons[] = {&radSame, &radDiff, &radShorter, &radLonger, &radAll};
    if (mode < 1 || mode > 5) {
        Assert(st_, false);
        return;
    }
    for (OptionButton* b : buttons) b->SetValue(false);
    buttons[mode - 1]->SetValue(true);
}

void FAnalyzeVRs::UpdateTXBXSpecies() { txbxSpecies.SetText(entryTaxa[lineEntry[lstSeqs.ListIndex() + 1]]); }

void FAnalyzeVRs::SetActSeqLine(const std::string& inActSeqLine) {
    actSeqLine = inActSeqLine;
    if (Visible()) ShowActSeqLine();
}

void FAnalyzeVRs::FollowLine(Integer line, Integer lineVRI, Integer lineVRSel, const std::string& lineText) {
    mainLine = line;
    if (lineVRI >= 1) {
        shownLine = line;
        if (Visible() && lineVRI != vri) SetParameters(lineVRI, lineVRSel, compMode);
        SetActSeqLine(lineText);
    } else if (Visible()) {
        ShowActSeqLine();
    }
}

// The line compared with is always the line of the region listed.
void FAnalyzeVRs::ShowActSeqLine() {
    std::string note;
    if (shownLine >= 1 && mainLine != shownLine)
        note = "\r\n(line " + Str(shownLine) + "; the main window now shows line " + Str(mainLine) +
               ", which is not one variable region)";
    lblActSeqLine.SetCaption(actSeqLine + note);
}

// ---------------------------------------------------------------- events

void FAnalyzeVRs::Form_Activate() {
    ShowActSeqLine();
    lstSeqs.SetFocus();
}

void FAnalyzeVRs::cbxActVRSeq_Click() {
    vrSel = cbxActVRSeq.ListIndex() + 1;
    ComputePLengthFromParameters();
    UpdateWithParameters();
}

void FAnalyzeVRs::cbxActVRSeq_DblClick() { cbxActVRSeq_Click(); }

void FAnalyzeVRs::lstSeqs_Click() { UpdateTXBXSpecies(); }
void FAnalyzeVRs::lstSeqs_DblClick() { UpdateTXBXSpecies(); }
void FAnalyzeVRs::lstSeqs_GotFocus() { UpdateTXBXSpecies(); }
void FAnalyzeVRs::lstSeqs_KeyUp(int) { UpdateTXBXSpecies(); }

void FAnalyzeVRs::radSame_Click() {
    compMode = 1;
    ComputeLSTSeqs();
}

void FAnalyzeVRs::radDiff_Click() {
    compMode = 2;
    ComputeLSTSeqs();
}

void FAnalyzeVRs::radShorter_Click() {
    compMode = 3;
    ComputeLSTSeqs();
}

void FAnalyzeVRs::radLonger_Click() {
    compMode = 4;
    ComputeLSTSeqs();
}

void FAnalyzeVRs::radAll_Click() {
    compMode = 5;
    ComputeLSTSeqs();
}

void FAnalyzeVRs::txbxLength_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) ApplyLengthBox();
}

void FAnalyzeVRs::txbxLength_LostFocus() { txbxLength.SetText(Str(pLength)); }

// A typed length: the number the text begins with, rounded halves to even. Negative lengths,
// and lengths beyond what the 16-bit length holds, are refused and the old one shown again.
void FAnalyzeVRs::ApplyLengthBox() {
    Integer old = pLength;
    double v = std::nearbyint(LeadingNumber(txbxLength.Text()));
    if (v >= 0 && v <= 32767) {
        pLength = static_cast<int>(v);
        if (pLength != old) ComputeLSTSeqs();
    } else {
        pLength = old;
        txbxLength.SetText(Str(old));
    }
}

}  // namespace varigap::ui
