// The files loaded lately, most recent first, as the Files menu offers them again.
#pragma once

#include <string>
#include <vector>

#include "ui/file_kinds.h"

namespace varigap::ui {

struct RecentFile {
    FileKind kind;
    std::string path;
};

class RecentFiles {
public:
    static constexpr size_t kMax = 8;

    const std::vector<RecentFile>& Entries() const { return entries_; }
    // Puts the file first; an older entry of the same path goes, and the list keeps kMax.
    void Add(FileKind kind, const std::string& path);
    // One line per entry for a settings store ("T " or "S " and the path), and back again;
    // lines of another form are passed over.
    std::vector<std::string> Save() const;
    void Restore(const std::vector<std::string>& lines);
    // How entry i is offered: "&1 trnLF.tpl (templates)".
    std::string Caption(size_t i) const;

private:
    std::vector<RecentFile> entries_;
};

}  // namespace varigap::ui
