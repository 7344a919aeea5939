// Telling template files from sequence files.
#include "ui/file_kinds.h"

#include <fstream>

namespace varigap::ui {

FileKind KindOfFile(const std::string& path) {
    const std::string tpl = ".tpl";
    if (path.size() >= tpl.size() && path.compare(path.size() - tpl.size(), tpl.size(), tpl) == 0)
        return FileKind::Templates;
    std::ifstream in(path);
    std::string line;
    // The first lines tell: a template names its first variable region file early.
    for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
        size_t i = line.find_first_not_of(" \t");
        if (i != std::string::npos && (line[i] == '"' || line[i] == '#')) return FileKind::Templates;
    }
    return FileKind::Sequences;
}

}  // namespace varigap::ui
