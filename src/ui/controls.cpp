// The control layer: state, events and notifications of windows and controls.
#include "ui/controls.h"

#include <algorithm>

#include "core/types.h"

namespace varigap::ui {

// ---------------------------------------------------------------- notifications

int Notifier::Subscribe(Listener l) {
    int id = nextId_++;
    listeners_.emplace(id, std::move(l));
    return id;
}

void Notifier::Unsubscribe(int id) { listeners_.erase(id); }

void Notifier::Changed() const {
    auto listeners = listeners_;  // a listener may unsubscribe
    for (auto& [id, l] : listeners) l();
}

// ---------------------------------------------------------------- controls

Control::Control(Window& window, std::string name) : window_(window), name_(std::move(name)) { window_.Register(this); }

void Control::SetToolTipText(const std::string& t) {
    if (t == toolTip_) return;
    toolTip_ = t;
    Changed();
}

void Control::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed();
}

void Control::SetEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    Changed();
}

void Control::SetFocus() { window_.FocusControl(this); }

bool Control::HasFocus() const { return window_.IsActive() && window_.focused_ == this && window_.focusLive_; }

void Control::UserAction(const std::function<void()>& action) { window_.RunUserAction(action); }

void Control::UserFocus() {
    UserAction([this] { SetFocus(); });
}

void Control::UserPressKey(int key) {
    UserAction([this, key] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        KeyPress(key);
        KeyUp(key);
        if (key == kKeyEnter && !KeyPress.Connected()) window_.EnterNotTaken(*this);
    });
}

void Label::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void TextBox::SetText(const std::string& t) {
    if (t == text_) return;
    text_ = t;
    Changed();
    Change();
}

void TextBox::UserType(const std::string& t) {
    UserAction([this, &t] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetText(t);
    });
}

void CheckBox::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void CheckBox::SetValue(int v) {
    if (v < 0 || v > 2) throw RunTimeError(380, "Invalid property value");
    value_ = v;
    Changed();
    Click();
}

void CheckBox::UserClick() {
    UserAction([this] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetValue(value_ == 0 ? 1 : 0);
    });
}

void OptionButton::Group(const std::vector<OptionButton*>& buttons) {
    for (OptionButton* b : buttons) b->group_ = buttons;
}

void OptionButton::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void OptionButton::SetValue(bool v) {
    if (!v) {
        if (value_) {
            value_ = false;
            Changed();
        }
        return;
    }
    for (OptionButton* other : group_)
        if (other != this && other->value_) {
            other->value_ = false;
            other->Changed();
        }
    value_ = true;
    Changed();
    Click();
}

void OptionButton::UserClick() {
    UserAction([this] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetValue(true);
    });
}

void CommandButton::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void CommandButton::UserClick() {
    UserAction([this] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        Click();
    });
}

// ---------------------------------------------------------------- lists

void ListControl::Clear() {
    items_.clear();
    listIndex_ = -1;
    text_.clear();
    Changed();
}

void ListControl::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    listIndex_ = -1;
    text_.clear();
    Changed();
}

void ListControl::AddItem(const std::string& item) {
    items_.push_back(item);
    Changed();
}

void ListControl::SetListIndex(int i) {
    ItemList::SetListIndex(i);
    if (listIndex_ < 0) text_.clear();
    Changed();
    Click();
}

ItemShown ListControl::Shown(int index) const {
    if (showItem) return showItem(index);
    return {List(index), ""};
}

void ListControl::SetText(const std::string& t) {
    // Writing the text of a list selects the item that reads so.
    auto it = std::find(items_.begin(), items_.end(), t);
    if (it != items_.end()) SetListIndex(static_cast<int>(it - items_.begin()));
}

void ListBox::UserClickItem(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
        MouseUp();
    });
}

void ListBox::UserDoubleClickItem(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
        MouseUp();
        DblClick();
    });
}

void ListBox::UserKeyTo(int i, int key) {
    UserAction([this, i, key] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
        KeyUp(key);
    });
}

void ListBox::UserScroll() {
    UserAction([this] {
        if (Visible()) Scroll();
    });
}

void ComboBox::SetText(const std::string& t) {
    if (t == text_) return;
    text_ = t;
    auto it = std::find(items_.begin(), items_.end(), t);
    listIndex_ = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    Changed();
    Change();
}

void ComboBox::UserSelect(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
    });
}

void ComboBox::UserType(const std::string& t) {
    UserAction([this, &t] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetText(t);
    });
}

void MenuItem::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void MenuItem::UserClick() {
    UserAction([this] {
        if (!Visible() || !Enabled() || !Parent().Visible()) return;
        Parent().Activate();
        Click();
    });
}

// ---------------------------------------------------------------- windows

void Desktop::Activate(Window* w) {
    active_ = w;
    order_.erase(std::remove(order_.begin(), order_.end(), w), order_.end());
    order_.push_back(w);
}

void Desktop::Forget(Window* w) {
    order_.erase(std::remove(order_.begin(), order_.end(), w), order_.end());
    if (active_ == w) active_ = nullptr;
}

Window::Window(Desktop& desktop, std::string name) : desktop_(desktop), name_(std::move(name)) {}

Window::~Window() { desktop_.Forget(this); }

void Window::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void Window::SetMousePointer(int p) {
    if (p == mousePointer_) return;
    mousePointer_ = p;
    Changed();
}

void Window::Load() {
    if (loaded_) return;
    loaded_ = true;
    Changed();
    FormLoad();
}

void Window::Show() {
    Load();
    if (!visible_) {
        visible_ = true;
        Changed();
    }
    Activate();
}

void Window::Hide() {
    if (!visible_) return;
    bool wasActive = IsActive();
    if (wasActive) LoseFocusOnDeactivate();
    visible_ = false;
    desktop_.Forget(this);
    Changed();
    if (!wasActive) return;
    // The window used before this one becomes the active window again.
    for (auto it = desktop_.order_.rbegin(); it != desktop_.order_.rend(); ++it)
        if ((*it)->visible_) {
            (*it)->Activate();
            return;
        }
}

void Window::Unload() {
    if (!loaded_) return;
    bool cancel = false;
    FormUnload(cancel);
    if (cancel) return;
    Hide();
    loaded_ = false;
    focused_ = nullptr;
    focusLive_ = false;
    Changed();
}

void Window::Activate() { ActivateWith(nullptr); }

void Window::ActivateWith(Control* target) {
    if (!visible_) return;
    Window* previous = desktop_.Active();
    if (previous == this) {
        if (target) FocusControl(target);
        return;
    }
    if (previous) previous->LoseFocusOnDeactivate();
    desktop_.Activate(this);
    if (previous) previous->Changed();
    Changed();
    FormActivate();
    if (!IsActive()) return;  // a handler went on to another window
    if (target) {
        FocusControl(target);
    } else if (focused_ && !focusLive_ && focused_->Visible() && focused_->Enabled()) {
        focusLive_ = true;
        Changed();
        focused_->GotFocus();
    }
}

void Window::LoseFocusOnDeactivate() {
    if (focused_ && focusLive_) {
        focusLive_ = false;
        Changed();
        focused_->LostFocus();
    }
    FormDeactivate();
}

void Window::FocusControl(Control* c) {
    if (!c->CanFocus() || !c->Visible() || !c->Enabled()) return;
    if (!visible_) {
        // Remembered: the control gets the focus when the window is shown.
        if (focused_ != c) {
            focused_ = c;
            focusLive_ = false;
            Changed();
        }
        return;
    }
    if (!IsActive()) {
        ActivateWith(c);
        return;
    }
    if (focused_ == c && focusLive_) return;
    Control* old = focusLive_ ? focused_ : nullptr;
    focused_ = c;
    focusLive_ = true;
    Changed();
    if (old) old->LostFocus();
    if (focused_ == c) c->GotFocus();
}

void Window::EnterNotTaken(Control& c) {
    if (!defaultButton) return;
    auto* button = dynamic_cast<CommandButton*>(&c);
    if (!button) button = defaultButton;
    if (button->Visible() && button->Enabled()) button->Click();
}

void Window::UserEscape() {
    RunUserAction([this] {
        if (cancelButton) {
            if (cancelButton->Visible() && cancelButton->Enabled()) cancelButton->Click();
        } else if (closeOnEscape) {
            Unload();
        }
    });
}

void Window::UserClose() {
    RunUserAction([this] { Unload(); });
}

void Window::UserActivate() {
    RunUserAction([this] { Activate(); });
}

void Window::RunUserAction(const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        if (!errorHandler_) throw;
        errorHandler_(std::current_exception());
    }
}

}  // namespace varigap::ui
