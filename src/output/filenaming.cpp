#include "output/filenaming.h"

#include "device/fontservice.h"
#include "model/catalogue.h"
#include "model/strings.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

struct Prefix {
    const char* text;
    std::size_t limit;
};

// Family prefix of scheme 4 and the longest data text it keeps whole.
Prefix FamilyNamePrefix(int family, int variation) {
    if (IsVantic128Class(variation)) return {"Vantic128.", 19};
    if (variation == 114) return {"UPC2EAN.", 18};
    switch (family) {
    case 1: return {"Codabar.", 18};
    case 2: return {"Code 128.", 19};
    case 3: return {"Code 25.", 18};
    case 4: return {"Code 39.", 18};
    case 5: return {"Code 93.", 18};
    case 6:
        if (variation == 27) return {"EAN-8.", 19};
        if (variation == 28) return {"JAN-13.", 19};
        if (variation == 29) return {"JAN-8.", 19};
        return {"EAN-13.", 19};
    case 8: return {"ISBN.", 21};
    case 9: return {"ISSN.", 21};
    case 14: return {"SPCN.", 21};
    case 18: return {"ISMN.", 21};
    case 19: return {"ISRC.", 21};
    case 10: return {IsItf14PairClass(variation) ? "ITF-14." : "ITF.", 19};
    case 11: return {"MSI_Plessey.", 15};
    case 12: return {"Pharmacode.", 15};
    case 13: return {"POSTNET.", 18};
    case 15: return {IsEan99CouponClass(variation) ? "EAN99." : "UCC_EAN.", 18};
    case 16: return {"UPC (A).", 18};
    case 17: return {"UPC (E).", 18};
    default: return {"", 26};  // no prefix: cut like scheme 2
    }
}

// A text longer than limit: its first limit - 6 characters, "..." and its last 3.
std::string Shortened(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    return text.substr(0, limit - 6) + "..." + text.substr(text.size() - 3);
}

}  // namespace

std::string FormatExtension(int format) {
    switch (format) {
    case 0: return ".WMF";
    case 1: return ".EPS";
    case 2: return ".EMF";
    default: return "";
    }
}

std::string FileNameDataText() {
    const SettingsRecord& s = SymbolSettings;
    if (s.OriginalMainText[0])
        return std::string(TextOf(s.FACTdataIDtext)) + std::string(TextOf(s.OriginalMainText)) +
               std::string(TextOf(s.AddOnText));
    if (s.AddOnText[0]) return std::string(TextOf(s.AddOnText));
    if (s.CouponFormatUPCpartText[0])
        return std::string(TextOf(s.CouponFormatUPCpartText)) + std::string(TextOf(s.CouponFormat128partText));
    return {};
}

std::string ProposeFileName(std::string_view extension) {
    const SettingsRecord& s = SymbolSettings;
    const int scheme = s.FileName;
    std::string name;
    if (scheme >= 2 && scheme <= 4 && s.Family == kFamilyFim && s.Variation >= 30 && s.Variation <= 33) {
        name = std::string("FIM.") + static_cast<char>('A' + (s.Variation - 30));
    } else if (scheme == 0) {
        name = LoadString(61366, "Untitled-0001");
    } else if (scheme == 1) {
        name = LoadString(61368, "Vornel Glyph Graphic 0001");
    } else if (scheme == 2) {
        name = Shortened(FileNameDataText(), 26);
    } else if (scheme == 3) {
        name = FileNameDataText();
        if (name.size() >= 6) name = name.substr(name.size() - 5);
    } else if (scheme == 4) {
        const Prefix p = FamilyNamePrefix(s.Family, s.Variation);
        name = p.text + Shortened(FileNameDataText(), p.limit);
    } else {
        name = "VGL";
    }
    name += extension;
    if (name.size() > 255) name.resize(255);
    return name;
}

std::string ProposedPath(std::string_view extension) {
    std::string utf8;
    for (unsigned char c : SafeFileName(ProposeFileName(extension))) {
        const char32_t u = Cp1252ToUnicode(c);
        if (u < 0x80) {
            utf8 += static_cast<char>(u);
        } else if (u < 0x800) {
            utf8 += static_cast<char>(0xC0 | (u >> 6));
            utf8 += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (u >> 12));
            utf8 += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return utf8;
}

std::string SafeFileName(std::string_view name) {
    std::string safe;
    safe.reserve(name.size());
    for (char c : name) {
        switch (c) {
        case '"':
        case '*':
        case '/':
        case ':':
        case '<':
        case '>':
        case '?':
        case '\\':
        case '|': safe += '!'; break;
        case '(':
        case ')': break;
        case '.':
            // No hidden files.
            safe += safe.empty() ? '!' : c;
            break;
        default: safe += c;
        }
    }
    return safe;
}

}  // namespace vg
