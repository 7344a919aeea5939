// Fuzzes a whole analysis: template, sequences, variable region files, parameters and reparse
// requests. Whatever they hold, the display lines tile the sequence without overlap or gap,
// the output file holds exactly the sequence's bases, and every output format parses.
// Input parts: template file, FASTA file, parameter file, reparse requests ("LINE:SEL ..."),
// then the variable region files in the order the template first names them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "core/strings.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "engine/read_analysis.h"
#include "export/listing.h"
#include "fuzz_support.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "output/output_file.h"

using namespace varigap;

namespace {

constexpr size_t kVRFiles = 6;   // parts that become variable region files
constexpr size_t kRecords = 3;   // records analysed per input
constexpr size_t kRequests = 4;  // reparse requests applied

std::vector<ReparseRequest> Requests(const std::string& text) {
    std::vector<ReparseRequest> requests;
    std::istringstream in(text);
    for (std::string word; in >> word && requests.size() < kRequests;) {
        const size_t colon = word.find(':');
        if (colon == std::string::npos || colon > 5 || word.size() - colon > 6) continue;
        bool ok = false, ok2 = false;
        const double line = LeadingNumber(word.substr(0, colon), &ok),
                     sel = LeadingNumber(word.substr(colon + 1), &ok2);
        if (ok && ok2 && line >= 1 && line <= 32767 && sel >= 0 && sel <= 32767)
            requests.push_back({static_cast<int>(line), static_cast<int>(sel)});
    }
    return requests;
}

// Each name of the template's variable region files gets the next part, in the order first named.
void WriteVRFiles(const Session& session, const std::vector<std::string>& parts) {
    std::vector<std::string> written;
    for (int t = 1; t <= session.numTemplates; ++t)
        for (int v = 1; v <= session.numVRs[t] && written.size() < kVRFiles; ++v) {
            const std::string& name = session.vrFileName[t][v];
            if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos) continue;
            if (std::find(written.begin(), written.end(), name) != written.end()) continue;
            fuzz::WriteScratch(name, parts[4 + written.size()]);
            written.push_back(name);
        }
}

void CheckLinesTileTheSequence(const State& st, const ReadResult& a) {
    const int len = static_cast<int>(st.actSeq.size());
    int prevEnd = 0;
    for (int n = 1; n <= st.numSSegments; ++n) {
        const SSegment& s = st.SSegments[n];
        fuzz::Check(s.startPos == prevEnd + 1 && s.endPos >= s.startPos - 1, "each line starts where the last ended");
        prevEnd = s.endPos;
    }
    // No line at all is how a sequence without any region found is shown; a full display keeps
    // its first lines.
    if (st.numSSegments >= 1 && st.numSSegments < MAXNUMDISPLAYLINES)
        fuzz::Check(prevEnd == len, "the lines reach the sequence's end");
    fuzz::Check(a.lines.size() == static_cast<size_t>(static_cast<int>(st.numSSegments)), "one text per line");
}

// The output file: its ORIGIN block spells the sequence, its FEATURES ranges lie inside it.
void CheckOutputFile(State& st, const std::string& name, const ReadResult& a) {
    TextWriter out;
    out.Open(fuzz::ScratchDir() + "/out.txt");
    WriteOutputFileText(st, a, out, "out.txt", name, true);
    fuzz::Check(out.Commit(), "the output file is written");
    TextReader in;
    in.Open(fuzz::ScratchDir() + "/out.txt");
    std::string line, bases;
    bool origin = false;
    while (in.ReadLine(line)) {
        if (origin) {
            for (char c : line)
                if (c != ' ' && (c < '0' || c > '9')) bases += c;
        } else if (line == "ORIGIN") {
            origin = true;
        }
    }
    fuzz::Check(origin && bases == st.actSeq, "the output file holds exactly the sequence's bases");
}

// Every format as the command line writes it: one name line with its Tabs, rows of as many
// fields as the header, one JSON object a line.
void CheckFormats(const State& st, const std::string& name, const ReadResult& a, bool showStrand) {
    using exports::Format;
    const exports::SampleField sample("sample");
    std::string text, tsv, json;
    for (auto [format, out] : {std::pair{Format::Text, &text}, {Format::Tsv, &tsv}, {Format::Json, &json}}) {
        std::string body;
        const exports::ListingSettings listing{format, true, showStrand, a.trimmed};
        exports::RenderBody(st.session, a, listing, body);
        exports::Emit(listing, body, a.reverse ? '-' : '+', name, sample, *out);
    }
    const std::string head = text.substr(0, text.find('\n'));
    fuzz::Check(head[0] == '>' && std::count(head.begin(), head.end(), '\t') == (showStrand ? 2 : 1),
                "text: the name line's Tabs");
    fuzz::Check(text.find('\r') == std::string::npos, "text: no carriage return");
    const std::string header = exports::TsvHeader();
    const auto fields = std::count(header.begin(), header.end(), '\t');
    std::istringstream rows(tsv);
    for (std::string row; std::getline(rows, row);)
        fuzz::Check(std::count(row.begin(), row.end(), '\t') == fields && row.find('\r') == std::string::npos,
                    "tsv: the header's fields in every row");
    fuzz::Check(!json.empty() && json.back() == '\n' && json.find('\n') == json.size() - 1, "json: one line");
    fuzz::Check(fuzz::IsJson(std::string_view(json).substr(0, json.size() - 1)), "json: parses");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzz::Parts(data, size, 4 + kVRFiles);
    fuzz::ClearScratch();
    fuzz::FuzzState f;
    State& st = f.st;
    Session& session = f.session;
    const std::string dir = fuzz::ScratchDir();
    fuzz::WriteScratch("params.txt", parts[2]);
    if (!StartUp(session, SettingsFiles{.params = dir + "/params.txt", .reportMissing = false})) return 0;

    fuzz::WriteScratch("t.tpl", parts[0]);
    session.templateFilePath = session.vrFilePath = dir;
    session.templateFileName = "t.tpl";
    if (!LoadTemplateFile(session) || session.numTemplates < 1) return 0;
    WriteVRFiles(session, parts);

    fuzz::WriteScratch("s.fasta", parts[1]);
    session.sequenceFilePath = dir;
    session.sequenceFileName = "s.fasta";
    TextReader file;
    if (!OpenSequenceFile(st, file)) return 0;
    FastaStream records(file);
    ReadRequest settings;
    settings.reparse = Requests(parts[3]);
    std::string name, bases;
    for (size_t r = 0; r < kRecords && records.Next(name, bases); ++r) {
        // The first read as it stands, the second on the strand that fits, the third trimmed.
        settings.orient = r == 1 ? Orient::Auto : Orient::Forward;
        settings.primersTrimmed = r == 2;
        const ReadResult a = AnalyzeRead(st, bases, settings);
        // A limit reached is said as what it is; an internal check that fails is a fault.
        for (const Message& m : f.msgs.shown) fuzz::Check(m.title != "Varigap Logic Error", "no internal check fails");
        if (a.analysed) {
            CheckLinesTileTheSequence(st, a);
            if (!a.trimmed) CheckOutputFile(st, name, a);
        }
        CheckFormats(st, name, a, settings.orient == Orient::Auto);
    }
    return 0;
}
