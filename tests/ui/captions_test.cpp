// Every window's caption, and each control's caption, tool tip, font and visibility as the window
// opens: one table per window in golden/captions.txt.
#include "support/golden.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

std::string CaptionOf(const Control& c) {
    if (auto* l = dynamic_cast<const Label*>(&c)) return l->Caption();
    if (auto* b = dynamic_cast<const CommandButton*>(&c)) return b->Caption();
    if (auto* k = dynamic_cast<const CheckBox*>(&c)) return k->Caption();
    if (auto* o = dynamic_cast<const OptionButton*>(&c)) return o->Caption();
    if (auto* m = dynamic_cast<const MenuItem*>(&c))
        return m->Caption() + (m->ParentMenu() ? " (menu " + m->ParentMenu()->Name() + ")" : "");
    return "";
}

TEST_F(UiTest, EveryWindowShowsItsCaptionsAndToolTips) {
    StartProgram();
    std::string table;
    for (Window* w : std::vector<Window*>{&Main(), &app->LoadTemplate(), &app->LoadSequence(), &app->Parameters(),
                                          &app->Options(), &app->AnalyzeVRs(), &app->Help(), &app->WriteOutput()}) {
        w->Load();
        table += "== " + w->Name() + ": " + w->Caption() + "\n";
        for (const Control* c : w->Controls())
            table += c->Name() + "\t" + CaptionOf(*c) + "\t" + c->ToolTipText() +
                     (c->fontName.empty() ? "" : "\tfont " + c->fontName) + (c->Visible() ? "" : "\thidden") + "\n";
    }
    for (std::string m : msgs.Texts()) table += "message: " + m + "\n";
    for (size_t at; (at = table.find(prog.Path())) != std::string::npos;) table.replace(at, prog.Path().size(), "PROG");
    varigap::test::ExpectGolden("tests/ui/golden/captions.txt", table);
}

}  // namespace
}  // namespace varigap::ui::test
