// Nominal dimensions of every variation (points), by family and variation code.
#pragma once

namespace vg {

// Variation groups the dimension tables name.
bool IsPznGroup(int v);
bool IsEan13Group(int v);
bool IsEan8Group(int v);
bool IsBooklandGroup(int v);
bool IsCouponGroup(int v);
bool IsUpcGroup(int v);
bool IsUpcEanGroup(int v);  // the UPC/EAN class
bool IsTextOnlyGroup(int v);
bool IsItf14Group(int v);
bool IsUccEan128WideGroup(int v);
bool IsVantic128Group(int v);

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
