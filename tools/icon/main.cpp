// mkicon: draws the application icon and writes into the directory given,
// normally res/: VK37Set.ico (32x32 16-colour, 16x16 and 32x32 256-colour;
// 24x24, 48x48 and 64x64 with alpha, for the small and large icons at 144
// and 192 DPI; 256x256 as PNG) and the desktop's icons,
// hicolor/NxN/apps/vk37set.png from 16 to 256 pixels. Run by hand when the
// drawing changes; the build uses the files as they are.
#include "camera.h"
#include "ico.h"
#include "png.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// Smooth edges come from averaging 4 x 4 samples per pixel into alpha.
constexpr int kSupersample = 4;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mkicon <output directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::vector<IconImage> images = {
        {DrawCamera(32, Palette::Vga16), 4},
        {DrawCamera(16, Palette::Rich), 8},
        {DrawCamera(32, Palette::Rich), 8},
        {DrawCamera(24, Palette::Rich, kSupersample), 32},
        {DrawCamera(48, Palette::Rich, kSupersample), 32},
        {DrawCamera(64, Palette::Rich, kSupersample), 32},
        {DrawCamera(256, Palette::Rich, kSupersample), 32, true},
    };
    std::vector<uint8_t> ico;
    std::string problem;
    if (!BuildIco(images, &ico, &problem)) {
        std::cerr << "mkicon: " << problem << "\n";
        return 1;
    }
    bool written = Write(dir / "VK37Set.ico", ico);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        written = written && Write(dir / "hicolor" / name / "apps" / "vk37set.png",
                                   BuildPng(DrawCamera(size, Palette::Rich, kSupersample)));
    }
    if (!written) {
        std::cerr << "mkicon: cannot write into " << dir << "\n";
        return 1;
    }
    return 0;
}
