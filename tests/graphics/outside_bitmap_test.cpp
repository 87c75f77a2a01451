// Pictures written by another program read to the same colours as the
// plain-text picture they were made from.
#include <fstream>
#include <string>
#include <vector>

#include "graphics/bitmap_file.h"
#include "graphics_fixture.h"

namespace {

struct Reference {
    int width = 0;
    int height = 0;
    std::vector<int> rgb;  // 3 per pixel, rows top first
};

Reference ReadPpm(const std::string& path) {
    Reference ref;
    std::ifstream in(path);
    std::string magic;
    int maximum = 0;
    in >> magic >> ref.width >> ref.height >> maximum;
    int value = 0;
    while (in >> value) ref.rgb.push_back(value);
    EXPECT_EQ(magic, "P3");
    EXPECT_EQ(ref.rgb.size(), static_cast<size_t>(3 * ref.width * ref.height)) << path;
    return ref;
}

std::string Data(const std::string& leaf) {
    return std::string(VOLLEEN_SOURCE_DIR) + "/tests/graphics/data/" + leaf;
}

class OutsideBitmapTest : public ::testing::Test {
protected:
    BitmapFile record{};
    void TearDown() override { UnloadBitmapFile(&record); }
};

TEST_F(OutsideBitmapTest, PaletteFilesMatchTheirReference) {
    for (const char* name : {"odd13x7", "even30x4"}) {
        const Reference ref = ReadPpm(Data(std::string(name) + ".ppm"));
        for (const char* kind : {"-bmp3.bmp", "-v5.bmp"}) {
            const std::string file = Data(std::string(name) + kind);
            ASSERT_EQ(LoadBitmapFile(&record, file.c_str()), 1) << file;
            ASSERT_EQ(record.infoHeader.biWidth, ref.width) << file;
            ASSERT_EQ(record.infoHeader.biHeight, ref.height) << file;
            ASSERT_EQ(record.infoHeader.biBitCount, 8) << file;
            int wrong = 0;
            for (int i = 0; i < ref.width * ref.height; ++i) {
                const PaletteEntry& e = record.palette.entries[record.pixels[i]];
                if (e.red != ref.rgb[3 * i] || e.green != ref.rgb[3 * i + 1] ||
                    e.blue != ref.rgb[3 * i + 2]) {
                    ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0) << file;
        }
    }
}

TEST_F(OutsideBitmapTest, TrueColourFileBecomesFiveBitsPerColour) {
    const Reference ref = ReadPpm(Data("odd13x7.ppm"));
    ASSERT_EQ(LoadBitmapFile(&record, Data("odd13x7-24bit.bmp").c_str()), 1);
    ASSERT_EQ(record.infoHeader.biBitCount, 16);
    const auto* words = reinterpret_cast<const uint16_t*>(record.pixels);
    int wrong = 0;
    for (int i = 0; i < ref.width * ref.height; ++i) {
        const int expected = (ref.rgb[3 * i] >> 3) << 10 | (ref.rgb[3 * i + 1] >> 3) << 5 |
                             (ref.rgb[3 * i + 2] >> 3);
        if (words[i] != expected) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(OutsideBitmapTest, CompressedAndCoreHeaderFilesAreRefused) {
    EXPECT_EQ(LoadBitmapFile(&record, Data("odd13x7-rle.bmp").c_str()), 0);
    EXPECT_EQ(LoadBitmapFile(&record, Data("odd13x7-core.bmp").c_str()), 0);
    EXPECT_EQ(record.pixels, nullptr);
}

}  // namespace
