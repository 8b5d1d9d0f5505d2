// OpenType fonts with CFF outlines whose private dictionary holds an operator
// without operands (the OCR-B face has an empty BlueValues). cairo's PDF font
// subsetter takes such an operator for an allocation failure and drops the
// font object while the page still refers to it. The repair removes those
// operators and widens number encodings so that every offset stays as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vg {

// The font file's bytes with the first private dictionary repaired; empty when
// the file is not a CFF OpenType font, needs no repair or cannot be repaired
// in place.
std::vector<uint8_t> RepairedCffFont(const std::string& file);

// The same on bytes in memory: true when the buffer was changed.
bool RepairCffPrivateDict(std::vector<uint8_t>& font);

}  // namespace vg
