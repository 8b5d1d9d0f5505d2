// UPC-E zero suppression and expansion.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// Compresses the ten digits after the number system digit (manufacturer
// m1..m5, product p1..p5) to the six UPC-E digits. Returns 0 and sets six on
// success; otherwise returns the failure code and leaves six empty:
//   1  m3 is 0..2 (m4 = m5 = 0) but p1 p2 are not both 0
//   2  m3 is 3..9 (m4 = m5 = 0) but p1 p2 p3 are not all 0
//   3  m4 is not 0 (m5 = 0) but p1..p4 are not all 0
//   4  m5 is not 0 but p1..p4 are not all 0 or p5 is below 5
// Input that is not exactly ten digits gives kUpcEBadInput.
inline constexpr int kUpcEBadInput = 5;
int SuppressZeros(std::string_view tenDigits, std::string& six);

// Expands six UPC-E digits to the ten digits after the number system digit,
// by the last digit (0-2, 3, 4, 5-9). Returns false, leaving ten empty, when
// the input is not exactly six digits.
bool ExpandUpcE(std::string_view sixDigits, std::string& ten);

}  // namespace vg
