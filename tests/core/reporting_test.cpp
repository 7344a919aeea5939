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
    EXPECT_FALSE(Trapped(t.st, [] {
        Integer x = 32767;
        x += 1;
    }));
    ASSERT_EQ(t.msgs.shown.size(), 1u);
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap Run-Time Error");
    EXPECT_FALSE(Trapped(t.st, [] {
        Table<int, 3> tab;
        tab[4] = 1;
    }));
    EXPECT_EQ(t.msgs.Texts(),
              (std::vector<std::string>{"Run-Time Error #6: Overflow", "Run-Time Error #9: Subscript out of range"}));
    t.st.showRunTimeErrors = false;
    EXPECT_FALSE(Trapped(t.st, [] { RaiseError(kErrDiskFull); }));
    EXPECT_EQ(t.msgs.shown.size(), 2u);
    EXPECT_TRUE(Trapped(t.st, [] {}));
}

TEST(Reporting, IntegersAreCheckedSixteenBitQuantities) {
    EXPECT_EQ(int(Integer(-32768)) + int(Integer(32767)), -1);
    for (int v : {32768, -32769}) EXPECT_THROW(Integer{v}, RunTimeError);
    EXPECT_THROW(Len(std::string(40000, 'a')), RunTimeError);
    for (auto [x, rounded] : {std::pair{80.5, 80}, {81.5, 82}, {-2.5, -2}}) EXPECT_EQ(int(RoundToInteger(x)), rounded);
    EXPECT_THROW(RoundToInteger(32767.6), RunTimeError);
    EXPECT_TRUE(IsValidPos(0) && IsValidPos(1) && IsValidPos(-3));
    EXPECT_FALSE(IsValidPos(-1) || IsValidPos(-2));
}

TEST(Reporting, OpenInputFileNamesTheMissingFileAndFindsOtherCasesWhenUnique) {
    test::TestState t;
    test::TempDir dir;
    TextReader f;
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "", "Varigap Template File"));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path() + "/", "x.txt", "Varigap Help File"));
    EXPECT_EQ(t.msgs.Texts(),
              (std::vector<std::string>{"Error: Varigap Template File \"" + dir.Path() + "/\" not found.",
                                        "Error: Varigap Help File \"" + dir.Path() + "/x.txt\" not found."}));
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap");
    dir.Write("sub/.hidden", "a\r\nb");
    EXPECT_TRUE(OpenInputFile(t.st, f, dir.Path("sub"), ".hidden", "Varigap Sequence File"));
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "a");
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "sub", "Varigap Sequence File"));  // a directory
    dir.Write("Intron.TXT", "x");
    EXPECT_TRUE(OpenInputFile(t.st, f, dir.Path(), "intron.txt", "Varigap Variable Region File"));
    dir.Write("INTRON.txt", "y");
    f.Close();
    EXPECT_FALSE(OpenInputFile(t.st, f, dir.Path(), "intron.txt", "Varigap Variable Region File"));
    EXPECT_EQ(t.msgs.shown.size(), 4u);
}

}  // namespace
}  // namespace varigap
