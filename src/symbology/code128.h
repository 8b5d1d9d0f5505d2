// Code 128 family: value table, code-set optimiser, UCC/EAN-128 preparation,
// the encoder and the symbol classes.
//
// Defined in code128.cpp: the encoder side. Defined in code128symbol.cpp: the
// symbol classes (texts, Vantic128 end pieces, picture and side text).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "symbology/symbol.h"

namespace vg {

// Bytes of the coded string that are not data characters. The start markers
// occur only as the first byte; the switch bytes double as the set A/B
// characters of the same value (0xB0 FNC4 in set A, 0xA2 FNC4 in set B).
namespace c128 {
inline constexpr unsigned char kStartA = 0x81;
inline constexpr unsigned char kStartB = 0xF5;
inline constexpr unsigned char kStartC = 0x82;
inline constexpr unsigned char kCodeA = 0xB0;
inline constexpr unsigned char kCodeB = 0xA2;
inline constexpr unsigned char kCodeC = 0xBB;
inline constexpr unsigned char kShift = 0xB3;
inline constexpr unsigned char kFnc1 = 0xC1;
inline constexpr unsigned char kFnc2 = 0xAA;
inline constexpr unsigned char kFnc3 = 0xA3;
inline constexpr unsigned char kDel = 0xA5;

inline constexpr int kValueStartA = 103;
inline constexpr int kValueStartB = 104;
inline constexpr int kValueStartC = 105;
}  // namespace c128

// Elements of a symbol value 0..105; empty for any other value.
std::string_view Code128ValueElements(int value);
// Stop character, seven elements.
inline constexpr std::string_view kCode128Stop = "B2S3B3S1B1S1B2";

// The byte that stands for a value in code set 'A' or 'B'; 0 when none (the
// switch values 98 to 101 included: those are not characters of the set).
unsigned char Code128Character(char set, int value);
// Value of a byte in set 'A' or 'B' (switch and shift bytes included); -1 when none.
int Code128Value(char set, unsigned char byte);

bool IsCode128AOnly(unsigned char byte);
bool IsCode128BOnly(unsigned char byte);

// A run of digit pairs (and FNC1) for code set C, starting at pos.
struct Code128Run {
    bool exists = false;
    std::size_t end = 0;     // last byte of the run
    bool shortened = false;  // the last digit was left out to keep whole pairs
};
Code128Run CRun(std::string_view data, std::size_t pos);

// Coded string: a start marker, then data bytes, digit pairs and switch bytes.
// Empty for empty data.
std::string OptimiseCode128(std::string_view prepared);

// Element strings with the application identifiers in parentheses become
// FNC1-separated data: spaces, hyphens and parentheses removed, FNC1 first and
// after every element whose identifier has no predefined length.
std::string PrepareUccData(std::string_view data);

// Symbol values of a coded string, start value first; false when a byte or pair
// has no value in the set current at that point.
bool Code128Values(std::string_view coded, std::vector<int>& values);

// The data the variation encodes (before the UCC/EAN-128 preparation) and
// whether it goes through that preparation. False when a required part or
// check character is missing.
bool Code128Data(int variation, std::string& data, bool& ucc);

// Appends start (unless withoutStart), values after the start, check and stop
// to BarPattern. values holds the start value first. False when the check has
// no valid value.
bool AppendCode128(const std::vector<int>& values, bool withoutStart);

// Encoder of the variations drawn as Code 128 (and of the coupon's UCC/EAN-128
// part, appended after "++" to the UPC-A or EAN-13 part already in BarPattern).
// Writes BarPattern and EncodedText; 1 on success, else 0 with BarPattern empty.
int EncodeCode128(int variation);

// Human-readable text of the Code 128 and UCC/EAN-128 variations.
std::string Code128HumanReadable(int variation);

class CCode128Symbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void BuildText() override;  // 7

protected:
    // Vantic128: end pieces, the text beside variation 117 and the picture.
    void DrawEndPieces(DeviceContext& dc) override;
    void MeasureSideText(DeviceContext& dc) override;
    void DrawSideText(DeviceContext& dc) override;
    void DrawPicture(DeviceContext& dc) override;

private:
    // Selects the drawing font; the top-left point of the side text and its
    // characters' extents. False when there is nothing to draw.
    bool PlaceSideText(Point& at, std::vector<TextExtent>& extents);
};

class CUccEan128Symbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void BuildText() override;  // 7
};

}  // namespace vg
