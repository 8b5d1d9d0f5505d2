#include "model/settingstrailer.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "model/settingsfields.h"
#include "model/strings.h"

namespace vg {
namespace {

enum class Slot : uint8_t { Reserved, I16, I32, U8, F64, Text };

struct TrailerEntry {
    const char* name;  // field of the record; nullptr for reserved bytes
    Slot slot;
    uint16_t size;       // bytes
    uint16_t limit = 0;  // texts: most characters kept; 0 for size - 1
};

// The layout after the tag (13) and version (13), in file order.
constexpr TrailerEntry kLayout[] = {
    {"Family", Slot::I16, 2},
    {"Variation", Slot::I32, 4},
    {"VariationName", Slot::Text, 256},
    {"Derived", Slot::I32, 4},
    {"MainText", Slot::Text, 62},
    {"OriginalMainText", Slot::Text, 62},
    {"AddOnText", Slot::Text, 7},
    {"FACTdataIDtext", Slot::Text, 7},
    {"CouponFormatUPCpartText", Slot::Text, 13},
    {"CouponFormat128partText", Slot::Text, 30},
    {"CheckCharacter1", Slot::U8, 1},
    {"CheckCharacter2", Slot::U8, 1},
    {nullptr, Slot::Reserved, 1},
    {"CurRatio", Slot::F64, 8},
    {"CurBarXDimension", Slot::F64, 8},
    {"SymbolWidth", Slot::F64, 8},
    {"BarHeight", Slot::F64, 8},
    {"BearerBar", Slot::F64, 8},
    {"BarWidthReduction", Slot::F64, 8},
    {"Magnification", Slot::F64, 8},
    {"DistanceToBars", Slot::F64, 8},
    {"Rotation", Slot::I32, 4},
    {"ElephantSound", Slot::I32, 4},
    {"FileName", Slot::I32, 4},
    {"Format", Slot::I32, 4},
    {"UnitOfMeasure", Slot::I32, 4},
    {"Prufmark", Slot::I32, 4},
    {"GSCalibration", Slot::I32, 4},
    {"LastMethod", Slot::I32, 4},
    {nullptr, Slot::Reserved, 4},
    {"PrinterDpi", Slot::I32, 4},
    {"Size", Slot::I32, 4},
    {"Align", Slot::I32, 4},
    {"StartCharacter", Slot::I32, 4},
    {"StopCharacter", Slot::I32, 4},
    {"Bold", Slot::I32, 4},
    {"Italic", Slot::I32, 4},
    {"Hidden", Slot::I32, 4},
    {"ShowFactDataID", Slot::I32, 4},
    {"ShowAsterisks", Slot::I32, 4},
    {"HideCheckDigits", Slot::I32, 4},
    {"HideParentheses", Slot::I32, 4},
    {"IgnoreHyphens", Slot::I32, 4},
    {"IgnoreSpaces", Slot::I32, 4},
    {"TextAbove", Slot::I32, 4},
    {"ShowStartStop", Slot::I32, 4},
    {"CenterSysChk", Slot::I32, 4},
    {"HideAddonText", Slot::I32, 4},
    {"AddonTextDown", Slot::I32, 4},
    {"QuietZoneIndicators", Slot::I32, 4},
    {"ISSNExtraDigits", Slot::Text, 3},
    {"FontName4humanreadable", Slot::Text, 50},
    {"FontName4ISBN_ISSN_SPCNs", Slot::Text, 50},
    {"AdditionalText", Slot::Text, 257, 255},
    {"UseHumanReadablesAsText", Slot::I32, 4},
    {"FontName4AdditionalText", Slot::Text, 50},
    {"SizeAT", Slot::I32, 4},
    {"SizeListCountAT", Slot::I32, 4},
    {"AlignAT", Slot::I32, 4},
    {"BoldAT", Slot::I32, 4},
    {"ItalicAT", Slot::I32, 4},
    {"Rotation4AdditionalText", Slot::I16, 2},
    {"H", Slot::F64, 8},
    {"V", Slot::F64, 8},
    {"BarsTextColorName", Slot::Text, 41},
    {"SpacesQuietZoneColorName", Slot::Text, 41},
    {"Hueproof", Slot::U8, 1},
    {"redSpacesQuietZone", Slot::U8, 1},
    {"greenSpacesQuietZone", Slot::U8, 1},
    {"blueSpacesQuietZone", Slot::U8, 1},
    {"blackSpacesQuietZone", Slot::U8, 1},
    {"redBarsText", Slot::U8, 1},
    {"greenBarsText", Slot::U8, 1},
    {"blueBarsText", Slot::U8, 1},
    {"blackBarsText", Slot::U8, 1},
    {"CMYKcyanSpacesQuietZone", Slot::U8, 1},
    {"CMYKmagentaSpacesQuietZone", Slot::U8, 1},
    {"CMYKyellowSpacesQuietZone", Slot::U8, 1},
    {"CMYKblackSpacesQuietZone", Slot::U8, 1},
    {"CMYKcyanBarsText", Slot::U8, 1},
    {"CMYKmagentaBarsText", Slot::U8, 1},
    {"CMYKyellowBarsText", Slot::U8, 1},
    {"CMYKblackBarsText", Slot::U8, 1},
    {nullptr, Slot::Reserved, 1},
    {"BarsTextRadio", Slot::I32, 4},
    {"SpacesQuietZoneRadio", Slot::I32, 4},
    {"SpotRadio", Slot::I32, 4},
    {"ProcessRadio", Slot::I32, 4},
    {"RGB_Radio", Slot::I32, 4},
    {"CMYK_Radio", Slot::I32, 4},
    {"Overprint", Slot::I32, 4},
    {"TransparentBackground", Slot::I32, 4},
    {"SerialBefore", Slot::Text, 62},
    {"SerialStart", Slot::Text, 62},
    {"SerialAfter", Slot::Text, 62},
    {"SerialStop", Slot::Text, 62},
    {"SerialIncrement", Slot::I32, 4},
    {"bBarWidthReduction", Slot::I32, 4},
    {"bCropMarks", Slot::I32, 4},
    {"bEncodedData", Slot::I32, 4},
    {"bSymbology", Slot::I32, 4},
    {"bWideNarrowRatio", Slot::I32, 4},
    {"bBarHeight", Slot::I32, 4},
    {"bMagnification", Slot::I32, 4},
    {"bXDimension", Slot::I32, 4},
    {"bNBW", Slot::I32, 4},
    {"bPrinterDpi", Slot::I32, 4},
    {"bFilm", Slot::I32, 4},
    {"bCompany", Slot::I32, 4},
    {"bClient", Slot::I32, 4},
    {"bJob", Slot::I32, 4},
    {"bDate", Slot::I32, 4},
    {"bComments", Slot::I32, 4},
    {"Film", Slot::I32, 4},
    {"Company", Slot::Text, 256},
    {"Client", Slot::Text, 256},
    {"Job", Slot::Text, 256},
    {"Date", Slot::Text, 256},
    {"Comments", Slot::Text, 256},
};

constexpr std::size_t kHeadSize = 26;  // tag and version

constexpr std::size_t LayoutSize() {
    std::size_t n = kHeadSize;
    for (const TrailerEntry& e : kLayout) n += e.size;
    return n;
}
static_assert(LayoutSize() == kSettingsTrailerSize);

// The record's field of each layout entry, looked up once.
struct BoundEntry {
    const SettingsField* field;
    Slot slot;
    uint16_t offset;
    uint16_t size;
    uint16_t limit;
};

const std::array<BoundEntry, std::size(kLayout)>& Bound() {
    static const auto bound = [] {
        std::array<BoundEntry, std::size(kLayout)> b{};
        std::size_t offset = kHeadSize;
        for (std::size_t i = 0; i < std::size(kLayout); ++i) {
            const TrailerEntry& e = kLayout[i];
            b[i] = {e.name ? FindSettingsField(e.name) : nullptr, e.slot, static_cast<uint16_t>(offset), e.size,
                    static_cast<uint16_t>(e.limit ? e.limit : e.size - 1)};
            offset += e.size;
        }
        return b;
    }();
    return bound;
}

void PutLe(uint8_t* at, uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t GetLe(const uint8_t* at, std::size_t bytes) {
    uint64_t v = 0;
    for (std::size_t i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(at[i]) << (8 * i);
    return v;
}

// A text field of the image: up to the first NUL, never more than limit bytes.
std::string_view TextAt(const uint8_t* at, std::size_t limit) {
    const char* p = reinterpret_cast<const char*>(at);
    const void* nul = std::memchr(p, '\0', limit);
    return std::string_view(p, nul ? static_cast<const char*>(nul) - p : limit);
}

}  // namespace

std::vector<const SettingsField*> SettingsTrailerFields() {
    std::vector<const SettingsField*> fields;
    for (const BoundEntry& e : Bound())
        if (e.field) fields.push_back(e.field);
    return fields;
}

SettingsTrailer FillSettingsTrailer(const SettingsRecord& record) {
    SettingsTrailer t{};
    std::memcpy(t.data(), kSettingsTrailerTag, sizeof kSettingsTrailerTag);
    std::memcpy(t.data() + 13, kVersionText, std::strlen(kVersionText));
    for (const BoundEntry& e : Bound()) {
        if (!e.field) continue;
        uint8_t* at = t.data() + e.offset;
        switch (e.slot) {
        case Slot::I16:
        case Slot::I32:
        case Slot::U8: PutLe(at, static_cast<uint64_t>(e.field->getInteger(record)), e.size); break;
        case Slot::F64: {
            const double d = e.field->getDecimal(record);
            uint64_t bits;
            std::memcpy(&bits, &d, sizeof bits);
            PutLe(at, bits, 8);
            break;
        }
        case Slot::Text: {
            const std::string_view text = e.field->getText(record);
            const std::size_t n = std::min<std::size_t>(text.size(), e.limit);
            std::memcpy(at, text.data(), n);
            break;
        }
        case Slot::Reserved: break;
        }
    }
    return t;
}

bool ApplySettingsTrailer(std::span<const uint8_t> image, SettingsRecord& record, std::vector<std::string>* clamped) {
    if (image.size() != kSettingsTrailerSize) return false;
    if (std::memcmp(image.data(), kSettingsTrailerTag, sizeof kSettingsTrailerTag) != 0) return false;
    for (const BoundEntry& e : Bound()) {
        if (!e.field) continue;
        const uint8_t* at = image.data() + e.offset;
        switch (e.slot) {
        case Slot::I16: e.field->setInteger(record, static_cast<int16_t>(GetLe(at, 2))); break;
        case Slot::I32: e.field->setInteger(record, static_cast<int32_t>(GetLe(at, 4))); break;
        case Slot::U8: e.field->setInteger(record, at[0]); break;
        case Slot::F64: {
            const uint64_t bits = GetLe(at, 8);
            double d;
            std::memcpy(&d, &bits, sizeof d);
            e.field->setDecimal(record, d);
            break;
        }
        case Slot::Text: e.field->setText(record, TextAt(at, e.limit)); break;
        case Slot::Reserved: break;
        }
    }
    std::vector<std::string> changed = ClampToValidValues(record);
    if (clamped) *clamped = std::move(changed);
    return true;
}

bool ReadSettingsTrailer(const std::string& path, std::vector<std::string>* clamped) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    SettingsTrailer image;
    const bool read = std::fseek(f, -static_cast<long>(kSettingsTrailerSize), SEEK_END) == 0 &&
                      std::fread(image.data(), 1, image.size(), f) == image.size();
    std::fclose(f);
    return read && ApplySettingsTrailer(image, SymbolSettings, clamped);
}

}  // namespace vg
