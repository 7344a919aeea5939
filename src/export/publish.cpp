// Output files written whole or not at all.
#include "export/publish.h"

namespace varigap::exports {

bool Publish(const std::string& path, bool force, const std::function<void(TextWriter&)>& fill, std::string& message) {
    const std::string exists = "File " + path + " already exists. It was left untouched (--force overwrites it).";
    // Anything of that name counts; and the file takes it only if no other run did meanwhile.
    if (!force && PathEntryExists(path)) {
        message = exists;
        return false;
    }
    TextWriter out;
    try {
        out.Open(path, force ? varigap::Publish::Replace : varigap::Publish::NoReplace);
        fill(out);
        if (out.Commit()) return true;
        message = exists;
        return false;
    } catch (const std::exception& e) {
        out.Abandon();
        message = "File " + path + " could not be written: " + e.what() + ".";
        return false;
    }
}

}  // namespace varigap::exports
