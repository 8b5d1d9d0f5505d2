// Saved graphics whose stored settings were tampered with: every number comes
// back within its valid values, the tool says which it changed, and drawing,
// proving and saving them ends in time with a valid file.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "clitool.h"
#include "entry/symbolinput.h"
#include "model/settingstrailer.h"
#include "model/symbolsettings.h"
#include "output/batch.h"
#include "output/reopen.h"

namespace {

using vg::test::HaveTool;
using vg::test::Quote;
using vg::test::ReadWholeFile;
using vg::test::RunShell;
using vg::test::RunTool;
using vg::test::TempFolder;

// Bytes at an offset of the file's trailer.
struct Patch {
    std::size_t at;
    std::string bytes;
};

template <class T>
Patch At(std::size_t at, T value) {
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return {at, bytes};
}

void PatchTrailer(const std::string& path, const Patch& p) {
    std::string b = ReadWholeFile(path);
    ASSERT_GT(b.size(), vg::kSettingsTrailerSize);
    b.replace(b.size() - vg::kSettingsTrailerSize + p.at, p.bytes.size(), p.bytes);
    std::ofstream(path, std::ios::binary) << b;
}

struct Hostile {
    const char* make;
    const char* file;
    Patch patch;
    const char* changed;  // what the open says
    const char* shown;    // the field's line in the listing
};

const std::vector<Hostile>& Cases() {
    static const std::vector<Hostile> cases = {
        {"-v 26 -d 400638133393 --set Prufmark=1", "bearer.wmf", At(508, 1e9), "BearerBar 1000000000 -> 36",
         "BearerBar: 36.00000000000000000"},
        {"-v 11 -d VG602 --set Prufmark=2", "ratio.wmf", At(476, 1e12), "CurRatio 1000000000000 -> 4.2",
         "CurRatio: 4.20000000000000018"},
        {"-v 26 -d 400638133393", "magnification.emf", At(524, 1e-320), "Magnification 9.99989e-321 -> 33",
         "Magnification: 33.00000000000000000"},
        {"-v 26 -d 400638133393", "x.wmf", At(484, 1e200), "CurBarXDimension 1e+200 -> 11.52",
         "CurBarXDimension: 11.51999999999999957"},
        {"-v 26 -d 400638133393 --set Prufmark=1", "dpi.wmf", At(576, int32_t{0}), "PrinterDpi 0 -> 30",
         "PrinterDpi: 30"},
        {"-v 26 -d 400638133393", "rotation.emf", At(540, int32_t{INT_MIN}), "Rotation -2147483648 -> 0",
         "Rotation: 0"},
        {"-v 74 -d 425261 --set AdditionalText=Hi", "upce.emf", At(1100, 1.7e16), "V 1.7e+16 -> 864",
         "V: 864.00000000000000000"},
    };
    return cases;
}

// The case's file as the tool writes it, then its trailer patched; empty when not made.
std::string MadeAndPatched(const TempFolder& dir, const Hostile& c) {
    const std::string path = dir.File(c.file);
    if (RunTool(std::string("make ") + c.make + " -o " + Quote(path)).status != 0) return {};
    PatchTrailer(path, c.patch);
    return path;
}

TEST(Hostile, TrailerValuesAreClampedSaidAndDrawnInTime) {
    TempFolder dir;
    for (const Hostile& c : Cases()) {
        SCOPED_TRACE(c.file);
        const std::string path = MadeAndPatched(dir, c);
        ASSERT_FALSE(path.empty());
        const vg::test::ToolResult open = RunTool("open " + Quote(path));
        EXPECT_EQ(open.status, 0);
        EXPECT_EQ(open.err, "vglyph: " + path + ": out of range, brought into it: " + c.changed + "\n");
        EXPECT_NE(open.out.find(std::string("\n") + c.shown + "\n"), std::string::npos) << open.out;
        // Redrawn from the trailer and read back: it ends, as a verdict.
        const vg::test::ShellResult verify =
            RunShell("timeout 60 " + Quote(VGLYPH_EXE) + " verify " + Quote(path) + " 2>&1");
        EXPECT_TRUE(verify.status == 0 || verify.status == 3) << verify.status << verify.out;
        EXPECT_NE(verify.out.find(c.changed), std::string::npos) << verify.out;
    }
}

TEST(Hostile, SettingsBlockValuesAreClamped) {
    TempFolder dir;
    const std::string path = dir.File("a.eps");
    ASSERT_EQ(RunTool("make -v 26 -d 400638133393 -o " + Quote(path)).status, 0);
    std::string b = ReadWholeFile(path);
    // Same lengths, so that the DOS EPS header still fits.
    for (auto [was, is] : {std::pair{"%%_Magnification: 100.00\r", "%%_Magnification: 1e-320\r"},
                           std::pair{"%%_H: 0.000000\r", "%%_H: 9.99e+99\r"}}) {
        const std::size_t at = b.find(was);
        ASSERT_NE(at, std::string::npos) << was;
        b.replace(at, std::strlen(was), is);
    }
    std::ofstream(path, std::ios::binary) << b;
    const vg::test::ToolResult open = RunTool("open " + Quote(path));
    EXPECT_EQ(open.status, 0);
    EXPECT_EQ(open.err, "vglyph: " + path +
                            ": out of range, brought into it: Magnification 9.99989e-321 -> 33, H 9.99e+99 -> 864\n");
    EXPECT_NE(open.out.find("\nMagnification: 33.00\n"), std::string::npos) << open.out;
}

// Reopened and saved again, as the application's Save does: the EMF's frame
// is the drawing's, and an EMF reader takes it.
TEST(Hostile, ReopenedFileSavesAValidMetafile) {
    TempFolder dir;
    for (const Hostile& c : Cases()) {
        SCOPED_TRACE(c.file);
        const std::string path = MadeAndPatched(dir, c);
        ASSERT_FALSE(path.empty());
        ASSERT_TRUE(vg::OpenSavedGraphic(path));
        std::string reason;
        ASSERT_TRUE(vg::SetUpInputAgain(&reason)) << reason;
        vg::SymbolSettings.Format = 2;
        const std::string out = dir.File(std::string("saved-") + c.file + ".emf");
        vg::SaveChoice choice;
        choice.path = out;
        ASSERT_TRUE(vg::SaveSymbolFile(out, choice));
        const std::string emf = ReadWholeFile(out);
        ASSERT_GT(emf.size(), 88u);
        int32_t frame[4];
        std::memcpy(frame, emf.data() + 24, sizeof frame);
        EXPECT_EQ(frame[0], 0);
        EXPECT_EQ(frame[1], 0);
        EXPECT_GT(frame[2], 1000);
        EXPECT_GT(frame[3], 1000);
        EXPECT_LT(frame[2], 200 * 2540);
        EXPECT_LT(frame[3], 200 * 2540);
        if (HaveTool("emf2svg-conv")) {
            const vg::test::ShellResult svg =
                RunShell("emf2svg-conv -i " + Quote(out) + " -o " + Quote(out + ".svg") + " 2>&1");
            EXPECT_EQ(svg.status, 0) << svg.out;
        }
    }
}

}  // namespace
