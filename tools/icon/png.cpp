// PNG chunks with their CRC-32, each row filtered the way that leaves the
// smallest sum of bytes (the usual choice of PNG writers), then compressed
// by zlib.
#include "png.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, static_cast<uint32_t>(
                     crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The row after filter type (0 none, 1 sub, 2 up, 3 average, 4 Paeth),
// prefixed with that type; prev is the row above, zeros for the first.
std::vector<uint8_t> Filter(int type, const std::vector<uint8_t>& row,
                            const std::vector<uint8_t>& prev) {
    std::vector<uint8_t> out(1, static_cast<uint8_t>(type));
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= 4 ? row[i - 4] : 0, b = prev[i], c = i >= 4 ? prev[i - 4] : 0;
        const int predictor = type == 1   ? a
                              : type == 2 ? b
                              : type == 3 ? (a + b) / 2
                              : type == 4 ? Paeth(a, b, c)
                                          : 0;
        out.push_back(static_cast<uint8_t>(row[i] - predictor));
    }
    return out;
}

long Cost(const std::vector<uint8_t>& filtered) {
    long sum = 0;
    for (size_t i = 1; i < filtered.size(); ++i)
        sum += filtered[i] < 128 ? filtered[i] : 256 - filtered[i];
    return sum;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(raw.size());
    std::vector<uint8_t> z(size);
    if (compress2(z.data(), &size, raw.data(), raw.size(), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    z.resize(size);
    return z;
}

} // namespace

std::vector<uint8_t> BuildPng(const Image& image) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(image.width));
    PutBe32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, no interlace
    Chunk(out, "IHDR", header);
    std::vector<uint8_t> raw, prev(static_cast<size_t>(image.width) * 4, 0);
    for (int y = 0; y < image.height; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.At(x, y);
            row.insert(row.end(), {p.r, p.g, p.b, p.a});
        }
        std::vector<uint8_t> best = Filter(0, row, prev);
        for (int type = 1; type <= 4; ++type) {
            std::vector<uint8_t> filtered = Filter(type, row, prev);
            if (Cost(filtered) < Cost(best))
                best = std::move(filtered);
        }
        raw.insert(raw.end(), best.begin(), best.end());
        prev = std::move(row);
    }
    Chunk(out, "IDAT", Deflate(raw));
    Chunk(out, "IEND", {});
    return out;
}
