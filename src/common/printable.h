// Names typed by a person (paths, arguments) as they are shown in a message.
#pragma once

#include <string>

// `text` with its control characters written out (\n, \t, \x1b), so that a
// message naming it stays on one line and cannot move the cursor.
std::string Printable(const std::string& text);
