// Message boxes and questions as Qt dialogs: the title, text, buttons and icon asked for, and
// the button pressed as the answer.
#include <gtest/gtest.h>

#include "core/state.h"
#include "gui/messenger.h"
#include "gui_test_support.h"

namespace varigap::gui {
namespace {

TEST(MessageBoxes, ButtonsIconsAndAnswers) {
    using B = QMessageBox;
    const auto yesNo = B::Yes | B::No, yesNoCancel = B::Yes | B::No | B::Cancel;
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        B::StandardButton press;
        MsgAnswer answer;
        B::StandardButtons shown;
        B::Icon qtIcon;
    } cases[] = {
        {MsgButtons::Ok, MsgIcon::None, B::Ok, MsgAnswer::Ok, B::Ok, B::NoIcon},
        {MsgButtons::Ok, MsgIcon::Information, B::Ok, MsgAnswer::Ok, B::Ok, B::Information},
        {MsgButtons::Ok, MsgIcon::Exclamation, B::Ok, MsgAnswer::Ok, B::Ok, B::Warning},
        {MsgButtons::Ok, MsgIcon::Critical, B::Ok, MsgAnswer::Ok, B::Ok, B::Critical},
        {MsgButtons::YesNo, MsgIcon::Question, B::Yes, MsgAnswer::Yes, yesNo, B::Question},
        {MsgButtons::YesNo, MsgIcon::Question, B::No, MsgAnswer::No, yesNo, B::Question},
        {MsgButtons::YesNoCancel, MsgIcon::Question, B::Cancel, MsgAnswer::Cancel, yesNoCancel, B::Question},
        {MsgButtons::YesNoCancel, MsgIcon::Question, B::No, MsgAnswer::No, yesNoCancel, B::Question},
    };
    for (const Case& c : cases) {
        QtMessenger messenger;
        State st;
        st.messenger = &messenger;
        test::BoxAnswerer box(c.press);
        MsgAnswer a =
            c.buttons == MsgButtons::Ok
                ? (MsgBox(st, "Output File S1.txt\r\nwritten.", "Varigap Run-Time Error", c.icon), MsgAnswer::Ok)
                : Ask(st, "Output File S1.txt\r\nwritten.", "Varigap Run-Time Error", c.buttons);
        EXPECT_EQ(a, c.answer);
        ASSERT_TRUE(box.shown());
        EXPECT_EQ(box.first().title, "Varigap Run-Time Error");
        EXPECT_EQ(box.first().text, "Output File S1.txt\nwritten.");  // CR LF is one line break on the screen
        EXPECT_EQ(box.first().buttons, c.shown);
        EXPECT_EQ(box.first().icon, c.qtIcon);
        if (c.buttons != MsgButtons::Ok) {
            EXPECT_EQ(box.first().defaultButton, QMessageBox::Yes);
        }
        EXPECT_EQ(messenger.shown.size(), 1u);
    }
}

}  // namespace
}  // namespace varigap::gui
