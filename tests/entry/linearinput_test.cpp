// Any bytes, any length, into every field of the ITF, Code 25, Codabar, MSI,
// POSTNET, FIM and Pharmacode variations: a refused text leaves the record and
// the symbol as they were, and whatever is accepted encodes to a sound pattern.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/catalogue.h"
#include "recordingview.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::InputBarHarness;

struct Stored {
    std::string main, original, addOn, pattern;
    int check1, check2;
    bool operator==(const Stored&) const = default;
};

Stored Take() {
    const SettingsRecord& s = SymbolSettings;
    return {std::string(TextOf(s.MainText)),
            std::string(TextOf(s.OriginalMainText)),
            std::string(TextOf(s.AddOnText)),
            BarPattern,
            s.CheckCharacter1,
            s.CheckCharacter2};
}

const char* ValidSample(int v) {
    switch (v) {
    case 2:
    case 3:
    case 4:
    case 41:
    case 42:
    case 44: return "1234567890123";
    case 45: return "123456789012345";
    case 43:
    case 51:
    case 52: return "12345";
    case 53:
    case 54:
    case 100: return "123456789";
    case 55:
    case 56: return "12345678901";
    case 98: return "12345678";
    case 49:
    case 50:
    case 97: return "200";
    default: return "123456";
    }
}

bool OurGroup(SymbolGroup g) {
    return g == SymbolGroup::Itf || g == SymbolGroup::Code25 || g == SymbolGroup::Codabar || g == SymbolGroup::Msi ||
           g == SymbolGroup::Postnet || g == SymbolGroup::Fim || g == SymbolGroup::Pharmacode;
}

TEST(LinearInput, RefusedBytesChangeNothingAndAcceptedOnesEncodeSoundly) {
    std::mt19937 random(20261209);
    auto bytes = [&](std::size_t length) {
        std::string text(length, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        return text;
    };
    int variations = 0;
    for (const VariationInfo& info : Catalogue()) {
        if (!OurGroup(info.group)) continue;
        ++variations;
        SCOPED_TRACE(info.code);
        InputBarHarness h(info.code);
        for (FieldRole role : {FieldRole::Main, FieldRole::AddOn}) {
            const int id = h.bar.ControlFor(role);
            if (!id) continue;
            const std::string good = role == FieldRole::AddOn ? "12345" : ValidSample(info.code);
            for (int round = 0; round < 60; ++round) {
                h.Paste(id, good);
                const Stored before = Take();
                const std::size_t shown = h.recorder.sink.messages.size();
                const std::size_t length = round % 3 == 0   ? random() % 4
                                           : round % 3 == 1 ? random() % 70
                                                            : random() % 400;
                std::string text = bytes(length);
                // Half the time a valid start, so the bad part lands later in the text.
                if (round % 2) text = good.substr(0, good.size() / 2) + text;
                h.Paste(id, text);
                if (h.recorder.sink.messages.size() > shown) {
                    EXPECT_EQ(Take(), before) << "refused input changed the record, round " << round;
                }
                EXPECT_EQ(BarPattern.size() % 2, 0u);
                EXPECT_LT(TextLength(SymbolSettings.AddOnText), sizeof SymbolSettings.AddOnText);
                // Whatever stands in the pattern is the grammar's: letters and width digits.
                for (std::size_t i = 0; i + 1 < BarPattern.size(); i += 2) {
                    const char letter = BarPattern[i], digit = BarPattern[i + 1];
                    const bool element = (IsBarLetter(letter) || IsSpaceLetter(letter)) && digit >= '1' && digit <= '9';
                    const bool postnet = info.group == SymbolGroup::Postnet && (letter == 'L' || letter == 'S') &&
                                         (digit == 'L' || digit == 'S');
                    ASSERT_TRUE(element || postnet || (letter == '+' && digit == '+')) << BarPattern;
                }
            }
        }
    }
    EXPECT_EQ(variations, 33);
}

}  // namespace
}  // namespace vg
