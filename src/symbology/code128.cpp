#include "symbology/code128.h"

#include <array>

#include "model/catalogue.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/eanupc.h"

namespace vg {

using namespace c128;

namespace {

// Bar/space widths of the values 0..105, bar first.
constexpr std::array<std::string_view, 106> kWidths = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232"};

// The elements of every value, built once from the widths.
const std::array<std::string, 106>& ValueElements() {
    static const std::array<std::string, 106> table = [] {
        std::array<std::string, 106> t;
        for (std::size_t v = 0; v < kWidths.size(); ++v)
            for (std::size_t i = 0; i < 6; ++i) {
                t[v] += i % 2 == 0 ? 'B' : 'S';
                t[v] += kWidths[v][i];
            }
        return t;
    }();
    return table;
}

// Set A control characters NUL..US (values 64..95) as upper-half bytes.
constexpr std::array<unsigned char, 32> kControlBytes = {
    0xBC, 0x8C, 0xBA, 0x8D, 0xB6, 0xAB, 0xC4, 0xA9, 0xFA, 0xF6, 0xC6, 0xFB, 0xC2, 0xB5, 0xF7, 0xBF,
    0xB9, 0xCF, 0xA8, 0xA7, 0xA0, 0xAC, 0xC3, 0xB7, 0xC5, 0xB4, 0xBD, 0xD2, 0xC7, 0xD4, 0xA4, 0xA6};

// Application identifiers whose data has a predefined length.
bool PredefinedLength(std::string_view ai) {
    static constexpr std::string_view kPrefixes[] = {"00", "01", "02", "03", "04", "11", "12", "13", "14", "15", "16",
                                                     "17", "18", "19", "20", "31", "32", "33", "34", "35", "36", "41"};
    if (ai.size() < 2) return false;
    for (std::string_view p : kPrefixes)
        if (ai.substr(0, 2) == p) return true;
    return false;
}

}  // namespace

std::string_view Code128ValueElements(int value) {
    if (value < 0 || value > 105) return {};
    return ValueElements()[static_cast<std::size_t>(value)];
}

unsigned char Code128Character(char set, int value) {
    if (value >= 0 && value <= 63) return static_cast<unsigned char>(' ' + value);
    if (set == 'A' && value >= 64 && value <= 95) return kControlBytes[static_cast<std::size_t>(value - 64)];
    if (set == 'B' && value >= 64 && value <= 94) return static_cast<unsigned char>('`' + value - 64);
    if (set == 'B' && value == 95) return kDel;
    if (value == 96) return kFnc3;
    if (value == 97) return kFnc2;
    if (value == 102) return kFnc1;
    return 0;
}

int Code128Value(char set, unsigned char byte) {
    static const auto table = [] {
        std::array<std::array<int, 256>, 2> t{};
        for (auto& column : t) column.fill(-1);
        for (int s = 0; s < 2; ++s) {
            const char set = s == 0 ? 'A' : 'B';
            for (int v = 0; v <= 102; ++v)
                if (unsigned char c = Code128Character(set, v)) t[s][c] = v;
            t[s][kShift] = 98;
            t[s][kCodeC] = 99;
            t[s][kCodeB] = 100;  // CODE B in A, FNC4 in B
            t[s][kCodeA] = 101;  // FNC4 in A, CODE A in B
        }
        return t;
    }();
    if (set != 'A' && set != 'B') return -1;
    return table[set == 'A' ? 0 : 1][byte];
}

bool IsCode128AOnly(unsigned char byte) {
    if (byte == kCodeA) return true;
    for (unsigned char c : kControlBytes)
        if (c == byte) return true;
    return false;
}

bool IsCode128BOnly(unsigned char byte) { return (byte >= 0x60 && byte <= 0x7E) || byte == kDel || byte == kCodeB; }

Code128Run CRun(std::string_view data, std::size_t pos) {
    Code128Run run;
    if (pos >= data.size() || data.size() - pos < 4) return run;
    std::size_t i = pos;
    int digits = 0;  // since the run's start or the last FNC1
    while (i < data.size()) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (IsDigit(c)) {
            ++digits;
        } else if (c == kFnc1 && digits % 2 == 0) {
            digits = 0;
        } else {
            break;
        }
        ++i;
    }
    if (i - pos <= 3) return run;
    run.exists = true;
    run.end = i - 1;
    if (digits % 2 == 1) {
        run.shortened = true;
        --run.end;
    }
    return run;
}

std::string OptimiseCode128(std::string_view in) {
    std::string out;
    if (in.empty()) return out;
    auto byte = [&](std::size_t i) -> unsigned char { return i < in.size() ? static_cast<unsigned char>(in[i]) : 0; };
    auto last = [&]() -> unsigned char { return out.empty() ? 0 : static_cast<unsigned char>(out.back()); };
    auto emit = [&](unsigned char c) { out += static_cast<char>(c); };
    auto copyRun = [&](std::size_t from, std::size_t to) { out.append(in.substr(from, to - from + 1)); };

    char set;
    std::size_t i;
    if (Code128Run run = CRun(in, 0); run.exists) {
        emit(kStartC);
        copyRun(0, run.end);
        set = 'C';
        i = run.end + 1;
    } else {
        set = IsCode128AOnly(byte(0)) ? 'A' : 'B';
        emit(set == 'A' ? kStartA : kStartB);
        emit(byte(0));
        i = 1;
    }

    while (i < in.size()) {
        const unsigned char c = byte(i);
        if (set != 'C') {
            if (Code128Run run = CRun(in, i); run.exists) {
                std::size_t from = i;
                if (last() != kCodeC) {
                    bool fnc1AtOdd = false;  // positions counted from 1 within the run
                    for (std::size_t k = i; k <= run.end; ++k)
                        if (byte(k) == kFnc1 && (k - i) % 2 == 0) fnc1AtOdd = true;
                    if (run.shortened && IsDigit(byte(run.end + 1)) && !fnc1AtOdd && IsDigit(c)) {
                        emit(c);
                        from = i + 1;
                        run.end += 1;
                    }
                    emit(kCodeC);
                }
                copyRun(from, run.end);
                set = 'C';
                i = run.end + 1;
                continue;
            }
        }
        const unsigned char next = byte(i + 1);
        const bool hasNext = i + 1 < in.size();
        const bool hasNextNext = i + 2 < in.size();
        if (set == 'A') {
            if (c == kShift && hasNextNext && IsCode128BOnly(next) && IsCode128AOnly(byte(i + 2))) {
                emit(c);
                emit(next);
                i += 2;
            } else if (IsCode128BOnly(c) && hasNext && IsCode128AOnly(next)) {
                emit(kShift);
                emit(c);
                emit(next);
                i += 2;
            } else if (IsCode128BOnly(c)) {
                if (last() != kCodeB) emit(kCodeB);
                emit(c);
                set = 'B';
                ++i;
            } else {
                emit(c);
                ++i;
            }
        } else if (set == 'B') {
            if (c == kShift && hasNextNext && IsCode128AOnly(next) && IsCode128BOnly(byte(i + 2))) {
                emit(c);
                emit(next);
                i += 2;
            } else if (IsCode128AOnly(c) && hasNext && IsCode128BOnly(next)) {
                emit(kShift);
                emit(c);
                emit(next);
                i += 2;
            } else if (IsCode128AOnly(c)) {
                if (last() != kCodeA) emit(kCodeA);
                emit(c);
                set = 'A';
                ++i;
            } else {
                emit(c);
                ++i;
            }
        } else {
            // A run has just ended.
            if (c == kCodeA && hasNext && IsCode128AOnly(next)) {
                emit(c);
                set = 'A';
                ++i;
            } else if (IsCode128AOnly(c)) {
                emit(kCodeA);
                emit(c);
                set = 'A';
                ++i;
            } else if (c == kCodeB) {
                emit(c);
                if (hasNext) emit(next);
                set = 'B';
                i += hasNext ? 2 : 1;
            } else {
                emit(kCodeB);
                emit(c);
                set = 'B';
                ++i;
            }
        }
    }
    return out;
}

std::string PrepareUccData(std::string_view data) {
    std::string s;
    for (char c : data)
        if (c != ' ' && c != '-') s += c;

    std::size_t i = s.find('(');
    while (i != std::string::npos) {
        const std::size_t close = s.find(')', i + 1);
        const std::size_t next = s.find('(', i + 1);
        if (next == std::string::npos) break;
        // An identifier without its closing parenthesis ends at the next element.
        const std::size_t aiEnd = close != std::string::npos && close < next ? close : next;
        const std::string_view ai = std::string_view(s).substr(i + 1, aiEnd - i - 1);
        if (!PredefinedLength(ai)) {
            s.insert(next, 1, static_cast<char>(kFnc1));
            i = next + 1;
        } else {
            i = next;
        }
    }

    std::string out(1, static_cast<char>(kFnc1));
    for (char c : s)
        if (c != '(' && c != ')') out += c;
    return out;
}

bool Code128Values(std::string_view coded, std::vector<int>& values) {
    values.clear();
    if (coded.empty()) return false;
    char set;
    switch (static_cast<unsigned char>(coded[0])) {
    case kStartA:
        set = 'A';
        values.push_back(kValueStartA);
        break;
    case kStartB:
        set = 'B';
        values.push_back(kValueStartB);
        break;
    case kStartC:
        set = 'C';
        values.push_back(kValueStartC);
        break;
    default: return false;
    }
    for (std::size_t i = 1; i < coded.size(); ++i) {
        const auto c = static_cast<unsigned char>(coded[i]);
        if (set == 'C') {
            if (c == kCodeB) {
                values.push_back(100);
                set = 'B';
            } else if (c == kCodeA) {
                values.push_back(101);
                set = 'A';
            } else if (c == kFnc1) {
                values.push_back(102);
            } else if (IsDigit(c) && i + 1 < coded.size() && IsDigit(static_cast<unsigned char>(coded[i + 1]))) {
                values.push_back((c - '0') * 10 + (coded[i + 1] - '0'));
                ++i;
            } else {
                return false;
            }
            continue;
        }
        const int v = Code128Value(set, c);
        if (v < 0) return false;
        values.push_back(v);
        if (v == 98) {
            // The shifted byte is a character of the other set; a switch
            // there, or nothing at all, makes no symbol.
            if (i + 1 >= coded.size()) return false;
            const char other = set == 'A' ? 'B' : 'A';
            const int shifted = Code128Value(other, static_cast<unsigned char>(coded[++i]));
            const int switchBack = other == 'A' ? 100 : 101;
            if (shifted < 0 || shifted == 98 || shifted == 99 || shifted == switchBack) return false;
            values.push_back(shifted);
        } else if (v == 99) {
            set = 'C';
        } else if (set == 'A' && v == 100) {
            set = 'B';
        } else if (set == 'B' && v == 101) {
            set = 'A';
        }
    }
    return true;
}

bool AppendCode128(const std::vector<int>& values, bool withoutStart) {
    if (values.empty()) return false;
    std::span<const int> checked(values);
    if (withoutStart) checked = checked.subspan(1);
    const int check = CheckCode128(checked);
    if (check == kCode128NoCheck) return false;
    if (!withoutStart) AppendElement(Code128ValueElements(values[0]));
    for (std::size_t i = 1; i < values.size(); ++i) AppendElement(Code128ValueElements(values[i]));
    AppendElement(Code128ValueElements(check));
    AppendElement(kCode128Stop);
    return true;
}

bool Code128Data(int v, std::string& data, bool& ucc) {
    const SettingsRecord& s = SymbolSettings;
    const std::string_view main = TextOf(s.MainText);
    const auto check = static_cast<char>(s.CheckCharacter1);
    ucc = false;
    data.clear();
    if (v == 6 || IsIsbtClass(v) || IsVantic128Class(v)) {
        data.assign(main);
    } else if (IsCode128HibcClass(v)) {
        // A missing or invalid modulo 43 check makes no symbol.
        if (main.empty() || !check || check == kNoCheck) return false;
        data.assign(main);
        data += check;
    } else if (IsUccEan128Class(v) && !IsUccEan128CheckedClass(v)) {
        data.assign(main);
        ucc = true;
    } else if (IsUccEan128CheckedClass(v)) {
        if (main.empty() || check < '0' || check > '9') return false;
        data.assign(main);
        data += check;
        ucc = true;
    } else if (IsCouponClass(v)) {
        data.assign(TextOf(s.CouponFormat128partText));
        ucc = true;
    } else {
        return false;
    }
    return !data.empty();
}

int EncodeCode128(int v) {
    auto fail = [] {
        BarPattern.clear();
        EncodedText.clear();
        return 0;
    };
    std::string data;
    bool ucc = false;
    const bool coupon = IsCouponClass(v);
    if (coupon) {
        if (!EncodeEanUpc(v)) return fail();
        // Without its second part a coupon is its UPC-A or EAN-13 part alone.
        if (!SymbolSettings.CouponFormat128partText[0]) return 1;
    } else {
        BarPattern.clear();
    }
    if (!Code128Data(v, data, ucc)) return fail();

    std::vector<int> values;
    if (!Code128Values(OptimiseCode128(ucc ? PrepareUccData(data) : data), values)) return fail();
    if (coupon) AppendElement("++");
    if (!AppendCode128(values, IsVantic128Class(v))) return fail();

    if (coupon)
        SetEncodedText(EncodedText + ' ' + data);
    else
        SetEncodedText(data);
    return 1;
}

}  // namespace vg
