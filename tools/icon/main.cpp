// mkicon: draws the application icon and writes VK37Set.ico (32x32 16-colour,
// 16x16 and 32x32 256-colour) and vk37set.png (64x64, for the desktop entry)
// into the directory given, normally res/. Run by hand when the drawing
// changes; the build uses the files as they are.
#include "camera.h"
#include "ico.h"
#include "png.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mkicon <output directory>\n";
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    std::vector<IconImage> images = {
        {DrawCamera(32, Palette::Vga16), 4},
        {DrawCamera(16, Palette::Rich), 8},
        {DrawCamera(32, Palette::Rich), 8},
    };
    std::vector<uint8_t> ico;
    std::string problem;
    if (!BuildIco(images, &ico, &problem)) {
        std::cerr << "mkicon: " << problem << "\n";
        return 1;
    }
    if (!Write(dir + "VK37Set.ico", ico) ||
        !Write(dir + "vk37set.png", BuildPng(DrawCamera(64, Palette::Rich, 4)))) {
        std::cerr << "mkicon: cannot write into " << dir << "\n";
        return 1;
    }
    return 0;
}
