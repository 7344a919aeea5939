// Logic errors, run-time errors and missing input files as the user sees them reported.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "core/state.h"
#include "core/textfile.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(Reporting, LogicAndRunTimeErrorsAreShownWithTheirTitlesWhileTheirOptionIsOn) {
    test::TestState t;
    Assert(t.st, true);
    Assert(t.st, false);
    EXPECT_TRUE(Trapped(t.st, [] {}));
    EXPECT_FALSE(Trapped(t.st, [] {
        Integer x = 32767;
        x += 1;
    }));
    EXPECT_FALSE(Trapped(t.st, [] {
        Table<int, 3> tab;
        tab[4] = 1;
    }));
    t.session.showAssertFailures = t.session.showRunTimeErrors = false;
    Assert(t.st, false);
    EXPECT_FALSE(Trapped(t.st, [] { RaiseError(kErrDiskFull); }));
    std::string shown;
    for (const auto& m : t.msgs.shown) shown += m.title + ": " + m.text + "\n";
    EXPECT_EQ(shown,
              "Varigap Logic Error: Varigap internal logic error. The programmer's false assumptions may have "
              "unexpected consequences.\n"
              "Varigap Run-Time Error: Run-Time Error #6: Overflow\n"
              "Varigap Run-Time Error: Run-Time Error #9: Subscript out of range\n");
}

TEST(Reporting, OpenInputFileNamesTheMissingFileAndFindsOtherCasesWhenUnique) {
    test::TestState t;
    test::TempDir dir;
    dir.Write("sub/.hidden", "a\r\nb");
    dir.Write("Intron.TXT", "x");
    struct {
        std::string path, name;
        bool opened;
    } cases[] = {{dir.Path(), "", false},
                 {dir.Path() + "/", "x.txt", false},
                 {dir.Path("sub"), ".hidden", true},
                 {dir.Path(), "sub", false},  // a directory
                 {dir.Path(), "intron.txt", true}};
    for (const auto& c : cases) {
        TextReader f;
        EXPECT_EQ(OpenInputFile(t.st, f, c.path, c.name, "Varigap Template File"), c.opened) << c.name;
        EXPECT_EQ(f.IsOpen(), c.opened);
    }
    dir.Write("INTRON.txt", "y");  // two files differ from the name in case only: neither is taken
    TextReader f;
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "intron.txt", "Varigap Variable Region File"));
    EXPECT_EQ(t.msgs.Texts(),
              (std::vector<std::string>{
                  "Error: Varigap Template File \"" + dir.Path() + "/\" not found.",
                  "Error: Varigap Template File \"" + dir.Path() + "/x.txt\" not found.",
                  "Error: Varigap Template File \"" + dir.Path("sub") + "\" not found.",
                  "Error: Varigap Variable Region File \"" + dir.Path("intron.txt") + "\" not found."}));
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap");
}

}  // namespace
}  // namespace varigap
