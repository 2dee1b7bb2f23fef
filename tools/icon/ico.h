// Writes .ico files: each image as a bottom-up palette bitmap followed by its
// 1-bit transparency (AND) mask, the form every Windows version reads.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

struct IconImage {
    Image image;      // fully opaque or fully transparent pixels
    int bitsPerPixel; // 4 or 8
};

// Builds the file's bytes; false (with a reason) when an image has more
// colours than its depth can index.
bool BuildIco(const std::vector<IconImage>& images, std::vector<uint8_t>* bytes,
              std::string* problem);
