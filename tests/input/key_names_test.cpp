// The key-name table and KeyName/CaptureKey, without the keyboard.
#include "input/key_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "input/key_capture.h"

namespace {

// The codes that have no name, written as ranges the way the keyboard lays
// them out; the table must name exactly the other codes from 1 to 255.
std::set<int> UnnamedCodes() {
    std::set<int> codes{0, 180, 182, 202, 204, 206};
    const int ranges[][2] = {{84, 86},   {89, 99},   {102, 155}, {158, 178},
                             {185, 198}, {212, 218}, {222, 255}};
    for (const auto& range : ranges) {
        for (int code = range[0]; code <= range[1]; code++) codes.insert(code);
    }
    return codes;
}

std::string NameOf(int32_t code) {
    char buffer[80];
    std::memset(buffer, 0, sizeof buffer);
    KeyName(code, buffer, sizeof buffer);
    return buffer;
}

TEST(KeyNameTable, NamesExactlyTheBindableCodesInAscendingOrder) {
    const std::set<int> unnamed = UnnamedCodes();
    int previous = 0;
    std::set<int> named;
    for (const KeyNameRow& row : KeyNameTable) {
        EXPECT_GT(row.code, previous) << "row " << int(row.code) << " out of order";
        previous = row.code;
        named.insert(row.code);
        EXPECT_EQ(unnamed.count(row.code), 0u) << "code " << int(row.code) << " has no name";
        ASSERT_NE(row.text, nullptr);
        EXPECT_GT(std::strlen(row.text), 0u);
        EXPECT_LE(std::strlen(row.text), 17u) << row.text;
    }
    EXPECT_EQ(named.size(), 106u);
    EXPECT_EQ(named.size() + unnamed.size(), 256u);
    EXPECT_EQ(*named.begin(), 1);
    EXPECT_EQ(*named.rbegin(), 221);
}

TEST(KeyName, WritesTheTextsTheScreensShow) {
    EXPECT_EQ(NameOf(1), "Escape");
    EXPECT_EQ(NameOf(2), "1");
    EXPECT_EQ(NameOf(3), "2");
    EXPECT_EQ(NameOf(11), "0");
    EXPECT_EQ(NameOf(15), "TAB");
    EXPECT_EQ(NameOf(39), ";");
    EXPECT_EQ(NameOf(41), "`");
    EXPECT_EQ(NameOf(43), "Backslash");
    EXPECT_EQ(NameOf(57), "Spacebar");
    EXPECT_EQ(NameOf(83), ". (on numpad)");
    EXPECT_EQ(NameOf(87), "F11");
    EXPECT_EQ(NameOf(101), "F14");
    EXPECT_EQ(NameOf(156), "Enter (on numpad)");
    EXPECT_EQ(NameOf(179), "Comma (on numpad)");
    EXPECT_EQ(NameOf(200), "Up arrow");
    EXPECT_EQ(NameOf(203), "Left Arrow");
    EXPECT_EQ(NameOf(207), "END");
    EXPECT_EQ(NameOf(208), "Down Arrow");
    EXPECT_EQ(NameOf(220), "Right Windows Key");
    EXPECT_EQ(NameOf(221), "Application Key");
}

TEST(KeyName, OnlyTheLowEightBitsCount) {
    EXPECT_EQ(NameOf(258), "1");
    EXPECT_EQ(NameOf(256 + 200), "Up arrow");
    EXPECT_EQ(NameOf(-256 + 57), "Spacebar");
}

TEST(KeyName, LeavesTheBufferAloneForACodeWithoutAName) {
    for (int32_t code : {0, 84, 86, 180, 255, 256}) {
        char buffer[80];
        std::memset(buffer, 'x', sizeof buffer);
        std::strcpy(buffer, "previous");
        char before[80];
        std::memcpy(before, buffer, sizeof buffer);
        KeyName(code, buffer, sizeof buffer);
        EXPECT_EQ(std::memcmp(buffer, before, sizeof buffer), 0) << "code " << code;
    }
}

TEST(KeyName, WritesTheTerminatingZeroAndNothingBeyond) {
    char buffer[80];
    std::memset(buffer, 'x', sizeof buffer);
    KeyName(220, buffer, sizeof buffer);  // the longest text: 17 characters
    EXPECT_STREQ(buffer, "Right Windows Key");
    EXPECT_EQ(buffer[18], 'x');
    std::memset(buffer, 'x', sizeof buffer);
    KeyName(2, buffer, sizeof buffer);
    EXPECT_EQ(buffer[1], '\0');
    EXPECT_EQ(buffer[2], 'x');
    // A buffer too small gets what fits, never more.
    std::memset(buffer, 'x', sizeof buffer);
    KeyName(220, buffer, 6);
    EXPECT_STREQ(buffer, "Right");
    EXPECT_EQ(buffer[6], 'x');
}

TEST(CaptureKey, NotesTheHighestNamedKeyHeld) {
    uint8_t keys[256] = {};
    keys[30] = 0x80;   // A
    keys[42] = 0x80;   // Left Shift
    keys[86] = 0x80;   // no name: never looked at
    keys[240] = 0x80;  // no name
    NotedKey = 0;
    CaptureKey(keys);
    EXPECT_EQ(NotedKey, 42);
    keys[221] = 1;  // any nonzero byte counts as held
    CaptureKey(keys);
    EXPECT_EQ(NotedKey, 221);
}

TEST(CaptureKey, KeepsTheNotedCodeWhenNoNamedKeyIsHeld) {
    uint8_t keys[256] = {};
    NotedKey = 50;
    keys[86] = 0x80;
    keys[255] = 0x80;
    CaptureKey(keys);
    EXPECT_EQ(NotedKey, 50);
    keys[1] = 0x80;  // Escape is noted like any other key
    CaptureKey(keys);
    EXPECT_EQ(NotedKey, 1);
}

}  // namespace
