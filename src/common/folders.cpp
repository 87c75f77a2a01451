#include "common/folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

bool MakeParentFolders(const std::string& file, unsigned mode, std::string* why) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
        const std::string folder = file.substr(0, slash);
        if (mkdir(folder.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
            if (why != nullptr)
                *why = "cannot make the folder " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}
