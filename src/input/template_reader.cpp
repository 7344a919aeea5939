// Template files: the line loop, one handler per kind of line, and the region bookkeeping.
#include "input/template_reader.h"

#include <string>

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"

namespace varigap {

namespace {

const std::string kCrLf = "\r\n";

void StopReading(Session& session, const std::string& message) {
    session.reader.readError = true;
    MsgBox(session, message);
}

const std::string& CurrentTemplateName(const Session& session) {
    return session.templateName[session.reader.curTemplate];
}

// Adds a region to the current template; a conserved region line right after another one
// continues that region, since two conserved regions never follow each other.
void AddRegion(Session& session, bool isCR) {
    TemplateReaderState& r = session.reader;
    const int t = r.curTemplate;
    if (isCR && r.curNumRegions >= 1 && session.tRegions[t][r.curNumRegions].isCR) return;
    ++r.curNumRegions;
    if (r.curNumRegions > MAXNUMREGIONS) {
        StopReading(session, "Too many regions in template.  MAXNUMREGIONS = " + Str(MAXNUMREGIONS));
        return;
    }
    TRegion& region = session.tRegions[t][r.curNumRegions];
    region.isCR = isCR;
    if (isCR) {
        ++r.curNumCRs;
        region.num = r.curNumCRs;
        if (r.curNumCRs <= MAXNUMCR) {
            session.crSeq[t][r.curNumCRs].clear();
            session.crText[t][r.curNumCRs].clear();
        }
    } else {
        ++r.curNumVRs;
        region.num = r.curNumVRs;
    }
}

// Asks whether a template without variable (or conserved) regions is meant; true to go on.
bool ConfirmMissingRegions(Session& session, const std::string& kind) {
    MsgAnswer answer =
        Ask(session,
            "Template " + CurrentTemplateName(session) + " has no " + kind + " regions specified. Are you sure \"" +
                session.templateFileName + "\"is a valid Varigap TEMPLATE file?",
            "Varigap", MsgButtons::YesNoCancel, MsgIcon::Question);
    if (answer != MsgAnswer::Yes) {
        session.reader.readError = true;
        return false;
    }
    session.reader.confirmedNoRegions = true;
    return true;
}

void ReadTemplateName(Session& session, std::string line) {
    TemplateReaderState& r = session.reader;
    StripLeading(line, ">");
    if (r.curTemplate >= 1) {
        if (r.curNumVRs == 0 && !r.confirmedNoRegions && !ConfirmMissingRegions(session, "variable")) return;
        if (r.curNumCRs == 0 && !r.confirmedNoRegions && !ConfirmMissingRegions(session, "conserved")) return;
        session.numCRs[r.curTemplate] = r.curNumCRs;
        session.numVRs[r.curTemplate] = r.curNumVRs;
    }
    ++r.curTemplate;
    if (r.curTemplate > MAXNUMTEMPLATES) {
        StopReading(session, "Too many templates in template file " + session.templateFileName +
                                 ".  MAXNUMTEMPLATES = " + Str(MAXNUMTEMPLATES) + ".");
        return;
    }
    r.curNumCRs = 0;
    r.curNumVRs = 0;
    r.curNumRegions = 0;
    session.templateName[r.curTemplate] = line;
}

void ReadVariableRegion(Session& session, std::string line) {
    TemplateReaderState& r = session.reader;
    if (r.curTemplate < 1) {
        StopReading(session,
                    "Variable region file name listed before first template name or unexpected quotation "
                    "marks in line " +
                        line + "." + kCrLf + "Perhaps this is not an Varigap template file?");
        return;
    }
    const std::string asRead = line;
    StripLeading(line, "\"");
    if (!line.empty() && line.back() == '"') line.pop_back();
    // Variable region files lie beside the template file: a name with a folder in it could
    // reach any file on the machine.
    if (line.find_first_of("/\\") != std::string::npos) {
        StopReading(session, "Parse error in template file " + session.templateFileName +
                                 ".  Variable region file name with a folder in line: " + asRead);
        return;
    }
    AddRegion(session, false);
    if (r.readError) return;
    if (r.curNumVRs <= MAXNUMVR) {
        session.vrFileName[r.curTemplate][r.curNumVRs] = line;
    } else {
        StopReading(session, "Too many variable regions in template " + CurrentTemplateName(session) +
                                 ".  MAXNUMVR = " + Str(MAXNUMVR));
    }
}

void ReadConservedRegion(Session& session, std::string line) {
    TemplateReaderState& r = session.reader;
    if (r.curTemplate < 1) {
        StopReading(session, "Conserved region listed before first template name or unexpected line: " + line + ". " +
                                 kCrLf + "Perhaps this is not an Varigap template file?");
        return;
    }
    StripLeading(line, "0123456789");  // the position numbers of numbered listings
    AddRegion(session, true);
    if (r.readError) return;
    if (r.curNumCRs > MAXNUMCR) {
        StopReading(session, "Too many conserved regions in template " + CurrentTemplateName(session) +
                                 ".  MAXNUMCR = " + Str(MAXNUMCR));
        return;
    }
    std::string& text = session.crText[r.curTemplate][r.curNumCRs];
    if (!text.empty()) text += kCrLf;
    text += line;
    RemoveComments(session, line);
    StripNonBases(line);
    std::string& bases = session.crSeq[r.curTemplate][r.curNumCRs];
    bases += line;
    // No sequence that can be analysed holds a longer one: refused now, not at every record.
    if (bases.size() > static_cast<size_t>(maxSeqLen))
        StopReading(session, "Conserved region " + Str(r.curNumCRs) + " of template " + CurrentTemplateName(session) +
                                 " is longer than the longest sequence that can be analysed.  maxSeqLen = " +
                                 Str(maxSeqLen) + ".");
}

void ReadTemplates(Session& session, TextReader& file) {
    TemplateReaderState& r = session.reader;
    r.readError = false;
    r.confirmedNoRegions = false;
    std::string line;
    while (!r.readError && file.ReadLine(line)) {
        StripLeading(line);
        if (line.empty()) continue;
        char first = line[0];
        if (first == '#') {
            continue;
        } else if (first == '>') {
            ReadTemplateName(session, line);
        } else if (first == '"') {
            ReadVariableRegion(session, line);
        } else if ((first >= '0' && first <= '9') || (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') ||
                   first == '[') {
            ReadConservedRegion(session, line);
        } else {
            StopReading(session, "Parse error in template file " + session.templateFileName +
                                     ".  Unexpected initial character in line: " + line);
        }
    }
    if (r.readError) {
        ResetTemplates(session);
        return;
    }
    // The last template is taken as it stands, without the questions about missing regions.
    session.numTemplates = r.curTemplate;
    session.numCRs[r.curTemplate] = r.curNumCRs;
    session.numVRs[r.curTemplate] = r.curNumVRs;
}

}  // namespace

bool LoadTemplateFile(Session& session) {
    if (session.templateFileName.empty()) return false;
    TextReader file;
    if (!OpenInputFile(session, file, session.templateFilePath, session.templateFileName, "Varigap Template File"))
        return false;
    ResetTemplates(session);
    try {
        ReadTemplates(session, file);
    } catch (...) {
        // A read broken off by a run-time error leaves no half-read table behind.
        session.reader.readError = true;
        ResetTemplates(session);
        throw;
    }
    file.Close();
    return !session.reader.readError;
}

}  // namespace varigap
