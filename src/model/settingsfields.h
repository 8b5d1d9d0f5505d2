// Every field of SettingsRecord by its stored name: kind, reader and writer.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/symbolsettings.h"

namespace vg {

enum class FieldKind {
    Integer,    // any integer type; minimum..maximum is the range of the type
    Decimal,    // double
    FixedText,  // char[N]; holds at most capacity (N-1) characters
    Text,       // std::string
};

// Who sets a field when fields are set by name.
enum class FieldEntry {
    Free,       // the user, within the field's valid values
    Variation,  // the chosen variation
    Computed,   // the data entry pipeline or start-up
    Output,     // the chosen output format
};

struct SettingsField {
    const char* name;
    FieldKind kind;
    long long minimum = 0;  // range of the integer type
    long long maximum = 0;
    std::size_t capacity = 0;

    // Valid values as a user enters them.
    const char* unit = "";
    bool ranged = false;  // low..high, inclusive; digit texts as numbers
    double low = 0;
    double high = 0;
    bool flag = false;          // 0 or 1
    bool quarterTurns = false;  // 0, 90, 180 or 270
    bool digits = false;        // texts: decimal digits only
    bool required = false;      // texts: not empty
    const char* fallback = "";  // required texts: what an empty stored one becomes
    std::size_t maxLength = 0;  // texts: at most this many characters (0: capacity or none)
    const char* note = "";      // what else limits the value
    bool zeroStored = false;    // files store 0 for "not set", outside the range
    FieldEntry entry = FieldEntry::Free;

    long long (*getInteger)(const SettingsRecord&) = nullptr;
    void (*setInteger)(SettingsRecord&, long long) = nullptr;
    double (*getDecimal)(const SettingsRecord&) = nullptr;
    void (*setDecimal)(SettingsRecord&, double) = nullptr;
    std::string_view (*getText)(const SettingsRecord&) = nullptr;
    void (*setText)(SettingsRecord&, std::string_view) = nullptr;  // FixedText: cut to capacity

    constexpr SettingsField In(double lo, double hi, const char* unitName = "") const {
        SettingsField f = *this;
        f.ranged = true;
        f.low = lo;
        f.high = hi;
        if (*unitName) f.unit = unitName;
        return f;
    }
    constexpr SettingsField Flag() const {
        SettingsField f = In(0, 1);
        f.flag = true;
        return f;
    }
    constexpr SettingsField QuarterTurns() const {
        SettingsField f = *this;
        f.quarterTurns = true;
        f.unit = "degrees";
        return f;
    }
    constexpr SettingsField Digits(std::size_t most) const {
        SettingsField f = *this;
        f.digits = true;
        f.maxLength = most;
        return f;
    }
    constexpr SettingsField AtMost(std::size_t most) const {
        SettingsField f = *this;
        f.maxLength = most;
        return f;
    }
    constexpr SettingsField Required(const char* fallbackText) const {
        SettingsField f = *this;
        f.required = true;
        f.fallback = fallbackText;
        return f;
    }
    constexpr SettingsField Unit(const char* unitName) const {
        SettingsField f = *this;
        f.unit = unitName;
        return f;
    }
    constexpr SettingsField Note(const char* text) const {
        SettingsField f = *this;
        f.note = text;
        return f;
    }
    constexpr SettingsField ZeroStored() const {
        SettingsField f = *this;
        f.zeroStored = true;
        return f;
    }
    constexpr SettingsField SetBy(FieldEntry who) const {
        SettingsField f = *this;
        f.entry = who;
        return f;
    }
};

// All fields in the declared order of the record.
std::span<const SettingsField> SettingsFields();
// The field of an exact name, or nullptr.
const SettingsField* FindSettingsField(std::string_view name);

// Parses text for the field and stores it: integers in decimal within the
// range of the field's type, decimals in C-locale notation (finite only),
// texts as given (fixed texts cut). False, with the reason in problem, when
// the text is not a value of the field; the record is then unchanged.
bool SetFieldValue(SettingsRecord& record, const SettingsField& field, std::string_view text,
                   std::string* problem = nullptr);

// Whether text is a valid value of the field as a user enters it (range,
// choices, digits, length; texts without line breaks and never cut); when
// not, reason says why ("'45' is out of range").
bool CheckFieldText(const SettingsField& field, std::string_view text, std::string* reason = nullptr);

// CheckFieldText, then SetFieldValue; a refusal's problem ends with the
// field's valid values ("; valid: 0, 90, 180 or 270 degrees").
bool EnterFieldValue(SettingsRecord& record, const SettingsField& field, std::string_view text,
                     std::string* problem = nullptr);

// Brings every number of a record read from outside (a file, a Kitlet, the
// profile) into its field's valid values: a number outside its range to the
// nearer end (not a number: the low end, or 0 where the range holds it), a flag
// to 0 or 1 as it tests, a turn that is no quarter turn to 0. Family and
// Variation are left to the catalogue. Returns one entry per field changed:
// "BearerBar 1000000000 -> 36".
std::vector<std::string> ClampToValidValues(SettingsRecord& record);
// The line that says what ClampToValidValues changed: "out of range, brought
// into it: ..."; empty when nothing changed.
std::string ClampedFieldsText(const std::vector<std::string>& changed);

// "flag", "integer", "decimal" or "text".
const char* FieldTypeText(const SettingsField& field);
// The valid values: "1.8..4.2", "0, 90, 180 or 270", "at most 61 characters".
std::string FieldRangeText(const SettingsField& field);
// FieldRangeText with the unit: "2.25..864 points".
std::string ValidValuesText(const SettingsField& field);
// Text in single quotes, control characters as \n, \r or \xNN: one line.
std::string QuotedText(std::string_view text);
// A number as short as it reads: 0.13, 864, -6.
std::string ShortNumber(double value);

// The value as text: integers in decimal, decimals with the given number of
// decimals (C locale), texts as stored.
std::string FieldValueText(const SettingsRecord& record, const SettingsField& field, int decimals = 6);

}  // namespace vg
