// A directory list opened at a directory that is none of its entries: what a tree view does
// when the user clicks an ancestor of the current directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "ui/controls.h"
#include "ui/file_controls.h"

namespace varigap::ui {
namespace {

using test::TempDir;

TEST(FileControls, TheUserOpensAnAncestorOfTheCurrentDirectory) {
    TempDir tmp;
    tmp.Write("a/b/c/f.txt", "");
    Desktop d;
    Window w(d, "FLoad");
    DirList dir(w, "Dir1");
    std::vector<std::string> changes;
    dir.Change.Connect([&] { changes.push_back(dir.Path()); });
    w.Show();
    dir.SetPath(tmp.Path("a/b/c"));
    changes.clear();

    dir.UserOpenPath(tmp.Path("a"));
    EXPECT_EQ(dir.Path(), tmp.Path("a"));
    EXPECT_EQ(dir.Items(), (std::vector<std::string>{"..", "b"}));
    EXPECT_EQ(changes, (std::vector<std::string>{tmp.Path("a")}));  // one Change, no steps between
    EXPECT_TRUE(dir.HasFocus());

    dir.UserOpenPath(tmp.Path("a"));  // where it already is: no Change
    EXPECT_EQ(changes.size(), 1u);
}

TEST(FileControls, OpeningAnUnreadableDirectoryByPathStaysWhereItWas) {
    TempDir tmp;
    tmp.Write("a/f.txt", "");
    Desktop d;
    Window w(d, "FLoad");
    DirList dir(w, "Dir1");
    w.Show();
    dir.SetPath(tmp.Path("a"));
    dir.UserOpenPath(tmp.Path("missing"));
    EXPECT_EQ(dir.Path(), tmp.Path("a"));

    dir.SetVisible(false);  // hidden controls ignore the user
    dir.UserOpenPath(tmp.Path());
    EXPECT_EQ(dir.Path(), tmp.Path("a"));
}

}  // namespace
}  // namespace varigap::ui
