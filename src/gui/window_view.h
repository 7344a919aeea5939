// The view of one window of the logic: a top-level Qt window with a widget for each of its
// controls, kept in step with the window's caption, visibility, activation, focus and mouse
// pointer. Closing it or switching to it goes to the logic, which decides.
#pragma once

#include <QObject>
#include <map>
#include <vector>

#include "gui/control_views.h"
#include "ui/controls.h"

class QAction;
class QMenu;
class QWidget;

namespace varigap::gui {

class WindowView : public QObject {
    Q_OBJECT
public:
    // Creates the view of every control of `window` under `topLevel` (a QMainWindow gets the
    // menus in its menu bar). `hints` are for the controls whose widgets need more than the
    // default. The view belongs to the top-level widget; `context` outlives it.
    WindowView(ui::Window& window, QWidget* topLevel, ViewContext& context, const WindowHints& hints = {});
    ~WindowView() override;

    ui::Window& Model() const { return window_; }
    QWidget* TopLevel() const { return top_; }
    // The view and widget of a control of the window (null for a control of another window).
    ControlView* View(const ui::Control& control) const;
    QWidget* Widget(const ui::Control& control) const;
    template <class W>
    W* WidgetAs(const ui::Control& control) const {
        return qobject_cast<W*>(Widget(control));
    }
    QAction* Action(const ui::MenuItem& item) const;
    // The widget of a control for a layout, marked as placed (null when there is none).
    QWidget* Take(const ui::Control& control) const;
    // The control widgets no layout has taken.
    std::vector<QWidget*> Unplaced() const;

    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void AddMenuItems(QMenu* menu, ui::MenuItem* parent);
    void QtActivated();

    ui::Window& window_;
    QWidget* top_;
    ViewContext& context_;
    std::vector<ControlView*> views_;
    std::map<const ui::MenuItem*, QAction*> actions_;
    int subscription_ = 0;
    bool busyCursor_ = false;
};

}  // namespace varigap::gui
