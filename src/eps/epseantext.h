// EAN/UPC texts of the EPS body placed as the symbol object places them on a
// device context: the one-line form (above the bars, or below them when the
// number is too wide for the digit places), the characters over the add-on or
// the coupon's second symbol, and the NDC mark of UPC-A.
//
// Lengths are body points; x is measured from the first bar.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "eps/epsbody.h"

namespace vg {

// The number measured for the fit: no check digit; standard numbers with all
// thirteen digits, UPC-E as its six digits, coupons their UPC/EAN part.
std::string EanUpcFitNumber(int variation);
// True when that number is wider in the font than the main symbol (95, 67 or
// 51 modules).
bool EanUpcDoesNotFit(int variation, const std::string& font, double size, int style, double module);
// The text over the second part: the add-on digits, or the coupon's UCC/EAN-128 text.
std::string EanUpcSecondText(int variation);
// The one line: the number, its check digit unless hidden, and with withSecond
// (unless HideAddonText) the text of the second part.
std::string EanUpcOneLine(int variation, bool withSecond);

// Left ends of count characters over the second part, in modules from its
// first bar: the first after the start pattern, the others spread over the rest.
std::vector<double> SecondPartCharOffsets(std::string_view pattern, std::size_t count, double ratio,
                                          int variation);

// The NDC mark: the digit 3 centred left of the bars with its top at top (y up)
// and the letter N above it, both at size points.
std::vector<BodyChar> NdcMarkChars(const std::string& font, int style, double size, double module, double firstBar,
                                   double top);

}  // namespace vg
