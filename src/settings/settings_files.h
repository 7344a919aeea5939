// The parameter and options files, with backup copies on save.
#pragma once

#include <string>

#include "core/session.h"
#include "core/textfile.h"

namespace varigap {

inline constexpr const char* kParamsFileName = "VarigapParams.txt";
inline constexpr const char* kParamsBackupName = "OldVarigapParams.txt";
inline constexpr const char* kOptionsFileName = "VarigapOptions.txt";
inline constexpr const char* kOptionsBackupName = "OldVarigapOptions.txt";

void SetDefaultParameters(Session& session);
// Defaults, then the file where the program keeps it (a missing file is reported); see
// settings/locations.h for where that is.
void LoadParameters(Session& session);
void LoadOptions(Session& session);
// Same, from a file elsewhere (the command line's --params / --options). A run-time error
// while reading is reported and leaves the defaults. False when the file could not be opened
// or read to its end (reported).
bool LoadParametersFrom(Session& session, const std::string& directory, const std::string& name);
bool LoadOptionsFrom(Session& session, const std::string& directory, const std::string& name);
// Backup copy of the old file, then the new file, which replaces the old one only when it
// was written completely; the user's configuration folder is created when needed. Failures raise run-time errors for the caller to report.
void SaveParameters(Session& session);
void SaveOptions(Session& session);

// Read name = value lines over the current values. An unknown name, or for parameters a
// value outside the 16-bit range or outside the Parameters dialog's ranges, is reported
// (naming `fileName`), ends the reading and brings back all the defaults of the file's kind.
void ReadParameters(Session& session, TextReader& file, const std::string& fileName = kParamsFileName);
void ReadOptions(Session& session, TextReader& file, const std::string& fileName = kOptionsFileName);
void WriteParameters(const Session& session, TextWriter& file);
void WriteOptions(const Session& session, TextWriter& file);
bool StringToBool(const std::string& text);
std::string BoolToString(bool b);

}  // namespace varigap
