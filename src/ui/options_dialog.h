// The message options dialog: three check boxes for the three kinds of messages.
#pragma once

#include "core/state.h"
#include "ui/controls.h"

namespace varigap::ui {

class Application;

class FVarigapOptions : public Window {
public:
    explicit FVarigapOptions(Application& app);

    // ---- controls
    CheckBox chkShowVRWarnings{*this, "chkShowVRWarnings"};
    CheckBox chkShowRunTimeErrors{*this, "chkShowRunTimeErrors"};
    CheckBox chkShowAssertFailures{*this, "chkShowAssertFailures"};
    CommandButton butOkay{*this, "butOkay"};
    CommandButton butSave{*this, "butSave"};
    Label lblSettingsFile{*this, "lblSettingsFile"};  // where the settings were read from

    // ---- operations
    static int BoolToCheck(bool b) { return b ? 1 : 0; }
    bool CheckToBool(int value);
    void OptionsToChecks();
    void ChecksToOptions();

    // ---- event handlers
    void Form_Load();
    void Form_Activate();
    void butOkay_Click();
    void butSave_Click();

private:
    Session& session_;
    State& st_;
};

}  // namespace varigap::ui
