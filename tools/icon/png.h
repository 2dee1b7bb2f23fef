// Writes RGBA PNG files without a compression library: the image data goes
// into stored (uncompressed) deflate blocks, which every PNG reader accepts.
#pragma once

#include "image.h"

#include <cstdint>
#include <vector>

std::vector<uint8_t> BuildPng(const Image& image);
