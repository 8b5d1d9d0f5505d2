#include "entry/pipeline.h"

#include <algorithm>

#include "model/catalogue.h"
#include "geometry/dimensionmodel.h"
#include "model/messages.h"
#include "model/stringids.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/symbol.h"

namespace vg {

int SymbolResizedByUser = 0;

bool HyphensAreData(int v) {
    return OneOf(v, {1, 5, 6, 11, 12, 15, 16, 24, 25, 76, 103, 104}) || (v >= 88 && v <= 96) || IsVantic128Class(v);
}

bool SpacesAreData(int v) {
    return OneOf(v, {6, 11, 12, 15, 16, 24, 25, 76, 103, 104}) || (v >= 88 && v <= 96) || IsVantic128Class(v);
}

NormalisedText NormaliseMainText(std::string_view text, int variation, int ignoreHyphens, int ignoreSpaces,
                                 bool forcedRemoval) {
    NormalisedText out;
    // Vantic128 prepares its own data, leaving hyphens and spaces out of text and bars alike.
    const bool ownPreparation = IsVantic128Class(variation);
    for (char c : text) {
        bool ignore = false;
        bool data = true;
        if (c == '-') {
            ignore = ignoreHyphens != 0;
            data = HyphensAreData(variation);
        } else if (c == ' ') {
            ignore = ignoreSpaces != 0;
            data = SpacesAreData(variation);
        }
        // A data character is encoded whatever the ignore options say: the
        // text under the bars must not show what the bars leave out.
        if (ignore && (!data || ownPreparation)) {
            out.typed += c;
        } else if (data || !forcedRemoval) {
            out.typed += c;
            out.validated += c;
        }
    }
    return out;
}

int ReminderStringId(const PipelineState& state, int variation) {
    if (state.DateInvalid) return sid::kInvalidDate;
    if (IsItfEvenDigitClass(variation)) return sid::kEvenDigits;
    if (OneOf(variation, {40, 99, 100})) return sid::kOddDigits;
    return sid::kFixedLengthIncomplete;
}

}  // namespace vg
