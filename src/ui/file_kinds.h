// Which of the program's two input files a file is, for files handed over without a file
// window (dropped on the main window): a template file or a sequence file, or a variable region
// file, which is only read through the template file naming it.
#pragma once

#include <string>

namespace varigap::ui {

enum class FileKind { Templates, Sequences, VariableRegions };

// A template file names variable region files (lines beginning with a double quote) or has
// comment lines ("#"); a variable region file has variants ("bases>taxa<", a line ending in "<");
// a sequence file (FASTA) has none of these. A name ending in ".tpl" is a template file whatever
// it holds. A file that cannot be read counts as a sequence file.
FileKind KindOfFile(const std::string& path);

}  // namespace varigap::ui
