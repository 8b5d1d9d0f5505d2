// Families and variations: the one table every other subsystem reads.
#pragma once

#include <initializer_list>
#include <span>
#include <string>

namespace vg {

enum class SymbolGroup {
    None,
    Codabar,
    Code128,
    Code25,
    Code39,
    Code39InItfFrame,
    Code93,
    Ean13,
    Ean8,
    Fim,
    BooklandText,
    BooklandEan13,
    Itf,
    Msi,
    Pharmacode,
    Postnet,
    UccEan128,
    UccEan128Coupon,
    Ean99Coupon,
    UpcA,
    UpcE,
};

// Input-bar layouts: 0 is the empty read-only layout, 1..7 are "Schema #1".."Schema #7".
inline constexpr int kLayoutNone = 0;

// True when code is one of codes.
inline bool OneOf(int code, std::initializer_list<int> codes) {
    for (int c : codes)
        if (c == code) return true;
    return false;
}

// Family codes tested by name.
inline constexpr int kFamilyCodabar = 1;
inline constexpr int kFamilyCode128 = 2;
inline constexpr int kFamilyCode25 = 3;
inline constexpr int kFamilyCode39 = 4;
inline constexpr int kFamilyCode93 = 5;
inline constexpr int kFamilyEan = 6;
inline constexpr int kFamilyFim = 7;
inline constexpr int kFamilyIsbn = 8;
inline constexpr int kFamilyIssn = 9;
inline constexpr int kFamilyItf = 10;
inline constexpr int kFamilyMsi = 11;
inline constexpr int kFamilyPharmacode = 12;
inline constexpr int kFamilyPostnet = 13;
inline constexpr int kFamilySpcn = 14;
inline constexpr int kFamilyUccEan128 = 15;
inline constexpr int kFamilyUpcA = 16;
inline constexpr int kFamilyUpcE = 17;
inline constexpr int kFamilyIsmn = 18;
inline constexpr int kFamilyIsrc = 19;

struct VariationInfo {
    int code;
    int family;
    int nameId;        // string id of the display name
    const char* name;  // display name as stored under nameId
    SymbolGroup group;
    int layout;  // 0 none, 1..7
    const char* initialMainText;
};

struct FamilyInfo {
    int code;
    const char* name;
    const char* prefix;  // default file-name prefix; "" for none
};

// All catalogue entries in code order.
std::span<const VariationInfo> Catalogue();
// The entry of a code, or nullptr for codes that are not variations.
const VariationInfo* FindVariation(int code);
// Families 1..19 in code order.
std::span<const FamilyInfo> Families();
const FamilyInfo* FindFamily(int code);

// Display name from the string table; "Unknown symbology" for codes that are not variations.
std::string VariationDisplayName(int code);
SymbolGroup GroupOf(int variation);
const char* InitialMainText(int variation);  // "" when none

// Default file-name prefix ("" for none) and default file name ("<prefix>Untitled").
std::string FamilyPrefix(int family, int variation);
std::string DefaultFileName(int family, int variation);

// Input layout chosen by family first, then by variation.
int ChooseInputLayout(int family, int variation);

// Vantic128 embedding factors.
struct EmbeddingFactors {
    double p;
    double q;
};
EmbeddingFactors EmbeddingFactorsOf(int variation);
// Factors of the current variation, set when it is chosen with defaults.
extern EmbeddingFactors CurrentEmbeddingFactors;
void SetEmbeddingFactors(int variation);

// Named variation classes.
bool IsEan13Class(int v);
bool IsEan8Class(int v);
bool IsEanClass(int v);
bool IsUpcAClass(int v);
bool IsUpcEClass(int v);
bool IsUpcENumberSystem1Class(int v);
bool IsUpcESixDigitClass(int v);     // UPC-E typed as its six digits
bool IsUpcEElevenDigitClass(int v);  // UPC-E typed as the eleven digits of its UPC-A
bool IsUpcANdcClass(int v);          // UPC-A National Drug Code
bool IsUpcClass(int v);
bool IsUccEan128CouponClass(int v);
bool IsEan99CouponClass(int v);
bool IsCouponClass(int v);
bool IsBooklandEan13Class(int v);
bool IsBooklandTextClass(int v);
bool IsBooklandFamily(int family);
bool IsGeneralStandardNumberClass(int v);  // standard numbers in OCR text without bars
bool IsIssnClass(int v);
bool IsAdjustedBookClass(int v);  // book numbers whose text line is adjusted
bool IsIsbnDualClass(int v);      // ISBN-13 with the ISBN-10 line above
bool IsUpcEanClass(int v);
bool IsItfBearerClass(int v);
bool IsItfSpecialTextClass(int v);  // ITF texts drawn around the bearer frame
bool IsItf14PairClass(int v);       // ITF-14 with a second symbol after "++"
bool IsItf14OpenFrameClass(int v);  // ITF-14 with bearer bars above and below only
bool IsItfEvenDigitClass(int v);    // ITF that takes an even number of digits as typed
bool IsCode39InItfFrameClass(int v);
bool IsBearerFrameClass(int v);  // drawn inside an ITF bearer frame
bool IsCode39CustomsClass(int v);
bool IsMsiDoubleMod10Class(int v);
bool IsPharmacodeClass(int v);
bool IsPharmacodeWideSpaceClass(int v);  // wide spaces of four modules
bool IsPharmacodeStandardClass(int v);   // wide spaces of two modules
bool IsPharmacodeComputedClass(int v);   // the number computed from the typed pattern
bool IsShipToZipClass(int v);
bool IsPostnetLowerRightClass(int v);
bool IsPostnetWideAreaClass(int v);
bool IsVantic128Class(int v);
bool IsVantic128EmbeddedClass(int v);
bool IsVantic128BelowClass(int v);
bool IsVantic128BesideClass(int v);
bool IsCode128HibcClass(int v);       // Code 128 HIBC LIC
bool IsIsbtClass(int v);              // Code 128 ISBT
bool IsUccEan128Class(int v);         // UCC/EAN-128, coupons excluded
bool IsUccEan128CheckedClass(int v);  // UCC/EAN-128 with a modulo 10 check in the data
bool IsCode128EncodedClass(int v);    // everything the Code 128 encoder writes, coupons included
bool IsVariableLengthClass(int v);
bool IsPznClass(int v);            // Code 39 PZN sizes
bool IsRatioFamily(int family);    // families whose wide elements follow a ratio
bool IsUccEan128WideClass(int v);  // UCC/EAN-128 shipping sizes

}  // namespace vg
