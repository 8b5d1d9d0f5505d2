#include "render/specblock.h"

#include <charconv>

#include "model/catalogue.h"
#include "geometry/dimensionmodel.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "device/fontservice.h"
#include "symbology/symbol.h"

namespace vg {

namespace {

// "%.Nf" with a decimal point whatever the locale.
std::string Fixed(double value, int decimals) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

// Unit names as every target can write them: the labels are English and an
// 8-bit target cannot carry the stored names.
const char* UnitAbbreviation(int unit) {
    switch (unit) {
    case 1: return "mm";
    case 2: return "pt";
    case 3: return "cm";
    default: return "in";
    }
}

// Builds a line from pieces that differ or not between the two forms.
struct LineBuilder {
    SpecLine line;
    LineBuilder& Label(int id, const char* english) {
        const std::string text = LoadStoredString(id, english);
        line.utf8 += text;
        line.ansi += Utf8ToCp1252Text(text);
        return *this;
    }
    LineBuilder& Both(const std::string& ascii) {
        line.utf8 += ascii;
        line.ansi += ascii;
        return *this;
    }
    LineBuilder& Record(const std::string& cp1252) {
        line.utf8 += Cp1252ToUtf8(cp1252);
        line.ansi += cp1252;
        return *this;
    }
    LineBuilder& Unit(int unit) { return Both(UnitAbbreviation(unit)); }
};

std::string Checked(std::string text, uint8_t check) {
    if (check) text += static_cast<char>(check);
    return text;
}

}  // namespace

std::string Utf8ToCp1252Text(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        int len = 1;
        if (b >= 0xF0) {
            len = 4;
            c = b & 0x07;
        } else if (b >= 0xE0) {
            len = 3;
            c = b & 0x0F;
        } else if (b >= 0xC0) {
            len = 2;
            c = b & 0x1F;
        } else if (b >= 0x80) {
            c = 0xFFFD;  // a stray continuation byte
        }
        for (int k = 1; k < len; ++k)
            c = i + k < utf8.size() ? (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F) : 0xFFFD;
        i += len;
        char mapped = '?';
        for (int byte = 0; byte < 256; ++byte)
            if (Cp1252ToUnicode(static_cast<unsigned char>(byte)) == c) {
                mapped = static_cast<char>(byte);
                break;
            }
        out += mapped;
    }
    return out;
}

bool AnySpecBlockSwitch(const SettingsRecord& s) {
    return s.bSymbology || s.bEncodedData || s.bBarWidthReduction || s.bWideNarrowRatio || s.bBarHeight ||
           s.bMagnification || s.bXDimension || s.bNBW || s.bPrinterDpi || s.bFilm || s.bCompany || s.bClient ||
           s.bJob || s.bDate || s.bComments;
}

std::string SpecEncodedData(const SettingsRecord& s) {
    const int v = s.Variation;
    const std::string main(TextOf(s.MainText));
    const std::string original(TextOf(s.OriginalMainText));
    const std::string addOn(TextOf(s.AddOnText));
    if (IsGeneralStandardNumberClass(v)) return {};
    if ((v >= 61 && v <= 65) || (v >= 81 && v <= 85))
        return Checked(std::string(TextOf(s.CouponFormatUPCpartText)), s.CheckCharacter1) + ' ' +
               std::string(TextOf(s.CouponFormat128partText));
    switch (s.Family) {
    case kFamilyCode128:
        if (v >= 7 && v <= 9) {
            std::string text = "*" + original;
            if (!s.HideCheckDigits && s.CheckCharacter1)
                text += s.CheckCharacter1 == ' ' ? '_' : static_cast<char>(s.CheckCharacter1);
            return text + "*";
        }
        if (v == 6 || (v >= 116 && v <= 123)) {
            std::string text;
            for (char c : original)
                if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) text += c;
            return text;
        }
        if (v >= 88 && v <= 96) return original;
        break;
    case kFamilyFim:
        if (v >= 30 && v <= 33) return std::string(1, static_cast<char>('A' + (v - 30)));
        break;
    case kFamilyItf:
        if (IsItf14PairClass(v) && !main.empty() && !addOn.empty())
            return Checked(main, s.CheckCharacter1) + ' ' + Checked(addOn, s.CheckCharacter2);
        break;
    case kFamilyPharmacode: return IsPharmacodeComputedClass(v) ? EncodedText : main;
    case kFamilyUpcA:
    case kFamilyUpcE: {
        std::string text = Checked(main, s.CheckCharacter1);
        if (!addOn.empty()) text += ' ' + addOn;
        return text;
    }
    default: break;
    }
    return EncodedText;
}

std::vector<SpecLine> SpecBlockLines(const SettingsRecord& s) {
    std::vector<SpecLine> lines;
    const int unit = s.UnitOfMeasure;
    const double bwr = BwrInPoints(s);
    auto add = [&](const LineBuilder& b) { lines.push_back(b.line); };
    if (s.bSymbology) {
        LineBuilder b;
        if (s.Derived) {
            b.Record(s.VariationName);
        } else {
            const std::string name = VariationDisplayName(s.Variation);
            b.line.utf8 = name;
            b.line.ansi = Utf8ToCp1252Text(name);
        }
        add(b);
    }
    if (s.bEncodedData) add(LineBuilder().Label(61369, "Encoded: ").Record(SpecEncodedData(s)));
    if (s.bBarWidthReduction)
        add(LineBuilder()
                .Label(61375, "BWR: ")
                .Both(Fixed(ToUnit(unit, bwr), 4) + " ")
                .Unit(unit)
                .Both(" (" + Fixed(PointsToMils(bwr), 2) + " mils)"));
    if (s.bWideNarrowRatio) add(LineBuilder().Label(61377, "W/N Ratio: ").Both(Fixed(s.CurRatio, 2)));
    if (s.bBarHeight)
        add(LineBuilder().Label(61378, "Bar Height: ").Both(Fixed(ToUnit(unit, s.BarHeight), 4) + " ").Unit(unit));
    if (s.bMagnification) add(LineBuilder().Label(61379, "Magnification: ").Both(Fixed(s.Magnification, 2) + "%"));
    if (s.bXDimension)
        add(LineBuilder().Label(61380, "x-dim: ").Both(Fixed(ToUnit(unit, s.CurBarXDimension), 4) + " ").Unit(unit));
    if (s.bNBW)
        add(LineBuilder()
                .Label(61381, "N Bar Width: ")
                .Both(Fixed(ToUnit(unit, s.CurBarXDimension - bwr), 4) + " ")
                .Unit(unit));
    if (s.bPrinterDpi) add(LineBuilder().Label(61382, "Printer dpi: ").Both(std::to_string(s.PrinterDpi)));
    if (s.bFilm) {
        static const char* const kFilm[4] = {"Positive/Up", "Positive/Down", "Negative/Up", "Negative/Down"};
        const int mode = s.Film >= 0 && s.Film <= 3 ? s.Film : 0;
        add(LineBuilder().Label(61370, "Film: ").Label(61361 + mode, kFilm[mode]));
    }
    if (s.bCompany) add(LineBuilder().Label(61371, "Company: ").Record(s.Company));
    if (s.bClient) add(LineBuilder().Label(61372, "Client: ").Record(s.Client));
    if (s.bJob) add(LineBuilder().Label(61373, "Job: ").Record(s.Job));
    if (s.bDate) add(LineBuilder().Label(61374, "Date: ").Record(s.Date));
    if (s.bComments && !s.Comments.empty()) add(LineBuilder().Record(s.Comments));
    return lines;
}

}  // namespace vg
