// Check characters: the scheme functions and the per-variation dispatch.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vg {

// Result of a character scheme when the input has no valid check character
// (wrong length, a character outside the scheme's set, MSI modulo 11 value 10).
inline constexpr char kNoCheck = '?';
// Working texts hold at most this many characters; longer input gives kNoCheck.
inline constexpr std::size_t kMaxCheckInput = 255;

// Character schemes. Each reads its argument only and returns the check
// character or kNoCheck.
char CheckMod10(std::string_view digits);      // EAN/UPC/ITF/SSCC, any length
char CheckAddOn5(std::string_view digits);     // exactly 5 digits
char CheckAstra(std::string_view digits);      // odd length
char CheckLuhnOpc(std::string_view digits);    // odd length
char CheckMod11Isbn(std::string_view digits);  // 7 or 9 digits, may give 'X'
char CheckMsiMod10(std::string_view digits);   // 1 to 61 digits
char CheckMsiMod11(std::string_view digits);   // 1 to 60 digits
char CheckCustoms(std::string_view text);      // 10 digits or upper-case letters
char CheckMod43(std::string_view text);        // 1 to 65 Code 39 characters
// Direct-input text in Code 39 full ASCII: lower case and punctuation become
// their two-character escapes; typed escape pairs ($A..$Z, %A..%E, %T, %U,
// %X..%Z) stay as they are.
std::string ToCode39FullAscii(std::string_view text);
char CheckPostnet(std::string_view digits);              // 5, 9 or 11 digits
char CheckLibrary(std::string_view digits, int format);  // 13 digits, format 1..3
char CheckCanadianLibrary(std::string_view digits);
// Start letter + data + stop letter; 1 to 62 Codabar characters, first and last A..D.
// Returns a digit or one of "-$:/.+".
char CheckCodabar16(std::string_view text);
// ISO/IEC 7064 MOD 37-2 over the first n characters; kNoCheck when n exceeds the text.
char CheckIsbt(std::string_view text, int n);

// Code 128 symbol check over the values, start value first: value 0..102, or
// kCode128NoCheck for no values, more than 70, or a value outside 0..106.
inline constexpr int kCode128NoCheck = 103;
int CheckCode128(std::span<const int> values);

// Code 93 check over the values with weights 1..weightLimit from the right
// (20 for C, 15 for K): value 0..46, or kCode93NoCheck for more than 60 values
// (61 with the K limit 15), a value outside 0..46 or a limit below 1.
inline constexpr int kCode93WeightC = 20;
inline constexpr int kCode93WeightK = 15;
inline constexpr int kCode93NoCheck = -1;
int CheckCode93(std::span<const int> values, int weightLimit);

// Computes the check characters of the current variation into
// SymbolSettings.CheckCharacter1 (and CheckCharacter2 where the variation has
// two) and returns the check display: the first check, or "a/b" for two.
// data is the main input after the hyphen and space removals. With
// hasInput 0 (no data, or input marked incomplete) nothing is computed, the
// record is left alone and the display is empty. Variations without a check
// leave the record alone and return an empty display.
std::string ComputeCheckCharacters(std::string_view data, int hasInput);

}  // namespace vg
