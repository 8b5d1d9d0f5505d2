#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "dialogs/additionaltextmodel.h"
#include "dialogs/edittextmodel.h"
#include "dialogs/symboloptionsmodel.h"
#include "entry/symbolinput.h"
#include "geometry/variationdefaults.h"
#include "recordingview.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::InputBarHarness;

// A symbol in the record, as when a dialog is opened on it.
struct OpenSymbol {
    OpenSymbol(int variation, const char* data, int unit = -1, const char* addOn = nullptr) : h(variation) {
        if (unit >= 0) SymbolSettings.UnitOfMeasure = unit;
        h.Paste(h.Main(), data);
        if (addOn) h.Paste(ctl::kAddOn, addOn);
        h.recorder.sink.messages.clear();
    }
    InputBarHarness h;
};

TEST(SymbolOptions, UpcAt2400Dpi) {
    OpenSymbol sym(72, "03600029145");
    SymbolOptionsModel m(SymbolSettings, BarPattern);
    EXPECT_EQ(m.Method(), 0);
    ASSERT_EQ(m.XRows().size(), 38u);
    EXPECT_NEAR(m.XRows().front().x, 0.75, 1e-9);
    EXPECT_NEAR(m.XRows().back().x, 1.86, 1e-9);
    EXPECT_EQ(m.Text(sod::kBwr), "4");
    EXPECT_EQ(m.Text(sod::kBwrUnit), "dots");
    m.ChooseVerification(3);
    EXPECT_EQ(m.Text(sod::kGs), "35");
    EXPECT_FALSE(m.ReadOnly(sod::kGs));
    m.ChooseVerification(1);
    EXPECT_EQ(m.Text(sod::kGs), "");
}

TEST(SymbolOptions, DpiTypingAndRecompute) {
    OpenSymbol sym(72, "03600029145");
    SymbolOptionsModel m(SymbolSettings, BarPattern);
    EXPECT_FALSE(m.TypeDpi("2"));
    EXPECT_EQ(m.X(), 0);
    EXPECT_EQ(m.XRowText(0), "      0.000000                              0.00                               0.000000");
    EXPECT_FALSE(m.TypeDpi("24"));
    EXPECT_EQ(m.X(), 0);
    EXPECT_FALSE(m.TypeDpi("240"));
    EXPECT_EQ(m.Dpi(), 240);
    EXPECT_EQ(m.Text(sod::kBwr), "1");  // below 300 dpi
    EXPECT_FALSE(m.XRows().empty());
    DialogCheck bad = m.TypeDpi("2x");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->text, "输入无效的字符");
    // The drop-down takes a typed resolution into the list, in order.
    m.TypeDpi("700");
    EXPECT_FALSE(m.OpenDpiList());
    const std::vector<int>& list = m.DpiList();
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    EXPECT_EQ(std::count(list.begin(), list.end(), 700), 1);
    EXPECT_EQ(GsCalibrationDefault(300), 28);
    EXPECT_EQ(GsCalibrationDefault(600), 29);
    EXPECT_EQ(GsCalibrationDefault(1200), 31);
    EXPECT_EQ(GsCalibrationDefault(20000), 93);
}

// Each check of OK: its message, caption and the field that gets the focus.
TEST(SymbolOptions, ChecksOfOk) {
    struct Case {
        const char* name;
        int variation;
        const char* data;
        int unit;
        std::function<void(SymbolOptionsModel&)> edit;
        int field;
        const char* caption;
        const char* text;
    } cases[] = {
        {"dpi out of range", 72, "03600029145", 0, [](auto& m) { m.TypeDpi("10"); }, sod::kDpi, "打印机分辨率 (dpi)",
         "超出范围:  30 . . 20000"},
        {"dpi not digits", 72, "03600029145", 0, [](auto& m) { m.TypeDpi("6o0"); }, sod::kDpi, "打印机分辨率 (dpi)",
         "输入无效"},
        {"dpi before bar height", 72, "03600029145", 0,
         [](auto& m) {
             m.TypeBarHeight("");
             m.TypeDpi("10");
         },
         sod::kDpi, "打印机分辨率 (dpi)", "超出范围:  30 . . 20000"},
        {"BWR incomplete", 72, "03600029145", 0, [](auto& m) { m.TypeBwr("-"); }, sod::kBwr, "Bar Width Reduction",
         "Your input is incomplete."},
        {"BWR dots too long", 72, "03600029145", 0, [](auto& m) { m.TypeBwr("123456"); }, sod::kBwr,
         "Bar Width Reduction", "You cannot enter more than 5 characters in this field."},
        {"BWR dots not digits", 72, "03600029145", 0, [](auto& m) { m.TypeBwr("1.5"); }, sod::kBwr,
         "Bar Width Reduction", "输入无效的字符"},
        {"BWR of all five dots", 11, "ABC", 0,
         [](auto& m) {
             m.ChooseXRow(0);  // 5 dots at 2400 dpi
             m.TypeBwr("5");
         },
         sod::kBwr, "Bar Width Reduction", "超出范围:  -4 . . 4"},
        {"bar height empty", 72, "03600029145", 2, [](auto& m) { m.TypeBarHeight(""); }, sod::kBarHeight, "条码高度",
         "超出范围:  2.250000 . . 864.000000"},
        {"bar height two dots", 72, "03600029145", 2, [](auto& m) { m.TypeBarHeight("1.2.3"); }, sod::kBarHeight,
         "条码高度", "输入无效"},
        {"bar height too high", 72, "03600029145", 2, [](auto& m) { m.TypeBarHeight("864.5"); }, sod::kBarHeight,
         "条码高度", "超出范围:  2.250000 . . 864.000000"},
        {"bearer too thick", 72, "03600029145", 2, [](auto& m) { m.TypeBearer("37"); }, sod::kBearer, "Bearer Bar",
         "超出范围:  0 . . 36.000000"},
        {"symbol width two dots", 11, "ABC", 2,
         [](auto& m) {
             m.ChooseMethod(1);
             m.TypeSymbolWidth("1..2");
         },
         sod::kWidth, "Symbol Width", "输入无效"},
        {"magnification of Code 39", 11, "ABC", 2,
         [](auto& m) {
             m.ChooseMethod(1);
             m.TypeMagnification("30");
         },
         sod::kMagnification, "缩放", "超出范围:  33 . . 1000"},
        {"magnification of UPC", 72, "03600029145", 2,
         [](auto& m) {
             m.ChooseMethod(1);
             m.TypeMagnification("250");
         },
         sod::kMagnification, "缩放", "超出范围:  80 . . 200"},
        {"X above the range, magnification within", 11, "ABC", 2,
         [](auto& m) {
             m.ChooseMethod(1);
             m.TypeX("6.48");  // 900 %
         },
         sod::kX, "Bar x-dimension", "超出范围:  0.144000 . . 5.760000"},
        {"ratio above 4.2", 11, "ABC", 2,
         [](auto& m) {
             m.ChooseMethod(1);
             m.TypeRatio("4.5");
         },
         sod::kRatio, "W/N Ratio", "超出范围:  1.80 . . 4.20"},
        {"GS calibration", 72, "03600029145", 0,
         [](auto& m) {
             m.ChooseVerification(3);
             m.TypeGsCalibration("5");
         },
         sod::kGs, "Vornel Glyph", "Please enter an integer between 10 and 93."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenSymbol sym(c.variation, c.data, c.unit);
        const SettingsRecord before = SymbolSettings;
        SymbolOptionsModel m(SymbolSettings, BarPattern);
        c.edit(m);
        const double xNow = SymbolSettings.CurBarXDimension;  // X edits store at once
        DialogCheck p = m.Ok();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->field, c.field);
        EXPECT_EQ(p->caption, c.caption);
        EXPECT_EQ(p->text, c.text);
        // A refusal stores nothing.
        EXPECT_EQ(SymbolSettings.PrinterDpi, before.PrinterDpi);
        EXPECT_EQ(SymbolSettings.BarHeight, before.BarHeight);
        EXPECT_EQ(SymbolSettings.LastMethod, before.LastMethod);
        EXPECT_EQ(SymbolSettings.CurBarXDimension, xNow);
    }
}

TEST(SymbolOptions, CustomEditsRecomputeFromTheNominalValues) {
    OpenSymbol sym(11, "ABC", 2);
    SymbolOptionsModel m(SymbolSettings, BarPattern);
    EXPECT_FALSE(m.ChooseMethod(1));
    EXPECT_EQ(m.Text(sod::kBwrUnit), "点");
    const double d = DefaultXDimension(4, 11);
    const double w0 =
        ComputeSymbolWidth(4, 11, 0, BarPattern, std::atof(m.Text(sod::kRatio).c_str()), d, DefaultWideBase(4, 11));
    EXPECT_FALSE(m.TypeSymbolWidth(Printf("%f", w0 * 1.5)));
    EXPECT_NEAR(std::atof(m.Text(sod::kX).c_str()), d * 1.5, 1e-5);
    EXPECT_EQ(m.Text(sod::kMagnification), "150.00");
    EXPECT_NEAR(SymbolSettings.CurBarXDimension, d * 1.5, 1e-5);
    // 25 is still being typed; no message and a zero display.
    EXPECT_FALSE(m.TypeMagnification("25"));
    EXPECT_EQ(m.Text(sod::kX), "0.000000");
    EXPECT_FALSE(m.TypeMagnification("200"));
    EXPECT_EQ(m.Text(sod::kX), Printf("%f", d * 2));
    // A BWR that leaves less than 0.000072 points of bar is put back to 0.
    EXPECT_FALSE(m.TypeBwr(Printf("%.6f", d * 2 - 0.00005)));
    EXPECT_EQ(m.Text(sod::kBwr), "0");
    EXPECT_EQ(m.Text(sod::kBwrReadout), "  0.00  0.000");
    EXPECT_FALSE(m.Ok());
    EXPECT_EQ(SymbolSettings.LastMethod, 1);
    EXPECT_NEAR(SymbolSettings.Magnification, 200, 1e-9);
    EXPECT_EQ(SymbolSettings.BarWidthReduction, 0);
}

TEST(SymbolOptions, OkAtSixHundredDpiStoresTheGridRow) {
    OpenSymbol sym(72, "03600029145");
    SymbolResizedByUser = 0;
    SymbolOptionsModel m(SymbolSettings, BarPattern);
    m.ChooseDpi(600);
    EXPECT_EQ(m.Text(sod::kBwr), "2");
    ASSERT_GE(m.SelectedXRow(), 0);
    m.ChooseXRow(1);
    const XDimensionRow row = m.XRows()[1];
    EXPECT_FALSE(m.Ok());
    AfterSymbolOptions(true, &sym.h.bar);
    EXPECT_EQ(SymbolSettings.PrinterDpi, 600);
    EXPECT_EQ(SymbolSettings.CurBarXDimension, row.x);
    EXPECT_NEAR(SymbolSettings.CurBarXDimension / DotSize(600), std::round(row.x / DotSize(600)), 1e-9);
    EXPECT_NEAR(SymbolSettings.Magnification, row.magnification * 100, 1e-9);
    EXPECT_EQ(SymbolSettings.BarWidthReduction, 2);
    EXPECT_EQ(SymbolResizedByUser, 1);
}

TEST(SymbolOptions, RatioStoredOnlyForEps) {
    for (int format : {0, 1}) {
        SCOPED_TRACE(format);
        OpenSymbol sym(11, "ABC");
        SymbolSettings.Format = format;
        const double before = SymbolSettings.CurRatio;
        SymbolOptionsModel m(SymbolSettings, BarPattern);
        ASSERT_GT(m.Ratios().size(), 1u);
        const int other = m.SelectedRatio() == 0 ? 1 : 0;
        m.ChooseRatio(other);
        EXPECT_FALSE(m.Ok());
        EXPECT_EQ(SymbolSettings.CurRatio, format == 1 ? m.Ratios()[other] : before);
    }
}

// ---- Text dialogs ----

TEST(EditText, IssnDigitsAndDistance) {
    {
        OpenSymbol sym(38, "0317847");
        EditTextModel m(SymbolSettings, {"Arial"});
        EXPECT_TRUE(m.Enabled(etd::kIssnDigits));
        m.TypeIssnDigits("1");
        DialogCheck p = m.Ok();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->field, etd::kIssnDigits);
        EXPECT_EQ(p->text, "Please enter two extra digits for ISSN.");
        EXPECT_EQ(p->caption, "ISSN Extra Digits");
    }
    {
        OpenSymbol sym(26, "590123412345", 2);
        SymbolSettings.ISSNExtraDigits = "12";
        EditTextModel m(SymbolSettings, {"Arial"});
        EXPECT_FALSE(m.Enabled(etd::kIssnDigits));
        m.TypeDistance("-6");
        EXPECT_FALSE(m.Ok());
        EXPECT_EQ(SymbolSettings.ISSNExtraDigits, "");
        EXPECT_EQ(SymbolSettings.DistanceToBars, -6);
        EditTextModel again(SymbolSettings, {"Arial"});
        again.TypeDistance("-6.5");
        DialogCheck p = again.Ok();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->field, etd::kDistance);
        EXPECT_EQ(p->caption, "Distance to Bars");
        EXPECT_EQ(p->text, "超出范围:  -6.000000 . . 32.000000");
    }
}

TEST(EditText, TextAboveUnticksAddOnBelowAndCentring) {
    OpenSymbol sym(72, "03600029145", -1, "12");
    ASSERT_STREQ(SymbolSettings.AddOnText, "12");
    EditTextModel m(SymbolSettings, {"Arial"});
    m.SetCheck(etd::kAddonTextDown, true);
    m.SetCheck(etd::kCenterSysChk, true);
    m.SetCheck(etd::kTextAbove, true);
    EXPECT_EQ(m.Value(etd::kAddonTextDown), 0);
    EXPECT_EQ(m.Value(etd::kCenterSysChk), 0);
    EXPECT_FALSE(m.Enabled(etd::kAddonTextDown));
    EXPECT_FALSE(m.Enabled(etd::kCenterSysChk));
    m.SetCheck(etd::kTextAbove, false);
    EXPECT_TRUE(m.Enabled(etd::kAddonTextDown));
    EXPECT_TRUE(m.Enabled(etd::kCenterSysChk));
    // A font that is not installed becomes Arial.
    SymbolSettings.FontName4humanreadable = "No Such Face";
    EditTextModel other(SymbolSettings, {"Arial", "DejaVu Sans"});
    EXPECT_EQ(other.Text(etd::kFont), "Arial");
}

// The ignore boxes are off where hyphens or spaces are data; the fields stay.
TEST(EditText, IgnoreBoxesFollowTheDataCharacters) {
    for (auto [v, data, hyphens, spaces] : {std::tuple{26, "590123412345", true, true},
                                            {11, "AB", false, false},
                                            {1, "12", false, true},
                                            {103, "ab", false, false}}) {
        OpenSymbol sym(v, data);
        SymbolSettings.IgnoreHyphens = 1;
        EditTextModel m(SymbolSettings, {"Arial"});
        EXPECT_EQ(m.Enabled(etd::kIgnoreHyphens), hyphens) << v;
        EXPECT_EQ(m.Enabled(etd::kIgnoreSpaces), spaces) << v;
        EXPECT_TRUE(!m.Ok() && SymbolSettings.IgnoreHyphens == 1) << v;
    }
}

TEST(TextDialogs, SizeOfOneRefusedAtOnce) {
    OpenSymbol sym(72, "03600029145");
    EditTextModel text(SymbolSettings, {"Arial"});
    AdditionalTextModel additional(SymbolSettings, {"Arial"});
    for (DialogCheck p : {text.TypeSize("1"), additional.TypeSize("1")}) {
        ASSERT_TRUE(p);
        EXPECT_EQ(p->text, "超出范围:  2 . . 200");
        EXPECT_EQ(p->caption, "文件大小");
        EXPECT_EQ(p->field, etd::kSize);
    }
    EXPECT_TRUE(text.TypeSize("2a"));
    EXPECT_FALSE(text.TypeSize("200"));
}

TEST(AdditionalText, RotateAlignAndPresets) {
    OpenSymbol sym(72, "03600029145", 2);
    const int f = SymbolSettings.Family, v = SymbolSettings.Variation;
    const double w = ComputeSymbolWidth(f, v, 0, BarPattern, SymbolSettings.CurRatio, DefaultXDimension(f, v),
                                        DefaultWideBase(f, v));
    const double left = LeftQuietZone(f, v);
    // A text as wide as the symbol.
    AdditionalTextModel m(SymbolSettings, {"Arial"}, [w](auto&&...) { return w; });
    m.TypeText("WIDE");
    m.ChooseAlign(1);
    EXPECT_EQ(m.Text(atd::kH), Printf("%.3f", left));
    m.ChooseAlign(2);
    EXPECT_EQ(m.Text(atd::kH), Printf("%.3f", left));
    m.ChooseAlign(0);
    EXPECT_EQ(m.Text(atd::kH), Printf("%.3f", left));
    for (int turn = 1; turn <= 4; ++turn) {
        m.Rotate();
        EXPECT_EQ(m.Rotation(), turn * 90 % 360);
    }
    EXPECT_EQ(m.Align(), 4);
    m.ChooseAlign(3);
    EXPECT_EQ(m.Rotation(), 0);
    m.TypeH("12");
    EXPECT_EQ(m.Align(), 4);
    m.TypeV("-900");
    DialogCheck p = m.Ok();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->field, atd::kV);
    EXPECT_EQ(p->text, "超出范围:  -864.000000 . . 864.000000");
    m.TypeV("-10");
    m.Rotate();
    EXPECT_FALSE(m.Ok());
    EXPECT_EQ(SymbolSettings.AdditionalText, "WIDE");
    EXPECT_EQ(SymbolSettings.H, 12);
    EXPECT_EQ(SymbolSettings.V, -10);
    EXPECT_EQ(SymbolSettings.AlignAT, 4);
    EXPECT_EQ(SymbolSettings.Rotation4AdditionalText, 90);
}

TEST(AdditionalText, LongTextIsCutAndTheInputBarKeepsIt) {
    OpenSymbol sym(72, "03600029145");
    AdditionalTextModel m(SymbolSettings, {"Arial"}, nullptr);
    m.TypeText(std::string(300, 'A'));
    EXPECT_FALSE(m.Ok());
    ASSERT_EQ(sym.h.recorder.sink.messages.size(), 1u);
    EXPECT_EQ(sym.h.recorder.sink.messages[0].text, "Input too long");
    EXPECT_EQ(sym.h.recorder.sink.messages[0].caption, "文字");
    EXPECT_EQ(SymbolSettings.AdditionalText.size(), 254u);
    EditTextModel text(SymbolSettings, {"Arial"});
    text.SetCheck(etd::kBold, true);
    EXPECT_FALSE(text.Ok());
    ProgrammaticInput = 0;
    AfterEditText(sym.h.bar);
    EXPECT_EQ(ProgrammaticInput, 1);
    EXPECT_EQ(SymbolSettings.AdditionalText.size(), 254u);
    EXPECT_EQ(SymbolSettings.Bold, 1);
    EXPECT_TRUE(sym.h.bar.SymbolReady());
}

}  // namespace
}  // namespace vg
