// Code 93 family: pattern table, shift groups, encoder and text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vg {

// Shift characters as they stand in the prepared text.
inline constexpr char kCode93ShiftDollar = '\xA4';   // ($), value 43
inline constexpr char kCode93ShiftPercent = '\xA3';  // (%), value 44
inline constexpr char kCode93ShiftSlash = '\xA2';    // (/), value 45
inline constexpr char kCode93ShiftPlus = '\xB4';     // (+), value 46

inline constexpr std::string_view kCode93Start = "B1S1B1S1B4S1";
inline constexpr std::string_view kCode93Stop = "B1S1B1S1B4S1B1";

// Six elements of a symbol value 0..46; empty otherwise.
std::string Code93Elements(int value);

// MainText with its [n.. shift groups replaced by the shift characters and
// every other '[' dropped.
std::string Code93PreparedText(std::string_view mainText);

// Symbol values of a prepared text: one per character of the 47, two (shift,
// letter) per other printable ASCII character. False when a character has
// no pattern.
bool Code93Values(std::string_view prepared, std::vector<int>& values);

// Encoder of variations 24 and 25. On failure BarPattern, EncodedText and
// both check characters are cleared and 0 is returned.
int EncodeCode93();

// Human-readable text of the current record: OriginalMainText.
std::string Code93HumanReadable();

}  // namespace vg
