// vglyph pattern for every variation of the Code 128 family, and the text edges
// of the command line (UTF-8, Windows-1252, byte escapes).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "clitool.h"

namespace {

using vg::test::Lines;
using vg::test::RunTool;
using vg::test::ToolResult;

constexpr const char* kStartB = "B2S1B1S2B1S4";
constexpr const char* kStartC = "B2S1B1S2B3S2";
constexpr const char* kStop = "B2S3B3S1B1S1B2";

TEST(Code128Pattern, EveryVariation) {
    struct Case {
        const char* args;
        const char* start;  // first elements; "" for Vantic128, which has no start character
        const char* encoded;
    } cases[] = {
        {"6 -d 'Ab12345xyz'", kStartB, "Ab12345xyz"},
        {"7 -d '+A123BJC5D6E71/$$52001510X3'", kStartB, "+A123BJC5D6E71/$$52001510X3C"},
        {"8 -d '+A99912345'", kStartB, "+A999123457"},
        {"9 -d '+$$52001510X3'", kStartB, "+$$52001510X3/"},
        {"60 -d '(10)ABC(17)991231'", kStartB, "(10)ABC(17)991231"},
        {"61 --upc-part 51234567890 --ucc-part '(8100)123456'", "B1S1B1", "512345678900 (8100)123456"},
        {"62 --upc-part 51234567890 --ucc-part '(8101)1234567890'", "B1S1B1", "512345678900 (8101)1234567890"},
        {"63 --upc-part 51234567890 --ucc-part '(8100)123456(21)12345678'", "B1S1B1",
         "512345678900 (8100)123456(21)12345678"},
        {"64 --upc-part 51234567890 --ucc-part '(8101)1234567890(21)12345678'", "B1S1B1",
         "512345678900 (8101)1234567890(21)12345678"},
        {"65 --upc-part 51234567890 --ucc-part '(8102)12'", "B1S1B1", "512345678900 (8102)12"},
        {"66 -d '(01)12345678901231(240)XYZ'", kStartC, "(01)12345678901231(240)XYZ"},
        {"67 -d '(01)1234567890123'", kStartC, "(01)12345678901231"},
        {"68 -d '(22)123101AB'", kStartC, "(22)123101AB"},
        {"69 -d '(420)12345'", kStartC, "(420)12345"},
        {"70 -d '(421)840123'", kStartC, "(421)840123"},
        {"71 -d '(00)12345678901234567'", kStartC, "(00)123456789012345675"},
        {"81 --upc-part 991234567890 --ucc-part '(8100)123456'", "B1S1B1", "9912345678909 (8100)123456"},
        {"82 --upc-part 991234567890 --ucc-part '(8101)1234567890'", "B1S1B1", "9912345678909 (8101)1234567890"},
        {"83 --upc-part 991234567890 --ucc-part '(8100)123456(21)12345678'", "B1S1B1",
         "9912345678909 (8100)123456(21)12345678"},
        {"84 --upc-part 991234567890 --ucc-part '(8101)1234567890(21)12345678'", "B1S1B1",
         "9912345678909 (8101)1234567890(21)12345678"},
        {"85 --upc-part 991234567890 --ucc-part '(8102)12'", "B1S1B1", "9912345678909 (8102)12"},
        {"88 -d '=G12349865432100'", kStartB, "=G12349865432100"},
        {"89 -d '=%5100'", kStartB, "=%5100"},
        {"90 -d '&*0123456789'", kStartB, "&*0123456789"},
        {"91 -d '=*012345'", kStartB, "=*012345"},
        {"92 -d '=>012345'", kStartB, "=>012345"},
        {"93 -d '&>0123456789'", kStartB, "&>0123456789"},
        {"94 -d '=)ABCDE12345'", kStartB, "=)ABCDE12345"},
        {"95 -d '=<E0001V00'", kStartB, "=<E0001V00"},
        {"96 -d '&(N0001'", kStartB, "&(N0001"},
        {"116 -d 123456", "", "123456"},
        {"117 -d 123456", "", "123456"},
        {"118 -d 123456", "", "123456"},
        {"119 -d 123456", "", "123456"},
        {"120 -d 123456", "", "123456"},
        {"121 -d 123456", "", "123456"},
        {"122 -d 123456", "", "123456"},
        {"123 -d 9495", "", "9495"},
        {"124 -d '(8018)12345678901234567'", kStartC, "(8018)123456789012345675"},
        {"125 -d '(410)123456789012'", kStartC, "(410)1234567890128"},
        {"126 -d '(411)123456789012'", kStartC, "(411)1234567890128"},
        {"127 -d '(412)123456789012'", kStartC, "(412)1234567890128"},
        {"128 -d '(413)123456789012'", kStartC, "(413)1234567890128"},
        {"129 -d '(414)123456789012'", kStartC, "(414)1234567890128"},
        {"130 -d '(415)123456789012'", kStartC, "(415)1234567890128"},
        {"131 -d '(8003)12345678901231(10)12'", kStartC, "(8003)12345678901231(10)12"},
        {"132 -d '(8004)1234ABC'", kStartC, "(8004)1234ABC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ToolResult r = RunTool(std::string("pattern -v ") + c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_EQ(lines.size(), 4u);
        const std::string pattern = lines[0].substr(std::string("BarPattern: ").size());
        EXPECT_EQ(pattern.rfind(c.start, 0), 0u) << pattern;
        if (!*c.start) {
            EXPECT_NE(pattern.rfind("B2S1B1S", 0), 0u) << "a start character";
        }
        EXPECT_EQ(pattern.substr(pattern.size() - 14), kStop);
        EXPECT_EQ(lines[1], std::string("EncodedText: ") + c.encoded);
    }
}

TEST(Code128Pattern, TextEdges) {
    struct Case {
        const char* args;
        int status;
        const char* encoded;  // nullptr: no pattern lines
        const char* message;  // part of standard error
    } cases[] = {
        // Windows-1252 bytes typed as UTF-8 and as escapes give the same symbol.
        {"6 -d 'ŒaŒAB'", 0, "ŒaŒAB", ""},
        {"6 --escapes -d '\\x8Ca\\x8CAB'", 0, "ŒaŒAB", ""},
        {"6 --escapes -d 'A\\\\x41'", 0, "A\\x41", ""},
        {"6 -d 'A\\x41'", 0, "A\\x41", ""},
        {"6 -d 'A中B'", 2, nullptr, "'中' (U+4E2D) has no Windows-1252 form"},
        {"6 -d \"$(printf 'A\\377')\"", 2, nullptr, "0xFF at position 2 is not UTF-8"},
        {"6 --escapes -d 'A\\x4'", 2, nullptr, "needs two hexadecimal digits"},
        // A byte no code set holds: the system's own refusal, no pattern.
        {"6 --escapes -d 'AB\\x01'", 2, "", "character '\\x01' at position 3 is not accepted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ToolResult r = RunTool(std::string("pattern -v ") + c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        const auto lines = Lines(r.out);
        if (!c.encoded) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0] == "BarPattern: ", c.status != 0);
        EXPECT_EQ(lines[1], std::string("EncodedText: ") + c.encoded);
    }
    // Stored in Windows-1252, shown again in UTF-8.
    vg::test::TempFolder dir;
    const std::string eps = dir.File("edge.eps");
    ASSERT_EQ(RunTool("make -v 6 -d 'ŒA' --set 'AdditionalText=café' --no-preview -o " + vg::test::Quote(eps)).status,
              0);
    EXPECT_NE(vg::test::ReadWholeFile(eps).find("%%_AdditionalText: caf\xE9\r\n"), std::string::npos);
    const auto opened = Lines(RunTool("open " + vg::test::Quote(eps)).out);
    for (const char* line : {"OriginalMainText: ŒA", "AdditionalText: café"})
        EXPECT_NE(std::find(opened.begin(), opened.end(), line), opened.end()) << line;

    ToolResult help = RunTool("--help");
    EXPECT_NE(help.out.find("--escapes"), std::string::npos);
}

}  // namespace
