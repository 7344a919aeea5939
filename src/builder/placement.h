// Where the program itself places a template's conserved regions in a record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/state.h"

namespace varigap::builder {

// A 1-based stretch of a record; first = last + 1 for an empty one.
struct Span {
    long first = 0, last = -1;
};

// Places the conserved regions of one template the way the ranking does (same parameters,
// same search), so that variable region bases cut between them are the bases an analysis of
// that record will look up.
class CRPlacer {
public:
    // `settings`: parameters and the aligner's working values; `regions`: the template's
    // regions in order (true for a CR) and `crBases` the bases of its CRs in order.
    CRPlacer(const Session& settings, const std::vector<bool>& regions, const std::vector<std::string>& crBases);
    // The place of each CR in `bases`, or an empty optional-like Span (first 0) where it was
    // not found once and only once (also for a record too long for the program).
    std::vector<Span> Place(const std::string& bases);

private:
    std::unique_ptr<Session> session_;
    std::unique_ptr<State> st_;  // reads *session_
    int numCRs_ = 0;
};

}  // namespace varigap::builder
