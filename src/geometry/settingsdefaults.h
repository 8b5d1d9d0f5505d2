// Factory defaults of the settings record, per variation.
#pragma once

#include <functional>

#include "model/symbolsettings.h"

namespace vg {

// Hooks that higher layers install at start-up (the pipeline, the input bar,
// the symbol objects); ApplyVariationDefaults calls the ones set.
struct VariationDefaultsHooks {
    std::function<void()> clearPendingAddOn;    // pipeline's pending add-on state
    std::function<void()> resetFieldState;      // pipeline's field-state flags
    std::function<void()> emptyBarPattern;      // current bar pattern
    std::function<void()> clearBatchMarks;      // resized-by-user and armed-series marks
    std::function<void()> resetActionBox;       // input bar's action box
};
extern VariationDefaultsHooks DefaultsHooks;

// Factory state of the current variation.
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
