// The numbered series: the texts it counts through and the names of its files.
// Texts are Windows-1252, as the record holds them.
#pragma once

#include <cstdint>
#include <string>

namespace vg {

inline constexpr int64_t kMaxSeriesFiles = 3000;

// The text the counter must reproduce: the main text (or the coupon UPC part)
// or the add-on (or the coupon UCC/EAN-128 part).
std::string SeriesReferenceText(bool addOnPart);

// SerialBefore + SerialStart's number + step count padded to SerialStart's
// width + SerialAfter.
std::string SeriesDataText(int64_t number);

// A text of digits as a number, saturating far above any 32-bit value.
int64_t SerialNumber(const std::string& digits);

// Name of file number (1-based) of a run under schemes 0 and 1: the first
// default name with its four digits replaced.
std::string NumberedName(const std::string& firstName, int scheme, int64_t number);

}  // namespace vg
