// Whole numbers typed by a person (command lines, scripts).
#pragma once

#include <cstdint>
#include <string_view>

// True when `text` is a whole decimal number, an optional minus sign and
// digits with nothing around them, inside [low, high]; it is then stored in
// `value`. Anything else leaves `value` alone.
bool ParseInteger(std::string_view text, int64_t low, int64_t high, int64_t* value);
