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
int DefaultMethod(int family);
double FixedSymbolWidth(int family, int variation);

}  // namespace vg
