// The templates of a run as the outputs name them: templates, their regions in template order,
// names made safe for file names, and the run's samples.
#pragma once

#include <string>
#include <vector>

#include "core/state.h"

namespace varigap::exports {

struct RegionInfo {
    bool isCR = false;
    int number = 0;      // CR or VR number
    std::string name;    // CR: its first text line without brackets; VR: its file name without extension
    std::string stem;    // the name made safe for file names, unique within the template
    std::string file;    // extracted sequences: stem, after the template's stem when several templates
    std::string vrFile;  // VR: the file name as the template gives it
};

struct TemplateInfo {
    std::string label;                // its name; "NAME#N" for a name an earlier template has too
    std::string stem;                 // the label made safe for file names
    std::vector<RegionInfo> regions;  // template region k at regions[k - 1]
    std::vector<int> vrRegion;        // VR v at template region vrRegion[v] (1-based); [0] unused
    std::vector<int> crRegion;        // likewise for CRs
};

struct Catalog {
    std::vector<TemplateInfo> templates;  // template t at templates[t - 1]
    std::vector<std::string> samples;     // in input order, each once

    const TemplateInfo& Template(int t) const { return templates[static_cast<size_t>(t - 1)]; }
};

// The catalog of the templates loaded in `st`.
Catalog MakeCatalog(const Session& session, const std::vector<std::string>& samples);

// `text` made safe as a file name: letters, digits, ".", "-" and "_" kept, any run of other
// characters one "_", no "_" or "." at either end; "" when nothing is left.
std::string SafeName(const std::string& text);

}  // namespace varigap::exports
