#include "eps/epsoutput.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "epstestfiles.h"

namespace vg {
namespace {

using test::ReadBytes;
using test::ScratchDir;

TEST(FixedText, MatchesPrintfFormats) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {0, 6, "0.000000"},
        {35, 6, "35.000000"},
        {0.936, 6, "0.936000"},
        {-1.5, 6, "-1.500000"},
        {1.0, 4, "1.0000"},
        {0.99, 4, "0.9900"},
        {2.55, 4, "2.5500"},
        {87.654, 2, "87.65"},
        {123.45678914, 7, "123.4567891"},
        {0.0000004, 6, "0.000000"},
        {1e20, 2, "100000000000000000000.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(FixedText(c.value, c.decimals), c.text) << c.value;
}

TEST(FixedText, AgreesWithPrintfOnRounding) {
    for (double v : {0.125, 0.135, 2.675, 1.0005, 67.608, 69.448545, -0.0000005, 1234.5678949}) {
        for (int d : {2, 4, 6, 7}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%.*f", d, v);
            EXPECT_EQ(FixedText(v, d), expected) << v << " " << d;
        }
    }
}

TEST(FixedText, IgnoresCommaLocale) {
    test::ScopedCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
    EXPECT_EQ(FixedText(1.5, 6), "1.500000");
    EXPECT_EQ(FixedText(0.25, 4), "0.2500");
    EXPECT_EQ(IntText(-2400), "-2400");
}

TEST(EpsOutput, CountingWritesNothingAndCountsEverything) {
    ScratchDir dir;
    std::string path = dir.File("count.eps");
    EpsOutput out;
    ASSERT_TRUE(out.Open(path.c_str()));
    out.SetCounting(true);
    out.Put("abc");
    out.PutSpaced("12");
    out.PutLine("x");
    out.Put(std::string_view("\0", 1));
    EXPECT_EQ(out.BytesCounted(), 3u + 3u + 3u + 1u);
    out.SetCounting(false);
    out.Put("abc");
    out.PutSpaced("12");
    out.PutLine("x");
    out.Put(std::string_view("\0", 1));
    EXPECT_EQ(out.BytesCounted(), 10u) << "writing mode does not count";
    EXPECT_EQ(out.Position(), 10u);
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(ReadBytes(path), std::string("abc12 x\r\n\0", 10));
}

TEST(EpsOutput, PatchesInBufferAndOnDisk) {
    ScratchDir dir;
    std::string path = dir.File("patch.bin");
    EpsOutput out;
    ASSERT_TRUE(out.Open(path.c_str()));
    out.Put(std::string(16, '.'));
    EXPECT_TRUE(out.PatchU32(0, 0x04030201));
    ASSERT_TRUE(out.Flush());
    out.Put("tail");
    EXPECT_TRUE(out.PatchU32(8, 0xA1B2C3D4));
    EXPECT_FALSE(out.PatchU32(18, 1)) << "beyond what was written";
    out.Put("!");
    EXPECT_TRUE(out.Close());
    std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 21u);
    EXPECT_EQ(bytes.substr(0, 4), "\x01\x02\x03\x04");
    EXPECT_EQ(bytes.substr(8, 4), "\xD4\xC3\xB2\xA1");
    EXPECT_EQ(bytes.substr(16), "tail!") << "the patch returns to the end";
}

TEST(EpsOutput, ShortWriteClearsSuccess) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EpsOutput out;
    ASSERT_TRUE(out.Open("/dev/full"));
    EXPECT_TRUE(out.Ok());
    out.PutLine(std::string(1000, 'x'));
    EXPECT_FALSE(out.Close());
}

TEST(EpsOutput, OpenFailsForMissingFolder) {
    ScratchDir dir;
    EpsOutput out;
    EXPECT_FALSE(out.Open(dir.File("missing/x.eps").c_str()));
    EXPECT_FALSE(out.Ok());
    out.PutLine("ignored");
    EXPECT_FALSE(out.Close());
}

}  // namespace
}  // namespace vg
