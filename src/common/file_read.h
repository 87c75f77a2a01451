// Reading a whole file into memory, as the picture and sound loaders do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The reason given for a file that is not there (a first run's settings).
constexpr char NO_SUCH_FILE[] = "no such file";

// Reads `name` into `bytes`. Only a regular file is read: a folder, a pipe or
// a device is refused without waiting on it, and so is a file larger than
// `limit` bytes (file_limits.h), before anything is read. False when it is
// refused or cannot be opened or read, with a reason in `why` (when not null)
// that reads after the file's name: "no such file", "is a directory", "is a
// pipe, not a file", "is too large (...)".
bool ReadWholeFile(const char* name, size_t limit, std::vector<uint8_t>* bytes, std::string* why);
