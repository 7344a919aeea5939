// Where settings are read from and saved, on real folders laid out as a portable copy and as an
// installed copy (PREFIX/bin, PREFIX/share/varigap, the user's configuration folder).
#include "settings/locations.h"

#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "settings/settings_files.h"
#include "support/temp_dir.h"

namespace varigap {
namespace {

// Takes the right to write into `dir` away while it lives. Permission bits do not bind root,
// and the tests run as root: so for root this thread's file-system user becomes "nobody"
// (setfsuid to a non-zero id drops root's power to override permissions; back to 0 restores it).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& dir) : dir_(dir) {
        ::chmod(dir_.c_str(), 0555);
        if (root_) ::setfsgid(65534), ::setfsuid(65534);
    }
    ~ReadOnlyFolder() {
        if (root_) ::setfsuid(0), ::setfsgid(0);
        ::chmod(dir_.c_str(), 0755);
    }

private:
    std::string dir_;
    bool root_ = ::geteuid() == 0;
};

// A portable copy or build folder that holds settings and can be written keeps them beside
// itself, whatever the user's folder holds; otherwise they go to the user's folder.
TEST(Locations, SettingsAreReadWhereSaveKeepsThemFirstAndKeptBesideTheProgramOnlyWhenItCan) {
    enum { kBin, kShare, kConfig };
    struct Case {
        const char* what;
        bool inBin, inShare, inConfig, binWritable;
        int read, save;
    } cases[] = {
        {"portable copy, the user's settings elsewhere", true, true, true, true, kBin, kBin},
        {"installed, first start", false, true, false, false, kShare, kConfig},
        {"installed, after a Save", false, true, true, false, kConfig, kConfig},
        {"installed in a writable folder", false, true, false, true, kShare, kConfig},
        {"read-only portable copy", true, false, false, false, kBin, kConfig},
        {"read-only portable copy, after a Save", true, false, true, false, kConfig, kConfig},
        {"no settings anywhere: reported beside the program", false, false, false, true, kBin, kConfig},
    };
    // The program in prefix/bin, its installed data in prefix/share/varigap, the user's folder.
    const char* dirs[] = {"prefix/bin", "prefix/share/varigap", "config/varigap"};
    for (const Case& c : cases) {
        test::TempDir root;
        ::chmod(root.Path().c_str(), 0755);  // open to "nobody"
        root.Write("prefix/bin/varigap", "");
        root.Write("prefix/share/varigap/README", "");
        const bool holds[] = {c.inBin, c.inShare, c.inConfig};
        for (int d : {kBin, kShare, kConfig})
            if (holds[d]) root.Write(std::string(dirs[d]) + "/" + kParamsFileName, "");
        Session session;
        session.programDir = root.Path(dirs[kBin]);
        session.dataDir = InstalledDataDirectory(session.programDir);
        session.configDir = root.Path(dirs[kConfig]);
        std::optional<ReadOnlyFolder> readOnly;
        if (!c.binWritable) readOnly.emplace(session.programDir);
        EXPECT_EQ(SettingsReadDirectory(session, kParamsFileName), root.Path(dirs[c.read])) << c.what;
        EXPECT_EQ(SettingsSaveDirectory(session), root.Path(dirs[c.save])) << c.what;
    }
}

}  // namespace
}  // namespace varigap
