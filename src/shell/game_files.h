// Where the game's files are: its pictures and sounds, and keys.dat.
//
// Started in a folder that holds the data (as `make play` does), everything,
// keys.dat included, is in that folder, as it always was. Installed, the data
// is read from the install's data folder and keys.dat is the player's own,
// under $XDG_CONFIG_HOME/volleen/ (on Windows %APPDATA%\volleen\).
#pragma once

#include <string>
#include <vector>

// The places to look, as the start-up has them from the command line, the
// environment and the location of the program. Empty means not given.
struct FileSearch {
    std::string dataOption;          // --data DIR: the only place looked at when given
    std::string dataVariable;        // $VOLLEEN_DATA_DIR
    std::string installedData;       // the install's data folder, beside the program
    std::string configHome;          // $XDG_CONFIG_HOME (Windows: %APPDATA%)
    std::string dataHome;            // $XDG_DATA_HOME (Windows: %APPDATA%)
    std::string home;                // the player's home folder
    std::vector<std::string> notes;  // what was ignored, one line each, to be said
};

struct GameFiles {
    std::string dataDir;   // absolute; empty when it is the working folder
    std::string keysFile;  // "keys.dat" in the working folder, else an absolute path
};

// Looks for the data: --data alone when given, else the working folder,
// $VOLLEEN_DATA_DIR, then the installed folder. False when none holds it,
// with one line in `why` naming every place tried.
bool FindGameFiles(const FileSearch& search, GameFiles* found, std::string* why);

// Where the player's replays are kept: $XDG_DATA_HOME/volleen/replays, by
// default ~/.local/share/volleen/replays (on Windows
// %APPDATA%\volleen\replays); empty when there is no home.
std::string UserReplayFolder(const FileSearch& search);

// The search for this process: its command line's --data, its environment,
// and the data folder installed at `installedFromProgram` relative to the
// folder of the running program.
FileSearch ProcessFileSearch(const std::string& dataOption, const char* installedFromProgram);
