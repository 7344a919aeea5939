// The parameter and options files beside the program, with backup copies on save.
#pragma once

#include <string>

#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

inline constexpr const char* kParamsFileName = "VarigapParams.txt";
inline constexpr const char* kParamsBackupName = "OldVarigapParams.txt";
inline constexpr const char* kOptionsFileName = "VarigapOptions.txt";
inline constexpr const char* kOptionsBackupName = "OldVarigapOptions.txt";

void SetDefaultParameters(State& st);
// Defaults, then the file in st.programDir (a missing file is reported).
void LoadParameters(State& st);
void LoadOptions(State& st);
// Same, from a file elsewhere (the command line's --params / --options).
void LoadParametersFrom(State& st, const std::string& directory, const std::string& name);
void LoadOptionsFrom(State& st, const std::string& directory, const std::string& name);
// Backup copy of the old file, then the new file (raise run-time errors on failure).
void SaveParameters(State& st);
void SaveOptions(State& st);

void ReadParameters(State& st, TextReader& file);
void ReadOptions(State& st, TextReader& file);
void WriteParameters(const State& st, TextWriter& file);
void WriteOptions(const State& st, TextWriter& file);
bool StringToBool(const std::string& text);
std::string BoolToString(bool b);

}  // namespace varigap
