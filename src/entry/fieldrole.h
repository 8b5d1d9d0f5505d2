// The input-bar field a text belongs to.
#pragma once

namespace vg {

enum class FieldRole {
    Main,       // main data
    AddOn,      // add-on data
    Fact,       // FACT data identifier
    CouponUpc,  // coupon UPC part
    Coupon128,  // coupon UCC/EAN-128 part
};

}  // namespace vg
