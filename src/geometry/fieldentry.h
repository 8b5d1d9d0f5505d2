// Settings fields set by name, as a user of the command line or a batch sets
// them: each value checked against its field, the dimensions kept consistent.
#pragma once

#include <span>
#include <string>

#include "model/symbolsettings.h"

namespace vg {

// "FIELD=VALUE".
struct FieldEntryResult {
    bool ok = true;
    std::string field;    // the field refused, when known
    std::string problem;  // "bad value for Magnification: '250' is outside 80..200 percent for EAN-13"
};

// Applies FIELD=VALUE entries in order to the record of the chosen
// variation. Magnification and CurBarXDimension follow each other
// (X = nominal X x magnification / 100; FIM and POSTNET keep their X); a changed PrinterDpi or LastMethod
// brings its default bar width reduction unless that is set too; under the
// printer-dpi method an entered X-dimension snaps to whole printer dots.
// On a refusal the record is unchanged.
FieldEntryResult ApplyFieldEntries(SettingsRecord& record, std::span<const std::string> entries);

// Magnification in percent a user may enter for the variation: 80..200 for
// the UPC/EAN class, else 33..1000, narrowed to the X-dimension range where
// the X-dimension follows the magnification (not FIM and POSTNET, whose
// X-dimension is fixed). Both 0 when the variation has no X-dimension.
Range MagnificationEntryRange(int family, int variation);

}  // namespace vg
