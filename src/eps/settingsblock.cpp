#include "eps/settingsblock.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

#include "eps/epsoutput.h"
#include "eps/settingsreader.h"
#include "model/settingsfields.h"
#include "model/strings.h"

namespace vg {
namespace {

const SettingsField* F(const char* name) { return FindSettingsField(name); }

bool IsText(const SettingsField& f) { return f.kind == FieldKind::FixedText || f.kind == FieldKind::Text; }

// A number short enough for a message.
std::string Short(double value) {
    char text[32];
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    return std::string(text, r.ptr);
}

// Why one line cannot be written as it is, or an empty text.
std::string LineProblem(const SettingsRecord& record, const SettingsBlockLine& line, std::size_t length) {
    const SettingsField& f = *line.field;
    if (IsText(f)) {
        const std::string_view value = f.getText(record);
        const std::size_t limit = f.kind == FieldKind::FixedText ? f.capacity : kWorkingTextLength;
        if (value.size() > limit)
            return std::string(f.name) + " is longer than " + std::to_string(limit) + " characters";
        if (value.find_first_of(std::string_view("\r\n\f\0", 4)) != std::string_view::npos)
            return std::string(f.name) + " holds a line break or a NUL byte";
    }
    // "nan" and "inf" would read back as 0.
    if (f.kind == FieldKind::Decimal && !std::isfinite(f.getDecimal(record)))
        return std::string(f.name) + " " + Short(f.getDecimal(record)) + " is not a number";
    if (length > kSettingsLineLength) {
        if (f.kind == FieldKind::Decimal)
            return std::string(f.name) + " " + Short(f.getDecimal(record)) + " is too large";
        return std::string(f.name) + " is too long";
    }
    return {};
}

}  // namespace

std::span<const SettingsBlockLine> SettingsBlockLines() {
    // The same key twice for bFilm and Film: the reader tells them apart by position.
    static const SettingsBlockLine lines[] = {
        {"VersionNumber", nullptr, "%s"},
        {"Family", F("Family"), "%d"},
        {"Variation", F("Variation"), "%d"},
        {"VariationName", F("VariationName"), "%s"},
        {"Derived", F("Derived"), "%d"},
        {"OriginalMainText", F("OriginalMainText"), "%s"},
        {"AddOnText", F("AddOnText"), "%s"},
        {"FACTdataIDtext", F("FACTdataIDtext"), "%s"},
        {"CouponFormatUPCpartText", F("CouponFormatUPCpartText"), "%s"},
        {"CouponFormat128partText", F("CouponFormat128partText"), "%s"},
        {"Format", F("Format"), "%d"},
        {"UnitOfMeasure", F("UnitOfMeasure"), "%d"},
        {"FileName", F("FileName"), "%d"},
        {"ElephantSound", F("ElephantSound"), "%d"},
        {"Prufmark", F("Prufmark"), "%d"},
        {"GSCalibration", F("GSCalibration"), "%d"},
        {"LastMethod", F("LastMethod"), "%d"},
        {"PrinterDpi", F("PrinterDpi"), "%d"},
        {"CurRatio", F("CurRatio"), "%f"},
        {"CurBarXDimension", F("CurBarXDimension"), "%f"},
        {"SymbolWidth", F("SymbolWidth"), "%.7f"},
        {"BarHeight", F("BarHeight"), "%.7f"},
        {"BearerBar", F("BearerBar"), "%.7f"},
        {"BarWidthReduction", F("BarWidthReduction"), "%.7f"},
        {"Magnification", F("Magnification"), "%.2f"},
        {"Size", F("Size"), "%d"},
        {"Align", F("Align"), "%d"},
        {"StartCharacter", F("StartCharacter"), "%d"},
        {"StopCharacter", F("StopCharacter"), "%d"},
        {"Bold", F("Bold"), "%d"},
        {"Italic", F("Italic"), "%d"},
        {"Hidden", F("Hidden"), "%d"},
        {"ShowFactDataID", F("ShowFactDataID"), "%d"},
        {"ShowAsterisks", F("ShowAsterisks"), "%d"},
        {"HideCheckDigits", F("HideCheckDigits"), "%d"},
        {"HideParentheses", F("HideParentheses"), "%d"},
        {"IgnoreHyphens", F("IgnoreHyphens"), "%d"},
        {"IgnoreSpaces", F("IgnoreSpaces"), "%d"},
        {"TextAbove", F("TextAbove"), "%d"},
        {"ShowStartStop", F("ShowStartStop"), "%d"},
        {"CenterSysChk", F("CenterSysChk"), "%d"},
        {"HideAddonText", F("HideAddonText"), "%d"},
        {"AddonTextDown", F("AddonTextDown"), "%d"},
        {"QuietZoneIndicators", F("QuietZoneIndicators"), "%d"},
        {"DistanceToBars", F("DistanceToBars"), "%f"},
        {"FontName4humanreadable", F("FontName4humanreadable"), "%s"},
        {"FontName4ISBN_ISSN_SPCNs", F("FontName4ISBN_ISSN_SPCNs"), "%s"},
        {"ISSNExtraDigits", F("ISSNExtraDigits"), "%s"},
        {"AdditionalText", F("AdditionalText"), "%s"},
        {"UseHumanReadablesAsText", F("UseHumanReadablesAsText"), "%d"},
        {"FontName4AdditionalText", F("FontName4AdditionalText"), "%s"},
        {"SizeAT", F("SizeAT"), "%d"},
        {"AlignAT", F("AlignAT"), "%d"},
        {"BoldAT", F("BoldAT"), "%d"},
        {"ItalicAT", F("ItalicAT"), "%d"},
        {"Rotation4AdditionalText", F("Rotation4AdditionalText"), "%d"},
        {"H", F("H"), "%f"},
        {"V", F("V"), "%f"},
        {"BarsTextColorName", F("BarsTextColorName"), "%s"},
        {"SpacesQuietZoneColorName", F("SpacesQuietZoneColorName"), "%s"},
        {"Hueproof", F("Hueproof"), "%d"},
        {"redSpacesQuietZone", F("redSpacesQuietZone"), "%d"},
        {"greenSpacesQuietZone", F("greenSpacesQuietZone"), "%d"},
        {"blueSpacesQuietZone", F("blueSpacesQuietZone"), "%d"},
        {"blackSpacesQuietZone", F("blackSpacesQuietZone"), "%d"},
        {"redBarsText", F("redBarsText"), "%d"},
        {"greenBarsText", F("greenBarsText"), "%d"},
        {"blueBarsText", F("blueBarsText"), "%d"},
        {"blackBarsText", F("blackBarsText"), "%d"},
        {"CMYKcyanSpacesQuietZone", F("CMYKcyanSpacesQuietZone"), "%d"},
        {"CMYKmagentaSpacesQuietZone", F("CMYKmagentaSpacesQuietZone"), "%d"},
        {"CMYKyellowSpacesQuietZone", F("CMYKyellowSpacesQuietZone"), "%d"},
        {"CMYKblackSpacesQuietZone", F("CMYKblackSpacesQuietZone"), "%d"},
        {"CMYKcyanBarsText", F("CMYKcyanBarsText"), "%d"},
        {"CMYKmagentaBarsText", F("CMYKmagentaBarsText"), "%d"},
        {"CMYKyellowBarsText", F("CMYKyellowBarsText"), "%d"},
        {"CMYKblackBarsText", F("CMYKblackBarsText"), "%d"},
        {"BarsTextRadio", F("BarsTextRadio"), "%d"},
        {"SpacesQuietZoneRadio", F("SpacesQuietZoneRadio"), "%d"},
        {"SpotRadio", F("SpotRadio"), "%d"},
        {"ProcessRadio", F("ProcessRadio"), "%d"},
        {"RGB_Radio", F("RGB_Radio"), "%d"},
        {"CMYK_Radio", F("CMYK_Radio"), "%d"},
        {"Overprint", F("Overprint"), "%d"},
        {"TransparentBackground", F("TransparentBackground"), "%d"},
        {"Rotation", F("Rotation"), "%d"},
        {"bBarWidthReduction", F("bBarWidthReduction"), "%d"},
        {"bCropMarks", F("bCropMarks"), "%d"},
        {"bEncodedData", F("bEncodedData"), "%d"},
        {"bSymbology", F("bSymbology"), "%d"},
        {"bWideNarrowRatio", F("bWideNarrowRatio"), "%d"},
        {"bBarHeight", F("bBarHeight"), "%d"},
        {"bMagnification", F("bMagnification"), "%d"},
        {"bXDimension", F("bXDimension"), "%d"},
        {"bNBW", F("bNBW"), "%d"},
        {"bPrinterDpi", F("bPrinterDpi"), "%d"},
        {"bFilm", F("bFilm"), "%d"},
        {"bCompany", F("bCompany"), "%d"},
        {"bClient", F("bClient"), "%d"},
        {"bJob", F("bJob"), "%d"},
        {"bDate", F("bDate"), "%d"},
        {"bComments", F("bComments"), "%d"},
        {"bFilm", F("Film"), "%d"},
        {"Company", F("Company"), "%s"},
        {"Client", F("Client"), "%s"},
        {"Job", F("Job"), "%s"},
        {"Date", F("Date"), "%s"},
        {"Comments", F("Comments"), "%s"},
    };
    return lines;
}

int BlockLineDecimals(const SettingsBlockLine& line) {
    const char* f = line.format;
    if (f[0] == '%' && f[1] == '.' && f[3] == 'f' && (f[2] == '7' || f[2] == '2')) return f[2] - '0';
    return 6;
}

void AppendBlockValue(std::string& out, const SettingsRecord& record, const SettingsBlockLine& line) {
    const SettingsField* f = line.field;
    if (!f) {
        out += kVersionText;
        return;
    }
    switch (f->kind) {
    case FieldKind::Integer: AppendInt(out, f->getInteger(record)); break;
    case FieldKind::Decimal: AppendFixed(out, f->getDecimal(record), BlockLineDecimals(line)); break;
    case FieldKind::FixedText:
    case FieldKind::Text: out += f->getText(record); break;
    }
}

void AppendBlockLine(std::string& out, const SettingsRecord& record, const SettingsBlockLine& line) {
    out += "%%_";
    out += line.key;
    out += ": ";
    AppendBlockValue(out, record, line);
}

void AppendBlockLines(std::string& out, const SettingsRecord& record) {
    // "%%_" key ": " of every line, made once.
    static const std::vector<std::string> heads = [] {
        std::vector<std::string> h;
        for (const SettingsBlockLine& line : SettingsBlockLines()) h.push_back(std::string("%%_") + line.key + ": ");
        return h;
    }();
    const auto lines = SettingsBlockLines();
    out.reserve(out.size() + 4096);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& head = heads[i];
        const SettingsField* f = lines[i].field;
        if (f && f->kind == FieldKind::Integer && head.size() <= 64) {
            // Most lines: made whole in place and appended at once.
            char row[96];
            std::memcpy(row, head.data(), head.size());
            char* end = std::to_chars(row + head.size(), row + sizeof row - 2, f->getInteger(record)).ptr;
            *end++ = '\r';
            *end++ = '\n';
            out.append(row, static_cast<std::size_t>(end - row));
            continue;
        }
        out += head;
        AppendBlockValue(out, record, lines[i]);
        out.append("\r\n", 2);
    }
}

std::string SettingsBlockProblem(const SettingsRecord& record) {
    // Lines that plainly read back are passed over without being written: an
    // integer line is short whatever its value, a decimal one while its value
    // is finite and of moderate size, a text line is its text's length and the key's.
    std::string text;
    for (const SettingsBlockLine& line : SettingsBlockLines()) {
        if (!line.field) continue;
        const SettingsField& f = *line.field;
        std::size_t length = 0;
        if (f.kind == FieldKind::Decimal) {
            const double value = f.getDecimal(record);
            if (std::isfinite(value) && std::fabs(value) < 1e100) continue;
            text.clear();
            AppendBlockLine(text, record, line);
            length = text.size();
        } else if (IsText(f)) {
            const std::string_view value = f.getText(record);
            const std::size_t limit = f.kind == FieldKind::FixedText ? f.capacity : kWorkingTextLength;
            length = std::strlen(line.key) + 5 + value.size();
            if (value.size() <= limit && length <= kSettingsLineLength &&
                value.find_first_of(std::string_view("\r\n\f\0", 4)) == std::string_view::npos)
                continue;
        } else {
            continue;
        }
        std::string problem = LineProblem(record, line, length);
        if (!problem.empty()) return problem;
    }
    return {};
}

}  // namespace vg
