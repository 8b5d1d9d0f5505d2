// The Vantic128 picture and the provider that draws it on any device context.
#pragma once

#include <string_view>
#include <vector>

#include "device/devicecontext.h"

namespace vg {

// A vector picture: filled polygons in picture units (y down), drawn in order.
struct PictureShape {
    Rgb colour;
    std::vector<Point> points;
};
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<PictureShape> shapes;
};

// Parses the picture text: "picture W H", then "fill R G B" and
// "polygon x,y x,y ..." lines; '#' starts a comment. Malformed lines are
// skipped, so any text gives a picture (possibly empty).
Picture ParsePicture(std::string_view text);

// The 384 x 301 picture of the Vantic128 variations (resources/vantic128picture.inc).
const Picture& VanticPicture();

// Draws the Vantic128 picture. The core's provider scales the picture into the
// box on the background colour; the application may install its own.
class PictureProvider {
public:
    virtual ~PictureProvider() = default;
    // Box in output units; outputFlag 0 screen, 1 file output.
    virtual void DrawPicture(DeviceContext& dc, int left, int top, Rgb background, int width, int height,
                             int outputFlag);
};

PictureProvider& ThePictureProvider();
// nullptr puts the core's provider back.
void InstallPictureProvider(PictureProvider* provider);

}  // namespace vg
