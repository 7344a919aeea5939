// The analysis as every front end runs it: start-up of the working data, Find Template on the
// analysed sequence (rank, choose, parse, segment), and the reparse around a chosen variant.
#pragma once

#include <string>

#include "core/state.h"

namespace varigap {

// --- start-up ---

// Where the settings come from.
struct SettingsFiles {
    std::string params;   // a parameters file named by the user; "" = VarigapParams.txt beside the program
    std::string options;  // an options file named by the user; "" = VarigapOptions.txt beside the program
    // A file beside the program that is not there is reported (the desktop program), or quietly
    // replaced by the defaults (the command line).
    bool reportMissing = true;
    bool defaultsOnly = false;  // read no file at all: the built-in defaults

    static SettingsFiles BuiltIn() {
        SettingsFiles f;
        f.defaultsOnly = true;
        return f;
    }
};

// Reads the settings (defaults first) and initialises the working data in the program's
// start-up order: parameters, options (in force before the code table checks), data tables,
// LPAM and ranking working values, complement table. session.programDir and session.messenger
// must be set. A file named in `files` that is not there is reported; then false is returned and the
// working data are left alone.
bool StartUp(Session& session, const SettingsFiles& files = {});

// Cuts the CRs of the loaded template table into words at the working word length, once for
// every job of a run that reads this session (a job whose word length differs makes its own).
void IndexTemplates(Session& session);

// --- Find Template ---

// Ranks every template against st.actSeq: templateRanks, numRankedTemplates and each
// template's CR positions. Returns the best template's number, 0 without templates. Raises
// run-time error 6 when actSeq is longer than an Integer position can reach.
Integer RankActSeq(State& st);
// Words of fewer bases occur in so many places of a sequence that the aligner's vote table
// runs full on the bundled examples.
inline constexpr int kShortestSafeWordLength = 4;
// What a ranking that left st.voteTableFull set says: the cause and what avoids it.
std::string VoteTableFullText(const State& st);
// The template an analysis applies: `choice` when it is a template number, `best` otherwise.
Integer ChooseTemplate(const State& st, Integer choice, Integer best);
// Parses st.actSeq along actTemplate with the CR positions the ranking found, identifies its
// variable regions among their files' variants and cuts it into display lines (SRegions,
// VRPoss, SSegments).
void ParseActSeq(State& st);
// Applies template `choice` (else `best`) to actSeq as ranked last: made actTemplate, and
// ParseActSeq along it. Returns the template applied.
Integer ApplyTemplate(State& st, Integer choice, Integer best);
// Find Template: RankActSeq, then ApplyTemplate with the best template. Returns the template
// applied. Run-time errors are left to the caller.
Integer FindTemplate(State& st, Integer choice = 0);
// The same on `bases`, made the analysed sequence (actSeq).
Integer FindTemplate(State& st, std::string bases, Integer choice = 0);
// RankActSeq on `bases`, made the analysed sequence: where every template's CRs lie in it.
Integer RankSequence(State& st, std::string bases);

// --- reads of amplicon runs ---

// Whether ranking entry `a` belongs above entry `b` by the ranking's own comparison (more
// matched bases beyond the tolerance, or within it a larger matched fraction). The two may come
// from rankings of different sequences, such as a read and its reverse complement.
bool IsBetterRank(const State& st, const TemplateRank& a, const TemplateRank& b);

// Where a read lies in actSeq (1-based, inclusive).
struct ReadSpan {
    Integer first, last;
};

// Find Template for a read whose primer sites were cut off. A template's first and last CR
// (when it begins or ends with one) are taken to lie just outside the read: for each template
// actSeq becomes the bases of its first CR, the read and the bases of its last CR, and the
// template is placed and parsed along it. Its matched bases are those of its CRs found inside
// the read and of the read's variable regions identified with a listed variant, out of the
// read's length: the CRs beside the read never count. Leaves actSeq, with the CRs of the
// template applied around the read, parsed along `choice` when it is a template number, else
// along the best; returns the best entry and where the read lies. Run-time errors are left to
// the caller.
TemplateRank FindTemplateTrimmed(State& st, const std::string& read, Integer choice, ReadSpan& where);

// --- reparse ---

enum class ReparseResult { Done, NoSuchLine, NotAVariableRegion, NoSuchPossibility };

// Makes possibility `sel` of the variable region shown alone on display line `line` its
// selected one and rebuilds the display lines around it. Anything else (no such line, a line
// that is not one variable region, a possibility it does not have) changes nothing and says
// why.
ReparseResult ReparseLine(State& st, Integer line, Integer sel);
// Why a reparse of display line `line` was refused, as a sentence ending in a full stop;
// "" for Done.
std::string ReparseRefusal(const State& st, ReparseResult result, Integer line);

}  // namespace varigap
