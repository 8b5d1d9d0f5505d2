#include "eps/settingsreader.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <vector>

#include "geometry/settingsdefaults.h"
#include "geometry/variationdefaults.h"
#include "model/charset.h"
#include "model/fontnames.h"
#include "model/regularfile.h"
#include "model/settingsfields.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

constexpr std::string_view kMarker = "%_VornelGlyph Prefs";
constexpr std::string_view kEndMarker = "%_Fine";
constexpr std::size_t kLinePiece = kSettingsLineLength;  // a 300-byte line buffer
constexpr uint64_t kHeaderBytes = 30;                    // DOS EPS header, skipped
constexpr uint32_t kDosEpsMagic = 0xC6D3D0C5;
// The block sits in the prolog, a few kilobytes into the file; nothing is read
// beyond this much of the PostScript section.
constexpr uint64_t kReach = 1 << 20;

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

using V = std::string_view;
using P = SettingsParseState;

// Integer field limited to lo..hi; an empty value leaves the field as it is.
template <class T>
void IntIn(V v, T& field, int lo, int hi, int fallback) {
    if (v.empty()) return;
    int x = AtoI(v);
    field = static_cast<T>(x >= lo && x <= hi ? x : fallback);
}

template <class T>
void Flag(V v, T& field, int fallback) {
    IntIn(v, field, 0, 1, fallback);
}

// Colour bytes keep the low 8 bits of the number before the range test.
void Colour(V v, uint8_t& field, uint8_t fallback) {
    if (v.empty()) return;
    auto x = static_cast<uint8_t>(AtoI(v));
    field = x <= 100 ? x : fallback;
}

template <class T>
void Angle(V v, T& field) {
    if (v.empty()) return;
    int x = AtoI(v);
    field = static_cast<T>(x == 0 || x == 90 || x == 180 || x == 270 ? x : 0);
}

void Number(V v, double& field) {
    if (!v.empty()) field = AtoF(v);
}

// Number within range, else the variation's default; an empty value leaves the field.
void NumberOrDefault(V v, const SettingsRecord& s, double& field, const Range& range, double (*fallback)(int, int)) {
    if (v.empty()) return;
    double x = AtoF(v);
    field = range.Contains(x) ? x : fallback(s.Family, s.Variation);
}

void KeepUnlessEmpty(V v, std::string& field) {
    if (!v.empty()) field = std::string(v);
}

void MarkInvalid(P& p) {
    p.invalid = true;
    p.record.ProfileInvalid = 1;
}

void DefaultTextFont(SettingsRecord& s) {
    FontDefault f = DefaultFontFor(s.Variation);
    s.FontName4humanreadable = f.face ? f.face : "";
    s.Size = f.size;
    s.FontName4ISBN_ISSN_SPCNs = kOcrBFontName;
}

using Apply = void (*)(P&, V);
struct KeyRule {
    const char* key;
    Apply apply;
};

const KeyRule kRules[] = {
    {"VersionNumber", [](P& p, V v) { p.versionText = std::string(v); }},
    {"Family",
     [](P& p, V v) {
         int x = AtoI(v);
         if (kFamilyRange.Contains(x)) {
             p.record.Family = static_cast<int16_t>(x);
         } else {
             p.record.Family = 0;
             MarkInvalid(p);
         }
     }},
    {"Variation",
     [](P& p, V v) {
         int x = AtoI(v);
         if (kVariationRange.Contains(x)) {
             p.record.Variation = x;
         } else {
             p.record.Variation = 0;
             MarkInvalid(p);
         }
     }},
    {"VariationName", [](P& p, V v) { p.record.VariationName = std::string(v); }},
    {"Derived",
     [](P& p, V v) {
         int x = AtoI(v);
         p.record.Derived = x == 1 ? 1 : 0;
     }},
    {"OriginalMainText", [](P& p, V v) { SetText(p.record.OriginalMainText, v); }},
    {"AddOnText", [](P& p, V v) { SetText(p.record.AddOnText, v); }},
    {"FACTdataIDtext", [](P& p, V v) { SetText(p.record.FACTdataIDtext, v); }},
    {"CouponFormatUPCpartText", [](P& p, V v) { SetText(p.record.CouponFormatUPCpartText, v); }},
    {"CouponFormat128partText", [](P& p, V v) { SetText(p.record.CouponFormat128partText, v); }},
    {"Format", [](P& p, V v) { IntIn(v, p.record.Format, 0, 2, 2); }},
    {"UnitOfMeasure", [](P& p, V v) { IntIn(v, p.record.UnitOfMeasure, 0, 3, 0); }},
    {"FileName", [](P& p, V v) { IntIn(v, p.record.FileName, 0, 4, 4); }},
    {"ElephantSound", [](P& p, V v) { Flag(v, p.record.ElephantSound, 1); }},
    {"Prufmark", [](P& p, V v) { IntIn(v, p.record.Prufmark, 0, 3, 0); }},
    {"GSCalibration", [](P& p, V v) { IntIn(v, p.record.GSCalibration, 10, 93, 0); }},
    {"LastMethod", [](P& p, V v) { Flag(v, p.record.LastMethod, 0); }},
    {"PrinterDpi", [](P& p, V v) { IntIn(v, p.record.PrinterDpi, 30, 20000, 2400); }},
    {"CurRatio",
     [](P& p, V v) { NumberOrDefault(v, p.record, p.record.CurRatio, kRatioRange, DefaultRatio); }},
    {"CurBarXDimension",
     [](P& p, V v) {
         if (v.empty()) return;
         double x = AtoF(v);
         SettingsRecord& s = p.record;
         if (kXDimensionRange.Contains(x))
             s.CurBarXDimension = x;
         else if (s.Format == 1)
             s.CurBarXDimension = DefaultXDimension(s.Family, s.Variation);
     }},
    {"SymbolWidth", [](P& p, V v) { Number(v, p.record.SymbolWidth); }},
    {"BarHeight",
     [](P& p, V v) { NumberOrDefault(v, p.record, p.record.BarHeight, kBarHeightRange, DefaultBarHeight); }},
    {"BearerBar",
     [](P& p, V v) { NumberOrDefault(v, p.record, p.record.BearerBar, kBearerBarRange, DefaultBearerBar); }},
    {"BarWidthReduction", [](P& p, V v) { Number(v, p.record.BarWidthReduction); }},
    {"Magnification", [](P& p, V v) { Number(v, p.record.Magnification); }},
    {"Size",
     [](P& p, V v) {
         if (v.empty()) return;
         int x = AtoI(v);
         if (kSizeRange.Contains(x))
             p.record.Size = x;
         else
             DefaultTextFont(p.record);
     }},
    {"Align", [](P& p, V v) { IntIn(v, p.record.Align, 0, 2, 1); }},
    {"StartCharacter", [](P& p, V v) { IntIn(v, p.record.StartCharacter, 0, 3, 0); }},
    {"StopCharacter", [](P& p, V v) { IntIn(v, p.record.StopCharacter, 0, 3, 1); }},
    {"Bold", [](P& p, V v) { Flag(v, p.record.Bold, 0); }},
    {"Italic", [](P& p, V v) { Flag(v, p.record.Italic, 0); }},
    {"Hidden", [](P& p, V v) { Flag(v, p.record.Hidden, 0); }},
    {"ShowFactDataID", [](P& p, V v) { Flag(v, p.record.ShowFactDataID, 0); }},
    {"ShowAsterisks", [](P& p, V v) { Flag(v, p.record.ShowAsterisks, 0); }},
    {"HideCheckDigits", [](P& p, V v) { Flag(v, p.record.HideCheckDigits, 0); }},
    {"HideParentheses", [](P& p, V v) { Flag(v, p.record.HideParentheses, 0); }},
    {"IgnoreHyphens", [](P& p, V v) { Flag(v, p.record.IgnoreHyphens, 1); }},
    {"IgnoreSpaces", [](P& p, V v) { Flag(v, p.record.IgnoreSpaces, 1); }},
    {"TextAbove", [](P& p, V v) { Flag(v, p.record.TextAbove, 0); }},
    {"ShowStartStop", [](P& p, V v) { Flag(v, p.record.ShowStartStop, 0); }},
    {"CenterSysChk", [](P& p, V v) { Flag(v, p.record.CenterSysChk, 0); }},
    {"HideAddonText", [](P& p, V v) { Flag(v, p.record.HideAddonText, 0); }},
    {"AddonTextDown", [](P& p, V v) { Flag(v, p.record.AddonTextDown, 0); }},
    {"QuietZoneIndicators", [](P& p, V v) { Flag(v, p.record.QuietZoneIndicators, 0); }},
    {"DistanceToBars",
     [](P& p, V v) {
         if (v.empty()) return;
         double x = AtoF(v);
         SettingsRecord& s = p.record;
         s.DistanceToBars = kDistanceRange.Contains(x) ? x : DefaultDistanceToBars(s.Variation);
     }},
    {"FontName4humanreadable", [](P& p, V v) { KeepUnlessEmpty(v, p.record.FontName4humanreadable); }},
    {"FontName4ISBN_ISSN_SPCNs", [](P& p, V v) { KeepUnlessEmpty(v, p.record.FontName4ISBN_ISSN_SPCNs); }},
    {"ISSNExtraDigits", [](P& p, V v) { p.record.ISSNExtraDigits = std::string(v); }},
    {"AdditionalText", [](P& p, V v) { p.record.AdditionalText = std::string(v); }},
    {"UseHumanReadablesAsText", [](P& p, V v) { Flag(v, p.record.UseHumanReadablesAsText, 0); }},
    {"FontName4AdditionalText", [](P& p, V v) { KeepUnlessEmpty(v, p.record.FontName4AdditionalText); }},
    {"SizeAT",
     [](P& p, V v) {
         if (v.empty()) return;
         int x = AtoI(v);
         if (kSizeRange.Contains(x)) {
             p.record.SizeAT = x;
         } else {
             p.record.FontName4AdditionalText = "Arial";
             p.record.SizeAT = 12;
         }
     }},
    {"AlignAT", [](P& p, V v) { IntIn(v, p.record.AlignAT, 0, 4, 4); }},
    {"BoldAT", [](P& p, V v) { Flag(v, p.record.BoldAT, 0); }},
    {"ItalicAT", [](P& p, V v) { Flag(v, p.record.ItalicAT, 0); }},
    {"Rotation4AdditionalText", [](P& p, V v) { Angle(v, p.record.Rotation4AdditionalText); }},
    {"H", [](P& p, V v) { Number(v, p.record.H); }},
    {"V", [](P& p, V v) { Number(v, p.record.V); }},
    {"BarsTextColorName",
     [](P& p, V v) { p.record.BarsTextColorName = v.empty() ? "Bars & Text Color" : std::string(v); }},
    {"SpacesQuietZoneColorName",
     [](P& p, V v) { p.record.SpacesQuietZoneColorName = v.empty() ? "Spaces & QZ Color" : std::string(v); }},
    {"Hueproof", [](P& p, V v) { IntIn(v, p.record.Hueproof, 1, 3, 3); }},
    {"redSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.redSpacesQuietZone, 100); }},
    {"greenSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.greenSpacesQuietZone, 100); }},
    {"blueSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.blueSpacesQuietZone, 100); }},
    {"blackSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.blackSpacesQuietZone, 0); }},
    {"redBarsText", [](P& p, V v) { Colour(v, p.record.redBarsText, 0); }},
    {"greenBarsText", [](P& p, V v) { Colour(v, p.record.greenBarsText, 0); }},
    {"blueBarsText", [](P& p, V v) { Colour(v, p.record.blueBarsText, 0); }},
    {"blackBarsText", [](P& p, V v) { Colour(v, p.record.blackBarsText, 100); }},
    {"CMYKcyanSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.CMYKcyanSpacesQuietZone, 0); }},
    {"CMYKmagentaSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.CMYKmagentaSpacesQuietZone, 0); }},
    {"CMYKyellowSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.CMYKyellowSpacesQuietZone, 0); }},
    {"CMYKblackSpacesQuietZone", [](P& p, V v) { Colour(v, p.record.CMYKblackSpacesQuietZone, 0); }},
    {"CMYKcyanBarsText", [](P& p, V v) { Colour(v, p.record.CMYKcyanBarsText, 0); }},
    {"CMYKmagentaBarsText", [](P& p, V v) { Colour(v, p.record.CMYKmagentaBarsText, 0); }},
    {"CMYKyellowBarsText", [](P& p, V v) { Colour(v, p.record.CMYKyellowBarsText, 0); }},
    {"CMYKblackBarsText", [](P& p, V v) { Colour(v, p.record.CMYKblackBarsText, 100); }},
    {"BarsTextRadio", [](P& p, V v) { Flag(v, p.record.BarsTextRadio, 1); }},
    {"SpacesQuietZoneRadio", [](P& p, V v) { Flag(v, p.record.SpacesQuietZoneRadio, 0); }},
    {"SpotRadio", [](P& p, V v) { Flag(v, p.record.SpotRadio, 1); }},
    {"ProcessRadio", [](P& p, V v) { Flag(v, p.record.ProcessRadio, 0); }},
    {"RGB_Radio", [](P& p, V v) { Flag(v, p.record.RGB_Radio, 0); }},
    {"CMYK_Radio", [](P& p, V v) { Flag(v, p.record.CMYK_Radio, 1); }},
    {"Overprint", [](P& p, V v) { Flag(v, p.record.Overprint, 0); }},
    {"TransparentBackground", [](P& p, V v) { Flag(v, p.record.TransparentBackground, 0); }},
    {"Rotation", [](P& p, V v) { Angle(v, p.record.Rotation); }},
    {"bBarWidthReduction", [](P& p, V v) { Flag(v, p.record.bBarWidthReduction, 0); }},
    {"bCropMarks", [](P& p, V v) { Flag(v, p.record.bCropMarks, 0); }},
    {"bEncodedData", [](P& p, V v) { Flag(v, p.record.bEncodedData, 0); }},
    {"bSymbology", [](P& p, V v) { Flag(v, p.record.bSymbology, 0); }},
    {"bWideNarrowRatio", [](P& p, V v) { Flag(v, p.record.bWideNarrowRatio, 0); }},
    {"bBarHeight", [](P& p, V v) { Flag(v, p.record.bBarHeight, 0); }},
    {"bMagnification", [](P& p, V v) { Flag(v, p.record.bMagnification, 0); }},
    {"bXDimension", [](P& p, V v) { Flag(v, p.record.bXDimension, 0); }},
    {"bNBW", [](P& p, V v) { Flag(v, p.record.bNBW, 0); }},
    {"bPrinterDpi", [](P& p, V v) { Flag(v, p.record.bPrinterDpi, 0); }},
    {"bFilm",
     [](P& p, V v) {
         if (++p.filmLines == 1)
             Flag(v, p.record.bFilm, 0);
         else
             IntIn(v, p.record.Film, 0, 3, 0);
     }},
    {"bCompany", [](P& p, V v) { Flag(v, p.record.bCompany, 0); }},
    {"bClient", [](P& p, V v) { Flag(v, p.record.bClient, 0); }},
    {"bJob", [](P& p, V v) { Flag(v, p.record.bJob, 0); }},
    {"bDate", [](P& p, V v) { Flag(v, p.record.bDate, 0); }},
    {"bComments", [](P& p, V v) { Flag(v, p.record.bComments, 0); }},
    {"Company", [](P& p, V v) { p.record.Company = std::string(v); }},
    {"Client", [](P& p, V v) { p.record.Client = std::string(v); }},
    {"Job", [](P& p, V v) { p.record.Job = std::string(v); }},
    {"Date", [](P& p, V v) { p.record.Date = std::string(v); }},
    {"Comments", [](P& p, V v) { p.record.Comments = std::string(v); }},
};

// The rule of a keyed line and its value: the key stands at the start of the
// line, after "%%_" or "%_", and ends at the first ": ".
const KeyRule* RuleOf(V line, V& value) {
    if (line.starts_with("%%_"))
        line.remove_prefix(3);
    else if (line.starts_with("%_"))
        line.remove_prefix(2);
    else
        return nullptr;
    std::size_t colon = line.find(':');
    if (colon == V::npos || colon + 1 >= line.size() || line[colon + 1] != ' ') return nullptr;
    const V key = line.substr(0, colon);
    for (const KeyRule& r : kRules) {
        if (key == r.key) {
            value = line.substr(colon + 2);
            return &r;
        }
    }
    return nullptr;
}

// The lines of one byte range of a file. A line ends at LF; only its first
// kLineRoom bytes are kept, the rest of an over-long line is skipped, never
// read as lines of their own.
class LineReader {
public:
    static constexpr std::size_t kLineRoom = kLinePiece + 1;  // room for a CR after a full line

    LineReader(RegularFile& file, uint64_t begin, uint64_t end)
        : m_file(file), m_next(begin), m_end(end), m_buffer(BufferSize(file.Size(), begin, end)) {}

    // The kept bytes of the next line, without its LF, and the line's whole length.
    bool Next(std::string& kept, uint64_t& length) {
        kept.clear();
        length = 0;
        bool any = false;
        for (;;) {
            if (m_pos == m_len && !Fill()) return any;
            any = true;
            const char* from = m_buffer.data() + m_pos;
            const auto* lf = static_cast<const char*>(std::memchr(from, '\n', m_len - m_pos));
            const std::size_t n = lf ? static_cast<std::size_t>(lf - from) : m_len - m_pos;
            if (kept.size() < kLineRoom) kept.append(from, std::min(n, kLineRoom - kept.size()));
            length += n;
            m_pos += n;
            if (lf) {
                ++m_pos;
                return true;
            }
        }
    }

    bool Failed() const { return m_failed; }

private:
    // The range as far as the file holds it, within 4 to 64 KiB.
    static std::size_t BufferSize(uint64_t fileSize, uint64_t begin, uint64_t end) {
        const uint64_t held = std::min(end, fileSize) > begin ? std::min(end, fileSize) - begin : 0;
        return static_cast<std::size_t>(std::clamp<uint64_t>(held, 1 << 12, 1 << 16));
    }

    bool Fill() {
        m_pos = m_len = 0;
        if (m_failed || m_next >= m_end) return false;
        const auto want = static_cast<std::size_t>(std::min<uint64_t>(m_buffer.size(), m_end - m_next));
        long long got = m_file.ReadAt(m_next, m_buffer.data(), want);
        if (got < 0) m_failed = true;
        if (got <= 0) return false;
        m_len = static_cast<std::size_t>(got);
        m_next += m_len;
        return true;
    }

    RegularFile& m_file;
    uint64_t m_next;
    uint64_t m_end;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_failed = false;
};

// A line as the parser sees it: the CR before its LF dropped, at most
// kLinePiece characters, and ending at a NUL byte as a C text would.
V LineOf(const std::string& kept, uint64_t length) {
    V line(kept);
    if (length == kept.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kLinePiece) line = line.substr(0, kLinePiece);
    std::size_t nul = line.find('\0');
    if (nul != V::npos) line = line.substr(0, nul);
    return line;
}

uint32_t LittleU32(const unsigned char* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// The bytes that can hold the settings block: past the 30-byte header, within
// the PostScript section a DOS EPS header gives, and never beyond kReach.
void BlockRange(RegularFile& file, uint64_t& begin, uint64_t& end) {
    begin = kHeaderBytes;
    end = kHeaderBytes + kReach;
    unsigned char header[12];
    if (file.ReadAt(0, header, sizeof header) != static_cast<long long>(sizeof header)) return;
    if (LittleU32(header) != kDosEpsMagic) return;
    const uint64_t start = LittleU32(header + 4);
    const uint64_t sectionEnd = start + LittleU32(header + 8);
    begin = std::max<uint64_t>(begin, start);
    end = std::min(sectionEnd, begin + kReach);
}

}  // namespace

int AtoI(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

double AtoF(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Decimal notation only: no hexadecimal, infinity or NaN texts.
    if (i >= text.size() || !(IsDigit(text[i]) || text[i] == '.')) return 0;
    double value = 0;
    auto r = std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::general);
    if (r.ec != std::errc()) return 0;
    return negative ? -value : value;
}

bool ParseSettingsLine(SettingsParseState& state, std::string_view line) {
    if (line == kEndMarker) return true;
    V value;
    if (const KeyRule* rule = RuleOf(line, value)) rule->apply(state, value);
    return true;
}

bool ReadSettingsComments(const std::string& path, std::string* versionText, std::string* reason,
                          std::vector<std::string>* clamped) {
    RegularFile file;
    if (!file.Open(path, reason)) return false;
    uint64_t begin = 0, end = 0;
    BlockRange(file, begin, end);

    SettingsRecord work = SymbolSettings;
    SettingsParseState state(work);
    LineReader reader(file, begin, end);
    std::string kept;
    uint64_t length = 0;
    bool found = false;
    bool inBlock = false;
    while (reader.Next(kept, length)) {
        const V line = LineOf(kept, length);
        if (!inBlock) {
            if (line == kMarker) {
                found = inBlock = true;
                state.filmLines = 0;
            }
            continue;
        }
        ParseSettingsLine(state, line);
        if (line == kEndMarker) inBlock = false;
    }
    if (reader.Failed()) {
        if (reason) *reason = file.Reason();
        return false;
    }
    if (!found || inBlock) return false;

    std::vector<std::string> changed = ClampToValidValues(work);
    if (clamped) *clamped = std::move(changed);
    SymbolSettings = std::move(work);
    if (state.invalid) {
        SymbolSettings.ProfileInvalid = 1;
        ProgrammaticInput = 0;
    }
    if (versionText) *versionText = state.versionText;
    return true;
}

}  // namespace vg
