#include "eps/settingsreader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

#include "eps/epswriter.h"
#include "eps/settingsblock.h"
#include "epstestfiles.h"
#include "geometry/settingsdefaults.h"
#include "geometry/variationdefaults.h"
#include "model/settingsfields.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

// Every field of the settings block at a value of its own, all in range.
void Distinctive(SettingsRecord& s) {
    s.Family = 16;
    s.Variation = 73;
    s.VariationName = "My UPC preset";
    s.Derived = 1;
    SetText(s.OriginalMainText, "03600029145");
    SetText(s.AddOnText, "12345");
    SetText(s.FACTdataIDtext, "25S");
    SetText(s.CouponFormatUPCpartText, "512345");
    SetText(s.CouponFormat128partText, "(8101)012345");
    s.Format = 2;
    s.UnitOfMeasure = 3;
    s.FileName = 2;
    s.ElephantSound = 0;
    s.Prufmark = 2;
    s.GSCalibration = 47;
    s.LastMethod = 1;
    s.PrinterDpi = 1270;
    s.CurRatio = 2.75;
    s.CurBarXDimension = 0.8125;
    s.SymbolWidth = 123.4567891;
    s.BarHeight = 54.3210987;
    s.BearerBar = 3.25;
    s.BarWidthReduction = 0.1350001;
    s.Magnification = 87.65;
    s.Size = 11;
    s.Align = 2;
    s.StartCharacter = 3;
    s.StopCharacter = 2;
    s.Bold = 1;
    s.Italic = 0;
    s.Hidden = 1;
    s.ShowFactDataID = 0;
    s.ShowAsterisks = 1;
    s.HideCheckDigits = 0;
    s.HideParentheses = 1;
    s.IgnoreHyphens = 0;
    s.IgnoreSpaces = 1;
    s.TextAbove = 0;
    s.ShowStartStop = 1;
    s.CenterSysChk = 0;
    s.HideAddonText = 1;
    s.AddonTextDown = 0;
    s.QuietZoneIndicators = 1;
    s.DistanceToBars = -2.5;
    s.FontName4humanreadable = "Times New Roman";
    s.FontName4ISBN_ISSN_SPCNs = "OCRA Vornel Glyph";
    s.ISSNExtraDigits = "07";
    s.AdditionalText = "Lot (A) 5\\7";
    s.UseHumanReadablesAsText = 1;
    s.FontName4AdditionalText = "Courier New";
    s.SizeAT = 17;
    s.AlignAT = 3;
    s.BoldAT = 0;
    s.ItalicAT = 1;
    s.Rotation4AdditionalText = 180;
    s.H = 12.5;
    s.V = -7.25;
    s.BarsTextColorName = "PANTONE 286 C";
    s.SpacesQuietZoneColorName = "Paper";
    s.Hueproof = 2;
    s.redSpacesQuietZone = 91;
    s.greenSpacesQuietZone = 92;
    s.blueSpacesQuietZone = 93;
    s.blackSpacesQuietZone = 4;
    s.redBarsText = 11;
    s.greenBarsText = 12;
    s.blueBarsText = 13;
    s.blackBarsText = 94;
    s.CMYKcyanSpacesQuietZone = 21;
    s.CMYKmagentaSpacesQuietZone = 22;
    s.CMYKyellowSpacesQuietZone = 23;
    s.CMYKblackSpacesQuietZone = 24;
    s.CMYKcyanBarsText = 31;
    s.CMYKmagentaBarsText = 32;
    s.CMYKyellowBarsText = 33;
    s.CMYKblackBarsText = 34;
    s.BarsTextRadio = 0;
    s.SpacesQuietZoneRadio = 1;
    s.SpotRadio = 0;
    s.ProcessRadio = 1;
    s.RGB_Radio = 1;
    s.CMYK_Radio = 0;
    s.Overprint = 1;
    s.TransparentBackground = 0;
    s.Rotation = 270;
    s.bBarWidthReduction = 1;
    s.bCropMarks = 0;
    s.bEncodedData = 1;
    s.bSymbology = 0;
    s.bWideNarrowRatio = 1;
    s.bBarHeight = 0;
    s.bMagnification = 1;
    s.bXDimension = 0;
    s.bNBW = 1;
    s.bPrinterDpi = 0;
    s.bFilm = 1;
    s.bCompany = 0;
    s.bClient = 1;
    s.bJob = 0;
    s.bDate = 1;
    s.bComments = 0;
    s.Film = 2;
    s.Company = "Acme Labels";
    s.Client = "Client & Co";
    s.Job = "J-1234";
    s.Date = "2026-12-09";
    s.Comments = "Second proof: 100% black";
}

void ExpectBlockFieldsEqual(const SettingsRecord& a, const SettingsRecord& b) {
#define VG_SAME(f) EXPECT_EQ(a.f, b.f) << #f
#define VG_SAME_TEXT(f) EXPECT_EQ(TextOf(a.f), TextOf(b.f)) << #f
    VG_SAME(Family);
    VG_SAME(Variation);
    VG_SAME(VariationName);
    VG_SAME(Derived);
    VG_SAME_TEXT(OriginalMainText);
    VG_SAME_TEXT(AddOnText);
    VG_SAME_TEXT(FACTdataIDtext);
    VG_SAME_TEXT(CouponFormatUPCpartText);
    VG_SAME_TEXT(CouponFormat128partText);
    VG_SAME(Format);
    VG_SAME(UnitOfMeasure);
    VG_SAME(FileName);
    VG_SAME(ElephantSound);
    VG_SAME(Prufmark);
    VG_SAME(GSCalibration);
    VG_SAME(LastMethod);
    VG_SAME(PrinterDpi);
    VG_SAME(CurRatio);
    VG_SAME(CurBarXDimension);
    VG_SAME(SymbolWidth);
    VG_SAME(BarHeight);
    VG_SAME(BearerBar);
    VG_SAME(BarWidthReduction);
    VG_SAME(Magnification);
    VG_SAME(Size);
    VG_SAME(Align);
    VG_SAME(StartCharacter);
    VG_SAME(StopCharacter);
    VG_SAME(Bold);
    VG_SAME(Italic);
    VG_SAME(Hidden);
    VG_SAME(ShowFactDataID);
    VG_SAME(ShowAsterisks);
    VG_SAME(HideCheckDigits);
    VG_SAME(HideParentheses);
    VG_SAME(IgnoreHyphens);
    VG_SAME(IgnoreSpaces);
    VG_SAME(TextAbove);
    VG_SAME(ShowStartStop);
    VG_SAME(CenterSysChk);
    VG_SAME(HideAddonText);
    VG_SAME(AddonTextDown);
    VG_SAME(QuietZoneIndicators);
    VG_SAME(DistanceToBars);
    VG_SAME(FontName4humanreadable);
    VG_SAME(FontName4ISBN_ISSN_SPCNs);
    VG_SAME(ISSNExtraDigits);
    VG_SAME(AdditionalText);
    VG_SAME(UseHumanReadablesAsText);
    VG_SAME(FontName4AdditionalText);
    VG_SAME(SizeAT);
    VG_SAME(AlignAT);
    VG_SAME(BoldAT);
    VG_SAME(ItalicAT);
    VG_SAME(Rotation4AdditionalText);
    VG_SAME(H);
    VG_SAME(V);
    VG_SAME(BarsTextColorName);
    VG_SAME(SpacesQuietZoneColorName);
    VG_SAME(Hueproof);
    VG_SAME(redSpacesQuietZone);
    VG_SAME(greenSpacesQuietZone);
    VG_SAME(blueSpacesQuietZone);
    VG_SAME(blackSpacesQuietZone);
    VG_SAME(redBarsText);
    VG_SAME(greenBarsText);
    VG_SAME(blueBarsText);
    VG_SAME(blackBarsText);
    VG_SAME(CMYKcyanSpacesQuietZone);
    VG_SAME(CMYKmagentaSpacesQuietZone);
    VG_SAME(CMYKyellowSpacesQuietZone);
    VG_SAME(CMYKblackSpacesQuietZone);
    VG_SAME(CMYKcyanBarsText);
    VG_SAME(CMYKmagentaBarsText);
    VG_SAME(CMYKyellowBarsText);
    VG_SAME(CMYKblackBarsText);
    VG_SAME(BarsTextRadio);
    VG_SAME(SpacesQuietZoneRadio);
    VG_SAME(SpotRadio);
    VG_SAME(ProcessRadio);
    VG_SAME(RGB_Radio);
    VG_SAME(CMYK_Radio);
    VG_SAME(Overprint);
    VG_SAME(TransparentBackground);
    VG_SAME(Rotation);
    VG_SAME(bBarWidthReduction);
    VG_SAME(bCropMarks);
    VG_SAME(bEncodedData);
    VG_SAME(bSymbology);
    VG_SAME(bWideNarrowRatio);
    VG_SAME(bBarHeight);
    VG_SAME(bMagnification);
    VG_SAME(bXDimension);
    VG_SAME(bNBW);
    VG_SAME(bPrinterDpi);
    VG_SAME(bFilm);
    VG_SAME(bCompany);
    VG_SAME(bClient);
    VG_SAME(bJob);
    VG_SAME(bDate);
    VG_SAME(bComments);
    VG_SAME(Film);
    VG_SAME(Company);
    VG_SAME(Client);
    VG_SAME(Job);
    VG_SAME(Date);
    VG_SAME(Comments);
#undef VG_SAME
#undef VG_SAME_TEXT
}

EpsOptions Options() {
    EpsOptions o;
    o.WithPreview = false;
    o.Title = "x.eps";
    o.Extent = {0, 0, 1500, 1000};
    return o;
}

// A file with the DOS header and the given PostScript lines (CR LF each).
std::string EpsWith(const std::vector<std::string>& lines) {
    std::string bytes(30, '\0');
    for (const auto& l : lines) bytes += l + "\r\n";
    return bytes;
}

TEST(ReadSettingsComments, RestoresEveryFieldOfTheBlock) {
    ResetSettingsRecord();
    Distinctive(SymbolSettings);
    const SettingsRecord saved = SymbolSettings;
    ScratchDir dir;
    std::string path = dir.File("all.eps");
    ASSERT_TRUE(WriteEpsFile(path, Options()));

    ResetSettingsRecord();
    SymbolSettings.SerialBefore = "kept";
    SetText(SymbolSettings.MainText, "kept");
    std::string version;
    ASSERT_TRUE(ReadSettingsComments(path, &version));
    ExpectBlockFieldsEqual(SymbolSettings, saved);
    EXPECT_EQ(version, "6.02");
    EXPECT_EQ(SymbolSettings.SerialBefore, "kept") << "fields outside the block stay";
    EXPECT_EQ(TextOf(SymbolSettings.MainText), "kept");
    EXPECT_EQ(SymbolSettings.ProfileInvalid, 0);
}

// Whatever a user types into a text field comes back as stored, or the save is
// refused and the file left alone; no other field changes.
TEST(ReadSettingsComments, HostileTextsComeBackOrAreRefused) {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
    const std::string values[] = {
        "%_Fine",
        "%_Variation: 27",
        "%%_Family: 3\t",
        "%_VornelGlyph Prefs",
        std::string(254, 'a'),
        std::string(255, 'b'),
        std::string(290, 'c') + "%_Family: 16",
        std::string(256, 'd'),
        "a\rb",
        "a\nb",
        "a\r\n%_Fine",
        std::string("a\0%_Fine", 8),
        "x\f%_Family: 2",
        high,
        "(unbalanced \\",
    };
    ScratchDir dir;
    const std::string path = dir.File("hostile.eps");
    int written = 0;
    for (const SettingsBlockLine& line : SettingsBlockLines()) {
        if (!line.field || (line.field->kind != FieldKind::Text && line.field->kind != FieldKind::FixedText)) continue;
        const SettingsField& field = *line.field;
        for (const std::string& value : values) {
            SCOPED_TRACE(std::string(field.name) + " = " + value.substr(0, 40));
            ResetSettingsRecord();
            Distinctive(SymbolSettings);
            field.setText(SymbolSettings, value);
            const SettingsRecord stored = SymbolSettings;
            const std::string_view kept = field.getText(stored);
            const bool refusable = kept.size() > kWorkingTextLength ||
                                   kept.find_first_of(std::string_view("\r\n\f\0", 4)) != std::string_view::npos;
            WriteBytes(path, "earlier file");
            std::string reason;
            const bool ok = WriteEpsFile(path, Options(), &reason);
            EXPECT_EQ(ok, !refusable) << reason;
            if (!ok) {
                EXPECT_NE(reason.find(field.name), std::string::npos) << reason;
                EXPECT_EQ(ReadBytes(path), "earlier file");
                continue;
            }
            ++written;
            ResetSettingsRecord();
            ASSERT_TRUE(ReadSettingsComments(path));
            ExpectBlockFieldsEqual(SymbolSettings, stored);
        }
    }
    EXPECT_GE(written, 150);
}

TEST(ReadSettingsComments, NumbersThatCannotBeReadBackWholeAreRefused) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    const struct {
        std::function<void(SettingsRecord&)> set;
        const char* field;  // nullptr: written and read back
    } cases[] = {
        {[](auto& s) { s.BarWidthReduction = 1e308; }, "BarWidthReduction"},
        {[](auto& s) { s.H = -1e286; }, "H"},
        {[&](auto& s) { s.Magnification = nan; }, "Magnification"},
        {[&](auto& s) { s.V = -inf; }, "V"},
        {[](auto& s) { s.Magnification = 1e200; }, nullptr},
        {[](auto& s) { s.BarWidthReduction = -1e250; }, nullptr},
        {[](auto& s) { s.H = -1e285; }, nullptr},  // a line of 299 characters
    };
    ScratchDir dir;
    const std::string path = dir.File("n.eps");
    for (const auto& c : cases) {
        ResetSettingsRecord();
        Distinctive(SymbolSettings);
        c.set(SymbolSettings);
        const SettingsRecord stored = SymbolSettings;
        std::string reason;
        const bool ok = WriteEpsFile(path, Options(), &reason);
        if (c.field) {
            EXPECT_FALSE(ok) << c.field;
            EXPECT_EQ(reason.rfind(std::string(c.field) + " ", 0), 0u) << reason;
            continue;
        }
        ASSERT_TRUE(ok) << reason;
        ResetSettingsRecord();
        ASSERT_TRUE(ReadSettingsComments(path));
        // Read back whole, then brought into the valid values.
        SettingsRecord valid = stored;
        ClampToValidValues(valid);
        ExpectBlockFieldsEqual(SymbolSettings, valid);
    }
}

TEST(ReadSettingsComments, ReadsInCommaLocale) {
    ResetSettingsRecord();
    Distinctive(SymbolSettings);
    const SettingsRecord saved = SymbolSettings;
    ScratchDir dir;
    std::string path = dir.File("comma.eps");
    test::ScopedCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
    ASSERT_TRUE(WriteEpsFile(path, Options()));
    ResetSettingsRecord();
    ASSERT_TRUE(ReadSettingsComments(path));
    ExpectBlockFieldsEqual(SymbolSettings, saved);
}

struct LineCase {
    const char* line;
    std::function<bool(const SettingsRecord&)> check;
};

TEST(ParseSettingsLine, ValuesRangesAndFallbacks) {
    const LineCase cases[] = {
        {"%%_Rotation: 45", [](auto& s) { return s.Rotation == 0; }},
        {"%%_Rotation: 180", [](auto& s) { return s.Rotation == 180; }},
        {"%%_Rotation4AdditionalText: 91", [](auto& s) { return s.Rotation4AdditionalText == 0; }},
        {"%%_redBarsText: 300", [](auto& s) { return s.redBarsText == 44; }},
        {"%%_redBarsText: 200", [](auto& s) { return s.redBarsText == 0; }},
        {"%%_blackBarsText: 101", [](auto& s) { return s.blackBarsText == 100; }},
        {"%%_redSpacesQuietZone: -1", [](auto& s) { return s.redSpacesQuietZone == 100; }},
        {"%%_CMYKcyanBarsText: 356", [](auto& s) { return s.CMYKcyanBarsText == 100; }},
        {"%%_BarsTextColorName: ", [](auto& s) { return s.BarsTextColorName == "Bars & Text Color"; }},
        {"%%_SpacesQuietZoneColorName: ", [](auto& s) { return s.SpacesQuietZoneColorName == "Spaces & QZ Color"; }},
        {"%%_BarsTextColorName: Reflex Blue", [](auto& s) { return s.BarsTextColorName == "Reflex Blue"; }},
        {"%%_Format: ", [](auto& s) { return s.Format == 9; }},
        {"%%_Format: 7", [](auto& s) { return s.Format == 2; }},
        {"%%_Format: 0", [](auto& s) { return s.Format == 0; }},
        {"%%_UnitOfMeasure: 4", [](auto& s) { return s.UnitOfMeasure == 0; }},
        {"%%_FileName: 5", [](auto& s) { return s.FileName == 4; }},
        {"%%_ElephantSound: 2", [](auto& s) { return s.ElephantSound == 1; }},
        {"%%_GSCalibration: 9", [](auto& s) { return s.GSCalibration == 0; }},
        {"%%_GSCalibration: 93", [](auto& s) { return s.GSCalibration == 93; }},
        {"%%_PrinterDpi:   600dpi", [](auto& s) { return s.PrinterDpi == 600; }},
        {"%%_PrinterDpi: dpi", [](auto& s) { return s.PrinterDpi == 2400; }},
        {"%%_PrinterDpi: 99999999999999", [](auto& s) { return s.PrinterDpi == 2400; }},
        {"%%_Hueproof: 0", [](auto& s) { return s.Hueproof == 3; }},
        {"%%_Hueproof: 259", [](auto& s) { return s.Hueproof == 3; }},
        {"%%_Align: 3", [](auto& s) { return s.Align == 1; }},
        {"%%_StopCharacter: 4", [](auto& s) { return s.StopCharacter == 1; }},
        {"%%_AlignAT: 5", [](auto& s) { return s.AlignAT == 4; }},
        {"%%_IgnoreSpaces: 2", [](auto& s) { return s.IgnoreSpaces == 1; }},
        {"%%_BarsTextRadio: -1", [](auto& s) { return s.BarsTextRadio == 1; }},
        {"%%_Derived: ", [](auto& s) { return s.Derived == 0; }},
        {"%%_Derived: 3", [](auto& s) { return s.Derived == 0; }},
        {"%%_Magnification:  87.5%", [](auto& s) { return s.Magnification == 87.5; }},
        {"%%_Magnification: 1,5", [](auto& s) { return s.Magnification == 1.0; }},
        {"%%_Magnification: abc", [](auto& s) { return s.Magnification == 0.0; }},
        {"%%_Magnification: nan", [](auto& s) { return s.Magnification == 0.0; }},
        {"%%_Magnification: ", [](auto& s) { return s.Magnification == 55.0; }},
        {"%%_SymbolWidth: -1.25e1x", [](auto& s) { return s.SymbolWidth == -12.5; }},
        {"%%_H: +.5", [](auto& s) { return s.H == 0.5; }},
        {"%%_BearerBar: 36", [](auto& s) { return s.BearerBar == 36.0; }},
        {"%%_DistanceToBars: -6", [](auto& s) { return s.DistanceToBars == -6.0; }},
        {"%%_SizeAT: 500", [](auto& s) { return s.SizeAT == 12 && s.FontName4AdditionalText == "Arial"; }},
        {"%%_SizeAT: 200", [](auto& s) { return s.SizeAT == 200 && s.FontName4AdditionalText == "Courier"; }},
        {"%%_FontName4humanreadable: ", [](auto& s) { return s.FontName4humanreadable == "Courier"; }},
        {"%%_AdditionalText: ", [](auto& s) { return s.AdditionalText.empty(); }},
        {"%%_Company: ", [](auto& s) { return s.Company.empty(); }},
        {"%%_OriginalMainText: 0123456789012345678901234567890123456789012345678901234567890123456789",
         [](auto& s) {
             return TextOf(s.OriginalMainText) ==
                    std::string_view("0123456789012345678901234567890123456789012345678901234567890");
         }},
        {"%%_AddOnText: 12345678", [](auto& s) { return TextOf(s.AddOnText) == std::string_view("123456"); }},
        {"%%_CouponFormat128partText: ", [](auto& s) { return TextOf(s.CouponFormat128partText).empty(); }},
        // Keys stand at the line start; anything after is the value.
        {"%%_Comments: a %%_Bold: 1", [](auto& s) { return s.Bold == 0 && s.Comments == "a %%_Bold: 1"; }},
        {"junk before %%_Italic: 1", [](auto& s) { return s.Italic == 0; }},
        {"%_Italic: 1", [](auto& s) { return s.Italic == 1; }},
        {"%%_Italic 1", [](auto& s) { return s.Italic == 0; }},
        {"%%_Italic:1", [](auto& s) { return s.Italic == 0; }},
        {"%_Fine", [](auto& s) { return s.Italic == 0; }},
        {"%%_Date: 12/09/2026", [](auto& s) { return s.Date == "12/09/2026" && s.bDate == 0; }},
        {"%%_bDate: 1", [](auto& s) { return s.bDate == 1 && s.Date == "keep"; }},
    };
    for (const auto& c : cases) {
        SettingsRecord s;
        s.Format = 9;
        s.Magnification = 55;
        s.FontName4humanreadable = "Courier";
        s.FontName4AdditionalText = "Courier";
        s.AdditionalText = "keep";
        s.Company = "keep";
        s.Comments = "keep";
        s.Date = "keep";
        SetText(s.CouponFormat128partText, "(8100)");
        SettingsParseState state(s);
        EXPECT_TRUE(ParseSettingsLine(state, c.line));
        EXPECT_TRUE(c.check(s)) << c.line;
        EXPECT_FALSE(state.invalid) << c.line;
    }
}

TEST(ParseSettingsLine, FallbacksFromVariationDefaults) {
    struct Case {
        const char* line;
        int format;
        std::function<bool(const SettingsRecord&)> check;
    } cases[] = {
        {"%%_CurRatio: 9", 1, [](auto& s) { return s.CurRatio == DefaultRatio(10, 41); }},
        {"%%_CurRatio: 1.8", 1, [](auto& s) { return s.CurRatio == 1.8; }},
        {"%%_CurBarXDimension: 20", 1, [](auto& s) { return s.CurBarXDimension == DefaultXDimension(10, 41); }},
        {"%%_CurBarXDimension: 20", 0, [](auto& s) { return s.CurBarXDimension == 0.5; }},
        {"%%_CurBarXDimension: 0.12", 2, [](auto& s) { return s.CurBarXDimension == 0.5; }},
        {"%%_BarHeight: 2", 1, [](auto& s) { return s.BarHeight == DefaultBarHeight(10, 41); }},
        {"%%_BearerBar: 37", 1, [](auto& s) { return s.BearerBar == DefaultBearerBar(10, 41); }},
        {"%%_DistanceToBars: 33", 1, [](auto& s) { return s.DistanceToBars == DefaultDistanceToBars(41); }},
        {"%%_Size: 1", 1,
         [](auto& s) {
             FontDefault f = DefaultFontFor(41);
             return s.Size == f.size && s.FontName4humanreadable == f.face &&
                    s.FontName4ISBN_ISSN_SPCNs == "OCRB Vornel Glyph";
         }},
        {"%%_Size: ", 1, [](auto& s) { return s.Size == 7 && s.FontName4humanreadable == "Courier"; }},
    };
    for (const auto& c : cases) {
        SettingsRecord s;
        s.Family = 10;
        s.Variation = 41;
        s.Format = c.format;
        s.CurRatio = 3;
        s.CurBarXDimension = 0.5;
        s.BarHeight = 40;
        s.BearerBar = 5;
        s.DistanceToBars = 3;
        s.Size = 7;
        s.FontName4humanreadable = "Courier";
        s.FontName4ISBN_ISSN_SPCNs = "Courier";
        SettingsParseState state(s);
        ParseSettingsLine(state, c.line);
        EXPECT_TRUE(c.check(s)) << c.line << " format " << c.format;
    }
}

TEST(ParseSettingsLine, FamilyAndVariationValidity) {
    struct Case {
        const char* line;
        int family, variation;
        bool invalid;
    } cases[] = {
        {"%%_Family: 25", 0, 5, true},   {"%%_Family: 0", 0, 5, true},      {"%%_Family: ", 0, 5, true},
        {"%%_Family: 19", 19, 5, false}, {"%%_Variation: 200", 3, 0, true}, {"%%_Variation: 199", 3, 199, false},
        {"%%_Variation: x", 3, 0, true},
    };
    for (const auto& c : cases) {
        SettingsRecord s;
        s.Family = 3;
        s.Variation = 5;
        SettingsParseState state(s);
        ParseSettingsLine(state, c.line);
        EXPECT_EQ(s.Family, c.family) << c.line;
        EXPECT_EQ(s.Variation, c.variation) << c.line;
        EXPECT_EQ(state.invalid, c.invalid) << c.line;
        EXPECT_EQ(s.ProfileInvalid, c.invalid ? 1 : 0) << c.line;
    }
}

TEST(ParseSettingsLine, FilmLinesToldApartByOrder) {
    SettingsRecord s;
    SettingsParseState state(s);
    ParseSettingsLine(state, "%%_VersionNumber: 6.01");
    ParseSettingsLine(state, "%%_bFilm: 1");
    ParseSettingsLine(state, "%%_bFilm: 2");
    EXPECT_EQ(s.bFilm, 1);
    EXPECT_EQ(s.Film, 2);
    EXPECT_EQ(state.versionText, "6.01");
    ParseSettingsLine(state, "%%_bFilm: 7");
    EXPECT_EQ(s.bFilm, 1);
    EXPECT_EQ(s.Film, 0) << "film mode 0..3";
}

TEST(AtoIAndAtoF, CLibraryReading) {
    const std::pair<const char*, int> ints[] = {
        {"42", 42},
        {"  -7x", -7},
        {"+3", 3},
        {"\t 12 13", 12},
        {"", 0},
        {"-", 0},
        {"x1", 0},
        {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},
    };
    for (const auto& [text, value] : ints) EXPECT_EQ(AtoI(text), value) << text;
    const std::pair<const char*, double> reals[] = {
        {"2.5", 2.5}, {" -0.75mm", -0.75}, {"1e2", 100}, {"1e", 1},  {".", 0},
        {"inf", 0},   {"0x10", 0},         {"5.", 5},    {"1,5", 1}, {"1e999", 0},
    };
    for (const auto& [text, value] : reals) EXPECT_EQ(AtoF(text), value) << text;
}

class ReaderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsRecord();
        SymbolSettings.Family = 4;
        SymbolSettings.Variation = 11;
        SymbolSettings.Comments = "current";
        ProgrammaticInput = 1;
    }
    bool Read(const std::string& bytes) {
        std::string path = m_dir.File("f.eps");
        WriteBytes(path, bytes);
        return ReadSettingsComments(path);
    }
    void ExpectUntouched() {
        EXPECT_EQ(SymbolSettings.Family, 4);
        EXPECT_EQ(SymbolSettings.Variation, 11);
        EXPECT_EQ(SymbolSettings.Comments, "current");
        EXPECT_EQ(SymbolSettings.ProfileInvalid, 0);
        EXPECT_EQ(ProgrammaticInput, 1);
    }
    ScratchDir m_dir;
};

TEST_F(ReaderFiles, MarkerMustMatchExactly) {
    EXPECT_FALSE(Read(EpsWith({"%_VornelGlyph Prefs ", "%%_Family: 5", "%_Fine"})));
    EXPECT_FALSE(Read(EpsWith({"%%_VornelGlyph Prefs", "%%_Family: 5", "%_Fine"})));
    ExpectUntouched();
    EXPECT_TRUE(Read(EpsWith({"junk", "%_VornelGlyph Prefs", "%%_Family: 5", "%_Fine"})));
    EXPECT_EQ(SymbolSettings.Family, 5);
}

TEST_F(ReaderFiles, MissingEndMarkerChangesNothing) {
    EXPECT_FALSE(Read(EpsWith({"%_VornelGlyph Prefs", "%%_Family: 25", "%%_Comments: new"})));
    ExpectUntouched();
    EXPECT_FALSE(Read(EpsWith({"%_VornelGlyph Prefs", "%%_Family: 5", "%_Fine ", "%%EOF"})));
    ExpectUntouched();
}

TEST_F(ReaderFiles, InvalidFamilyMarkedOnSuccess) {
    EXPECT_TRUE(Read(EpsWith({"%_VornelGlyph Prefs", "%%_Family: 25", "%%_Variation: 72", "%_Fine"})));
    EXPECT_EQ(SymbolSettings.Family, 0);
    EXPECT_EQ(SymbolSettings.Variation, 72);
    EXPECT_EQ(SymbolSettings.ProfileInvalid, 1);
    EXPECT_EQ(ProgrammaticInput, 0);
}

TEST_F(ReaderFiles, SecondBlockAppliedWithItsOwnFilmLines) {
    EXPECT_TRUE(Read(EpsWith({"%_VornelGlyph Prefs", "%%_Family: 5", "%%_bFilm: 1", "%%_bFilm: 2", "%_Fine", "%%EOF",
                              "%_VornelGlyph Prefs", "%%_Variation: 14", "%%_bFilm: 0", "%%_bFilm: 3", "%_Fine"})));
    EXPECT_EQ(SymbolSettings.Family, 5);
    EXPECT_EQ(SymbolSettings.Variation, 14);
    EXPECT_EQ(SymbolSettings.bFilm, 0);
    EXPECT_EQ(SymbolSettings.Film, 3);
    // An unfinished second block fails the whole read.
    SetUp();
    EXPECT_FALSE(Read(EpsWith({"%_VornelGlyph Prefs", "%%_Family: 5", "%_Fine", "%_VornelGlyph Prefs"})));
    ExpectUntouched();
}

TEST_F(ReaderFiles, LineEndingsAndHeaderSkip) {
    std::string lf = std::string(30, '\0') + "%_VornelGlyph Prefs\n%%_Family: 6\n%_Fine";
    EXPECT_TRUE(Read(lf)) << "LF lines, no line end at the end";
    EXPECT_EQ(SymbolSettings.Family, 6);
    // The marker inside the first 30 bytes is never seen.
    std::string early = "%_VornelGlyph Prefs\r\n%%_Family: 7\r\n%_Fine\r\n";
    EXPECT_FALSE(Read(early));
}

TEST_F(ReaderFiles, KeysOnlyAtTheLineStartAndLongLinesAreOneLine) {
    const std::string company = "%%_Company: " + std::string(290, 'x') + "%_Family: 16";
    // Puts "%_Fine" where a 299-byte piece of the line would begin.
    const std::string name = "%%_VariationName: " + std::string(299 - 18, 'n') + "%_Fine";
    EXPECT_TRUE(
        Read(EpsWith({"%_VornelGlyph Prefs", std::string(299, 'x') + "%%_Bold: 1", "%%_Comments: see %_Variation: 27",
                      " %%_Job: indented", "x%_Date: glued", "%%_Client:: odd", company, name,
                      "%%_Comments: " + std::string(5000, 'c'), "%%_Hidden: 1", "%_Fine"})));
    const SettingsRecord& s = SymbolSettings;
    EXPECT_EQ(s.Bold, 0);
    EXPECT_EQ(s.Variation, 11);
    EXPECT_EQ(s.Family, 4);
    EXPECT_EQ(s.Job, "");
    EXPECT_EQ(s.Date, "");
    EXPECT_EQ(s.Client, "");
    EXPECT_EQ(s.Company, company.substr(12, 299 - 12));
    EXPECT_EQ(s.VariationName, std::string(299 - 18, 'n'));
    EXPECT_EQ(s.Comments, std::string(299 - 13, 'c'));
    EXPECT_EQ(s.Hidden, 1) << "the block goes on after the long lines";
    // A CR LF right after 299 characters still ends the line.
    SetUp();
    EXPECT_TRUE(Read(EpsWith({"%_VornelGlyph Prefs", "%%_Job: " + std::string(291, 'j'), "%_Fine"})));
    EXPECT_EQ(SymbolSettings.Job, std::string(291, 'j'));
    // A marker longer than its line is not a marker.
    EXPECT_FALSE(Read(EpsWith({std::string(290, ' ') + "%_VornelGlyph Prefs", "%_Fine"})));
}

TEST_F(ReaderFiles, NulBytesEndTheLine) {
    std::string bytes = EpsWith({"%_VornelGlyph Prefs"});
    bytes += std::string("%%_Family: 8\0%%_Variation: 99\r\n", 31);
    bytes += std::string("%_Fine\0trailing\r\n", 17);
    EXPECT_TRUE(Read(bytes));
    EXPECT_EQ(SymbolSettings.Family, 8);
    EXPECT_EQ(SymbolSettings.Variation, 11);
}

TEST_F(ReaderFiles, UnreadableInputsFailWithTheReason) {
    const std::string fifo = m_dir.File("fifo.eps");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {m_dir.File("missing.eps"), "No such file or directory"},
        {m_dir.Path(), "Is a directory"},
        {fifo, "Is a FIFO, not a regular file"},
        {"/dev/zero", "Is a device, not a regular file"},
    };
    for (const auto& [path, expected] : cases) {
        std::string reason;
        EXPECT_FALSE(ReadSettingsComments(path, nullptr, &reason)) << path;
        EXPECT_EQ(reason, expected) << path;
    }
    EXPECT_FALSE(Read(""));
    EXPECT_FALSE(Read("%_VornelGlyph Prefs\r\n"));  // shorter than the header
    ExpectUntouched();
}

TEST_F(ReaderFiles, ReadsOnlyWhereTheBlockCanBe) {
    const std::string block = "\r\n%_VornelGlyph Prefs\r\n%%_Family: 6\r\n%_Fine\r\n";
    auto dosEps = [](uint32_t start, uint32_t length) {
        std::string h = "\xC5\xD0\xD3\xC6";
        for (uint32_t v : {start, length, 0u, 0u, 0u, 0u})
            for (int i = 0; i < 4; ++i) h += static_cast<char>(v >> (8 * i));
        return h + "\xFF\xFF";
    };
    const std::string tail = "%%EOF\r\n" + block;  // a block where a preview would be
    EXPECT_TRUE(Read(dosEps(30, block.size()) + block));
    EXPECT_EQ(SymbolSettings.Family, 6);
    SetUp();
    EXPECT_FALSE(Read(dosEps(30, 7) + tail)) << "after the PostScript section";
    EXPECT_FALSE(Read(dosEps(30, block.size() - 4) + block)) << "the end marker outside the section";
    ExpectUntouched();

    // Without a DOS header, the first megabyte past byte 30.
    const std::string path = m_dir.File("big.eps");
    for (const auto& [offset, found] : {std::pair{uint64_t{1} << 19, true}, std::pair{uint64_t{64} << 20, false}}) {
        std::filesystem::remove(path);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        ASSERT_EQ(std::fseek(f, static_cast<long>(offset), SEEK_SET), 0);
        std::fwrite(block.data(), 1, block.size(), f);
        std::fclose(f);
        SetUp();
        EXPECT_EQ(ReadSettingsComments(path), found) << offset;
    }
}

TEST_F(ReaderFiles, TruncatedWrittenFile) {
    Distinctive(SymbolSettings);
    std::string path = m_dir.File("full.eps");
    ASSERT_TRUE(WriteEpsFile(path, Options()));
    const std::string full = ReadBytes(path);
    const std::size_t fineEnd = full.find("%_Fine\r\n") + 8;
    for (std::size_t cut : {std::size_t{0}, std::size_t{20}, std::size_t{30}, std::size_t{200}, std::size_t{1500},
                            fineEnd - 9, fineEnd - 2, fineEnd, full.size() - 1}) {
        SetUp();
        bool ok = Read(full.substr(0, cut));
        // "%_Fine" without its line end is still the end marker.
        EXPECT_EQ(ok, cut >= fineEnd - 2) << "cut at " << cut;
        if (!ok) ExpectUntouched();
    }
}

TEST_F(ReaderFiles, SurvivesArbitraryBytes) {
    std::mt19937 random(20261209);
    const std::string pieces[] = {"%_VornelGlyph Prefs\r\n",
                                  "%_Fine\r\n",
                                  "%%_Family: ",
                                  "%%_Size: 0\r\n",
                                  "%%_bFilm: 9\n",
                                  "%%_OriginalMainText: ",
                                  std::string(700, 'z'),
                                  std::string(3, '\0'),
                                  "\r",
                                  "\n"};
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        std::size_t n = random() % 60;
        for (std::size_t i = 0; i < n; ++i) {
            if (random() % 3 == 0) {
                bytes += pieces[random() % std::size(pieces)];
            } else {
                std::size_t k = random() % 40;
                for (std::size_t j = 0; j < k; ++j) bytes += static_cast<char>(random() & 0xFF);
            }
        }
        SetUp();
        Read(bytes);  // must neither crash nor leave fields over-long
        EXPECT_LT(TextOf(SymbolSettings.OriginalMainText).size(), sizeof SymbolSettings.OriginalMainText);
    }
}

}  // namespace
}  // namespace vg
