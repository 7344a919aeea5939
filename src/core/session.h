// What stays the same while a run analyses its reads: services, settings, the template table
// and the names of the input files. The loaders write it; every analysis job reads it through
// a const reference (see State), so the jobs of a run share one copy.
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
// Counters of the template file reader.
struct TemplateReaderState {
    bool readError = false;
    bool confirmedNoRegions = false;
    Integer curTemplate, curNumCRs, curNumVRs, curNumRegions;
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
struct Session {
    // --- services ---
    Messenger* messenger = nullptr;  // where the loaders' message boxes go; not owned
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

    // --- the parameters in effect (the desktop program may try values without saving them) ---
    LpamState lpam;
    MatchTemplateState match;

    TemplateReaderState reader;
    // The CRs of the table cut into words, made once for a run (IndexTemplates) and shared by its jobs.
    std::shared_ptr<const TemplateWords> templateWords;
};

// Start-up initialisation of the data: file names emptied, template table emptied,
// nucleotide code table checked.
void InitializeGlobals(Session& session);
void SetDefaultOptions(Session& session);
// Empties the template table (numTemplates and the reader's counters to 0).
void ResetTemplates(Session& session);

}  // namespace varigap
