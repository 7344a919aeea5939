// Text file reading and writing, and file-system questions.
#include "core/textfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "core/types.h"

namespace fs = std::filesystem;

namespace varigap {

void RaiseFileError(int err) {
    switch (err) {
        case ENOENT: RaiseError(kErrPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS: RaiseError(kErrPermissionDenied);
        case ENOSPC:
        case EDQUOT: RaiseError(kErrDiskFull);
        case EIO: RaiseError(kErrDeviceIO);
        case ENOMEM: RaiseError(kErrOutOfMemory);
        default: RaiseError(kErrPathFileAccess);
    }
}

// ---------------------------------------------------------------- reading

void TextReader::Open(const std::string& path) {
    Close();
    struct stat sb {};
    if (::stat(path.c_str(), &sb) != 0) {
        if (errno == ENOENT) RaiseError(kErrFileNotFound);
        RaiseFileError(errno);
    }
    if (S_ISDIR(sb.st_mode)) RaiseError(kErrPathFileAccess);
    f_ = std::fopen(path.c_str(), "rb");
    if (!f_) RaiseFileError(errno);
    length_ = static_cast<long long>(sb.st_size);
    buf_.resize(1 << 16);
    pos_ = end_ = 0;
    // A UTF-8 byte order mark is not part of the text.
    if (Fill() && end_ >= 3 && static_cast<unsigned char>(buf_[0]) == 0xEF &&
        static_cast<unsigned char>(buf_[1]) == 0xBB && static_cast<unsigned char>(buf_[2]) == 0xBF)
        pos_ = 3;
}

void TextReader::Close() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    pos_ = end_ = 0;
}

bool TextReader::Fill() {
    if (pos_ < end_) return true;
    if (!f_) return false;
    size_t n = std::fread(buf_.data(), 1, buf_.size(), f_);
    if (n == 0 && std::ferror(f_)) RaiseError(kErrDeviceIO);
    pos_ = 0;
    end_ = n;
    return n > 0;
}

int TextReader::Peek() { return Fill() ? static_cast<unsigned char>(buf_[pos_]) : -1; }
int TextReader::Get() { return Fill() ? static_cast<unsigned char>(buf_[pos_++]) : -1; }

bool TextReader::Eof() { return !Fill(); }

bool TextReader::ReadLine(std::string& line) {
    line.clear();
    if (!Fill()) return false;
    for (;;) {
        if (!Fill()) return true;  // last line without a line end
        const char* start = buf_.data() + pos_;
        const char* stop = buf_.data() + end_;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(stop - start)));
        const char* cr =
            static_cast<const char*>(std::memchr(start, '\r', static_cast<size_t>((nl ? nl : stop) - start)));
        const char* brk = cr ? cr : nl;
        if (!brk) {
            line.append(start, stop);
            pos_ = end_;
            continue;
        }
        line.append(start, brk);
        pos_ = static_cast<size_t>(brk - buf_.data()) + 1;
        if (*brk == '\r' && Peek() == '\n') Get();  // CR LF
        return true;
    }
}

std::string TextReader::ReadRest() {
    std::string s;
    while (Fill()) {
        s.append(buf_.data() + pos_, buf_.data() + end_);
        pos_ = end_;
    }
    return s;
}

// ---------------------------------------------------------------- writing

TextWriter::~TextWriter() { Abandon(); }

void TextWriter::Open(const std::string& path) {
    Abandon();
    path_ = path;
    fs::path p(path);
    fs::path dir = p.parent_path();
    if (!dir.empty() && !fs::is_directory(dir)) RaiseError(kErrPathNotFound);
    std::random_device rd;
    tmpPath_ = (dir / ("." + p.filename().string() + ".tmp" + std::to_string(rd() % 1000000))).string();
    f_ = std::fopen(tmpPath_.c_str(), "wb");
    if (!f_) {
        int err = errno;
        tmpPath_.clear();
        RaiseFileError(err);
    }
}

void TextWriter::Write(const std::string& text) {
    if (!f_) RaiseError(kErrPathFileAccess);
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f_) != text.size()) RaiseFileError(errno);
}

void TextWriter::WriteLine(const std::string& line) {
    Write(line);
    Write("\r\n");
}

void TextWriter::Commit() {
    if (!f_) RaiseError(kErrPathFileAccess);
    int err = 0;
    if (std::fflush(f_) != 0) err = errno;
    if (std::fclose(f_) != 0 && !err) err = errno;
    f_ = nullptr;
    if (!err && std::rename(tmpPath_.c_str(), path_.c_str()) != 0) err = errno;
    if (err) {
        std::remove(tmpPath_.c_str());
        tmpPath_.clear();
        RaiseFileError(err);
    }
    tmpPath_.clear();
}

void TextWriter::Abandon() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    if (!tmpPath_.empty()) std::remove(tmpPath_.c_str());
    tmpPath_.clear();
}

// ---------------------------------------------------------------- file system

bool FileExists(const std::string& path) {
    struct stat sb {};
    return !path.empty() && ::stat(path.c_str(), &sb) == 0 && S_ISREG(sb.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat sb {};
    return !path.empty() && ::stat(path.c_str(), &sb) == 0 && S_ISDIR(sb.st_mode);
}

static std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

std::string FindFileIgnoringCase(const std::string& directory, const std::string& name) {
    std::string full = directory.empty() ? name : (directory.back() == '/' ? directory + name : directory + "/" + name);
    if (name.empty()) return "";
    if (FileExists(full)) return full;
    fs::path p(full);
    std::string dir = p.has_parent_path() ? p.parent_path().string() : ".";
    std::string want = Lower(p.filename().string());
    std::string found;
    int matches = 0;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (Lower(it->path().filename().string()) == want && FileExists(it->path().string())) {
            found = it->path().string();
            ++matches;
        }
    }
    return matches == 1 ? found : "";
}

void CopyFileOver(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) RaiseFileError(ec.value());
}

std::string ProgramDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
}

static std::vector<std::string> ListEntries(const std::string& directory, bool dirs) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(directory.empty() ? "." : directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        bool isDir = it->is_directory(ec2);
        bool isFile = it->is_regular_file(ec2);
        if ((dirs && isDir) || (!dirs && isFile)) names.push_back(it->path().filename().string());
    }
    if (ec) RaiseFileError(ec.value());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListFiles(const std::string& directory) { return ListEntries(directory, false); }
std::vector<std::string> ListDirectories(const std::string& directory) { return ListEntries(directory, true); }

}  // namespace varigap
