// The view of one window of the logic: a top-level Qt window with a widget for each of its
// controls, kept in step with the window's caption, visibility, activation, focus and mouse
// pointer. Closing it or switching to it goes to the logic, which decides.
#pragma once

#include <QObject>
#include <map>
#include <string>
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
    // menus in its menu bar). `hints` names the controls whose widgets need more than the
    // default. The view belongs to the top-level widget.
    WindowView(ui::Window& window, QWidget* topLevel, const std::map<std::string, WidgetHints>& hints = {});
    ~WindowView() override;

    ui::Window& Model() const { return window_; }
    QWidget* TopLevel() const { return top_; }
    // The view and widget of a control by its name (and index, in a control array).
    ControlView* View(const std::string& name, int index = -1) const;
    QWidget* Widget(const std::string& name, int index = -1) const;
    template <class W>
    W* WidgetAs(const std::string& name, int index = -1) const {
        return qobject_cast<W*>(Widget(name, index));
    }
    QAction* Action(const std::string& menuName) const;
    // The control views in the order of the window's controls (menu items left out).
    const std::vector<ControlView*>& Views() const { return views_; }
    // The widget of a control for a layout, marked as placed (null when there is none).
    QWidget* Take(const std::string& name, int index = -1) const;
    // The control widgets no layout has taken.
    std::vector<QWidget*> Unplaced() const;

    void Refresh();

    // Once the program has ended, closing a Qt window no longer goes to the logic.
    static void SetProgramEnded(bool ended) { programEnded_ = ended; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void AddMenuItems(QMenu* menu, ui::MenuItem* parent);
    void QtActivated();

    ui::Window& window_;
    QWidget* top_;
    std::vector<ControlView*> views_;
    std::map<std::string, QAction*> actions_;
    int subscription_ = 0;
    bool busyCursor_ = false;

    // The window whose activation was asked of Qt and not yet confirmed, and the last one asked.
    static inline WindowView* pendingActivation_ = nullptr;
    static inline WindowView* lastRequested_ = nullptr;
    static inline bool programEnded_ = false;
};

}  // namespace varigap::gui
