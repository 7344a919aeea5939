// The text of template files and variable region files as the builder writes them.
#include "builder/template_writer.h"

namespace varigap::builder {

std::string SafeFileName(const std::string& s) {
    std::string out;
    for (char c : s) {
        bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '-' || c == '_';
        out += keep ? c : '_';
    }
    // A leading dot would hide the file; leading blanks are already gone.
    if (!out.empty() && out[0] == '.') out[0] = '_';
    return out.empty() ? "region" : out;
}

std::vector<std::string> CommentLines(const std::vector<std::string>& texts) {
    std::vector<std::string> lines;
    for (const auto& t : texts) lines.push_back(t.empty() ? "#" : "# " + t);
    return lines;
}

std::vector<std::string> ConservedRegionLines(const std::string& name, const std::string& bases) {
    std::string title = name;
    for (char& c : title)
        if (c == ']') c = ')';  // the comment ends at the first "]"
    std::vector<std::string> lines{"[" + title + "]"};
    for (size_t row = 0; row < bases.size(); row += 60) {
        std::string line = std::to_string(row + 1);
        for (size_t g = row; g < std::min(bases.size(), row + 60); g += 10) line += " " + bases.substr(g, 10);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> VariantLines(const std::vector<Variant>& variants) {
    std::vector<std::string> lines;
    for (size_t v = 0; v < variants.size(); ++v) {
        if (v > 0) lines.emplace_back();
        const std::string& b = variants[v].bases;
        for (size_t p = 0; p < b.size(); p += 60) lines.push_back(b.substr(p, 60));
        std::string taxa;
        for (const auto& t : variants[v].taxa) taxa += (taxa.empty() ? "" : "; ") + t;
        for (char& c : taxa)
            if (c == '<') c = '(';
        lines.push_back(">" + taxa + "<");
    }
    return lines;
}

}  // namespace varigap::builder
