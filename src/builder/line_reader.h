// Lines of a plain or compressed text file, numbered, for the builder's readers.
#pragma once

#include <stdexcept>
#include <string>

#include "seqio/line_input.h"

namespace varigap::builder {

// A fault in an input file, its text already in the form "FILE:LINE: message".
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file the builder writes that cannot be written, its text in the form "FILE: message".
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "FILE:LINE: message" (no line part when `line` is 0).
std::string Where(const std::string& file, long line, const std::string& message);

// Reads a text file line by line through the sequence files' reader: plain, gzip or BGZF,
// recognised by content; line ends LF, CR LF or CR.
class LineReader {
public:
    // Throws InputError when the file cannot be opened.
    explicit LineReader(const std::string& path);

    // The next line without its line end; false at the end of the file. A damaged or cut-off
    // compressed stream throws InputError naming the line reached.
    bool Next(std::string& line);
    // Number of the line returned last (1-based).
    long LineNumber() const { return static_cast<long>(in_.LineNumber()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    seqio::LineInput in_;
};

}  // namespace varigap::builder
