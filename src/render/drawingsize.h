// The size of a drawing, 1/1000 inch.
#pragma once

namespace vg {

struct DrawingSize {
    int cx = 0;
    int cy = 0;
};

}  // namespace vg
