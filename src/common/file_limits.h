// The most each reader takes from a file, checked against the file's size
// before anything is read: a file linked to /dev/zero or a huge stray file
// is refused in one line instead of eating the memory. A new reader (replays,
// network messages) puts its own limit here beside the others.
#pragma once

#include <cstddef>

// Pictures: the largest pixel area taken (64 MiB) plus headers and row
// padding, with room to spare.
constexpr size_t MAX_PICTURE_FILE_BYTES = size_t{160} << 20;
// Sounds: the largest data chunk taken (16 MiB) plus any chunks around it.
constexpr size_t MAX_SOUND_FILE_BYTES = size_t{32} << 20;
// keys.dat is 20 bytes; anything near this is not one.
constexpr size_t MAX_KEYS_FILE_BYTES = 4096;
// Replays: a match of hours is tens of kilobytes.
constexpr size_t MAX_REPLAY_FILE_BYTES = size_t{1} << 20;
// The runner's scripts: hours of input, a line at a time.
constexpr size_t MAX_SCRIPT_FILE_BYTES = size_t{16} << 20;
// The relay's limits file: a dozen `name = value` lines.
constexpr size_t MAX_RELAY_CONFIG_BYTES = 64 * 1024;
