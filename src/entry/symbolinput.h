// The headless input bar: puts a symbol into the settings record as the
// program's own input (the variation, field settings and the data texts).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/catalogue.h"

namespace vg {

// A variation by its code, name or folded name (MatchVariation); without a
// single match, nullptr with the reason, which lists any candidates.
const VariationInfo* LookUpVariation(const std::string& text, std::string* reason);

// Makes the variation current with its factory defaults.
void ChooseVariation(const VariationInfo& variation);

// Applies FIELD=VALUE settings in order; on the first bad one sets reason and
// returns false.
bool ApplyFieldSettings(const std::vector<std::string>& settings, std::string* reason);

// The data of the input fields; an unset text keeps the stored one.
struct DataTexts {
    std::optional<std::string> main;
    std::optional<std::string> addOn;
    std::optional<std::string> fact;
    std::optional<std::string> couponUpc;
    std::optional<std::string> coupon128;
};

// Feeds the data into the record, computes the check characters and encodes.
// False when the input was refused or is incomplete: a refusal of the input
// bar has shown its message box; any other reason is set in reason.
bool FeedData(const DataTexts& data, std::string* reason);

// After the Edit Text dialog's OK: the input bar set up again with
// ProgrammaticInput set and AdditionalText kept.
class InputBar;
void AfterEditText(InputBar& bar);

// The input bar set up again on the stored texts, as after the text dialog
// (ProgrammaticInput set, AdditionalText kept). False with the reason when
// the symbol is no longer ready.
bool SetUpInputAgain(std::string* reason);

}  // namespace vg
