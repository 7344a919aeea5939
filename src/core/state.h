// The working space of one analysis: the sequence analysed and its result tables. Modules take
// it by reference, so each test and each worker thread owns its own.
#pragma once

#include <memory>
#include <string>

#include "core/limits.h"
#include "core/session.h"
#include "core/types.h"

namespace varigap {

// One entry of the template ranking.
struct TemplateRank {
    Integer templateNum;     // template number t
    Integer numSpanned;      // template bases from the first to the last found CR
    Integer numMatched;      // template bases of the CRs that were found
    Single fracMatched = 0;  // numMatched / numSpanned; 0 when numSpanned is 0
};

// One region of the analysed sequence parsed along the template.
struct SRegion {
    bool isCR = false;
    Integer num;              // CR or VR number
    Integer startPos;         // first position in actSeq, or a position marker
    Integer endPos;           // last position; startPos - 1 for a deleted VR
    bool unresolved = false;  // placement not unambiguous ("?")
};

// One candidate variant of a variable region.
struct VRPossibility {
    Integer startPos;
    Integer endPos;      // < startPos for an empty variant
    std::string varSeq;  // bases as read and cleaned, "<Deletion>" for an empty variant found by search
    std::string taxa;    // taxa text from the variable region file
};

// The candidates of one variable region; possibility 0 is always empty.
struct VRPossSet {
    Table<VRPossibility, MAXNUMPOSS> poss;
    Integer numPoss;  // candidates found, 0..15
    Integer selPoss;  // selected candidate, 0 = none
};

// One display line: a stretch of the analysed sequence.
struct SSegment {
    Integer startPos;
    Integer endPos;
    Integer nVRs;
    Integer nCRs;
    Integer region;  // one region: its CR/VR number; several: SRegions index of the first; none: -1
    bool unresolved = false;
};

// Per-state scratch owned by a module (buffers, caches). Copying a State never shares it:
// the copy starts with an empty slot, so worker threads never touch each other's scratch.
class ScratchSlot {
public:
    ScratchSlot() = default;
    ScratchSlot(const ScratchSlot&) {}
    ScratchSlot& operator=(const ScratchSlot&) {
        ptr.reset();
        return *this;
    }
    ScratchSlot(ScratchSlot&&) noexcept = default;
    ScratchSlot& operator=(ScratchSlot&&) noexcept = default;

    template <class T>
    T& Get() {
        if (!ptr) ptr = std::make_shared<T>();
        return *static_cast<T*>(ptr.get());
    }

private:
    std::shared_ptr<void> ptr;
};

// One analysis job's working space: the sequence analysed and every result table. It reads
// the session it was made for through a const reference, so the jobs of a run share one
// template table and settings and each owns only what it writes.
struct State {
    explicit State(const Session& shared) : session(shared), messenger(shared.messenger) {}
    State(const State&) = default;
    State& operator=(const State&) = delete;

    const Session& session;
    Messenger* messenger;  // where this job's message boxes go; not owned

    // --- the analysed sequence ---
    std::string actSeq;
    Integer actTemplate;

    // --- template ranking ---
    Table<Table<Integer, MAXNUMCR>, MAXNUMTEMPLATES> crStartPos;
    Table<Table<Integer, MAXNUMCR>, MAXNUMTEMPLATES> crEndPos;
    Table<TemplateRank, MAXNUMTEMPLATES> templateRanks;
    Integer numRankedTemplates;

    // --- parse results ---
    Table<SRegion, MAXNUMREGIONS + 1> SRegions;
    Integer numSRegions;
    Table<VRPossSet, MAXNUMVR> VRPoss;
    // VRPoss(1..vrPossInUse) may hold possibilities; every set after them is as the last reset
    // left it (parsing writes only the sets of actTemplate's VRs), so resets skip them.
    Integer vrPossInUse = MAXNUMVR;
    Table<SSegment, MAXNUMDISPLAYLINES> SSegments;
    Integer numSSegments;

    // The aligner's vote table ran full since the analysis began: too many places for short
    // words. The placements found stand; the analysis says so once.
    bool voteTableFull = false;

    // --- module state ---
    ScratchSlot lpamScratch;  // word index and vote table buffers
    // The CRs of the template table cut into words at the working word length; starts as the
    // session's index and is made again only when the word length or the table differs.
    std::shared_ptr<const TemplateWords> templateWords = session.templateWords;
    ScratchSlot readWords;  // where those words occur in the sequences ranked last
    ScratchSlot vrCache;    // parsed variable region files
};

inline Integer MinInt(Integer a, Integer b) { return a < b ? a : b; }
inline Integer MaxInt(Integer a, Integer b) { return a > b ? a : b; }
// False for the two position markers POSNOTFOUND and POSAMBIGUOUS, True otherwise.
inline bool IsValidPos(int p) { return p != POSNOTFOUND && p != POSAMBIGUOUS; }
// A parse-result record for a template region, both positions POSNOTFOUND.
SRegion NewSRegion(const TRegion& tr);

}  // namespace varigap
