#include "shell/game_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The first picture the game reads marks a folder as one holding its data.
constexpr const char* DataMarker = "BALL3D8BIG.BMP";

bool HoldsData(const fs::path& folder) {
    std::error_code failed;
    return fs::is_regular_file(folder / DataMarker, failed);
}

std::string Absolute(const std::string& folder) {
    std::error_code failed;
    const fs::path path = fs::absolute(folder, failed);
    return (failed ? fs::path(folder) : path).lexically_normal().string();
}

// $XDG_CONFIG_HOME/volleen/keys.dat; a relative XDG_CONFIG_HOME is ignored,
// as the base directory rules say.
std::string UserKeysFile(const FileSearch& search) {
    fs::path config;
    if (!search.configHome.empty() && fs::path(search.configHome).is_absolute()) {
        config = search.configHome;
    } else if (!search.home.empty()) {
        config = fs::path(search.home) / ".config";
    } else {
        // No home to keep settings in: a save then fails and says so.
        return "";
    }
    return (config / "volleen" / "keys.dat").lexically_normal().string();
}

std::string GetEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

}  // namespace

bool FindGameFiles(const FileSearch& search, GameFiles* found, std::string* why) {
    if (!search.dataOption.empty()) {
        const std::string folder = Absolute(search.dataOption);
        if (!HoldsData(folder)) {
            *why = "no game data in " + folder + " (given with --data)";
            return false;
        }
        *found = {folder, UserKeysFile(search)};
        return true;
    }
    if (HoldsData(".")) {
        *found = {"", "keys.dat"};
        return true;
    }
    std::error_code failed;
    std::string tried = "the working folder " + fs::current_path(failed).string();
    for (const std::string* candidate : {&search.dataVariable, &search.installedData}) {
        if (candidate->empty()) continue;
        const std::string folder = Absolute(*candidate);
        if (HoldsData(folder)) {
            *found = {folder, UserKeysFile(search)};
            return true;
        }
        tried += ", " + folder;
        if (candidate == &search.dataVariable) tried += " ($VOLLEEN_DATA_DIR)";
    }
    *why = "no game data found; looked in " + tried + "; name the folder with --data DIR";
    return false;
}

FileSearch ProcessFileSearch(const std::string& dataOption, const char* installedFromProgram) {
    FileSearch search;
    search.dataOption = dataOption;
    search.dataVariable = GetEnvironment("VOLLEEN_DATA_DIR");
    std::error_code failed;
    const fs::path program = fs::read_symlink("/proc/self/exe", failed);
    if (!failed) {
        search.installedData =
            (program.parent_path() / installedFromProgram).lexically_normal().string();
    }
    search.configHome = GetEnvironment("XDG_CONFIG_HOME");
    search.home = GetEnvironment("HOME");
    if (search.home.empty()) {
        const passwd* user = getpwuid(getuid());
        if (user != nullptr && user->pw_dir != nullptr) search.home = user->pw_dir;
    }
    return search;
}
