// Lines of a plain or gzip-compressed text file, numbered, for the builder's readers.
#pragma once

#include <stdexcept>
#include <string>

namespace varigap::builder {

// A fault in an input file, its text already in the form "FILE:LINE: message".
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "FILE:LINE: message" (no line part when `line` is 0).
std::string Where(const std::string& file, long line, const std::string& message);

// Reads a text file line by line; gzip-compressed files (also several concatenated members)
// are recognised by their content and read through zlib. Line ends LF or CR LF.
class LineReader {
public:
    // Throws InputError when the file cannot be opened.
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; false at the end of the file. A damaged or cut-off
    // compressed stream throws InputError naming the line reached.
    bool Next(std::string& line);
    // Number of the line returned last (1-based).
    long LineNumber() const { return line_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    void* file_ = nullptr;  // gzFile
    long line_ = 0;
};

}  // namespace varigap::builder
