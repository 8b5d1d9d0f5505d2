#include "geometry/variationdefaults.h"

#include "model/catalogue.h"

namespace vg {
namespace {

bool Between(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

double DefaultXDimension(int f, int v) {
    if (v == 98) return 0.936;
    if (OneOf(f, {kFamilyCodabar, kFamilyCode128, kFamilyCode25})) return 0.72;
    if (f == kFamilyCode39 && !OneOf(v, {14, 20, 21, 22, 23, 76})) return 0.72;
    if (f == kFamilyItf && !IsItfBearerClass(v)) return 0.72;
    if (OneOf(v, {66, 67, 68})) return 0.72;
    if (v == 25) return 0.81;
    if (v == 24) return 0.72;
    if (v == 14) return 1.08;
    if (v == 20) return 0.864;
    if (v == 21) return 0.964563131641214;
    if (v == 22) return 0.7086586273282388;
    if (v == 23) return 0.5314939704961792;
    if (IsEan13Class(v) || IsEan8Class(v)) return 0.9354293880732752;
    if (f == kFamilyFim) return 1.92;
    if (IsBearerFrameClass(v)) return 2.88;
    if (f == kFamilyMsi) return 0.864;
    if (f == kFamilyPharmacode) return 1.4173172546564776;
    if (f == kFamilyPostnet) return 1.44;
    if (IsUccEan128WideClass(v)) return 2.8346345093129552;
    if (OneOf(v, {69, 70, 71})) return 2.16;
    if (IsUpcEanClass(v)) return 0.936;
    return 0;
}

double DefaultWideBase(int f, int v) {
    double x = DefaultXDimension(f, v);
    return f == kFamilyPharmacode ? x * 2 : x;
}

double DefaultRatio(int f, int v) {
    if (v == 100) return 2.75;
    if (v == 98) return 3.0;
    if (f == kFamilyCodabar || f == kFamilyCode25) return 2.5;
    if (f == kFamilyCode39 && !OneOf(v, {14, 17, 18, 19})) return 2.5;
    if (f == kFamilyItf || v == 39 || v == 40) return 2.5;
    if (v == 14) return 2.8;
    if (OneOf(v, {17, 18, 19}) || f == kFamilyPharmacode) return 3.0;
    if (f == kFamilyMsi) return 2.08;
    return 2.0;
}

double DefaultBarHeight(int f, int v) {
    if (IsVantic128Class(v)) return 24;
    if (v == 100) return 18;
    if (v == 98) return 19.8;
    if (v == 25) return 15.84;
    if (IsBearerFrameClass(v)) return 90;
    if (v == 14 || v == 20) return 36;
    if (v == 21) return 56.69269;
    if (v == 22) return 28.346345;
    if (v == 23) return 19.842442;
    if (OneOf(f,
              {kFamilyCodabar, kFamilyCode128, kFamilyCode25, kFamilyCode39, kFamilyCode93, kFamilyItf, kFamilyMsi}) ||
        OneOf(v, {66, 67, 68}))
        return 23.76;
    if (IsEan8Class(v)) return 56.352534;
    if (IsEan13Class(v)) return 69.448545;
    if (f == kFamilyFim) return 45;
    if (f == kFamilyPharmacode) return 17.007807;
    if (f == kFamilyPostnet) return 9;
    if (OneOf(v, {60, 69, 70, 71}) || Between(v, 124, 132)) return 90.141377;
    if (IsUpcEanClass(v)) return 67.608;
    return 0;
}

double DefaultBearerBar(int, int v) { return IsBearerFrameClass(v) ? 14 : 0; }

namespace {

// Rows shared by both quiet zones; true when one of them matched.
bool CommonQuietZone(int f, int v, double& zone) {
    if (OneOf(f, {kFamilyCodabar, kFamilyCode128, kFamilyCode25, kFamilyCode93, kFamilyMsi, kFamilyPharmacode}) ||
        (f == kFamilyCode39 && !IsPznClass(v) && !IsCode39InItfFrameClass(v)) ||
        (f == kFamilyItf && !IsItfBearerClass(v)) || (f == kFamilyUccEan128 && !IsCouponClass(v))) {
        zone = 18;
        return true;
    }
    if (v == 21)
        zone = 28.34634509;
    else if (v == 22)
        zone = 14.173172547;
    else if (v == 23)
        zone = 9.921220783;
    else
        return false;
    return true;
}

bool IsEanUpcAddOnGroup(int v) { return IsUpcClass(v) || IsEan13Class(v) || IsEan8Class(v) || IsBooklandEan13Class(v); }

}  // namespace

double LeftQuietZone(int f, int v) {
    double zone = 0;
    if (CommonQuietZone(f, v, zone)) return zone;
    if (IsEan13Class(v) || IsBooklandEan13Class(v)) return 10.28972327;
    if (IsEan8Class(v)) return 6.548005717;
    if (f == kFamilyFim) return 36;
    if (IsBooklandTextClass(v)) return 5;
    if (IsBearerFrameClass(v)) return 28.8;
    if (f == kFamilyPostnet) return 63;
    if (IsCouponClass(v) || IsUpcClass(v)) return 8.424;
    return 0;
}

double RightQuietZone(int f, int v) {
    double zone = 0;
    if (CommonQuietZone(f, v, zone)) return zone;
    if (IsEan13Class(v) || IsEan8Class(v) || IsBooklandEan13Class(v)) return 6.548005717;
    if (f == kFamilyFim) return 147;
    if (IsBooklandTextClass(v)) return 5;
    if (IsBearerFrameClass(v)) return 28.8;
    if (f == kFamilyPostnet) return 63;
    if (IsUpcClass(v)) return 8.424;
    if (IsCouponClass(v)) return 9.36;
    return 0;
}

double AddOnGap(int, int v) {
    if (IsEanUpcAddOnGroup(v)) return 8.424;
    if (IsItfBearerClass(v)) return 71.28;
    if (IsCouponClass(v)) return 9.36;
    return 0;
}

double AddOnQuietZone(int, int v) {
    if (IsEanUpcAddOnGroup(v)) return 4.68;
    if (IsItfBearerClass(v)) return 28.8;
    if (IsCouponClass(v)) return 9.36;
    return 0;
}

double AddOnGapModules(int v) {
    if (IsEanUpcAddOnGroup(v)) return 9;
    if (IsCouponClass(v)) return 10;
    return 12;
}

int DefaultMethod(int f) { return f == kFamilyFim || f == kFamilyPostnet ? 1 : 0; }

double FixedSymbolWidth(int f, int v) {
    if (f == kFamilyFim) return 32;
    if (f == kFamilyPostnet) {
        if (v == 51 || v == 52) return 108.3798;
        if (v == 53 || v == 54) return 176.7798;
        if (v == 55 || v == 56) return 201.9798;
    }
    return 0;
}

}  // namespace vg
