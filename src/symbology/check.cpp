#include "symbology/check.h"

#include "model/catalogue.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "symbology/upce.h"

namespace vg {

namespace {

int DigitValue(char c) { return c - '0'; }

// Digits only, length within [lo, hi].
bool DigitsOfLength(std::string_view s, std::size_t lo, std::size_t hi) {
    return s.size() >= lo && s.size() <= hi && DigitsOnly(s);
}

char DigitChar(int v) { return static_cast<char>('0' + v); }

// Doubled digit counted as the sum of its digits.
int DoubledDigitSum(int d) {
    int v = 2 * d;
    return v >= 10 ? v - 9 : v;
}

constexpr std::string_view kCode39Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr std::string_view kCodabarSet = "0123456789-$:/.+ABCD";
constexpr std::string_view kIsbtSet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ*";

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

char CheckMod10(std::string_view digits) {
    if (!DigitsOfLength(digits, 0, kMaxCheckInput)) return kNoCheck;
    int s = 0;
    bool triple = true;  // the rightmost digit weighs 3
    for (std::size_t i = digits.size(); i-- > 0;) {
        s += DigitValue(digits[i]) * (triple ? 3 : 1);
        triple = !triple;
    }
    return DigitChar((10 - s % 10) % 10);
}

char CheckAddOn5(std::string_view digits) {
    if (!DigitsOfLength(digits, 5, 5)) return kNoCheck;
    int s = 0;
    for (std::size_t i = 0; i < 5; ++i) s += DigitValue(digits[i]) * (i % 2 == 0 ? 3 : 9);
    return DigitChar(s % 10);
}

char CheckAstra(std::string_view digits) {
    if (!DigitsOfLength(digits, 1, kMaxCheckInput) || digits.size() % 2 == 0) return kNoCheck;
    static constexpr int kWeights[3] = {1, 7, 3};
    int s = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) s += DigitValue(digits[i]) * kWeights[i % 3];
    return DigitChar(s % 10);
}

char CheckLuhnOpc(std::string_view digits) {
    if (!DigitsOfLength(digits, 1, kMaxCheckInput) || digits.size() % 2 == 0) return kNoCheck;
    int s = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        int d = DigitValue(digits[i]);
        s += i % 2 == 0 ? DoubledDigitSum(d) : d;
    }
    return DigitChar((10 - s % 10) % 10);
}

char CheckMod11Isbn(std::string_view digits) {
    if (!DigitsOnly(digits) || (digits.size() != 7 && digits.size() != 9)) return kNoCheck;
    int s = 0;
    int weight = static_cast<int>(digits.size()) + 1;
    for (char c : digits) s += DigitValue(c) * weight--;
    int r = s % 11;
    if (r == 0) return '0';
    if (r == 1) return 'X';
    return DigitChar(11 - r);
}

char CheckMsiMod10(std::string_view digits) {
    if (!DigitsOfLength(digits, 1, 61)) return kNoCheck;
    int s = 0;
    bool doubled = true;  // starting with the rightmost digit
    for (std::size_t i = digits.size(); i-- > 0;) {
        int d = DigitValue(digits[i]);
        s += doubled ? DoubledDigitSum(d) : d;
        doubled = !doubled;
    }
    return DigitChar((10 - s % 10) % 10);
}

char CheckMsiMod11(std::string_view digits) {
    if (!DigitsOfLength(digits, 1, 60)) return kNoCheck;
    int s = 0;
    int weight = 2;
    for (std::size_t i = digits.size(); i-- > 0;) {
        s += DigitValue(digits[i]) * weight;
        weight = weight == 7 ? 2 : weight + 1;
    }
    int r = s % 11;
    int c = r == 0 ? 0 : 11 - r;
    return c == 10 ? kNoCheck : DigitChar(c);
}

char CheckCustoms(std::string_view text) {
    if (text.size() != 10) return kNoCheck;
    int s = 0;
    for (std::size_t i = text.size(); i-- > 0;) {
        char c = text[i];
        int v;
        if (IsDigit(c))
            v = DigitValue(c);
        else if (c >= 'A' && c <= 'I')
            v = c - 'A' + 1;
        else if (c >= 'J' && c <= 'R')
            v = c - 'J' + 1;
        else if (c >= 'S' && c <= 'Z')
            v = c - 'S' + 2;
        else
            return kNoCheck;
        // Even positions from the left (i odd from 0) are doubled.
        s += i % 2 == 1 ? DoubledDigitSum(v) : v;
    }
    return DigitChar((10 - s % 10) % 10);
}

namespace {

char Mod43(std::string_view text, std::size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return kNoCheck;
    std::size_t s = 0;
    for (char c : text) {
        std::size_t v = kCode39Set.find(c);
        if (v == std::string_view::npos) return kNoCheck;
        s += v;
    }
    return kCode39Set[s % 43];
}

}  // namespace

char CheckMod43(std::string_view text) { return Mod43(text, 65); }

std::string ToCode39FullAscii(std::string_view text) {
    static constexpr std::string_view kPercentLetters = "ABCDETUXYZ";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if ((c == '$' && next >= 'A' && next <= 'Z') ||
            (c == '%' && next != '\0' && kPercentLetters.find(next) != std::string_view::npos)) {
            out += c;  // typed escape pair
            out += next;
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            out += '+';
            out += static_cast<char>(c - 'a' + 'A');
        } else if (c >= 0x21 && c <= 0x2C) {
            out += '/';
            out += static_cast<char>(c + 32);
        } else if (c == '/') {
            out += "/O";
        } else if (c == ':') {
            out += "/Z";
        } else if (c >= 0x3B && c <= 0x3F) {
            out += '%';
            out += static_cast<char>('F' + (c - 0x3B));
        } else if (c == '@') {
            out += "%V";
        } else if (c >= 0x5B && c <= 0x5F) {
            out += '%';
            out += static_cast<char>('K' + (c - 0x5B));
        } else if (c == '`') {
            out += "%W";
        } else if (c >= 0x7B && c <= 0x7E) {
            out += '%';
            out += static_cast<char>('P' + (c - 0x7B));
        } else if (c == 0x7F) {
            out += "%T";
        } else {
            out += c;
        }
    }
    return out;
}

char CheckPostnet(std::string_view digits) {
    std::size_t n = digits.size();
    if ((n != 5 && n != 9 && n != 11) || !DigitsOnly(digits)) return kNoCheck;
    int s = 0;
    for (char c : digits) s += DigitValue(c);
    return DigitChar((10 - s % 10) % 10);
}

int CheckCode128(std::span<const int> values) {
    if (values.empty() || values.size() > 70) return kCode128NoCheck;
    long s = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        int v = values[i];
        if (v < 0 || v > 106) return kCode128NoCheck;
        s += static_cast<long>(v) * static_cast<long>(i == 0 ? 1 : i);
    }
    return static_cast<int>(s % 103);
}

int CheckCode93(std::span<const int> values, int weightLimit) {
    std::size_t maxCount = weightLimit == kCode93WeightK ? 61 : 60;
    if (weightLimit < 1 || values.size() > maxCount) return kCode93NoCheck;
    long s = 0;
    int weight = 1;
    for (std::size_t i = values.size(); i-- > 0;) {
        int v = values[i];
        if (v < 0 || v > 46) return kCode93NoCheck;
        s += static_cast<long>(v) * weight;
        weight = weight == weightLimit ? 1 : weight + 1;
    }
    return static_cast<int>(s % 47);
}

char CheckLibrary(std::string_view digits, int format) {
    if (format < 1 || format > 3 || !DigitsOfLength(digits, 13, 13)) return kNoCheck;
    int s = 0;
    for (std::size_t i = 0; i < 13; ++i) {
        int d = DigitValue(digits[i]);
        if (i % 2 == 0)
            s += format == 2 ? DoubledDigitSum(d) : 2 * d;
        else
            s += d;
    }
    if (format == 3 && DigitValue(digits[12]) >= 5) return DigitChar(9 - s % 10);
    return DigitChar((10 - s % 10) % 10);
}

char CheckCanadianLibrary(std::string_view digits) {
    if (!DigitsOfLength(digits, 0, kMaxCheckInput)) return kNoCheck;
    int s = 0;
    bool odd = true;  // first from the right
    for (std::size_t i = digits.size(); i-- > 0;) {
        int d = DigitValue(digits[i]);
        if (!odd)
            s += d;
        else if (d == 9)
            s += 3;
        else if (d == 8)
            s += 1;
        else
            s += 2 * d;
        odd = !odd;
    }
    int b = s % 16;
    return b == 0 ? '0' : DigitChar((16 - b) % 10);
}

char CheckCodabar16(std::string_view text) {
    if (text.empty() || text.size() > 62) return kNoCheck;
    auto isStartStop = [](char c) { return c >= 'A' && c <= 'D'; };
    if (!isStartStop(text.front()) || !isStartStop(text.back())) return kNoCheck;
    std::size_t s = 0;
    for (char c : text) {
        std::size_t v = kCodabarSet.find(c);
        if (v == std::string_view::npos) return kNoCheck;
        s += v;
    }
    return kCodabarSet[(16 - s % 16) % 16];
}

char CheckIsbt(std::string_view text, int n) {
    if (n < 0 || static_cast<std::size_t>(n) > text.size() || static_cast<std::size_t>(n) > kMaxCheckInput)
        return kNoCheck;
    int t = 0;
    for (int i = 0; i < n; ++i) {
        char c = text[static_cast<std::size_t>(i)];
        int v;
        if (IsDigit(c))
            v = DigitValue(c);
        else if (c >= 'A' && c <= 'Z')
            v = c - 'A' + 10;
        else if (static_cast<unsigned char>(c) >= '*')
            v = 36;
        else
            v = 0;
        t = ((t + v) * 2) % 37;
    }
    return kIsbtSet[static_cast<std::size_t>((38 - t) % 37)];
}

namespace {

// The check display of a computed pair; 0 means that check does not exist.
std::string Display(char first, char second) {
    std::string out;
    if (first) out += first;
    if (first && second) out += '/';
    if (second) out += second;
    return out;
}

std::string StoreFirst(char c) {
    SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(c);
    return Display(c, 0);
}

std::string StoreBoth(char first, char second) {
    SymbolSettings.CheckCharacter1 = static_cast<uint8_t>(first);
    SymbolSettings.CheckCharacter2 = static_cast<uint8_t>(second);
    return Display(first, second);
}

// EAN/UPC, coupon and standard-number checks: a missing check is stored but
// not displayed.
std::string StoreQuiet(char first, char second = 0) {
    std::string shown = second ? StoreBoth(first, second) : StoreFirst(first);
    return first == kNoCheck || second == kNoCheck ? std::string() : shown;
}

// Modulo 10 over the data after its application identifier.
char Mod10After(std::string_view data, std::size_t skip) {
    return data.size() < skip ? kNoCheck : CheckMod10(data.substr(skip));
}

// Modulo 10 over the UPC-A number of UPC-E data.
char UpcECheck(std::string_view data, bool system1) {
    const char system = system1 ? '1' : '0';
    std::string ten;
    if (data.size() == 7 || data.size() == 11) {  // typed with its number system
        if (data.front() != system) return kNoCheck;
        data.remove_prefix(1);
    }
    if (data.size() == 6) {
        if (!ExpandUpcE(data, ten)) return kNoCheck;
    } else {
        std::string six;
        if (SuppressZeros(data, six) != 0) return kNoCheck;
        ten = std::string(data);
    }
    return CheckMod10(system + ten);
}

// Modulo 10 over the first count digits of the coupon's UPC or EAN part.
char CouponCheck(std::size_t count) {
    std::string_view part = TextOf(SymbolSettings.CouponFormatUPCpartText);
    return part.size() < count ? kNoCheck : CheckMod10(part.substr(0, count));
}

std::string StandardNumber(std::string_view data, const char* prefix, bool issn) {
    std::string ean = prefix + std::string(data);
    if (issn) ean += SymbolSettings.ISSNExtraDigits;
    return StoreQuiet(CheckMod11Isbn(data), CheckMod10(ean));
}

}  // namespace

std::string ComputeCheckCharacters(std::string_view data, int hasInput) {
    if (!hasInput) return {};

    const int v = SymbolSettings.Variation;
    switch (v) {
    case 2:
    case 3:
    case 4: return StoreFirst(CheckLibrary(data, v - 1));
    case 5: {
        auto letter = [](int n) { return n >= 0 && n <= 3 ? static_cast<char>('A' + n) : '\0'; };
        std::string text;
        text += letter(SymbolSettings.StartCharacter);
        text += data;
        text += letter(SymbolSettings.StopCharacter);
        return StoreFirst(CheckCodabar16(text));
    }
    case 115: return StoreFirst(CheckCanadianLibrary(data));
    case 7:
    case 8:
    case 9:
    case 16:
    case 17:
    case 18:
    case 19: return StoreFirst(CheckMod43(UpperCase(data)));
    case 104:
        // Over the characters the symbol carries, which may be twice as many.
        return StoreFirst(Mod43(ToCode39FullAscii(data), kMaxCheckInput));
    case 12: {
        std::string text(TextOf(SymbolSettings.FACTdataIDtext));
        text += data;
        return StoreFirst(CheckMod43(UpperCase(text)));
    }
    case 13: return StoreFirst(CheckCustoms(UpperCase(data)));
    case 26:
    case 27:
    case 28:
    case 29:
    case 72:
    case 73:
    case 114: return StoreQuiet(CheckMod10(data));
    case 74:
    case 75:
    case 101:
    case 102: return StoreQuiet(UpcECheck(data, IsUpcENumberSystem1Class(v)));
    case 40:
    case 43:
    case 44:
    case 45: return StoreFirst(CheckMod10(data));
    case 41:
    case 42: {
        std::string digits;
        for (char c : data)
            if (c != '-' && c != ' ') digits += c;
        std::string_view addOn = TextOf(SymbolSettings.AddOnText);
        return StoreBoth(digits.empty() ? 0 : CheckMod10(digits), addOn.empty() ? 0 : CheckMod10(addOn));
    }
    case 46: {
        char first = CheckMsiMod10(data);
        return StoreBoth(first, CheckMsiMod10(std::string(data) + first));
    }
    case 47: return StoreFirst(CheckMsiMod10(data));
    case 48: return StoreFirst(CheckMsiMod11(data));
    case 51:
    case 52:
    case 53:
    case 54:
    case 55:
    case 56: return StoreFirst(CheckPostnet(data));
    case 61:
    case 62:
    case 63:
    case 64:
    case 65: return StoreQuiet(CouponCheck(11));
    case 81:
    case 82:
    case 83:
    case 84:
    case 85: return StoreQuiet(CouponCheck(12));
    case 67:
    case 71: return StoreFirst(Mod10After(data, 4));
    case 124: return StoreFirst(Mod10After(data, 6));
    case 125:
    case 126:
    case 127:
    case 128:
    case 129:
    case 130: return StoreFirst(Mod10After(data, 5));
    case 88: return StoreFirst(CheckIsbt(data.size() > 1 ? data.substr(1, 13) : std::string_view(), 13));
    case 99: return StoreFirst(CheckAstra(data));
    case 100: return StoreFirst(CheckLuhnOpc(data));
    case 34:
    case 37:
    case 86:
    case 87: return StoreQuiet(CheckMod11Isbn(data));
    case 35:
    case 77:
    case 79:
    case 105:
    case 107:
    case 109:
    case 134:
    case 135:
    case 145: return StandardNumber(data, "978", false);
    case 36:
    case 78:
    case 80:
    case 106:
    case 108:
    case 110:
    case 136:
    case 146: return StandardNumber(data, "979", false);
    case 38:
    case 111:
    case 138:
    case 141: return StandardNumber(data, "977", true);
    default: return {};
    }
}

}  // namespace vg
