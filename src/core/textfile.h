// Text files: line reading (CR LF, LF or CR line ends, UTF-8 byte order mark skipped),
// safe writing through a temporary file, and the few file-system questions the program asks.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace varigap {

// Reads a text file line by line. Errors while reading raise run-time errors.
class TextReader {
public:
    TextReader() = default;
    ~TextReader() { Close(); }
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // Opens `path`; raises run-time error 53, 70, 75 or 76 when that fails.
    void Open(const std::string& path);
    bool IsOpen() const { return f_ != nullptr; }
    void Close();

    // Reads the next line without its line end; false at the end of the file.
    bool ReadLine(std::string& line);
    bool Eof();
    // Size of the whole file in bytes.
    long long Length() const { return length_; }
    // Reads everything that is left, unchanged (line ends included).
    std::string ReadRest();
    // The file begins with a UTF-16 byte order mark: it is not plain text.
    bool Utf16() const { return utf16_; }

private:
    int Peek();
    int Get();
    bool Fill();

    std::FILE* f_ = nullptr;
    std::vector<char> buf_;
    size_t pos_ = 0, end_ = 0;
    long long length_ = 0;
    bool utf16_ = false;
};

// How a finished file takes its name.
enum class Publish {
    Replace,    // over whatever file has the name
    NoReplace,  // only while no directory entry (file, link, dangling link, folder) has the name
};

// Writes a text file with CR LF line ends. The text goes to a temporary file in the same
// directory, which takes the target's name only when Commit succeeds, so a failed or
// interrupted write never leaves a half-written file nor destroys the file it was to replace.
// The temporary file has no name at all where the file system allows (nothing is left even
// when the program is killed); elsewhere it has a short unique name, removed on SIGINT/SIGTERM.
// Any name the file system accepts can be written.
class TextWriter {
public:
    TextWriter() = default;
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void Open(const std::string& path, Publish mode = Publish::Replace);  // raises run-time errors (70, 76, 75 ...)
    void WriteLine(const std::string& line);
    void Write(const std::string& text);
    // Flushes, closes and gives the file its name. False, with nothing written, when the mode
    // is NoReplace and the name is taken (also when it was taken after Open).
    bool Commit();
    void Abandon();  // removes the temporary file
    // Writes through a named temporary file, as on file systems without unnamed ones (tests).
    void UseNamedTemporary() { namedOnly_ = true; }
    // Commit makes the file's bytes durable before it takes its name, and the name durable after
    // (the folder synchronised). A writer of many files into one folder may leave the folder to
    // one SynchroniseFolder after the last of them.
    void LeaveFolderSync() { syncFolder_ = false; }

private:
    std::FILE* f_ = nullptr;
    std::string path_, dir_, tmpPath_;  // tmpPath_ empty for an unnamed temporary file
    Publish mode_ = Publish::Replace;
    int ticket_ = -1;  // removal on signals of the named temporary file
    bool namedOnly_ = false;
    bool syncFolder_ = true;
};

// Makes the names in `dir` ("" = the working folder) durable: files published with
// LeaveFolderSync keep their names after a power cut. 0 or the system's error.
int SynchroniseFolder(const std::string& dir);

// Maps an errno value to the classic run-time error numbers and raises it.
[[noreturn]] void RaiseFileError(int err);

// True when `path` names a regular file (or a link to one).
bool FileExists(const std::string& path);
// True when a directory entry of any kind has the name `path` (a dangling link too).
bool PathEntryExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// True when both paths name one existing file (the same device and inode), however spelt.
bool SameFile(const std::string& a, const std::string& b);
// The path of an existing file named `name` in `directory`: the exact name when it exists,
// else the only file whose name equals it without regard to letter case; "" when none.
std::string FindFileIgnoringCase(const std::string& directory, const std::string& name);
// Copies a file over another, raising run-time errors on failure.
void CopyFileOver(const std::string& from, const std::string& to);
// Directory that holds the running program.
std::string ProgramDirectory();
// Names of the regular files in a directory, sorted; sub-directories likewise.
std::vector<std::string> ListFiles(const std::string& directory);
std::vector<std::string> ListDirectories(const std::string& directory);

}  // namespace varigap
