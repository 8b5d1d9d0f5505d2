#include "output/series.h"

#include <cstdio>

#include "model/symbolsettings.h"

namespace vg {

int64_t SerialNumber(const std::string& digits) {
    int64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > (int64_t{1} << 40)) return int64_t{1} << 40;
    }
    return n;
}

std::string SeriesReferenceText(bool addOnPart) {
    const SettingsRecord& s = SymbolSettings;
    if (addOnPart) return std::string(s.AddOnText[0] ? TextOf(s.AddOnText) : TextOf(s.CouponFormat128partText));
    return std::string(s.OriginalMainText[0] ? TextOf(s.OriginalMainText) : TextOf(s.CouponFormatUPCpartText));
}

std::string SeriesDataText(int64_t number) {
    const SettingsRecord& s = SymbolSettings;
    char digits[32];
    const int width = s.SerialStart.size() < 24 ? static_cast<int>(s.SerialStart.size()) : 24;
    std::snprintf(digits, sizeof digits, "%0*lld", width, static_cast<long long>(number));
    return s.SerialBefore + digits + s.SerialAfter;
}

std::string NumberedName(const std::string& firstName, int scheme, int64_t number) {
    const std::size_t at = scheme == 0 ? 9 : 21;
    if (firstName.size() < at + 4) return firstName;
    char digits[24];
    std::snprintf(digits, sizeof digits, "%04lld", static_cast<long long>(number));
    return firstName.substr(0, at) + digits + firstName.substr(at + 4);
}

}  // namespace vg
