// Text files: every line end, a byte order mark, and writes that never leave half a file.
#include "core/textfile.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

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
        if (commit) {
            EXPECT_TRUE(w.Commit());
        }
    }
    EXPECT_EQ(dir.Read("out.txt"), "new\r\n");
    EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"out.txt"});  // no temporary left
    test::TestState t;
    Trapped(t.st, [&] { TextReader().Open(dir.Path("nope")); });
    Trapped(t.st, [&] { TextWriter().Open(dir.Path("missing/out.txt")); });
    EXPECT_EQ(t.msgs.Texts(),
              (std::vector<std::string>{"Run-Time Error #53: File not found", "Run-Time Error #76: Path not found"}));
}

// Every directory entry in `dir`, hidden ones too: what a write may have left.
std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Writes a line to `path` and commits it; `between` runs after Open (another run, a signal).
bool WriteOurs(
    const std::string& path, Publish mode, bool named, const std::function<void()>& between = [] {}) {
    TextWriter w;
    if (named) w.UseNamedTemporary();
    w.Open(path, mode);
    w.WriteLine("ours");
    between();
    return w.Commit();
}

TEST(TextFiles, WithoutReplaceAnyEntryThatHasTheNameStaysAsItIs) {
    namespace fs = std::filesystem;
    const std::function<void(const std::string&)> kinds[] = {
        [](const std::string& p) { std::ofstream(p) << "theirs"; },
        [](const std::string& p) { fs::create_symlink("nowhere", p); },  // dangling
        [](const std::string& p) { fs::create_symlink(".", p); },        // to a folder
        [](const std::string& p) { fs::create_directory(p); },
    };
    for (const auto& make : kinds)
        for (bool named : {false, true})
            for (bool takenAfterOpen : {false, true}) {  // another run publishing first
                test::TempDir dir;
                const std::string path = dir.Path("out.txt");
                if (!takenAfterOpen) make(path);
                EXPECT_FALSE(WriteOurs(path, Publish::NoReplace, named, [&] {
                    if (takenAfterOpen) make(path);
                }));
                // Replaced, the entry would be a file holding our line.
                EXPECT_TRUE(!fs::is_regular_file(fs::symlink_status(path)) || dir.Read("out.txt") == "theirs");
                EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"out.txt"});
            }
}

TEST(TextFiles, AnyNameTheFileSystemTakesCanBeWritten) {
    const std::string name = std::string(251, 'n') + ".txt";  // 255 characters, the most there is
    for (Publish mode : {Publish::Replace, Publish::NoReplace})
        for (bool named : {false, true}) {
            test::TempDir dir;
            EXPECT_TRUE(WriteOurs(dir.Path(name), mode, named));
            EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{name});
        }
}

TEST(TextFiles, AWriteEndedBySignalsLeavesNoTemporaryFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (auto [named, sig] : {std::pair{true, SIGTERM}, {true, SIGINT}, {false, SIGKILL}, {false, SIGTERM}}) {
        test::TempDir dir;
        EXPECT_EXIT(WriteOurs(dir.Path("out.txt"), Publish::Replace, named, [sig = sig] { ::raise(sig); }),
                    testing::KilledBySignal(sig), "");
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{}) << sig;
    }
}

TEST(TextFiles, ACopyIsNotBrokenOffBySignals) {
    // A timer signal every 50 microseconds, with a handler that does not restart system calls.
    struct sigaction tick {};
    tick.sa_handler = [](int) {};
    sigaction(SIGALRM, &tick, nullptr);
    itimerval every{{0, 50}, {0, 50}}, off{};
    setitimer(ITIMER_REAL, &every, nullptr);
    test::TempDir dir;
    const std::string from = dir.Write("a.txt", std::string(4000, 'a')), to = dir.Path("b.txt");
    test::TestState t;
    int failed = 0;
    for (int i = 0; i < 1000; ++i) failed += !Trapped(t.st, [&] { CopyFileOver(from, to); });
    setitimer(ITIMER_REAL, &off, nullptr);
    signal(SIGALRM, SIG_DFL);
    EXPECT_EQ(failed, 0);
}

}  // namespace
}  // namespace varigap
