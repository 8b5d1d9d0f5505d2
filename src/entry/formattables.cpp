// The input formats of every variation and field: the patterns, which fields
// they serve, and the records built from them.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "entry/formatengine.h"
#include "entry/patterncompiler.h"

namespace vg {

namespace {

constexpr int kRoles = 5;
constexpr int kVariations = 256;

struct FormatRow {
    FieldRole role;
    const char* variations;  // "2,3,4,41" and ranges "77-80"
    int maxLength;
    std::string pattern;
};

// Date forms shared by the HIBC secondary and the (22) formats.
const std::string kMonth = "('0'[1-9] | '1'[0-2])";
const std::string kDay = "('0'[1-9] | [12]D | '3'[01])";
const std::string kHour = "([01]D | '2'[0-4])";
const std::string kJulianDay = "('0'('0'[1-9] | [1-9]D) | [12]DD | '3'([0-5]D | '6'[0-6]))";
const std::string kDateForm = "(" + kMonth + "DD | '2'" + kMonth + kDay + "DD | '3'DD" + kMonth + kDay + " | '4'DD" +
                              kMonth + kDay + kHour + " | '5'DD" + kJulianDay + " | '6'DD" + kJulianDay + kHour +
                              " | '7')";
const std::string kQuantityDate = "(" + kDateForm + " | '8'D{2}" + kDateForm + " | '9'D{5}" + kDateForm + ")";
// Secondary data after its leading '+'.
const std::string kSecondary =
    "('$$'" + kQuantityDate + "A{0..13}(<hibclink> | A)? | ('$'A+ | DD" + kJulianDay + "A*)<hibclink>?)";

std::vector<FormatRow> Rows() {
    using R = FieldRole;
    return {
        {R::Main, "1,5", 60, "<codabar>+"},
        {R::Main, "2,3,4,41,42,44", 13, "D{13}"},
        {R::Main, "6", 60, "<code128>+"},
        {R::Main, "7,17", 50, "'+'L A{4}A{0..11}D '/'" + kSecondary},
        {R::Main, "8,18", 19, "'+'L A{4}A{0..12}D"},
        {R::Main, "9,19", 32, "'+'" + kSecondary},
        {R::Main, "10,39,46,47,48,115", 60, "D+"},
        {R::Main, "40,99", 59, "D+"},
        {R::Main, "98", 8, "D{8}"},
        {R::Main, "11,12,14,15,16,20,76", 60, "<code39>+"},
        {R::Main, "103,104", 60, "<ascii>+"},
        {R::Fact, "11,12,14,20", 5, "<code39>+"},
        {R::Main, "13", 10, "A{3}D{7}"},
        {R::Main, "21,22,23,27,37,38,111,138,141", 7, "D{7}"},
        {R::Main, "24,25", 60, "(<code93> | U | ']' | '[S'[1-4]']'U)+"},
        {R::Main, "26,114", 12, "D{12}"},
        {R::CouponUpc, "81-85", 12, "D{12}"},
        {R::Main, "28", 12, "'4'[59]D{10}"},
        {R::Main, "29", 7, "'4'[59]D{5}"},
        {R::Main, "34,35,36,53,54,77-80,86,87,100,105-110,134,135,136,145,146", 9, "D{9}"},
        {R::Main, "43,51,52", 5, "D{5}"},
        {R::Main, "45", 15, "D{15}"},
        {R::Main, "55,56,72", 11, "D{11}"},
        {R::Main, "73", 11, "'3'D{10}"},
        {R::Main, "49,97", 6, "[1-9]D{0..4} | '1'[0-2]D{4} | '130'D{3} | '1310'[0-6]D | '131070'"},
        {R::Main, "50", 3, "[1-9]D? | '1'DD | '2'[0-6]D | '27'[0-6]"},
        {R::Main, "60", 60, "('(' A+ ')' A+)+"},
        {R::CouponUpc, "61-65", 11, "'5'D{10}"},
        {R::Coupon128, "61,81", 12, "'(8100)'D{6}"},
        {R::Coupon128, "62,82", 16, "'(8101)'D{10}"},
        {R::Coupon128, "63,83", 24, "'(8100)'D{6}'(21)'D{8}"},
        {R::Coupon128, "64,84", 28, "'(8101)'D{10}'(21)'D{8}"},
        {R::Coupon128, "65,85", 8, "'(8102)'D{2}"},
        {R::Main, "66", 53, "'(01)'D{14}'(240)'A{0..30}"},
        {R::Main, "67", 17, "'(01)'D{13}"},
        {R::Main, "68", 33, "'(22)'" + kQuantityDate + "A{0..14}"},
        {R::Main, "69", 14, "'(420)'A{0..9}"},
        {R::Main, "70", 17, "'(421)'D{3}A{0..9}"},
        {R::Main, "71", 21, "'(00)'D{17}"},
        {R::Main, "88", 16, "'='A D{14}"},
        {R::Main, "89", 6, "'=%'A{4}"},
        {R::Main, "90", 12, "'&*'D{10}"},
        {R::Main, "91", 8, "'=*'D{6}"},
        {R::Main, "92", 8, "'=>'D{6}"},
        {R::Main, "93", 12, "'&>'D{10}"},
        {R::Main, "94", 12, "'=)'A{10}"},
        {R::Main, "95", 10, "'=<'A{8}"},
        {R::Main, "96", 7, "'&('A{5}"},
        {R::Main, "116-123", 60, "('0'[1-9] | [1-8]D | '9'[0-4])([0-8]D | '9'[0-5])*"},
        {R::Main, "124", 23, "'(8018)'D{17}"},
        {R::Main, "125", 17, "'(410)'D{12}"},
        {R::Main, "126", 17, "'(411)'D{12}"},
        {R::Main, "127", 17, "'(412)'D{12}"},
        {R::Main, "128", 17, "'(413)'D{12}"},
        {R::Main, "129", 17, "'(414)'D{12}"},
        {R::Main, "130", 17, "'(415)'D{12}"},
        {R::Main, "131", 36, "'(8003)'D{14}(D | [()] | <ai>)*"},
        {R::Main, "132", 36, "'(8004)'D(D | [()] | <ai>)*"},
        {R::AddOn, "26-29,35,36,38,72-75,77-80,101,102,105-111,114,134-136,138,141,145,146", 5, "D{2} | D{5}"},
        {R::AddOn, "41,42", 5, "D{5}"},
    };
}

// Calls f(variation) for every code of a list such as "2,3,77-80".
template <typename F>
void ForEachVariation(std::string_view list, F f) {
    std::size_t pos = 0;
    auto number = [&] {
        int n = 0;
        while (pos < list.size() && list[pos] >= '0' && list[pos] <= '9') n = n * 10 + (list[pos++] - '0');
        return n;
    };
    while (pos < list.size()) {
        const int first = number();
        int last = first;
        if (pos < list.size() && list[pos] == '-') {
            ++pos;
            last = number();
        }
        for (int v = first; v <= last; ++v) f(v);
        if (pos < list.size()) ++pos;  // the comma
    }
}

// Which row serves each field; a row's record is built when first asked for.
struct Tables {
    std::vector<FormatRow> rows = Rows();
    std::array<std::array<std::int8_t, kVariations>, kRoles> rowOf;
    std::vector<std::unique_ptr<FormatRecord>> records{rows.size()};
    std::unique_ptr<std::once_flag[]> built{new std::once_flag[rows.size()]};

    Tables() {
        for (auto& role : rowOf) role.fill(-1);
        for (std::size_t r = 0; r < rows.size(); ++r)
            ForEachVariation(rows[r].variations, [&](int v) {
                if (v >= 0 && v < kVariations) rowOf[static_cast<int>(rows[r].role)][v] = static_cast<std::int8_t>(r);
            });
    }
};

Tables& FormatTables() {
    static Tables tables;
    return tables;
}

#ifdef VGL_BUILT_FORMAT_RECORDS
// The records of every row, built with the program (writeformatrecords).
#include "formatrecords.inc"
static_assert(sizeof(kBuiltRecords) / sizeof(kBuiltRecords[0]) > 0);

const FormatRecord* RowRecord(std::size_t r) { return r < std::size(kBuiltRecords) ? &kBuiltRecords[r] : nullptr; }
#else
// A row that does not fit the format record stops the program; the tests
// build and check every row.
const FormatRecord* RowRecord(std::size_t r) {
    Tables& t = FormatTables();
    std::call_once(t.built[r], [&] {
        auto record = std::make_unique<FormatRecord>();
        std::string error;
        if (!BuildFormatRecord(t.rows[r].pattern, t.rows[r].maxLength, *record, &error, false)) {
            std::fprintf(stderr, "input format of %s: %s\n", t.rows[r].variations, error.c_str());
            std::abort();
        }
        t.records[r] = std::move(record);
    });
    return t.records[r].get();
}
#endif

}  // namespace

const FormatRecord* FindFormat(int variation, FieldRole role) {
    const int r = static_cast<int>(role);
    if (variation < 0 || variation >= kVariations || r < 0 || r >= kRoles) return nullptr;
    const int row = FormatTables().rowOf[r][variation];
    return row < 0 ? nullptr : RowRecord(static_cast<std::size_t>(row));
}

bool FindFormatPattern(int variation, FieldRole role, std::string& pattern, int& maxLength) {
    const int r = static_cast<int>(role);
    if (variation < 0 || variation >= kVariations || r < 0 || r >= kRoles) return false;
    const Tables& t = FormatTables();
    const int row = t.rowOf[r][variation];
    if (row < 0) return false;
    pattern = t.rows[static_cast<std::size_t>(row)].pattern;
    maxLength = t.rows[static_cast<std::size_t>(row)].maxLength;
    return true;
}

bool CheckFormatTable(std::string* error) {
    const Tables& t = FormatTables();
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const FormatRow& row = t.rows[r];
        auto record = std::make_unique<FormatRecord>();
        std::string why;
        if (!BuildFormatRecord(row.pattern, row.maxLength, *record, &why, true)) {
            if (error) *error = std::string("input format of ") + row.variations + ": " + why;
            return false;
        }
        const FormatRecord* used = RowRecord(r);
        if (used == nullptr || std::memcmp(used, record.get(), sizeof(FormatRecord)) != 0) {
            if (error)
                *error = std::string("input format of ") + row.variations +
                         ": the record in use is not the one its pattern gives";
            return false;
        }
    }
    return true;
}

std::size_t FormatRowCount() { return FormatTables().rows.size(); }

const FormatRecord* FormatRowRecord(std::size_t row) { return row < FormatRowCount() ? RowRecord(row) : nullptr; }

}  // namespace vg
