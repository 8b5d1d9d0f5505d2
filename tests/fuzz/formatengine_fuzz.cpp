// Feeds arbitrary typed text to the input format engine, per variation and
// field: the first byte chooses the variation (in catalogue order), the second
// the field; the rest is the text. The engine checks it; the same text then
// goes through the input bar as data, and a symbol that comes of it is drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "entry/formatengine.h"
#include "entry/symbolinput.h"
#include "fuzzsupport.h"
#include "model/catalogue.h"
#include "render/drawingframe.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vg::fuzz::QuietStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const auto catalogue = vg::Catalogue();
    const vg::VariationInfo& variation = catalogue[data[0] % catalogue.size()];
    const auto role = static_cast<vg::FieldRole>(data[1] % 5);
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

    if (const vg::FormatRecord* format = vg::FindFormat(variation.code, role)) {
        std::size_t at = 0;
        const int state = vg::RunFormat(*format, text, &at);
        if (state == 0 && at >= text.size() && !text.empty()) std::abort();  // rejected past the end
    }
    vg::ValidateInput(variation.code, role, text);

    vg::ChooseVariation(variation);
    vg::DataTexts texts;
    switch (role) {
    case vg::FieldRole::Main: texts.main = text; break;
    case vg::FieldRole::AddOn: texts.addOn = text; break;
    case vg::FieldRole::Fact: texts.fact = text; break;
    case vg::FieldRole::CouponUpc: texts.couponUpc = text; break;
    case vg::FieldRole::Coupon128: texts.coupon128 = text; break;
    }
    std::string reason;
    if (vg::FeedData(texts, &reason)) vg::MeasureDrawingFrame();
    return 0;
}
