// The icon directory: a 6-byte header (reserved 0, type 1, count) and one
// 16-byte entry per image, each naming the width and height (0 for 256),
// the size and offset of its data. The data is a bitmap (a BITMAPINFOHEADER
// or a later version of it, then colours and masks) or, for large images, a
// whole PNG file.
#include "icofile.h"

#include <algorithm>

namespace rc {
namespace {

uint32_t Read(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}

uint32_t ReadBigEndian32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

const uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The pixel size the image's own data gives, 0 x 0 when it is neither a
// bitmap nor a PNG file.
void ImageSize(const std::vector<uint8_t>& b, size_t at, size_t size, uint32_t* width,
               uint32_t* height) {
    *width = *height = 0;
    if (size >= 24 && std::equal(kPngSignature, kPngSignature + 8, b.begin() + at) &&
        Read(b, at + 12, 4) == 0x52444849u) { // "IHDR", the first chunk
        *width = ReadBigEndian32(b, at + 16);
        *height = ReadBigEndian32(b, at + 20);
    } else if (size >= 40 && Read(b, at, 4) >= 40) {
        *width = Read(b, at + 4, 4);
        *height = Read(b, at + 8, 4) / 2; // the colour bitmap and the mask
    }
}

} // namespace

bool CheckIconFile(const std::vector<uint8_t>& b, std::string* problem) {
    if (b.size() < 6 || Read(b, 0, 2) != 0 || Read(b, 2, 2) != 1) {
        *problem = "no icon file header";
        return false;
    }
    size_t count = Read(b, 4, 2);
    size_t directoryEnd = 6 + 16 * count;
    if (count == 0 || b.size() < directoryEnd) {
        *problem = "icon directory is empty or cut short";
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        size_t entry = 6 + 16 * i;
        uint64_t size = Read(b, entry + 8, 4);
        uint64_t offset = Read(b, entry + 12, 4);
        const std::string image = "image " + std::to_string(i + 1);
        if (size == 0 || offset < directoryEnd || offset + size > b.size()) {
            *problem = image + " lies outside the file";
            return false;
        }
        const uint32_t entryWidth = b[entry] != 0 ? b[entry] : 256;
        const uint32_t entryHeight = b[entry + 1] != 0 ? b[entry + 1] : 256;
        uint32_t width = 0, height = 0;
        ImageSize(b, offset, size, &width, &height);
        if (width == 0) {
            *problem = image + " is neither a bitmap nor a PNG file";
            return false;
        }
        if (width != entryWidth || height != entryHeight) {
            *problem = image + " is " + std::to_string(width) + "x" + std::to_string(height) +
                       ", its entry says " + std::to_string(entryWidth) + "x" +
                       std::to_string(entryHeight);
            return false;
        }
    }
    return true;
}

} // namespace rc
