// The application icon as the tables hand it out: a well-formed .ico whose
// images have the sizes and depths the windows ask for at any DPI, each with a
// mask (and alpha) leaving the corners transparent and the camera opaque.
#include "platform/linux/resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
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

// True when the AND mask marks pixel (x, y), counted from the top,
// transparent; for a 32-bit image, its alpha must say the same.
bool Transparent(const BYTE* image, const Entry& e, int x, int y) {
    const BYTE* pixels = image + 40 + (e.bits <= 8 ? 4u << e.bits : 0);
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
    std::string shapes;
    for (const Entry& e : entries)
        shapes += std::to_string(e.width) + "x" + std::to_string(e.height) + "/" +
                  std::to_string(e.bits) + " ";
    // The three Windows has always read, then 24, 48 and 64 pixels with alpha
    // (the small and large icons at 144 and 192 DPI), and 256 for the shell.
    EXPECT_EQ("32x32/4 16x16/8 32x32/8 24x24/32 48x48/32 64x64/32 256x256/32 ", shapes);
    ASSERT_GE(size, 6u + 16 * 7);
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
        if (e.width == 256) {
            // A PNG file whose header chunk gives 256 x 256, 8-bit RGBA; compressed.
            const BYTE png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I',
                                'H',  'D', 'R', 0,   0,    1,    0,    0,    0, 1, 0, 8,  6};
            ASSERT_GE(e.size, sizeof png);
            EXPECT_EQ(0, std::memcmp(image, png, sizeof png));
            EXPECT_LT(e.size, 256u * 256u);
            continue;
        }
        EXPECT_EQ(40u, Le(image, 4));                        // BITMAPINFOHEADER
        EXPECT_EQ(uint32_t(e.width), Le(image + 4, 4));      // width
        EXPECT_EQ(uint32_t(e.height * 2), Le(image + 8, 4)); // colour bitmap + mask
        EXPECT_EQ(1u, Le(image + 12, 2));                    // planes
        EXPECT_EQ(uint32_t(e.bits), Le(image + 14, 2));
        EXPECT_EQ(0u, Le(image + 16, 4)); // uncompressed
        size_t expected =
            40 + (e.bits <= 8 ? 4u << e.bits : 0) +
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
