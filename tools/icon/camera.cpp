// The camera is drawn in a 32-unit square by testing each sample point against
// a few shapes, front to back. Edges sit on even units so that neither the
// 32- nor the 16-pixel grid samples exactly on a boundary, and outlines are at
// least one pixel wide at every size.
#include "camera.h"

#include <algorithm>
#include <cmath>

namespace {

const Rgba kVga[16] = {
    {0, 0, 0, 255},       {128, 0, 0, 255},   {0, 128, 0, 255},   {128, 128, 0, 255},
    {0, 0, 128, 255},     {128, 0, 128, 255}, {0, 128, 128, 255}, {192, 192, 192, 255},
    {128, 128, 128, 255}, {255, 0, 0, 255},   {0, 255, 0, 255},   {255, 255, 0, 255},
    {0, 0, 255, 255},     {255, 0, 255, 255}, {0, 255, 255, 255}, {255, 255, 255, 255}};
const Rgba kBlack = kVga[0], kSilver = kVga[7], kGray = kVga[8], kRed = kVga[9], kNavy = kVga[4],
           kBlue = kVga[12], kAqua = kVga[14], kWhite = kVga[15];

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), 255};
}

// Signed distance from (x, y) to a rectangle with rounded corners; negative inside.
double RoundRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    double dx = std::max(std::fabs(x - cx) - hx, 0.0), dy = std::max(std::fabs(y - cy) - hy, 0.0);
    double outside = std::hypot(dx, dy);
    double inside = std::min(std::max(std::fabs(x - cx) - hx, std::fabs(y - cy) - hy), 0.0);
    return outside + inside - r;
}

// The colour at one point; alpha 0 outside the camera. line is the outline width.
Rgba Sample(double x, double y, double line, Palette palette) {
    bool rich = palette == Palette::Rich;
    // Lens: a silver ring round dark glass with a highlight.
    double lensX = 16, lensY = 19;
    double r = std::hypot(x - lensX, y - lensY);
    if (r < 8) {
        if (r >= 8 - line)
            return kBlack;
        if (std::hypot(x - 13.5, y - 16.5) < std::max(1.5, line * 0.75))
            return kWhite;
        if (r < 5)
            return rich ? Mix({40, 90, 200, 255}, {10, 20, 70, 255}, r / 5)
                        : (r < 3 ? kBlue : kNavy);
        if (line <= 1 && r < 6) // at 16 pixels the ring would swallow the silver
            return kBlack;
        return rich ? Mix({235, 235, 235, 255}, {140, 140, 150, 255}, (y - lensY + 8) / 16)
                    : kSilver;
    }
    // Viewfinder window, top left of the front.
    if (x > 4 && x < 10 && y > 12 && y < 16) {
        bool edge = line <= 1 && (x < 5 || x > 9 || y < 13 || y > 15);
        return edge ? kBlack
                    : (rich ? Mix({200, 240, 255, 255}, {60, 150, 200, 255}, (y - 12) / 4) : kAqua);
    }
    // Body.
    double body = RoundRect(x, y, 2, 10, 30, 28, 3);
    if (body < 0) {
        if (body > -line)
            return kBlack;
        return rich ? Mix({170, 170, 175, 255}, {70, 70, 75, 255}, (y - 10) / 18) : kGray;
    }
    // Shutter release and the hump that carries the viewfinder optics.
    if (x > 22 && x < 26 && y > 7 && y < 10.5)
        return (x < 22 + line || x > 26 - line || y < 7 + line) ? kBlack : kRed;
    if (x > 10 && x < 20 && y > 6 && y < 10.5) {
        bool edge = x < 10 + line || x > 20 - line || y < 6 + line;
        return edge ? kBlack
                    : (rich ? Mix({150, 150, 155, 255}, {110, 110, 115, 255}, (y - 6) / 4) : kGray);
    }
    return {};
}

} // namespace

const Rgba* Vga16Colours() {
    return kVga;
}

Image DrawCamera(int size, Palette palette, int supersample) {
    Image image(size, size);
    double unit = 32.0 / size; // units per pixel
    double line = std::max(1.0, unit);
    int n = std::max(1, supersample);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    Rgba c = Sample((px + (sx + 0.5) / n) * unit, (py + (sy + 0.5) / n) * unit,
                                    line, palette);
                    double w = c.a / 255.0;
                    r += c.r * w;
                    g += c.g * w;
                    b += c.b * w;
                    a += w;
                }
            }
            if (a > 0) {
                image.At(px, py) = {static_cast<uint8_t>(std::lround(r / a)),
                                    static_cast<uint8_t>(std::lround(g / a)),
                                    static_cast<uint8_t>(std::lround(b / a)),
                                    static_cast<uint8_t>(std::lround(255 * a / (n * n)))};
            }
        }
    }
    return image;
}
