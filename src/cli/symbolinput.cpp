#include "cli/symbolinput.h"

#include <cstdio>
#include <cstdlib>

#include "eps/epswriter.h"
#if __has_include("eps/epsbody.h")
#include "eps/epsbody.h"
#define VGL_HAVE_EPS_BODY 1
#endif
#include "model/messages.h"
#include "model/settingsfields.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/symbol.h"

namespace vg::cli {
namespace {

constexpr std::size_t kMaxMainText = 60;
constexpr int kEditControlCaption = 61245;
constexpr int kInputTooLong = 61257;
constexpr int kIncompleteInput = 61388;

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

bool HyphenIsData(int v) {
    return v == 1 || v == 5 || v == 6 || v == 11 || v == 12 || v == 15 || v == 16 || v == 24 || v == 25 ||
           v == 76 || In(v, 88, 96) || v == 103 || v == 104 || IsVantic128Class(v);
}

bool SpaceIsData(int v) { return v != 1 && v != 5 && HyphenIsData(v); }

// Variations whose text is drawn even when nothing encodes.
bool TextOnly(int v) { return v == 24 || v == 25 || v == 34 || v == 37 || v == 86 || v == 87; }

std::string Without(const std::string& text, char c) {
    std::string out;
    for (char x : text)
        if (x != c) out += x;
    return out;
}

bool Refuse(int textId) {
    ShowMessage(LoadString(kEditControlCaption), LoadString(textId), MsgIcon::Stop);
    return false;
}

// Hyphen and space removal of the main field.
void StoreMain(const std::string& typed) {
    SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    if (v == 75 || v == 102) s.IgnoreHyphens = s.IgnoreSpaces = 0;
    std::string original = typed;
    std::string data = typed;
    if (s.IgnoreHyphens) {
        data = Without(data, '-');
    } else if (!HyphenIsData(v)) {
        data = Without(data, '-');
        original = Without(original, '-');
    }
    if (s.IgnoreSpaces) {
        data = Without(data, ' ');
    } else if (!SpaceIsData(v)) {
        data = Without(data, ' ');
        original = Without(original, ' ');
    }
    // Six-digit UPC-E typed with its number system.
    if ((v == 74 || v == 101) && data.size() == 7 && AllDigits(data) && data[0] == (v == 101 ? '1' : '0')) {
        data.erase(0, 1);
        original = data;
    }
    SetText(s.OriginalMainText, original);
    SetText(s.MainText, data);
    if (data.empty()) SetText(s.OriginalMainText, "");
}

// Stores the data field by field, computes the check characters and encodes.
// Used until the data entry pipeline takes over.
bool FeedDirect(const DataTexts& in) {
    SettingsRecord& s = SymbolSettings;
    auto fits = [](const std::optional<std::string>& t, std::size_t n) { return !t || t->size() <= n; };
    if (!fits(in.main, kMaxMainText) || !fits(in.addOn, sizeof s.AddOnText - 1) ||
        !fits(in.fact, sizeof s.FACTdataIDtext - 1) ||
        !fits(in.couponUpc, sizeof s.CouponFormatUPCpartText - 1) ||
        !fits(in.coupon128, sizeof s.CouponFormat128partText - 1))
        return Refuse(kInputTooLong);

    if (in.fact) SetText(s.FACTdataIDtext, *in.fact);
    StoreMain(in.main ? *in.main : std::string(TextOf(s.OriginalMainText)));
    if (in.addOn) SetText(s.AddOnText, *in.addOn);
    if (in.couponUpc) SetText(s.CouponFormatUPCpartText, *in.couponUpc);
    if (in.coupon128) SetText(s.CouponFormat128partText, *in.coupon128);

    const int v = s.Variation;
    const std::size_t addOn = TextOf(s.AddOnText).size();
    if (IsUpcEanClass(v) && addOn != 0 && addOn != 2 && addOn != 5) return Refuse(kIncompleteInput);
    std::string data(TextOf(s.MainText));
    if (v == 74 || v == 101) data.insert(data.begin(), v == 101 ? '1' : '0');
    const bool hasInput = !TextOf(s.MainText).empty() || !TextOf(s.CouponFormatUPCpartText).empty();
    s.CheckCharacter1 = s.CheckCharacter2 = 0;
    ComputeCheckCharacters(data, hasInput ? 1 : 0);
    if (EncodeCurrentVariation() == 1 || TextOnly(v)) return true;
    std::fprintf(stderr, "vglyph: the data cannot be encoded as %s\n", s.VariationName.c_str());
    return false;
}

}  // namespace

const VariationInfo* LookUpVariation(const std::string& text) {
    if (AllDigits(text) && text.size() <= 4) return FindVariation(std::atoi(text.c_str()));
    for (const VariationInfo& v : Catalogue())
        if (text == FindString(v.nameId).value_or(v.name)) return &v;
    return nullptr;
}

void ChooseVariation(const VariationInfo& variation) {
    SettingsRecord& s = SymbolSettings;
    InstallSymbologyHooks();
    s.Family = static_cast<int16_t>(variation.family);
    s.Variation = variation.code;
    s.VariationName = FindString(variation.nameId).value_or(variation.name);
    s.Derived = 0;
    KitletFull = 0;
    ApplyVariationDefaults();
    // The data that follows is the program's own, not typing.
    ProgrammaticInput = 1;
}

bool ApplyFieldSettings(const std::vector<std::string>& settings) {
    for (const std::string& setting : settings) {
        std::size_t eq = setting.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "vglyph: --set needs FIELD=VALUE, not '%s'\n", setting.c_str());
            return false;
        }
        const std::string name = setting.substr(0, eq);
        const SettingsField* field = FindSettingsField(name);
        if (!field) {
            std::fprintf(stderr, "vglyph: unknown settings field '%s'\n", name.c_str());
            return false;
        }
        std::string problem;
        if (!SetFieldValue(SymbolSettings, *field, std::string_view(setting).substr(eq + 1), &problem)) {
            std::fprintf(stderr, "vglyph: bad value for %s: '%s' is %s\n", name.c_str(),
                         setting.c_str() + eq + 1, problem.c_str());
            return false;
        }
    }
    return true;
}

bool FeedData(const DataTexts& data) { return FeedDirect(data); }

bool WriteSymbolEps(const std::string& path, bool withPreview, bool levelOne, const std::string& title) {
#ifdef VGL_HAVE_EPS_BODY
    return WriteCurrentSymbolEps(path, withPreview, levelOne, title);
#else
    // No symbol body yet: the document frame without bars.
    EpsOptions options;
    options.WithPreview = withPreview;
    options.LevelOneOutput = levelOne;
    options.Title = title;
    return WriteEpsFile(path, options);
#endif
}

}  // namespace vg::cli
