#include "common/printable.h"

#include <cstdio>

std::string Printable(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string WrapWords(const std::string& text, size_t width) {
    std::string out;
    size_t lineStart = 0;
    size_t lastSpace = std::string::npos;
    for (char c : text) {
        if (c == ' ') lastSpace = out.size();
        out += c;
        if (out.size() - lineStart > width && lastSpace != std::string::npos) {
            out[lastSpace] = '\n';
            lineStart = lastSpace + 1;
            lastSpace = std::string::npos;
        }
    }
    return out;
}
