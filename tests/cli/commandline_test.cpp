// The tool as a user meets it: variation names, field values, output formats.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "clitool.h"

namespace {

using vg::test::Quote;
using vg::test::RunTool;
using vg::test::TempFolder;
using vg::test::ToolResult;

constexpr const char* kEan = "make -v ean13 -d 400638133393 ";

struct CliCase {
    std::string args;  // "@" stands for a fresh folder
    int status;
    const char* err;     // part of standard error
    const char* out;     // part of standard output
    const char* file;    // the file in the folder that must exist afterwards; "" none at all
    const char* opened;  // lines "vglyph open" must print for that file, '\n'-separated
};

const CliCase kCases[] = {
    // Variations by code, name and folded name.
    {"pattern -v ean13 -d 400638133393", 0, "", "EncodedText: 4006381333931\n", "", ""},
    {"pattern -v upc-a -d 03600029145", 0, "", "EncodedText: 036000291452\n", "", ""},
    {"pattern -v 'UPC (A) General' -d 03600029145", 0, "", "EncodedText: 036000291452\n", "", ""},
    {"pattern -v 'isbn 978 ean13 attached' -d 030640615", 0, "", "EncodedText: 9780306406157\n", "", ""},
    {"pattern -v jan-1 -d 490123456789", 0, "", "EncodedText: 4901234567894\n", "", ""},
    {"pattern -v 72 -d 03600029145", 0, "", "EncodedText: 036000291452\n", "", ""},
    {"pattern -v ean -d 1", 2, "candidates:\n  26\tEAN-13\n  27\tEAN-8\n", "", "", ""},
    {"pattern -v 'postnet 5' -d 1", 2, "  51\tPOSTNET 5-Digit Lower-Right\n  52\tPOSTNET 5-Digit Wide-Area\n", "", "",
     ""},
    {"pattern -v nothing -d 1", 2, "unknown variation 'nothing'", "", "", ""},
    {"pattern -v 0 -d 1", 2, "unknown variation '0'", "", "", ""},

    {"fields", 0, "", "\nMagnification\tdecimal\tpercent\t33..1000; 80..200 for UPC/EAN", "", ""},
    {"fields", 0, "", "\nRotation\tinteger\tdegrees\t0, 90, 180 or 270\n", "", ""},
    {"fields", 0, "", "\nAddOnText\ttext\t-\tany text, at most 6 characters\n", "", ""},
    {"fields x", 2, "fields takes no arguments", "", "", ""},

    // Values outside their field.
    {std::string(kEan) + "--set Magnification=250 -o @/x.eps", 2,
     "bad value for Magnification: '250' is out of range; valid: 80..200 percent for EAN-13\n", "", "", ""},
    {std::string(kEan) + "--set Magnification=nan -o @/x.eps", 2, "'nan' is not a number; valid: 80..200", "", "", ""},
    {std::string(kEan) + "--set Magnification=-inf -o @/x.eps", 2, "'-inf' is not a number", "", "", ""},
    {std::string(kEan) + "--set Magnification=1e999 -o @/x.eps", 2, "'1e999' is not a number", "", "", ""},
    {"make -v 'code 39' -d 1 --set Magnification=900 -o @/x.eps", 2, "valid: 33..800 percent for Code 39 General", "",
     "", ""},
    {"make -v 'isbn' -d 1 --set Magnification=90 -o @/x.eps", 2, "ISBN General has no X-dimension", "", "", ""},
    {"make -v 'postnet 5-digit lower' -d 12345 --set CurBarXDimension=2 -o @/x.eps", 2, "valid: 1.44 points", "", "",
     ""},
    {"make -v 'postnet 5-digit lower' -d 12345 --set Magnification=200 -o @/x.eps", 0, "", "", "x.eps",
     "CurBarXDimension: 1.440000\nMagnification: 200.00"},
    {std::string(kEan) + "--set CurBarXDimension=0.5 -o @/x.eps", 2,
     "bad value for CurBarXDimension: '0.5' is out of range; valid: 0.748344..1.87086 points for EAN-13", "", "", ""},
    {std::string(kEan) + "--set CurBarXDimension=20 -o @/x.eps", 2, "valid: 0.748344..1.87086 points", "", "", ""},
    {std::string(kEan) + "--set AddOnText=1234567 -o @/x.eps", 2,
     "bad value for AddOnText: '1234567' is too long; valid: any text, at most 6 characters", "", "", ""},
    {std::string(kEan) + "--set Rotation=45 -o @/x.eps", 2, "valid: 0, 90, 180 or 270 degrees", "", "", ""},
    {std::string(kEan) + "--set CurRatio=4.3 -o @/x.eps", 2, "valid: 1.8..4.2 ratio", "", "", ""},
    {std::string(kEan) + "--set BarHeight=2.2 -o @/x.eps", 2, "valid: 2.25..864 points", "", "", ""},
    {std::string(kEan) + "--set Size=two -o @/x.eps", 2, "'two' is not an integer; valid: 2..200 points", "", "", ""},
    {std::string(kEan) + "--set CMYKblackBarsText=101 -o @/x.eps", 2, "valid: 0..100 percent", "", "", ""},
    {std::string(kEan) + "--set PrinterDpi=20001 -o @/x.eps", 2, "valid: 30..20000 dots per inch", "", "", ""},
    {std::string(kEan) + "--set BarWidthReduction=31 -o @/x.eps", 2,
     "valid: -30..30 whole dots for an X-dimension of 31 dots at 2400 dpi", "", "", ""},
    {std::string(kEan) + "--set BarWidthReduction=2.5 -o @/x.eps", 2, "'2.5' is not a whole number of dots", "", "",
     ""},
    {std::string(kEan) + "--set BarsTextColorName= -o @/x.eps", 2, "'' is empty", "", "", ""},
    {std::string(kEan) + "--set 'Company=a\nshowpage' -o @/x.eps", 2, "'a\\nshowpage' has a line break", "", "", ""},
    {std::string(kEan) + "--set Variation=27 -o @/x.eps", 2, "Variation: it follows from the chosen variation", "", "",
     ""},
    {std::string(kEan) + "--set Format=0 -o @/x.eps", 2, "Format: it follows from the output format", "", "", ""},
    {std::string(kEan) + "--set CheckCharacter1=5 -o @/x.eps", 2, "it is computed, not set", "", "", ""},

    // Magnification and X-dimension follow each other and snap to whole printer dots.
    {std::string(kEan) + "--set Magnification=150 -o @/m.eps", 0, "", "", "m.eps",
     "CurBarXDimension: 1.410000\nMagnification: 150.73"},
    {std::string(kEan) + "--set CurBarXDimension=1.2 -o @/x.eps", 0, "", "", "x.eps",
     "CurBarXDimension: 1.200000\nMagnification: 128.28"},
    {std::string(kEan) + "--set PrinterDpi=600 --set Magnification=120 -o @/x.eps", 0, "", "", "x.eps",
     "CurBarXDimension: 1.080000\nMagnification: 115.46\nBarWidthReduction: 2.0000000"},
    {std::string(kEan) + "--set LastMethod=1 --set CurBarXDimension=1.2 -o @/x.eps", 0, "", "", "x.eps",
     "CurBarXDimension: 1.200000\nMagnification: 128.28\nBarWidthReduction: 0.1350000"},

    // The format follows the name's extension unless -f is given.
    {std::string(kEan) + "-o @/x.EPS", 0, "", "", "x.EPS", "Format: 1"},
    {std::string(kEan) + "-o @/x.txt", 2,
     "cannot write '.txt' files (eps, wmf, emf, png, svg, pdf); -f chooses the format", "", "", ""},
    {std::string(kEan) + "-o @/x.wmf", 0, "", "", "x.wmf", "Format: 0"},
    {std::string(kEan) + "-o @/x.Emf", 0, "", "", "x.Emf", "Format: 2"},
};

std::string Substituted(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, Quote(folder));
    return text;
}

bool FolderIsEmpty(const std::string& folder) { return vg::test::RunShell("ls -A " + Quote(folder)).out.empty(); }

TEST(CommandLine, BehavesAsDocumented) {
    for (const CliCase& c : kCases) {
        SCOPED_TRACE(c.args);
        TempFolder dir;
        ToolResult r = RunTool(Substituted(c.args, dir.Path()));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        if (!*c.file) {
            EXPECT_TRUE(FolderIsEmpty(dir.Path()));
            continue;
        }
        const std::string file = dir.File(c.file);
        struct stat st {};
        ASSERT_EQ(stat(file.c_str(), &st), 0);
        ToolResult opened = RunTool("open " + Quote(file));
        ASSERT_EQ(opened.status, 0) << opened.err;
        for (const std::string& line : vg::test::Lines(c.opened))
            EXPECT_NE(opened.out.find("\n" + line + "\n"), std::string::npos) << line;
    }
}

}  // namespace
