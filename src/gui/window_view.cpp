// Views of the windows.
#include "gui/window_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "gui/fonts.h"

namespace varigap::gui {

namespace {

constexpr const char* kPlacedProperty = "varigapPlaced";

}  // namespace

WindowView::WindowView(ui::Window& window, QWidget* topLevel, ViewContext& context, const WindowHints& hints)
    : window_(window), top_(topLevel), context_(context) {
    setParent(top_);
    top_->setObjectName(ToQt(window_.Name()));
    for (ui::Control* c : window_.Controls()) {
        if (dynamic_cast<ui::MenuItem*>(c)) continue;
        auto hint = hints.find(c);
        ControlView* v = CreateControlView(*c, top_, context_, hint == hints.end() ? WidgetHints{} : hint->second);
        if (v) views_.push_back(v);
    }
    BuildMenus();
    top_->installEventFilter(this);
    subscription_ = window_.Subscribe([this] { Refresh(); });
    Refresh();
}

WindowView::~WindowView() {
    window_.Unsubscribe(subscription_);
    if (context_.pendingActivation == this) context_.pendingActivation = nullptr;
    if (context_.lastRequested == this) context_.lastRequested = nullptr;
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

ControlView* WindowView::View(const ui::Control& control) const {
    for (ControlView* v : views_)
        if (&v->Model() == &control) return v;
    return nullptr;
}

QWidget* WindowView::Widget(const ui::Control& control) const {
    ControlView* v = View(control);
    return v ? v->Widget() : nullptr;
}

QAction* WindowView::Action(const ui::MenuItem& item) const {
    auto it = actions_.find(&item);
    return it == actions_.end() ? nullptr : it->second;
}

QWidget* WindowView::Take(const ui::Control& control) const {
    QWidget* w = Widget(control);
    if (w) w->setProperty(kPlacedProperty, true);
    return w;
}

std::vector<QWidget*> WindowView::Unplaced() const {
    std::vector<QWidget*> out;
    for (ControlView* v : views_)
        if (v->Widget() && !v->Widget()->property(kPlacedProperty).toBool()) out.push_back(v->Widget());
    return out;
}

void WindowView::BuildMenus() {
    bool hasMenus = false;
    for (ui::Control* c : window_.Controls())
        if (dynamic_cast<ui::MenuItem*>(c)) hasMenus = true;
    if (!hasMenus) return;
    auto* main = qobject_cast<QMainWindow*>(top_);
    QMenuBar* bar = main ? main->menuBar() : new QMenuBar(top_);
    for (ui::Control* c : window_.Controls()) {
        auto* item = dynamic_cast<ui::MenuItem*>(c);
        if (!item || item->ParentMenu()) continue;
        bool hasChildren = false;
        for (ui::Control* d : window_.Controls())
            if (auto* child = dynamic_cast<ui::MenuItem*>(d); child && child->ParentMenu() == item) hasChildren = true;
        QAction* action;
        if (hasChildren) {
            QMenu* menu = bar->addMenu(ToQt(item->Caption()));
            action = menu->menuAction();
            AddMenuItems(menu, item);
        } else {
            action = bar->addAction(ToQt(item->Caption()));
        }
        actions_[item] = action;
        new MenuItemView(*item, action, context_);
    }
}

void WindowView::AddMenuItems(QMenu* menu, ui::MenuItem* parent) {
    for (ui::Control* c : window_.Controls()) {
        auto* item = dynamic_cast<ui::MenuItem*>(c);
        if (!item || item->ParentMenu() != parent) continue;
        bool hasChildren = false;
        for (ui::Control* d : window_.Controls())
            if (auto* child = dynamic_cast<ui::MenuItem*>(d); child && child->ParentMenu() == item) hasChildren = true;
        QAction* action;
        if (hasChildren) {
            QMenu* sub = menu->addMenu(ToQt(item->Caption()));
            action = sub->menuAction();
            AddMenuItems(sub, item);
        } else {
            action = menu->addAction(ToQt(item->Caption()));
        }
        actions_[item] = action;
        new MenuItemView(*item, action, context_);
    }
}

void WindowView::Refresh() {
    SyncGuard guard(context_);
    QString title = ToQt(window_.Caption());
    if (top_->windowTitle() != title) top_->setWindowTitle(title);

    if (window_.Visible() && !top_->isVisible()) {
        top_->show();
    } else if (!window_.Visible() && top_->isVisible()) {
        top_->hide();
        if (context_.pendingActivation == this) context_.pendingActivation = nullptr;
    }

    if (window_.Visible() && window_.IsActive()) {
        // Qt activates windows later: a request for another window may still be on its way.
        bool qtElsewhere =
            QApplication::activeWindow() != top_ || (context_.lastRequested && context_.lastRequested != this);
        if (qtElsewhere && context_.pendingActivation != this) {
            top_->raise();
            top_->activateWindow();
            context_.pendingActivation = this;
            context_.lastRequested = this;
        }
        if (ui::Control* focused = window_.ActiveControl()) {
            for (ControlView* v : views_) {
                if (&v->Model() != focused) continue;
                QWidget* w = v->FocusWidget();
                if (w && w->isEnabled() && !w->isHidden() && w->focusPolicy() != Qt::NoFocus &&
                    QApplication::focusWidget() != w)
                    w->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }

    bool hourglass = window_.MousePointer() == ui::kPointerHourglass;
    if (hourglass != busyCursor_) {
        if (hourglass) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
        busyCursor_ = hourglass;
    }
}

void WindowView::QtActivated() {
    if (context_.pendingActivation == this) {
        context_.pendingActivation = nullptr;
        return;
    }
    if (context_.pendingActivation) {
        // Qt reports a window the logic has already left behind: the window asked for comes next.
        context_.pendingActivation = nullptr;
        return;
    }
    context_.lastRequested = this;  // Qt is here now
    if (window_.IsActive() || !window_.Visible()) return;
    window_.UserActivate();
    Refresh();
}

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == top_) {
        switch (event->type()) {
            case QEvent::Close:
                if (context_.programEnded) break;
                event->ignore();
                if (context_.drawing == 0) {
                    window_.UserClose();
                    if (!context_.programEnded) Refresh();
                }
                return true;
            case QEvent::WindowActivate:
                if (context_.drawing == 0) QtActivated();
                break;
            case QEvent::KeyPress:
                // Escape reaches the window itself when no control took it.
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && context_.drawing == 0 &&
                    window_.TakesEscape()) {
                    window_.UserEscape();
                    if (!context_.programEnded) Refresh();
                    return true;
                }
                break;
            default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace varigap::gui
