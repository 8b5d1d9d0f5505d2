#include "model/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "model/strings.h"
#include "recordingsink.h"

namespace vg {
namespace {

TEST(Catalogue, HasAllRowsInAscendingCodeOrder) {
    auto rows = Catalogue();
    ASSERT_EQ(rows.size(), 137u);
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1].code, rows[i].code) << "row " << i;
    EXPECT_EQ(rows.front().code, 1);
    EXPECT_EQ(rows.back().code, 146);
}

TEST(Catalogue, RowsAreConsistent) {
    std::set<int> ids;
    for (const VariationInfo& v : Catalogue()) {
        SCOPED_TRACE(v.code);
        EXPECT_EQ(FindVariation(v.code), &v);
        EXPECT_NE(FindFamily(v.family), nullptr);
        EXPECT_TRUE(ids.insert(v.nameId).second) << "name id used twice";
        ASSERT_NE(v.name, nullptr);
        EXPECT_GT(std::strlen(v.name), 0u);
        ASSERT_NE(v.initialMainText, nullptr);
        EXPECT_STREQ(InitialMainText(v.code), v.initialMainText);
        EXPECT_EQ(GroupOf(v.code), v.group);
        // Group none is exactly the unsupported family.
        EXPECT_EQ(v.group == SymbolGroup::None, v.family == 14);
        // The string table stores the same text under the name id.
        EXPECT_EQ(FindString(v.nameId).value_or("(missing)"), v.name);
    }
}

TEST(Catalogue, SampleRows) {
    struct Row {
        int code, family, nameId;
        const char* name;
        SymbolGroup group;
        int layout;
        const char* initial;
    };
    const Row rows[] = {
        {1, 1, 61265, "Codabar General", SymbolGroup::Codabar, 2, ""},
        {28, 6, 61324, "JAN-13", SymbolGroup::Ean13, 1, "4"},
        {58, 14, 61337, "SPCN 978 EAN-13 Attached", SymbolGroup::None, 0, ""},
        {76, 4, 61287, "Code 39 Fisher-Price", SymbolGroup::Code39InItfFrame, 2, ""},
        {89, 2, 61275, "Code 128 ISBT ABO/Rh Groups", SymbolGroup::Code128, 4, "=%"},
        {94, 2, 61281, "Code 128 ISBT Manufacturer's Information", SymbolGroup::Code128, 4, "=)"},
        {114, 6, 61424, "Convert UPC to EAN", SymbolGroup::Ean13, 1, "0"},
        {124, 15, 61552, "UCC/EAN-128 GSRN AI 8018", SymbolGroup::UccEan128, 4, "(8018)"},
        {132, 15, 61660, "UCC/EAN-128 GIAI AI 8004", SymbolGroup::UccEan128, 4, "(8004)"},
        {146, 8, 61521, "ISBN-13 EAN Adjusted 979", SymbolGroup::BooklandEan13, 1, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        const VariationInfo* v = FindVariation(r.code);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->family, r.family);
        EXPECT_EQ(v->nameId, r.nameId);
        EXPECT_STREQ(v->name, r.name);
        EXPECT_EQ(v->group, r.group);
        EXPECT_EQ(v->layout, r.layout);
        EXPECT_STREQ(v->initialMainText, r.initial);
    }
}

TEST(Catalogue, LayoutChoiceMatchesEveryRow) {
    for (const VariationInfo& v : Catalogue())
        EXPECT_EQ(ChooseInputLayout(v.family, v.code), v.layout) << "variation " << v.code;
}

TEST(Catalogue, LayoutChoiceGoesByFamilyFirst) {
    struct Case {
        int family, variation, layout;
    };
    const Case cases[] = {
        {0, 26, kLayoutNone},
        {-1, 1, kLayoutNone},
        {20, 1, kLayoutNone},
        {14, 57, kLayoutNone},
        {14, 26, kLayoutNone},
        // The stored family decides, even when it does not match the variation's row.
        {7, 1, 3},
        {6, 11, 1},
        {16, 1, 1},
        {8, 34, 4},
        {9, 1, 1},
        {10, 1, 2},
        {10, 41, 1},
        {15, 81, 7},
        {2, 76, 2},
        {4, 13, 4},
        {4, 15, 2},
        // Codes that are not variations get no input.
        {4, 112, kLayoutNone},
        {6, 200, kLayoutNone},
        {1, 0, kLayoutNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseInputLayout(c.family, c.variation), c.layout)
            << "family " << c.family << " variation " << c.variation;
}

TEST(Catalogue, UnknownCodes) {
    test::ScopedRecordingSink sink;
    for (int code : {112, 113, 133, 137, 139, 140, 142, 143, 144, 147, 0, -1, 1000}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(FindVariation(code), nullptr);
        EXPECT_EQ(VariationDisplayName(code), "Unknown symbology");
        EXPECT_EQ(GroupOf(code), SymbolGroup::None);
        EXPECT_STREQ(InitialMainText(code), "");
    }
    EXPECT_TRUE(sink.sink.messages.empty());
}

TEST(Catalogue, DisplayNames) {
    test::ScopedRecordingSink sink;
    EXPECT_EQ(VariationDisplayName(114), "Convert UPC to EAN");
    EXPECT_EQ(VariationDisplayName(94), "Code 128 ISBT Manufacturer's Information");
    EXPECT_EQ(VariationDisplayName(146), "ISBN-13 EAN Adjusted 979");
    EXPECT_TRUE(sink.sink.messages.empty());
}

TEST(Catalogue, Families) {
    auto families = Families();
    ASSERT_EQ(families.size(), 19u);
    for (std::size_t i = 0; i < families.size(); ++i) {
        EXPECT_EQ(families[i].code, static_cast<int>(i) + 1);
        EXPECT_EQ(FindFamily(families[i].code), &families[i]);
    }
    EXPECT_EQ(FindFamily(0), nullptr);
    EXPECT_EQ(FindFamily(20), nullptr);
    EXPECT_EQ(FindFamily(-5), nullptr);
}

TEST(Catalogue, DefaultFileNames) {
    struct Case {
        int family, variation;
        const char* name;
    };
    const Case cases[] = {
        {1, 1, "Codabar Untitled"},
        {2, 6, "Code 128 Untitled"},
        {2, 115, "Code 128 Untitled"},
        {2, 116, "Vantic128 Untitled"},
        {2, 123, "Vantic128 Untitled"},
        {2, 124, "Code 128 Untitled"},
        {15, 118, "UCC EAN-128 Untitled"},  // the exception belongs to family 2 only
        {6, 26, "EAN Untitled"},
        {6, 28, "JAN Untitled"},
        {6, 29, "JAN Untitled"},
        {6, 114, "EAN Untitled"},
        {11, 46, "MSI Plessey Untitled"},
        {14, 57, "Untitled"},
        {0, 0, "Untitled"},
        {20, 1, "Untitled"},
        {-1, 1, "Untitled"},
        {16, 72, "UPC (A) Untitled"},
        {17, 74, "UPC (E) Untitled"},
        {19, 87, "ISRC Untitled"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultFileName(c.family, c.variation), c.name)
            << "family " << c.family << " variation " << c.variation;
}

TEST(Catalogue, Classes) {
    struct Case {
        bool (*predicate)(int);
        const char* name;
        std::set<int> members;
    };
    const Case cases[] = {
        {IsEan13Class, "EAN-13", {26, 28, 114}},
        {IsEan8Class, "EAN-8", {27, 29}},
        {IsEanClass, "EAN", {26, 27, 28, 29, 114}},
        {IsUpcAClass, "UPC-A", {72, 73}},
        {IsUpcEClass, "UPC-E", {74, 75, 101, 102}},
        {IsUpcENumberSystem1Class, "UPC-E system 1", {101, 102}},
        {IsUpcClass, "UPC", {72, 73, 74, 75, 101, 102}},
        {IsUccEan128CouponClass, "UCC/EAN-128 coupon", {61, 62, 63, 64, 65}},
        {IsEan99CouponClass, "EAN-99 coupon", {81, 82, 83, 84, 85}},
        {IsCouponClass, "coupon", {61, 62, 63, 64, 65, 81, 82, 83, 84, 85}},
        {IsBooklandEan13Class, "Bookland EAN-13", {35,  36,  38,  58,  59,  77,  78,  79,  80,  105, 106, 107, 108,
                                                   109, 110, 111, 112, 113, 134, 135, 136, 138, 141, 145, 146}},
        {IsBooklandTextClass, "Bookland text", {34, 37, 57, 86, 87}},
        {IsUpcEanClass, "UPC/EAN", {26,  27,  28,  29,  114, 72,  73,  74,  75,  101, 102, 61,  62,  63, 64,  65,
                                    81,  82,  83,  84,  85,  35,  36,  38,  58,  59,  77,  78,  79,  80, 105, 106,
                                    107, 108, 109, 110, 111, 112, 113, 134, 135, 136, 138, 141, 145, 146}},
        {IsItfBearerClass, "ITF bearer", {41, 42, 43, 44, 45}},
        {IsShipToZipClass, "Ship-To ZIP", {69, 70}},
        {IsPostnetLowerRightClass, "POSTNET lower-right", {51, 53, 55}},
        {IsPostnetWideAreaClass, "POSTNET wide-area", {52, 54, 56}},
        {IsVantic128Class, "Vantic128", {116, 117, 118, 119, 120, 121, 122, 123}},
        {IsVantic128EmbeddedClass, "Vantic128 embedded", {118, 119, 120, 121, 122, 123}},
        {IsVariableLengthClass, "variable length", {1,   5,   6,   10,  11,  12,  14,  15,  16,  20, 24, 25,
                                                    39,  40,  46,  47,  48,  49,  50,  60,  76,  97, 99, 103,
                                                    104, 115, 116, 117, 118, 119, 120, 121, 122, 123}},
    };
    for (const Case& c : cases)
        for (int v = -2; v <= 150; ++v) EXPECT_EQ(c.predicate(v), c.members.count(v) == 1) << c.name << " class, " << v;
}

TEST(Catalogue, BooklandFamilies) {
    for (int f = -1; f <= 21; ++f)
        EXPECT_EQ(IsBooklandFamily(f), f == 8 || f == 9 || f == 14 || f == 18 || f == 19) << f;
}

TEST(Catalogue, EmbeddingFactors) {
    struct Case {
        int variation;
        double p, q;
    };
    const Case cases[] = {
        {0, 0.95, 0.2},     {6, 0.95, 0.2},    {117, 0.95, 0.2},   {118, 0.95, 0.2},
        {119, 0.855, 0.17}, {120, 0.76, 0.13}, {121, 0.665, 0.09}, {122, 0.57, 0.05},
        {123, 0.475, 0.02}, {124, 0.95, 0.2},  {1000, 0.95, 0.2},
    };
    for (const Case& c : cases) {
        EmbeddingFactors f = EmbeddingFactorsOf(c.variation);
        EXPECT_DOUBLE_EQ(f.p, c.p) << c.variation;
        EXPECT_DOUBLE_EQ(f.q, c.q) << c.variation;
    }

    const EmbeddingFactors saved = CurrentEmbeddingFactors;
    SetEmbeddingFactors(121);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.p, 0.665);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.q, 0.09);
    SetEmbeddingFactors(26);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.p, 0.95);
    EXPECT_DOUBLE_EQ(CurrentEmbeddingFactors.q, 0.2);
    CurrentEmbeddingFactors = saved;
}

}  // namespace
}  // namespace vg
