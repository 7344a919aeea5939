// Message boxes and questions as Qt dialogs: the title, text, buttons and icon asked for, and
// the button pressed as the answer.
#include <gtest/gtest.h>

#include "core/state.h"
#include "gui/messenger.h"
#include "gui_test_support.h"

namespace varigap::gui {
namespace {

using test::BoxAnswerer;

TEST(MessageBoxes, AMessageWithAnOkButton) {
    QtMessenger messenger;
    State st;
    st.messenger = &messenger;
    BoxAnswerer box(QMessageBox::Ok);
    MsgBox(st, "Output file \"S1.txt\" has been written.");
    ASSERT_TRUE(box.shown());
    EXPECT_EQ(box.first().title, "Varigap");
    EXPECT_EQ(box.first().text, "Output file \"S1.txt\" has been written.");
    EXPECT_EQ(box.first().buttons, QMessageBox::Ok);
    EXPECT_EQ(box.first().icon, QMessageBox::NoIcon);
    ASSERT_EQ(messenger.shown.size(), 1u);
}

TEST(MessageBoxes, QuestionsAnswerWithTheButtonPressed) {
    struct Case {
        MsgButtons buttons;
        QMessageBox::StandardButton press;
        MsgAnswer answer;
        QMessageBox::StandardButtons shown;
    } cases[] = {
        {MsgButtons::YesNo, QMessageBox::Yes, MsgAnswer::Yes, QMessageBox::Yes | QMessageBox::No},
        {MsgButtons::YesNo, QMessageBox::No, MsgAnswer::No, QMessageBox::Yes | QMessageBox::No},
        {MsgButtons::YesNoCancel, QMessageBox::Cancel, MsgAnswer::Cancel,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
        {MsgButtons::YesNoCancel, QMessageBox::No, MsgAnswer::No,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
    };
    for (const Case& c : cases) {
        QtMessenger messenger;
        State st;
        st.messenger = &messenger;
        BoxAnswerer box(c.press);
        MsgAnswer a = Ask(st, "Output File /tmp/S1.txt already exists.\r\nDo you want to overwrite it?", "Varigap",
                          c.buttons);
        EXPECT_EQ(a, c.answer);
        ASSERT_TRUE(box.shown());
        EXPECT_EQ(box.first().buttons, c.shown);
        EXPECT_EQ(box.first().icon, QMessageBox::Question);
        EXPECT_EQ(box.first().defaultButton, QMessageBox::Yes);
        // A line break written CR LF is one line break on the screen.
        EXPECT_EQ(box.first().text, "Output File /tmp/S1.txt already exists.\nDo you want to overwrite it?");
    }
}

TEST(MessageBoxes, IconsAsAsked) {
    const std::pair<MsgIcon, QMessageBox::Icon> cases[] = {
        {MsgIcon::None, QMessageBox::NoIcon},
        {MsgIcon::Information, QMessageBox::Information},
        {MsgIcon::Question, QMessageBox::Question},
        {MsgIcon::Exclamation, QMessageBox::Warning},
        {MsgIcon::Critical, QMessageBox::Critical},
    };
    for (auto [icon, qt] : cases) {
        QtMessenger messenger;
        State st;
        st.messenger = &messenger;
        BoxAnswerer box(QMessageBox::Ok);
        MsgBox(st, "Run-Time Error #53: File not found", "Varigap Run-Time Error", icon);
        ASSERT_TRUE(box.shown());
        EXPECT_EQ(box.first().icon, qt);
        EXPECT_EQ(box.first().title, "Varigap Run-Time Error");
    }
}

TEST(MessageBoxes, AnsweredWithoutADialogWhenTold) {
    QtMessenger messenger;
    messenger.answerer = [](const Message&) { return MsgAnswer::No; };
    State st;
    st.messenger = &messenger;
    EXPECT_EQ(Ask(st, "Overwrite?", "Varigap", MsgButtons::YesNo), MsgAnswer::No);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "Overwrite?");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace varigap::gui
