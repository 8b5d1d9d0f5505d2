// Table-driven input format engine: checks a field's text against the format of
// the variation and field, shows the format error messages itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "entry/fieldrole.h"

namespace vg {

enum class FormatResult {
    TooLong,      // longer than the format's maximum length
    Rejected,     // a character was refused; the message has been shown
    Incomplete,   // every character accepted, no accepting state reached
    Complete,     // accepted, semantic checks passed
    InvalidDate,  // accepted, but a date inside the text is not a real date
    Reported,     // a semantic check failed and its message has been shown
};

// Format record.
inline constexpr int kMaxFormatSymbols = 18;
inline constexpr int kMaxFormatStates = 127;  // states are signed 8-bit: rows 0..127
inline constexpr int kMaxAcceptGroups = kMaxFormatStates;
inline constexpr int kMaxGroupMembers = 4;

enum class CharClass : std::uint8_t {
    Literal,
    Digit,
    Letter,
    LetterOrDigit,
    UpperButS,
    Code39Set,
    CodabarSet,
    Code93FreeSet,
    Code128Set,
    AiSet,
    Digits1To9,
    Digits2To9,
    Digits1To4,
    Digits3_5To9,
    Digits0_3_5To9,
    Digits1_3_5To9,
    Digits0_2_3_5To9,
    Digits2_3_5To9,
    Digits0_2_5To9,
    Digits0_2_3_6To9,
    Digits1235679,
    Digits1245679,
    Digits0To4_6To9,
    Digits0To3_6To8,
    Digits0To2_4To9,
    Digits2To7_9,
    Digits3To7_9,
    AsciiSet,  // printable ASCII and DEL
};

struct FormatSymbol {
    CharClass cls = CharClass::Literal;
    char literal = 0;  // for CharClass::Literal
};

struct AcceptGroup {
    std::int8_t state = 0;  // a negative state
    std::uint8_t count = 0;
    std::int8_t members[kMaxGroupMembers] = {};
};

struct FormatRecord {
    std::uint8_t maxLength = 0;
    std::uint8_t symbolCount = 0;
    FormatSymbol symbols[kMaxFormatSymbols] = {};
    std::uint8_t stateCount = 0;  // rows per table: states 0..stateCount-1 (by absolute value)
    std::int8_t next[kMaxFormatSymbols][kMaxFormatStates + 1] = {};
    std::int8_t acceptingState = 0;
    std::uint8_t groupCount = 0;
    AcceptGroup groups[kMaxAcceptGroups] = {};
};

// True when c is a member of the class.
bool InCharClass(CharClass cls, unsigned char c);
// True when c matches the symbol (its literal or its class).
bool SymbolMatches(const FormatSymbol& symbol, unsigned char c);

// Runs a format's automaton on a text from state 0. Returns the final state, or 0
// when a character was rejected (rejectedAt then gives its index).
int RunFormat(const FormatRecord& format, std::string_view text, std::size_t* rejectedAt = nullptr);
// True when the state is the accepting state or a negative state whose group holds it.
bool IsAcceptingState(const FormatRecord& format, int state);

// Builds a format record from a pattern:
//   D digit, L letter, A letter or digit, U upper case letter,
//   'text' the characters themselves, [0-2a] a set of characters,
//   <name> a named set (code39, codabar, code93, code128, ai, hibclink),
//   ( | ) grouping and alternatives, {n} {m..n} + * ? repetitions.
// Returns false (with the reason in error) when the pattern is malformed or
// its tables exceed the record: 18 symbols, states 0..127.
bool BuildFormat(std::string_view pattern, int maxLength, FormatRecord& out, std::string* error = nullptr);

// The format of a variation's field, or nullptr when the field accepts nothing.
// The records are built with the program from the rows' patterns.
const FormatRecord* FindFormat(int variation, FieldRole role);
// The pattern a variation's field format is built from, with its maximum
// length; false when the field accepts nothing.
bool FindFormatPattern(int variation, FieldRole role, std::string& pattern, int& maxLength);
// Builds every format of the table, checks each record against the automaton
// it was made from and against the record in use; false with the format and
// the reason in error.
bool CheckFormatTable(std::string* error = nullptr);
// The rows of the table and the record each uses (for the build's table writer).
std::size_t FormatRowCount();
const FormatRecord* FormatRowRecord(std::size_t row);

// Loads the main field's format of the variation as the current format.
void SelectMainFormat(int variation);
// The engine's current format (nullptr: accepts nothing).
const FormatRecord* CurrentFormat();

// Validates a field's text of a variation; shows the message of a refusal.
FormatResult ValidateInput(int variation, FieldRole role, std::string_view text);

}  // namespace vg
