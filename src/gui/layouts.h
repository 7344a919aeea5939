// Where the widgets of each window go. The windows' logic fixes their controls, captions and
// tool tips; the arrangement on the screen is the desktop program's. Each layout takes the
// window's controls by member, so a control renamed in the logic is a compile error here.
#pragma once

#include "core/state.h"
#include "gui/control_views.h"

class QWidget;

namespace varigap::ui {
class FAnalyzeAll;
class FAnalyzeVRs;
class FHelp;
class FLoadSequence;
class FLoadTemplate;
class FVarigapMainMenu;
class FVarigapOptions;
class FVarigapParameters;
class FWriteOutputFile;
}  // namespace varigap::ui

namespace varigap::gui {

class WindowView;

// The top-level widget of a window: a main window with a menu bar when `mainWindow` is null,
// else a secondary window belonging to `mainWindow`.
QWidget* MakeTopLevel(QWidget* mainWindow);

// What the layout of a window asks of some of its controls' widgets (nothing, for most).
WindowHints HintsFor(const ui::Window& window);
WindowHints HintsFor(const ui::FVarigapMainMenu& window);
WindowHints HintsFor(const ui::FAnalyzeVRs& window);
WindowHints HintsFor(const ui::FWriteOutputFile& window);

// Arranges the widgets of `view`, the view of the window passed with it. The main window also
// gets the picture of the analysis, drawn from `st`. Controls a layout does not take are added
// at the bottom; a window without a layout of its own has them all one under the other.
// The size a window that wants `wanted` opens with on a screen whose free area is `available`:
// cut so that the window and its frame fit (a laptop's 1366x768 screen, say).
QSize OpeningSize(QSize wanted, const QRect& available);

void LayOut(WindowView& view, ui::FVarigapMainMenu& window, const State& st);
void LayOut(WindowView& view, ui::FAnalyzeVRs& window);
void LayOut(WindowView& view, ui::FHelp& window);
void LayOut(WindowView& view, ui::FLoadTemplate& window);
void LayOut(WindowView& view, ui::FLoadSequence& window);
void LayOut(WindowView& view, ui::FWriteOutputFile& window);
void LayOut(WindowView& view, ui::FVarigapParameters& window);
void LayOut(WindowView& view, ui::FVarigapOptions& window);
void LayOut(WindowView& view, ui::FAnalyzeAll& window);  // analyze_all_layout.cpp
void LayOut(WindowView& view);

}  // namespace varigap::gui
