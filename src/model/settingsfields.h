// Every field of SettingsRecord by its stored name: kind, reader and writer.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "model/symbolsettings.h"

namespace vg {

enum class FieldKind {
    Integer,    // any integer type; minimum..maximum is the range of the type
    Decimal,    // double
    FixedText,  // char[N]; holds at most capacity (N-1) characters
    Text,       // std::string
};

struct SettingsField {
    const char* name;
    FieldKind kind;
    long long minimum = 0;
    long long maximum = 0;
    std::size_t capacity = 0;
    long long (*getInteger)(const SettingsRecord&) = nullptr;
    void (*setInteger)(SettingsRecord&, long long) = nullptr;
    double (*getDecimal)(const SettingsRecord&) = nullptr;
    void (*setDecimal)(SettingsRecord&, double) = nullptr;
    std::string_view (*getText)(const SettingsRecord&) = nullptr;
    void (*setText)(SettingsRecord&, std::string_view) = nullptr;  // FixedText: cut to capacity
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

// The value as text: integers in decimal, decimals with the given number of
// decimals (C locale), texts as stored.
std::string FieldValueText(const SettingsRecord& record, const SettingsField& field, int decimals = 6);

}  // namespace vg
