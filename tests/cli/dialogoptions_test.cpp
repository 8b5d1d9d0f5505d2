// make's dimension and text options: the same record as the dialogs' models,
// the dialogs' refusals, and files that keep the printer's grid and still scan.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <map>
#include <regex>
#include <set>

#include "clitool.h"
#include "device/fontlist.h"
#include "dialogs/additionaltextmodel.h"
#include "dialogs/edittextmodel.h"
#include "dialogs/symboloptionsmodel.h"
#include "entry/symbolinput.h"
#include "model/settingsfields.h"
#include "model/settingstrailer.h"
#include "model/symbolsettings.h"
#include "raster.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::Lines;
using test::Quote;
using test::RunTool;
using test::TempFolder;

std::map<std::string, std::string> Fields(const std::string& openOutput) {
    std::map<std::string, std::string> fields;
    for (const std::string& line : Lines(openOutput)) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos) fields[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return fields;
}

// The record's field as open prints a metafile's trailer.
std::string FieldNow(const char* name) {
    for (const SettingsField* f : SettingsTrailerFields())
        if (std::string(f->name) == name) return FieldValueText(SymbolSettings, *f, 17);
    return "?";
}

TEST(DialogOptions, SameRecordAsTheModels) {
    struct Case {
        const char* name;
        const char* variation;
        const char* data;
        const char* options;
        std::function<void()> dialogs;  // what a user does in the dialogs
        std::vector<const char*> fields;
    } cases[] = {
        {"printer grid at 600 dpi",
         "72",
         "03600029145",
         "--printer-dpi 600 --magnification 120 --verification gs",
         [] {
             SymbolOptionsModel m(SymbolSettings, BarPattern);
             m.TypeDpi("600");
             m.ChooseXRow(2);  // 9 dots, the row nearest 120 %
             m.ChooseVerification(3);
             ASSERT_FALSE(m.Ok());
         },
         {"PrinterDpi", "LastMethod", "CurBarXDimension", "Magnification", "SymbolWidth", "BarWidthReduction",
          "Prufmark", "GSCalibration"}},
        {"custom Code 39",
         "11",
         "ABC123",
         "--method custom --x-dim 0.33mm --bwr 1mil --bar-height 0.5in",
         [] {
             SymbolOptionsModel m(SymbolSettings, BarPattern);
             ASSERT_FALSE(m.ChooseMethod(1));
             m.TypeX(Printf("%.15f", 0.33 / kMillimetresPerInch));
             m.TypeBwr("0.001");
             m.TypeBarHeight("0.5");
             ASSERT_FALSE(m.Ok());
         },
         {"LastMethod", "CurBarXDimension", "Magnification", "CurRatio", "BarWidthReduction", "BarHeight",
          "SymbolWidth"}},
        {"text and additional text",
         "72",
         "03600029145",
         "--size 12 --bold --text-above --distance 2pt --additional-text 'LOT 7' --at-size 10 --at-h 0.25in "
         "--at-v -0.2in --at-rotation 90",
         [] {
             EditTextModel t(SymbolSettings, InstalledFontFamilies());
             ASSERT_FALSE(t.TypeSize("12"));
             t.SetCheck(etd::kBold, true);
             t.SetCheck(etd::kTextAbove, true);
             t.TypeDistance(Printf("%.15f", 2.0 / 72));
             ASSERT_FALSE(t.Ok());
             std::string reason;
             ASSERT_TRUE(SetUpInputAgain(&reason)) << reason;
             AdditionalTextModel a(SymbolSettings, InstalledFontFamilies());
             a.TypeText("LOT 7");
             ASSERT_FALSE(a.TypeSize("10"));
             a.TypeH("0.25");
             a.TypeV("-0.2");
             a.Rotate();
             ASSERT_FALSE(a.Ok());
         },
         {"Size", "Bold", "TextAbove", "DistanceToBars", "AdditionalText", "SizeAT", "H", "V", "AlignAT",
          "Rotation4AdditionalText"}},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string wmf = dir.File("same.wmf");
        const test::ToolResult made = RunTool(std::string("make -v ") + c.variation + " -d " + c.data + " " +
                                              c.options + " -f wmf -o " + Quote(wmf));
        ASSERT_EQ(made.status, 0) << made.err;
        const test::ToolResult opened = RunTool("open " + Quote(wmf));
        ASSERT_EQ(opened.status, 0) << opened.err;
        const std::map<std::string, std::string> fromTool = Fields(opened.out);

        std::string reason;
        const VariationInfo* v = LookUpVariation(c.variation, &reason);
        ASSERT_TRUE(v) << reason;
        ChooseVariation(*v);
        SymbolSettings.Format = 0;
        DataTexts data;
        data.main = c.data;
        ASSERT_TRUE(FeedData(data, &reason)) << reason;
        c.dialogs();
        for (const char* field : c.fields) {
            ASSERT_TRUE(fromTool.count(field)) << field;
            const std::string mine = FieldNow(field);
            const double a = std::atof(mine.c_str()), b = std::atof(fromTool.at(field).c_str());
            // The tool types lengths as the edits hold them: ten characters.
            if (mine == fromTool.at(field) || (a != 0 && std::fabs(a - b) < 1e-6 * std::fabs(a))) continue;
            ADD_FAILURE() << field << ": dialogs " << mine << ", vglyph " << fromTool.at(field);
        }
    }
}

// A stored X or ratio past the end of the dialog's lists keeps the last, nearest
// entry: 189.6 dots at 2400 dpi against a list ending at 180 dots (750 %); ratio
// lists ending at 100/24 (24 dots) and 4.0 (3 dots at 300 dpi).
TEST(DialogOptions, ValuesPastTheListsKeepTheLastEntry) {
    const std::string past = "--set LastMethod=1 --set CurBarXDimension=5.688 --method printer";
    for (auto [options, field, stored] : {std::tuple{past, "CurBarXDimension", 5.4},
                                          {past, "Magnification", 750.0},
                                          {"--set CurRatio=4.2 --bwr 4", "CurRatio", 100.0 / 24},
                                          {"--set CurRatio=4.2 --printer-dpi 300", "CurRatio", 4.0}}) {
        TempFolder dir;
        ASSERT_EQ(RunTool("make -v 11 -d 123 --no-preview " + options + " -o " + Quote(dir.File("x.eps"))).status, 0);
        EXPECT_NEAR(std::atof(Fields(RunTool("open " + Quote(dir.File("x.eps"))).out)[field].c_str()), stored, 1e-6)
            << options << " " << field;
    }
}

TEST(DialogOptions, RefusalsCarryTheDialogsMessages) {
    struct Case {
        std::string args;
        const char* message;
    } cases[] = {
        {"-v 72 -d 03600029145 --printer-dpi 25", "打印机分辨率 (dpi): 超出范围:  30 . . 20000"},
        {"-v 72 -d 03600029145 --bwr 123456", "Bar Width Reduction: You cannot enter more than 5 characters"},
        {"-v 72 -d 03600029145 --printer-dpi 600 --x-dim 0.96pt --bwr 8", "Bar Width Reduction: 超出范围:  -7 . . 7"},
        {"-v 11 -d ABC --method custom --magnification 30", "缩放: 超出范围:  33 . . 1000"},
        {"-v 72 -d 03600029145 --method custom --magnification 201", "缩放: 超出范围:  80 . . 200"},
        {"-v 11 -d ABC --method custom --ratio 4.5", "W/N Ratio: 超出范围:  1.80 . . 4.20"},
        {"-v 72 -d 03600029145 --bar-height 13in", "条码高度: 超出范围:  0.031250 . . 12.000000"},
        {"-v 72 -d 03600029145 --bearer 0.6in", "Bearer Bar: 超出范围:  0 . . 0.500000"},
        {"-v 72 -d 03600029145 --verification gs --gs-calibration 99", "Please enter an integer between 10 and 93."},
        {"-v 72 -d 03600029145 --size 1", "文件大小: 超出范围:  2 . . 200"},
        // Whole values, never cut to the edit's width or snapped to an end.
        {"-v 72 -d 03600029145 --size 1999", "文件大小: 超出范围:  2 . . 200"},
        {"-v 72 -d 03600029145 --additional-text X --at-size 2000", "超出范围:  2 . . 200"},
        {"-v 72 -d 03600029145 --symbol-width 865pt", "Symbol Width: 超出范围:  71.250000 . . 176.700000 "},
        {"-v 72 -d 03600029145 --symbol-width 0", "Symbol Width: 超出范围:  0.98"},
        {"-v 72 -d 03600029145 --method custom --symbol-width 99999999999", "Symbol Width: 超出范围:  0.98"},
        {"-v 72 -d 03600029145 --printer-dpi 30", "no X-dimension of UPC (A) General is whole dots at 30 dpi"},
        {"-v 72 -d 03600029145 --additional-text " + std::string(255, 'A'), "255 characters; at most 254"},
        {"-v 72 -d 03600029145 --distance -7pt", "Distance to Bars: 超出范围:  -6.000000 . . 32.000000 "},
        {"-v 38 -d 0317847 --issn-digits 1", "ISSN Extra Digits: Please enter two extra digits for ISSN."},
        {"-v 72 -d 03600029145 --additional-text X --at-v 13in", "V: 超出范围:  -12.000000 . . 12.000000"},
        {"-v 72 -d 03600029145 --x-dim 2furlongs", "no length"},
        {"-v 72 -d 03600029145 --x-dim 1mm --magnification 100", "give one of"},
        {"-v 72 -d 03600029145 --font 'No Such Face'", "is not installed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const test::ToolResult r = RunTool("info " + c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

// 600 dpi and a magnification: every bar is whole printer dots, its modules'
// dots minus the reduction, in the EPS body's numbers and in Ghostscript's
// 600-dpi rendering. (EAN/UPC digits add their 1/13-module corrections to
// this, so a Code 39 symbol shows the grid alone.)
TEST(DialogOptions, BarsAreWholePrinterDots) {
    VG_REQUIRE_TOOLS("gs");
    TempFolder dir;
    const std::string eps = dir.File("grid.eps"), pgm = dir.File("grid.pgm");
    const std::string symbol = "-v 11 -d CODE39 --printer-dpi 600 --magnification 150";
    const test::ToolResult made = RunTool("make " + symbol + " --no-preview -o " + Quote(eps));
    ASSERT_EQ(made.status, 0) << made.err;
    const test::ToolResult info = RunTool("info " + symbol);
    EXPECT_NE(info.out.find("BarWidthReduction: 2 dots"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("XDimension: 0.015000"), std::string::npos) << info.out;  // 9 dots
    const std::string body = test::ReadWholeFile(eps);

    const double dot = 72.0 / 600;
    std::smatch scale;
    ASSERT_TRUE(std::regex_search(body, scale, std::regex("[\r\n]([0-9.]+) \\1 scale[\r\n]")));
    const double magnification = std::stod(scale[1]);
    std::set<int> widths;
    const std::regex bar("/B([1-4]) \\{/bw ([0-9.]+) def");
    for (auto it = std::sregex_iterator(body.begin(), body.end(), bar); it != std::sregex_iterator(); ++it) {
        const double dots = std::stod((*it)[2]) * magnification / dot;
        EXPECT_NEAR(dots, std::round(dots), 2e-3) << "B" << (*it)[1];
        if ((*it)[1] == "1") {
            EXPECT_NEAR(dots, 9 - 2, 2e-3);
        }
        widths.insert(static_cast<int>(std::lround(dots)));
    }
    ASSERT_GE(widths.size(), 2u);

    const test::ShellResult gs = test::RunShell(
        "gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r600 -sDEVICE=pgmraw "
        "-sOutputFile=" +
        Quote(pgm) + " " + Quote(eps) + " 2>&1");
    ASSERT_EQ(gs.status, 0) << gs.out;
    const test::Raster r = test::ReadPgm(pgm);
    ASSERT_GT(r.height, 0);
    const std::vector<test::DarkRun> runs = test::DarkRuns(r, r.height / 4);
    EXPECT_EQ(runs.size(), 8u * 5);  // five bars a character, start and stop included
    for (const test::DarkRun& run : runs) EXPECT_TRUE(widths.count(run.width)) << "run of " << run.width << " dots";
}

// Additional text at every alignment, bold or italic, and turned every
// quarter: the symbol still reads.
TEST(DialogOptions, AdditionalTextKeepsTheSymbolReadable) {
    VG_REQUIRE_TOOLS("gs", "ZXingReader");
    const char* cases[] = {
        "--at-align left --at-bold",
        "--at-align centre --at-italic",
        "--at-align right --at-bold --at-italic",
        "--at-align spread",
        "--at-align off --at-h 0.2in --at-v 0.1in --at-rotation 90 --at-bold",
        "--at-rotation 180 --at-italic",
        "--at-rotation 270",
    };
    TempFolder dir;
    int index = 0;
    for (const char* options : cases) {
        SCOPED_TRACE(options);
        const std::string base = dir.File("at" + std::to_string(index++));
        const test::ToolResult made = RunTool("make -v 72 -d 03600029145 --additional-text 'LOT 2024-07 A' " +
                                              std::string(options) + " --no-preview -o " + Quote(base + ".eps"));
        ASSERT_EQ(made.status, 0) << made.err;
        const test::ShellResult gs = test::RenderEps(base + ".eps", base + ".png", 300);
        ASSERT_EQ(gs.status, 0) << gs.out;
        const test::ShellResult zx = test::ReadZxing(base + ".png", "-1");
        EXPECT_NE(zx.out.find("\"036000291452\""), std::string::npos) << zx.out;
    }
}

}  // namespace
}  // namespace vg
