// Views of the controls.
#include "gui/control_views.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

#include "gui/fonts.h"
#include "gui/table_views.h"
#include "ui/line_text.h"

namespace varigap::gui {

namespace {

// Line breaks written CR LF are one line break on the screen.
QString ScreenText(const std::string& s) {
    QString t = ToQt(s);
    t.replace("\r\n", "\n");
    return t;
}

std::string ObjectName(const ui::Control& c) {
    if (auto* b = dynamic_cast<const ui::CommandButton*>(&c); b && b->Index() >= 0)
        return c.Name() + "_" + std::to_string(b->Index());
    return c.Name();
}

// The rows a page key moves over in a list.
int PageRows(const QAbstractItemView* view) {
    int row = view->sizeHintForRow(0);
    if (row <= 0) return 10;
    return std::max(1, view->viewport()->height() / row - 1);
}

// Where a navigation key takes the highlight in a list of n lines; -1 for other keys.
int NavigationTarget(int key, int current, int n, int page) {
    if (n <= 0) return -1;
    switch (key) {
        case Qt::Key_Up: return current < 0 ? 0 : std::max(0, current - 1);
        case Qt::Key_Down: return current < 0 ? 0 : std::min(n - 1, current + 1);
        case Qt::Key_PageUp: return std::max(0, current - page);
        case Qt::Key_PageDown: return std::min(n - 1, std::max(0, current) + page);
        case Qt::Key_Home: return 0;
        case Qt::Key_End: return n - 1;
        default: return -1;
    }
}

bool IsNavigationKey(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
           key == Qt::Key_Home || key == Qt::Key_End;
}

bool IsEnter(const QKeyEvent* e) {
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
           (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A read-only text view that looks like a label and wraps long base strings anywhere.
QPlainTextEdit* MakeWrappingLabel(QWidget* parent) {
    auto* t = new QPlainTextEdit(parent);
    t->setReadOnly(true);
    t->setFrameShape(QFrame::NoFrame);
    t->setFocusPolicy(Qt::NoFocus);
    t->setTextInteractionFlags(Qt::TextSelectableByMouse);
    t->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    t->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    t->viewport()->setAutoFillBackground(false);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setStyleSheet("QPlainTextEdit { background: transparent; }");
    return t;
}

QWidget* MakeLabelWidget(QWidget* parent, const WidgetHints& hints) {
    if (hints.wrapAnywhere) return MakeWrappingLabel(parent);
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(hints.wordWrap);
    return l;
}

// Draws display lines so that, scrolled sideways, each keeps its number, flags and mark at the
// left edge over the bases.
class DisplayLineDelegate : public QStyledItemDelegate {
public:
    explicit DisplayLineDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        int scrolled = list_->horizontalScrollBar()->value();
        QString text = index.data().toString();
        auto prefix = static_cast<qsizetype>(ui::DisplayLinePrefix(FromQt(text)));
        if (scrolled <= 0 || prefix == 0) return;
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        QStyle* style = list_->style();
        // Where the text starts in an item as drawn unscrolled, at the viewport's left edge.
        QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &o, list_);
        int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
        int textLeft = textRect.left() - option.rect.left() + margin;
        QString shown = text.left(prefix);
        QRect cover(0, option.rect.top(), textLeft + o.fontMetrics.horizontalAdvance(shown) + 2, option.rect.height());
        bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(cover, o.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setFont(o.font);
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRect(textLeft, cover.top(), cover.width(), cover.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          shown);
        painter->setPen(o.palette.color(QPalette::Mid));
        painter->drawLine(cover.topRight(), cover.bottomRight());
        painter->restore();
    }

private:
    QListWidget* list_;
};

QWidget* MakeTextWidget(const ui::TextBox& box, QWidget* parent) {
    if (!box.multiLine) return new QLineEdit(parent);
    auto* t = new QPlainTextEdit(parent);
    t->setReadOnly(true);
    t->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return t;
}

// Fills a list of strings shown by a widget: lines added to the end are appended, any other
// change rebuilds it. `shown` is what the widget shows.
template <class Clear, class Add>
bool SyncItems(const std::vector<std::string>& items, std::vector<std::string>& shown, Clear clear, Add add) {
    bool prefix = items.size() >= shown.size() && std::equal(shown.begin(), shown.end(), items.begin());
    if (prefix && items.size() == shown.size()) return false;
    if (!prefix) {
        clear();
        shown.clear();
    }
    for (size_t i = shown.size(); i < items.size(); ++i) add(items[i]);
    shown.insert(shown.end(), items.begin() + static_cast<std::ptrdiff_t>(shown.size()), items.end());
    return true;
}

}  // namespace

int KeyCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return ui::kKeyEnter;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return ui::kKeyUp;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return ui::kKeyDown;
        case Qt::Key_Delete: return 46;
        default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;
    return 0;
}

// ---------------------------------------------------------------- every control

ControlView::ControlView(ui::Control& control, QWidget* widget, ViewContext& context)
    : control_(control), context_(context), widget_(widget) {
    subscription_ = control_.Subscribe([this] { Refresh(); });
    if (widget_) {
        widget_->setObjectName(ToQt(ObjectName(control_)));
        widget_->installEventFilter(this);
        // The view lives as long as its widget.
        setParent(widget_);
    }
}

ControlView::~ControlView() { control_.Unsubscribe(subscription_); }

void ControlView::Refresh() {
    SyncGuard guard(context_);
    RefreshState();
}

void ControlView::RefreshState() {
    if (!widget_) return;
    SetToolTip(widget_, control_.ToolTipText());
    widget_->setEnabled(control_.Enabled());
    widget_->setVisible(control_.Visible());
}

void ControlView::Watch(QObject* part) { part->installEventFilter(this); }

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
    if (!FromUser()) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
        // Focus that follows a window's activation or a closing popup is the logic's to give.
        bool byUser = r == Qt::MouseFocusReason || r == Qt::TabFocusReason || r == Qt::BacktabFocusReason ||
                      r == Qt::ShortcutFocusReason;
        if (byUser && !control_.HasFocus()) {
            control_.UserFocus();
            Refresh();
        }
    } else if (event->type() == QEvent::KeyPress) {
        if (KeyPressed(static_cast<QKeyEvent*>(event))) return true;
    }
    return QObject::eventFilter(watched, event);
}

bool ControlView::KeyPressed(QKeyEvent* event) {
    ui::Window& window = control_.Parent();
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && window.TakesEscape()) {
        window.UserEscape();
        Refresh();
        return true;
    }
    if (!IsEnter(event)) return false;
    control_.UserPressKey(ui::kKeyEnter);
    Refresh();
    return true;
}

// ---------------------------------------------------------------- labels, text, buttons

LabelView::LabelView(ui::Label& label, QWidget* parent, ViewContext& context, const WidgetHints& hints)
    : ControlView(label, MakeLabelWidget(parent, hints), context), label_(label) {
    qlabel_ = qobject_cast<QLabel*>(Widget());
    text_ = qobject_cast<QPlainTextEdit*>(Widget());
    Widget()->setFont(FontFor(label.fontName));
    Refresh();
}

void LabelView::RefreshState() {
    ControlView::RefreshState();
    QString t = ScreenText(label_.Caption());
    if (qlabel_ && qlabel_->text() != t) qlabel_->setText(t);
    if (text_ && text_->toPlainText() != t) text_->setPlainText(t);
}

TextBoxView::TextBoxView(ui::TextBox& box, QWidget* parent, ViewContext& context)
    : ControlView(box, MakeTextWidget(box, parent), context), box_(box) {
    Widget()->setFont(FontFor(box.fontName));
    if (auto* edit = qobject_cast<QLineEdit*>(Widget())) {
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (!FromUser()) return;
            box_.UserType(FromQt(text));
            Refresh();
        });
    }
    Refresh();
}

void TextBoxView::RefreshState() {
    ControlView::RefreshState();
    if (auto* edit = qobject_cast<QLineEdit*>(Widget())) {
        QString t = ToQt(box_.Text());
        if (edit->text() != t) edit->setText(t);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(Widget())) {
        QString t = ScreenText(box_.Text());
        if (text->toPlainText() != t) text->setPlainText(t);
    }
}

CheckBoxView::CheckBoxView(ui::CheckBox& box, QWidget* parent, ViewContext& context)
    : ControlView(box, new QCheckBox(parent), context), box_(box) {
    Widget()->setFont(FontFor(box.fontName));
    connect(static_cast<QCheckBox*>(Widget()), &QCheckBox::clicked, this, [this] {
        if (!FromUser()) return;
        box_.UserClick();
        Refresh();
    });
    Refresh();
}

void CheckBoxView::RefreshState() {
    ControlView::RefreshState();
    auto* check = static_cast<QCheckBox*>(Widget());
    check->setText(ToQt(box_.Caption()));
    if (box_.Value() == 2) check->setTristate(true);
    check->setCheckState(box_.Value() == 0 ? Qt::Unchecked : box_.Value() == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

OptionButtonView::OptionButtonView(ui::OptionButton& button, QWidget* parent, ViewContext& context)
    : ControlView(button, new QRadioButton(parent), context), button_(button) {
    auto* radio = static_cast<QRadioButton*>(Widget());
    radio->setAutoExclusive(false);  // the logic's groups decide
    radio->setFont(FontFor(button.fontName));
    connect(radio, &QRadioButton::clicked, this, [this] {
        if (!FromUser()) return;
        button_.UserClick();
        Refresh();
    });
    Refresh();
}

void OptionButtonView::RefreshState() {
    ControlView::RefreshState();
    auto* radio = static_cast<QRadioButton*>(Widget());
    radio->setText(ToQt(button_.Caption()));
    radio->setChecked(button_.Value());
}

CommandButtonView::CommandButtonView(ui::CommandButton& button, QWidget* parent, ViewContext& context)
    : ControlView(button, new QPushButton(parent), context), button_(button) {
    auto* push = static_cast<QPushButton*>(Widget());
    push->setAutoDefault(false);
    push->setFont(FontFor(button.fontName));
    connect(push, &QPushButton::clicked, this, [this] {
        if (!FromUser()) return;
        button_.UserClick();
        Refresh();
    });
    Refresh();
}

void CommandButtonView::RefreshState() {
    ControlView::RefreshState();
    static_cast<QPushButton*>(Widget())->setText(ToQt(button_.Caption()));
}

// ---------------------------------------------------------------- lists

ItemListView::ItemListView(ui::ListControl& list, QWidget* parent, ViewContext& context)
    : ControlView(list, new QListWidget(parent), context),
      qlist_(static_cast<QListWidget*>(Widget())),
      viewport_(qlist_->viewport()),
      model_(list) {
    qlist_->setFont(FontFor(list.fontName));
    // The view selects what the logic selects, or every line after Ctrl+A.
    qlist_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Long lines scroll sideways instead of being cut short.
    qlist_->setTextElideMode(Qt::ElideNone);
    qlist_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    qlist_->setFocusPolicy(Qt::StrongFocus);
    Watch(viewport_);
}

void ItemListView::RefreshState() {
    ControlView::RefreshState();
    SyncItems(
        model_.Items(), shown_, [this] { qlist_->clear(); },
        [this](const std::string& s) {
            auto* item = new QListWidgetItem(ToQt(s));
            // An item's own tip is shown for the item under the mouse.
            if (model_.showItem) item->setToolTip(ToQt(model_.Shown(qlist_->count()).toolTip));
            qlist_->addItem(item);
        });
    int index = model_.ListIndex();
    if (qlist_->currentRow() != index || index != shownIndex_) {
        allSelected_ = false;
        if (index < 0) {
            qlist_->setCurrentRow(-1);
            qlist_->clearSelection();
        } else {
            qlist_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
            qlist_->scrollToItem(qlist_->item(index));
        }
        shownIndex_ = index;
    }
}

void ItemListView::ClickBeside() { Model().UserFocus(); }

void ItemListView::SelectAll(bool all) {
    if (all == allSelected_) return;
    allSelected_ = all;
    if (all) {
        qlist_->selectAll();
    } else if (qlist_->currentRow() >= 0) {
        qlist_->setCurrentRow(qlist_->currentRow(), QItemSelectionModel::ClearAndSelect);
    } else {
        qlist_->clearSelection();
    }
}

QStringList ItemListView::SelectedLines() const {
    QStringList lines;
    for (int i = 0; i < qlist_->count(); ++i)
        if (allSelected_ || i == model_.ListIndex()) lines << qlist_->item(i)->text();
    return lines;
}

QMenu* ItemListView::MakeContextMenu() {
    auto* menu = new QMenu(qlist_);
    QAction* copy =
        menu->addAction("&Copy", [this] { QApplication::clipboard()->setText(SelectedLines().join('\n')); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!SelectedLines().isEmpty());
    menu->addAction("Select &All", [this] { SelectAll(true); })->setShortcut(QKeySequence::SelectAll);
    return menu;
}

bool ItemListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && FromUser()) {
        switch (event->type()) {
            case QEvent::ContextMenu: {
                // A right click selects the line under the mouse, unless it is among the lines selected.
                auto* ce = static_cast<QContextMenuEvent*>(event);
                int row = qlist_->indexAt(ce->pos()).row();
                if (row >= 0 && !(allSelected_ || row == model_.ListIndex())) {
                    ClickItem(row);
                    Refresh();
                }
                QMenu* menu = MakeContextMenu();
                menu->exec(ce->globalPos());
                delete menu;
                return true;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() != Qt::LeftButton) return true;
                SelectAll(false);
                int row = qlist_->indexAt(me->position().toPoint()).row();
                if (row < 0) {
                    ClickBeside();
                } else if (event->type() == QEvent::MouseButtonDblClick) {
                    DoubleClickItem(row);
                } else {
                    ClickItem(row);
                }
                Refresh();
                return true;
            }
            case QEvent::MouseButtonRelease:
            case QEvent::MouseMove: return true;  // no dragging of the selection
            default: break;
        }
    }
    return ControlView::eventFilter(watched, event);
}

bool ItemListView::KeyPressed(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QStringList lines = SelectedLines();
        if (!lines.isEmpty()) QApplication::clipboard()->setText(lines.join('\n'));
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll(true);
        return true;
    }
    if (IsNavigationKey(event->key())) {
        SelectAll(false);
        int target = NavigationTarget(event->key(), model_.ListIndex(), model_.ListCount(), PageRows(qlist_));
        if (target >= 0) {
            KeyTo(target, KeyCodeOf(event->key()));
            Refresh();
        }
        return true;
    }
    if (ControlView::KeyPressed(event)) return true;
    // Typed characters would move Qt's own selection: the logic's lists do not search.
    return !event->text().isEmpty() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab &&
           event->key() != Qt::Key_Escape;
}

ListBoxView::ListBoxView(ui::ListBox& list, QWidget* parent, ViewContext& context, const WidgetHints& hints)
    : ItemListView(list, parent, context), box_(list), displayLines_(hints.displayLines) {
    if (displayLines_) qlist_->setItemDelegate(new DisplayLineDelegate(qlist_));
    auto scrolled = [this] {
        if (!FromUser()) return;
        box_.UserScroll();
        Refresh();
    };
    connect(qlist_->verticalScrollBar(), &QScrollBar::actionTriggered, this, scrolled);
    Refresh();
}

QMenu* ListBoxView::MakeContextMenu() {
    QMenu* menu = ItemListView::MakeContextMenu();
    if (!displayLines_) return menu;
    QAction* bases = new QAction("Copy &bases", menu);
    connect(bases, &QAction::triggered, this, [this] {
        QStringList lines = SelectedLines();
        for (QString& l : lines) l = ToQt(ui::BasesOfLine(FromQt(l)));
        QApplication::clipboard()->setText(lines.join('\n'));
    });
    bases->setEnabled(!SelectedLines().isEmpty());
    menu->insertAction(menu->actions().value(1), bases);
    return menu;
}

void ListBoxView::ClickItem(int i) { box_.UserClickItem(i); }
void ListBoxView::DoubleClickItem(int i) { box_.UserDoubleClickItem(i); }
void ListBoxView::KeyTo(int i, int keyCode) { box_.UserKeyTo(i, keyCode); }

FileListView::FileListView(ui::FileList& list, QWidget* parent, ViewContext& context)
    : ItemListView(list, parent, context), files_(list) {
    Refresh();
}

void FileListView::RefreshState() {
    ItemListView::RefreshState();
    QIcon icon = qlist_->style()->standardIcon(QStyle::SP_FileIcon);
    for (int i = 0; i < qlist_->count(); ++i)
        if (qlist_->item(i)->icon().isNull()) qlist_->item(i)->setIcon(icon);
}

void FileListView::ClickItem(int i) { files_.UserClickItem(i); }
void FileListView::DoubleClickItem(int i) { files_.UserDoubleClickItem(i); }
void FileListView::KeyTo(int i, int) { files_.UserClickItem(i); }

// ---------------------------------------------------------------- drop-down lists

ComboBoxView::ComboBoxView(ui::ComboBox& combo, QWidget* parent, ViewContext& context)
    : ControlView(combo, new QComboBox(parent), context), combo_(combo), qcombo_(static_cast<QComboBox*>(Widget())) {
    qcombo_->setFont(FontFor(combo.fontName));
    qcombo_->setEditable(false);
    qcombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    qcombo_->setMinimumContentsLength(12);
    connect(qcombo_, &QComboBox::activated, this, [this](int i) {
        if (!FromUser()) return;
        combo_.UserSelect(i);
        Refresh();
    });
    Refresh();
}

void ComboBoxView::RefreshState() {
    ControlView::RefreshState();
    // Items are shown as the window words them; what a caption leaves out is in its tool tip.
    std::vector<std::string> captions;
    for (int i = 0; i < combo_.ListCount(); ++i) captions.push_back(combo_.Shown(i).caption);
    bool changed = SyncItems(
        captions, shown_, [this] { qcombo_->clear(); },
        [this](const std::string& s) {
            qcombo_->addItem(ToQt(s));
            std::string tip = combo_.Shown(qcombo_->count() - 1).toolTip;
            if (!tip.empty()) qcombo_->setItemData(qcombo_->count() - 1, ToQt(tip), Qt::ToolTipRole);
        });
    if (changed) {
        // The drop-down shows whole items, however narrow the box is laid out.
        int widest = 0;
        QFontMetrics fm(qcombo_->font());
        for (int i = 0; i < qcombo_->count() && i < 300; ++i)
            widest = std::max(widest, fm.horizontalAdvance(qcombo_->itemText(i)));
        qcombo_->view()->setMinimumWidth(std::min(widest + 40, 1100));
    }
    int index = combo_.ListIndex();
    if (qcombo_->currentIndex() != index) qcombo_->setCurrentIndex(index);
    qcombo_->setPlaceholderText(index < 0 ? ToQt(combo_.Text()) : QString());
    std::string whole = index >= 0 ? combo_.Shown(index).toolTip : std::string();
    if (!whole.empty()) SetToolTip(qcombo_, whole + "\n\n" + combo_.ToolTipText());
}

namespace {

// How a root of the file system is named in the drive list.
QString DriveLabel(const std::string& root) {
    QString path = ToQt(root);
    if (path == QDir::homePath()) return path + "  (home folder)";
    if (path == "/") return path + "  (file system)";
    QStorageInfo volume(path);
    QString name = volume.isValid() ? volume.displayName() : QString();
    if (!name.isEmpty() && name != path) return path + "  (" + name + ")";
    return path;
}

}  // namespace

DriveListView::DriveListView(ui::DriveList& drives, QWidget* parent, ViewContext& context)
    : ControlView(drives, new QComboBox(parent), context), drives_(drives), qcombo_(static_cast<QComboBox*>(Widget())) {
    qcombo_->setEditable(false);
    connect(qcombo_, &QComboBox::activated, this, [this](int i) {
        if (!FromUser()) return;
        drives_.UserChoose(i);
        Refresh();
    });
    Refresh();
}

void DriveListView::RefreshState() {
    ControlView::RefreshState();
    QIcon icon = qcombo_->style()->standardIcon(QStyle::SP_DriveHDIcon);
    SyncItems(
        drives_.Items(), shown_, [this] { qcombo_->clear(); },
        [this, &icon](const std::string& s) { qcombo_->addItem(icon, DriveLabel(s)); });
    if (qcombo_->currentIndex() != drives_.ListIndex()) qcombo_->setCurrentIndex(drives_.ListIndex());
}

// ---------------------------------------------------------------- the directory tree

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kEntryRole = Qt::UserRole + 1;

}  // namespace

DirTreeView::DirTreeView(ui::DirList& dirs, QWidget* parent, ViewContext& context)
    : ControlView(dirs, new QTreeWidget(parent), context),
      dirs_(dirs),
      tree_(static_cast<QTreeWidget*>(Widget())),
      viewport_(tree_->viewport()) {
    tree_->setFont(FontFor(dirs.fontName));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setFocusPolicy(Qt::StrongFocus);
    tree_->setIndentation(14);
    tree_->setItemsExpandable(false);
    tree_->setRootIsDecorated(false);
    tree_->setExpandsOnDoubleClick(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Watch(viewport_);
    Refresh();
}

void DirTreeView::Rebuild() {
    tree_->clear();
    shownPath_ = dirs_.Path();
    shownItems_ = dirs_.Items();
    viewHighlight_.clear();
    if (shownPath_.empty()) return;
    QIcon open = tree_->style()->standardIcon(QStyle::SP_DirOpenIcon);
    QIcon closed = tree_->style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The ancestors, from the root down to the current directory.
    std::vector<std::string> chain;
    for (std::filesystem::path p(shownPath_);; p = p.parent_path()) {
        chain.push_back(p.string());
        if (p == p.parent_path() || p.string() == "/") break;
    }
    std::reverse(chain.begin(), chain.end());
    bool hasParentEntry = !shownItems_.empty() && shownItems_.front() == "..";
    QTreeWidgetItem* node = nullptr;
    for (size_t k = 0; k < chain.size(); ++k) {
        std::string name = k == 0 ? chain[k] : std::filesystem::path(chain[k]).filename().string();
        auto* item = node ? new QTreeWidgetItem(node) : new QTreeWidgetItem(tree_);
        item->setText(0, ToQt(name));
        item->setIcon(0, open);
        item->setData(0, kPathRole, ToQt(chain[k]));
        // The parent directory is the list's ".." entry.
        item->setData(0, kEntryRole, (hasParentEntry && k + 2 == chain.size()) ? 0 : -1);
        node = item;
    }
    QFont bold = node->font(0);
    bold.setBold(true);
    node->setFont(0, bold);
    for (size_t i = 0; i < shownItems_.size(); ++i) {
        if (shownItems_[i] == "..") continue;
        auto* child = new QTreeWidgetItem(node);
        child->setText(0, ToQt(shownItems_[i]));
        child->setIcon(0, closed);
        child->setData(0, kPathRole, ToQt((std::filesystem::path(shownPath_) / shownItems_[i]).string()));
        child->setData(0, kEntryRole, static_cast<int>(i));
    }
    tree_->expandAll();
}

QTreeWidgetItem* DirTreeView::NodeOfEntry(int entry) const {
    QTreeWidgetItem* current = NodeOfPath(shownPath_);
    if (entry < 0) return current;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if ((*it)->data(0, kEntryRole).toInt() == entry) return *it;
    return current;
}

QTreeWidgetItem* DirTreeView::NodeOfPath(const std::string& path) const {
    QString p = ToQt(path);
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if ((*it)->data(0, kPathRole).toString() == p) return *it;
    return nullptr;
}

void DirTreeView::RefreshState() {
    ControlView::RefreshState();
    if (dirs_.Path() != shownPath_ || dirs_.Items() != shownItems_) Rebuild();
    if (dirs_.ListIndex() >= 0) viewHighlight_.clear();
    QTreeWidgetItem* node = viewHighlight_.empty() ? NodeOfEntry(dirs_.ListIndex()) : NodeOfPath(viewHighlight_);
    if (node && tree_->currentItem() != node) {
        tree_->setCurrentItem(node);
        tree_->scrollToItem(node);
    }
}

void DirTreeView::Open(QTreeWidgetItem* node) {
    int entry = node->data(0, kEntryRole).toInt();
    std::string path = FromQt(node->data(0, kPathRole).toString());
    if (entry >= 0) {
        dirs_.UserOpen(entry);
    } else if (path != dirs_.Path()) {
        dirs_.UserOpenPath(path);
    } else {
        dirs_.UserFocus();
    }
}

void DirTreeView::Highlight(QTreeWidgetItem* node) {
    int entry = node->data(0, kEntryRole).toInt();
    std::string path = FromQt(node->data(0, kPathRole).toString());
    // An ancestor without an entry is highlighted by the view alone; Enter opens it.
    viewHighlight_ = (entry < 0 && path != dirs_.Path()) ? path : std::string();
    dirs_.UserHighlight(entry);
}

bool DirTreeView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && FromUser()) {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() != Qt::LeftButton) return true;
                QTreeWidgetItem* node = tree_->itemAt(me->position().toPoint());
                if (node) {
                    Open(node);
                } else {
                    dirs_.UserFocus();
                }
                Refresh();
                return true;
            }
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseMove: return true;
            default: break;
        }
    }
    return ControlView::eventFilter(watched, event);
}

bool DirTreeView::KeyPressed(QKeyEvent* event) {
    QTreeWidgetItem* current = tree_->currentItem();
    QTreeWidgetItem* target = nullptr;
    switch (event->key()) {
        case Qt::Key_Up: target = current ? tree_->itemAbove(current) : nullptr; break;
        case Qt::Key_Down: target = current ? tree_->itemBelow(current) : nullptr; break;
        case Qt::Key_Home: target = tree_->topLevelItem(0); break;
        case Qt::Key_End: {
            for (QTreeWidgetItemIterator it(tree_); *it; ++it) target = *it;
            break;
        }
        case Qt::Key_Left:
        case Qt::Key_Backspace:
            if (!dirs_.Items().empty() && dirs_.Items().front() == "..") dirs_.UserOpen(0);
            Refresh();
            return true;
        default: break;
    }
    if (target) {
        Highlight(target);
        Refresh();
        return true;
    }
    if (IsEnter(event) && !viewHighlight_.empty()) {
        std::string path = viewHighlight_;
        dirs_.UserOpenPath(path);
        Refresh();
        return true;
    }
    if (ControlView::KeyPressed(event)) return true;
    return IsNavigationKey(event->key()) || event->key() == Qt::Key_Right ||
           (!event->text().isEmpty() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab &&
            event->key() != Qt::Key_Escape);
}

// ---------------------------------------------------------------- menus

MenuItemView::MenuItemView(ui::MenuItem& item, QAction* action, ViewContext& context)
    : ControlView(item, nullptr, context), item_(item), action_(action) {
    action_->setObjectName(ToQt(item.Name()));
    setParent(action_);
    connect(action_, &QAction::triggered, this, [this] {
        if (!FromUser()) return;
        item_.UserClick();
        Refresh();
    });
    Refresh();
}

void MenuItemView::RefreshState() {
    action_->setText(ToQt(item_.Caption()));
    action_->setVisible(item_.Visible());
    action_->setEnabled(item_.Enabled());
    SetToolTip(action_, item_.ToolTipText());
}

// ---------------------------------------------------------------- making views

ControlView* CreateControlView(ui::Control& control, QWidget* parent, ViewContext& context, const WidgetHints& hints) {
    if (auto* c = dynamic_cast<ui::DriveList*>(&control)) return new DriveListView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::Grid*>(&control)) return new GridView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::ProgressBar*>(&control)) return new ProgressBarView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::DirList*>(&control)) return new DirTreeView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::FileList*>(&control)) return new FileListView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::ListBox*>(&control)) return new ListBoxView(*c, parent, context, hints);
    if (auto* c = dynamic_cast<ui::ComboBox*>(&control)) return new ComboBoxView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::Label*>(&control)) return new LabelView(*c, parent, context, hints);
    if (auto* c = dynamic_cast<ui::TextBox*>(&control)) return new TextBoxView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::CheckBox*>(&control)) return new CheckBoxView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::OptionButton*>(&control)) return new OptionButtonView(*c, parent, context);
    if (auto* c = dynamic_cast<ui::CommandButton*>(&control)) return new CommandButtonView(*c, parent, context);
    return nullptr;
}

}  // namespace varigap::gui
