// Temporary directories with real files for tests.
#pragma once

#include <string>

namespace varigap::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    // Writes `content` byte for byte to `name` (creating sub-directories) and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);

}  // namespace varigap::test
