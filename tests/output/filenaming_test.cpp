#include "output/filenaming.h"

#include <gtest/gtest.h>

#include "model/symbolsettings.h"

namespace vg {
namespace {

struct NameCase {
    int scheme;
    int family;
    int variation;
    const char* main;
    const char* addOn;
    int format;
    const char* expected;
};

class ProposedName : public ::testing::Test {
protected:
    void SetUp() override { m_saved = SymbolSettings; }
    void TearDown() override { SymbolSettings = m_saved; }
    static void Set(int scheme, int family, int variation, const char* main, const char* addOn) {
        ResetSettingsRecord();
        SymbolSettings.FileName = scheme;
        SymbolSettings.Family = static_cast<int16_t>(family);
        SymbolSettings.Variation = variation;
        SetText(SymbolSettings.OriginalMainText, main);
        SetText(SymbolSettings.AddOnText, addOn);
    }
    SettingsRecord m_saved;
};

TEST_F(ProposedName, EverySchemeAndPrefix) {
    const std::string thirty = "123456789012345678901234567890";
    const NameCase cases[] = {
        {0, 6, 26, "400638133393", "", 1, "Untitled-0001.EPS"},
        {0, 6, 26, "400638133393", "", 0, "Untitled-0001.WMF"},
        {1, 6, 26, "400638133393", "", 2, "Vornel Glyph Graphic 0001.EMF"},
        {2, 6, 26, "400638133393", "12", 1, "40063813339312.EPS"},
        {2, 2, 6, thirty.c_str(), "", 1, "12345678901234567890...890.EPS"},
        {2, 2, 6, "12345678901234567890123456", "", 1, "12345678901234567890123456.EPS"},  // 26 stays
        {3, 6, 26, "12345", "", 1, "12345.EPS"},
        {3, 6, 26, "123456", "", 1, "23456.EPS"},
        {4, 6, 26, "400638133393", "", 1, "EAN-13.400638133393.EPS"},
        {4, 6, 27, "9638507", "", 1, "EAN-8.9638507.EPS"},
        {4, 6, 28, "490123456789", "", 1, "JAN-13.490123456789.EPS"},
        {4, 6, 29, "4901234", "", 1, "JAN-8.4901234.EPS"},
        {4, 6, 114, "03600029145", "", 1, "UPC2EAN.03600029145.EPS"},
        {4, 6, 26, "400638133393", "12345", 1, "EAN-13.40063813339312345.EPS"},
        {4, 2, 6, "ABCDEFGHIJKLMNOPQRSTUVWXY", "", 1, "Code 128.ABCDEFGHIJKLM...WXY.EPS"},
        {4, 2, 6, "ABCDEFGHIJKLMNOPQRS", "", 1, "Code 128.ABCDEFGHIJKLMNOPQRS.EPS"},
        {4, 11, 46, "1234567890123456", "", 1, "MSI_Plessey.123456789...456.EPS"},
        {4, 1, 1, "A1234B", "", 0, "Codabar.A1234B.WMF"},
        {4, 2, 6, "ABC", "", 1, "Code 128.ABC.EPS"},
        {4, 2, 116, "ABC", "", 1, "Vantic128.ABC.EPS"},
        {4, 3, 10, "123", "", 1, "Code 25.123.EPS"},
        {4, 4, 11, "CODE39", "", 1, "Code 39.CODE39.EPS"},
        {4, 5, 24, "C93", "", 1, "Code 93.C93.EPS"},
        {4, 8, 35, "030640615", "", 1, "ISBN.030640615.EPS"},
        {4, 9, 37, "0317847", "", 1, "ISSN.0317847.EPS"},
        {4, 18, 78, "023067118", "", 1, "ISMN.023067118.EPS"},
        {4, 10, 41, "1234567890123", "", 1, "ITF-14.1234567890123.EPS"},
        {4, 10, 39, "1234", "", 1, "ITF.1234.EPS"},
        {4, 11, 46, "1234", "", 1, "MSI_Plessey.1234.EPS"},
        {4, 12, 49, "1234", "", 1, "Pharmacode.1234.EPS"},
        {4, 13, 51, "12345", "", 1, "POSTNET.12345.EPS"},
        {4, 15, 60, "(00)123", "", 1, "UCC_EAN.(00)123.EPS"},
        {4, 15, 81, "(00)123", "", 1, "EAN99.(00)123.EPS"},
        {4, 16, 72, "03600029145", "", 1, "UPC (A).03600029145.EPS"},
        {4, 17, 74, "425261", "", 1, "UPC (E).425261.EPS"},
        {2, 7, 32, "", "", 1, "FIM.C.EPS"},
        {3, 7, 30, "", "", 0, "FIM.A.WMF"},
        {4, 7, 33, "", "", 2, "FIM.D.EMF"},
        {0, 7, 32, "", "", 1, "Untitled-0001.EPS"},
        {5, 6, 26, "400638133393", "", 0, "VGL.WMF"},
        {-1, 6, 26, "400638133393", "", 2, "VGL.EMF"},
    };
    for (const NameCase& c : cases) {
        Set(c.scheme, c.family, c.variation, c.main, c.addOn);
        EXPECT_EQ(ProposeFileName(c.format), c.expected) << c.scheme << " " << c.variation << " " << c.main;
    }
}

TEST_F(ProposedName, DataTextFallsBackThroughTheFields) {
    Set(2, 15, 61, "", "");
    SetText(SymbolSettings.CouponFormatUPCpartText, "5");
    SetText(SymbolSettings.CouponFormat128partText, "(8100)123456");
    EXPECT_EQ(ProposeFileName(1), "5(8100)123456.EPS");
    SetText(SymbolSettings.AddOnText, "51234");
    EXPECT_EQ(ProposeFileName(1), "51234.EPS");
    SetText(SymbolSettings.OriginalMainText, "ABC");
    SetText(SymbolSettings.FACTdataIDtext, "17V");
    EXPECT_EQ(ProposeFileName(1), "17VABC51234.EPS");
    ResetSettingsRecord();
    SymbolSettings.FileName = 2;
    EXPECT_EQ(ProposeFileName(1), ".EPS");
}

TEST(SafeFileName, ReplacesReservedCharactersAndDropsParentheses) {
    EXPECT_EQ(SafeFileName("UPC (A).0360?.EPS"), "UPC A.0360!.EPS");
    EXPECT_EQ(SafeFileName("a\"b*c/d:e<f>g?h\\i|j.WMF"), "a!b!c!d!e!f!g!h!i!j.WMF");
    EXPECT_EQ(SafeFileName("(00)12(34).EMF"), "001234.EMF");
}

}  // namespace
}  // namespace vg
