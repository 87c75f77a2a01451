// Names typed by a person (paths, arguments) as they are shown in a message,
// and messages laid out for places that do not wrap them.
#pragma once

#include <string>

// `text` with its control characters written out (\n, \t, \x1b), so that a
// message naming it stays on one line and cannot move the cursor.
std::string Printable(const std::string& text);

// `text` in lines of at most `width` characters, broken at spaces (a word
// longer than a line keeps its own line).
std::string WrapWords(const std::string& text, size_t width);
