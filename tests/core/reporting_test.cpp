// Logic errors, run-time errors and missing input files as the user sees them reported.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "core/state.h"
#include "core/textfile.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(Reporting, AssertShowsTheLogicErrorOnlyWhileEnabled) {
    test::TestState t;
    Assert(t.st, true);
    EXPECT_TRUE(t.msgs.shown.empty());
    Assert(t.st, false);
    ASSERT_EQ(t.msgs.shown.size(), 1u);
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap Logic Error");
    EXPECT_EQ(t.msgs.shown[0].text,
              "Varigap internal logic error. The programmer's false assumptions may have unexpected consequences.");
    t.st.showAssertFailures = false;
    Assert(t.st, false);
    EXPECT_EQ(t.msgs.shown.size(), 1u);
}

TEST(Reporting, RunTimeErrorsCarryTheirNumberAndObeyTheOption) {
    test::TestState t;
    EXPECT_FALSE(Trapped(t.st, [] { Integer x = 32767; x += 1; }));
    ASSERT_EQ(t.msgs.shown.size(), 1u);
    EXPECT_EQ(t.msgs.shown[0].text, "Run-Time Error #6: Overflow");
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap Run-Time Error");
    EXPECT_FALSE(Trapped(t.st, [] { Table<int, 3> tab; tab[4] = 1; }));
    EXPECT_EQ(t.msgs.shown[1].text, "Run-Time Error #9: Subscript out of range");
    t.st.showRunTimeErrors = false;
    EXPECT_FALSE(Trapped(t.st, [] { RaiseError(kErrDiskFull); }));
    EXPECT_EQ(t.msgs.shown.size(), 2u);
    EXPECT_TRUE(Trapped(t.st, [] {}));
}

TEST(Reporting, IntegersAreCheckedSixteenBitQuantities) {
    EXPECT_EQ(int(Integer(-32768)), -32768);
    EXPECT_EQ(int(Integer(32767)), 32767);
    EXPECT_THROW(Integer(32768), RunTimeError);
    EXPECT_THROW(Integer(-32769), RunTimeError);
    EXPECT_THROW(Len(std::string(40000, 'a')), RunTimeError);
    EXPECT_EQ(int(RoundToInteger(80.5)), 80);
    EXPECT_EQ(int(RoundToInteger(81.5)), 82);
    EXPECT_EQ(int(RoundToInteger(-2.5)), -2);
    EXPECT_THROW(RoundToInteger(32767.6), RunTimeError);
    Integer i = 5;
    EXPECT_EQ(int(MinInt(i, 5)), 5);
    EXPECT_EQ(int(MaxInt(5, 5)), 5);
    EXPECT_TRUE(IsValidPos(0) && IsValidPos(1) && IsValidPos(-3));
    EXPECT_FALSE(IsValidPos(-1) || IsValidPos(-2));
}

TEST(Reporting, OpenInputFileNamesTheMissingFileOnce) {
    test::TestState t;
    test::TempDir dir;
    TextReader f;
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "", "Varigap Template File"));
    ASSERT_EQ(t.msgs.shown.size(), 1u);
    EXPECT_EQ(t.msgs.shown[0].text, "Error: Varigap Template File \"" + dir.Path() + "/\" not found.");
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap");
    EXPECT_FALSE(f.IsOpen());

    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path() + "/", "x.txt", "Varigap Help File"));
    EXPECT_EQ(t.msgs.shown[1].text, "Error: Varigap Help File \"" + dir.Path() + "/x.txt\" not found.");

    dir.Write("sub/.hidden", "a\r\nb");
    EXPECT_TRUE(OpenInputFile(t.st, f, dir.Path("sub"), ".hidden", "Varigap Sequence File"));
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "a");
    // A directory of that name is not a file.
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "sub", "Varigap Sequence File"));
    EXPECT_EQ(t.msgs.shown.size(), 3u);
}

TEST(Reporting, FilesNamedInAnotherCaseAreFoundWhenUnique) {
    test::TestState t;
    test::TempDir dir;
    dir.Write("Intron.TXT", "x");
    TextReader f;
    EXPECT_TRUE(OpenInputFile(t.st, f, dir.Path(), "intron.txt", "Varigap Variable Region File"));
    dir.Write("INTRON.txt", "y");
    f.Close();
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "intron.txt", "Varigap Variable Region File"));
    EXPECT_EQ(t.msgs.shown.size(), 1u);
}

}  // namespace
}  // namespace varigap
