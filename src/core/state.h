// The working data of one analysis session: settings, template table, input file names,
// the analysed sequence and every result table. Modules take it by reference, so each
// test and each worker thread owns its own.
#pragma once

#include <memory>
#include <string>

#include "core/limits.h"
#include "core/types.h"

namespace varigap {

class Messenger;
struct TemplateWords;  // the engine's word index of the template table

// One region of a template, in file order.
struct TRegion {
    bool isCR = false;  // conserved region (else variable region)
    Integer num;        // number of that CR (1..numCRs) or VR (1..numVRs)
};

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

// Working values of the conserved-region aligner (copies of the parameters).
struct LpamState {
    Integer lpamMaxLengthVariation;
    Integer lpamWordLength;
    Single lpamMinAcceptance = 0;
    Single lpamStdAcceptance = 0;
    Integer lpamMinCRLength;
};

// Working value of the template ranking.
struct MatchTemplateState {
    Integer rankTolerance;
};

// Counters of the template file reader.
struct TemplateReaderState {
    bool readError = false;
    bool confirmedNoRegions = false;
    Integer curTemplate, curNumCRs, curNumVRs, curNumRegions;
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

struct State {
    // --- services ---
    Messenger* messenger = nullptr;  // where message boxes go; not owned
    std::string programDir;          // directory of the running program (portable copy: also its files)
    std::string dataDir;             // help and default settings of an installed copy; "" = none
    std::string configDir;           // the user's settings when the program's folder cannot keep them

    // --- settings: the saved defaults (working copies live with LPAM and the ranking) ---
    Integer maxLengthVariation = 2;
    Integer wordLength = 6;
    Single stdAcceptancePct = 75;
    Single minAcceptancePct = 10;
    Integer minCRLength = 0;
    Integer baseCountTolerance = 3;
    bool showVRWarnings = false;
    bool showRunTimeErrors = true;
    bool showAssertFailures = true;
    // A batch run reads each variable region file once and keeps it for the whole run; the
    // desktop program reads a file again whenever it has changed.
    bool vrFilesFixed = false;
    // A batch run loads the template table once and never edits it: the words of its CRs are
    // then checked against the table when they are indexed, not at every ranking.
    bool templatesFixed = false;

    // --- template table (written only by the template reader) ---
    Integer numTemplates;
    Table<std::string, MAXNUMTEMPLATES> templateName;
    Table<Table<std::string, MAXNUMCR>, MAXNUMTEMPLATES> crSeq;   // bases of each CR
    Table<Table<std::string, MAXNUMCR>, MAXNUMTEMPLATES> crText;  // lines as written, for display
    Table<Integer, MAXNUMTEMPLATES> numCRs;
    Table<Table<std::string, MAXNUMVR>, MAXNUMTEMPLATES> vrFileName;
    Table<Integer, MAXNUMTEMPLATES> numVRs;
    Table<Table<TRegion, MAXNUMREGIONS>, MAXNUMTEMPLATES> tRegions;

    // --- input files ---
    std::string templateFileName, templateFilePath, vrFilePath;
    std::string sequenceFileName, sequenceFilePath;

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

    // --- module state ---
    LpamState lpam;
    MatchTemplateState match;
    TemplateReaderState reader;
    ScratchSlot lpamScratch;  // word index and vote table buffers
    // The CRs of the template table cut into words, made by the engine from the table at the
    // working word length and only read after that; copies of the state share it.
    std::shared_ptr<const TemplateWords> templateWords;
    ScratchSlot readWords;  // where those words occur in the sequences ranked last
    ScratchSlot vrCache;    // parsed variable region files
};

// Start-up initialisation of the data: file names emptied, template table emptied,
// nucleotide code table checked.
void InitializeGlobals(State& st);
void SetDefaultOptions(State& st);
// Empties the template table (numTemplates and the reader's counters to 0).
void ResetTemplates(State& st);

inline Integer MinInt(Integer a, Integer b) { return a < b ? a : b; }
inline Integer MaxInt(Integer a, Integer b) { return a > b ? a : b; }
// False for the two position markers POSNOTFOUND and POSAMBIGUOUS, True otherwise.
inline bool IsValidPos(int p) { return p != POSNOTFOUND && p != POSAMBIGUOUS; }
// A parse-result record for a template region, both positions POSNOTFOUND.
SRegion NewSRegion(const TRegion& tr);

}  // namespace varigap
