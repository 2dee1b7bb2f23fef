// Writes RGBA PNG files, compressed with zlib.
#pragma once

#include "image.h"

#include <cstdint>
#include <vector>

std::vector<uint8_t> BuildPng(const Image& image);
