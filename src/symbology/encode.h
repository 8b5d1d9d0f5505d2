// The encoder of each symbol group.
#pragma once

namespace vg {

// Runs the encoder of the current variation: 1 when BarPattern was written,
// 0 when the data was empty or could not be encoded (BarPattern empty then).
int EncodeCurrentVariation();

}  // namespace vg
