#include "symbology/upce.h"

#include "model/charset.h"

namespace vg {

namespace {

bool AllZero(std::string_view s) { return s.find_first_not_of('0') == std::string_view::npos; }

}  // namespace

int SuppressZeros(std::string_view tenDigits, std::string& six) {
    six.clear();
    if (tenDigits.size() != 10 || !DigitsOnly(tenDigits)) return kUpcEBadInput;
    std::string_view m = tenDigits.substr(0, 5);
    std::string_view p = tenDigits.substr(5, 5);

    if (m[4] != '0') {
        if (!AllZero(p.substr(0, 4)) || p[4] < '5') return 4;
        six = std::string(m) + p[4];
    } else if (m[3] != '0') {
        if (!AllZero(p.substr(0, 4))) return 3;
        six = std::string(m.substr(0, 4)) + p[4] + '4';
    } else if (m[2] <= '2') {
        if (!AllZero(p.substr(0, 2))) return 1;
        six = std::string(m.substr(0, 2)) + std::string(p.substr(2, 3)) + m[2];
    } else {
        if (!AllZero(p.substr(0, 3))) return 2;
        six = std::string(m.substr(0, 3)) + std::string(p.substr(3, 2)) + '3';
    }
    return 0;
}

bool ExpandUpcE(std::string_view sixDigits, std::string& ten) {
    ten.clear();
    if (sixDigits.size() != 6 || !DigitsOnly(sixDigits)) return false;
    std::string_view d = sixDigits;
    char last = d[5];
    if (last <= '2') {
        ten = std::string(d.substr(0, 2)) + last + "0000" + std::string(d.substr(2, 3));
    } else if (last == '3') {
        ten = std::string(d.substr(0, 3)) + "00000" + std::string(d.substr(3, 2));
    } else if (last == '4') {
        ten = std::string(d.substr(0, 4)) + "00000" + d[4];
    } else {
        ten = std::string(d.substr(0, 5)) + "0000" + last;
    }
    return true;
}

}  // namespace vg
