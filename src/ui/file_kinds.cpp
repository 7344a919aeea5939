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
    bool comments = false;  // both template and variable region files have them
    // The first lines tell: a template names its first variable region file early, a variable
    // region file starts listing variants.
    for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos) continue;
        if (line[i] == '"') return FileKind::Templates;
        if (line[i] == '#') {
            comments = true;
            continue;
        }
        const size_t gt = line.find('>');
        if ((gt != std::string::npos && gt > i) || line.back() == '<') return FileKind::VariableRegions;
    }
    return comments ? FileKind::Templates : FileKind::Sequences;
}

}  // namespace varigap::ui
