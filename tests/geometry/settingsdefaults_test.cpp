#include <gtest/gtest.h>

#include <string>

#include "geometry/settingsdefaults.h"
#include "model/catalogue.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"
#include "recordingsink.h"

namespace vg {
namespace {

class Defaults : public ::testing::Test {
protected:
    void SetUp() override { ResetSettingsRecord(); }
    void TearDown() override { ResetSettingsRecord(); }
    static void Choose(int family, int variation, int derived = 0) {
        SymbolSettings.Family = static_cast<int16_t>(family);
        SymbolSettings.Variation = variation;
        SymbolSettings.Derived = derived;
        ApplyVariationDefaults();
    }
    test::ScopedRecordingSink rec;
};

TEST_F(Defaults, PerVariationValues) {
    struct Case {
        int family, variation;
        double bearer;
        const char* font;
        int size, unit, hidden, method;
        double bwr;
        int ignoreHyphens, asterisks, align;
        double distance;
        const char* issn;
    };
    const Case cases[] = {
        {10, 41, 14.0, "OCRB Vornel Glyph", 24, 0, 0, 0, 4, 1, 0, 1, 0, ""},
        {10, 43, 14.0, "OCRB Vornel Glyph", 24, 1, 0, 0, 4, 1, 0, 1, 0, ""},
        {4, 21, 0, "Arial", 12, 1, 0, 0, 4, 1, 0, 1, 0, ""},
        {4, 13, 0, "Arial", 12, 0, 0, 0, 4, 0, 0, 1, 0, ""},
        {4, 17, 0, "Arial", 12, 0, 0, 0, 4, 1, 1, 1, 0, ""},
        {4, 76, 14.0, "Arial", 12, 0, 0, 0, 4, 1, 0, 1, 0, ""},
        {13, 51, 0, "Arial", 12, 0, 1, 1, 0, 1, 0, 1, 0, ""},
        {13, 56, 0, "Arial", 12, 0, 1, 1, 0, 1, 0, 1, 0, ""},
        {7, 30, 0, "Arial", 12, 0, 0, 1, 0, 1, 0, 1, 0, ""},
        {16, 72, 0, "OCRB Vornel Glyph", 9, 0, 0, 0, 4, 1, 0, 1, 0.864, ""},
        {6, 28, 0, "OCRB Vornel Glyph", 9, 1, 0, 0, 4, 1, 0, 1, 0.864, ""},
        {9, 37, 0, "OCRA Vornel Glyph", 12, 0, 0, 0, 4, 1, 0, 1, 0, "00"},
        {9, 38, 0, "OCRB Vornel Glyph", 9, 0, 0, 0, 4, 1, 0, 1, 0.864, "00"},
        {5, 25, 0, "Arial", 5, 1, 0, 0, 4, 1, 0, 0, 5.0, ""},
        {2, 89, 0, "Arial", 12, 0, 0, 0, 4, 1, 0, 0, 0, ""},
        {2, 116, 0, "Arial", 9, 0, 0, 0, 4, 1, 0, 1, 2.0, ""},
        {12, 49, 0, "Arial", 12, 0, 1, 0, 4, 1, 0, 1, 0, ""},
        {12, 97, 0, "Arial", 12, 0, 1, 0, 4, 1, 0, 1, 0, ""},
        {15, 61, 0, "OCRB Vornel Glyph", 9, 0, 0, 0, 4, 1, 0, 1, 0.864, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("variation " + std::to_string(c.variation));
        ResetSettingsRecord();
        SymbolSettings.ISSNExtraDigits = "12";
        Choose(c.family, c.variation);
        const SettingsRecord& s = SymbolSettings;
        EXPECT_DOUBLE_EQ(s.BearerBar, c.bearer);
        EXPECT_EQ(s.FontName4humanreadable, c.font);
        EXPECT_EQ(s.Size, c.size);
        EXPECT_EQ(s.FontName4ISBN_ISSN_SPCNs, "OCRB Vornel Glyph");
        EXPECT_EQ(s.UnitOfMeasure, c.unit);
        EXPECT_EQ(s.Hidden, c.hidden);
        EXPECT_EQ(s.LastMethod, c.method);
        EXPECT_EQ(s.PrinterDpi, 2400);
        EXPECT_DOUBLE_EQ(s.BarWidthReduction, c.bwr);
        EXPECT_EQ(s.IgnoreHyphens, c.ignoreHyphens);
        EXPECT_EQ(s.ShowAsterisks, c.asterisks);
        EXPECT_EQ(s.Align, c.align);
        EXPECT_DOUBLE_EQ(s.DistanceToBars, c.distance);
        EXPECT_EQ(s.ISSNExtraDigits, c.issn);
        EXPECT_DOUBLE_EQ(s.CurRatio, DefaultRatio(c.family, c.variation));
        EXPECT_DOUBLE_EQ(s.CurBarXDimension, DefaultXDimension(c.family, c.variation));
        EXPECT_DOUBLE_EQ(s.BarHeight, DefaultBarHeight(c.family, c.variation));
    }
    EXPECT_TRUE(rec.sink.messages.empty());
}

TEST_F(Defaults, FreshVariationResetsOptionsTextAndColours) {
    SettingsRecord& s = SymbolSettings;
    s.Rotation = 90;
    s.Prufmark = 2;
    s.FileName = 1;
    s.Format = 0;
    s.AdditionalText = "note";
    s.SymbolWidth = 99;
    s.Magnification = 150;
    s.Bold = s.Italic = s.BoldAT = s.ItalicAT = 1;
    s.HideAddonText = s.UseHumanReadablesAsText = s.HideCheckDigits = s.HideParentheses = 1;
    s.TextAbove = s.CenterSysChk = s.AddonTextDown = s.QuietZoneIndicators = 1;
    s.ShowStartStop = s.ShowFactDataID = 1;
    s.IgnoreSpaces = 0;
    s.AlignAT = 1;
    s.H = 3;
    s.V = -4;
    s.Rotation4AdditionalText = 270;
    s.FontName4AdditionalText = "Courier";
    s.SizeAT = 40;
    s.BarsTextColorName = "Red";
    s.SpacesQuietZoneColorName = "Cream";
    s.Hueproof = 2;
    s.RGB_Radio = s.SpacesQuietZoneRadio = s.ProcessRadio = s.Overprint = 1;
    s.redSpacesQuietZone = 5;
    s.CMYKblackBarsText = 7;
    s.CMYKcyanSpacesQuietZone = 9;
    Choose(16, 72);

    EXPECT_EQ(s.Rotation, 0);
    EXPECT_EQ(s.Prufmark, 0);
    EXPECT_EQ(s.FileName, 4);
    EXPECT_EQ(s.Format, 1);
    EXPECT_EQ(s.AdditionalText, "");
    EXPECT_DOUBLE_EQ(s.SymbolWidth, 0);
    EXPECT_DOUBLE_EQ(s.Magnification, 100.0);
    EXPECT_EQ(s.Bold + s.Italic + s.BoldAT + s.ItalicAT, 0);
    EXPECT_EQ(s.HideAddonText + s.UseHumanReadablesAsText + s.HideCheckDigits + s.HideParentheses + s.TextAbove +
                  s.CenterSysChk + s.AddonTextDown + s.QuietZoneIndicators + s.ShowStartStop + s.ShowFactDataID,
              0);
    EXPECT_EQ(s.IgnoreSpaces, 1);
    EXPECT_EQ(s.AlignAT, 4);
    EXPECT_DOUBLE_EQ(s.H, 0);
    EXPECT_DOUBLE_EQ(s.V, 0);
    EXPECT_EQ(s.Rotation4AdditionalText, 0);
    EXPECT_EQ(s.FontName4AdditionalText, "Arial");
    EXPECT_EQ(s.SizeAT, 12);

    EXPECT_EQ(s.BarsTextColorName, "Black");
    EXPECT_EQ(s.SpacesQuietZoneColorName, "White");
    EXPECT_EQ(s.Hueproof, 3);
    EXPECT_EQ(s.RGB_Radio, 0);
    EXPECT_EQ(s.CMYK_Radio, 1);
    EXPECT_EQ(s.BarsTextRadio, 1);
    EXPECT_EQ(s.SpacesQuietZoneRadio, 0);
    EXPECT_EQ(s.SpotRadio, 1);
    EXPECT_EQ(s.ProcessRadio, 0);
    EXPECT_EQ(s.Overprint, 0);
    EXPECT_EQ(s.TransparentBackground, 1);
    const uint8_t colours[] = {s.redSpacesQuietZone,
                               s.greenSpacesQuietZone,
                               s.blueSpacesQuietZone,
                               s.blackSpacesQuietZone,
                               s.redBarsText,
                               s.greenBarsText,
                               s.blueBarsText,
                               s.blackBarsText,
                               s.CMYKcyanSpacesQuietZone,
                               s.CMYKmagentaSpacesQuietZone,
                               s.CMYKyellowSpacesQuietZone,
                               s.CMYKblackSpacesQuietZone,
                               s.CMYKcyanBarsText,
                               s.CMYKmagentaBarsText,
                               s.CMYKyellowBarsText,
                               s.CMYKblackBarsText};
    const uint8_t expected[] = {100, 100, 100, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 100};
    for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(colours[i], expected[i]) << i;
    EXPECT_TRUE(rec.sink.messages.empty());
}

TEST_F(Defaults, KeepsIdentityPreferencesSerialAndSpecificationBlock) {
    SettingsRecord& s = SymbolSettings;
    s.VariationName = "My UPC";
    s.ElephantSound = 1;
    s.GSCalibration = 42;
    s.DpiListCount = 9;
    s.SizeListCount = 11;
    s.SizeListCountAT = 13;
    s.StartCharacter = 2;
    s.StopCharacter = 3;
    s.ProfileInvalid = 1;
    s.SerialBefore = "AB";
    s.SerialStart = "0001";
    s.SerialIncrement = 5;
    s.SerialMain = 1;
    s.bCropMarks = 1;
    s.bComments = 1;
    s.Film = 2;
    s.Company = "KLD";
    Choose(16, 72);
    EXPECT_EQ(s.Family, 16);
    EXPECT_EQ(s.Variation, 72);
    EXPECT_EQ(s.VariationName, "My UPC");
    EXPECT_EQ(s.ElephantSound, 1);
    EXPECT_EQ(s.GSCalibration, 42);
    EXPECT_EQ(s.DpiListCount, 9);
    EXPECT_EQ(s.SizeListCount, 11);
    EXPECT_EQ(s.SizeListCountAT, 13);
    EXPECT_EQ(s.StartCharacter, 2);
    EXPECT_EQ(s.StopCharacter, 3);
    EXPECT_EQ(s.ProfileInvalid, 1);
    EXPECT_EQ(s.SerialBefore, "AB");
    EXPECT_EQ(s.SerialStart, "0001");
    EXPECT_EQ(s.SerialIncrement, 5);
    EXPECT_EQ(s.SerialMain, 1);
    EXPECT_EQ(s.bCropMarks, 1);
    EXPECT_EQ(s.bComments, 1);
    EXPECT_EQ(s.Film, 2);
    EXPECT_EQ(s.Company, "KLD");

    // Crop marks are switched off for Vantic128 only.
    Choose(2, 118);
    EXPECT_EQ(s.bCropMarks, 0);
    EXPECT_EQ(s.bComments, 1);
}

TEST_F(Defaults, DataTextsAndCheckCharacters) {
    SettingsRecord& s = SymbolSettings;
    SetText(s.MainText, "12345678901");
    SetText(s.OriginalMainText, "1234-5678901");
    SetText(s.AddOnText, "12");
    SetText(s.FACTdataIDtext, "1P");
    s.CheckCharacter1 = '7';
    s.CheckCharacter2 = 'K';
    Choose(16, 73);
    EXPECT_EQ(TextOf(s.MainText), "3");
    EXPECT_EQ(TextOf(s.OriginalMainText), "3");
    EXPECT_EQ(TextOf(s.AddOnText), "");
    EXPECT_EQ(TextOf(s.FACTdataIDtext), "");
    EXPECT_EQ(s.CheckCharacter1, 0);
    EXPECT_EQ(s.CheckCharacter2, 0);

    Choose(15, 60);
    EXPECT_EQ(TextOf(s.MainText), "(");
    Choose(4, 11);
    EXPECT_EQ(TextOf(s.MainText), "");
}

TEST_F(Defaults, CouponParts) {
    struct Case {
        int variation;
        const char* upc;
        const char* part128;
    };
    const Case cases[] = {
        {61, "5", "(8100)"},  {62, "5", "(8101)"},  {63, "5", "(8100)"},  {64, "5", "(8101)"},  {65, "5", "(8102)"},
        {81, "99", "(8100)"}, {82, "99", "(8101)"}, {83, "99", "(8100)"}, {84, "99", "(8101)"}, {85, "99", "(8102)"},
        {60, "", ""},         {66, "", ""},         {80, "", ""},         {86, "", ""},
    };
    for (const Case& c : cases) {
        SetText(SymbolSettings.CouponFormatUPCpartText, "123456");
        SetText(SymbolSettings.CouponFormat128partText, "(8100)12345");
        Choose(15, c.variation);
        EXPECT_EQ(TextOf(SymbolSettings.CouponFormatUPCpartText), c.upc) << c.variation;
        EXPECT_EQ(TextOf(SymbolSettings.CouponFormat128partText), c.part128) << c.variation;
    }
}

TEST_F(Defaults, DerivedKeepsLoadedFields) {
    SettingsRecord& s = SymbolSettings;
    s.Rotation = 180;
    s.Format = 2;
    s.FileName = 0;
    s.UnitOfMeasure = 3;
    s.LastMethod = 1;
    s.CurRatio = 2.5;
    s.CurBarXDimension = 1.5;
    s.BarHeight = 50;
    s.BearerBar = 3;
    s.Magnification = 120;
    s.PrinterDpi = 1200;
    s.BarWidthReduction = 0.2;
    s.DistanceToBars = 1.25;
    s.FontName4humanreadable = "Courier";
    s.Size = 17;
    s.Bold = 1;
    s.Hidden = 1;
    s.IgnoreHyphens = 0;
    s.AdditionalText = "lot 7";
    s.BarsTextColorName = "Reflex";
    s.SpacesQuietZoneColorName = "Paper";
    s.CMYKcyanBarsText = 60;
    s.Hueproof = 2;
    s.ISSNExtraDigits = "";
    SetText(s.MainText, "99999");
    SetText(s.AddOnText, "12");
    SetText(s.FACTdataIDtext, "1P");
    s.CheckCharacter1 = '5';

    Choose(15, 62, 1);

    // Steps 1 to 6 and 8 still run.
    EXPECT_EQ(TextOf(s.MainText), "");
    EXPECT_EQ(TextOf(s.OriginalMainText), "");
    EXPECT_EQ(TextOf(s.AddOnText), "");
    EXPECT_EQ(TextOf(s.FACTdataIDtext), "1P");
    EXPECT_EQ(TextOf(s.CouponFormatUPCpartText), "5");
    EXPECT_EQ(TextOf(s.CouponFormat128partText), "(8101)");
    EXPECT_EQ(s.CheckCharacter1, 0);

    EXPECT_EQ(s.Rotation, 180);
    EXPECT_EQ(s.Format, 2);
    EXPECT_EQ(s.FileName, 0);
    EXPECT_EQ(s.UnitOfMeasure, 3);
    EXPECT_EQ(s.LastMethod, 1);
    EXPECT_DOUBLE_EQ(s.CurRatio, 2.5);
    EXPECT_DOUBLE_EQ(s.CurBarXDimension, 1.5);
    EXPECT_DOUBLE_EQ(s.BarHeight, 50);
    EXPECT_DOUBLE_EQ(s.BearerBar, 3);
    EXPECT_DOUBLE_EQ(s.Magnification, 120);
    EXPECT_EQ(s.PrinterDpi, 1200);
    EXPECT_DOUBLE_EQ(s.BarWidthReduction, 0.2);
    EXPECT_DOUBLE_EQ(s.DistanceToBars, 1.25);
    EXPECT_EQ(s.FontName4humanreadable, "Courier");
    EXPECT_EQ(s.Size, 17);
    EXPECT_EQ(s.Bold, 1);
    EXPECT_EQ(s.Hidden, 1);
    EXPECT_EQ(s.IgnoreHyphens, 0);
    EXPECT_EQ(s.AdditionalText, "lot 7");
    EXPECT_EQ(s.BarsTextColorName, "Reflex");
    EXPECT_EQ(s.SpacesQuietZoneColorName, "Paper");
    EXPECT_EQ(s.CMYKcyanBarsText, 60);
    EXPECT_EQ(s.Hueproof, 2);
}

TEST_F(Defaults, MainTextCarriedInIssnSlot) {
    struct Case {
        int family, variation, derived;
        const char* name;
        const char* issnBefore;
        const char* main;
        const char* fact;
        const char* issnAfter;
    };
    const Case cases[] = {
        // UPC (A) Kitlet with stored data.
        {16, 72, 0, "$Soup", "01234567890", "01234567890", "", ""},
        {16, 72, 1, "$Soup", "01234567890", "01234567890", "1P", ""},
        // Not a "$" name: the initial text, and the slot stays for a derived Kitlet.
        {16, 73, 1, "Soup", "01234567890", "3", "1P", "01234567890"},
        {16, 72, 0, "$Soup", "", "", "", ""},
        // Code 39 derived Kitlet: the slot holds the FACT data identifier.
        {4, 11, 1, "FACT", "2L", "", "2L", ""},
        {4, 11, 0, "FACT", "2L", "", "", ""},
        {9, 37, 1, "$ISSN", "12", "", "1P", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.issnBefore);
        ResetSettingsRecord();
        SymbolSettings.VariationName = c.name;
        SymbolSettings.ISSNExtraDigits = c.issnBefore;
        SetText(SymbolSettings.MainText, "stale");
        SetText(SymbolSettings.FACTdataIDtext, "1P");
        Choose(c.family, c.variation, c.derived);
        EXPECT_EQ(TextOf(SymbolSettings.MainText), c.main);
        EXPECT_EQ(TextOf(SymbolSettings.OriginalMainText), c.main);
        EXPECT_EQ(TextOf(SymbolSettings.FACTdataIDtext), c.fact);
        EXPECT_EQ(SymbolSettings.ISSNExtraDigits, c.issnAfter);
    }
}

TEST_F(Defaults, CarriedTextsAreCutToTheirFields) {
    SymbolSettings.VariationName = "$Long";
    SymbolSettings.ISSNExtraDigits = std::string(80, '7');
    Choose(16, 72, 1);
    EXPECT_EQ(TextOf(SymbolSettings.MainText), std::string(61, '7'));
    EXPECT_EQ(TextOf(SymbolSettings.OriginalMainText), std::string(61, '7'));

    ResetSettingsRecord();
    SymbolSettings.ISSNExtraDigits = "ABCDEFGHIJ";
    Choose(4, 11, 1);
    EXPECT_EQ(TextOf(SymbolSettings.FACTdataIDtext), "ABCDEF");
}

TEST_F(Defaults, CodesOutsideTheCatalogue) {
    const int codes[][2] = {{0, 0}, {2, 112}, {19, 9999}, {-3, -1}, {14, 57}};
    for (const auto& c : codes) {
        SetText(SymbolSettings.MainText, "stale");
        Choose(c[0], c[1]);
        EXPECT_EQ(TextOf(SymbolSettings.MainText), "") << c[1];
        EXPECT_EQ(SymbolSettings.PrinterDpi, 2400);
        EXPECT_EQ(SymbolSettings.FontName4humanreadable, "Arial");
    }
}

TEST_F(Defaults, EmbeddingFactorsFollowVariation) {
    Choose(2, 120);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.p, 0.76);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.q, 0.13);
    Choose(2, 6, 1);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.p, 0.95);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.q, 0.2);
}

TEST_F(Defaults, XDimensionDefaultOnlyForEps) {
    SettingsRecord& s = SymbolSettings;
    s.Family = 4;
    s.Variation = 11;
    const double nominal = DefaultXDimension(4, 11);
    struct Case {
        int format;
        double before, after;
    };
    const Case cases[] = {
        {1, 2.0, nominal},
        {0, 2.0, 2.0},
        {2, 2.0, 2.0},
        // An out-of-range value never stays, whatever the format.
        {0, 0.0, nominal},
        {2, 20.0, nominal},
    };
    for (const Case& c : cases) {
        s.Format = c.format;
        s.CurBarXDimension = c.before;
        XDimensionDefault();
        EXPECT_DOUBLE_EQ(s.CurBarXDimension, c.after) << c.format << " " << c.before;
    }
}

TEST_F(Defaults, ResolutionDefaultFollowsMethodAndFamily) {
    struct Case {
        int family, method;
        double bwr;
    };
    const Case cases[] = {{16, 0, 4}, {16, 1, 0.135}, {4, 1, 0.135}, {7, 1, 0}, {13, 0, 0}};
    for (const Case& c : cases) {
        SymbolSettings.Family = static_cast<int16_t>(c.family);
        SymbolSettings.LastMethod = c.method;
        SymbolSettings.PrinterDpi = 600;
        ResolutionDefault();
        EXPECT_EQ(SymbolSettings.PrinterDpi, 2400);
        EXPECT_NEAR(SymbolSettings.BarWidthReduction, c.bwr, 1e-12) << c.family << " " << c.method;
    }
}

TEST_F(Defaults, SingleFieldRules) {
    SettingsRecord& s = SymbolSettings;
    s.Family = 9;
    s.Variation = 37;
    s.Size = 0;  // first run
    s.FontName4humanreadable = "";
    TextFontDefault();
    EXPECT_EQ(s.FontName4humanreadable, "OCRA Vornel Glyph");
    EXPECT_EQ(s.Size, 12);

    s.SizeAT = 500;
    AdditionalTextFontDefault();
    EXPECT_EQ(s.SizeAT, 12);
    EXPECT_EQ(s.FontName4AdditionalText, "Arial");

    s.Bold = s.Italic = s.Hidden = s.BoldAT = s.ItalicAT = 1;
    TextStyleDefault();
    AdditionalTextStyleDefault();
    EXPECT_EQ(s.Bold + s.Italic + s.Hidden + s.BoldAT + s.ItalicAT, 0);

    s.Family = 13;
    MethodDefault();
    EXPECT_EQ(s.LastMethod, 1);
    s.Family = 16;
    MethodDefault();
    EXPECT_EQ(s.LastMethod, 0);
}

TEST(FontTable, Rows) {
    struct Row {
        int first, last;
        const char* face;
        int size;
    };
    const Row rows[] = {
        {26, 29, "OCRB Vornel Glyph", 9},
        {35, 36, "OCRB Vornel Glyph", 9},
        {38, 38, "OCRB Vornel Glyph", 9},
        {61, 65, "OCRB Vornel Glyph", 9},
        {72, 75, "OCRB Vornel Glyph", 9},
        {77, 85, "OCRB Vornel Glyph", 9},
        {101, 102, "OCRB Vornel Glyph", 9},
        {105, 111, "OCRB Vornel Glyph", 9},
        {114, 114, "OCRB Vornel Glyph", 9},
        {134, 136, "OCRB Vornel Glyph", 9},
        {138, 138, "OCRB Vornel Glyph", 9},
        {141, 141, "OCRB Vornel Glyph", 9},
        {145, 146, "OCRB Vornel Glyph", 9},
        {41, 45, "OCRB Vornel Glyph", 24},
        {34, 34, "OCRA Vornel Glyph", 12},
        {37, 37, "OCRA Vornel Glyph", 12},
        {86, 87, "OCRA Vornel Glyph", 12},
        {25, 25, "Arial", 5},
        {118, 123, "Arial", 5},
        {116, 117, "Arial", 9},
        {98, 98, "Arial", 9},
        {1, 24, "Arial", 12},
        {30, 33, "Arial", 12},
        {39, 40, "Arial", 12},
        {46, 60, "Arial", 12},
        {66, 71, "Arial", 12},
        {76, 76, "Arial", 12},
        {88, 97, "Arial", 12},
        {99, 100, "Arial", 12},
        {103, 104, "Arial", 12},
        {112, 113, "Arial", 12},
        {115, 115, "Arial", 12},
        {124, 133, "Arial", 12},
        {137, 137, "Arial", 12},
        {139, 140, "Arial", 12},
        {142, 144, "Arial", 12},
        {147, 200, "Arial", 12},
        {-5, 0, "Arial", 12},
    };
    for (const Row& r : rows) {
        for (int v = r.first; v <= r.last; ++v) {
            FontDefault f = DefaultFontFor(v);
            EXPECT_STREQ(f.face, r.face) << v;
            EXPECT_EQ(f.size, r.size) << v;
        }
    }
}

}  // namespace
}  // namespace vg
