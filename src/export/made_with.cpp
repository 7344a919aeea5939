// What the tables and the summary of a run were made with, written, compared and checksummed.
#include "export/made_with.h"

#include <cstdio>
#include <memory>

namespace varigap::exports {

namespace {

std::vector<std::pair<std::string, std::string>> Fields(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> fields;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find("; ", at);
        if (end == std::string::npos) end = text.size();
        const std::string field = text.substr(at, end - at);
        const size_t blank = field.find(' ');
        fields.emplace_back(field.substr(0, blank), blank == std::string::npos ? "" : field.substr(blank + 1));
        at = end + 2;
    }
    return fields;
}

std::string ValueOf(const std::vector<std::pair<std::string, std::string>>& fields, const std::string& key) {
    for (const auto& [k, v] : fields)
        if (k == key) return v;
    return "none";
}

}  // namespace

std::string MadeWithText(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string text;
    for (const auto& [key, value] : fields) {
        text += (text.empty() ? "" : "; ") + key + " ";
        for (char c : value) text += c == ';' ? ',' : c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    return text;
}

std::string MadeWithDifference(const std::string& a, const std::string& nameA, const std::string& b,
                               const std::string& nameB) {
    if (a == b) return "";
    if (a.empty() || b.empty())
        return "the first line of " + (a.empty() ? nameA : nameB) + " does not say what it was made with";
    auto fa = Fields(a), fb = Fields(b);
    for (const auto* keys : {&fa, &fb})
        for (const auto& [key, value] : *keys) {
            const std::string va = ValueOf(fa, key), vb = ValueOf(fb, key);
            if (va != vb) return key + " is " + va + " in " + nameA + " but " + vb + " in " + nameB;
        }
    return "they were made differently";  // the same fields in another order
}

std::string FilesChecksum(const std::vector<std::string>& paths) {
    unsigned long long h = 14695981039346656037ULL;
    std::vector<unsigned char> block(1 << 16);
    for (const auto& path : paths) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
        for (size_t n; f && (n = std::fread(block.data(), 1, block.size(), f.get())) > 0;)
            for (size_t i = 0; i < n; ++i) h = (h ^ block[i]) * 1099511628211ULL;
        h = (h ^ 0xFF) * 1099511628211ULL;  // the files' bounds count
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", h);
    return hex;
}

}  // namespace varigap::exports
