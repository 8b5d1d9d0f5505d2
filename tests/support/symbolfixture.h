// Shared set-up for the symbol tests: a plain settings record and helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/symbolsettings.h"
#include "symbology/symbol.h"

namespace vg::test {

// A drawable record: black bars on white, OCR-B 9 points, 100 %, no reduction.
inline void PlainSettings(int family, int variation) {
    ResetSettingsRecord();
    SettingsRecord& s = SymbolSettings;
    s.Family = static_cast<int16_t>(family);
    s.Variation = variation;
    s.CurRatio = 2.0;
    s.CurBarXDimension = 0.936;
    s.BarHeight = 72;
    s.Magnification = 100;
    s.DistanceToBars = 0;
    s.PrinterDpi = 2400;
    s.LastMethod = 0;
    s.Size = 9;
    s.FontName4humanreadable = "OCRB Vornel Glyph";
    s.redSpacesQuietZone = s.greenSpacesQuietZone = s.blueSpacesQuietZone = 100;
    s.Format = 1;
    BarPattern.clear();
    EncodedText.clear();
}

// Module string of a pattern: "1" per bar module, "0" per space module,
// markers skipped. Width digits count as modules (the EAN/UPC ratio is 2).
inline std::string Modules(std::string_view pattern) {
    std::string out;
    for (std::size_t i = 0; i + 1 < pattern.size(); i += 2) {
        char letter = pattern[i];
        char digit = pattern[i + 1];
        if (digit < '1' || digit > '9') continue;
        if (IsBarLetter(letter))
            out.append(digit - '0', '1');
        else if (IsSpaceLetter(letter))
            out.append(digit - '0', '0');
    }
    return out;
}

}  // namespace vg::test
