#include "support/files.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

namespace support {

TempFolder::TempFolder(const std::string& prefix) {
    std::random_device entropy;
    path_ = std::filesystem::temp_directory_path() /
            (prefix + "-" + std::to_string(getpid()) + "-" + std::to_string(entropy()));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

size_t TempFolder::Count() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(path_),
                                             std::filesystem::directory_iterator()));
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace support
