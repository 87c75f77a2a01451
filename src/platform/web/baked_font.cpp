#include "platform/web/baked_font.h"

#include <algorithm>
#include <vector>

namespace platform::baked {

void Layout(const char* text, text::Strip& strip) {
    strip = text::Strip{};
    if (text == nullptr) return;
    std::vector<int> codes;
    for (const char* c = text; *c != '\0'; ++c) {
        const int code = static_cast<unsigned char>(*c);
        if (code >= FirstChar && code < FirstChar + CharCount) codes.push_back(code);
    }
    // A glyph reaching left of the line's start shifts the whole line right.
    std::vector<int32_t> columns(codes.size());
    int32_t pen = 0;
    int32_t leftmost = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
        const Glyph& glyph = Glyphs[codes[i] - FirstChar];
        columns[i] = pen;
        leftmost = std::min<int32_t>(leftmost, pen + glyph.bearing);
        pen += glyph.advance;
    }
    for (size_t i = 0; i < codes.size(); ++i) {
        const Glyph& glyph = Glyphs[codes[i] - FirstChar];
        columns[i] += glyph.inkX - leftmost;
        if (glyph.inkWidth == 0) continue;
        strip.width = std::max<int32_t>(strip.width, columns[i] + glyph.inkWidth);
        strip.height = std::max<int32_t>(strip.height, glyph.inkY + glyph.inkHeight);
    }
    strip.mask.assign(static_cast<size_t>(strip.width) * strip.height, 0);
    for (size_t i = 0; i < codes.size(); ++i) {
        const Glyph& glyph = Glyphs[codes[i] - FirstChar];
        uint32_t bit = glyph.firstBit;
        for (int32_t y = 0; y < glyph.inkHeight; ++y) {
            uint8_t* row = strip.mask.data() + static_cast<size_t>(glyph.inkY + y) * strip.width;
            for (int32_t x = 0; x < glyph.inkWidth; ++x, ++bit) {
                if ((GlyphBits[bit >> 3] & (0x80u >> (bit & 7))) != 0) row[columns[i] + x] = 1;
            }
        }
    }
}

}  // namespace platform::baked
