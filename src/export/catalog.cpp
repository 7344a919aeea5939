// The templates of a run as the outputs name them.
#include "export/catalog.h"

#include <set>

#include "core/strings.h"

namespace varigap::exports {

namespace {

bool Kept(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

// A CR's first text line without the brackets around it ("[trnL 5' exon]": "trnL 5' exon").
std::string CRName(const std::string& text) {
    std::string name = FirstLine(text);
    if (!name.empty() && name.front() == '[') name.erase(0, 1);
    if (!name.empty() && name.back() == ']') name.pop_back();
    return name;
}

// A VR file's name without its directory and extension.
std::string VRName(const std::string& file) {
    std::string name = file.substr(file.find_last_of("/\\") + 1);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// `name`, or name_2, name_3, ... when it is taken; marked taken.
std::string Unique(const std::string& name, std::set<std::string>& taken) {
    std::string unique = name;
    for (int n = 2; !taken.insert(unique).second; ++n) unique = name + "_" + Str(n);
    return unique;
}

}  // namespace

std::string SafeName(const std::string& text) {
    std::string safe;
    for (char c : text) {
        if (Kept(c)) safe += c;
        else if (safe.empty() || safe.back() != '_') safe += '_';
    }
    const size_t first = safe.find_first_not_of("_.");
    if (first == std::string::npos) return "";
    return safe.substr(first, safe.find_last_not_of("_.") - first + 1);
}

Catalog MakeCatalog(const Session& session, const std::vector<std::string>& samples) {
    Catalog c;
    c.samples = samples;
    std::set<std::string> labels, templateStems, files;
    const bool several = session.numTemplates > 1;
    for (int t = 1; t <= session.numTemplates; ++t) {
        TemplateInfo ti;
        const std::string& name = session.templateName[t];
        ti.label = labels.count(name) ? name + "#" + Str(t) : name;
        labels.insert(ti.label);
        const std::string stem = SafeName(ti.label);
        ti.stem = Unique(stem.empty() ? "template" + Str(t) : stem, templateStems);
        ti.crRegion.assign(static_cast<size_t>(session.numCRs[t]) + 1, 0);
        ti.vrRegion.assign(static_cast<size_t>(session.numVRs[t]) + 1, 0);
        std::set<std::string> stems;
        const int numRegions = session.numCRs[t] + session.numVRs[t];
        for (int k = 1; k <= numRegions; ++k) {
            const TRegion& tr = session.tRegions[t][k];
            RegionInfo r;
            r.isCR = tr.isCR;
            r.number = tr.num;
            if (r.isCR) {
                r.name = CRName(session.crText[t][tr.num]);
                ti.crRegion[static_cast<size_t>(tr.num)] = k;
            } else {
                r.vrFile = session.vrFileName[t][tr.num];
                r.name = VRName(r.vrFile);
                ti.vrRegion[static_cast<size_t>(tr.num)] = k;
            }
            const std::string safe = SafeName(r.name);
            r.stem = Unique(safe.empty() ? (r.isCR ? "CR" : "VR") + Str(r.number) : safe, stems);
            r.file = Unique(several ? ti.stem + "." + r.stem : r.stem, files);
            ti.regions.push_back(std::move(r));
        }
        c.templates.push_back(std::move(ti));
    }
    return c;
}

}  // namespace varigap::exports
