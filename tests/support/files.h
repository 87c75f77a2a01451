// A folder of a test's own, and whole files read and written in one call.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace support {

// A new empty folder under the system's temporary folder, named so that
// parallel test processes never share one; removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "volleen-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    // How many entries the folder holds.
    size_t Count() const;

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace support
