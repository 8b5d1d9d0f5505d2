// Units, the two dimension methods, the printer-dot grids and the symbol width.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vg {

struct SettingsRecord;

inline constexpr double kMillimetresPerInch = 25.4001;

double ToUnit(int unit, double points);
double FromUnit(int unit, double value);
double PointsToMils(double points);

double DotSize(int dpi);
int16_t DefaultBwrDots(int dpi);
// Default bar width reduction of a resolution for a family under a method
// (dots for method 0, points for method 1; 0 for families 7 and 13).
double DefaultBarWidthReduction(int family, int method, int dpi);
double BwrInPoints(const SettingsRecord& s);
double NarrowBarWidth(double x, double bwrPoints);

struct XRange {
    double min;
    double max;
};
// The minimum is returned as is; entries up to kXDimensionTolerance below it are
// accepted, as XDimensionInRange does.
XRange XDimensionRange(int family, int variation);
inline constexpr double kXDimensionTolerance = 9e-7;
bool XDimensionInRange(int family, int variation, double x);

double ComputeSymbolWidth(int family, int variation, int addOnLength, std::string_view pattern, double ratio, double x,
                          double wideBase);

struct XDimensionRow {
    double x;              // points
    double symbolWidth;    // points
    double magnification;  // fraction of DefaultXDimension
};
std::vector<XDimensionRow> BuildXDimensionList(int family, int variation, double dotSize, int addOnLength,
                                               std::string_view pattern, double ratio);
std::vector<double> BuildRatioList(double dotSize, double x);
double NearestXDimension(int family, int variation, double x, double dotSize);
double NearestRatio(double ratio, double x, double dotSize);
void SnapToPrinterGrid(SettingsRecord& s, std::string_view pattern);

// Custom-method relations; 0 means out of range.
double MagnificationFromX(int family, int variation, double x);
double MagnificationFromSymbolWidth(int family, int variation, double width, int addOnLength, std::string_view pattern,
                                    double ratio);
double XFromMagnification(int family, int variation, double fraction);
double SymbolWidthFromMagnification(int family, int variation, double fraction, int addOnLength,
                                    std::string_view pattern, double ratio);
double SymbolWidthFromX(int family, int variation, double x, int addOnLength, std::string_view pattern, double ratio);

// Readouts of the symbol options dialog; empty where the variation has no X-dimension.
std::string BwrReadout(const SettingsRecord& s);
std::string NarrowBarWidthReadout(const SettingsRecord& s);
std::string QuietZoneReadout(const SettingsRecord& s);

}  // namespace vg
