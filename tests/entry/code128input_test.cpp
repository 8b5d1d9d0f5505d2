// Any bytes of any length into every field of the Code 128 family: no crash, a
// refusal leaves the record as it was, and what is accepted encodes and draws.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/settingsfields.h"
#include "recordingview.h"
#include "device/recordingdc.h"
#include "render/drawsymbol.h"

namespace vg {
namespace {

std::string RecordText() {
    std::string all;
    for (const SettingsField& f : SettingsFields()) {
        all += f.name;
        all += '=';
        all += FieldValueText(SymbolSettings, f);
        all += '\n';
    }
    return all + "BarPattern=" + BarPattern + "\nEncodedText=" + EncodedText;
}

std::vector<std::string> Inputs() {
    std::vector<std::string> inputs = {"",
                                       std::string(1, '\0'),
                                       std::string("12\0"
                                                   "34",
                                                   5),
                                       std::string(61, '1'),
                                       std::string(255, '9'),
                                       std::string(300, '\xC1')};
    // Inputs some variation accepts.
    for (const char* ok : {"ABC1234", "+A99912345", "=G12349865432100", "(01)1234567890123", "123456", "51234567890",
                           "(8100)123456", "(10)ABC(17)991231"})
        inputs.push_back(ok);
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    inputs.push_back(every);
    // Valid-looking starts followed by noise, and plain noise.
    const char* starts[] = {"(01)", "(10)", "+A99", "=G12", "&*", "12", "(8100)", "5123"};
    std::mt19937 rng(128);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 80);
    for (int i = 0; i < 24; ++i) {
        std::string s = i % 3 == 0 ? "" : starts[i % 8];
        const int n = length(rng);
        for (int k = 0; k < n; ++k) s += static_cast<char>(i % 2 ? byte(rng) : '0' + byte(rng) % 10);
        inputs.push_back(s);
    }
    return inputs;
}

TEST(Code128Input, AnyBytesInEveryField) {
    std::vector<int> variations;
    for (int v = 6; v <= 9; ++v) variations.push_back(v);
    for (int v = 60; v <= 71; ++v) variations.push_back(v);
    for (int v = 81; v <= 85; ++v) variations.push_back(v);
    for (int v = 88; v <= 96; ++v) variations.push_back(v);
    for (int v = 116; v <= 132; ++v) variations.push_back(v);
    const std::vector<std::string> inputs = Inputs();
    const FieldRole roles[] = {FieldRole::Main, FieldRole::AddOn, FieldRole::Fact, FieldRole::CouponUpc,
                               FieldRole::Coupon128};
    int drawn = 0;
    for (int v : variations) {
        test::InputBarHarness h(v);
        for (FieldRole role : roles) {
            const int id = h.bar.ControlFor(role);
            if (!id) continue;
            for (const std::string& input : inputs) {
                SCOPED_TRACE(testing::Message()
                             << "variation " << v << ", field " << id << ", " << input.size() << " bytes");
                const std::string before = RecordText();
                if (h.bar.Fill(role, input) == FillOutcome::Refused) {
                    ASSERT_EQ(RecordText(), before);
                    continue;
                }
                if (!h.bar.SymbolReady()) continue;
                ASSERT_FALSE(BarPattern.empty());
                ASSERT_EQ(BarPattern.size() % 2, 0u);
                RecordingDC dc;
                EXPECT_TRUE(DrawSymbol(dc, {}, 1, 0, nullptr));
                ++drawn;
            }
        }
    }
    EXPECT_GT(drawn, 20);
}

}  // namespace
}  // namespace vg
