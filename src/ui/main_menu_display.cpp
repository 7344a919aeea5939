// The analysis display of the main window: one list line per display line, and what the
// selected line is.
#include "core/messages.h"
#include "core/strings.h"
#include "output/display_lines.h"
#include "ui/analyze_vrs.h"
#include "ui/application.h"
#include "ui/base_ruler.h"
#include "ui/main_menu.h"

namespace varigap::ui {

void FVarigapMainMenu::ComputeLSTSeq() {
    try {
        int prevEnd = 0;
        for (int n = 1; n <= st_.numSSegments; ++n) {
            const SSegment& s = st_.SSegments[n];
            std::string text;
            if (DisplayLineText(st_, n, text)) lstSeq.AddItem(text);
            Assert(st_, s.startPos == prevEnd + 1);
            prevEnd = s.endPos;
        }
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
}

void FVarigapMainMenu::lstSeq_ShowLineInfo() {
    try {
        int k = lstSeq.ListIndex() + 1;
        if (k < 1 || k > st_.numSSegments) {
            actVRName.clear();
            actVRVariant.clear();
            HideVRButtons();
            SetLSTSeqToolTip("");
            return;
        }
        const SSegment s = st_.SSegments[k];

        std::string currentLine;
        if (s.startPos <= s.endPos) {
            int len = s.endPos - s.startPos + 1;
            lblSeqInfo.SetCaption(Str(len) + " bases: " + Str(s.startPos) + " - " + Str(s.endPos));
            if (s.startPos >= 1 && s.endPos <= static_cast<int>(st_.actSeq.size()))
                txbxRuler.SetText(BaseRuler(
                    s.startPos, st_.actSeq.substr(static_cast<size_t>(s.startPos - 1), static_cast<size_t>(len))));
            currentLine = "Current Line -- " + Str(len) + " bases: " + lstSeq.List(lstSeq.ListIndex());
        } else {
            Assert(st_, s.endPos + 1 == s.startPos);
            Assert(st_, st_.SSegments[k - 1].endPos == s.endPos);
            lblSeqInfo.SetCaption("No bases");
            txbxRuler.SetText("");
            currentLine = "Current Line: <No bases>";
        }
        LineKind kind = KindOf(s);
        // The Variable Region Analysis window follows the variable regions of the lines shown.
        bool oneVR = kind == LineKind::Variable && s.region >= 1 && s.region <= st_.session.numVRs[st_.actTemplate];
        app_.AnalyzeVRs().FollowLine(k, oneVR ? s.region : Integer(0),
                                     oneVR ? st_.VRPoss[s.region].selPoss : Integer(0), currentLine);
        if (kind == LineKind::Variable) {
            Assert(st_, s.region != -1);
            ShowVRButtons();
            actVRI = s.region;
            cbxVRPoss.Clear();
            if (s.region < 1 || s.region > st_.session.numVRs[st_.actTemplate]) {
                Assert(st_, false);
                return;
            }
            const VRPossSet& set = st_.VRPoss[s.region];
            if (set.numPoss < 2) {
                cbxVRPoss.SetVisible(false);
            } else {
                for (int p = 1; p <= set.numPoss; ++p) cbxVRPoss.AddItem(set.poss[p].varSeq);
                cbxVRPoss.SetListIndex(set.selPoss - 1);
                cbxVRPoss.SetVisible(true);
            }
            ShowVRPossibility(s.region, st_.VRPoss[s.region].selPoss);
            return;
        }

        HideVRButtons();
        cbxVRPoss.SetVisible(false);
        actVRName.clear();
        actVRVariant.clear();
        if (kind == LineKind::Conserved) {
            lblRegionInfo.SetCaption("Conserved Region: " + st_.session.crText[st_.actTemplate][s.region]);
            txbxRegionInfo.SetText("Template: " + st_.session.templateName[st_.actTemplate]);
            return;
        }
        lblRegionInfo.SetCaption("Confused Region: " + Str(s.nCRs) + " Conserved Regions and " + Str(s.nVRs) +
                                 " Variable Regions.");
        std::string taxa;
        txbxRegionInfo.SetText(taxa);
        for (int i = 0; i <= s.nCRs + s.nVRs - 1; ++i) {
            int r = s.region + i;
            if (r < 1 || r > MAXNUMREGIONS) {
                Assert(st_, false);
                taxa += " Error.";
                txbxRegionInfo.SetText(taxa);
                return;
            }
            const SRegion& region = st_.SRegions[r];
            taxa += (region.isCR ? st_.session.crText[st_.actTemplate][region.num]
                                 : st_.session.vrFileName[st_.actTemplate][region.num]) +
                    "\r\n";
            txbxRegionInfo.SetText(taxa);
        }
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
}

void FVarigapMainMenu::ShowVRPossibility(Integer vr, Integer sel) {
    actVRSel = sel;
    actVRName = st_.session.vrFileName[st_.actTemplate][vr];
    actVRVariant = st_.VRPoss[vr].poss[sel].varSeq;
    lblRegionInfo.SetCaption("Variable Region: " + actVRName + " -- " +
                             (actVRVariant.empty() ? std::string("NOT FOUND") : actVRVariant));
    txbxRegionInfo.SetText(st_.VRPoss[vr].poss[sel].taxa);
}

void FVarigapMainMenu::ShowVRButtons() {
    butIndelSame.SetVisible(true);
    butIndelDiff.SetVisible(true);
    butSelectVRPoss.SetVisible(true);
}

void FVarigapMainMenu::HideVRButtons() {
    butIndelSame.SetVisible(false);
    butIndelDiff.SetVisible(false);
    butSelectVRPoss.SetVisible(false);
}

void FVarigapMainMenu::SetLSTSeqToolTip(const std::string& text) {
    lstSeq.SetToolTipText(text.empty() ? "Analyzed Sequence Box: actual bases from sequence being analyzed" : text);
}

}  // namespace varigap::ui
