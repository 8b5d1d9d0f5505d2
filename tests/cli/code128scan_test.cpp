// Code 128 family: written EPS files rendered with Ghostscript and read back by
// ZXing (with the symbology identifier) and zbar.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "clitool.h"

namespace {

using vg::test::Lines;
using vg::test::ShellResult;
using vg::test::TempFolder;

struct Read {
    const char* identifier;  // ZXing's symbology identifier
    const char* zxing;       // ZXing's text, non-graphic characters in <>
};

struct Case {
    const char* name;
    const char* args;         // vglyph make arguments after -v
    std::vector<Read> reads;  // every symbol of the graphic
    bool wide = false;        // 1 mm module: rendered at a lower resolution
    bool allTurns = false;    // every rotation and magnification, not two of them
};

// zbar's text of the same symbol: raw control characters.
std::string ZbarText(std::string text) {
    static const std::pair<const char*, const char*> names[] = {{"<GS>", "\x1D"}, {"<SOH>", "\x01"}};
    for (const auto& [name, raw] : names)
        for (std::size_t at; (at = text.find(name)) != std::string::npos;)
            text.replace(at, std::string(name).size(), raw);
    return text;
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"SetsABCWithShift", "6 --escapes -d '\\x8Ca\\x8CAB1234cd'", {{"]C0", "<SOH>a<SOH>AB1234cd"}}, false, true},
        {"SetsBC", "6 -d 'Ab12345xyz'", {{"]C0", "Ab12345xyz"}}},
        {"HibcCombination", "7 -d '+A123BJC5D6E71/$$52001510X3'", {{"]C0", "+A123BJC5D6E71/$$52001510X3C"}}},
        {"HibcPrimary", "8 -d '+A99912345'", {{"]C0", "+A999123457"}}},
        {"HibcSecondary", "9 -d '+$$52001510X3'", {{"]C0", "+$$52001510X3/"}}},
        {"IsbtDonation", "88 -d '=G12349865432100'", {{"]C0", "=G12349865432100"}}},
        {"IsbtAboRh", "89 -d '=%5100'", {{"]C0", "=%5100"}}},
        {"IsbtCollectionDateTime", "90 -d '&*0123456789'", {{"]C0", "&*0123456789"}}},
        {"IsbtCollectionDate", "91 -d '=*012345'", {{"]C0", "=*012345"}}},
        {"IsbtExpiration", "92 -d '=>012345'", {{"]C0", "=>012345"}}},
        {"IsbtExpirationDateTime", "93 -d '&>0123456789'", {{"]C0", "&>0123456789"}}},
        {"IsbtManufacturer", "94 -d '=)ABCDE12345'", {{"]C0", "=)ABCDE12345"}}},
        {"IsbtProduct", "95 -d '=<E0001V00'", {{"]C0", "=<E0001V00"}}},
        {"IsbtSpecialTesting", "96 -d '&(N0001'", {{"]C0", "&(N0001"}}},
        {"UccGeneral", "60 -d '(10)ABC(17)991231'", {{"]C1", "10ABC<GS>17991231"}}, true, true},
        {"UccHibc01", "66 -d '(01)12345678901231(240)XYZ'", {{"]C1", "0112345678901231240XYZ"}}},
        {"UccHibcPrimary", "67 -d '(01)1234567890123'", {{"]C1", "0112345678901231"}}},
        {"UccHibcSecondary", "68 -d '(22)123101AB'", {{"]C1", "22123101AB"}}},
        {"UccShipTo420", "69 -d '(420)12345'", {{"]C1", "42012345"}}},
        {"UccShipTo421", "70 -d '(421)840123'", {{"]C1", "421840123"}}},
        {"UccShippingContainer", "71 -d '(00)12345678901234567'", {{"]C1", "00123456789012345675"}}},
        {"UccGsrn", "124 -d '(8018)12345678901234567'", {{"]C1", "8018123456789012345675"}}, true},
        {"UccGln410", "125 -d '(410)123456789012'", {{"]C1", "4101234567890128"}}, true},
        {"UccGln411", "126 -d '(411)123456789012'", {{"]C1", "4111234567890128"}}, true},
        {"UccGln412", "127 -d '(412)123456789012'", {{"]C1", "4121234567890128"}}, true},
        {"UccGln413", "128 -d '(413)123456789012'", {{"]C1", "4131234567890128"}}, true},
        {"UccGln414", "129 -d '(414)123456789012'", {{"]C1", "4141234567890128"}}, true},
        {"UccGln415", "130 -d '(415)123456789012'", {{"]C1", "4151234567890128"}}, true},
        {"UccGrai", "131 -d '(8003)12345678901231(10)12'", {{"]C1", "800312345678901231<GS>1012"}}, true},
        {"UccGiai", "132 -d '(8004)1234ABC'", {{"]C1", "80041234ABC"}}, true},
        {"UccCoupon1",
         "61 --upc-part 51234567890 --ucc-part '(8100)123456'",
         {{"]E0", "512345678900"}, {"]C1", "8100123456"}},
         false,
         true},
        {"UccCoupon2",
         "62 --upc-part 51234567890 --ucc-part '(8101)1234567890'",
         {{"]E0", "512345678900"}, {"]C1", "81011234567890"}}},
        {"UccCoupon3",
         "63 --upc-part 51234567890 --ucc-part '(8100)123456(21)12345678'",
         {{"]E0", "512345678900"}, {"]C1", "8100123456<GS>2112345678"}}},
        {"UccCoupon4",
         "64 --upc-part 51234567890 --ucc-part '(8101)1234567890(21)12345678'",
         {{"]E0", "512345678900"}, {"]C1", "81011234567890<GS>2112345678"}}},
        {"UccCoupon5", "65 --upc-part 51234567890 --ucc-part '(8102)12'", {{"]E0", "512345678900"}, {"]C1", "810212"}}},
        {"EanCoupon1",
         "81 --upc-part 991234567890 --ucc-part '(8100)123456'",
         {{"]E0", "9912345678909"}, {"]C1", "8100123456"}}},
        {"EanCoupon2",
         "82 --upc-part 991234567890 --ucc-part '(8101)1234567890'",
         {{"]E0", "9912345678909"}, {"]C1", "81011234567890"}}},
        {"EanCoupon3",
         "83 --upc-part 991234567890 --ucc-part '(8100)123456(21)12345678'",
         {{"]E0", "9912345678909"}, {"]C1", "8100123456<GS>2112345678"}}},
        {"EanCoupon4",
         "84 --upc-part 991234567890 --ucc-part '(8101)1234567890(21)12345678'",
         {{"]E0", "9912345678909"}, {"]C1", "81011234567890<GS>2112345678"}}},
        {"EanCoupon5",
         "85 --upc-part 991234567890 --ucc-part '(8102)12'",
         {{"]E0", "9912345678909"}, {"]C1", "810212"}}},
    };
    return cases;
}

struct Turn {
    int rotation;
    int magnification;
};

// One render: every symbol read by both decoders, nothing else read.
std::string ScanOne(const Case& c, Turn t, const std::string& base) {
    const std::string make =
        "make -v " + std::string(c.args) + " --no-preview --set Rotation=" + std::to_string(t.rotation) +
        " --set Magnification=" + std::to_string(t.magnification) + " -o " + vg::test::Quote(base + ".eps");
    vg::test::ToolResult made = vg::test::RunTool(make);
    if (made.status != 0) return "make failed (" + std::to_string(made.status) + "): " + made.err;

    // About three pixels to the module.
    const int dpi = (c.wide ? 100 : 300) * (t.magnification > 100 ? 1 : 2) / 2;
    ShellResult gs = vg::test::RenderEps(base + ".eps", base + ".png", dpi);
    if (gs.status != 0) return "Ghostscript failed: " + gs.out;

    std::vector<std::string> expected, got;
    for (const Read& r : c.reads) expected.push_back(std::string(r.identifier) + " " + r.zxing);
    std::string identifier;
    for (const std::string& line : Lines(vg::test::ReadZxing(base + ".png", "-escape").out)) {
        if (line.rfind("Identifier:", 0) == 0) identifier = line.substr(line.find_last_of(' ') + 1);
        if (line.rfind("Text:", 0) == 0) {
            const std::size_t open = line.find('"');
            got.push_back(line.substr(open + 1, line.size() - open - 2));
        }
        // The identifier follows the text in each block.
        if (line.rfind("Identifier:", 0) == 0 && !got.empty()) got.back() = identifier + " " + got.back();
    }
    std::sort(expected.begin(), expected.end());
    std::sort(got.begin(), got.end());
    std::string problems;
    if (got != expected) {
        problems += "ZXing read:";
        for (const std::string& g : got) problems += " [" + g + "]";
        problems += "\n";
    }

    std::vector<std::string> zbarExpected, zbarGot = Lines(vg::test::ReadZbar(base + ".png", "-q -Supca.enable").out);
    for (const Read& r : c.reads) {
        const bool linear = std::string(r.identifier) != "]E0";
        const std::string text = ZbarText(r.zxing);
        zbarExpected.push_back(linear ? "CODE-128:" + text : (text.size() == 12 ? "UPC-A:" : "EAN-13:") + text);
    }
    std::sort(zbarExpected.begin(), zbarExpected.end());
    std::sort(zbarGot.begin(), zbarGot.end());
    if (zbarGot != zbarExpected) {
        problems += "zbar read:";
        for (const std::string& g : zbarGot) problems += " [" + g + "]";
        problems += "\n";
    }
    return problems;
}

TEST(Code128Scan, EveryVariationReadsBack) {
    if (const char* tool = vg::test::MissingScanTool()) GTEST_SKIP() << tool << " is not installed";
    struct Job {
        const Case* c;
        Turn t;
        std::string result;
    };
    std::vector<Job> jobs;
    for (const Case& c : Cases()) {
        std::vector<Turn> turns = {{0, 80}, {90, 200}};
        if (c.allTurns) turns = {{0, 80}, {0, 200}, {90, 80}, {90, 200}};
        for (Turn t : turns) jobs.push_back({&c, t, ""});
    }
    TempFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < jobs.size();)
            jobs[i].result = ScanOne(*jobs[i].c, jobs[i].t, dir.File("case" + std::to_string(i)));
    };
    std::thread helper(work);
    work();
    helper.join();
    for (const Job& j : jobs)
        EXPECT_EQ(j.result, "") << j.c->name << ", rotation " << j.t.rotation << ", " << j.t.magnification << " %";
}

}  // namespace

namespace {

// The four numbers after a "%%BoundingBox:" line of a text.
std::vector<int> BoundingBox(const std::string& text) {
    std::vector<int> box;
    const std::size_t at = text.find("%%BoundingBox:");
    if (at == std::string::npos) return box;
    std::istringstream in(text.substr(at + 14));
    for (int v, i = 0; i < 4 && in >> v; ++i) box.push_back(v);
    return box;
}

// Vantic128 has no reader: its picture, end pieces and texts must at least lie
// inside the bounding box, as the coupons' second text must.
TEST(Code128Scan, MarksStayInsideTheBoundingBox) {
    if (!vg::test::HaveTool("gs")) GTEST_SKIP() << "gs is not installed";
    TempFolder dir;
    const char* symbols[] = {"116 -d 123456",
                             "117 -d 123456",
                             "118 -d 0123456789",
                             "121 -d 9495",
                             "123 -d 123456",
                             "63 --upc-part 51234567890 --ucc-part '(8100)123456(21)12345678'",
                             "84 --upc-part 991234567890 --ucc-part '(8101)1234567890(21)12345678'"};
    for (const char* args : symbols) {
        for (int magnification : {100, 200}) {
            SCOPED_TRACE(std::string(args) + " at " + std::to_string(magnification) + " %");
            const std::string eps = dir.File("box.eps");
            vg::test::ToolResult made =
                vg::test::RunTool("make -v " + std::string(args) + " --no-preview -o " + vg::test::Quote(eps) +
                                  " --set Magnification=" + std::to_string(magnification));
            ASSERT_EQ(made.status, 0) << made.err;
            const std::vector<int> declared = BoundingBox(vg::test::ReadWholeFile(eps));
            ShellResult marks =
                vg::test::RunShell("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox " + vg::test::Quote(eps) + " 2>&1");
            const std::vector<int> drawn = BoundingBox(marks.out);
            ASSERT_EQ(declared.size(), 4u);
            ASSERT_EQ(drawn.size(), 4u) << marks.out;
            EXPECT_GE(drawn[0], declared[0]);
            EXPECT_GE(drawn[1], declared[1]);
            EXPECT_LE(drawn[2], declared[2]);
            EXPECT_LE(drawn[3], declared[3]);
            // Something beside the bars was drawn: the picture reaches the left edge.
            if (std::string(args).rfind("11", 0) == 0 || std::string(args).rfind("12", 0) == 0) {
                EXPECT_LE(drawn[0], declared[0] + 1);
            }
        }
    }
}

}  // namespace
