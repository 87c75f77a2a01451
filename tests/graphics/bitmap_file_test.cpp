// The bitmap loader: the classic layout exactly, other writers' layouts, and
// what a refused file leaves behind.
#include "graphics/bitmap_file.h"

#include <cstdlib>
#include <cstring>

#include "graphics_fixture.h"

namespace {

class BitmapFileTest : public ::testing::Test {
protected:
    BitmapFile record{};
    void TearDown() override { UnloadBitmapFile(&record); }

    int32_t Load(const std::vector<uint8_t>& bytes) {
        return LoadBitmapMemory(&record, bytes.data(), bytes.size());
    }
    std::vector<uint8_t> Pixels() const {
        const size_t n = static_cast<size_t>(record.infoHeader.biWidth) *
                         record.infoHeader.biHeight * (record.infoHeader.biBitCount / 8);
        return std::vector<uint8_t>(record.pixels, record.pixels + n);
    }
    // A loaded 4 x 1 picture standing in for an older load.
    void LoadOld() {
        BmpSpec old;
        old.width = 4;
        old.height = 1;
        old.rows = {9, 9, 9, 9};
        old.table = {1, 2, 3, 0};
        ASSERT_EQ(Load(MakeBmp(old)), 1);
    }
};

BmpSpec FourByTwo() {
    BmpSpec s;
    s.rows = {1, 2, 3, 4, 5, 6, 7, 8};  // bottom row first
    s.table = {10, 20, 30, 0, 0xFF, 0x80, 0x08, 0x77};
    return s;
}

TEST_F(BitmapFileTest, ClassicFileTurnsRowsAndColourTable) {
    const std::string path = WriteFile("four.bmp", MakeBmp(FourByTwo()));
    ASSERT_EQ(LoadBitmapFile(&record, path.c_str()), 1);
    EXPECT_EQ(Pixels(), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
    EXPECT_EQ(record.fileHeader.bfType, 0x4D42);
    EXPECT_EQ(record.infoHeader.biWidth, 4);
    EXPECT_EQ(record.infoHeader.biHeight, 2);
    EXPECT_EQ(record.infoHeader.biBitCount, 8);
    EXPECT_EQ(record.infoHeader.biSizeImage, 8u);
    const PaletteEntry& first = record.palette.entries[0];
    EXPECT_EQ(first.red, 30);
    EXPECT_EQ(first.green, 20);
    EXPECT_EQ(first.blue, 10);
    EXPECT_EQ(first.flags, 4);
    EXPECT_EQ(record.palette.entries[1].red, 0x08);
    EXPECT_EQ(record.palette.entries[1].blue, 0xFF);
    EXPECT_EQ(record.palette.entries[1].flags, 4);  // the reserved 0x77 is not kept
    for (const PaletteEntry& e : record.palette.entries) EXPECT_EQ(e.flags, 4);
    std::remove(path.c_str());
}

TEST_F(BitmapFileTest, TrailingBytesAndAWrongOffsetFieldAreIgnored) {
    for (int64_t offset : {0, 54, 1000, 1100, 99999}) {
        BmpSpec s = FourByTwo();
        s.trailing = {0xDE, 0xAD, 0xBE, 0xEF, 1, 2, 3, 4, 5, 6, 7, 8};
        std::vector<uint8_t> bytes = MakeBmp(s);
        WriteLe32(&bytes[10], static_cast<uint32_t>(offset));
        ASSERT_EQ(Load(bytes), 1) << offset;
        EXPECT_EQ(Pixels(), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4})) << offset;
    }
}

TEST_F(BitmapFileTest, MissingFileLeavesTheRecordAlone) {
    LoadOld();
    unsigned char before[sizeof record];
    std::memcpy(before, &record, sizeof record);
    std::string why;
    EXPECT_EQ(LoadBitmapFile(&record, TempPath("absent.bmp").c_str(), &why), 0);
    EXPECT_EQ(why, "no such file");
    EXPECT_EQ(std::memcmp(before, &record, sizeof record), 0);
}

TEST_F(BitmapFileTest, WrongMagicChangesOnlyTheFileHeader) {
    LoadOld();
    const BitmapFile before = record;
    std::vector<uint8_t> bytes = MakeBmp(FourByTwo());
    bytes[0] = 'M';
    bytes[1] = 'B';
    EXPECT_EQ(Load(bytes), 0);
    EXPECT_EQ(record.fileHeader.bfType, 0x424D);
    EXPECT_EQ(record.pixels, before.pixels);
    EXPECT_EQ(std::memcmp(&record.infoHeader, &before.infoHeader, sizeof record.infoHeader), 0);
    EXPECT_EQ(std::memcmp(&record.palette, &before.palette, sizeof record.palette), 0);
    EXPECT_EQ(record.pixels[0], 9);
}

TEST_F(BitmapFileTest, TwentyFourBitsBecomeFiveFiveFive) {
    BmpSpec s;
    s.bits = 24;
    s.width = 4;  // 12-byte rows need no padding
    s.height = 2;
    s.rows.assign(24, 0);
    // Bottom row, first pixel: blue 0xFF, green 0x80, red 0x08.
    s.rows[0] = 0xFF;
    s.rows[1] = 0x80;
    s.rows[2] = 0x08;
    // Top row, last pixel: white.
    s.rows[21] = s.rows[22] = s.rows[23] = 0xFF;
    LoadOld();
    const Palette before = record.palette;
    ASSERT_EQ(Load(MakeBmp(s)), 1);
    EXPECT_EQ(record.infoHeader.biBitCount, 16);
    EXPECT_EQ(record.infoHeader.biSizeImage, 16u);
    uint16_t words[8];
    std::memcpy(words, record.pixels, sizeof words);
    EXPECT_EQ(words[4], 0x061F);  // bottom row is now second
    EXPECT_EQ(words[3], 0x7FFF);
    EXPECT_EQ(words[0], 0);
    EXPECT_EQ(std::memcmp(&before, &record.palette, sizeof before), 0);  // kept for other depths
}

TEST_F(BitmapFileTest, PaddedTwentyFourBitRowsSkipThePadding) {
    BmpSpec s;
    s.bits = 24;
    s.width = 1;
    s.height = 2;
    s.rows = {0, 0, 0xF8, 0xF8, 0, 0};  // bottom red, top blue; each row padded by 1
    ASSERT_EQ(Load(MakeBmp(s)), 1);
    uint16_t words[2];
    std::memcpy(words, record.pixels, sizeof words);
    EXPECT_EQ(words[0], 0x001F);
    EXPECT_EQ(words[1], 0x7C00);
}

TEST_F(BitmapFileTest, SixteenBitRowsAreKeptAsTheyAre) {
    BmpSpec s;
    s.bits = 16;
    s.width = 2;
    s.height = 2;
    s.rows = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(Load(MakeBmp(s)), 1);
    EXPECT_EQ(Pixels(), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
}

TEST_F(BitmapFileTest, OddWidthsShortTablesAndTopDownRows) {
    BmpSpec s;
    s.width = 3;
    s.height = -2;  // top row first in the file
    s.clrUsed = 2;
    s.table = {1, 2, 3, 0, 4, 5, 6, 0};
    s.rows = {1, 0, 1, 0, 1, 0};
    ASSERT_EQ(Load(MakeBmp(s)), 1);
    EXPECT_EQ(record.infoHeader.biHeight, 2);  // the record says rows top first
    EXPECT_EQ(Pixels(), (std::vector<uint8_t>{1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(record.palette.entries[1].red, 6);
    EXPECT_EQ(record.palette.entries[1].blue, 4);
    EXPECT_EQ(record.palette.entries[2].red, 0);  // entries the file lacks are black
    EXPECT_EQ(record.palette.entries[255].flags, 4);

    s.height = 2;  // the same rows bottom first
    ASSERT_EQ(Load(MakeBmp(s)), 1);
    EXPECT_EQ(Pixels(), (std::vector<uint8_t>{0, 1, 0, 1, 0, 1}));
}

TEST_F(BitmapFileTest, LongerHeadersAndPixelsWhereTheOffsetPoints) {
    for (uint32_t header : {108u, 124u}) {
        BmpSpec s = FourByTwo();
        s.infoSize = header;
        s.clrUsed = 2;
        s.offBits = 14 + header + 8 + 20;  // a gap after the table
        ASSERT_EQ(Load(MakeBmp(s)), 1) << header;
        EXPECT_EQ(Pixels(), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
        EXPECT_EQ(record.palette.entries[0].red, 30);
    }
}

TEST_F(BitmapFileTest, UnreadableFilesAreRefusedAndKeepTheOldPicture) {
    const std::vector<uint8_t> good = MakeBmp(FourByTwo());
    struct Case {
        const char* what;
        BmpSpec spec;
        const char* why;  // what the loader says
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, const char* why, auto change) {
        BmpSpec s = FourByTwo();
        change(s);
        cases.push_back({what, s, why});
    };
    const char* range = "a width or height out of range";
    const char* depth = "neither 8, 16 nor 24 bits a pixel";
    add("run-length compressed", "compressed", [](BmpSpec& s) { s.compression = 1; });
    add("bit fields", "compressed", [](BmpSpec& s) { s.compression = 3; });
    add("zero width", range, [](BmpSpec& s) { s.width = 0; });
    add("negative width", range, [](BmpSpec& s) { s.width = -4; });
    add("zero height", range, [](BmpSpec& s) { s.height = 0; });
    add("absurd size", "too large a picture", [](BmpSpec& s) {
        s.width = 30000;
        s.height = 30000;
    });
    add("most negative height", range, [](BmpSpec& s) { s.height = INT32_MIN; });
    add("image size too small", "an image size too small for its rows",
        [](BmpSpec& s) { s.sizeImage = 7; });
    add("core header", "an unknown header size", [](BmpSpec& s) { s.infoSize = 12; });
    add("odd header", "an unknown header size", [](BmpSpec& s) { s.infoSize = 64; });
    add("four bits", depth, [](BmpSpec& s) { s.bits = 4; });
    add("thirty-two bits", depth, [](BmpSpec& s) { s.bits = 32; });
    add("table too long", "more than 256 colours", [](BmpSpec& s) { s.clrUsed = 300; });

    for (const Case& c : cases) {
        LoadOld();
        const BitmapFile before = record;
        const std::vector<uint8_t> bytes = MakeBmp(c.spec);
        std::string why;
        EXPECT_EQ(LoadBitmapMemory(&record, bytes.data(), bytes.size(), &why), 0) << c.what;
        EXPECT_EQ(why, c.why) << c.what;
        EXPECT_EQ(record.pixels, before.pixels) << c.what;
        EXPECT_EQ(std::memcmp(&record.infoHeader, &before.infoHeader, sizeof before.infoHeader), 0)
            << c.what;
    }
    // Every cut of a good file short of its last pixel is refused.
    for (size_t size = 0; size < good.size(); ++size) {
        LoadOld();
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        EXPECT_EQ(Load(cut), 0) << size;
        EXPECT_EQ(record.pixels[0], 9) << size;
    }
}

TEST_F(BitmapFileTest, RefusedFileOnDiskReturnsZero) {
    BmpSpec s = FourByTwo();
    s.compression = 1;
    const std::string path = WriteFile("rle.bmp", MakeBmp(s));
    EXPECT_EQ(LoadBitmapFile(&record, path.c_str()), 0);
    EXPECT_EQ(record.pixels, nullptr);
    std::remove(path.c_str());
}

TEST_F(BitmapFileTest, UnloadEmptiesAndReverseRowsEdges) {
    EXPECT_EQ(UnloadBitmapFile(&record), 1);  // empty record: nothing to do
    EXPECT_EQ(record.pixels, nullptr);
    LoadOld();
    const BitmapInfoHeader info = record.infoHeader;
    EXPECT_EQ(UnloadBitmapFile(&record), 1);
    EXPECT_EQ(record.pixels, nullptr);
    EXPECT_EQ(std::memcmp(&info, &record.infoHeader, sizeof info), 0);  // headers stay

    uint8_t block[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(ReverseRows(block, 2, 3), 1);
    EXPECT_EQ(std::vector<uint8_t>(block, block + 6), (std::vector<uint8_t>{5, 6, 3, 4, 1, 2}));
    EXPECT_EQ(ReverseRows(block, 2, 0), 1);
    EXPECT_EQ(block[0], 5);
}

TEST_F(BitmapFileTest, SavedFilesReadBackAndPadRows) {
    const uint8_t picture[3 * 5] = {1, 2, 3, 0xFF, 0xFF, 4, 5, 6, 0xFF, 0xFF, 7, 8, 9, 0xFF, 0xFF};
    Palette palette{};
    for (int n = 0; n < 256; ++n) palette.entries[n] = {uint8_t(n), uint8_t(255 - n), 7, 4};
    const std::string path = TempPath("saved.bmp");
    ASSERT_EQ(SaveBitmapFile(path.c_str(), picture, 3, 3, 5, palette), 1);

    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> bytes(4096);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    EXPECT_EQ(bytes.size(), 1078u + 3 * 4);
    EXPECT_EQ(ReadLe32(&bytes[10]), 1078u);
    EXPECT_EQ(bytes[34], 12);  // biSizeImage: three rows of four

    ASSERT_EQ(LoadBitmapFile(&record, path.c_str()), 1);
    EXPECT_EQ(Pixels(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(std::memcmp(&record.palette, &palette, sizeof palette), 0);
    EXPECT_EQ(SaveBitmapFile(path.c_str(), picture, 3, 3, 2, palette), 0);  // pitch < width
    std::remove(path.c_str());
}

}  // namespace
