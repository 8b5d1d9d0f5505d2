#include "geometry/variationdefaults.h"

#include <gtest/gtest.h>

#include "model/catalogue.h"

namespace vg {
namespace {

struct Nominal {
    int family, variation;
    double x, ratio, barHeight, left, right, bearer, gap, addOnZone;
};

// Values copied from the dimension tables; rows chosen where table rows overlap.
const Nominal kNominals[] = {
    {6, 26, 0.9354293880732752, 2.0, 69.448545, 10.28972327, 6.548005717, 0, 8.424, 4.68},
    {8, 35, 0.936, 2.0, 67.608, 10.28972327, 6.548005717, 0, 8.424, 4.68},
    {6, 27, 0.9354293880732752, 2.0, 56.352534, 6.548005717, 6.548005717, 0, 8.424, 4.68},
    {4, 11, 0.72, 2.5, 23.76, 18, 18, 0, 0, 0},
    {4, 14, 1.08, 2.8, 36, 18, 18, 0, 0, 0},
    {4, 18, 0.72, 3.0, 23.76, 18, 18, 0, 0, 0},
    {4, 20, 0.864, 2.5, 36, 18, 18, 0, 0, 0},
    {4, 21, 0.964563131641214, 2.5, 56.69269, 28.34634509, 28.34634509, 0, 0, 0},
    {4, 23, 0.5314939704961792, 2.5, 19.842442, 9.921220783, 9.921220783, 0, 0, 0},
    {4, 76, 2.88, 2.5, 90, 28.8, 28.8, 14, 0, 0},
    {10, 41, 2.88, 2.5, 90, 28.8, 28.8, 14, 71.28, 28.8},
    {10, 98, 0.936, 3.0, 19.8, 18, 18, 0, 0, 0},
    {10, 100, 0.72, 2.75, 18, 18, 18, 0, 0, 0},
    {15, 66, 0.72, 2.0, 23.76, 18, 18, 0, 0, 0},
    {15, 60, 2.8346345093129552, 2.0, 90.141377, 18, 18, 0, 0, 0},
    {15, 69, 2.16, 2.0, 90.141377, 18, 18, 0, 0, 0},
    {15, 61, 0.936, 2.0, 67.608, 8.424, 9.36, 0, 9.36, 9.36},
    {16, 72, 0.936, 2.0, 67.608, 8.424, 8.424, 0, 8.424, 4.68},
    {17, 101, 0.936, 2.0, 67.608, 8.424, 8.424, 0, 8.424, 4.68},
    {2, 116, 0.72, 2.0, 24, 18, 18, 0, 0, 0},
    {11, 46, 0.864, 2.08, 23.76, 18, 18, 0, 0, 0},
    {12, 49, 1.4173172546564776, 3.0, 17.007807, 18, 18, 0, 0, 0},
    {8, 34, 0, 2.0, 0, 5, 5, 0, 0, 0},
    {7, 30, 1.92, 2.0, 45, 36, 147, 0, 0, 0},
    {13, 51, 1.44, 2.0, 9, 63, 63, 0, 0, 0},
    {0, 0, 0, 2.0, 0, 0, 0, 0, 0, 0},
    {19, 199, 0, 2.0, 0, 0, 0, 0, 0, 0},
};

TEST(VariationDefaults, NominalValuesFollowTableOrder) {
    for (const Nominal& n : kNominals) {
        SCOPED_TRACE(::testing::Message() << "family " << n.family << " variation " << n.variation);
        EXPECT_EQ(DefaultXDimension(n.family, n.variation), n.x);
        EXPECT_EQ(DefaultRatio(n.family, n.variation), n.ratio);
        EXPECT_EQ(DefaultBarHeight(n.family, n.variation), n.barHeight);
        EXPECT_EQ(LeftQuietZone(n.family, n.variation), n.left);
        EXPECT_EQ(RightQuietZone(n.family, n.variation), n.right);
        EXPECT_EQ(DefaultBearerBar(n.family, n.variation), n.bearer);
        EXPECT_EQ(AddOnGap(n.family, n.variation), n.gap);
        EXPECT_EQ(AddOnQuietZone(n.family, n.variation), n.addOnZone);
    }
}

TEST(VariationDefaults, WideBaseDoublesOnlyForPharmacode) {
    EXPECT_EQ(DefaultWideBase(12, 97), 2 * 1.4173172546564776);
    EXPECT_EQ(DefaultWideBase(4, 11), 0.72);
    EXPECT_EQ(DefaultWideBase(8, 34), 0);
}

TEST(VariationDefaults, MethodAndFixedWidths) {
    EXPECT_EQ(DefaultMethod(7), 1);
    EXPECT_EQ(DefaultMethod(13), 1);
    EXPECT_EQ(DefaultMethod(4), 0);
    const struct {
        int family, variation;
        double width;
    } widths[] = {{7, 30, 32},        {7, 33, 32},        {13, 51, 108.3798}, {13, 52, 108.3798}, {13, 53, 176.7798},
                  {13, 54, 176.7798}, {13, 55, 201.9798}, {13, 56, 201.9798}, {4, 11, 0}};
    for (const auto& w : widths) EXPECT_EQ(FixedSymbolWidth(w.family, w.variation), w.width) << w.variation;
}

// The catalogue classes the dimension tables are keyed on.
TEST(VariationDefaults, ClassesHoldTheirCodes) {
    const struct {
        bool (*in)(int);
        int member;
        int outsider;
    } groups[] = {
        {IsPznClass, 22, 24},
        {IsEan13Class, 114, 27},
        {IsEan8Class, 29, 26},
        {IsBooklandEan13Class, 109, 34},
        {IsBooklandEan13Class, 146, 137},
        {IsCouponClass, 85, 66},
        {IsUpcClass, 102, 76},
        {IsUpcEanClass, 61, 60},
        {IsUpcEanClass, 141, 57},
        {IsBooklandTextClass, 57, 35},
        {IsItfBearerClass, 45, 46},
        {IsUccEan128WideClass, 132, 61},
        {IsVantic128Class, 123, 124},
    };
    for (const auto& g : groups) {
        EXPECT_TRUE(g.in(g.member)) << g.member;
        EXPECT_FALSE(g.in(g.outsider)) << g.outsider;
    }
}

}  // namespace
}  // namespace vg
