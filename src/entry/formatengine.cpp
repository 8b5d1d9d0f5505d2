#include "entry/formatengine.h"

#include <algorithm>
#include <utility>

#include "model/catalogue.h"
#include "model/charset.h"
#include "model/messages.h"
#include "model/stringids.h"
#include "model/strings.h"
#include "symbology/check.h"
#include "symbology/upce.h"

namespace vg {

// ---------------------------------------------------------------------------
// Character classes

namespace {

bool InCodes(unsigned char c, std::initializer_list<int> codes) {
    return std::find(codes.begin(), codes.end(), c) != codes.end();
}

bool Between(unsigned char c, int lo, int hi) { return c >= lo && c <= hi; }

bool DigitIn(unsigned char c, const char* digits) {
    if (c < '0' || c > '9') return false;
    for (const char* p = digits; *p; ++p)
        if (*p == static_cast<char>(c)) return true;
    return false;
}

}  // namespace

bool InCharClass(CharClass cls, unsigned char c) {
    const bool digit = Between(c, '0', '9');
    const bool upper = Between(c, 'A', 'Z');
    const bool lower = Between(c, 'a', 'z');
    switch (cls) {
    case CharClass::Literal: return false;
    case CharClass::Digit: return digit;
    case CharClass::Letter: return upper || lower;
    case CharClass::LetterOrDigit: return upper || lower || digit;
    case CharClass::UpperButS: return upper && c != 'S';
    case CharClass::Code39Set: return digit || upper || lower || InCodes(c, {' ', '$', '%', '+', '-', '.', '/'});
    case CharClass::CodabarSet: return digit || InCodes(c, {'$', '+', '-', '.', '/', ':'});
    case CharClass::Code93FreeSet:
        return Between(c, 32, 47) || Between(c, 58, 64) || c == 92 || Between(c, 94, 96) || Between(c, 123, 126) ||
               digit || lower;
    case CharClass::Code128Set:
        return digit || upper || lower || Between(c, 32, 47) || Between(c, 58, 64) || Between(c, 91, 96) ||
               Between(c, 123, 126) ||
               InCodes(c, {140, 141, 160, 176, 185, 186, 188, 189, 191, 207, 210, 212, 246, 247, 250, 251}) ||
               Between(c, 162, 172) || Between(c, 180, 183) || Between(c, 193, 199);
    case CharClass::AiSet:
        return upper || lower ||
               InCodes(c, {'!', '"', '%', '&', '\'', '*', '+', ',', '-', '.', '/', ':', ';', '<', '=', '>', '?', '_'});
    case CharClass::Digits1To9: return DigitIn(c, "123456789");
    case CharClass::Digits2To9: return DigitIn(c, "23456789");
    case CharClass::Digits1To4: return DigitIn(c, "1234");
    case CharClass::Digits3_5To9: return DigitIn(c, "356789");
    case CharClass::Digits0_3_5To9: return DigitIn(c, "0356789");
    case CharClass::Digits1_3_5To9: return DigitIn(c, "1356789");
    case CharClass::Digits0_2_3_5To9: return DigitIn(c, "02356789");
    case CharClass::Digits2_3_5To9: return DigitIn(c, "2356789");
    case CharClass::Digits0_2_5To9: return DigitIn(c, "0256789");
    case CharClass::Digits0_2_3_6To9: return DigitIn(c, "0236789");
    case CharClass::Digits1235679: return DigitIn(c, "1235679");
    case CharClass::Digits1245679: return DigitIn(c, "1245679");
    case CharClass::Digits0To4_6To9: return DigitIn(c, "012346789");
    case CharClass::Digits0To3_6To8: return DigitIn(c, "0123678");
    case CharClass::Digits0To2_4To9: return DigitIn(c, "012456789");
    case CharClass::Digits2To7_9: return DigitIn(c, "2345679");
    case CharClass::Digits3To7_9: return DigitIn(c, "345679");
    case CharClass::AsciiSet: return Between(c, 0x20, 0x7F);
    }
    return false;
}

// ---------------------------------------------------------------------------
// The automaton

bool SymbolMatches(const FormatSymbol& s, unsigned char c) {
    if (s.cls == CharClass::Literal) return static_cast<unsigned char>(s.literal) == c;
    return InCharClass(s.cls, c);
}

int RunFormat(const FormatRecord& format, std::string_view text, std::size_t* rejectedAt) {
    int state = 0;
    const int symbols = std::min<int>(format.symbolCount, kMaxFormatSymbols);
    const int rows = std::min<int>(format.stateCount, kMaxFormatStates + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        int next = 0;
        const int row = state < 0 ? -state : state;
        if (row < rows) {
            for (int s = 0; s < symbols; ++s) {
                if (SymbolMatches(format.symbols[s], c)) {
                    next = format.next[s][row];
                    break;
                }
            }
        }
        if (next == 0 || next == -1) {
            if (rejectedAt) *rejectedAt = i;
            return 0;
        }
        state = next;
    }
    return state;
}

bool IsAcceptingState(const FormatRecord& format, int state) {
    if (state == 0) return false;
    if (state == format.acceptingState) return true;
    if (state > 0) return false;
    const int groups = std::min<int>(format.groupCount, kMaxAcceptGroups);
    for (int g = 0; g < groups; ++g) {
        const AcceptGroup& group = format.groups[g];
        if (group.state != state) continue;
        const int n = std::min<int>(group.count, kMaxGroupMembers);
        for (int m = 0; m < n; ++m)
            if (group.members[m] == format.acceptingState) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Validation

namespace {

const FormatRecord* currentFormat = nullptr;

void ShowFormatMessage(const std::string& text) {
    ShowMessage(LoadString(sid::kCaptionEditControl), text, MsgIcon::Stop);
}

int ErrorNumber(int variation) {
    switch (variation) {
    case 7: return 335;
    case 8:
    case 18: return 333;
    case 9:
    case 19: return 334;
    case 60: return 332;
    case 66: return 346;
    case 68: return 345;
    case 88: return 336;
    case 89: return 337;
    case 90: return 341;
    case 91: return 340;
    case 92: return 338;
    case 93: return 339;
    case 94: return 343;
    case 95: return 342;
    case 96: return 344;
    default: return 0;
    }
}

void ShowIncorrectInput(int variation) {
    std::string text = LoadString(sid::kIncorrectInput);
    if (const int number = ErrorNumber(variation)) text += LoadString(sid::kErrorNumber) + std::to_string(number);
    ShowFormatMessage(text);
}

void ShowOutOfRange(const char* low, const char* high) {
    std::string text = LoadString(sid::kOutOfRange);
    for (auto [key, value] : {std::pair{"%1", low}, std::pair{"%2", high}}) {
        const std::size_t at = text.find(key);
        if (at != std::string::npos) text.replace(at, 2, value);
    }
    ShowFormatMessage(text);
}

// Dates inside accepted texts. Reading past the text or a non-digit is an
// invalid date.
class DateReader {
public:
    explicit DateReader(std::string_view text) : m_text(text) {}

    bool Number(std::size_t& pos, int digits, int& value) const {
        value = 0;
        for (int i = 0; i < digits; ++i, ++pos) {
            if (pos >= m_text.size() || m_text[pos] < '0' || m_text[pos] > '9') return false;
            value = value * 10 + (m_text[pos] - '0');
        }
        return true;
    }

    static int DaysInMonth(int month, int yy) {
        static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (month == 2 && yy % 4 == 0) return 29;
        return days[month - 1];
    }

    bool Month(std::size_t& pos, int& month) const { return Number(pos, 2, month) && month >= 1 && month <= 12; }
    bool Hour(std::size_t& pos) const {
        int hh;
        return Number(pos, 2, hh) && hh <= 24;
    }
    bool YearMonthDay(std::size_t& pos, bool yearFirst) const {
        int yy = 0, mm = 0, dd = 0;
        if (yearFirst && !Number(pos, 2, yy)) return false;
        if (!Month(pos, mm) || !Number(pos, 2, dd)) return false;
        if (!yearFirst && !Number(pos, 2, yy)) return false;
        return dd >= 1 && dd <= DaysInMonth(mm, yy);
    }
    bool Julian(std::size_t& pos) const {
        int yy, jjj;
        if (!Number(pos, 2, yy) || !Number(pos, 3, jjj)) return false;
        return jjj >= 1 && jjj <= (yy % 4 == 0 ? 366 : 365);
    }

    // A date form starting at pos: its leading digit names it; 8 and 9 are
    // quantities followed by another form.
    bool DateForm(std::size_t pos, bool afterQuantity = false) const {
        if (pos >= m_text.size()) return false;
        switch (m_text[pos]) {
        case '0':
        case '1': {
            int month, yy;
            return Month(pos, month) && Number(pos, 2, yy);
        }
        case '2': return YearMonthDay(++pos, false);
        case '3': return YearMonthDay(++pos, true);
        case '4': return YearMonthDay(++pos, true) && Hour(pos);
        case '5': return Julian(++pos);
        case '6': return Julian(++pos) && Hour(pos);
        case '7': return true;
        case '8': return !afterQuantity && DateForm(pos + 3, true);
        case '9': return !afterQuantity && DateForm(pos + 6, true);
        default: return false;
        }
    }

    // A secondary: "$$" and a date form, "$" (with a julian date when digits
    // follow) or a julian date at its start.
    bool Secondary(std::size_t pos) const {
        if (m_text.substr(pos, 2) == "$$") return DateForm(pos + 2);
        if (m_text.substr(pos, 1) == "$") {
            if (!DigitsOnly(m_text.substr(pos + 1, 5)) || m_text.size() < pos + 6) return true;
            ++pos;
            return Julian(pos);
        }
        return Julian(pos);
    }

private:
    std::string_view m_text;
};

bool DateValid(int variation, std::string_view text) {
    DateReader reader(text);
    switch (variation) {
    case 9:
    case 19: return reader.Secondary(1);
    case 7:
    case 17: {
        const std::size_t slash = text.find('/');
        return slash == std::string_view::npos || reader.Secondary(slash + 1);
    }
    case 68: return reader.DateForm(4);
    default: return true;
    }
}

FormatResult CheckUpcESix(int variation, std::string_view text) {
    if (!DigitsOnly(text)) {
        ShowIncorrectInput(variation);
        return FormatResult::Rejected;
    }
    if (text.size() < 6) return FormatResult::Incomplete;
    if (text.size() > 6) return FormatResult::TooLong;
    std::string ten;
    if (ExpandUpcE(text, ten)) {
        const std::string upcA = (IsUpcENumberSystem1Class(variation) ? "1" : "0") + ten;
        if (CheckMod10(upcA) != kNoCheck) return FormatResult::Complete;
    }
    ShowFormatMessage(LoadString(sid::kInvalidUpcE));
    return FormatResult::Reported;
}

FormatResult CheckUpcEEleven(int variation, std::string_view text) {
    const char system = IsUpcENumberSystem1Class(variation) ? '1' : '0';
    if (!text.empty() && text[0] != system) {
        ShowFormatMessage(LoadString(system == '1' ? sid::kFirstMustBe1 : sid::kFirstMustBe0));
        return FormatResult::Reported;
    }
    if (!DigitsOnly(text) || text.size() > 11) {
        ShowIncorrectInput(variation);
        return FormatResult::Rejected;
    }
    if (text.size() < 11) return FormatResult::Incomplete;
    std::string six;
    if (SuppressZeros(text.substr(1), six) == 0) return FormatResult::Complete;
    ShowFormatMessage(LoadString(sid::kInvalidUpcE));
    return FormatResult::Reported;
}

}  // namespace

void SelectMainFormat(int variation) { currentFormat = FindFormat(variation, FieldRole::Main); }

const FormatRecord* CurrentFormat() { return currentFormat; }

FormatResult ValidateInput(int variation, FieldRole role, std::string_view text) {
    const bool main = role == FieldRole::Main;
    if (main && variation == 114 && !text.empty() && text[0] != '0') {
        ShowFormatMessage(LoadString(sid::kConvertFirst0));
        return FormatResult::Reported;
    }
    if (main && IsUpcESixDigitClass(variation)) return CheckUpcESix(variation, text);
    if (main && IsUpcEElevenDigitClass(variation)) return CheckUpcEEleven(variation, text);

    currentFormat = FindFormat(variation, role);
    if (currentFormat && text.size() > currentFormat->maxLength) return FormatResult::TooLong;
    if (text.empty()) return FormatResult::Incomplete;

    const int state = currentFormat ? RunFormat(*currentFormat, text) : 0;
    if (state == 0) {
        if (IsPharmacodeComputedClass(variation) && DigitsOnly(text))
            ShowOutOfRange("1", "276");
        else if (IsPharmacodeClass(variation) && !IsPharmacodeComputedClass(variation) && DigitsOnly(text))
            ShowOutOfRange("1", "131070");
        else
            ShowIncorrectInput(variation);
        return FormatResult::Rejected;
    }
    if (!IsAcceptingState(*currentFormat, state)) return FormatResult::Incomplete;
    if (main && !DateValid(variation, text)) return FormatResult::InvalidDate;
    return FormatResult::Complete;
}

}  // namespace vg
