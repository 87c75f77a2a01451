#include "shell/game_files.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "common/os.h"
#include "common/printable.h"

namespace fs = std::filesystem;

namespace {

// The first picture the game reads marks a folder as one holding its data.
constexpr const char* DataMarker = "BALL3D8BIG.BMP";

bool HoldsData(const fs::path& folder, bool* tooLong = nullptr) {
    std::error_code failed;
    const bool holds = fs::is_regular_file(folder / DataMarker, failed);
    if (tooLong != nullptr) *tooLong = failed == std::errc::filename_too_long;
    return holds;
}

std::string TooLong(const std::string& path) {
    // Room is left for the file names inside it.
    return "is too long to use (" + std::to_string(path.size()) + " characters; at most " +
           std::to_string(PATH_MAX - 2 - std::strlen(DataMarker)) + ")";
}

std::string Absolute(const std::string& folder) {
    std::error_code failed;
    const fs::path path = fs::absolute(folder, failed);
    return (failed ? fs::path(folder) : path).lexically_normal().string();
}

// $XDG_CONFIG_HOME/volleen/keys.dat; relative places are ignored, as the
// base directory rules say (ProcessFileSearch says so).
std::string UserKeysFile(const FileSearch& search) {
    fs::path config;
    if (!search.configHome.empty() && fs::path(search.configHome).is_absolute()) {
        config = search.configHome;
    } else if (!search.home.empty() && fs::path(search.home).is_absolute()) {
        config = fs::path(search.home) / ".config";
    } else {
        // No home to keep settings in: a save then fails and says so.
        return "";
    }
    return (config / "volleen" / "keys.dat").lexically_normal().string();
}

// The player's folder under a base directory: $XDG_<base> when set, else
// `fallback` in the home folder; empty when there is neither.
fs::path UserFolder(const std::string& base, const char* fallback, const FileSearch& search) {
    if (!base.empty()) return fs::path(base) / "volleen";
    if (!search.home.empty()) return fs::path(search.home) / fallback / "volleen";
    return {};
}

std::string GetEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

}  // namespace

std::string UserReplayFolder(const FileSearch& search) {
    const fs::path folder = UserFolder(search.dataHome, ".local/share", search);
    return folder.empty() ? "" : (folder / "replays").lexically_normal().string();
}

bool FindGameFiles(const FileSearch& search, GameFiles* found, std::string* why) {
    if (!search.dataOption.empty()) {
        const std::string folder = Absolute(search.dataOption);
        bool tooLong = false;
        if (!HoldsData(folder, &tooLong)) {
            *why = tooLong ? "the folder given with --data " + TooLong(folder)
                           : "no game data in " + Printable(folder) + " (given with --data)";
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
    std::string tried = "the working folder " + Printable(fs::current_path(failed).string());
    for (const std::string* candidate : {&search.dataVariable, &search.installedData}) {
        if (candidate->empty()) continue;
        const std::string folder = Absolute(*candidate);
        bool tooLong = false;
        if (HoldsData(folder, &tooLong)) {
            *found = {folder, UserKeysFile(search)};
            return true;
        }
        // Too long to look into: its length says more than the path would.
        tried += ", " + (tooLong ? "a path that " + TooLong(folder) : Printable(folder));
        if (candidate == &search.dataVariable) tried += " ($VOLLEEN_DATA_DIR)";
    }
    *why = "no game data found; looked in " + tried + "; name the folder with --data DIR";
    return false;
}

FileSearch ProcessFileSearch(const std::string& dataOption, const char* installedFromProgram) {
    FileSearch search;
    search.dataOption = dataOption;
    search.dataVariable = GetEnvironment("VOLLEEN_DATA_DIR");
    const fs::path program = os::ProgramFile();
    if (!program.empty()) {
        search.installedData =
            (program.parent_path() / installedFromProgram).lexically_normal().string();
    }
    // Relative places would put the settings wherever the game was started
    // (inside its data folder): ignored as if unset, as the XDG rules say.
    const os::UserFolderVariables& names = os::UserFolderNames;
    for (auto [name, value] :
         {std::pair{names.config, &search.configHome}, std::pair{names.data, &search.dataHome},
          std::pair{names.home, &search.home}}) {
        *value = GetEnvironment(name);
        if (!value->empty() && !fs::path(*value).is_absolute()) {
            search.notes.push_back(std::string("ignoring $") + name + " (" + Printable(*value) +
                                   "): not an absolute path");
            value->clear();
        }
    }
    if (search.home.empty()) search.home = os::HomeFolder();
    return search;
}
