// The recently loaded files.
#include "ui/recent_files.h"

#include <algorithm>
#include <filesystem>

namespace varigap::ui {

void RecentFiles::Add(FileKind kind, const std::string& path) {
    std::erase_if(entries_, [&](const RecentFile& e) { return e.path == path; });
    entries_.insert(entries_.begin(), RecentFile{kind, path});
    if (entries_.size() > kMax) entries_.resize(kMax);
}

std::vector<std::string> RecentFiles::Save() const {
    std::vector<std::string> lines;
    for (const RecentFile& e : entries_) lines.push_back((e.kind == FileKind::Templates ? "T " : "S ") + e.path);
    return lines;
}

void RecentFiles::Restore(const std::vector<std::string>& lines) {
    entries_.clear();
    for (const std::string& l : lines) {
        if (l.size() < 3 || l[1] != ' ' || (l[0] != 'T' && l[0] != 'S')) continue;
        if (entries_.size() < kMax)
            entries_.push_back({l[0] == 'T' ? FileKind::Templates : FileKind::Sequences, l.substr(2)});
    }
}

std::string RecentFiles::Caption(size_t i) const {
    const RecentFile& e = entries_.at(i);
    return "&" + std::to_string(i + 1) + " " + std::filesystem::path(e.path).filename().string() +
           (e.kind == FileKind::Templates ? " (templates)" : " (sequences)");
}

}  // namespace varigap::ui
