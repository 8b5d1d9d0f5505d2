#include "model/catalogue.h"

#include <algorithm>
#include <iterator>

#include "model/strings.h"

namespace vg {
namespace {

using G = SymbolGroup;

// Sorted by code; codes are stored in files and never change.
constexpr VariationInfo kVariations[] = {
    {1, 1, 61265, "Codabar General", G::Codabar, 2, ""},
    {2, 1, 61266, "Codabar Library Format 1", G::Codabar, 4, ""},
    {3, 1, 61267, "Codabar Library Format 2", G::Codabar, 4, ""},
    {4, 1, 61268, "Codabar Library Format 3", G::Codabar, 4, ""},
    {5, 1, 61269, "Codabar Mod 16", G::Codabar, 4, ""},
    {6, 2, 61273, "Code 128 Optimized General", G::Code128, 4, ""},
    {7, 2, 61270, "Code 128 HIBC LIC Combination", G::Code128, 4, "+"},
    {8, 2, 61271, "Code 128 HIBC LIC Primary", G::Code128, 4, "+"},
    {9, 2, 61272, "Code 128 HIBC LIC Secondary", G::Code128, 4, "+"},
    {10, 3, 61283, "Code 25", G::Code25, 4, ""},
    {11, 4, 61289, "Code 39 General", G::Code39, 5, ""},
    {12, 4, 61290, "Code 39 General Mod 43", G::Code39, 6, ""},
    {13, 4, 61284, "Code 39 Customs Service", G::Code39, 4, ""},
    {14, 4, 61285, "Code 39 DPS", G::Code39, 5, ""},
    {15, 4, 61286, "Code 39 Full ASCII", G::Code39, 2, ""},
    {16, 4, 61288, "Code 39 Full ASCII Mod 43", G::Code39, 4, ""},
    {17, 4, 61291, "Code 39 HIBC LIC Combination", G::Code39, 4, "+"},
    {18, 4, 61292, "Code 39 HIBC LIC Primary", G::Code39, 4, "+"},
    {19, 4, 61293, "Code 39 HIBC LIC Secondary", G::Code39, 4, "+"},
    {20, 4, 61294, "Code 39 LOGMARS", G::Code39, 2, ""},
    {21, 4, 61295, "Code 39 PZN Code Large", G::Code39, 2, ""},
    {22, 4, 61296, "Code 39 PZN Code Normal", G::Code39, 2, ""},
    {23, 4, 61297, "Code 39 PZN Code Small", G::Code39, 2, ""},
    {24, 5, 61298, "Code 93 General", G::Code93, 4, ""},
    {25, 5, 61299, "Code 93 Canada Business Reply", G::Code93, 4, ""},
    {26, 6, 61300, "EAN-13", G::Ean13, 1, ""},
    {27, 6, 61301, "EAN-8", G::Ean8, 1, ""},
    {28, 6, 61324, "JAN-13", G::Ean13, 1, "4"},
    {29, 6, 61325, "JAN-8", G::Ean8, 1, "4"},
    {30, 7, 61302, "FIM Pattern A", G::Fim, 3, ""},
    {31, 7, 61303, "FIM Pattern B", G::Fim, 3, ""},
    {32, 7, 61304, "FIM Pattern C", G::Fim, 3, ""},
    {33, 7, 61305, "FIM Pattern D", G::Fim, 3, ""},
    {34, 8, 61308, "ISBN General", G::BooklandText, 4, ""},
    {35, 8, 61306, "ISBN 978 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {36, 8, 61307, "ISBN 979 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {37, 9, 61316, "ISSN General", G::BooklandText, 4, ""},
    {38, 9, 61315, "ISSN 977 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {39, 10, 61319, "ITF General", G::Itf, 2, ""},
    {40, 10, 61323, "ITF Mode 10", G::Itf, 4, ""},
    {41, 10, 61317, "ITF-14 SCC-14", G::Itf, 1, ""},
    {42, 10, 61318, "ITF-14 Open Bearer Bar", G::Itf, 1, ""},
    {43, 10, 61322, "ITF JIS-ITF 5-Digit", G::Itf, 4, ""},
    {44, 10, 61320, "ITF JIS-ITF 13-Digit", G::Itf, 4, ""},
    {45, 10, 61321, "ITF JIS-ITF 15-Digit", G::Itf, 4, ""},
    {46, 11, 61326, "MSI/Plessey Double Mod 10", G::Msi, 4, ""},
    {47, 11, 61327, "MSI/Plessey Mod 10", G::Msi, 4, ""},
    {48, 11, 61328, "MSI/Plessey Mod 11", G::Msi, 4, ""},
    {49, 12, 61330, "Pharmacode Wide Space", G::Pharmacode, 4, ""},
    {50, 12, 61329, "Pharmacode WS Comp-Input", G::Pharmacode, 4, ""},
    {51, 13, 61333, "POSTNET 5-Digit Lower-Right", G::Postnet, 4, ""},
    {52, 13, 61334, "POSTNET 5-Digit Wide-Area", G::Postnet, 4, ""},
    {53, 13, 61335, "POSTNET 9-Digit Lower-Right", G::Postnet, 4, ""},
    {54, 13, 61336, "POSTNET 9-Digit Wide-Area", G::Postnet, 4, ""},
    {55, 13, 61331, "POSTNET 11-Digit Lower-Right", G::Postnet, 4, ""},
    {56, 13, 61332, "POSTNET 11-Digit Wide-Area", G::Postnet, 4, ""},
    {57, 14, 61339, "SPCN General", G::None, 0, ""},
    {58, 14, 61337, "SPCN 978 EAN-13 Attached", G::None, 0, ""},
    {59, 14, 61338, "SPCN 979 EAN-13 Attached", G::None, 0, ""},
    {60, 15, 61356, "UCC/EAN-128 General", G::UccEan128, 4, "("},
    {61, 15, 61340, "UCC/EAN-128 Coupon Format 1", G::UccEan128Coupon, 7, ""},
    {62, 15, 61341, "UCC/EAN-128 Coupon Format 2", G::UccEan128Coupon, 7, ""},
    {63, 15, 61342, "UCC/EAN-128 Coupon Format 3", G::UccEan128Coupon, 7, ""},
    {64, 15, 61343, "UCC/EAN-128 Coupon Format 4", G::UccEan128Coupon, 7, ""},
    {65, 15, 61344, "UCC/EAN-128 Coupon Format 5", G::UccEan128Coupon, 7, ""},
    {66, 15, 61350, "UCC/EAN-128 HIBC 01/240", G::UccEan128, 4, "(01)"},
    {67, 15, 61351, "UCC/EAN-128 HIBC Primary", G::UccEan128, 4, "(01)"},
    {68, 15, 61352, "UCC/EAN-128 HIBC Secondary 22", G::UccEan128, 4, "(22)"},
    {69, 15, 61354, "UCC/EAN-128 Ship-To ZIP 420", G::UccEan128, 4, "(420)"},
    {70, 15, 61355, "UCC/EAN-128 Ship-To ZIP 421", G::UccEan128, 4, "(421)"},
    {71, 15, 61353, "UCC/EAN-128 Shipping Container", G::UccEan128, 4, "(00)"},
    {72, 16, 61357, "UPC (A) General", G::UpcA, 1, ""},
    {73, 16, 61358, "UPC (A) NDC/HRI", G::UpcA, 1, "3"},
    {74, 17, 61360, "UPC (E) 6-Digit Input", G::UpcE, 1, ""},
    {75, 17, 61359, "UPC (E) 11-Digit Input", G::UpcE, 1, "0"},
    {76, 4, 61287, "Code 39 Fisher-Price", G::Code39InItfFrame, 2, ""},
    {77, 18, 61309, "ISMN 978 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {78, 18, 61310, "ISMN 979 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {79, 19, 61312, "ISRC 978 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {80, 19, 61313, "ISRC 979 EAN-13 Attached", G::BooklandEan13, 1, ""},
    {81, 15, 61345, "EAN-99 Coupon Format 1", G::Ean99Coupon, 7, ""},
    {82, 15, 61346, "EAN-99 Coupon Format 2", G::Ean99Coupon, 7, ""},
    {83, 15, 61347, "EAN-99 Coupon Format 3", G::Ean99Coupon, 7, ""},
    {84, 15, 61348, "EAN-99 Coupon Format 4", G::Ean99Coupon, 7, ""},
    {85, 15, 61349, "EAN-99 Coupon Format 5", G::Ean99Coupon, 7, ""},
    {86, 18, 61311, "ISMN General", G::BooklandText, 4, ""},
    {87, 19, 61314, "ISRC General", G::BooklandText, 4, ""},
    {88, 2, 61274, "Code 128 ISBT Donation ID Number", G::Code128, 4, "="},
    {89, 2, 61275, "Code 128 ISBT ABO/Rh Groups", G::Code128, 4, "=%"},
    {90, 2, 61279, "Code 128 ISBT Donation Collection Date and Time", G::Code128, 4, "&*"},
    {91, 2, 61278, "Code 128 ISBT Donation Collection Date", G::Code128, 4, "=*"},
    {92, 2, 61276, "Code 128 ISBT Expiration Date", G::Code128, 4, "=>"},
    {93, 2, 61277, "Code 128 ISBT Expiration Date and Time", G::Code128, 4, "&>"},
    {94, 2, 61281, "Code 128 ISBT Manufacturer's Information", G::Code128, 4, "=)"},
    {95, 2, 61280, "Code 128 ISBT Product Code", G::Code128, 4, "=<"},
    {96, 2, 61282, "Code 128 ISBT Special Testing", G::Code128, 4, "&("},
    {97, 12, 61391, "Pharmacode Standard", G::Pharmacode, 4, ""},
    {98, 10, 61407, "ITF Canadian Coupon Code", G::Itf, 2, ""},
    {99, 10, 61408, "ITF Astra", G::Itf, 4, ""},
    {100, 10, 61409, "ITF OPC Code", G::Itf, 4, ""},
    {101, 17, 61410, "UPC (E) 6-Digit Input System 1", G::UpcE, 1, ""},
    {102, 17, 61411, "UPC (E) 11-Digit Input System 1", G::UpcE, 1, "1"},
    {103, 4, 61412, "Code 39 Full ASCII Direct Input", G::Code39, 2, ""},
    {104, 4, 61413, "Code 39 Full ASCII Direct Input Mod 43", G::Code39, 4, ""},
    {105, 8, 61414, "ISBN 978 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {106, 8, 61415, "ISBN 979 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {107, 18, 61416, "ISMN 978 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {108, 18, 61417, "ISMN 979 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {109, 19, 61419, "ISRC 978 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {110, 19, 61420, "ISRC 979 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {111, 9, 61422, "ISSN 977 EAN-13 Adjusted", G::BooklandEan13, 1, ""},
    {114, 6, 61424, "Convert UPC to EAN", G::Ean13, 1, "0"},
    {115, 1, 61425, "Codabar Canadian Library", G::Codabar, 4, ""},
    {116, 2, 61544, "Vantic128 below", G::Code128, 4, ""},
    {117, 2, 61545, "Vantic128 beside", G::Code128, 4, ""},
    {118, 2, 61546, "Vantic128 embedded (95/20)", G::Code128, 4, ""},
    {119, 2, 61547, "Vantic128 embedded (85.5/17)", G::Code128, 4, ""},
    {120, 2, 61548, "Vantic128 embedded (76/13)", G::Code128, 4, ""},
    {121, 2, 61549, "Vantic128 embedded (66.5/9)", G::Code128, 4, ""},
    {122, 2, 61550, "Vantic128 embedded (57/5)", G::Code128, 4, ""},
    {123, 2, 61551, "Vantic128 embedded (47.5/2)", G::Code128, 4, ""},
    {124, 15, 61552, "UCC/EAN-128 GSRN AI 8018", G::UccEan128, 4, "(8018)"},
    {125, 15, 61553, "UCC/EAN-128 GLN Ship To AI 410", G::UccEan128, 4, "(410)"},
    {126, 15, 61554, "UCC/EAN-128 GLN Bill To AI 411", G::UccEan128, 4, "(411)"},
    {127, 15, 61555, "UCC/EAN-128 GLN Purchase From AI 412", G::UccEan128, 4, "(412)"},
    {128, 15, 61556, "UCC/EAN-128 GLN Ship For AI 413", G::UccEan128, 4, "(413)"},
    {129, 15, 61557, "UCC/EAN-128 GLN Physical Location AI 414", G::UccEan128, 4, "(414)"},
    {130, 15, 61558, "UCC/EAN-128 GLN Invoicing Party AI 415", G::UccEan128, 4, "(415)"},
    {131, 15, 61559, "UCC/EAN-128 GRAI AI 8003", G::UccEan128, 4, "(8003)"},
    {132, 15, 61660, "UCC/EAN-128 GIAI AI 8004", G::UccEan128, 4, "(8004)"},
    {134, 8, 61517, "ISBN-13 EAN Attached 978 DUAL", G::BooklandEan13, 1, ""},
    {135, 8, 61518, "ISBN-13 EAN Attached 978", G::BooklandEan13, 1, ""},
    {136, 8, 61519, "ISBN-13 EAN Attached 979", G::BooklandEan13, 1, ""},
    {138, 9, 61515, "ISSN-13 EAN Attached 977", G::BooklandEan13, 1, ""},
    {141, 9, 61516, "ISSN-13 EAN Adjusted 977", G::BooklandEan13, 1, ""},
    {145, 8, 61520, "ISBN-13 EAN Adjusted 978", G::BooklandEan13, 1, ""},
    {146, 8, 61521, "ISBN-13 EAN Adjusted 979", G::BooklandEan13, 1, ""},
};

constexpr FamilyInfo kFamilies[] = {
    {1, "Codabar", "Codabar "},
    {2, "Code 128", "Code 128 "},
    {3, "Code 25", "Code 25 "},
    {4, "Code 39", "Code 39 "},
    {5, "Code 93", "Code 93 "},
    {6, "EAN/JAN", "EAN "},
    {7, "FIM", "FIM "},
    {8, "ISBN", "ISBN "},
    {9, "ISSN", "ISSN "},
    {10, "ITF", "ITF "},
    {11, "MSI/Plessey", "MSI Plessey "},
    {12, "Pharmacode", "Pharmacode "},
    {13, "POSTNET", "POSTNET "},
    {14, "SPCN", ""},
    {15, "UCC/EAN-128", "UCC EAN-128 "},
    {16, "UPC (A)", "UPC (A) "},
    {17, "UPC (E)", "UPC (E) "},
    {18, "ISMN", "ISMN "},
    {19, "ISRC", "ISRC "},
};

constexpr bool IsSortedByCode() {
    for (std::size_t i = 1; i < std::size(kVariations); ++i)
        if (kVariations[i - 1].code >= kVariations[i].code) return false;
    return true;
}
static_assert(IsSortedByCode());
static_assert(std::size(kVariations) == 137);
static_assert(std::size(kFamilies) == 19);

constexpr EmbeddingFactors kDefaultFactors{0.95, 0.2};

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

EmbeddingFactors CurrentEmbeddingFactors = kDefaultFactors;

std::span<const VariationInfo> Catalogue() { return kVariations; }

const VariationInfo* FindVariation(int code) {
    auto it = std::lower_bound(std::begin(kVariations), std::end(kVariations), code,
                               [](const VariationInfo& e, int key) { return e.code < key; });
    if (it == std::end(kVariations) || it->code != code) return nullptr;
    return &*it;
}

std::span<const FamilyInfo> Families() { return kFamilies; }

const FamilyInfo* FindFamily(int code) {
    if (code < 1 || code > static_cast<int>(std::size(kFamilies))) return nullptr;
    return &kFamilies[code - 1];
}

std::string VariationDisplayName(int code) {
    const VariationInfo* v = FindVariation(code);
    if (!v) return "Unknown symbology";
    return LoadString(v->nameId, v->name);
}

SymbolGroup GroupOf(int variation) {
    const VariationInfo* v = FindVariation(variation);
    return v ? v->group : SymbolGroup::None;
}

const char* InitialMainText(int variation) {
    const VariationInfo* v = FindVariation(variation);
    return v ? v->initialMainText : "";
}

std::string FamilyPrefix(int family, int variation) {
    if (family == kFamilyCode128 && IsVantic128Class(variation)) return "Vantic128 ";
    if (family == kFamilyEan && (variation == 28 || variation == 29)) return "JAN ";
    const FamilyInfo* f = FindFamily(family);
    return f ? f->prefix : "";
}

std::string DefaultFileName(int family, int variation) { return FamilyPrefix(family, variation) + "Untitled"; }

int ChooseInputLayout(int family, int variation) {
    if (family < 1 || family > 19 || family == 14) return kLayoutNone;
    // A code that is not a variation draws nothing, so it gets no input either.
    if (!FindVariation(variation)) return kLayoutNone;
    switch (family) {
    case 4:
        if (variation == 11 || variation == 14) return 5;
        if (variation == 12) return 6;
        break;
    case 7: return 3;
    case 8:
    case 9:
    case 18:
    case 19:
        if (!OneOf(variation, {34, 37, 86, 87})) return 1;
        break;
    case 6:
    case 16:
    case 17: return 1;
    case 10:
        if (variation == 41 || variation == 42) return 1;
        break;
    case 15:
        if (IsCouponClass(variation)) return 7;
        break;
    default: break;
    }
    return OneOf(variation, {1, 15, 20, 21, 22, 23, 39, 76, 98, 103}) ? 2 : 4;
}

EmbeddingFactors EmbeddingFactorsOf(int variation) {
    switch (variation) {
    case 119: return {0.855, 0.17};
    case 120: return {0.76, 0.13};
    case 121: return {0.665, 0.09};
    case 122: return {0.57, 0.05};
    case 123: return {0.475, 0.02};
    default: return kDefaultFactors;
    }
}

void SetEmbeddingFactors(int variation) { CurrentEmbeddingFactors = EmbeddingFactorsOf(variation); }

bool IsEan13Class(int v) { return OneOf(v, {26, 28, 114}); }
bool IsEan8Class(int v) { return v == 27 || v == 29; }
bool IsEanClass(int v) { return IsEan13Class(v) || IsEan8Class(v); }
bool IsUpcAClass(int v) { return v == 72 || v == 73; }
bool IsUpcEClass(int v) { return OneOf(v, {74, 75, 101, 102}); }
bool IsUpcENumberSystem1Class(int v) { return v == 101 || v == 102; }
bool IsUpcESixDigitClass(int v) { return v == 74 || v == 101; }
bool IsUpcEElevenDigitClass(int v) { return v == 75 || v == 102; }
bool IsUpcANdcClass(int v) { return v == 73; }
bool IsUpcClass(int v) { return IsUpcAClass(v) || IsUpcEClass(v); }
bool IsUccEan128CouponClass(int v) { return InRange(v, 61, 65); }
bool IsEan99CouponClass(int v) { return InRange(v, 81, 85); }
bool IsCouponClass(int v) { return IsUccEan128CouponClass(v) || IsEan99CouponClass(v); }

bool IsBooklandEan13Class(int v) {
    return OneOf(v, {35, 36, 38, 58, 59, 134, 135, 136, 138, 141, 145, 146}) || InRange(v, 77, 80) ||
           InRange(v, 105, 113);
}

bool IsBooklandTextClass(int v) { return OneOf(v, {34, 37, 57, 86, 87}); }
bool IsBooklandFamily(int family) {
    return OneOf(family, {kFamilyIsbn, kFamilyIssn, kFamilySpcn, kFamilyIsmn, kFamilyIsrc});
}
bool IsGeneralStandardNumberClass(int v) { return OneOf(v, {34, 37, 86, 87}); }
bool IsIssnClass(int v) { return OneOf(v, {37, 38, 111, 138, 141}); }
bool IsAdjustedBookClass(int v) { return InRange(v, 105, 113) || OneOf(v, {141, 145, 146}); }
bool IsIsbnDualClass(int v) { return v == 134; }

bool IsUpcEanClass(int v) { return IsUpcClass(v) || IsEanClass(v) || IsCouponClass(v) || IsBooklandEan13Class(v); }

bool IsItfBearerClass(int v) { return InRange(v, 41, 45); }
bool IsItfSpecialTextClass(int v) { return IsBearerFrameClass(v); }
bool IsItf14PairClass(int v) { return v == 41 || v == 42; }
bool IsItf14OpenFrameClass(int v) { return v == 42; }
bool IsItfEvenDigitClass(int v) { return v == 39 || v == 98; }
bool IsCode39InItfFrameClass(int v) { return v == 76; }
bool IsBearerFrameClass(int v) { return IsItfBearerClass(v) || IsCode39InItfFrameClass(v); }
bool IsCode39CustomsClass(int v) { return v == 13; }
bool IsMsiDoubleMod10Class(int v) { return v == 46; }
bool IsPharmacodeClass(int v) { return IsPharmacodeWideSpaceClass(v) || IsPharmacodeStandardClass(v); }
bool IsPharmacodeWideSpaceClass(int v) { return v == 49 || v == 50; }
bool IsPharmacodeStandardClass(int v) { return v == 97; }
bool IsPharmacodeComputedClass(int v) { return v == 50; }
bool IsShipToZipClass(int v) { return v == 69 || v == 70; }
bool IsPostnetLowerRightClass(int v) { return OneOf(v, {51, 53, 55}); }
bool IsPostnetWideAreaClass(int v) { return OneOf(v, {52, 54, 56}); }
bool IsVantic128Class(int v) { return InRange(v, 116, 123); }
bool IsVantic128EmbeddedClass(int v) { return InRange(v, 118, 123); }
bool IsVantic128BelowClass(int v) { return v == 116; }
bool IsVantic128BesideClass(int v) { return v == 117; }
bool IsCode128HibcClass(int v) { return InRange(v, 7, 9); }
bool IsIsbtClass(int v) { return InRange(v, 88, 96); }
bool IsUccEan128Class(int v) { return v == 60 || InRange(v, 66, 71) || InRange(v, 124, 132); }
bool IsUccEan128CheckedClass(int v) { return v == 67 || v == 71 || InRange(v, 124, 130); }
bool IsCode128EncodedClass(int v) {
    return v == 6 || IsCode128HibcClass(v) || IsIsbtClass(v) || IsVantic128Class(v) || IsUccEan128Class(v) ||
           IsCouponClass(v);
}

bool IsPznClass(int v) { return InRange(v, 21, 23); }
bool IsRatioFamily(int family) {
    return OneOf(family, {kFamilyCodabar, kFamilyCode25, kFamilyCode39, kFamilyItf, kFamilyMsi, kFamilyPharmacode});
}
bool IsUccEan128WideClass(int v) { return v == 60 || InRange(v, 124, 132); }

bool IsVariableLengthClass(int v) {
    return OneOf(v, {1, 5, 6, 10, 11, 12, 14, 15, 16, 20, 24, 25, 39, 40, 60, 76, 97, 99, 103, 104}) ||
           InRange(v, 46, 50) || InRange(v, 115, 123);
}

}  // namespace vg
