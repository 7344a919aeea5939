// Where the program's files live: the program's folder, an installed copy's data folder, the
// user's configuration folder.
#include "settings/locations.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/messages.h"
#include "settings/settings_files.h"

namespace fs = std::filesystem;

namespace varigap {

namespace {

bool Holds(const std::string& directory, const std::string& name) {
    return !directory.empty() && !FindFileIgnoringCase(directory, name).empty();
}

}  // namespace

std::string InstalledDataDirectory(const std::string& programDir) {
    if (programDir.empty()) return "";
    fs::path bin = fs::path(programDir).lexically_normal();
    if (!bin.has_filename()) bin = bin.parent_path();  // "PREFIX/bin/"
    std::string data = (bin.parent_path() / "share" / "varigap").string();
    return DirectoryExists(data) ? data : "";
}

std::string UserConfigDirectory(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return FullPath(xdgConfigHome, "varigap");
    if (home && home[0] != '\0') return FullPath(home, ".config/varigap");
    return "";
}

void LocateInstalledFiles(Session& session) {
    session.dataDir = InstalledDataDirectory(session.programDir);
    session.configDir = UserConfigDirectory(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

bool CanCreateFilesIn(const std::string& directory) {
    if (!DirectoryExists(directory)) return false;
    std::string probe = FullPath(directory, ".varigap-write-test-XXXXXX");
    int fd = ::mkstemp(probe.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string DataFileDirectory(const Session& session, const std::string& name) {
    if (Holds(session.programDir, name)) return session.programDir;
    if (Holds(session.dataDir, name)) return session.dataDir;
    return session.programDir;
}

std::string SettingsSaveDirectory(const Session& session) {
    bool besideProgram = Holds(session.programDir, kParamsFileName) || Holds(session.programDir, kOptionsFileName);
    if (besideProgram && CanCreateFilesIn(session.programDir)) return session.programDir;
    return session.configDir.empty() ? session.programDir : session.configDir;
}

std::string SettingsReadDirectory(const Session& session, const std::string& name) {
    std::string saved = SettingsSaveDirectory(session);
    return Holds(saved, name) ? saved : DataFileDirectory(session, name);
}

std::string SettingsPlaceText(const Session& session, const std::string& name) {
    std::string read = FindFileIgnoringCase(SettingsReadDirectory(session, name), name);
    std::string target = FullPath(SettingsSaveDirectory(session), name);
    if (read.empty()) return "No settings file found (built-in defaults)\nSave writes " + target;
    if (read == target) return "Settings file: " + read;
    return "Settings read from " + read + "\nSave writes " + target;
}

std::string SettingsPlacesHelp(const Session& session) {
    auto inUse = [&session](const char* name) {
        std::string read = FindFileIgnoringCase(SettingsReadDirectory(session, name), name);
        return read.empty() ? std::string("none found, built-in defaults") : read;
    };
    return "Settings files, each read from the first folder that holds it: where the desktop program's\n"
           "Save keeps settings, the program's folder, the installed data folder:\n"
           "  parameters: " +
           inUse(kParamsFileName) + "\n  options:    " + inUse(kOptionsFileName) + "\n  Save keeps settings in " +
           SettingsSaveDirectory(session) + "\n";
}

}  // namespace varigap
