#include "eps/tiffpreview.h"

#include <gtest/gtest.h>

#include "epstestfiles.h"

namespace vg {
namespace {

unsigned U16At(const std::string& d, std::size_t at) {
    return static_cast<uint8_t>(d[at]) | static_cast<uint8_t>(d[at + 1]) << 8;
}

TEST(PackTiff, OddWidthRowsEndInAPaperNibbleAndTheLayoutAddsUp) {
    // 3 x 2: row 0 ink, paper, ink; row 1 all paper.
    MonoBitmap b;
    b.width = 3;
    b.height = 2;
    b.stride = MonoStride(3);
    b.bits = {0x5F, 0xFF, 0xFF, 0xFF};
    const TiffPalette palette{{255, 0, 0}, {255, 255, 255}};
    long long length = 0;
    const std::string t = test::WrittenBytes([&](EpsOutput& out) { length = PackTiff(&out, b, palette); });
    const std::size_t image = 2 * 2;  // rows of ceil(3 / 2) bytes
    ASSERT_EQ(length, static_cast<long long>(image + 242));
    ASSERT_EQ(t.size(), image + 242);
    EXPECT_EQ(t.substr(0, 4), std::string("II\x2a\x00", 4));
    EXPECT_EQ(U16At(t, 4), 8 + image + 96);
    EXPECT_EQ(t.substr(8, 4), std::string("\x01\x01\x11\x11", 4));
    // Colour map: red, green, blue runs of 16; entry 0 bars, 1 spaces, the rest white.
    EXPECT_EQ(U16At(t, 8 + image), 65280u);
    EXPECT_EQ(U16At(t, 8 + image + 32), 0u);
    EXPECT_EQ(U16At(t, 8 + image + 34), 65280u);
    EXPECT_EQ(U16At(t, 8 + image + 4), 65535u);
    EXPECT_EQ(U16At(t, 8 + image + 96), 11u);
    // The last entry is the colour map: 48 SHORTs at 8 + b.
    const std::size_t last = 8 + image + 98 + 10 * 12;
    EXPECT_EQ(U16At(t, last), 320u);
    EXPECT_EQ(U16At(t, last + 4), 48u);
    EXPECT_EQ(U16At(t, last + 8), 8 + image);
}

TEST(PackTiff, RefusesWhatItCannotPack) {
    MonoBitmap eight;
    eight.width = eight.height = 2;
    eight.stride = 2;
    eight.bitsPerPixel = 8;
    eight.bits.assign(4, 0);
    MonoBitmap shortBits;
    shortBits.width = 16;
    shortBits.height = 4;
    shortBits.stride = 2;
    shortBits.bits.assign(3, 0);
    MonoBitmap good;
    good.width = good.height = 1;
    good.stride = 2;
    good.bits.assign(2, 0);
    const TiffPalette p{};
    test::WrittenBytes([&](EpsOutput& out) {
        EXPECT_EQ(PackTiff(&out, eight, p), -1);
        EXPECT_EQ(PackTiff(&out, shortBits, p), -1);
    });
    EXPECT_EQ(PackTiff(nullptr, good, p), -2);
    EpsOutput closed;
    EXPECT_EQ(PackTiff(&closed, good, p), -2);
}

}  // namespace
}  // namespace vg
