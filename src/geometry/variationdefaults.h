// Nominal dimensions of every variation (points), by family and variation code.
#pragma once

namespace vg {

double DefaultXDimension(int family, int variation);
double DefaultWideBase(int family, int variation);
double DefaultRatio(int family, int variation);
double DefaultBarHeight(int family, int variation);
double DefaultBearerBar(int family, int variation);
double LeftQuietZone(int family, int variation);
double RightQuietZone(int family, int variation);
double AddOnGap(int family, int variation);
double AddOnQuietZone(int family, int variation);
// The gap before an EAN/UPC add-on or a coupon's second symbol in modules of
// the nominal X-dimension (AddOnGap / 0.936), so every target draws the gap
// the EPS body writes. Other variations keep their "++" element of 12.
double AddOnGapModules(int variation);
int DefaultMethod(int family);
double FixedSymbolWidth(int family, int variation);

}  // namespace vg
