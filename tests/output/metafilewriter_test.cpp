#include "output/metafilewriter.h"

#include <gtest/gtest.h>

namespace vg {
namespace {

TEST(PlaceableHeader, KeyBoxUnitsAndChecksum) {
    struct Case {
        SymbolExtent extent;
        uint16_t checksum;
    };
    const Case cases[] = {
        {{0, 0, 1000, 500}, static_cast<uint16_t>(1000 ^ 500 ^ 0x54F9)},
        {{0, 0, 0, 0}, 0x54F9},
        {{-3, 7, 40000, 1883}, static_cast<uint16_t>(0xFFFD ^ 7 ^ 0x7FFF ^ 1883 ^ 0x54F9)},  // clamped to int16
    };
    for (const Case& c : cases) {
        const std::array<uint8_t, 22> h = PlaceableHeader(c.extent);
        const uint8_t key[] = {0xD7, 0xCD, 0xC6, 0x9A};
        EXPECT_TRUE(std::equal(key, key + 4, h.begin()));
        EXPECT_EQ(h[14] | h[15] << 8, 1000);
        EXPECT_EQ(h[20] | h[21] << 8, c.checksum) << c.extent.right;
        EXPECT_EQ(static_cast<int16_t>(h[10] | h[11] << 8), std::min(c.extent.right, 32767));
    }
}

}  // namespace
}  // namespace vg
