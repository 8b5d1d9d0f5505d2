// Putting a symbol into the settings record from the command line: the
// variation, field settings and the data texts.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "entry/catalogue.h"

namespace vg::cli {

// A variation by its catalogue code or its exact display name; nullptr when none.
const VariationInfo* LookUpVariation(const std::string& text);

// Makes the variation current with its factory defaults.
void ChooseVariation(const VariationInfo& variation);

// Applies FIELD=VALUE settings in order; on the first bad one writes the reason
// to standard error and returns false.
bool ApplyFieldSettings(const std::vector<std::string>& settings);

// The data of the input fields; an unset text keeps the stored one.
struct DataTexts {
    std::optional<std::string> main;
    std::optional<std::string> addOn;
    std::optional<std::string> fact;
    std::optional<std::string> couponUpc;
    std::optional<std::string> coupon128;
};

// Feeds the data into the record, computes the check characters and encodes.
// False when the input was refused or is incomplete; the reason has been
// reported on standard error and the symbol is not ready.
bool FeedData(const DataTexts& data);

// Writes the current symbol as an EPS file; true on success.
bool WriteSymbolEps(const std::string& path, bool withPreview, bool levelOne, const std::string& title);

}  // namespace vg::cli
