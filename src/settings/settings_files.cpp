// The parameter and options files: defaults, reading name = value lines, saving with a backup.
#include "settings/settings_files.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iterator>

#include "core/messages.h"
#include "core/strings.h"
#include "settings/locations.h"

namespace varigap {

namespace {

// Names are recognised by their first 8 characters, without regard to case, so that
// "wordLengthXYZ" still sets the word length while "wordLen" is unknown.
constexpr size_t kKeyLength = 8;

bool KeyIs(const std::string& name, const char* key) {
    return name.size() >= kKeyLength && ToUpper(name.substr(0, kKeyLength)) == ToUpper(key);
}

// One setting line split at its first "="; false for lines without one (the header,
// empty lines, comment text), which are passed over.
bool SplitSetting(std::string line, std::string& name, std::string& value) {
    StripLeading(line);
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    name = line.substr(0, eq);
    value = line.substr(eq + 1);
    return true;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string TrimBlanks(std::string s) {
    StripLeading(s);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

// A parameter and the range that the Parameters dialog allows for it.
struct ParamSlot {
    const char* key;
    int min, max;
};
constexpr ParamSlot kParamSlots[] = {
    {"maxLengt", 0, 32767}, {"wordLeng", 1, 32767}, {"stdaccep", 0, 100},
    {"minaccep", 0, 100},   {"mincrlen", 0, 32767}, {"basecoun", 0, 32767},
};

void SetParameter(Session& session, int index, Integer v) {
    switch (index) {
        case 0: session.maxLengthVariation = v; break;
        case 1: session.wordLength = v; break;
        case 2: session.stdAcceptancePct = ToSingle(v); break;
        case 3: session.minAcceptancePct = ToSingle(v); break;
        case 4: session.minCRLength = v; break;
        default: session.baseCountTolerance = v; break;
    }
}

// The whole number a value text stands for (its leading number rounded, halves to even),
// or false when that lies outside the 16-bit range or the parameter's range.
bool ParameterValue(const std::string& text, const ParamSlot& slot, Integer& v) {
    double r = std::nearbyint(LeadingNumber(text));
    if (!std::isfinite(r) || r < slot.min || r > slot.max) return false;
    v = Integer(static_cast<int>(r));
    return true;
}

// Shortest plain decimal text of a Single: "75" for a whole number.
std::string SingleText(Single v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

template <class Write>
void SaveWithBackup(const Session& session, const char* fileName, const char* backupName, Write write) {
    std::string directory = SettingsSaveDirectory(session);
    std::error_code ec;
    // The user's configuration folder is made on the first Save; the program's own never is.
    if (directory == session.configDir && !DirectoryExists(directory))
        std::filesystem::create_directories(directory, ec);
    if (ec) RaiseFileError(ec.value());
    std::string path = FullPath(directory, fileName);
    if (FileExists(path)) CopyFileOver(path, FullPath(directory, backupName));
    TextWriter file;
    file.Open(path);
    write(file);
    file.Commit();
}

}  // namespace

void SetDefaultParameters(Session& session) {
    session.maxLengthVariation = 2;
    session.wordLength = 6;
    session.stdAcceptancePct = 75;
    session.minAcceptancePct = 10;
    session.minCRLength = 0;
    session.baseCountTolerance = 3;
}

bool StringToBool(const std::string& text) {
    std::string t = text;
    StripLeading(t);
    if (t.empty()) return false;
    if (std::string("yYtT1").find(t[0]) != std::string::npos) return true;
    return t.size() >= 2 && ToUpper(t.substr(0, 2)) == "ON";
}

std::string BoolToString(bool b) { return b ? "TRUE" : "FALSE"; }

void ReadParameters(Session& session, TextReader& file, const std::string& fileName) {
    std::string line, name, value;
    while (file.ReadLine(line)) {
        if (!SplitSetting(line, name, value)) continue;
        int index = -1;
        for (int i = 0; i < static_cast<int>(std::size(kParamSlots)) && index < 0; ++i)
            if (KeyIs(name, kParamSlots[i].key)) index = i;
        std::string problem;
        Integer v;
        if (index < 0) {
            problem = "Unexpected parameter name " + Quoted(name);
        } else if (!ParameterValue(value, kParamSlots[index], v)) {
            // Hand-edited values the dialog would never accept are not taken either.
            problem = "Invalid value " + Quoted(TrimBlanks(value)) + " for parameter " + Quoted(name);
        }
        if (!problem.empty()) {
            MsgBox(session, problem + " in file " + Quoted(fileName) + ".");
            SetDefaultParameters(session);
            return;
        }
        SetParameter(session, index, v);
    }
}

void ReadOptions(Session& session, TextReader& file, const std::string& fileName) {
    std::string line, name, value;
    while (file.ReadLine(line)) {
        if (!SplitSetting(line, name, value)) continue;
        if (KeyIs(name, "showVRWa")) {
            session.showVRWarnings = StringToBool(value);
        } else if (KeyIs(name, "showRunT")) {
            session.showRunTimeErrors = StringToBool(value);
        } else if (KeyIs(name, "showAsse")) {
            session.showAssertFailures = StringToBool(value);
        } else {
            MsgBox(session, "Unexpected option name " + Quoted(name) + " in file " + Quoted(fileName) + ".");
            SetDefaultOptions(session);
            return;
        }
    }
}

namespace {

// The defaults first; the file's values over them, or the defaults again when reading fails.
bool LoadSettingsFrom(Session& session, const std::string& directory, const std::string& name, const char* kind,
                      void (*setDefaults)(Session&), void (*read)(Session&, TextReader&, const std::string&)) {
    setDefaults(session);
    TextReader file;
    if (!OpenInputFile(session, file, directory, name, kind)) return false;
    if (Trapped(session, [&] { read(session, file, name); })) return true;
    setDefaults(session);
    return false;
}

}  // namespace

bool LoadParametersFrom(Session& session, const std::string& directory, const std::string& name) {
    return LoadSettingsFrom(session, directory, name, "Varigap Parameter File", SetDefaultParameters, ReadParameters);
}

bool LoadOptionsFrom(Session& session, const std::string& directory, const std::string& name) {
    return LoadSettingsFrom(session, directory, name, "Varigap Options File", SetDefaultOptions, ReadOptions);
}

void LoadParameters(Session& session) {
    LoadParametersFrom(session, SettingsReadDirectory(session, kParamsFileName), kParamsFileName);
}
void LoadOptions(Session& session) {
    LoadOptionsFrom(session, SettingsReadDirectory(session, kOptionsFileName), kOptionsFileName);
}

void WriteParameters(const Session& session, TextWriter& file) {
    file.WriteLine(std::string("# Varigap Parameters file ") + Quoted(kParamsFileName));
    file.WriteLine("");
    file.WriteLine("maxLengthVariation = " + Str(session.maxLengthVariation));
    file.WriteLine("wordLength = " + Str(session.wordLength));
    file.WriteLine("stdAcceptancePct = " + SingleText(session.stdAcceptancePct));
    file.WriteLine("minAcceptancePct = " + SingleText(session.minAcceptancePct));
    file.WriteLine("minCRLength = " + Str(session.minCRLength));
    file.WriteLine("baseCountTolerance = " + Str(session.baseCountTolerance));
}

void WriteOptions(const Session& session, TextWriter& file) {
    file.WriteLine(std::string("# Varigap Options file ") + Quoted(kOptionsFileName));
    file.WriteLine("");
    file.WriteLine("showVRWarnings = " + BoolToString(session.showVRWarnings));
    file.WriteLine("showRunTimeErrors = " + BoolToString(session.showRunTimeErrors));
    file.WriteLine("showAssertFailures = " + BoolToString(session.showAssertFailures));
}

void SaveParameters(Session& session) {
    SaveWithBackup(session, kParamsFileName, kParamsBackupName, [&](TextWriter& f) { WriteParameters(session, f); });
}

void SaveOptions(Session& session) {
    SaveWithBackup(session, kOptionsFileName, kOptionsBackupName, [&](TextWriter& f) { WriteOptions(session, f); });
}

}  // namespace varigap
