// Finding a variation by what a user types: its code, its name, or a short form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"

namespace vg {

// A name in lower case without spaces, hyphens, dots and parentheses:
// "UPC (A) General" -> "upcageneral".
std::string FoldVariationName(std::string_view name);

// Short names of the common variations, as other bar code tools name them:
// each names the general variation of its family.
struct ShortVariationName {
    const char* name;  // "code128"
    int code;
};
const std::vector<ShortVariationName>& ShortVariationNames();

struct VariationMatch {
    const VariationInfo* variation = nullptr;      // the one match, or nullptr
    std::vector<const VariationInfo*> candidates;  // when none or several match
};

// By code (digits only), exact display name, short name, or folded name: the row whose
// folded name equals the folded text, else the row whose folded name is it
// followed by "general", else the one row whose folded name begins with it.
// Without a single match, candidates holds the rows that begin with or
// contain the folded text.
VariationMatch MatchVariation(std::string_view text);

}  // namespace vg
