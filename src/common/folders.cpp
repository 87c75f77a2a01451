#include "common/folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "common/os.h"

bool MakeParentFolders(const std::string& file, unsigned mode, std::string* why) {
    for (size_t end = 1; end < file.size(); ++end) {
        if (!os::IsSeparator(file[end])) continue;
        const std::string folder = file.substr(0, end);
        // A drive ("C:") cannot be made and says so differently on each system.
        struct stat about {};
        if (stat(folder.c_str(), &about) == 0 && S_ISDIR(about.st_mode)) continue;
        if (!os::MakeFolder(folder, mode) && errno != EEXIST) {
            if (why != nullptr)
                *why = "cannot make the folder " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}
