// The analysis as every front end runs it: start-up, Find Template and the checked reparse.
#include "engine/analysis.h"

#include <filesystem>

#include "core/complement.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/detail/lpam.h"
#include "engine/detail/parse.h"
#include "engine/detail/ranking.h"
#include "settings/locations.h"
#include "settings/settings_files.h"

namespace varigap {

namespace {

using LoadFrom = bool (*)(Session&, const std::string&, const std::string&);

// One settings file: a file named by the user must be there and be read to its end (LoadFrom
// reports it when not); the one beside the program (or installed, or the user's own) is read
// when it is there, and otherwise reported or left to the defaults.
bool LoadSettingsFile(Session& session, const std::string& named, const char* besideName, bool reportMissing,
                      LoadFrom load, void (*setDefaults)(Session&)) {
    if (named.empty()) {
        const std::string dir = SettingsReadDirectory(session, besideName);
        if (!reportMissing && FindFileIgnoringCase(dir, besideName).empty()) setDefaults(session);
        else load(session, dir, besideName);
        return true;
    }
    const std::filesystem::path p(named);
    return load(session, p.parent_path().string(), p.filename().string());
}

}  // namespace

bool StartUp(Session& session, const SettingsFiles& files) {
    if (files.defaultsOnly) {
        SetDefaultParameters(session);
        SetDefaultOptions(session);
    } else {
        bool ok = LoadSettingsFile(session, files.params, kParamsFileName, files.reportMissing, LoadParametersFrom,
                                   SetDefaultParameters);
        // Options are in force before the code table checks below.
        ok = LoadSettingsFile(session, files.options, kOptionsFileName, files.reportMissing, LoadOptionsFrom,
                              SetDefaultOptions) &&
             ok;
        if (!ok) return false;
    }
    InitializeGlobals(session);
    InitLPAM(session);
    InitMatchTemplate(session);
    InitializeComplement(session);
    return true;
}

Integer RankActSeq(State& st) {
    st.voteTableFull = false;
    return RankTemplates(st);
}

std::string VoteTableFullText(const State& st) {
    return "The conserved regions were placed with a full vote table: at word length " +
           Str(st.session.lpam.lpamWordLength) +
           " their words occur in too many places of the sequence. The placements found are kept but may "
           "be incomplete; a word length of " +
           Str(kShortestSafeWordLength) + " or more avoids it.";
}

Integer ChooseTemplate(const State& st, Integer choice, Integer best) {
    return (choice >= 1 && choice <= st.session.numTemplates) ? choice : best;
}

void ParseActSeq(State& st) {
    ParseSequence(st);
    SegmentSequence(st);
}

Integer ApplyTemplate(State& st, Integer choice, Integer best) {
    st.actTemplate = ChooseTemplate(st, choice, best);
    ParseActSeq(st);
    return st.actTemplate;
}

Integer FindTemplate(State& st, Integer choice) { return ApplyTemplate(st, choice, RankActSeq(st)); }

Integer FindTemplate(State& st, std::string bases, Integer choice) {
    st.actSeq = std::move(bases);
    return FindTemplate(st, choice);
}

Integer RankSequence(State& st, std::string bases) {
    st.actSeq = std::move(bases);
    return RankActSeq(st);
}

ReparseResult ReparseLine(State& st, Integer line, Integer sel) {
    if (line < 1 || line > st.numSSegments) return ReparseResult::NoSuchLine;
    const SSegment& s = st.SSegments[line];
    if (s.nVRs != 1 || s.nCRs != 0 || s.region < 1 || s.region > st.session.numVRs[st.actTemplate])
        return ReparseResult::NotAVariableRegion;
    if (sel < 1 || sel > st.VRPoss[s.region].numPoss) return ReparseResult::NoSuchPossibility;
    SelectVRPossibility(st, line, s.region, sel);
    return ReparseResult::Done;
}

std::string ReparseRefusal(const State& st, ReparseResult result, Integer line) {
    switch (result) {
        case ReparseResult::Done: return "";
        case ReparseResult::NoSuchLine: return "there is no display line " + Str(line) + ".";
        case ReparseResult::NotAVariableRegion: return "display line " + Str(line) + " is not a variable region.";
        case ReparseResult::NoSuchPossibility: break;
    }
    return "the variable region of display line " + Str(line) + " has " +
           Str(st.VRPoss[st.SSegments[line].region].numPoss) + " possibilities.";
}

}  // namespace varigap
