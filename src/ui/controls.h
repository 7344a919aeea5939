// The control layer: windows and controls as the program's logic sees them, with no toolkit
// behind them. Each control holds its state (caption, text, value, items, selection,
// visibility, tool tip), raises its events synchronously to the handlers its window connected,
// and tells subscribed views after every change of its state. A view (the Qt program, or a
// test) draws that state and forwards what the user does through the User... operations.
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/item_list.h"

namespace varigap::ui {

// Key codes used by the handlers (character code and key code are the same for these).
constexpr int kKeyEnter = 13;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

// Mouse pointers of a window.
constexpr int kPointerDefault = 0;
constexpr int kPointerHourglass = 11;

// An event: the handlers connected to it, called in order, at once, when it is raised.
template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;
    void Connect(Handler h) { handlers_.push_back(std::move(h)); }
    void Raise(Args... args) const {
        auto handlers = handlers_;  // a handler may connect another one
        for (auto& h : handlers) h(args...);
    }
    void operator()(Args... args) const { Raise(args...); }
    bool Connected() const { return !handlers_.empty(); }

private:
    std::vector<Handler> handlers_;
};

// Listeners told after any change of an object's state (the view follows through them).
class Notifier {
public:
    using Listener = std::function<void()>;
    int Subscribe(Listener l);
    void Unsubscribe(int id);

protected:
    void Changed() const;

private:
    std::map<int, Listener> listeners_;
    int nextId_ = 1;
};

class Window;

// What every control has: a name, its window, a tool tip, visibility, focus and key events.
class Control : public Notifier {
public:
    Control(Window& window, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    Window& Parent() const { return window_; }

    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& t);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    // The font the view draws the control in ("" for the view's default), fixed by the window.
    std::string fontName;

    // Labels and menu items never take the focus.
    virtual bool CanFocus() const { return true; }
    // Moves the focus here (activating the window when it is shown); GotFocus is raised
    // when the focus was elsewhere, after LostFocus of the control that had it.
    void SetFocus();
    bool HasFocus() const;

    Event<> GotFocus, LostFocus;
    Event<int> KeyPress;  // character code: kKeyEnter for Enter
    Event<int> KeyUp;     // key code

    // What the user does: give it the focus; press a key on it (focus, KeyPress, KeyUp).
    void UserFocus();
    void UserPressKey(int key);

protected:
    void UserAction(const std::function<void()>& action);

private:
    Window& window_;
    std::string name_;
    std::string toolTip_;
    bool visible_ = true;
    bool enabled_ = true;
};

class Label : public Control {
public:
    using Control::Control;
    bool CanFocus() const override { return false; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);

private:
    std::string caption_;
};

class TextBox : public Control {
public:
    using Control::Control;
    const std::string& Text() const { return text_; }
    void SetText(const std::string& t);  // raises Change when the text differs
    bool multiLine = false;
    Event<> Change;
    void UserType(const std::string& t);  // focus, then the new text

private:
    std::string text_;
};

class CheckBox : public Control {
public:
    using Control::Control;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    // 0 unchecked, 1 checked, 2 grayed. Writing it raises Click.
    int Value() const { return value_; }
    void SetValue(int v);
    Event<> Click;
    void UserClick();  // focus, then checked <-> unchecked

private:
    std::string caption_;
    int value_ = 0;
};

// An option button; the buttons of one group exclude each other.
class OptionButton : public Control {
public:
    using Control::Control;
    static void Group(const std::vector<OptionButton*>& buttons);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    bool Value() const { return value_; }
    // Selecting clears the others of the group and raises Click; clearing raises nothing.
    void SetValue(bool v);
    Event<> Click;
    void UserClick();

private:
    std::string caption_;
    bool value_ = false;
    std::vector<OptionButton*> group_;
};

class CommandButton : public Control {
public:
    CommandButton(Window& window, std::string name, int index = -1) : Control(window, std::move(name)), index_(index) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    int Index() const { return index_; }  // place in its control array, -1 outside one
    Event<> Click;
    void UserClick();  // focus, then Click

private:
    std::string caption_;
    int index_;
};

// Buttons (or other controls) sharing one name, told apart by Index 0..Count()-1.
template <class T>
class ControlArray {
public:
    ControlArray(Window& window, const std::string& name, int count) {
        for (int i = 0; i < count; ++i) items_.push_back(std::make_unique<T>(window, name, i));
    }
    T& operator[](int index) { return *items_.at(static_cast<size_t>(index)); }
    const T& operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }
    int Count() const { return static_cast<int>(items_.size()); }

private:
    std::vector<std::unique_ptr<T>> items_;
};

// How a view shows one item of a list when that is not the item itself (a long item cut, facts
// beside a name): the caption, and the tool tip that tells what the caption leaves out.
struct ItemShown {
    std::string caption;
    std::string toolTip;  // "" when the caption says it all
};

// An item list as a control: list boxes, combo boxes and the file system lists.
// Writing ListIndex raises Click; Clear and AddItem raise nothing.
class ListControl : public Control, public ItemList {
public:
    using Control::Control;
    void Clear() override;
    void AddItem(const std::string& item) override;
    // Clear and AddItem of every item, with one notification: a view lays a long list out once.
    void SetItems(std::vector<std::string> items);
    void SetListIndex(int i) override;
    void SetText(const std::string& t) override;
    Event<> Click, DblClick;

    // Set by the window when its items are shown otherwise than as they are; the items, Text
    // and the handlers keep the items themselves.
    std::function<ItemShown(int index)> showItem;
    ItemShown Shown(int index) const;

protected:
    // Whether Text keeps what was typed when nothing is selected (combo boxes).
    virtual bool KeepsTypedText() const { return false; }
};

class ListBox : public ListControl {
public:
    using ListControl::ListControl;
    Event<> MouseUp, Scroll;
    // The mouse: focus, select, MouseUp (and DblClick for a double click).
    void UserClickItem(int i);
    void UserDoubleClickItem(int i);
    // The keyboard: the selection moves to i, then KeyUp with the key.
    void UserKeyTo(int i, int key = kKeyDown);
    void UserScroll();
};

// A drop-down combo box: Text is the selected item or what was typed.
class ComboBox : public ListControl {
public:
    using ListControl::ListControl;
    void SetText(const std::string& t) override;  // raises Change when the text differs
    Event<> Change;
    void UserSelect(int i);  // focus, select (Click)
    void UserType(const std::string& t);

protected:
    bool KeepsTypedText() const override { return true; }
};

// A menu item; a top-level menu has no parent item.
class MenuItem : public Control {
public:
    MenuItem(Window& window, std::string name, MenuItem* parentMenu = nullptr)
        : Control(window, std::move(name)), parentMenu_(parentMenu) {}
    bool CanFocus() const override { return false; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    MenuItem* ParentMenu() const { return parentMenu_; }
    Event<> Click;
    void UserClick();  // activates the window, then Click

private:
    std::string caption_;
    MenuItem* parentMenu_;
};

// The windows of one program: which one is active, and the order they were used in.
class Desktop {
public:
    Window* Active() const { return active_; }

private:
    friend class Window;
    void Activate(Window* w);
    void Forget(Window* w);  // w was hidden: the window used before it becomes active
    Window* active_ = nullptr;
    std::vector<Window*> order_;  // most recently activated last
};

// A window: caption, loaded and shown state, mouse pointer, the focused control.
//  Load()     once until it is unloaded: raises FormLoad.
//  Show()     loads it, shows it (modeless) and activates it.
//  Hide()     hides it; it stays loaded and keeps its state.
//  Unload()   raises FormUnload, whose handler may cancel; else hidden and not loaded.
//  Activate() makes it the active window: the window active before loses the focus of its
//             control (LostFocus) and raises FormDeactivate; this one raises FormActivate
//             and its focused control GotFocus.
class Window : public Notifier {
public:
    Window(Desktop& desktop, std::string name);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    bool Loaded() const { return loaded_; }
    bool Visible() const { return visible_; }
    bool IsActive() const { return desktop_.Active() == this; }
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int p);
    // The control that has (or, while the window is inactive, will get back) the focus.
    Control* ActiveControl() const { return focused_; }
    const std::vector<Control*>& Controls() const { return controls_; }

    void Load();
    void Show();
    void Hide();
    void Unload();
    void Activate();

    Event<> FormLoad, FormActivate, FormDeactivate;
    Event<bool&> FormUnload;  // set the argument to keep the window loaded

    // What the user does: close it with its close box; switch to it.
    void UserClose();
    void UserActivate();

    // The keyboard's way out and in, as dialogs have it: Escape presses `cancelButton`, or,
    // without one, closes the window (as its close box) when `closeOnEscape`. Enter on a control
    // that takes no Enter itself presses that control when it is a button, else `defaultButton`.
    CommandButton* cancelButton = nullptr;
    CommandButton* defaultButton = nullptr;
    bool closeOnEscape = false;
    // Whether Escape does anything here.
    bool TakesEscape() const { return cancelButton || closeOnEscape; }
    void UserEscape();

    // Runs a user action; a run-time error that escapes every handler goes to the error
    // handler (the program reports it) instead of ending the program.
    void RunUserAction(const std::function<void()>& action);
    void SetErrorHandler(std::function<void(std::exception_ptr)> h) { errorHandler_ = std::move(h); }

private:
    friend class Control;
    void Register(Control* c) { controls_.push_back(c); }
    void EnterNotTaken(Control& c);
    void FocusControl(Control* c);
    void ActivateWith(Control* target);
    void LoseFocusOnDeactivate();

    Desktop& desktop_;
    std::string name_;
    std::string caption_;
    bool loaded_ = false;
    bool visible_ = false;
    int mousePointer_ = kPointerDefault;
    Control* focused_ = nullptr;
    bool focusLive_ = false;  // focused_ has had GotFocus since the window became active
    std::vector<Control*> controls_;
    std::function<void(std::exception_ptr)> errorHandler_;
};

}  // namespace varigap::ui
