// Reading a whole file into memory, as the picture and sound loaders do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The reason given for a file that is not there (a first run's settings).
constexpr char NO_SUCH_FILE[] = "no such file";

// Reads `name` into `bytes`, at most `limit` bytes of it (a longer file is
// cut there). False when it cannot be opened or read, with a reason in `why`
// (when not null) that reads after the file's name: "no such file", "is a
// directory", ...
bool ReadWholeFile(const char* name, size_t limit, std::vector<uint8_t>* bytes, std::string* why);
