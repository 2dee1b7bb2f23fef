// The application icon as the tables hand it out: a well-formed .ico whose
// three images have the sizes and depths the program's windows ask for, each
// with a mask that leaves the corners transparent and the camera opaque.
#include "platform/linux/resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

namespace {

uint32_t Le(const BYTE* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

struct Entry {
    int width, height, bits;
    uint32_t size, offset;
};

std::vector<Entry> Directory(const BYTE* ico, size_t size) {
    std::vector<Entry> entries;
    if (size < 6 || Le(ico, 2) != 0 || Le(ico + 2, 2) != 1)
        return entries;
    for (uint32_t i = 0; i < Le(ico + 4, 2) && 6 + 16 * (i + 1) <= size; ++i) {
        const BYTE* e = ico + 6 + 16 * i;
        entries.push_back({e[0] ? e[0] : 256, e[1] ? e[1] : 256, static_cast<int>(Le(e + 6, 2)),
                           Le(e + 8, 4), Le(e + 12, 4)});
    }
    return entries;
}

size_t RowBytes(int width, int bits) {
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

// True when the AND mask marks pixel (x, y), counted from the top, transparent.
bool Transparent(const BYTE* image, const Entry& e, int x, int y) {
    size_t colours = size_t{1} << e.bits;
    const BYTE* mask = image + 40 + 4 * colours + RowBytes(e.width, e.bits) * e.height;
    const BYTE* row = mask + RowBytes(e.width, 1) * (e.height - 1 - y);
    return row[x / 8] & (0x80 >> (x % 8));
}

TEST(AppIcon, ThreeImagesOfTheRightSizesAndDepths) {
    size_t size = 0;
    const BYTE* ico = FindIconGroup(IDI_APP_ICON, &size);
    ASSERT_NE(nullptr, ico);
    std::vector<Entry> entries = Directory(ico, size);
    std::vector<std::tuple<int, int, int>> shapes;
    for (const Entry& e : entries)
        shapes.emplace_back(e.width, e.height, e.bits);
    EXPECT_EQ((std::vector<std::tuple<int, int, int>>{{32, 32, 4}, {16, 16, 8}, {32, 32, 8}}),
              shapes);
    ASSERT_GE(size, 6u + 16 * 3);
    EXPECT_EQ(16, ico[6 + 2]); // colour count of the 16-colour image
}

TEST(AppIcon, EachImageIsABitmapWithColourTableAndMask) {
    size_t size = 0;
    const BYTE* ico = FindIconGroup(IDI_APP_ICON, &size);
    ASSERT_NE(nullptr, ico);
    for (const Entry& e : Directory(ico, size)) {
        SCOPED_TRACE(std::to_string(e.width) + "x" + std::to_string(e.height) + "x" +
                     std::to_string(e.bits));
        ASSERT_LE(uint64_t{e.offset} + e.size, size);
        const BYTE* image = ico + e.offset;
        EXPECT_EQ(40u, Le(image, 4));                        // BITMAPINFOHEADER
        EXPECT_EQ(uint32_t(e.width), Le(image + 4, 4));      // width
        EXPECT_EQ(uint32_t(e.height * 2), Le(image + 8, 4)); // colour bitmap + mask
        EXPECT_EQ(1u, Le(image + 12, 2));                    // planes
        EXPECT_EQ(uint32_t(e.bits), Le(image + 14, 2));
        EXPECT_EQ(0u, Le(image + 16, 4)); // uncompressed
        size_t colours = size_t{1} << e.bits;
        size_t expected =
            40 + 4 * colours +
            (RowBytes(e.width, e.bits) + RowBytes(e.width, 1)) * static_cast<size_t>(e.height);
        ASSERT_EQ(expected, e.size);

        EXPECT_TRUE(Transparent(image, e, 0, 0));
        EXPECT_TRUE(Transparent(image, e, e.width - 1, 0));
        EXPECT_TRUE(Transparent(image, e, 0, e.height - 1));
        EXPECT_FALSE(Transparent(image, e, e.width / 2, e.height / 2));
    }
}

TEST(AppIcon, SizeIsOptional) {
    EXPECT_NE(nullptr, FindIconGroup(IDI_APP_ICON, nullptr));
}

} // namespace
