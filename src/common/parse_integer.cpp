#include "common/parse_integer.h"

#include <charconv>

bool ParseInteger(std::string_view text, int64_t low, int64_t high, int64_t* value) {
    int64_t parsed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (error != std::errc() || stop != end || text.empty()) return false;
    if (parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}
