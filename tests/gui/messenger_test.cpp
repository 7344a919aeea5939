// A message box and a question as real Qt dialogs: the title, text, buttons, icon and default
// button the program asks for, and the button pressed coming back as the answer.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "core/state.h"
#include "gui/messenger.h"
#include "gui_test_support.h"

namespace varigap::gui {
namespace {

using B = QMessageBox;

TEST(MessageBoxes, TheButtonPressedIsTheAnswer) {
    const struct {
        MsgButtons buttons;
        B::StandardButton press;
        MsgAnswer answer;
        B::StandardButtons shown;
        B::Icon icon;
        B::StandardButton defaultButton;
    } cases[] = {
        {MsgButtons::Ok, B::Ok, MsgAnswer::Ok, B::Ok, B::Critical, B::Ok},
        {MsgButtons::YesNo, B::No, MsgAnswer::No, B::Yes | B::No, B::Question, B::No},  // Enter keeps the file
        {MsgButtons::YesNoCancel, B::Cancel, MsgAnswer::Cancel, B::Yes | B::No | B::Cancel, B::Question, B::Yes},
    };
    for (const auto& c : cases) {
        QtMessenger messenger;
        Session session;
        State st{session};
        st.messenger = &messenger;
        B* box = nullptr;
        // Inside the dialog's own event loop: what it shows, then the button pressed.
        QTimer::singleShot(0, [&] {
            box = qobject_cast<B*>(QApplication::activeModalWidget());
            if (!box) return;
            EXPECT_EQ(box->text(), "Output File S1.txt\nwritten.");  // CR LF is one line break on the screen
            EXPECT_EQ(box->windowTitle(), "Varigap");
            EXPECT_EQ(box->standardButtons(), c.shown);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
            box->button(c.press)->click();
        });
        MsgAnswer a = c.buttons == MsgButtons::Ok
                          ? (MsgBox(st, "Output File S1.txt\r\nwritten.", "Varigap", MsgIcon::Critical), MsgAnswer::Ok)
                          : Ask(st, "Output File S1.txt\r\nwritten.", "Varigap", c.buttons);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(a, c.answer);
    }
}

}  // namespace
}  // namespace varigap::gui
