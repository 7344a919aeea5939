// Start-up initialisation of the working data.
#include "core/state.h"

#include "core/bases.h"

namespace varigap {

void SetDefaultOptions(State& st) {
    st.showVRWarnings = false;
    st.showRunTimeErrors = true;
    st.showAssertFailures = true;
}

void InitializeGlobals(State& st) {
    st.templateFileName.clear();
    st.sequenceFileName.clear();
    ResetTemplates(st);
    InitializeBaseCodes(st);
}

void ResetTemplates(State& st) {
    st.numTemplates = 0;
    st.reader.curTemplate = 0;
    st.reader.curNumCRs = 0;
    st.reader.curNumVRs = 0;
    st.reader.curNumRegions = 0;
}

SRegion NewSRegion(const TRegion& tr) {
    SRegion r;
    r.isCR = tr.isCR;
    r.num = tr.num;
    r.startPos = POSNOTFOUND;
    r.endPos = POSNOTFOUND;
    return r;
}

}  // namespace varigap
