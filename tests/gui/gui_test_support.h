// What the Qt tests share: letting events run, the user's mouse and keys on widgets, and
// answering the message box that is about to open.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "gui/control_views.h"
#include "gui/layouts.h"
#include "gui/window_view.h"

namespace varigap::test {

// Lets Qt deliver what is pending (activation, focus, layout, painting).
inline void ProcessEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A window of the logic drawn in a new top-level widget of the kind named, shown and settled.
struct Drawn {
    State st;
    std::unique_ptr<QWidget> top;
    gui::WindowView* view;
    Drawn(ui::Window& w, const char* kind, QWidget* mainWindow = nullptr)
        : top(gui::MakeTopLevel(kind, mainWindow)), view(new gui::WindowView(w, top.get())) {
        gui::LayOut(*view, st);
        if (!mainWindow) w.Show();
        ProcessEvents();
    }
    ~Drawn() {
        gui::SyncGuard quiet;
        top.reset();
    }
    template <class T>
    T* Get(const char* name) const {
        return view->WidgetAs<T>(name);
    }
};

inline void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
// A check box or option button is hit on its box, whatever width the layout gives it.
inline void ClickBox(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(8, w->height() / 2)); }

// The mouse on a line of a list widget.
inline void ClickRow(QListWidget* list, int row, bool dbl = false) {
    QRect r = list->visualItemRect(list->item(row));
    if (dbl) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    } else {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
}

inline int RowOf(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return i;
    return -1;
}

inline QStringList Rows(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// The mouse on a node of a directory tree, found by its text.
inline bool ClickNode(QTreeWidget* tree, const QString& text) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) != text) continue;
        tree->scrollToItem(*it);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(*it).center());
        return true;
    }
    return false;
}

// What a message box showed.
struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Answers the next message boxes to open, from inside their modal loops, with the given
// buttons in turn, and records what each showed. Lives on the test's stack around the
// actions that open the boxes.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer(std::initializer_list<QMessageBox::StandardButton> answers) : answers_(answers) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start();
    }
    explicit BoxAnswerer(QMessageBox::StandardButton answer) : BoxAnswerer({answer}) {}
    ~BoxAnswerer() override { timer_.stop(); }

    std::vector<SeenBox> seen;
    // The first box, for tests of one box.
    bool shown() const { return !seen.empty(); }
    const SeenBox& first() const { return seen.at(0); }

private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->property("answeredByTest").toBool()) return;
        box->setProperty("answeredByTest", true);
        SeenBox b;
        b.title = box->windowTitle();
        b.text = box->text();
        b.icon = box->icon();
        b.buttons = box->standardButtons();
        b.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        seen.push_back(b);
        QMessageBox::StandardButton answer = answers_[std::min(seen.size(), answers_.size()) - 1];
        if (seen.size() >= answers_.size()) timer_.stop();
        if (QAbstractButton* button = box->button(answer)) button->click();
    }
    std::vector<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

}  // namespace varigap::test
