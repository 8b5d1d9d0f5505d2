// Factory defaults of the settings record, per variation.
#pragma once

#include "model/symbolsettings.h"

namespace vg {

// Factory state of the current variation's settings record. What the layers
// above keep besides the record (the bar pattern, the input bar's state) they
// reset themselves after calling this: ApplySymbolDefaults, ApplyEntryDefaults.
void ApplyVariationDefaults();

// Single-field default rules, also used by the loaders for out-of-range values.
void RatioDefault();
void XDimensionDefault();  // only when Format is 1
void BarHeightDefault();
void BearerBarDefault();
void TextFontDefault();
void AdditionalTextFontDefault();
void DistanceDefault();
void MethodDefault();
void ResolutionDefault();
void AlignmentDefault();
void TextStyleDefault();
void AdditionalTextStyleDefault();

// Font table of the text font default.
struct FontDefault {
    const char* face;
    int size;
};
FontDefault DefaultFontFor(int variation);

// Variation-dependent single values of the defaults table.
double DefaultDistanceToBars(int variation);
int DefaultUnitOfMeasure(int variation);
int DefaultHidden(int family, int variation);
int DefaultShowAsterisks(int variation);
int DefaultIgnoreHyphens(int variation);
int DefaultAlign(int variation);

}  // namespace vg
