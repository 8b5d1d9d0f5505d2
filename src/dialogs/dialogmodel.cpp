#include "dialogs/dialogmodel.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "geometry/dimensionmodel.h"
#include "model/strings.h"

namespace vg {

void ShowProblem(const DialogProblem& p) { ShowMessage(p.caption, p.text, p.icon); }

std::string StringWith(int id, const std::string& one, const std::string& two) {
    std::string text = LoadString(id);
    for (const auto& [key, value] : {std::pair<const char*, const std::string*>{"%1", &one}, {"%2", &two}}) {
        const std::size_t at = text.find(key);
        if (at != std::string::npos) text.replace(at, 2, *value);
    }
    return text;
}

DialogProblem Problem(int field, int captionId, int textId, MsgIcon icon) {
    return {field, LoadString(captionId), LoadString(textId), icon};
}

DialogProblem RangeProblem(int field, int captionId, const std::string& low, const std::string& high) {
    return {field, LoadString(captionId), StringWith(61223, low, high), MsgIcon::Stop};
}

DialogProblem TooLongProblem(int field, int captionId, int limit) {
    return {field, LoadString(captionId), StringWith(61221, std::to_string(limit)), MsgIcon::Exclamation};
}

std::string Printf(const char* format, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string UnitText(int unit, double points) { return Printf("%f", ToUnit(unit, points)); }

std::string SixDecimals(int unit, double points) {
    std::string text = Printf("%.7lf", ToUnit(unit, points));
    if (!text.empty()) text.pop_back();
    return text;
}

double ReadLength(int unit, const std::string& text, double stored) {
    if (text == UnitText(unit, stored) || text == SixDecimals(unit, stored)) return stored;
    return FromUnit(unit, std::atof(text.c_str()));
}

int DecimalFormProblem(const std::string& text, bool signedForm) {
    bool dot = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isdigit(c)) continue;
        if (c == '.') {
            if (dot) return 61216;
            dot = true;
        } else if (c == '-' && signedForm) {
            if (i != 0) return 61216;
        } else {
            return 61222;
        }
    }
    return 0;
}

std::string UnitName(int unit, int inchesId) {
    switch (unit) {
    case 0: return LoadString(inchesId);
    case 1: return LoadString(61233);
    case 2: return LoadString(61234);
    case 3: return LoadString(61235);
    default: return std::string();
    }
}

}  // namespace vg
