// Code 39 family: pattern table, encoder, full-ASCII conversions and the
// human-readable text.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// Start and stop character (*) with its gap.
inline constexpr std::string_view kCode39StartStop = "B1S2B1S1B2S1B2S1B1S1";

// The nine elements and the gap of one character of the 43-character set;
// empty for any other character.
std::string Code39Elements(char c);

// Variation rules of the family (PZN: IsPznClass of the catalogue).
bool IsCode39Hibc(int v);         // 17..19: asterisks always, space check shown as '_'
bool IsCode39FullAscii(int v);    // 15, 16, 103, 104: text decoded for display
bool IsCode39DirectInput(int v);  // 103, 104: typed ASCII converted to escape pairs
bool Code39HasCheck(int v);       // 12, 13, 16..19, 104: CheckCharacter1 is encoded
bool Code39CarriesFact(int v);    // the FACT data identifier is encoded

// What the current record's symbol carries: prefix, main data (converted for
// the direct-input variations, upper case), check character.
std::string Code39PreparedText();

// Encoder of variations 11..23, 76, 103, 104: writes BarPattern and
// EncodedText. 0 (both empty) when MainText is empty or a character has no
// pattern.
int EncodeCode39();

// Full-ASCII text for display: control-character escapes ($A..$Z, %A..%E,
// %T, %U, %X..%Z) dropped, other escape pairs shown as their character,
// everything else unchanged.
std::string DecodeCode39FullAscii(std::string_view text);

// Human-readable text of the current record (slot 7 of the Code 39 symbol).
std::string Code39HumanReadable();

}  // namespace vg
