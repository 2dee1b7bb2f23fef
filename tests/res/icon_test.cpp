// The application icon as the tables hand it out: a well-formed .ico whose
// images have the sizes and depths the program's windows ask for at any DPI,
// each with a mask (or alpha) that leaves the corners transparent and the
// camera opaque; the 256-pixel one a PNG file, as Windows reads that size.
#include "platform/linux/resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

const BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Le(const BYTE* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

struct Entry {
    int width, height, bits;
    uint32_t size, offset;
    bool png = false;
};

std::vector<Entry> Directory(const BYTE* ico, size_t size) {
    std::vector<Entry> entries;
    if (size < 6 || Le(ico, 2) != 0 || Le(ico + 2, 2) != 1)
        return entries;
    for (uint32_t i = 0; i < Le(ico + 4, 2) && 6 + 16 * (i + 1) <= size; ++i) {
        const BYTE* e = ico + 6 + 16 * i;
        Entry entry{e[0] ? e[0] : 256, e[1] ? e[1] : 256, static_cast<int>(Le(e + 6, 2)),
                    Le(e + 8, 4), Le(e + 12, 4)};
        entry.png = entry.offset + 8 <= size &&
                    std::equal(ico + entry.offset, ico + entry.offset + 8, kPngSignature);
        entries.push_back(entry);
    }
    return entries;
}

size_t RowBytes(int width, int bits) {
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

size_t Colours(const Entry& e) {
    return e.bits <= 8 ? size_t{1} << e.bits : 0;
}

// True when the AND mask marks pixel (x, y), counted from the top,
// transparent; for a 32-bit image, its alpha must say the same.
bool Transparent(const BYTE* image, const Entry& e, int x, int y) {
    const BYTE* pixels = image + 40 + 4 * Colours(e);
    const BYTE* mask = pixels + RowBytes(e.width, e.bits) * e.height;
    const BYTE* row = mask + RowBytes(e.width, 1) * (e.height - 1 - y);
    const bool masked = row[x / 8] & (0x80 >> (x % 8));
    if (e.bits == 32) {
        const BYTE alpha = pixels[RowBytes(e.width, 32) * (e.height - 1 - y) + 4 * x + 3];
        EXPECT_EQ(masked, alpha == 0) << x << "," << y;
    }
    return masked;
}

TEST(AppIcon, ImagesOfTheRightSizesAndDepths) {
    size_t size = 0;
    const BYTE* ico = FindIconGroup(IDI_APP_ICON, &size);
    ASSERT_NE(nullptr, ico);
    std::vector<Entry> entries = Directory(ico, size);
    std::vector<std::tuple<int, int, int>> shapes;
    for (const Entry& e : entries)
        shapes.emplace_back(e.width, e.height, e.bits);
    // The three Windows has always read, then 24, 48 and 64 pixels with alpha
    // (the small and large icons at 144 and 192 DPI), and 256 pixels for the
    // shell's largest views.
    EXPECT_EQ((std::vector<std::tuple<int, int, int>>{{32, 32, 4},
                                                      {16, 16, 8},
                                                      {32, 32, 8},
                                                      {24, 24, 32},
                                                      {48, 48, 32},
                                                      {64, 64, 32},
                                                      {256, 256, 32}}),
              shapes);
    ASSERT_GE(size, 6u + 16 * 7);
    EXPECT_EQ(16, ico[6 + 2]); // colour count of the 16-colour image
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].width == 256, entries[i].png) << i;
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
        if (e.png) {
            // The header chunk: width, height, 8 bits per channel, RGBA;
            // compressed, not stored.
            ASSERT_GE(e.size, 33u);
            EXPECT_EQ(0, std::memcmp(image + 12, "IHDR", 4));
            EXPECT_EQ(0x00000100u,
                      uint32_t(image[16] << 24 | image[17] << 16 | image[18] << 8 | image[19]));
            EXPECT_EQ(0x00000100u,
                      uint32_t(image[20] << 24 | image[21] << 16 | image[22] << 8 | image[23]));
            EXPECT_EQ(8, image[24]);
            EXPECT_EQ(6, image[25]);
            EXPECT_LT(e.size, 256u * 256u) << "not compressed";
            continue;
        }
        EXPECT_EQ(40u, Le(image, 4));                        // BITMAPINFOHEADER
        EXPECT_EQ(uint32_t(e.width), Le(image + 4, 4));      // width
        EXPECT_EQ(uint32_t(e.height * 2), Le(image + 8, 4)); // colour bitmap + mask
        EXPECT_EQ(1u, Le(image + 12, 2));                    // planes
        EXPECT_EQ(uint32_t(e.bits), Le(image + 14, 2));
        EXPECT_EQ(0u, Le(image + 16, 4)); // uncompressed
        size_t expected =
            40 + 4 * Colours(e) +
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
