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

void SetParameter(State& st, int index, Integer v) {
    switch (index) {
        case 0: st.maxLengthVariation = v; break;
        case 1: st.wordLength = v; break;
        case 2: st.stdAcceptancePct = ToSingle(v); break;
        case 3: st.minAcceptancePct = ToSingle(v); break;
        case 4: st.minCRLength = v; break;
        default: st.baseCountTolerance = v; break;
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
void SaveWithBackup(const State& st, const char* fileName, const char* backupName, Write write) {
    std::string directory = SettingsSaveDirectory(st);
    std::error_code ec;
    // The user's configuration folder is made on the first Save; the program's own never is.
    if (directory == st.configDir && !DirectoryExists(directory)) std::filesystem::create_directories(directory, ec);
    if (ec) RaiseFileError(ec.value());
    std::string path = FullPath(directory, fileName);
    if (FileExists(path)) CopyFileOver(path, FullPath(directory, backupName));
    TextWriter file;
    file.Open(path);
    write(file);
    file.Commit();
}

}  // namespace

void SetDefaultParameters(State& st) {
    st.maxLengthVariation = 2;
    st.wordLength = 6;
    st.stdAcceptancePct = 75;
    st.minAcceptancePct = 10;
    st.minCRLength = 0;
    st.baseCountTolerance = 3;
}

bool StringToBool(const std::string& text) {
    std::string t = text;
    StripLeading(t);
    if (t.empty()) return false;
    if (std::string("yYtT1").find(t[0]) != std::string::npos) return true;
    return t.size() >= 2 && ToUpper(t.substr(0, 2)) == "ON";
}

std::string BoolToString(bool b) { return b ? "TRUE" : "FALSE"; }

void ReadParameters(State& st, TextReader& file, const std::string& fileName) {
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
            MsgBox(st, problem + " in file " + Quoted(fileName) + ".");
            SetDefaultParameters(st);
            return;
        }
        SetParameter(st, index, v);
    }
}

void ReadOptions(State& st, TextReader& file, const std::string& fileName) {
    std::string line, name, value;
    while (file.ReadLine(line)) {
        if (!SplitSetting(line, name, value)) continue;
        if (KeyIs(name, "showVRWa")) {
            st.showVRWarnings = StringToBool(value);
        } else if (KeyIs(name, "showRunT")) {
            st.showRunTimeErrors = StringToBool(value);
        } else if (KeyIs(name, "showAsse")) {
            st.showAssertFailures = StringToBool(value);
        } else {
            MsgBox(st, "Unexpected option name " + Quoted(name) + " in file " + Quoted(fileName) + ".");
            SetDefaultOptions(st);
            return;
        }
    }
}

namespace {

// The defaults first; the file's values over them, or the defaults again when reading fails.
bool LoadSettingsFrom(State& st, const std::string& directory, const std::string& name, const char* kind,
                      void (*setDefaults)(State&), void (*read)(State&, TextReader&, const std::string&)) {
    setDefaults(st);
    TextReader file;
    if (!OpenInputFile(st, file, directory, name, kind)) return false;
    if (Trapped(st, [&] { read(st, file, name); })) return true;
    setDefaults(st);
    return false;
}

}  // namespace

bool LoadParametersFrom(State& st, const std::string& directory, const std::string& name) {
    return LoadSettingsFrom(st, directory, name, "Varigap Parameter File", SetDefaultParameters, ReadParameters);
}

bool LoadOptionsFrom(State& st, const std::string& directory, const std::string& name) {
    return LoadSettingsFrom(st, directory, name, "Varigap Options File", SetDefaultOptions, ReadOptions);
}

void LoadParameters(State& st) { LoadParametersFrom(st, SettingsReadDirectory(st, kParamsFileName), kParamsFileName); }
void LoadOptions(State& st) { LoadOptionsFrom(st, SettingsReadDirectory(st, kOptionsFileName), kOptionsFileName); }

void WriteParameters(const State& st, TextWriter& file) {
    file.WriteLine(std::string("# Varigap Parameters file ") + Quoted(kParamsFileName));
    file.WriteLine("");
    file.WriteLine("maxLengthVariation = " + Str(st.maxLengthVariation));
    file.WriteLine("wordLength = " + Str(st.wordLength));
    file.WriteLine("stdAcceptancePct = " + SingleText(st.stdAcceptancePct));
    file.WriteLine("minAcceptancePct = " + SingleText(st.minAcceptancePct));
    file.WriteLine("minCRLength = " + Str(st.minCRLength));
    file.WriteLine("baseCountTolerance = " + Str(st.baseCountTolerance));
}

void WriteOptions(const State& st, TextWriter& file) {
    file.WriteLine(std::string("# Varigap Options file ") + Quoted(kOptionsFileName));
    file.WriteLine("");
    file.WriteLine("showVRWarnings = " + BoolToString(st.showVRWarnings));
    file.WriteLine("showRunTimeErrors = " + BoolToString(st.showRunTimeErrors));
    file.WriteLine("showAssertFailures = " + BoolToString(st.showAssertFailures));
}

void SaveParameters(State& st) {
    SaveWithBackup(st, kParamsFileName, kParamsBackupName, [&](TextWriter& f) { WriteParameters(st, f); });
}

void SaveOptions(State& st) {
    SaveWithBackup(st, kOptionsFileName, kOptionsBackupName, [&](TextWriter& f) { WriteOptions(st, f); });
}

}  // namespace varigap
