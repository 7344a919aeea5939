// Output files of a batch: one name per record, written whole or not at all.
#include "run/output_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "output/output_file.h"

namespace varigap::run {

std::string OutputNamer::Next(const std::string& seqName, long recordNumber) {
    const std::string suffix = ".txt";
    std::string name = MakeAlnumName(seqName, 8, suffix);
    if (name.empty() || name == suffix) name = "sequence" + Str(recordNumber) + suffix;
    if (used_.insert(name).second) return name;
    const std::string stem = name.substr(0, name.size() - suffix.size());
    long& k = nextNumber_.try_emplace(stem, 2).first->second;
    for (;; ++k) {
        name = stem + "-" + Str(k) + suffix;
        if (used_.insert(name).second) break;
    }
    ++k;
    return name;
}

bool UsableOutputFolder(const std::string& dir, std::string& reason) {
    namespace fs = std::filesystem;
    std::error_code made, ec;
    fs::create_directories(dir, made);
    if (!fs::is_directory(dir, ec)) {
        reason = fs::exists(dir, ec) ? "it is not a folder" : made.message();
        return false;
    }
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

bool WriteRecordFile(const State& st, const ReadResult& r, const std::string& dir, const std::string& fileName,
                     const std::string& seqName, bool includeTaxa, bool force) {
    const std::string path = FullPath(dir, fileName);
    auto exists = [&] {
        MsgBox(st, "Output File " + path + " already exists. It was left untouched (--force overwrites it).");
        return false;
    };
    // Anything of that name counts, a dangling link too; and the file takes its name only if
    // no other run has taken it meanwhile.
    if (!force && PathEntryExists(path)) return exists();
    TextWriter out;
    out.LeaveFolderSync();  // once for all files, when the run ends (analyze_command.cpp)
    bool published = false;
    bool written = Trapped(st, [&] {
        out.Open(path, force ? Publish::Replace : Publish::NoReplace);
        WriteOutputFileText(st, r, out, fileName, seqName, includeTaxa);
        published = out.Commit();
    });
    if (!written) out.Abandon();
    if (written && !published) return exists();
    return written;
}

}  // namespace varigap::run
