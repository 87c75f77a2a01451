// Writing a whole file so that it is never seen half written, and survives a
// crash or power cut either old or new.
#pragma once

#include <cstddef>
#include <string>

// Puts `size` bytes at `path`: a fresh temporary file (a name nobody else can
// have taken) beside the target is written, flushed to disk, renamed over the
// target, and the folder flushed too. When `path` is a symbolic link, the file
// it finally points to is the target, so the link stays. The target keeps its
// permission bits; a new file gets the usual ones. A target that exists but
// may not be written is left alone, and so is one that is not a regular file
// (a device or a pipe): renaming over it would replace it. False on any
// failure, with the target untouched, nothing left beside it, and a reason in
// `why` (when not null) that reads after the file's name.
bool WriteFileAtomically(const char* path, const void* bytes, size_t size, std::string* why);

// The same for a file the user names as an output (the runner's shots and
// sound): when the target is a device or a pipe, such as /dev/null, the bytes
// are written straight into it instead.
bool WriteOutputFile(const char* path, const void* bytes, size_t size, std::string* why);
