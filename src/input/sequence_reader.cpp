// Sequence files (FASTA): name lines, base lines, and the three ways of reading them.
#include "input/sequence_reader.h"

#include "core/bases.h"
#include "core/complement.h"
#include "core/messages.h"

namespace varigap {

namespace {

size_t SkipBlanks(const std::string& line, size_t i) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return i;
}

// Where the name of a name line begins (after leading blanks and Tabs, one ">", and the
// blanks and Tabs after it); npos for any other line. Trailing characters belong to the name.
size_t NameStart(const std::string& line) {
    size_t i = SkipBlanks(line, 0);
    if (i >= line.size() || line[i] != '>') return std::string::npos;
    return SkipBlanks(line, i + 1);
}

// Collects base lines into `bases` (or passes over them when it is null) up to the next
// name line, whose name goes to `nextName` (true returned), or the end of the file (false).
bool CollectBases(TextReader& file, std::string* bases, std::string* nextName) {
    std::string line;
    while (file.ReadLine(line)) {
        size_t nameStart = NameStart(line);
        if (nameStart != std::string::npos) {
            if (nextName) nextName->assign(line, nameStart);
            return true;
        }
        if (bases) {
            StripNonBases(line);  // in place, then one append per line
            *bases += line;
        }
    }
    return false;
}

}  // namespace

void ListSequenceNames(State& st, TextReader& file, ItemList& names) {
    st.actSeq.clear();
    std::string line;
    while (file.ReadLine(line)) {
        size_t nameStart = NameStart(line);
        if (nameStart != std::string::npos) names.AddItem(line.substr(nameStart));
    }
}

void ReadSequenceBases(TextReader& file, const std::string& name, std::string& bases) {
    bases.clear();
    std::string line;
    bool found = false;
    while (!found && file.ReadLine(line)) {
        size_t nameStart = NameStart(line);
        found = nameStart != std::string::npos && line.compare(nameStart, std::string::npos, name) == 0;
    }
    if (found) CollectBases(file, &bases, nullptr);
}

bool OpenSequenceFile(Reporter to, TextReader& file) {
    if (!OpenInputFile(to, file, to.session.sequenceFilePath, to.session.sequenceFileName, "Varigap Sequence File"))
        return false;
    if (!file.Utf16()) return true;
    file.Close();
    MsgBox(to, "Error: Varigap Sequence File \"" + FullPath(to.session.sequenceFilePath, to.session.sequenceFileName) +
                   "\" is UTF-16 text.  Sequence files must be plain text (ASCII or UTF-8).");
    return false;
}

void LoadSequenceFile(State& st, ItemList& names) {
    if (st.session.sequenceFileName.empty()) return;
    TextReader file;
    if (!OpenSequenceFile(st, file)) return;
    names.Clear();
    ListSequenceNames(st, file, names);
    file.Close();
    if (names.ListCount() >= 1) names.SetListIndex(0);
}

bool LoadActSeq(State& st, const std::string& name, bool complement) {
    TextReader file;
    if (!OpenSequenceFile(st, file)) return false;
    bool loaded = Trapped(st, [&] {
        std::string bases;
        ReadSequenceBases(file, name, bases);
        file.Close();
        st.actSeq = complement ? ReverseComplement(bases) : std::move(bases);
    });
    if (!loaded) {
        file.Close();
        st.actSeq.clear();
    }
    return loaded;
}

bool FastaStream::Next(std::string& name, std::string& bases) {
    bases.clear();
    if (!havePending_) {
        // First call: skip everything before the first name line. After the last record
        // the file is used up and this finds nothing.
        if (!CollectBases(file_, nullptr, &pending_)) return false;
    }
    name.swap(pending_);
    havePending_ = CollectBases(file_, &bases, &pending_);
    return true;
}

}  // namespace varigap
