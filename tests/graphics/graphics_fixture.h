// Shared set-up for the graphics tests: a fresh headless backend and display,
// and a small writer of bitmap files byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "graphics/display.h"
#include "support/files.h"
#include "support/headless_test.h"

class GraphicsTest : public support::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_EQ(StartDisplay(640, 480, 8), 1);
        recorder.Clear();  // the display's first palette is no test's business
    }
    void TearDown() override {
        StopDisplay();
        HeadlessTest::TearDown();
    }
};

// The bytes of a bitmap file, headers written field by field.
struct BmpSpec {
    int32_t width = 4;
    int32_t height = 2;  // negative: rows top first
    uint16_t bits = 8;
    uint32_t infoSize = 40;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;           // entries written: 256 when 0 (8-bit)
    int64_t sizeImage = -1;         // -1: rows x padded row
    int64_t offBits = -1;           // -1: right behind the table
    bool padRows = true;            // rows padded to 4 bytes
    std::vector<uint8_t> table;     // 4 bytes per entry (b, g, r, 0); zeros when short
    std::vector<uint8_t> rows;      // file order, unpadded
    std::vector<uint8_t> trailing;  // bytes after the pixels
};

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s) {
    const uint32_t entries = s.bits == 8 ? (s.clrUsed ? s.clrUsed : 256) : s.clrUsed;
    const uint32_t rowBytes = static_cast<uint32_t>(s.width) * s.bits / 8;
    const uint32_t stride = s.padRows ? (rowBytes + 3) & ~3u : rowBytes;
    const int64_t height = s.height;
    // Absurd sizes are written only in part: the loader must refuse them
    // from the headers alone.
    const uint32_t rowCount =
        static_cast<uint32_t>(std::min<int64_t>(height < 0 ? -height : height, 4096));
    const uint32_t natural = 14 + s.infoSize + 4 * entries;
    const uint32_t dataAt = s.offBits >= 0 ? static_cast<uint32_t>(s.offBits) : natural;
    const uint32_t imageSize =
        s.sizeImage >= 0 ? static_cast<uint32_t>(s.sizeImage) : stride * rowCount;
    std::vector<uint8_t> out;
    AppendLe16(out, 0x4D42);
    AppendLe32(out, natural + imageSize);
    AppendLe32(out, 0);
    AppendLe32(out, dataAt);
    AppendLe32(out, s.infoSize);
    AppendLe32(out, static_cast<uint32_t>(s.width));
    AppendLe32(out, static_cast<uint32_t>(s.height));
    AppendLe16(out, 1);
    AppendLe16(out, s.bits);
    AppendLe32(out, s.compression);
    AppendLe32(out, imageSize);
    AppendLe32(out, 2835);
    AppendLe32(out, 2835);
    AppendLe32(out, s.clrUsed);
    AppendLe32(out, 0);
    out.resize(14 + s.infoSize, 0);  // the rest of a longer header
    for (uint32_t i = 0; i < 4 * entries; ++i) out.push_back(i < s.table.size() ? s.table[i] : 0);
    if (dataAt > out.size()) out.resize(dataAt, 0xEE);  // a gap before the pixels
    const size_t limit = out.size() + (1u << 20);
    for (uint32_t r = 0; r < rowCount && out.size() < limit; ++r) {
        for (uint32_t c = 0; c < rowBytes && out.size() < limit; ++c) {
            const size_t at = r * rowBytes + c;
            out.push_back(at < s.rows.size() ? s.rows[at] : 0);
        }
        for (uint32_t c = rowBytes; c < stride; ++c) out.push_back(0xAB);
    }
    out.insert(out.end(), s.trailing.begin(), s.trailing.end());
    return out;
}

// A path in the test program's own temporary folder, removed when it ends.
inline std::string TempPath(const std::string& leaf) {
    static const support::TempFolder folder("volleen-graphics-test");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return folder.Path(std::string(info->name()) + "-" + leaf);
}

inline std::string WriteFile(const std::string& leaf, const std::vector<uint8_t>& bytes) {
    const std::string path = TempPath(leaf);
    support::WriteFileBytes(path, bytes);
    return path;
}
