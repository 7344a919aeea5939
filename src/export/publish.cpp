// Output files written whole or not at all.
#include "export/publish.h"

namespace varigap::exports {

bool Publish(const std::string& path, bool force, const std::function<void(TextWriter&)>& fill, std::string& message) {
    if (!force && FileExists(path)) {
        message = "File " + path + " already exists. It was left untouched (--force overwrites it).";
        return false;
    }
    TextWriter out;
    try {
        out.Open(path);
        fill(out);
        out.Commit();
        return true;
    } catch (const std::exception& e) {
        out.Abandon();
        message = "File " + path + " could not be written: " + e.what() + ".";
        return false;
    }
}

}  // namespace varigap::exports
