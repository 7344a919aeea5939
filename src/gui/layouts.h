// Where the widgets of each window go. The windows' logic fixes their controls, captions and
// tool tips; the arrangement on the screen is the desktop program's.
#pragma once

#include <map>
#include <string>

#include "core/state.h"
#include "gui/control_views.h"

class QWidget;

namespace varigap::gui {

class WindowView;

// The top-level widget of a window: a main window with a menu bar for the main window,
// a secondary window (belonging to `mainWindow`) for every other.
QWidget* MakeTopLevel(const std::string& windowName, QWidget* mainWindow);
// What the layout of a window asks of some of its controls' widgets.
std::map<std::string, WidgetHints> HintsFor(const std::string& windowName);
// Arranges the widgets of a window. The main window also gets the picture of the analysis,
// drawn from `st`. Controls a layout does not know are added at the bottom.
void LayOut(WindowView& view, const State& st);

}  // namespace varigap::gui
