// Where the program's files live: help chapters and default settings, and the user's settings.
#pragma once

#include <string>

#include "core/session.h"

namespace varigap {

// PREFIX/share/varigap for a program in PREFIX/bin; "" when that folder does not exist.
std::string InstalledDataDirectory(const std::string& programDir);
// $XDG_CONFIG_HOME/varigap, else $HOME/.config/varigap (a relative XDG_CONFIG_HOME does not
// count); "" when neither gives a folder. Either argument may be null.
std::string UserConfigDirectory(const char* xdgConfigHome, const char* home);
// Fills session.session.dataDir and session.session.configDir for the program in session.session.programDir, from the environment.
void LocateInstalledFiles(Session& session);

// True when a file can actually be created in `directory`. Tried rather than deduced from
// permission bits, which say nothing about read-only mounts and do not bind root.
bool CanCreateFilesIn(const std::string& directory);

// Folder to read a help chapter or a default settings file from: the program's folder, then
// the installed data folder. When neither holds `name` it is the program's folder, so that the
// missing file is reported there, as for a portable copy.
std::string DataFileDirectory(const Session& session, const std::string& name);
// Folder that Save writes the settings to: beside the program when that folder holds a settings
// file and files can be created in it, else the user's configuration folder (else, without
// one, the program's folder all the same).
std::string SettingsSaveDirectory(const Session& session);
// Folder to read settings file `name` from: the save folder when it holds the file (the user's
// own settings), else DataFileDirectory.
std::string SettingsReadDirectory(const Session& session, const std::string& name);
// For the settings windows: where `name` was read from and, on a second line when it differs,
// where Save writes it.
std::string SettingsPlaceText(const Session& session, const std::string& name);
// Lines for --help: the settings file of each kind in use, and the folder Save writes to.
std::string SettingsPlacesHelp(const Session& session);

}  // namespace varigap
