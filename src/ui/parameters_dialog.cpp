// The Parameters dialog.
#include "ui/parameters_dialog.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "core/messages.h"
#include "core/strings.h"
#include "engine/analysis.h"
#include "engine/lpam.h"
#include "engine/ranking.h"
#include "settings/locations.h"
#include "settings/settings_files.h"
#include "ui/application.h"
#include "ui/main_menu.h"

namespace varigap::ui {

double BoxNumber(const std::string& text) {
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) RaiseError(kErrTypeMismatch);
    std::string s = text.substr(b, e - b + 1);
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) RaiseError(kErrTypeMismatch);
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
        if (expDigits == 0) RaiseError(kErrTypeMismatch);
    }
    if (i != s.size()) RaiseError(kErrTypeMismatch);
    double v = std::strtod(s.c_str(), nullptr);
    if (!std::isfinite(v)) RaiseError(kErrOverflow);
    return v;
}

FVarigapParameters::FVarigapParameters(Application& app)
    : Window(app.desktop, "FVarigapParameters"), app_(app), session_(app.session), st_(app.st) {
    SetCaption("Set Varigap Parameters");
    // Enter accepts the entries, Escape drops them.
    defaultButton = &butOk;
    cancelButton = &butCancel;
    Label1.SetCaption("Word Length");
    Label1.SetToolTipText(
        "LPAM tries to align groups of consecutive bases of this length. Conserved regions shorter than this length "
        "will not be found if they do not match the template exactly.");
    txbxWordLength.SetToolTipText("Word Length: originial default value 6.");
    Label5.SetCaption("Standard Acceptance Percentage");
    Label5.SetToolTipText(
        "The percentage of bases in the analyzed sequence's aligned conserved region which must match the template "
        "in order for LPAM to accept it as a legitimate match.");
    txbxStdAcceptancePct.SetToolTipText("Standard Acceptance Percentage: original default value 75.");
    Label2.SetCaption("Minimum Acceptance Percentage");
    Label2.SetToolTipText(
        "Bases in a truncated conserved region (at the beginning or end of the analyzed sequence) must match at least "
        "this percentage of the corresponding region in the template.");
    txbxMinAcceptancePct.SetToolTipText("Minimum Acceptance Percentage: original default value 10.");
    Label3.SetCaption("Allowable Length Variation");
    Label3.SetToolTipText(
        "The amount by which the length of a conserved region in the analyzed sequence is allowed to differ from the "
        "length of the corresponding region in the template.");
    txbxLengthVariation.SetToolTipText("Allowable Length Variation: original default value 2");
    Label4.SetCaption("Minimum Analyzed Length");
    Label4.SetToolTipText("Conserved regions shorter than this length will not be matched by LPAM.");
    txbxMinCRLength.SetToolTipText("Minimum Analyzed Length: original default value 0.");
    Label6.SetCaption("Base Count Tolerance");
    Label6.SetToolTipText(
        "Two templates have roughly the same number of matched bases if the values differ by this number or less.");
    txbxBaseCountTolerance.SetToolTipText("Base Count Tolerance: original default value 3.");
    butOk.SetCaption("&OK");
    butOk.SetToolTipText("Accept the displayed parameters.");
    butCancel.SetCaption("&Cancel");
    butCancel.SetToolTipText("Close this window and ignore any changes made to the parameter values.");
    butReset.SetCaption("&Reset");
    butReset.SetToolTipText("Reset parameters to the saved default settings.");
    butSave.SetCaption("&Save");
    butSave.SetToolTipText("Save these parameters as the new default settings.");

    FormLoad.Connect([this] { Form_Load(); });
    FormActivate.Connect([this] { Form_Activate(); });
    FormUnload.Connect([this](bool& cancel) { Form_Unload(cancel); });
    butOk.Click.Connect([this] { butOk_Click(); });
    butCancel.Click.Connect([this] { butCancel_Click(); });
    butReset.Click.Connect([this] { butReset_Click(); });
    butSave.Click.Connect([this] { butSave_Click(); });
}

// ---------------------------------------------------------------- procedures

void FVarigapParameters::FetchLPAMValues() {
    GetLPAMParameters(session_, valLengthVariation, valWordLength, valStdAcceptancePct, valMinAcceptancePct,
                      valMinCRLength);
}

void FVarigapParameters::FetchTolerance() { GetBaseCountTolerance(session_, valBaseCountTolerance); }

void FVarigapParameters::ApplyLPAMValues() {
    SetLPAMParameters(session_, valLengthVariation, valWordLength, valStdAcceptancePct, valMinAcceptancePct,
                      valMinCRLength);
}

void FVarigapParameters::ApplyTolerance() { SetBaseCountTolerance(session_, valBaseCountTolerance); }

void FVarigapParameters::ShowValues() {
    txbxLengthVariation.SetText(Str(valLengthVariation));
    txbxWordLength.SetText(Str(valWordLength));
    txbxStdAcceptancePct.SetText(Str(valStdAcceptancePct));
    txbxMinAcceptancePct.SetText(Str(valMinAcceptancePct));
    txbxMinCRLength.SetText(Str(valMinCRLength));
    txbxBaseCountTolerance.SetText(Str(valBaseCountTolerance));
}

namespace {

// A box whose text is no usable value: the message names the box and what was typed.
struct EntryError : std::runtime_error {
    EntryError(TextBox& box, const std::string& text) : std::runtime_error(text), box(box) {}
    TextBox& box;
};

// The box's number, whole and in the 16-bit range; `label` names the box in the message.
double CheckedBoxNumber(TextBox& box, const Label& label) {
    const std::string what = label.Caption() + ": \"" + box.Text() + "\" ";
    double v = 0;
    try {
        v = BoxNumber(box.Text());
        RoundToInteger(v);
    } catch (const RunTimeError& e) {
        if (box.Text().find_first_not_of(" \t") == std::string::npos)
            throw EntryError(box, label.Caption() + " is empty. Type a whole number.");
        if (e.Number() == kErrTypeMismatch) throw EntryError(box, what + "is not a number. Type a whole number.");
        throw EntryError(box, what + "is too large: the largest value this box takes is 32767.");
    }
    return v;
}

void ClampBox(TextBox& box, const Label& label, double low, double high) {
    double v = CheckedBoxNumber(box, label);
    if (v < low) box.SetText(Str(static_cast<long long>(low)));
    else if (v > high) box.SetText(Str(static_cast<long long>(high)));
}

}  // namespace

void FVarigapParameters::ClampValues() {
    constexpr double kNone = HUGE_VAL;
    ClampBox(txbxLengthVariation, Label3, 0, kNone);
    ClampBox(txbxWordLength, Label1, 1, kNone);
    ClampBox(txbxStdAcceptancePct, Label5, 0, 100);
    ClampBox(txbxMinAcceptancePct, Label2, 0, 100);
    ClampBox(txbxMinCRLength, Label4, 0, kNone);
    ClampBox(txbxBaseCountTolerance, Label6, 0, kNone);
}

// All six boxes are read before any field changes, so a box that cannot be read leaves
// every field as it was.
void FVarigapParameters::ReadValues() {
    ClampValues();
    Integer lengthVariation = RoundToInteger(CheckedBoxNumber(txbxLengthVariation, Label3));
    Integer wordLength = RoundToInteger(CheckedBoxNumber(txbxWordLength, Label1));
    Integer stdPct = RoundToInteger(CheckedBoxNumber(txbxStdAcceptancePct, Label5));
    Integer minPct = RoundToInteger(CheckedBoxNumber(txbxMinAcceptancePct, Label2));
    Integer minCRLength = RoundToInteger(CheckedBoxNumber(txbxMinCRLength, Label4));
    Integer tolerance = RoundToInteger(CheckedBoxNumber(txbxBaseCountTolerance, Label6));
    valLengthVariation = lengthVariation;
    valWordLength = wordLength;
    valStdAcceptancePct = stdPct;
    valMinAcceptancePct = minPct;
    valMinCRLength = minCRLength;
    valBaseCountTolerance = tolerance;
}

void FVarigapParameters::StoreAsDefaults() {
    session_.maxLengthVariation = valLengthVariation;
    session_.wordLength = valWordLength;
    session_.stdAcceptancePct = ToSingle(valStdAcceptancePct);
    session_.minAcceptancePct = ToSingle(valMinAcceptancePct);
    session_.minCRLength = valMinCRLength;
    session_.baseCountTolerance = valBaseCountTolerance;
}

void FVarigapParameters::UnloadProcedure() {
    ApplyLPAMValues();
    ApplyTolerance();
    Hide();
}

// ---------------------------------------------------------------- events

void FVarigapParameters::Form_Load() { Form_Activate(); }

void FVarigapParameters::Form_Activate() {
    FetchLPAMValues();
    FetchTolerance();
    ShowValues();
    lblSettingsFile.SetCaption(SettingsPlaceText(session_, kParamsFileName));
}

// The close box applies the fields and hides the window, which stays loaded.
void FVarigapParameters::Form_Unload(bool& cancel) {
    UnloadProcedure();
    cancel = true;
}

// A box that is not a number, or a number beyond the 16-bit range, is reported as Save
// reports it; the dialog stays open and nothing is applied.
void FVarigapParameters::butOk_Click() {
    try {
        ReadValues();
    } catch (const EntryError& e) {
        ReportEntryError(e.what(), e.box);
        return;
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
        return;
    }
    // Words this short occur in so many places of a sequence that the aligner's vote table runs
    // full: the analyses would say so for nearly every sequence.
    if (valWordLength >= 1 && valWordLength <= kShortestSafeWordLength - 1)
        MsgBox(st_,
               "Word length " + Str(valWordLength) +
                   " is short: its words occur in so many places of a sequence that the conserved "
                   "regions may be placed incompletely (each analysis will say so). A word length of " +
                   Str(kShortestSafeWordLength) + " or more avoids it.",
               "Varigap Parameters", MsgIcon::Exclamation);
    OkSteps();
}

// Said whatever the run-time error option: the user typed it and can mend it in the box.
void FVarigapParameters::ReportEntryError(const std::string& text, TextBox& box) {
    MsgBox(st_, text, "Varigap Parameters", MsgIcon::Exclamation);
    box.SetFocus();
}

void FVarigapParameters::OkSteps() {
    ApplyLPAMValues();
    ApplyTolerance();
    app_.MainMenu().SetRefindTemplate();
    UnloadProcedure();
}

void FVarigapParameters::butCancel_Click() {
    FetchLPAMValues();
    FetchTolerance();
    UnloadProcedure();
}

void FVarigapParameters::butReset_Click() {
    valLengthVariation = session_.maxLengthVariation;
    valWordLength = session_.wordLength;
    valStdAcceptancePct = RoundToInteger(session_.stdAcceptancePct);
    valMinAcceptancePct = RoundToInteger(session_.minAcceptancePct);
    valMinCRLength = session_.minCRLength;
    valBaseCountTolerance = session_.baseCountTolerance;
    ShowValues();
}

void FVarigapParameters::butSave_Click() {
    try {
        ReadValues();
        StoreAsDefaults();
        SaveParameters(session_);
        butReset_Click();
        butOk_Click();
    } catch (const EntryError& e) {
        ReportEntryError(e.what(), e.box);
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
}

}  // namespace varigap::ui
