// Colour separations as a RIP makes them: Ghostscript's tiffsep device writes
// one file per plate, named after its colorant.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "clitool.h"
#include "dialogs/editcolourmodel.h"
#include "model/symbolsettings.h"
#include "output/generate.h"

namespace {

using vg::test::Quote;
using vg::test::RunShell;
using vg::test::RunTool;
using vg::test::TempFolder;
using vg::test::ToolResult;

// Plate name -> pixels carrying ink.
using Plates = std::map<std::string, long>;

// Pixels of a tiffsep plate that carry ink (anything but 0xff).
long InkedPixels(const std::string& tif) {
    std::istringstream dump(RunShell("tiffinfo -d " + Quote(tif) + " 2>/dev/null").out);
    long inked = 0;
    bool data = false;
    for (std::string line; std::getline(dump, line);) {
        if (line.rfind("Strip ", 0) == 0) {
            data = true;
            continue;
        }
        if (!data) continue;
        std::istringstream bytes(line);
        for (std::string b; bytes >> b;) inked += b != "ff";
    }
    return inked;
}

// Renders the EPS file into plates; gsOut holds what Ghostscript said.
Plates Separate(const std::string& eps, const std::string& folder, std::string& gsOut) {
    gsOut = RunShell(
                "gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r72 -sDEVICE=tiffsep -sCompression=none "
                "-sOutputFile=" +
                Quote(folder + "/sep.tif") + " " + Quote(eps) + " 2>&1")
                .out;
    Plates plates;
    std::istringstream names(RunShell("cd " + Quote(folder) + " && ls -1 'sep('*").out);
    for (std::string file; std::getline(names, file);) {
        const std::string name = file.substr(4, file.size() - 4 - 5);  // sep( ... ).tif
        plates[name] = InkedPixels(folder + "/" + file);
    }
    return plates;
}

TEST(Separation, FactoryInkIsOnTheBlackPlate) {
    VG_REQUIRE_TOOLS("gs", "tiffinfo");
    TempFolder dir;
    const std::string eps = dir.File("factory.eps");
    ToolResult made = RunTool("make -v ean13 -d 400638133393 -a 12 -o " + Quote(eps));
    ASSERT_EQ(made.status, 0) << made.err;
    std::string gs;
    const Plates plates = Separate(eps, dir.Path(), gs);
    EXPECT_EQ(gs, "");
    ASSERT_EQ(plates.size(), 4u) << "a spot plate besides the process plates";
    EXPECT_GT(plates.at("Black"), 1000);
    EXPECT_EQ(plates.at("Cyan"), 0);
    EXPECT_EQ(plates.at("Magenta"), 0);
    EXPECT_EQ(plates.at("Yellow"), 0);
}

TEST(Separation, ColourNamesThatNeedEscapesNameTheirPlates) {
    VG_REQUIRE_TOOLS("gs", "tiffinfo");
    TempFolder dir;
    const std::string eps = dir.File("spot.eps");
    ToolResult made = RunTool(
        "make -v ean13 -d 400638133393 --set 'BarsTextColorName=Pan)tone' "
        "--set 'SpacesQuietZoneColorName=Pa\\per (' --set TransparentBackground=0 "
        "--set CMYKyellowSpacesQuietZone=10 -o " +
        Quote(eps));
    ASSERT_EQ(made.status, 0) << made.err;
    std::string gs;
    const Plates plates = Separate(eps, dir.Path(), gs);
    EXPECT_EQ(gs, "");
    ASSERT_EQ(plates.count("Pan)tone"), 1u);
    EXPECT_GT(plates.at("Pan)tone"), 1000);
    EXPECT_EQ(plates.at("Black"), 0);
    EXPECT_EQ(plates.size(), 6u);  // the process plates and the two spot colours

    // The settings keep the names as they were given.
    ToolResult opened = RunTool("open " + Quote(eps));
    ASSERT_EQ(opened.status, 0) << opened.err;
    EXPECT_NE(opened.out.find("\nBarsTextColorName: Pan)tone\n"), std::string::npos);
    EXPECT_NE(opened.out.find("\nSpacesQuietZoneColorName: Pa\\per (\n"), std::string::npos);
}

}  // namespace

namespace vg {
namespace {

// Writes the current symbol as EPS after the colour dialog's choices.
std::string WriteChosenColours(const std::string& path, const std::function<void(EditColourModel&)>& choose) {
    GenerationRequest request;
    request.variation = "ean13";
    request.data.main = "400638133393";
    request.path = path;
    request.withPreview = false;
    if (PrepareSymbol(request).status != GenerationStatus::Written) return {};
    EditColourModel dialog(SymbolSettings);
    choose(dialog);
    if (dialog.Ok()) return {};
    if (WriteCurrentSymbol(request).status != GenerationStatus::Written) return {};
    return test::ReadWholeFile(path);
}

TEST(Separation, ProcessColourFromTheDialogGoesOnTheProcessPlates) {
    VG_REQUIRE_TOOLS("gs", "tiffinfo");
    TempFolder dir;
    const std::string eps = dir.File("process.eps");
    const std::string text = WriteChosenColours(eps, [](EditColourModel& m) {
        m.ChooseType(false);
        m.ChooseModel(true);
        for (int row = 0; row < 4; ++row) m.TypeValue(row, row == 0 ? "100" : row == 1 ? "80" : "0");
    });
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("1.0000 0.8000 0.0000 0.0000 setcmykcolor"), std::string::npos);
    EXPECT_EQ(text.find("%%DocumentCustomColors"), std::string::npos);
    EXPECT_EQ(SymbolSettings.Hueproof, 1);
    std::string gs;
    const Plates plates = Separate(eps, dir.Path(), gs);
    EXPECT_EQ(gs, "");
    ASSERT_EQ(plates.size(), 4u);
    EXPECT_GT(plates.at("Cyan"), 1000);
    EXPECT_EQ(plates.at("Cyan"), plates.at("Magenta"));
    EXPECT_EQ(plates.at("Yellow"), 0);
    EXPECT_EQ(plates.at("Black"), 0);
}

TEST(Separation, SpotColourWithItsNameAndOverprint) {
    VG_REQUIRE_TOOLS("gs", "tiffinfo");
    TempFolder dir;
    std::map<bool, long> paperInk;
    for (const bool overprint : {false, true}) {
        const std::string eps = dir.File(overprint ? "overprint.eps" : "knockout.eps");
        const std::string text = WriteChosenColours(eps, [overprint](EditColourModel& m) {
            m.SetTransparent(false);
            m.SetOverprint(overprint);
            m.SetName(true, "Vornel Green 354");
            m.TypeValue(0, "80");
            m.TypeValue(2, "90");
            m.TypeValue(3, "0");
            m.ChooseColour(false);
            m.SetName(false, "Paper");
            m.TypeValue(1, "5");
            m.ChooseType(true);
        });
        ASSERT_FALSE(text.empty());
        for (const char* line :
             {"%%DocumentCustomColors: (Vornel Green 354)\r\n%%+ (Paper)\r\n",
              "%%CMYKCustomColor: 0.8000 0.0000 0.9000 0.0000 (Vornel Green 354)\r\n%%+ 0.0000 0.0500 0.0000 0.0000 "
              "(Paper)\r\n",
              "0.8000 0.0000 0.9000 0.0000 (Vornel Green 354) custar astore 1 dup /custsh X setcustomcolor"})
            EXPECT_NE(text.find(line), std::string::npos) << line;
        EXPECT_NE(text.find(overprint ? "\ntrue stovp" : "\nfalse stovp"), std::string::npos);
        EXPECT_EQ(SymbolSettings.Hueproof, 3);  // 80 cyan against none

        std::string gs;
        TempFolder plateDir;
        const Plates plates = Separate(eps, plateDir.Path(), gs);
        EXPECT_EQ(gs, "");
        ASSERT_EQ(plates.size(), 6u);
        EXPECT_GT(plates.at("Vornel Green 354"), 1000);
        for (const char* process : {"Cyan", "Magenta", "Yellow", "Black"}) EXPECT_EQ(plates.at(process), 0) << process;
        paperInk[overprint] = plates.at("Paper");
    }
    // Overprinted bars leave the paper colour under them.
    EXPECT_GT(paperInk[true], paperInk[false]);
}

}  // namespace
}  // namespace vg
