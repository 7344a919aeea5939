// Evaluating a reference: shared variants and leave-one-out identification by nearest variants.
#include "engine/evaluate.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "engine/detail/nearest_search.h"
#include "engine/detail/vr_files.h"

namespace varigap {

namespace {

// The names of a "; "-separated taxa list cut to their first `words` words.
std::set<std::string> Names(const std::string& taxa, int words) {
    std::set<std::string> names;
    std::istringstream list(taxa);
    for (std::string name; std::getline(list, name, ';');) {
        std::istringstream in(name);
        std::string cut, word;
        for (int w = 0; w < words && in >> word; ++w) cut += (w ? " " : "") + word;
        if (!cut.empty()) names.insert(cut);
    }
    return names;
}

bool Meet(const std::set<std::string>& a, const std::set<std::string>& b) {
    return std::any_of(a.begin(), a.end(), [&](const std::string& x) { return b.count(x) > 0; });
}

VRFileEvaluation Evaluate(const VRFileContents& entries, const NearestIndex& index, const NearestBounds& bounds) {
    VRFileEvaluation e;
    for (size_t i = 0; i < entries.size(); ++i) {
        const VRVariant& v = entries[i];
        if (v.bases.empty()) continue;
        ++e.variants;
        const std::set<std::string> species = Names(v.taxa, 2);
        if (species.size() > 1) e.shared.push_back(v.taxa);
        const NearestHit hit = FindNearest(index, v.bases, 0, 0, bounds, static_cast<long>(i));
        if (hit.diffs < 0) {
            ++e.unidentified;
            continue;
        }
        std::string all;
        for (const std::string& t : hit.taxa) all += t + ";";
        if (Meet(species, Names(all, 2))) ++e.sameSpecies;
        else if (Meet(Names(v.taxa, 1), Names(all, 1))) ++e.sameGenus;
        else ++e.wrong;
    }
    return e;
}

}  // namespace

std::vector<VRFileEvaluation> EvaluateVRFiles(State& st, const NearestBounds& bounds) {
    std::vector<VRFileEvaluation> out;
    std::set<std::string> seen;
    const Session& session = st.session;
    for (int t = 1; t <= session.numTemplates; ++t) {
        for (int v = 1; v <= session.numVRs[t]; ++v) {
            const std::string& name = session.vrFileName[t][v];
            if (!seen.insert(name).second) continue;
            VRFile file;
            if (!OpenVRFile(st, name, file) || !file.entries) continue;
            VRFileEvaluation e = Evaluate(*file.entries, MakeNearestIndex(file.entries), bounds);
            e.templateNum = t;
            e.vr = v;
            e.file = name;
            out.push_back(std::move(e));
        }
    }
    return out;
}

}  // namespace varigap
