// The analysis of one read, on the strand asked for, and its result as one value.
#include "engine/read_analysis.h"

#include <algorithm>
#include <array>

#include "core/complement.h"
#include "core/messages.h"
#include "core/strings.h"
#include "engine/analysis.h"
#include "engine/detail/nearest_search.h"
#include "output/display_lines.h"

namespace varigap {

int FindTemplateNumber(const Session& session, const std::string& choice) {
    bool digits = !choice.empty() && choice.size() <= 5;
    for (char c : choice) digits = digits && c >= '0' && c <= '9';
    if (digits) {
        int n = std::stoi(choice);
        if (n >= 1 && n <= session.numTemplates) return n;
    }
    for (int t = 1; t <= session.numTemplates; ++t)
        if (session.templateName[t] == choice) return t;
    return 0;
}

namespace {

// Where a read lies in actSeq and which strand it is.
struct ReadPlace {
    bool reverse = false;
    bool trimmed = false;
    int readFirst = 1, readLast = 0;
};

// Forgets the previous record's results, so that nothing stale is ever shown or written.
void ClearResults(State& st) {
    st.actTemplate = 0;
    st.numRankedTemplates = 0;
    st.numSRegions = 0;
    st.numSSegments = 0;
    st.voteTableFull = false;
}

void Reparse(State& st, const ReparseRequest& r) {
    const ReparseResult result = ReparseLine(st, r.line, r.sel);
    if (result != ReparseResult::Done)
        MsgBox(st, "--reparse " + Str(r.line) + ":" + Str(r.sel) + " ignored: " + ReparseRefusal(st, result, r.line));
}

// Ranks the templates on one strand of the read; trimmed, also parses it along the template
// applied. The entry of the best template.
TemplateRank RankStrand(State& st, const std::string& read, const ReadRequest& r, ReadPlace& place) {
    if (r.primersTrimmed) {
        ReadSpan where{};
        const TemplateRank best = FindTemplateTrimmed(st, read, Integer(r.templateChoice), where);
        place.readFirst = where.first;
        place.readLast = where.last;
        return best;
    }
    st.actSeq = read;
    RankActSeq(st);
    return st.templateRanks[1];
}

// Ranks the templates on the strand the request asks for (actSeq holds the read as oriented).
void RankOnStrand(State& st, const std::string& bases, const ReadRequest& r, ReadPlace& place) {
    if (r.orient == Orient::Auto) {
        // The reverse strand first, so that on a tie the forward one is left in place.
        const std::string reverse = ReverseComplement(bases);
        const TemplateRank onReverse = RankStrand(st, reverse, r, place);
        const TemplateRank onForward = RankStrand(st, bases, r, place);
        place.reverse = IsBetterRank(st, onReverse, onForward);
        if (place.reverse) RankStrand(st, reverse, r, place);
    } else {
        const std::string read = st.actSeq;  // as oriented; actSeq itself is rewritten
        RankStrand(st, read, r, place);
    }
}

// Find Template on the strand the request asks for.
void FindOnStrand(State& st, const std::string& bases, const ReadRequest& r, ReadPlace& place) {
    RankOnStrand(st, bases, r, place);
    if (!r.primersTrimmed) ApplyTemplate(st, Integer(r.templateChoice), st.templateRanks[1].templateNum);
}

// The template regions (1-based, template order) of the CRs and VRs of template t, by number;
// 0 for a number it has not. Made once per result: each display line asks for one.
struct TemplateRegions {
    std::array<int, MAXNUMCR + 1> cr{};
    std::array<int, MAXNUMVR + 1> vr{};
    TemplateRegions(const State& st, int t) {
        if (t < 1 || t > st.session.numTemplates) return;
        // Backwards, so that a number listed twice keeps its first region.
        for (int k = st.session.numCRs[t] + st.session.numVRs[t]; k >= 1; --k) {
            const auto& region = st.session.tRegions[t][k];
            auto& of = region.isCR ? cr : vr;
            if (region.num >= 1 && region.num < static_cast<int>(of.size())) of[static_cast<size_t>(region.num)] = k;
        }
    }
    int Of(bool isCR, int num) const {
        const auto& of = isCR ? cr : vr;
        return num >= 1 && num < static_cast<int>(of.size()) ? of[static_cast<size_t>(num)] : 0;
    }
};

// Whether the template applied matched any bases of the read: a CR found (trimmed reads: a
// CR inside the read or a variable region identified there).
bool Matched(const State& st) {
    for (int i = 1; i <= std::min<int>(st.numRankedTemplates, MAXNUMTEMPLATES); ++i)
        if (st.templateRanks[i].templateNum == st.actTemplate) return st.templateRanks[i].numMatched > 0;
    return false;
}

// The working tables of `st` as a result; `analysed` whether a template was applied, `report`
// whether faults of the display lines are reported.
ReadResult TakeResult(const State& st, bool analysed, const ReadPlace& place, size_t readLength, bool report,
                      ResultAllocator memory = {}) {
    ReadResult res(memory);
    res.analysed = analysed;
    res.reverse = place.reverse;
    res.trimmed = place.trimmed;
    res.readFirst = place.readFirst;
    res.readLast = place.readLast;
    res.length = static_cast<int>(place.trimmed && analysed ? place.readLast - place.readFirst + 1 : readLength);
    res.sequence = st.actSeq;
    res.voteTableFull = st.voteTableFull;
    if (!analysed) return res;
    const int t = st.actTemplate;
    res.templateNum = t;
    res.matched = Matched(st);
    // Each table gets its room at once: a run keeps many results, and a run of distinct reads
    // makes one for every read.
    const int ranked = std::clamp<int>(st.numRankedTemplates, 0, MAXNUMTEMPLATES);
    res.ranking.reserve(static_cast<size_t>(ranked));
    for (int i = 1; i <= ranked; ++i) res.ranking.push_back(st.templateRanks[i]);
    const int regions = std::clamp<int>(st.numSRegions, 0, MAXNUMREGIONS);
    res.regions.reserve(static_cast<size_t>(regions));
    for (int i = 1; i <= regions; ++i) res.regions.push_back(st.SRegions[i]);
    const int vrs = t >= 1 && t <= st.session.numTemplates ? std::clamp<int>(st.session.numVRs[t], 0, MAXNUMVR) : 0;
    res.vrs.resize(static_cast<size_t>(vrs));
    for (int v = 1; v <= vrs; ++v) {
        const VRPossSet& set = st.VRPoss[v];
        ResultVR& vr = res.vrs[static_cast<size_t>(v - 1)];
        vr.numPoss = set.numPoss;
        vr.selPoss = set.selPoss;
        const int count = std::clamp<int>(set.numPoss, 0, MAXNUMPOSS);
        vr.poss.reserve(static_cast<size_t>(count));
        for (int k = 1; k <= count; ++k)
            vr.poss.emplace_back(set.poss[k].startPos, set.poss[k].endPos, set.poss[k].varSeq, set.poss[k].taxa);
    }
    const int segments = std::clamp<int>(st.numSSegments, 0, MAXNUMDISPLAYLINES);
    res.segments.reserve(static_cast<size_t>(segments));
    for (int n = 1; n <= segments; ++n) res.segments.push_back(st.SSegments[n]);

    const std::vector<int> shown = DisplayedSegments(st, report);
    res.lines.reserve(shown.size());
    const TemplateRegions inTemplate(st, t);
    for (int n : shown) {
        const SSegment& s = st.SSegments[n];
        ResultLine l;
        l.line = n;
        l.kind = KindOf(s);
        if (l.kind == LineKind::Confused) {
            l.first = s.region;  // the SRegions index of its first region: regions follow the template
            l.count = s.nCRs + s.nVRs;
        } else if (l.kind != LineKind::None) {
            const bool isCR = l.kind == LineKind::Conserved;
            l.first = inTemplate.Of(isCR, s.region);
            l.count = 1;
            if (!isCR) l.vr = s.region;
        }
        l.flag = '-';
        if (int first = 0, last = 0; res.InRead(s.startPos, s.endPos, first, last)) {
            l.flag = s.unresolved ? '?' : ':';
            l.start = first;
            l.end = last;
        }
        res.lines.push_back(std::move(l));
    }
    return res;
}

// How well the template applied names the variable regions of `res`: exact identifications
// first, then the fewest differences, where a variable region named by no variant counts all
// its bases as differences (a region of no listed variant is as far as it is long).
struct VariantScore {
    int exact = 0, diffs = 0;
    bool operator>(const VariantScore& o) const {
        if (exact != o.exact) return exact > o.exact;
        return diffs < o.diffs;
    }
};
VariantScore ScoreOf(const ReadResult& res) {
    VariantScore s;
    for (const ResultLine& l : res.lines) {
        if (l.kind != LineKind::Variable) continue;
        if (l.flag == ':' && res.Selected(l.vr)) ++s.exact;
        else if (l.flag == '~') s.diffs += res.vrs[static_cast<size_t>(l.vr - 1)].diffs;
        else s.diffs += std::max(0, l.end - l.start + 1);
    }
    return s;
}

constexpr double kRankingIdentity = 0.75;

// --rank-by variants: applies, among the templates the ranking ties with the best, the first
// whose variable regions score best; how many score as well.
int RankByVariants(State& st, const ReadRequest& r, const ReadPlace& place, size_t length, NearestMemo& memo) {
    const int ranked = std::clamp<int>(st.numRankedTemplates, 0, MAXNUMTEMPLATES);
    if (ranked < 1) return 1;
    const TemplateRank top = st.templateRanks[1];
    std::vector<int> tied;
    for (int i = 1; i <= ranked; ++i)
        if (!IsBetterRank(st, top, st.templateRanks[i])) tied.push_back(st.templateRanks[i].templateNum);
    if (tied.size() < 2) return 1;
    // Templates are told apart by how far a region lies from their variants even where it is
    // too far to be named: 0.75 identity at least.
    NearestBounds further = r.nearest;
    further.minIdentity = std::min(further.minIdentity, kRankingIdentity);
    further.maxDiffs = NearestBounds::kNoDiffsLimit;
    int chosen = tied[0], equal = 0;
    VariantScore best;
    for (size_t k = 0; k < tied.size(); ++k) {
        ApplyTemplate(st, tied[k], tied[k]);
        ReadResult res = TakeResult(st, true, place, length, false);
        if (r.identify == Identify::Nearest) IdentifyNearest(st, res, further, memo);
        const VariantScore s = ScoreOf(res);
        if (k == 0 || s > best) {
            best = s;
            chosen = tied[k];
            equal = 1;
        } else if (!(best > s)) {
            ++equal;
        }
    }
    ApplyTemplate(st, chosen, chosen);
    // The template chosen heads the ranking.
    for (int i = 1; i <= ranked; ++i)
        if (st.templateRanks[i].templateNum == chosen)
            std::rotate(&st.templateRanks[1], &st.templateRanks[i], &st.templateRanks[i] + 1);
    return equal;
}

}  // namespace

ReadResult AnalyzeRead(State& st, const std::string& bases, const ReadRequest& request, NearestMemo* memo,
                       ResultAllocator memory) {
    ReadPlace place;
    place.trimmed = request.primersTrimmed;
    ClearResults(st);
    place.reverse = request.orient == Orient::Reverse;
    st.actSeq = place.reverse ? ReverseComplement(bases) : bases;
    if (st.actSeq.empty() || st.session.numTemplates < 1)
        return TakeResult(st, false, place, bases.size(), true, memory);
    if (!Trapped(st, [&] { FindOnStrand(st, bases, request, place); })) {
        ClearResults(st);
        return TakeResult(st, false, place, bases.size(), true, memory);
    }
    NearestMemo own;
    NearestMemo& lookups = memo ? *memo : own;
    int tied = 0;
    if (request.rankByVariants && !request.primersTrimmed && request.templateChoice == 0 &&
        !Trapped(st, [&] { tied = RankByVariants(st, request, place, bases.size(), lookups); })) {
        ClearResults(st);
        return TakeResult(st, false, place, bases.size(), true, memory);
    }
    for (const auto& r : request.reparse)
        if (!Trapped(st, [&] { Reparse(st, r); })) break;
    if (st.voteTableFull) MsgBox(st, VoteTableFullText(st));
    ReadResult res = TakeResult(st, true, place, bases.size(), true, memory);
    res.tied = tied;
    if (request.identify == Identify::Nearest) IdentifyNearest(st, res, request.nearest, lookups);
    return res;
}

Integer RankRead(State& st, const std::string& bases, Orient orient, bool& reverse) {
    ReadRequest request;
    request.orient = orient;
    ReadPlace place;
    place.reverse = orient == Orient::Reverse;
    st.actSeq = place.reverse ? ReverseComplement(bases) : bases;
    RankOnStrand(st, bases, request, place);
    reverse = place.reverse;
    return st.numRankedTemplates >= 1 ? st.templateRanks[1].templateNum : Integer(0);
}

ReadResult CurrentResult(const State& st, bool reverse) {
    ReadPlace place;
    place.reverse = reverse;
    return TakeResult(st, true, place, st.actSeq.size(), false);
}

}  // namespace varigap
