// Two-width and fixed-geometry families: ITF, Code 25, Codabar, MSI/Plessey,
// POSTNET, FIM and Pharmacode.
//
// itf.cpp: ITF and Code 25 encoders, CItfSymbol.
// codabar.cpp: Codabar and MSI/Plessey encoders, CMsiSymbol.
// postal.cpp: POSTNET, FIM and Pharmacode encoders, CPostnetSymbol, CFimSymbol.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "symbology/symbol.h"

namespace vg {

// Pattern builders: the complete elements of one symbol (start and stop
// included), or "" when the data cannot be encoded.
std::string ItfElements(std::string_view digits);  // even count of digits
std::string Code25Elements(std::string_view digits);
std::string CodabarElements(std::string_view text);  // "0-9-$:/.+ABCD"
std::string MsiElements(std::string_view digits);
// One letter per bar: 'L' full, 'S' half; framed by 'L'.
std::string PostnetLetters(std::string_view digits);
// Variations 30..33; "" for others.
std::string_view FimElements(int variation);
// Narrow-first one-track decomposition of 1..131070.
std::string PharmacodeElements(std::uint64_t value);
inline constexpr std::uint64_t kPharmacodeMax = 131070;
// The value variation 50 encodes for its input (511 minus it); 0 when out of range.
std::uint64_t PharmacodeComplement(std::uint64_t input);

// An encoder whose pattern is one builder function of its prepared text.
class CTableEncoder : public CEncoder {
public:
    // Empties BarPattern and EncodedText; 0.
    static int Fail();

protected:
    using Builder = std::string (*)(std::string_view);
    explicit CTableEncoder(Builder build) : m_build(build) {}
    // BarPattern and EncodedText from m_text; 0 with both emptied when it has no pattern.
    int BuildPattern() override;
    std::string m_text;

private:
    Builder m_build;
};

// Encoders of the current settings: write BarPattern and EncodedText; 1 on
// success, 0 on failure (BarPattern empty then, except that a failed second
// ITF-14 symbol leaves the first).
int EncodeItf(int variation);
int EncodeCode25();
int EncodeCodabar(int variation);
int EncodeMsi(int variation);
int EncodePostnet();
int EncodeFim(int variation);
int EncodePharmacode(int variation);

// POSTNET geometry, inches.
inline constexpr double kPostnetBar = 0.02;
inline constexpr double kPostnetSpace = 0.0275;
inline constexpr double kPostnetHalfDrop = 0.075;  // a half bar's top lies this much lower
// FIM geometry, inches: a bar unit and the pitch of the nine bar positions.
inline constexpr double kFimBar = 2.0 / 75.0;
inline constexpr double kFimSpace = 1.0 / 30.0;
inline constexpr double kFimPitch = kFimBar + kFimSpace;

// ITF-14, JIS-ITF and Fisher-Price: text placed character by character
// against the bearer frame.
class CItfSymbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void DrawSpecialText(DeviceContext& dc, int pass) override;  // 1
    void AdjustSpecialBox(DeviceContext& dc) override;           // 2

    struct SpecialText {
        std::string text;
        Point anchor;   // top-left as the text reads, output units
        int width = 0;  // along the reading direction, output units
        int height = 0;
    };
    // The texts of the last DrawSpecialText (main first), for callers and tests.
    const std::vector<SpecialText>& SpecialTexts() const { return m_special; }
    // Corner 0 of the frame the texts were placed against.
    Point SpecialTextCorner() const { return m_specialCorner; }

private:
    void PlaceSpecialTexts();
    std::vector<SpecialText> m_special;
    Point m_specialCorner;
};

class CMsiSymbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void BuildText() override;  // 7
};

class CPostnetSymbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void Layout(DeviceContext& dc, int outputFlag) override;  // 3
    void DrawBars(DeviceContext& dc, int pass) override;      // 4
};

class CFimSymbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void Layout(DeviceContext& dc, int outputFlag) override;  // 3
    void DrawBars(DeviceContext& dc, int pass) override;      // 4
};

}  // namespace vg
