#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "symbology/upce.h"

namespace vg {
namespace {

struct SuppressCase {
    const char* ten;
    int code;
    const char* six;
};

TEST(UpcE, SuppressZeros) {
    const SuppressCase cases[] = {
        {"1234500005", 0, "123455"},                                                      // m5 set, p5 >= 5
        {"1234500009", 0, "123459"}, {"1234500004", 4, ""},                               // p5 below 5
        {"1234510005", 4, ""},                                                            // product digits not zero
        {"1234000007", 0, "123474"},                                                      // m4 set
        {"1234000100", 3, ""},       {"1230000045", 0, "123453"},                         // m3 3..9
        {"1290000099", 0, "129993"}, {"1230000145", 2, ""},       {"1200001234", 1, ""},  // m3 = 0 needs p1 = p2 = 0
        {"1200000999", 0, "129990"}, {"4210000526", 0, "425261"}, {"1220000456", 0, "124562"},
        {"0000000000", 0, "000000"}, {"1200010456", 1, ""},  // p1 set with m3 0..2
    };
    for (const auto& c : cases) {
        std::string six = "stale";
        EXPECT_EQ(SuppressZeros(c.ten, six), c.code) << c.ten;
        EXPECT_EQ(six, c.six) << c.ten;
    }
}

TEST(UpcE, RejectsMalformedInput) {
    std::string out = "stale";
    for (const char* bad : {"", "123450000", "12345000050", "12345O0005", "1234 00005"}) {
        EXPECT_EQ(SuppressZeros(bad, out), kUpcEBadInput) << bad;
        EXPECT_TRUE(out.empty());
    }
    for (const char* bad : {"", "12345", "1234567", "12a455"}) {
        out = "stale";
        EXPECT_FALSE(ExpandUpcE(bad, out)) << bad;
        EXPECT_TRUE(out.empty());
    }
}

TEST(UpcE, ExpandByLastDigit) {
    const struct {
        const char* six;
        const char* ten;
    } cases[] = {
        {"123450", "1200000345"}, {"123451", "1210000345"}, {"123452", "1220000345"}, {"123453", "1230000045"},
        {"123454", "1234000005"}, {"123455", "1234500005"}, {"123459", "1234500009"}, {"425261", "4210000526"},
    };
    for (const auto& c : cases) {
        std::string ten;
        EXPECT_TRUE(ExpandUpcE(c.six, ten));
        EXPECT_EQ(ten, c.ten) << c.six;
    }
}

// Every six-digit code expands to a number that compresses again; codes in
// their canonical form come back unchanged.
TEST(UpcE, RoundTripsOverAllCodes) {
    int mismatches = 0;
    for (int n = 0; n < 1000000; ++n) {
        char buf[7];
        std::snprintf(buf, sizeof buf, "%06d", n);
        std::string six(buf), ten, back;
        ASSERT_TRUE(ExpandUpcE(six, ten));
        ASSERT_EQ(SuppressZeros(ten, back), 0) << six;
        std::string again;
        ASSERT_TRUE(ExpandUpcE(back, again));
        ASSERT_EQ(again, ten) << six;

        char last = six[5];
        bool canonical = (last <= '2') || (last == '3' && six[2] >= '3') || (last == '4' && six[3] != '0') ||
                         (last >= '5' && six[4] != '0');
        if (canonical && back != six) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace vg
