// The icon directory: a 6-byte header (reserved 0, type 1, count) and one
// 16-byte entry per image, each naming the size and offset of its data.
#include "icofile.h"

namespace rc {
namespace {

uint32_t Read(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
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
        if (size == 0 || offset < directoryEnd || offset + size > b.size()) {
            *problem = "image " + std::to_string(i + 1) + " lies outside the file";
            return false;
        }
    }
    return true;
}

} // namespace rc
