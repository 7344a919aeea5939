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

void StopReading(State& st, const std::string& message) {
    st.reader.readError = true;
    MsgBox(st, message);
}

const std::string& CurrentTemplateName(const State& st) { return st.templateName[st.reader.curTemplate]; }

// Adds a region to the current template; a conserved region line right after another one
// continues that region, since two conserved regions never follow each other.
void AddRegion(State& st, bool isCR) {
    TemplateReaderState& r = st.reader;
    const int t = r.curTemplate;
    if (isCR && r.curNumRegions >= 1 && st.tRegions[t][r.curNumRegions].isCR) return;
    ++r.curNumRegions;
    if (r.curNumRegions > MAXNUMREGIONS) {
        StopReading(st, "Too many regions in template.  MAXNUMREGIONS = " + Str(MAXNUMREGIONS));
        return;
    }
    TRegion& region = st.tRegions[t][r.curNumRegions];
    region.isCR = isCR;
    if (isCR) {
        ++r.curNumCRs;
        region.num = r.curNumCRs;
        if (r.curNumCRs <= MAXNUMCR) {
            st.crSeq[t][r.curNumCRs].clear();
            st.crText[t][r.curNumCRs].clear();
        }
    } else {
        ++r.curNumVRs;
        region.num = r.curNumVRs;
    }
}

// Asks whether a template without variable (or conserved) regions is meant; true to go on.
bool ConfirmMissingRegions(State& st, const std::string& kind) {
    MsgAnswer answer =
        Ask(st,
            "Template " + CurrentTemplateName(st) + " has no " + kind + " regions specified. Are you sure \"" +
                st.templateFileName + "\"is a valid Varigap TEMPLATE file?",
            "Varigap", MsgButtons::YesNoCancel, MsgIcon::Question);
    if (answer != MsgAnswer::Yes) {
        st.reader.readError = true;
        return false;
    }
    st.reader.confirmedNoRegions = true;
    return true;
}

void ReadTemplateName(State& st, std::string line) {
    TemplateReaderState& r = st.reader;
    StripLeading(line, ">");
    if (r.curTemplate >= 1) {
        if (r.curNumVRs == 0 && !r.confirmedNoRegions && !ConfirmMissingRegions(st, "variable")) return;
        if (r.curNumCRs == 0 && !r.confirmedNoRegions && !ConfirmMissingRegions(st, "conserved")) return;
        st.numCRs[r.curTemplate] = r.curNumCRs;
        st.numVRs[r.curTemplate] = r.curNumVRs;
    }
    ++r.curTemplate;
    if (r.curTemplate > MAXNUMTEMPLATES) {
        StopReading(st, "Too many templates in template file " + st.templateFileName +
                            ".  MAXNUMTEMPLATES = " + Str(MAXNUMTEMPLATES) + ".");
        return;
    }
    r.curNumCRs = 0;
    r.curNumVRs = 0;
    r.curNumRegions = 0;
    st.templateName[r.curTemplate] = line;
}

void ReadVariableRegion(State& st, std::string line) {
    TemplateReaderState& r = st.reader;
    if (r.curTemplate < 1) {
        StopReading(st,
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
        StopReading(st, "Parse error in template file " + st.templateFileName +
                            ".  Variable region file name with a folder in line: " + asRead);
        return;
    }
    AddRegion(st, false);
    if (r.readError) return;
    if (r.curNumVRs <= MAXNUMVR) {
        st.vrFileName[r.curTemplate][r.curNumVRs] = line;
    } else {
        StopReading(
            st, "Too many variable regions in template " + CurrentTemplateName(st) + ".  MAXNUMVR = " + Str(MAXNUMVR));
    }
}

void ReadConservedRegion(State& st, std::string line) {
    TemplateReaderState& r = st.reader;
    if (r.curTemplate < 1) {
        StopReading(st, "Conserved region listed before first template name or unexpected line: " + line + ". " +
                            kCrLf + "Perhaps this is not an Varigap template file?");
        return;
    }
    StripLeading(line, "0123456789");  // the position numbers of numbered listings
    AddRegion(st, true);
    if (r.readError) return;
    if (r.curNumCRs > MAXNUMCR) {
        StopReading(
            st, "Too many conserved regions in template " + CurrentTemplateName(st) + ".  MAXNUMCR = " + Str(MAXNUMCR));
        return;
    }
    std::string& text = st.crText[r.curTemplate][r.curNumCRs];
    if (!text.empty()) text += kCrLf;
    text += line;
    RemoveComments(st, line);
    StripNonBases(line);
    std::string& bases = st.crSeq[r.curTemplate][r.curNumCRs];
    bases += line;
    // No sequence that can be analysed holds a longer one: refused now, not at every record.
    if (bases.size() > static_cast<size_t>(maxSeqLen))
        StopReading(
            st, "Conserved region " + Str(r.curNumCRs) + " of template " + CurrentTemplateName(st) +
                    " is longer than the longest sequence that can be analysed.  maxSeqLen = " + Str(maxSeqLen) + ".");
}

void ReadTemplates(State& st, TextReader& file) {
    TemplateReaderState& r = st.reader;
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
            ReadTemplateName(st, line);
        } else if (first == '"') {
            ReadVariableRegion(st, line);
        } else if ((first >= '0' && first <= '9') || (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') ||
                   first == '[') {
            ReadConservedRegion(st, line);
        } else {
            StopReading(st, "Parse error in template file " + st.templateFileName +
                                ".  Unexpected initial character in line: " + line);
        }
    }
    if (r.readError) {
        ResetTemplates(st);
        return;
    }
    // The last template is taken as it stands, without the questions about missing regions.
    st.numTemplates = r.curTemplate;
    st.numCRs[r.curTemplate] = r.curNumCRs;
    st.numVRs[r.curTemplate] = r.curNumVRs;
}

}  // namespace

bool LoadTemplateFile(State& st) {
    if (st.templateFileName.empty()) return false;
    TextReader file;
    if (!OpenInputFile(st, file, st.templateFilePath, st.templateFileName, "Varigap Template File")) return false;
    ResetTemplates(st);
    try {
        ReadTemplates(st, file);
    } catch (...) {
        // A read broken off by a run-time error leaves no half-read table behind.
        st.reader.readError = true;
        ResetTemplates(st);
        throw;
    }
    file.Close();
    return !st.reader.readError;
}

}  // namespace varigap
