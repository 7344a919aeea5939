// The Parameters dialog: views and changes the working values of the aligner and the ranking,
// and saves them as the defaults.
#pragma once

#include <string>

#include "core/state.h"
#include "ui/controls.h"

namespace varigap::ui {

class Application;

class FVarigapParameters : public Window {
public:
    explicit FVarigapParameters(Application& app);

    // ---- controls
    Label Label1{*this, "Label1"};
    TextBox txbxWordLength{*this, "txbxWordLength"};
    Label Label5{*this, "Label5"};
    TextBox txbxStdAcceptancePct{*this, "txbxStdAcceptancePct"};
    Label Label2{*this, "Label2"};
    TextBox txbxMinAcceptancePct{*this, "txbxMinAcceptancePct"};
    Label Label3{*this, "Label3"};
    TextBox txbxLengthVariation{*this, "txbxLengthVariation"};
    Label Label4{*this, "Label4"};
    TextBox txbxMinCRLength{*this, "txbxMinCRLength"};
    Label Label6{*this, "Label6"};
    TextBox txbxBaseCountTolerance{*this, "txbxBaseCountTolerance"};
    CommandButton butOk{*this, "butOk"};
    CommandButton butCancel{*this, "butCancel"};
    CommandButton butReset{*this, "butReset"};
    CommandButton butSave{*this, "butSave"};
    Label lblSettingsFile{*this, "lblSettingsFile"};  // where the settings were read from

    // ---- procedures
    void FetchLPAMValues();
    void FetchTolerance();
    void ApplyLPAMValues();
    void ApplyTolerance();
    void ShowValues();
    void ClampValues();
    void ReadValues();
    void StoreAsDefaults();

    // ---- event handlers
    void Form_Load();
    void Form_Activate();
    void Form_Unload(bool& cancel);
    void butOk_Click();
    void butCancel_Click();
    void butReset_Click();
    void butSave_Click();

private:
    void UnloadProcedure();
    void ReportEntryError(const std::string& text, TextBox& box);
    void OkSteps();

    Application& app_;
    Session& session_;
    State& st_;
    Integer valLengthVariation;
    Integer valWordLength;
    Integer valStdAcceptancePct;
    Integer valMinAcceptancePct;
    Integer valMinCRLength;
    Integer valBaseCountTolerance;
};

// The number a box holds, as the dialog converts it: blanks around it are allowed, then an
// optional sign, digits with an optional decimal point, an optional exponent. Anything else
// (an empty box too) is run-time error 13, a number beyond floating-point range error 6.
double BoxNumber(const std::string& text);

}  // namespace varigap::ui
