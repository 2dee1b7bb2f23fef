// The application's picture: a camera with body, lens and viewfinder.
#pragma once

#include "image.h"

enum class Palette {
    Vga16, // only the 16 standard colours, for the 4-bit image
    Rich,  // shading, for 8-bit and true-colour images
};

// Draws the camera at size x size pixels. With supersample above 1 each pixel
// averages supersample^2 samples, which smooths edges through alpha.
Image DrawCamera(int size, Palette palette, int supersample = 1);

// The 16 colours of the standard 4-bit icon palette, in palette order.
const Rgba* Vga16Colours();
