// Text files: every line end, a byte order mark, and writes that never leave half a file.
#include "core/textfile.h"

#include <gtest/gtest.h>

#include "core/messages.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(TextFiles, ReadsEveryKindOfLineEndAfterAByteOrderMark) {
    test::TempDir dir;
    const std::string big(200000, 'a');
    TextReader r;
    r.Open(dir.Write("f", "\xEF\xBB\xBFx\r\n\r\ny\nz\r" + big + "\n" + big));
    std::vector<std::string> read;
    for (std::string line; r.ReadLine(line);) read.push_back(line);
    EXPECT_EQ(read, (std::vector<std::string>{"x", "", "y", "z", big, big}));
}

TEST(TextFiles, AWriteReplacesTheTargetOnlyWhenCommittedAndMissingPlacesRaise) {
    test::TempDir dir;
    dir.Write("out.txt", "old");
    for (bool commit : {false, true}) {
        TextWriter w;  // dropped without Commit the first time
        w.Open(dir.Path("out.txt"));
        w.WriteLine("new");
        EXPECT_EQ(dir.Read("out.txt"), "old");  // not before the commit, nor when dropped
        if (commit) w.Commit();
    }
    EXPECT_EQ(dir.Read("out.txt"), "new\r\n");
    EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"out.txt"});  // no temporary left
    test::TestState t;
    Trapped(t.st, [&] { TextReader().Open(dir.Path("nope")); });
    Trapped(t.st, [&] { TextWriter().Open(dir.Path("missing/out.txt")); });
    EXPECT_EQ(t.msgs.Texts(),
              (std::vector<std::string>{"Run-Time Error #53: File not found", "Run-Time Error #76: Path not found"}));
}

}  // namespace
}  // namespace varigap
