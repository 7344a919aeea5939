// Text files: every line end, a byte order mark, and writes that never leave half a file.
#include "core/textfile.h"

#include <gtest/gtest.h>

#include "core/types.h"
#include "support/temp_dir.h"

namespace varigap {
namespace {

std::vector<std::string> Lines(const std::string& path) {
    TextReader r;
    r.Open(path);
    std::vector<std::string> out;
    std::string line;
    while (r.ReadLine(line)) out.push_back(line);
    return out;
}

TEST(TextFiles, ReadsEveryKindOfLineEnd) {
    test::TempDir dir;
    using V = std::vector<std::string>;
    EXPECT_EQ(Lines(dir.Write("a", "x\r\ny\r\n")), (V{"x", "y"}));
    EXPECT_EQ(Lines(dir.Write("b", "x\ny")), (V{"x", "y"}));
    EXPECT_EQ(Lines(dir.Write("c", "\xEF\xBB\xBFx\r\n\r\nz")), (V{"x", "", "z"}));
    EXPECT_EQ(Lines(dir.Write("d", "")), V{});
    EXPECT_EQ(Lines(dir.Write("e", "x\ry\n")), (V{"x", "y"}));
    std::string big(200000, 'a');
    EXPECT_EQ(Lines(dir.Write("f", big + "\n" + big)), (V{big, big}));
}

TEST(TextFiles, MissingFilesRaiseFileNotFound) {
    test::TempDir dir;
    TextReader r;
    try {
        r.Open(dir.Path("nope"));
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number(), 53);
    }
}

TEST(TextFiles, AWriteReplacesTheTargetOnlyWhenCommitted) {
    test::TempDir dir;
    dir.Write("out.txt", "old");
    {
        TextWriter w;
        w.Open(dir.Path("out.txt"));
        w.WriteLine("new");
        // dropped without Commit: the old file stays
    }
    EXPECT_EQ(dir.Read("out.txt"), "old");
    TextWriter w;
    w.Open(dir.Path("out.txt"));
    w.WriteLine("new");
    w.Commit();
    EXPECT_EQ(dir.Read("out.txt"), "new\r\n");
    EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"out.txt"});  // no temporary left
    TextWriter bad;
    try {
        bad.Open(dir.Path("missing/out.txt"));
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number(), 76);
    }
}

}  // namespace
}  // namespace varigap
