// The Windows build compiles the resource script and manifest checked in under resources/, so
// that it needs no native tool; they must be exactly what the templates generate.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "resources/Resource.h"

namespace {

const char* const kRegenerate =
    "\nThe checked-in file differs from what the templates generate. Regenerate the files with\n"
    "  cmake --build build/default --target vuvereze-rcgen && "
    "build/default/tools/vuvereze-rcgen resources\n"
    "and commit every file it wrote.";

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(VZ_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CheckedInResources, EveryScriptAndManifestIsTheGeneratedOne) {
    for (const res::GeneratedFile& generated : res::GeneratedResourceFiles()) {
        const std::string file = ReadSource("resources/" + generated.name);
        ASSERT_FALSE(file.empty())
            << "resources/" << generated.name << " is missing" << kRegenerate;
        EXPECT_TRUE(file == generated.text) << "resources/" << generated.name << kRegenerate;
    }
}

uint32_t Little(const std::string& bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

// Windows picks the image nearest to what a screen asks for (16 to 64 px, 256 for large views
// and 2x screens); an image missing there is drawn scaled from another, blurred.
TEST(CheckedInResources, TheIconHoldsEveryWindowsSizeInFull) {
    const std::string ico = ReadSource("resources/Vuvereze.ico");
    ASSERT_GE(ico.size(), 6u)
        << "resources/Vuvereze.ico is missing: python3 resources/make-icon.py";
    EXPECT_EQ(Little(ico, 0, 2), 0u);
    EXPECT_EQ(Little(ico, 2, 2), 1u);  // an icon, not a cursor
    const uint32_t count = Little(ico, 4, 2);
    ASSERT_GE(ico.size(), 6 + 16 * count);
    std::set<uint32_t> sizes;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const uint32_t width = Little(ico, entry, 1) == 0 ? 256 : Little(ico, entry, 1);
        const uint32_t bytes = Little(ico, entry + 8, 4);
        const uint32_t offset = Little(ico, entry + 12, 4);
        EXPECT_EQ(Little(ico, entry + 1, 1), width % 256);
        EXPECT_EQ(Little(ico, entry + 6, 2), 32u) << "bits per pixel";
        ASSERT_LE(uint64_t{offset} + bytes, ico.size()) << "image " << i << " runs past the file";
        // The large image is a PNG, as Windows keeps it; the others are bitmaps of their size.
        if (width == 256) {
            EXPECT_EQ(ico.substr(offset, 8), "\x89PNG\r\n\x1a\n");
        } else {
            EXPECT_EQ(Little(ico, offset, 4), 40u) << width << " px: a BITMAPINFOHEADER";
            EXPECT_EQ(Little(ico, offset + 4, 4), width);
        }
        sizes.insert(width);
    }
    EXPECT_EQ(sizes, (std::set<uint32_t>{16, 24, 32, 48, 64, 256}));
}

uint32_t Big(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The Linux program's window and the desktop's menus take the icon at the sizes a desktop asks
// for, each drawn at its own size.
TEST(CheckedInResources, TheDesktopIconComesInEveryHicolorSize) {
    for (uint32_t size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string name = "resources/icons/vuvereze-" + std::to_string(size) + ".png";
        const std::string png = ReadSource(name);
        ASSERT_GE(png.size(), 33u) << name << " is missing: python3 resources/make-icon.py";
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
        EXPECT_EQ(png.substr(12, 4), "IHDR") << name;
        EXPECT_EQ(Big(png, 16), size) << name;
        EXPECT_EQ(Big(png, 20), size) << name;
    }
    EXPECT_NE(ReadSource("resources/icons/vuvereze.svg").find("viewBox=\"0 0 16 16\""),
              std::string::npos);
}

}  // namespace
