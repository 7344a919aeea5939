// Start-up initialisation of the session: settings, file names and template table.
#include "core/session.h"

#include "core/bases.h"
#include "core/messages.h"

namespace varigap {

void SetDefaultOptions(Session& session) {
    session.showVRWarnings = false;
    session.showRunTimeErrors = true;
    session.showAssertFailures = true;
}

void InitializeGlobals(Session& session) {
    session.templateFileName.clear();
    session.sequenceFileName.clear();
    ResetTemplates(session);
    InitializeBaseCodes(session);
}

void ResetTemplates(Session& session) {
    session.numTemplates = 0;
    session.reader.curTemplate = 0;
    session.reader.curNumCRs = 0;
    session.reader.curNumVRs = 0;
    session.reader.curNumRegions = 0;
}

}  // namespace varigap
