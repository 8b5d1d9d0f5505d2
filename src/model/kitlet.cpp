#include "model/kitlet.h"

#include <cstring>
#include <vector>

#include "model/atomicfile.h"
#include "model/catalogue.h"
#include "model/charset.h"
#include "model/regularfile.h"
#include "model/settingsfields.h"

namespace vg {
namespace {

enum class Wire { F64, I32, I16, U8, Str, DataSlot };

struct Item {
    const char* field;
    Wire wire;
};

// Items 5 to 109 in file order.
const Item kItems[] = {
    {"CurRatio", Wire::F64},
    {"CurBarXDimension", Wire::F64},
    {"SymbolWidth", Wire::F64},
    {"BarHeight", Wire::F64},
    {"BearerBar", Wire::F64},
    {"BarWidthReduction", Wire::F64},
    {"Magnification", Wire::F64},
    {"DistanceToBars", Wire::F64},
    {"Rotation", Wire::I32},
    {"ElephantSound", Wire::I32},
    {"FileName", Wire::I32},
    {"Format", Wire::I32},
    {"UnitOfMeasure", Wire::I32},
    {"Prufmark", Wire::I32},
    {"GSCalibration", Wire::I32},
    {"LastMethod", Wire::I32},
    {"PrinterDpi", Wire::I32},
    {"Size", Wire::I32},
    {"SizeListCount", Wire::I32},
    {"Align", Wire::I32},
    {"StartCharacter", Wire::I32},
    {"StopCharacter", Wire::I32},
    {"Bold", Wire::I32},
    {"Italic", Wire::I32},
    {"Hidden", Wire::I32},
    {"ShowFactDataID", Wire::I32},
    {"ShowAsterisks", Wire::I32},
    {"HideCheckDigits", Wire::I32},
    {"HideParentheses", Wire::I32},
    {"IgnoreHyphens", Wire::I32},
    {"IgnoreSpaces", Wire::I32},
    {"TextAbove", Wire::I32},
    {"ShowStartStop", Wire::I32},
    {"CenterSysChk", Wire::I32},
    {"HideAddonText", Wire::I32},
    {"AddonTextDown", Wire::I32},
    {"QuietZoneIndicators", Wire::I32},
    {"ISSNExtraDigits", Wire::DataSlot},
    {"FontName4humanreadable", Wire::Str},
    {"FontName4ISBN_ISSN_SPCNs", Wire::Str},
    {"AdditionalText", Wire::Str},
    {"UseHumanReadablesAsText", Wire::I32},
    {"FontName4AdditionalText", Wire::Str},
    {"SizeAT", Wire::I32},
    {"SizeListCountAT", Wire::I32},
    {"AlignAT", Wire::I32},
    {"BoldAT", Wire::I32},
    {"ItalicAT", Wire::I32},
    {"Rotation4AdditionalText", Wire::I16},
    {"H", Wire::F64},
    {"V", Wire::F64},
    {"BarsTextColorName", Wire::Str},
    {"SpacesQuietZoneColorName", Wire::Str},
    {"Hueproof", Wire::U8},
    {"redSpacesQuietZone", Wire::U8},
    {"greenSpacesQuietZone", Wire::U8},
    {"blueSpacesQuietZone", Wire::U8},
    {"blackSpacesQuietZone", Wire::U8},
    {"redBarsText", Wire::U8},
    {"greenBarsText", Wire::U8},
    {"blueBarsText", Wire::U8},
    {"blackBarsText", Wire::U8},
    {"CMYKcyanSpacesQuietZone", Wire::U8},
    {"CMYKmagentaSpacesQuietZone", Wire::U8},
    {"CMYKyellowSpacesQuietZone", Wire::U8},
    {"CMYKblackSpacesQuietZone", Wire::U8},
    {"CMYKcyanBarsText", Wire::U8},
    {"CMYKmagentaBarsText", Wire::U8},
    {"CMYKyellowBarsText", Wire::U8},
    {"CMYKblackBarsText", Wire::U8},
    {"BarsTextRadio", Wire::I32},
    {"SpacesQuietZoneRadio", Wire::I32},
    {"SpotRadio", Wire::I32},
    {"ProcessRadio", Wire::I32},
    {"RGB_Radio", Wire::I32},
    {"CMYK_Radio", Wire::I32},
    {"Overprint", Wire::I32},
    {"TransparentBackground", Wire::I32},
    {"SerialBefore", Wire::Str},
    {"SerialStart", Wire::Str},
    {"SerialAfter", Wire::Str},
    {"SerialStop", Wire::Str},
    {"SerialIncrement", Wire::I32},
    {"bBarWidthReduction", Wire::I32},
    {"bCropMarks", Wire::I32},
    {"bEncodedData", Wire::I32},
    {"bSymbology", Wire::I32},
    {"bWideNarrowRatio", Wire::I32},
    {"bBarHeight", Wire::I32},
    {"bMagnification", Wire::I32},
    {"bXDimension", Wire::I32},
    {"bNBW", Wire::I32},
    {"bPrinterDpi", Wire::I32},
    {"bFilm", Wire::I32},
    {"bCompany", Wire::I32},
    {"bClient", Wire::I32},
    {"bJob", Wire::I32},
    {"bDate", Wire::I32},
    {"bComments", Wire::I32},
    {"Film", Wire::I32},
    {"Company", Wire::Str},
    {"Client", Wire::Str},
    {"Job", Wire::Str},
    {"Date", Wire::Str},
    {"Comments", Wire::Str},
};
static_assert(std::size(kItems) == 105);

class Writer {
public:
    void U8(uint8_t v) { out.push_back(static_cast<char>(v)); }
    void U16(uint16_t v) { Le(v, 2); }
    void U32(uint32_t v) { Le(v, 4); }
    void F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        Le(bits, 8);
    }
    void Str(std::string_view s) {
        if (s.size() < 0xFF) {
            U8(static_cast<uint8_t>(s.size()));
        } else if (s.size() < 0xFFFE) {
            U8(0xFF);
            U16(static_cast<uint16_t>(s.size()));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(static_cast<uint32_t>(s.size()));
        }
        out.append(s);
    }
    std::string out;

private:
    void Le(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> b) : m_bytes(b) {}
    bool ok = true;

    uint64_t Le(int n) {
        if (!ok || m_bytes.size() - m_pos < static_cast<std::size_t>(n)) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(m_bytes[m_pos + i]) << (8 * i);
        m_pos += n;
        return v;
    }
    uint8_t U8() { return static_cast<uint8_t>(Le(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Le(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Le(4)); }
    double F64() {
        uint64_t bits = Le(8);
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    // Length prefix; wide is set by the Unicode marker.
    uint64_t Length(bool& wide) {
        wide = false;
        uint64_t n = U8();
        if (n < 0xFF) return n;
        n = U16();
        if (n == 0xFFFE) {
            wide = true;
            n = U8();
            if (n < 0xFF) return n;
            n = U16();
        }
        if (n < 0xFFFF) return n;
        return U32();
    }
    std::string Str() {
        bool wide = false;
        const uint64_t n = Length(wide);
        const uint64_t size = wide ? n * 2 : n;
        if (!ok || size > m_bytes.size() - m_pos) {
            ok = false;
            return {};
        }
        std::string s;
        if (!wide) {
            s.assign(reinterpret_cast<const char*>(m_bytes.data() + m_pos), size);
        } else {
            // 16-bit characters into the record's 8-bit set; '?' where it has none.
            for (uint64_t i = 0; i < n; ++i) {
                const unsigned c = m_bytes[m_pos + 2 * i] | (m_bytes[m_pos + 2 * i + 1] << 8);
                s += EightBit(c);
            }
        }
        m_pos += size;
        return s;
    }

private:
    static char EightBit(unsigned c) {
        if (c >= 0xD800 && c <= 0xDFFF) return '?';
        std::string utf8;
        if (c < 0x80) {
            utf8 = static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        }
        std::string out;
        return Utf8ToCp1252(utf8, out) && out.size() == 1 ? out[0] : '?';
    }

    std::span<const uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

const SettingsField& FieldOf(const Item& item) { return *FindSettingsField(item.field); }

}  // namespace

bool KitletDataFlag(int family, std::string_view fileTitle) {
    return family == kFamilyUpcA && !fileTitle.empty() && fileTitle.front() == '$';
}

Kitlet KitletOf(const SettingsRecord& record, bool dataFlag) {
    Kitlet k;
    k.schema = kKitletSchema;
    k.tag = kKitletTag;
    k.version = "6.02";
    k.family = record.Family;
    k.variation = record.Variation;
    k.full = 1;
    if (dataFlag)
        k.dataSlot = std::string(TextOf(record.MainText));
    else if (record.Family == kFamilyCode39)
        k.dataSlot = std::string(TextOf(record.FACTdataIDtext));
    else
        k.dataSlot = record.ISSNExtraDigits;
    k.settings = record;
    return k;
}

std::string KitletBytes(const Kitlet& k) {
    Writer w;
    w.U16(1);       // elements of the array
    w.U16(0xFFFF);  // new class
    w.U16(static_cast<uint16_t>(k.schema));
    const std::string_view name = kKitletClass;
    w.U16(static_cast<uint16_t>(name.size()));
    w.out.append(name);
    w.Str(k.tag);
    w.Str(k.version);
    w.U32(static_cast<uint32_t>(k.family));
    w.U32(static_cast<uint32_t>(k.variation));
    w.U32(static_cast<uint32_t>(k.full));
    if (k.schema == 1) return w.out;
    for (const Item& item : kItems) {
        const SettingsField& f = FieldOf(item);
        switch (item.wire) {
        case Wire::F64: w.F64(f.getDecimal(k.settings)); break;
        case Wire::I32: w.U32(static_cast<uint32_t>(f.getInteger(k.settings))); break;
        case Wire::I16: w.U16(static_cast<uint16_t>(f.getInteger(k.settings))); break;
        case Wire::U8: w.U8(static_cast<uint8_t>(f.getInteger(k.settings))); break;
        case Wire::Str: w.Str(f.getText(k.settings)); break;
        case Wire::DataSlot: w.Str(k.dataSlot); break;
        }
    }
    return w.out;
}

KitletStatus ReadKitlet(std::span<const uint8_t> bytes, Kitlet& out) {
    out = Kitlet{};
    Reader r(bytes);
    uint32_t count = r.U16();
    if (count == 0xFFFF) count = r.U32();
    if (!r.ok || count < 1 || r.U16() != 0xFFFF) return KitletStatus::Damaged;
    const uint16_t schema = r.U16();
    const uint16_t nameLength = r.U16();
    if (!r.ok || nameLength != std::strlen(kKitletClass)) return KitletStatus::Damaged;
    for (const char* c = kKitletClass; *c; ++c)
        if (r.U8() != static_cast<uint8_t>(*c)) return KitletStatus::Damaged;
    if (!r.ok) return KitletStatus::Damaged;
    out.schema = schema;
    if (schema != 1 && schema != 2) return KitletStatus::Invalid;

    Kitlet k;
    k.schema = schema;
    k.tag = r.Str();
    k.version = r.Str();
    k.family = static_cast<int32_t>(r.U32());
    k.variation = static_cast<int32_t>(r.U32());
    k.full = static_cast<int32_t>(r.U32());
    if (schema == 2) {
        for (const Item& item : kItems) {
            const SettingsField& f = FieldOf(item);
            switch (item.wire) {
            case Wire::F64: f.setDecimal(k.settings, r.F64()); break;
            case Wire::I32: f.setInteger(k.settings, static_cast<int32_t>(r.U32())); break;
            case Wire::I16: f.setInteger(k.settings, static_cast<int16_t>(r.U16())); break;
            case Wire::U8: f.setInteger(k.settings, r.U8()); break;
            case Wire::Str: f.setText(k.settings, r.Str()); break;
            case Wire::DataSlot: k.dataSlot = r.Str(); break;
            }
            if (!r.ok) break;
        }
    }
    if (!r.ok) return KitletStatus::Damaged;
    out = std::move(k);
    if (out.tag != kKitletTag) {
        // An unknown file: its variation and settings are not applied.
        out.family = 0;
        out.variation = 0;
        out.full = 0;
        return KitletStatus::Invalid;
    }
    return KitletStatus::Ok;
}

std::vector<std::string> ApplyKitlet(const Kitlet& k, SettingsRecord& record) {
    record.Family = static_cast<int16_t>(k.family);
    record.Variation = k.variation;
    KitletFull = k.full;
    record.Derived = k.full;
    if (!k.full || k.schema != 2) return {};
    for (const Item& item : kItems) {
        const SettingsField& f = FieldOf(item);
        switch (item.wire) {
        case Wire::F64: f.setDecimal(record, f.getDecimal(k.settings)); break;
        case Wire::I32:
        case Wire::I16:
        case Wire::U8: f.setInteger(record, f.getInteger(k.settings)); break;
        case Wire::Str: f.setText(record, f.getText(k.settings)); break;
        case Wire::DataSlot: record.ISSNExtraDigits = k.dataSlot; break;
        }
    }
    return ClampToValidValues(record);
}

bool WriteKitletFile(const std::string& path, const Kitlet& kitlet) {
    const std::string bytes = KitletBytes(kitlet);
    return WriteWholeFile(path, bytes.data(), bytes.size());
}

KitletStatus ReadKitletFile(const std::string& path, Kitlet& out, bool* opened) {
    RegularFile file;
    const bool open = file.Open(path);
    if (opened) *opened = open;
    if (!open) return KitletStatus::Damaged;
    // A Kitlet is a few hundred bytes; strings could make it larger, never this large.
    constexpr uint64_t kLargest = 16u << 20;
    if (file.Size() > kLargest) return KitletStatus::Damaged;
    std::vector<uint8_t> bytes(file.Size());
    std::size_t got = 0;
    while (got < bytes.size()) {
        const long long n = file.ReadAt(got, bytes.data() + got, bytes.size() - got);
        if (n <= 0) return KitletStatus::Damaged;
        got += static_cast<std::size_t>(n);
    }
    return ReadKitlet(bytes, out);
}

}  // namespace vg
