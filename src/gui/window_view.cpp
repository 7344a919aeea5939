// Views of the windows.
#include "gui/window_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "gui/fonts.h"

namespace varigap::gui {

namespace {

constexpr const char* kPlacedProperty = "varigapPlaced";

}  // namespace

WindowView::WindowView(ui::Window& window, QWidget* topLevel, const std::map<std::string, WidgetHints>& hints)
    : window_(window), top_(topLevel) {
    setParent(top_);
    top_->setObjectName(ToQt(window_.Name()));
    for (ui::Control* c : window_.Controls()) {
        if (dynamic_cast<ui::MenuItem*>(c)) continue;
        auto hint = hints.find(c->Name());
        ControlView* v = CreateControlView(*c, top_, hint == hints.end() ? WidgetHints{} : hint->second);
        if (v) views_.push_back(v);
    }
    BuildMenus();
    top_->installEventFilter(this);
    subscription_ = window_.Subscribe([this] { Refresh(); });
    Refresh();
}

WindowView::~WindowView() {
    window_.Unsubscribe(subscription_);
    if (pendingActivation_ == this) pendingActivation_ = nullptr;
    if (lastRequested_ == this) lastRequested_ = nullptr;
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

ControlView* WindowView::View(const std::string& name, int index) const {
    for (ControlView* v : views_) {
        if (v->Model().Name() != name) continue;
        auto* b = dynamic_cast<ui::CommandButton*>(&v->Model());
        if (index < 0 || (b && b->Index() == index)) return v;
    }
    return nullptr;
}

QWidget* WindowView::Widget(const std::string& name, int index) const {
    ControlView* v = View(name, index);
    return v ? v->Widget() : nullptr;
}

QAction* WindowView::Action(const std::string& menuName) const {
    auto it = actions_.find(menuName);
    return it == actions_.end() ? nullptr : it->second;
}

QWidget* WindowView::Take(const std::string& name, int index) const {
    QWidget* w = Widget(name, index);
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
        actions_[item->Name()] = action;
        new MenuItemView(*item, action);
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
        actions_[item->Name()] = action;
        new MenuItemView(*item, action);
    }
}

void WindowView::Refresh() {
    SyncGuard guard;
    QString title = ToQt(window_.Caption());
    if (top_->windowTitle() != title) top_->setWindowTitle(title);

    if (window_.Visible() && !top_->isVisible()) {
        top_->show();
    } else if (!window_.Visible() && top_->isVisible()) {
        top_->hide();
        if (pendingActivation_ == this) pendingActivation_ = nullptr;
    }

    if (window_.Visible() && window_.IsActive()) {
        // Qt activates windows later: a request for another window may still be on its way.
        bool qtElsewhere = QApplication::activeWindow() != top_ || (lastRequested_ && lastRequested_ != this);
        if (qtElsewhere && pendingActivation_ != this) {
            top_->raise();
            top_->activateWindow();
            pendingActivation_ = this;
            lastRequested_ = this;
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
    if (pendingActivation_ == this) {
        pendingActivation_ = nullptr;
        return;
    }
    if (pendingActivation_) {
        // Qt reports a window the logic has already left behind: the window asked for comes next.
        pendingActivation_ = nullptr;
        return;
    }
    lastRequested_ = this;  // Qt is here now
    if (window_.IsActive() || !window_.Visible()) return;
    window_.UserActivate();
    Refresh();
}

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == top_) {
        switch (event->type()) {
            case QEvent::Close:
                if (programEnded_) break;
                event->ignore();
                if (!SyncGuard::Active()) {
                    window_.UserClose();
                    if (!programEnded_) Refresh();
                }
                return true;
            case QEvent::WindowActivate:
                if (!SyncGuard::Active()) QtActivated();
                break;
            default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace varigap::gui
