// Pictures of the windows.
#include "gui/screenshots.h"

#include <QApplication>
#include <QPixmap>
#include <filesystem>
#include <iostream>

#include "gui/analysis_strip.h"
#include "gui/fonts.h"
#include "gui/picture_export.h"
#include "gui/program.h"
#include "gui/window_view.h"
#include "output/display_lines.h"
#include "ui/analyze_all.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace varigap::gui {

namespace {

// Lets Qt lay out and paint what the logic did.
void Settle() {
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

// The list line of the first variable region with a choice of variants (else of the first
// variable region, else the first line).
int InterestingLine(const State& st) {
    int line = 0, firstVariable = -1;
    for (int n = 1; n <= st.numSSegments; ++n) {
        const SSegment& s = st.SSegments[n];
        if (!IsValidPos(s.startPos) || !IsValidPos(s.endPos)) continue;
        if (KindOf(s) == LineKind::Variable && s.endPos >= s.startPos) {
            if (firstVariable < 0) firstVariable = line;
            if (s.region >= 1 && st.VRPoss[s.region].numPoss >= 2) return line;
        }
        ++line;
    }
    return firstVariable >= 0 ? firstVariable : 0;
}

}  // namespace

void AnswerUnattended(Program& program) {
    program.Messages().answerer = [](const Message& m) {
        std::cerr << m.title << ": " << m.text << "\n";
        return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    };
}

std::vector<std::string> TakeScreenshots(Program& program, const std::string& directory, std::string& problem) {
    std::vector<std::string> written;
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    ui::Application& app = program.App();
    AnswerUnattended(program);
    auto shoot = [&](const ui::Window& window, const std::string& file) {
        Settle();
        WindowView* v = program.View(window);
        if (!v || !v->TopLevel()->isVisible()) {
            problem += "The window " + window.Name() + " is not shown. ";
            return;
        }
        std::string path = (std::filesystem::path(directory) / file).string();
        if (v->TopLevel()->grab().save(ToQt(path), "PNG")) {
            written.push_back(path);
        } else {
            problem += "Cannot write " + path + ". ";
        }
    };

    ui::FVarigapMainMenu& main = app.MainMenu();
    main.butFindTemplate.UserClick();
    if (main.lstSeq.ListCount() > 0) main.lstSeq.UserClickItem(InterestingLine(app.st));
    shoot(main, "main-window.png");
    // Files > Export Picture, as written; then the strip zoomed in to its bases.
    {
        QStringList lines;
        for (const std::string& l : main.lstSeq.Items()) lines << ToQt(l);
        const std::string path = (std::filesystem::path(directory) / "analysis-picture.png").string();
        QString error;
        if (ExportPicture(*program.Strip(), lines, ToQt(path), error)) written.push_back(path);
        else problem += FromQt(error) + " ";
    }
    AnalysisStrip* strip = program.Strip();
    if (strip && strip->SequenceLength() > 100) {
        const int line = main.lstSeq.ListIndex();
        const double at =
            line >= 0 && line < static_cast<int>(strip->Blocks().size()) ? strip->Blocks()[line].startPos : 1;
        strip->ZoomBy(strip->SequenceLength() / 100.0, at);
        shoot(main, "strip-bases.png");
        strip->ZoomBy(1 / strip->Zoom(), 1);
    }

    if (main.butIndelSame.Visible()) {
        main.butIndelSame.UserClick();
        shoot(app.AnalyzeVRs(), "variable-region-analysis.png");
        app.AnalyzeVRs().Hide();
    }
    main.menuLPAM.UserClick();
    shoot(app.Parameters(), "parameters.png");
    app.Parameters().butCancel.UserClick();

    main.menuOptions.UserClick();
    shoot(app.Options(), "options.png");
    app.Options().Hide();
    main.menuLoadTemplate.UserClick();
    shoot(app.LoadTemplate(), "load-template.png");
    app.LoadTemplate().Hide();
    main.menuWriteOutputFile.UserClick();
    shoot(app.WriteOutput(), "write-output-file.png");
    app.WriteOutput().Hide();
    main.butHelp.UserClick();
    shoot(app.Help(), "help.png");
    app.Help().Hide();
    // The whole file analysed, on the strand each read matches better, its table by template.
    main.cbxOrient.UserSelect(2);
    main.menuAnalyzeAll.UserClick();
    ui::FAnalyzeAll& all = app.AnalyzeAll();
    all.butStart.UserClick();
    all.Finish();
    if (all.grdResults.Rows().size() > 2) all.grdResults.UserSelect({1, 2});
    shoot(all, "analyze-all.png");
    all.Hide();
    Settle();
    return written;
}

}  // namespace varigap::gui
