// Views of the control layer: each control is drawn by one Qt widget that follows the control's
// state through its notifications, and what the user does to the widget goes to the control's
// User... operations, which raise the logic's events. The widgets decide nothing themselves.
#pragma once

#include <QObject>
#include <map>
#include <string>
#include <vector>

#include "gui/view_context.h"
#include "ui/controls.h"
#include "ui/file_controls.h"

class QAction;
class QComboBox;
class QMenu;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace varigap::gui {

// Key codes the logic knows, from Qt's (0 for keys it has no code for).
int KeyCodeOf(int qtKey);

// What a window's layout asks of the widget of one of its controls.
struct WidgetHints {
    bool wrapAnywhere = false;  // a label of long base strings: wrapped anywhere, selectable
    bool wordWrap = false;      // a label of sentences: wrapped between words
    bool displayLines = false;  // a list of display lines: number, flags and mark stay in sight
};
// The hints of a window's controls that need more than the default.
using WindowHints = std::map<const ui::Control*, WidgetHints>;

// The view of one control: tool tip, visibility, enabled state, focus and Enter for every kind.
class ControlView : public QObject {
    Q_OBJECT
public:
    ControlView(ui::Control& control, QWidget* widget, ViewContext& context);
    ~ControlView() override;
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    ui::Control& Model() const { return control_; }
    // The widget laid out in the window (null for menu items).
    QWidget* Widget() const { return widget_; }
    // The widget that takes the keyboard focus for the control.
    virtual QWidget* FocusWidget() const { return widget_; }
    // Draws the control's current state.
    void Refresh();

protected:
    virtual void RefreshState();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A key pressed on the widget; true when the view took it.
    virtual bool KeyPressed(QKeyEvent* event);
    // Also forwards focus and keys of a part of the widget (a line edit, a view port).
    void Watch(QObject* part);
    // Whether a widget signal comes from the user (and not from drawing the state).
    bool FromUser() const { return context_.drawing == 0; }

private:
    ui::Control& control_;
    ViewContext& context_;
    QWidget* widget_;
    int subscription_ = 0;
};

class LabelView : public ControlView {
    Q_OBJECT
public:
    // Drawn by a QLabel, or with hints.wrapAnywhere by a read-only text view without frame.
    LabelView(ui::Label& label, QWidget* parent, ViewContext& context, const WidgetHints& hints = {});

protected:
    void RefreshState() override;

private:
    ui::Label& label_;
    QLabel* qlabel_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

// A single-line text box is a line edit; a multi-line one a read-only text view (the windows
// show text in them and read nothing back).
class TextBoxView : public ControlView {
    Q_OBJECT
public:
    TextBoxView(ui::TextBox& box, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::TextBox& box_;
};

class CheckBoxView : public ControlView {
    Q_OBJECT
public:
    CheckBoxView(ui::CheckBox& box, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::CheckBox& box_;
};

class OptionButtonView : public ControlView {
    Q_OBJECT
public:
    OptionButtonView(ui::OptionButton& button, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::OptionButton& button_;
};

class CommandButtonView : public ControlView {
    Q_OBJECT
public:
    CommandButtonView(ui::CommandButton& button, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::CommandButton& button_;
};

// A list of lines in a list widget. The mouse and the keyboard are taken by the view, so the
// selection shown is always the control's.
class ItemListView : public ControlView {
    Q_OBJECT
public:
    ItemListView(ui::ListControl& list, QWidget* parent, ViewContext& context);
    QListWidget* List() const { return qlist_; }
    // The lines copied: every line after Ctrl+A, else the selected one.
    QStringList SelectedLines() const;
    // The menu of a right click: Copy, and what a kind of list adds. The caller owns it.
    virtual QMenu* MakeContextMenu();

protected:
    void RefreshState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool KeyPressed(QKeyEvent* event) override;
    virtual void ClickItem(int i) = 0;
    virtual void DoubleClickItem(int i) = 0;
    virtual void KeyTo(int i, int keyCode) = 0;
    virtual void ClickBeside();  // a click below the last line: only the focus
    void SelectAll(bool all);

    QListWidget* qlist_;
    QWidget* viewport_;  // kept: asking a list being destroyed for it is not safe

private:
    ui::ListControl& model_;
    std::vector<std::string> shown_;
    int shownIndex_ = -2;
    bool allSelected_ = false;
};

class ListBoxView : public ItemListView {
    Q_OBJECT
public:
    ListBoxView(ui::ListBox& list, QWidget* parent, ViewContext& context, const WidgetHints& hints = {});
    QMenu* MakeContextMenu() override;

protected:
    void ClickItem(int i) override;
    void DoubleClickItem(int i) override;
    void KeyTo(int i, int keyCode) override;

private:
    ui::ListBox& box_;
    bool displayLines_;
};

class FileListView : public ItemListView {
    Q_OBJECT
public:
    FileListView(ui::FileList& list, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;
    void ClickItem(int i) override;
    void DoubleClickItem(int i) override;
    void KeyTo(int i, int keyCode) override;

private:
    ui::FileList& files_;
};

// A drop-down list: the combo box shows the selected item, or the typed text when none is.
class ComboBoxView : public ControlView {
    Q_OBJECT
public:
    ComboBoxView(ui::ComboBox& combo, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::ComboBox& combo_;
    QComboBox* qcombo_;
    std::vector<std::string> shown_;
};

// The roots of the file system as a drop-down list.
class DriveListView : public ControlView {
    Q_OBJECT
public:
    DriveListView(ui::DriveList& drives, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::DriveList& drives_;
    QComboBox* qcombo_;
    std::vector<std::string> shown_;
};

// The directory list as a tree: the current directory under its ancestors, its
// sub-directories under it. A click opens a directory; the keys move the highlight, Enter
// opens the highlighted one, Left and Backspace go up.
class DirTreeView : public ControlView {
    Q_OBJECT
public:
    DirTreeView(ui::DirList& dirs, QWidget* parent, ViewContext& context);
    QTreeWidget* Tree() const { return tree_; }
    // The node of an entry of the list (-1: the current directory).
    QTreeWidgetItem* NodeOfEntry(int entry) const;
    QTreeWidgetItem* NodeOfPath(const std::string& path) const;

protected:
    void RefreshState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool KeyPressed(QKeyEvent* event) override;

private:
    void Rebuild();
    void Open(QTreeWidgetItem* node);
    void Highlight(QTreeWidgetItem* node);

    ui::DirList& dirs_;
    QTreeWidget* tree_;
    QWidget* viewport_;
    std::string shownPath_;
    std::vector<std::string> shownItems_;
    std::string viewHighlight_;  // an ancestor highlighted by the keys ("" for none)
};

// A menu item as a Qt action (a menu title or a command).
class MenuItemView : public ControlView {
    Q_OBJECT
public:
    MenuItemView(ui::MenuItem& item, QAction* action, ViewContext& context);
    QAction* Action() const { return action_; }

protected:
    void RefreshState() override;

private:
    ui::MenuItem& item_;
    QAction* action_;
};

// The view of any control but a menu item, with its widget created under `parent`; null for a
// kind that has no view.
ControlView* CreateControlView(ui::Control& control, QWidget* parent, ViewContext& context,
                               const WidgetHints& hints = {});

}  // namespace varigap::gui
