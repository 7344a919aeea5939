// Output files of a batch: one name per record, written whole or not at all.
#include "cli/output_files.h"

#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "output/output_file.h"

namespace varigap::cli {

std::string OutputNamer::Next(const std::string& seqName, long recordNumber) {
    const std::string suffix = ".txt";
    std::string name = MakeAlnumName(seqName, 8, suffix);
    if (name.empty() || name == suffix) name = "sequence" + Str(recordNumber) + suffix;
    const std::string stem = name.substr(0, name.size() - suffix.size());
    for (long k = 2; used_.count(name); ++k) name = stem + "-" + Str(k) + suffix;
    used_.insert(name);
    return name;
}

bool WriteRecordFile(State& st, const std::string& dir, const std::string& fileName, const std::string& seqName,
                     bool includeTaxa, bool complemented, bool force) {
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
        WriteOutputFileText(st, out, fileName, seqName, includeTaxa, complemented);
        published = out.Commit();
    });
    if (!written) out.Abandon();
    if (written && !published) return exists();
    return written;
}

}  // namespace varigap::cli
