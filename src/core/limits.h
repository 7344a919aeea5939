// The program's fixed limits and position markers.
#pragma once

namespace varigap {

constexpr int MAXNUMTEMPLATES = 63;        // templates in one template file
constexpr int MAXNUMCR = 127;              // conserved regions in one template
constexpr int MAXNUMVR = 127;              // variable regions in one template
constexpr int MAXNUMREGIONS = 254;         // CRs and VRs of one template together
constexpr int MAXNUMDISPLAYLINES = 254;    // lines of the analysis display (segments)
constexpr int MAXNUMCONSECUTIVEVRS = 15;   // variable regions in a row that parsing can fill
constexpr int MAXNUMPOSS = 15;             // candidate variants kept per variable region
constexpr int maxSeqLen = 32000;           // longest stretch LPAM accepts
constexpr int MAXNUMVRFILEENTRIES = 1023;  // entries the Variable Region Analysis window reads
constexpr int MAXLSTSEQSLINELEN = 100;     // bases per line of that window's list

constexpr int POSNOTFOUND = -1;   // not found, or not yet known
constexpr int POSAMBIGUOUS = -2;  // found more than once

}  // namespace varigap
