// The TIFF preview of written EPS files, read by libtiff's tools and decoded.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "clitool.h"

namespace {

using vg::test::Quote;
using vg::test::ReadWholeFile;
using vg::test::RunShell;
using vg::test::RunTool;
using vg::test::TempFolder;

uint32_t U32At(const std::string& d, std::size_t at) {
    return static_cast<uint8_t>(d[at]) | static_cast<uint8_t>(d[at + 1]) << 8 | static_cast<uint8_t>(d[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d[at + 3])) << 24;
}

bool HaveTools() {
    for (const char* t : {"tiffinfo", "tiffcp", "tiff2pdf", "gs", "ZXingReader", "zbarimg"})
        if (!vg::test::HaveTool(t)) return false;
    return true;
}

// Writes an EAN-13 as EPS and cuts the TIFF out of it by the header's fields.
struct Written {
    std::string eps;
    uint32_t psLength = 0, tiffStart = 0, tiffLength = 0;
    std::string tiff;
};

Written Make(const TempFolder& dir, const std::string& extra) {
    Written w;
    const std::string path = dir.File("s.eps");
    EXPECT_EQ(RunTool("make -v 26 -d 400638133393 " + extra + " -o " + Quote(path)).status, 0);
    w.eps = ReadWholeFile(path);
    if (w.eps.size() < 30) return w;
    w.psLength = U32At(w.eps, 8);
    w.tiffStart = U32At(w.eps, 20);
    w.tiffLength = U32At(w.eps, 24);
    if (w.tiffStart && w.tiffStart + static_cast<uint64_t>(w.tiffLength) <= w.eps.size())
        w.tiff = w.eps.substr(w.tiffStart, w.tiffLength);
    return w;
}

TEST(Preview, HeaderPointsAtATiffThatLibtiffReadsAndThatDecodes) {
    if (!HaveTools()) GTEST_SKIP() << "libtiff tools, Ghostscript or a decoder missing";
    TempFolder dir;
    const Written w = Make(dir, "--preview --set Magnification=200");
    ASSERT_FALSE(w.tiff.empty());
    EXPECT_EQ(w.tiffStart, 30 + w.psLength);
    EXPECT_EQ(w.tiffStart + w.tiffLength, w.eps.size());
    EXPECT_EQ(w.eps.substr(w.tiffStart - 7, 7), "%%EOF\r\n");

    const std::string tif = dir.File("p.tif");
    std::FILE* f = std::fopen(tif.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(w.tiff.data(), 1, w.tiff.size(), f);
    std::fclose(f);
    const auto info = RunShell("tiffinfo " + Quote(tif) + " 2>&1");
    EXPECT_EQ(info.status, 0) << info.out;
    EXPECT_NE(info.out.find("Bits/Sample: 4"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("palette color"), std::string::npos) << info.out;

    // tiffcp rewrites it; tiff2pdf and Ghostscript make it a PNG at one pixel per pixel.
    const std::string copy = dir.File("c.tif"), pdf = dir.File("c.pdf"), png = dir.File("c.png");
    ASSERT_EQ(RunShell("tiffcp " + Quote(tif) + " " + Quote(copy) + " 2>&1").status, 0);
    ASSERT_EQ(RunShell("tiff2pdf -o " + Quote(pdf) + " " + Quote(copy) + " 2>&1").status, 0);
    ASSERT_EQ(RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -r300 -sDEVICE=pnggray -sOutputFile=" + Quote(png) + " " +
                       Quote(pdf) + " 2>&1")
                  .status,
              0);
    EXPECT_NE(vg::test::ReadZxing(png, "").out.find("4006381333931"), std::string::npos);
    EXPECT_NE(vg::test::ReadZbar(png, "-q").out.find("EAN-13:4006381333931"), std::string::npos);
}

TEST(Preview, OffLeavesTheHeaderFieldsZeroAndEndsAtEof) {
    TempFolder dir;
    const Written w = Make(dir, "--no-preview");
    ASSERT_GT(w.eps.size(), 30u);
    EXPECT_EQ(w.tiffStart, 0u);
    EXPECT_EQ(w.tiffLength, 0u);
    EXPECT_EQ(w.psLength + 30, w.eps.size());
    EXPECT_EQ(w.eps.substr(w.eps.size() - 7), "%%EOF\r\n");
}

TEST(Preview, SpotColourSymbolTakesItsPaletteFromTheRgbFields) {
    if (!vg::test::HaveTool("tiffinfo")) GTEST_SKIP() << "tiffinfo missing";
    TempFolder dir;
    const Written w = Make(dir,
                           "--set ProcessRadio=0 --set SpotRadio=1 --set redBarsText=100 "
                           "--set greenBarsText=0 --set blueBarsText=0 --set redSpacesQuietZone=100 "
                           "--set greenSpacesQuietZone=100 --set blueSpacesQuietZone=50");
    ASSERT_FALSE(w.tiff.empty());
    const std::string tif = dir.File("p.tif");
    std::FILE* f = std::fopen(tif.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(w.tiff.data(), 1, w.tiff.size(), f);
    std::fclose(f);
    const auto info = RunShell("tiffinfo -c " + Quote(tif) + " 2>&1").out;
    // Entry 0 the bars, entry 1 the spaces (50 % gives 127, times 256).
    EXPECT_NE(info.find("   0: 65280     0     0"), std::string::npos) << info;
    EXPECT_NE(info.find("   1: 65280 65280 32512"), std::string::npos) << info;
}

}  // namespace

namespace {

// Every extra switched on: the EPS and its preview still scan, and the block's
// lines stand in the file, long ones broken to the page.
TEST(Preview, ExtrasLeaveBothTheEpsAndItsPreviewReadable) {
    if (!HaveTools()) GTEST_SKIP() << "libtiff tools, Ghostscript or a decoder missing";
    TempFolder dir;
    const Written w = Make(dir,
                           "--set Magnification=200 --set bCropMarks=1 --set Prufmark=1 "
                           "--set AdditionalText=Lot-42 --set AlignAT=1 --set V=-6 --set bPrinterDpi=1 "
                           "--set bSymbology=1 --set bComments=1 "
                           "--set 'Comments=a comment long enough to need a second line on this page'");
    ASSERT_FALSE(w.tiff.empty());
    EXPECT_NE(w.eps.find("(Printer dpi: 2400) show"), std::string::npos);
    EXPECT_NE(w.eps.find("(a comment "), std::string::npos);
    EXPECT_EQ(w.eps.find("on this page) show"), std::string::npos);  // broken, not one line

    const std::string eps = dir.File("s.eps"), png = dir.File("e.png");
    const auto gs = vg::test::RenderEps(eps, png, 300);
    EXPECT_EQ(gs.status, 0);
    EXPECT_EQ(gs.out, "");
    EXPECT_NE(vg::test::ReadZbar(png, "-q").out.find("EAN-13:4006381333931"), std::string::npos);

    const std::string tif = dir.File("p.tif"), pdf = dir.File("p.pdf"), ppng = dir.File("p.png");
    std::FILE* f = std::fopen(tif.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(w.tiff.data(), 1, w.tiff.size(), f);
    std::fclose(f);
    ASSERT_EQ(RunShell("tiff2pdf -o " + Quote(pdf) + " " + Quote(tif) + " 2>&1").status, 0);
    ASSERT_EQ(RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -r300 -sDEVICE=pnggray -sOutputFile=" + Quote(ppng) + " " +
                       Quote(pdf) + " 2>&1")
                  .status,
              0);
    EXPECT_NE(vg::test::ReadZxing(ppng, "").out.find("4006381333931"), std::string::npos);
}

}  // namespace
