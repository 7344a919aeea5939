// Fuzzes the variable region files: the entry reader, the exact filling of a run (against a
// plain depth-first search) and the search inside a stretch (against InStrBases).
// Input parts: file A, file B, the stretch, the run (one byte per VR: A, B or a missing file).
#include <cstddef>
#include <cstdint>

#include "core/bases.h"
#include "core/strings.h"
#include "engine/detail/vr_files.h"
#include "fuzz_support.h"

using namespace varigap;

namespace {

// The run match as the plain search: each file in order, the first perfect filling wins, ties
// keep the earlier one. Gives up (false) after `budget` entries tried.
bool PlainRun(const std::vector<const VRFileContents*>& files, size_t at, std::string_view upper, long& budget,
              int& best, std::vector<const VRVariant*>& fill) {
    best = -1;
    fill.clear();
    if (at == files.size()) {
        best = static_cast<int>(upper.size());
        return true;
    }
    if (!files[at]) return true;  // missing: no filling
    for (const VRVariant& v : *files[at]) {
        if (--budget < 0) return false;
        if (!upper.starts_with(v.upper)) continue;
        int sub;
        std::vector<const VRVariant*> subFill;
        if (!PlainRun(files, at + 1, upper.substr(v.upper.size()), budget, sub, subFill)) return false;
        if (sub != -1 && (best == -1 || sub < best)) {
            best = sub;
            fill.assign(1, &v);
            fill.insert(fill.end(), subFill.begin(), subFill.end());
        }
        if (sub == 0) break;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzz::Parts(data, size, 4);
    fuzz::ClearScratch();
    fuzz::FuzzState f;
    State& st = f.st;
    Session& session = f.session;
    session.vrFilePath = fuzz::ScratchDir();
    fuzz::WriteScratch("a.txt", parts[0]);
    fuzz::WriteScratch("b.txt", parts[1]);
    const std::string s = parts[2].substr(0, 32767);  // the longest stretch an Integer can measure

    VRFile a, b;
    fuzz::Check(OpenVRFile(st, "a.txt", a) && OpenVRFile(st, "b.txt", b), "files that are there open");
    {
        TextReader file;
        file.Open(session.vrFilePath + "/a.txt");
        VREntryReader reader(file);
        size_t n = 0;
        for (VREntry e; reader.Next(e); ++n) {
            std::string cleaned = e.rawBases;
            StripNonBases(cleaned);
            fuzz::Check(e.bases == cleaned && n < a.entries->size() && (*a.entries)[n].bases == e.bases,
                        "entries cleaned to their bases, as kept");
        }
        fuzz::Check(n == a.entries->size(), "every entry kept");
    }

    // The exact filling of a run.
    std::vector<std::string> names;
    std::vector<const VRFileContents*> contents;
    for (size_t i = 0; i < parts[3].size() && i < MAXNUMCONSECUTIVEVRS; ++i) {
        const int pick = static_cast<unsigned char>(parts[3][i]) % 3;
        names.push_back(pick == 0 ? "a.txt" : pick == 1 ? "b.txt" : "missing.txt");
        contents.push_back(pick == 0 ? a.entries.get() : pick == 1 ? b.entries.get() : nullptr);
    }
    RunFilling filling;
    const int left = MatchVRRun(st, names, s, filling);
    fuzz::Check(left >= -1 && left <= static_cast<int>(s.size()), "left-over bases within the stretch");
    if (left >= 0) {
        std::string joined;
        for (const ChosenVariant& c : filling) joined += c.variant->upper;
        fuzz::Check(filling.size() == names.size() && joined.size() + static_cast<size_t>(left) == s.size() &&
                        ToUpper(s).starts_with(joined),
                    "the filling spells the stretch");
    }
    long budget = 200000;
    int plain;
    std::vector<const VRVariant*> plainFill;
    if (PlainRun(contents, 0, ToUpper(s), budget, plain, plainFill)) {
        fuzz::Check(plain == left, "the same left-over count as the plain search");
        for (size_t i = 0; left >= 0 && i < plainFill.size(); ++i)
            fuzz::Check(filling[i].variant == plainFill[i], "the same variants as the plain search");
    }

    // The variants a stretch contains.
    SeqStretch stretch(s);
    VRFile cursor = a;
    for (const VRVariant& v : *a.entries) {
        const int expected = v.bases.empty() ? 0 : InStrBases(v.bases, s, 1);
        if (expected == 0 && !v.bases.empty()) continue;
        fuzz::Check(ReadNextContainedVariant(cursor, stretch) == expected && cursor.current == &v,
                    "contained where InStrBases finds it");
    }
    fuzz::Check(ReadNextContainedVariant(cursor, stretch) == -1, "nothing after the last");
    return 0;
}
