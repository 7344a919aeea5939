// Nearest identification applied to the result of an analysis, and each job's memo of it.
#include <algorithm>

#include "core/read_result.h"
#include "core/state.h"
#include "engine/detail/nearest_search.h"

namespace varigap {

NearestMemo::NearestMemo() = default;
NearestMemo::~NearestMemo() = default;

const NearestHit* NearestMemo::Find(const std::string& key) const {
    auto it = hits_.find(key);
    return it == hits_.end() ? nullptr : &it->second;
}

const NearestHit& NearestMemo::Keep(const std::string& key, NearestHit hit) {
    if (hits_.size() >= kMaxRegions) hits_.clear();
    return hits_.insert_or_assign(key, std::move(hit)).first->second;
}

const NearestIndex& NearestMemo::IndexOf(const std::shared_ptr<const VRFileContents>& entries) {
    auto& kept = indexes_[entries.get()];
    if (!kept || kept->entries != entries) kept = std::make_unique<NearestIndex>(MakeNearestIndex(entries));
    return *kept;
}

namespace {

// The display line of template region `region` (1-based) of the given kind; -1 if none.
int LineOf(const ReadResult& res, LineKind kind, int region) {
    for (size_t i = 0; i < res.lines.size(); ++i)
        if (res.lines[i].kind == kind && res.lines[i].first == region) return static_cast<int>(i);
    return -1;
}

// The nearest variants of the bases start..end of the analysed sequence in VR v's file.
const NearestHit* Lookup(State& st, const ReadResult& res, int v, int start, int end, const NearestBounds& bounds,
                         NearestMemo& memo) {
    const std::string& name = st.session.vrFileName[res.templateNum][v];
    const int size = static_cast<int>(res.sequence.size());
    const int lead = std::min(bounds.slack, start - 1), trail = std::min(bounds.slack, size - end);
    const std::string widened(
        std::string_view(res.sequence)
            .substr(static_cast<size_t>(start - 1 - lead), static_cast<size_t>(end - start + 1 + lead + trail)));
    std::string key = name;
    key += '\0';
    key += static_cast<char>('0' + lead);
    key += static_cast<char>('0' + trail);
    // The bound too: ranking by variants looks further than identification does.
    key.append(reinterpret_cast<const char*>(&bounds.minIdentity), sizeof bounds.minIdentity);
    key.append(reinterpret_cast<const char*>(&bounds.maxDiffs), sizeof bounds.maxDiffs);
    key += widened;
    if (const NearestHit* kept = memo.Find(key)) return kept;
    VRFile file;
    if (!OpenVRFile(st, name, file) || !file.entries) return nullptr;
    return &memo.Keep(key, FindNearest(memo.IndexOf(file.entries), widened, lead, trail, bounds));
}

// Drops the display lines [from, to) and their segments; the segments after them move up.
void DropLines(ReadResult& res, size_t from, size_t to) {
    std::vector<int> gone;
    for (size_t i = from; i < to; ++i) gone.push_back(res.lines[i].line);
    std::sort(gone.begin(), gone.end());
    res.lines.erase(res.lines.begin() + static_cast<long>(from), res.lines.begin() + static_cast<long>(to));
    for (auto it = gone.rbegin(); it != gone.rend(); ++it) res.segments.erase(res.segments.begin() + (*it - 1));
    for (ResultLine& l : res.lines)
        l.line -= static_cast<int>(std::lower_bound(gone.begin(), gone.end(), l.line) - gone.begin());
}

// VR at regions[k] (0-based) between the CRs at k - 1 and k + 1.
void IdentifyOne(State& st, ReadResult& res, size_t k, const NearestBounds& bounds, NearestMemo& memo) {
    const SRegion& before = res.regions[k - 1];
    const SRegion& after = res.regions[k + 1];
    if (!IsValidPos(before.endPos) || !IsValidPos(after.startPos)) return;
    const int start = before.endPos + 1, end = after.startPos - 1;
    const int v = res.regions[k].num;
    if (end < start || v < 1 || v > static_cast<int>(res.vrs.size())) return;  // a deleted VR: exact search's
    const int p = LineOf(res, LineKind::Conserved, static_cast<int>(k));
    const int q = LineOf(res, LineKind::Conserved, static_cast<int>(k + 2));
    if (p < 0 || q <= p) return;
    int line = -1;  // the VR's line; every other line between the CRs holds unplaced bases
    for (int i = p + 1; i < q; ++i) {
        const ResultLine& l = res.lines[static_cast<size_t>(i)];
        if (l.kind == LineKind::Variable && l.vr == v && line < 0) line = i;
        else if (l.kind != LineKind::None) return;
    }
    if (line < 0 || res.lines[static_cast<size_t>(line)].flag == '-') return;
    ResultVR& vr = res.vrs[static_cast<size_t>(v - 1)];
    ResultLine& l = res.lines[static_cast<size_t>(line)];
    SSegment& seg = res.segments[static_cast<size_t>(l.line - 1)];
    if (l.flag != '?' && q == p + 2 && res.Selected(v) && seg.startPos == start && seg.endPos == end) {
        vr.identified = Identified::Exact;
        vr.diffs = 0;
        vr.identity = 1;
        return;
    }
    const NearestHit* hit = Lookup(st, res, v, start, end, bounds, memo);
    if (!hit || hit->diffs < 0) {
        // Bases left between an exactly found variant and the next CR: not that variant.
        if (l.flag == ':') {
            l.flag = '?';
            seg.unresolved = true;
        }
        return;
    }
    vr.identified = Identified::Nearest;
    vr.diffs = hit->diffs;
    vr.identity = hit->identity;
    vr.shared = hit->shared;
    vr.taxa.clear();
    vr.poss.clear();
    for (size_t i = 0; i < hit->variants.size(); ++i) {
        vr.poss.emplace_back(start, end, hit->variants[i], hit->taxa[i]);
        if (i > 0) vr.taxa += "; ";
        vr.taxa += hit->taxa[i];
    }
    vr.numPoss = static_cast<int>(vr.poss.size());
    vr.selPoss = 1;
    res.regions[k].startPos = start;
    res.regions[k].endPos = end;
    res.regions[k].unresolved = false;
    seg.startPos = start;
    seg.endPos = end;
    seg.unresolved = false;
    l.flag = '-';
    if (int first = 0, last = 0; res.InRead(start, end, first, last)) {
        l.flag = '~';
        l.start = first;
        l.end = last;
    }
    // The VR's line now spans the bases between the CRs.
    DropLines(res, static_cast<size_t>(line + 1), static_cast<size_t>(q));
    DropLines(res, static_cast<size_t>(p + 1), static_cast<size_t>(line));
}

}  // namespace

void IdentifyNearest(State& st, ReadResult& res, const NearestBounds& bounds, NearestMemo& memo) {
    res.nearest = true;
    if (!res.analysed) return;
    for (size_t k = 1; k + 1 < res.regions.size(); ++k)
        if (!res.regions[k].isCR && res.regions[k - 1].isCR && res.regions[k + 1].isCR)
            IdentifyOne(st, res, k, bounds, memo);
}

}  // namespace varigap
