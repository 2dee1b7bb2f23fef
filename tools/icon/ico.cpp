// The icon file builder. A 4-bit image uses the standard 16-colour palette;
// an 8-bit image gets a palette of its own colours; a 32-bit one keeps its
// alpha, and its mask marks the fully transparent pixels.
#include "ico.h"

#include "camera.h"
#include "png.h"

#include <algorithm>

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

size_t RowBytes(int width, int bits) {
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

bool Palette(const IconImage& icon, std::vector<Rgba>* palette, std::string* problem) {
    size_t limit = size_t{1} << icon.bitsPerPixel;
    if (icon.bitsPerPixel == 4) {
        palette->assign(Vga16Colours(), Vga16Colours() + 16);
    } else {
        palette->assign(1, Rgba{0, 0, 0, 255}); // index 0 under transparent pixels
        for (const Rgba& p : icon.image.pixels) {
            if (p.a != 0 && std::find(palette->begin(), palette->end(), p) == palette->end())
                palette->push_back(p);
        }
    }
    for (const Rgba& p : icon.image.pixels) {
        if (p.a != 0 && p.a != 255) {
            *problem = "an icon pixel is partly transparent";
            return false;
        }
        if (p.a != 0 && std::find(palette->begin(), palette->end(), p) == palette->end()) {
            *problem = "a 4-bit icon pixel is not one of the 16 standard colours";
            return false;
        }
    }
    if (palette->size() > limit) {
        *problem = "an icon image has more colours than its depth holds";
        return false;
    }
    palette->resize(limit, Rgba{0, 0, 0, 255});
    return true;
}

bool ImageData(const IconImage& icon, std::vector<uint8_t>* data, std::string* problem) {
    if (icon.png) {
        *data = BuildPng(icon.image);
        return true;
    }
    std::vector<Rgba> palette;
    if (icon.bitsPerPixel != 32 && !Palette(icon, &palette, problem))
        return false;
    const Image& img = icon.image;
    int bits = icon.bitsPerPixel;
    size_t xorRow = RowBytes(img.width, bits), andRow = RowBytes(img.width, 1);
    // BITMAPINFOHEADER: the height counts the colour bitmap and the mask.
    Put32(*data, 40);
    Put32(*data, static_cast<uint32_t>(img.width));
    Put32(*data, static_cast<uint32_t>(img.height * 2));
    Put16(*data, 1);
    Put16(*data, static_cast<uint32_t>(bits));
    Put32(*data, 0);
    Put32(*data, static_cast<uint32_t>((xorRow + andRow) * img.height));
    for (int i = 0; i < 4; ++i)
        Put32(*data, 0);
    for (const Rgba& c : palette) {
        data->push_back(c.b);
        data->push_back(c.g);
        data->push_back(c.r);
        data->push_back(0);
    }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(xorRow, 0);
        for (int x = 0; x < img.width; ++x) {
            const Rgba& p = img.At(x, y);
            if (bits == 32) {
                const uint8_t bgra[] = {p.b, p.g, p.r, p.a};
                std::copy(bgra, bgra + 4, row.begin() + 4 * x);
                continue;
            }
            size_t index =
                p.a == 0 ? 0 : std::find(palette.begin(), palette.end(), p) - palette.begin();
            if (bits == 8)
                row[x] = static_cast<uint8_t>(index);
            else
                row[x / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
        }
        data->insert(data->end(), row.begin(), row.end());
    }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(andRow, 0);
        for (int x = 0; x < img.width; ++x) {
            if (img.At(x, y).a == 0)
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        data->insert(data->end(), row.begin(), row.end());
    }
    return true;
}

} // namespace

bool BuildIco(const std::vector<IconImage>& images, std::vector<uint8_t>* bytes,
              std::string* problem) {
    std::vector<std::vector<uint8_t>> data(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        if (!ImageData(images[i], &data[i], problem))
            return false;
    }
    bytes->clear();
    Put16(*bytes, 0);
    Put16(*bytes, 1);
    Put16(*bytes, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const Image& img = images[i].image;
        // A width or height of 256 is written as 0.
        bytes->push_back(static_cast<uint8_t>(img.width % 256));
        bytes->push_back(static_cast<uint8_t>(img.height % 256));
        bytes->push_back(images[i].bitsPerPixel == 4 ? 16 : 0);
        bytes->push_back(0);
        Put16(*bytes, 1);
        Put16(*bytes, static_cast<uint32_t>(images[i].bitsPerPixel));
        Put32(*bytes, static_cast<uint32_t>(data[i].size()));
        Put32(*bytes, offset);
        offset += static_cast<uint32_t>(data[i].size());
    }
    for (const auto& d : data)
        bytes->insert(bytes->end(), d.begin(), d.end());
    return true;
}
