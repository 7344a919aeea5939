// The message options dialog.
#include "ui/options_dialog.h"

#include "core/messages.h"
#include "settings/locations.h"
#include "settings/settings_files.h"
#include "ui/application.h"

namespace varigap::ui {

FVarigapOptions::FVarigapOptions(Application& app)
    : Window(app.desktop, "FVarigapOptions"), session_(app.session), st_(app.st) {
    SetCaption("Varigap Message Options");
    // Enter confirms; Escape leaves the options as the close box does.
    defaultButton = &butOkay;
    closeOnEscape = true;
    const char* tip = "Warning messages of this type will be displayed if the box is checked.";
    chkShowVRWarnings.SetCaption(
        "Inform when Varigap cannot find an exact match for a well-delimited (&non-confused) variable region.");
    chkShowVRWarnings.SetToolTipText(tip);
    chkShowRunTimeErrors.SetCaption("Inform when Varigap commits a run-time &error.");
    chkShowRunTimeErrors.SetToolTipText(tip);
    chkShowAssertFailures.SetCaption("Inform when Varigap commits an internal &logic error.");
    chkShowAssertFailures.SetToolTipText(tip);
    butOkay.SetCaption("&OK");
    butOkay.SetToolTipText("Confirm these choices and close window.");
    butSave.SetCaption("&Save");
    butSave.SetToolTipText("Confirm these settings and save them as the default settings.");

    FormLoad.Connect([this] { Form_Load(); });
    FormActivate.Connect([this] { Form_Activate(); });
    butOkay.Click.Connect([this] { butOkay_Click(); });
    butSave.Click.Connect([this] { butSave_Click(); });
}

bool FVarigapOptions::CheckToBool(int value) {
    Assert(st_, value == 1 || value == 0);
    return value != 0;
}

void FVarigapOptions::OptionsToChecks() {
    chkShowVRWarnings.SetValue(BoolToCheck(session_.showVRWarnings));
    chkShowRunTimeErrors.SetValue(BoolToCheck(session_.showRunTimeErrors));
    chkShowAssertFailures.SetValue(BoolToCheck(session_.showAssertFailures));
}

void FVarigapOptions::ChecksToOptions() {
    session_.showVRWarnings = CheckToBool(chkShowVRWarnings.Value());
    session_.showRunTimeErrors = CheckToBool(chkShowRunTimeErrors.Value());
    session_.showAssertFailures = CheckToBool(chkShowAssertFailures.Value());
}

void FVarigapOptions::Form_Load() { Form_Activate(); }
void FVarigapOptions::Form_Activate() {
    OptionsToChecks();
    lblSettingsFile.SetCaption(SettingsPlaceText(session_, kOptionsFileName));
}

void FVarigapOptions::butOkay_Click() {
    ChecksToOptions();
    Hide();
}

void FVarigapOptions::butSave_Click() {
    try {
        ChecksToOptions();
        SaveOptions(session_);
        butOkay_Click();
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
}

}  // namespace varigap::ui
