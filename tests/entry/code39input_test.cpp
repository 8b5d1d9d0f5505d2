// Arbitrary input to every field of the Code 39 and Code 93 variations.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "entry/pipeline.h"
#include "recordingview.h"
#include "device/recordingdc.h"
#include "render/drawsymbol.h"
#include "symbology/code39.h"
#include "symbology/code93.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::InputBarHarness;

// What a refused input must leave alone.
struct Stored {
    std::string main, original, fact, pattern, encoded;
    int check1, check2;
    bool operator==(const Stored&) const = default;
};

Stored Take() {
    const SettingsRecord& s = SymbolSettings;
    return {std::string(TextOf(s.MainText)),
            std::string(TextOf(s.OriginalMainText)),
            std::string(TextOf(s.FACTdataIDtext)),
            BarPattern,
            EncodedText,
            s.CheckCharacter1,
            s.CheckCharacter2};
}

// Often text of the Code 39 set, otherwise a mix with any byte; now and then very long.
std::string RandomInput(std::mt19937& rng) {
    static const std::string kSet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcz-. $/+%";
    static const std::string kOthers = "[]S!@`{~:1234";
    std::uniform_int_distribution<int> pick(0, 99);
    const int shape = pick(rng);
    const std::size_t length = shape < 3 ? 5000 : static_cast<std::size_t>(pick(rng) % 70);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const int kind = shape < 45 ? 0 : pick(rng);
        if (kind < 60)
            text += kSet[pick(rng) % kSet.size()];
        else if (kind < 80)
            text += kOthers[pick(rng) % kOthers.size()];
        else
            text += static_cast<char>(pick(rng) * 256 / 100);
    }
    return text;
}

TEST(Code39Input, AnyBytesInEveryFieldLeaveTheRecordIntactOnRefusal) {
    const int variations[] = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 76, 103, 104};
    std::mt19937 rng(11);
    for (int v : variations) {
        SCOPED_TRACE(v);
        InputBarHarness h(v);
        for (FieldRole role : {FieldRole::Main, FieldRole::Fact}) {
            const int id = h.bar.ControlFor(role);
            if (!id) continue;
            for (int round = 0; round < 120; ++round) {
                const std::string input = RandomInput(rng);
                const Stored before = Take();
                if (h.bar.Fill(role, input) == FillOutcome::Refused) {
                    EXPECT_EQ(Take(), before) << "refused: " << input;
                    continue;
                }
                const SettingsRecord& s = SymbolSettings;
                EXPECT_LE(TextLength(s.MainText), kMaxMainInput);
                EXPECT_LE(EncodedText.size(), kMaxEncodedText);
                EXPECT_EQ(BarPattern.size() % 2, 0u);
                if (!h.bar.SymbolReady()) continue;
                const std::string_view start = v == 24 || v == 25 ? kCode93Start : kCode39StartStop;
                EXPECT_EQ(BarPattern.compare(0, start.size(), start), 0) << input;
                // Drawing the accepted symbol and its text.
                RecordingDC dc(1000, 1000);
                EXPECT_TRUE(DrawSymbol(dc, ClipRect{0, 0, 800, 600}, 1, 0, nullptr));
            }
        }
    }
}

}  // namespace
}  // namespace vg
