// Writes .ico files: each small image as a bottom-up bitmap (with a palette
// at 4 and 8 bits, with alpha at 32) followed by its 1-bit transparency (AND)
// mask, the form every Windows version reads; a 256-pixel image as a PNG
// file, the form Windows reads at that size.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

struct IconImage {
    Image image;      // at 4 and 8 bits, fully opaque or fully transparent pixels
    int bitsPerPixel; // 4, 8 or 32
    bool png = false; // stored as a PNG file (32 bits)
};

// Builds the file's bytes; false (with a reason) when an image has more
// colours than its depth can index.
bool BuildIco(const std::vector<IconImage>& images, std::vector<uint8_t>* bytes,
              std::string* problem);
