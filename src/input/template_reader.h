// Template files: templates of conserved regions (bases) and variable regions (file names).
#pragma once

#include "core/session.h"

namespace varigap {

// Reads the file named by templateFileName in templateFilePath into the template table.
// True when the whole file was read without error (also when it held no template).
// A read that stops empties the table; a file that cannot be opened leaves it unchanged.
// A run-time error while reading also empties the table and is raised to the caller.
bool LoadTemplateFile(Session& session);

}  // namespace varigap
