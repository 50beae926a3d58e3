// The little-endian byte helpers: field placement, bounds and text copies.
#include "api/bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace bytes_test {
namespace {

TEST(Bytes, PutsAndGetsLittleEndianFields) {
    uint8_t buf[16] = {};
    ASSERT_TRUE(bytes::PutU16(buf, sizeof buf, 1, 0xBEEF));
    ASSERT_TRUE(bytes::PutU32(buf, sizeof buf, 3, 0x11223344));
    ASSERT_TRUE(bytes::PutU64(buf, sizeof buf, 8, 0x0102030405060708ull));
    const uint8_t expected[16] = {0,    0xEF, 0xBE, 0x44, 0x33, 0x22, 0x11, 0,
                                  0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(std::memcmp(buf, expected, sizeof buf), 0);
    EXPECT_EQ(bytes::GetU16(buf, sizeof buf, 1), 0xBEEF);
    EXPECT_EQ(bytes::GetU32(buf, sizeof buf, 3), 0x11223344u);
    EXPECT_EQ(bytes::GetU64(buf, sizeof buf, 8), 0x0102030405060708ull);
}

TEST(Bytes, FieldsOutsideTheBufferAreNeverTouched) {
    struct Case {
        size_t offset;
        size_t width;
    };
    const Case cases[] = {{7, 2}, {5, 4}, {8, 1}, {1, 8}, {SIZE_MAX, 4}, {SIZE_MAX - 1, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        std::vector<uint8_t> buf(8, 0xAA);
        EXPECT_FALSE(bytes::PutLe(buf.data(), buf.size(), c.offset, 0, c.width));
        EXPECT_EQ(buf, std::vector<uint8_t>(8, 0xAA));
        uint64_t value = 99;
        EXPECT_FALSE(bytes::GetLe(buf.data(), buf.size(), c.offset, c.width, &value));
        EXPECT_EQ(value, 0u);
    }
    uint8_t raw[4] = {};
    EXPECT_FALSE(bytes::PutBytes(raw, sizeof raw, 2, "abc", 3));
    EXPECT_FALSE(bytes::GetBytes(raw, sizeof raw, 3, raw, 2));
}

TEST(Bytes, CopyTextIsBoundedAndTerminated) {
    char dst[6];
    EXPECT_EQ(bytes::CopyText(dst, sizeof dst, "abcdefgh"), 5u);
    EXPECT_STREQ(dst, "abcde");
    // A source field without a NUL stops at its own size.
    const char field[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(bytes::CopyText(dst, sizeof dst, field, sizeof field), 4u);
    EXPECT_STREQ(dst, "wxyz");
    EXPECT_EQ(bytes::CopyText(dst, sizeof dst, nullptr), 0u);
    EXPECT_STREQ(dst, "");

    char text[8] = "ab";
    EXPECT_TRUE(bytes::AppendText(text, sizeof text, "cd"));
    EXPECT_FALSE(bytes::AppendText(text, sizeof text, "efghij"));
    EXPECT_STREQ(text, "abcdefg");
}

}  // namespace
}  // namespace bytes_test
