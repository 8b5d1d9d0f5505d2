#include "entry/symbolinput.h"

#include <cstdlib>

#include "entry/inputbar.h"
#include "geometry/settingsdefaults.h"
#include "model/messages.h"
#include "model/settingsfields.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The tool's one input bar, without widgets; no pause or beep for a typed
// check digit.
struct ToolInputBar {
    HeadlessInputBarView view;
    FakeClock clock;
    InputBar bar{view, clock};
};

InputBar& Bar() {
    static ToolInputBar tool;
    return tool.bar;
}

const char* RoleName(FieldRole role) {
    switch (role) {
    case FieldRole::Main: return "main data";
    case FieldRole::AddOn: return "add-on";
    case FieldRole::Fact: return "FACT data identifier";
    case FieldRole::CouponUpc: return "coupon UPC part";
    case FieldRole::Coupon128: return "coupon UCC/EAN-128 part";
    }
    return "";
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
    Bar();  // its defaults hooks are in place before the defaults run
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

bool ApplyFieldSettings(const std::vector<std::string>& settings, std::string* reason) {
    for (const std::string& setting : settings) {
        std::size_t eq = setting.find('=');
        if (eq == std::string::npos || eq == 0) {
            *reason = "--set needs FIELD=VALUE, not '" + setting + "'";
            return false;
        }
        const std::string name = setting.substr(0, eq);
        const SettingsField* field = FindSettingsField(name);
        if (!field) {
            *reason = "unknown settings field '" + name + "'";
            return false;
        }
        const std::string_view value = std::string_view(setting).substr(eq + 1);
        // Every text of the record is one line; a line break would end a
        // settings comment early.
        if (value.find_first_of("\r\n") != std::string_view::npos) {
            *reason = "bad value for " + name + ": a line break";
            return false;
        }
        std::string problem;
        if (!SetFieldValue(SymbolSettings, *field, value, &problem)) {
            *reason = "bad value for " + name + ": '" + std::string(value) + "' is " + problem;
            return false;
        }
    }
    return true;
}

bool FeedData(const DataTexts& data, std::string* reason) {
    InputBar& bar = Bar();
    ProgrammaticInput = 1;
    // The record is already filled, as when a graphic is reopened: the
    // additional text stays.
    bar.SetUpLayout(true);
    const std::pair<FieldRole, const std::optional<std::string>*> fields[] = {
        {FieldRole::Fact, &data.fact},          {FieldRole::Main, &data.main},
        {FieldRole::AddOn, &data.addOn},        {FieldRole::CouponUpc, &data.couponUpc},
        {FieldRole::Coupon128, &data.coupon128},
    };
    for (const auto& [role, text] : fields) {
        if (!*text) continue;
        if (!bar.ControlFor(role)) {
            *reason = SymbolSettings.VariationName + " has no " + RoleName(role) + " field";
            return false;
        }
        // A refusal has shown its message.
        if (bar.Fill(role, **text) == FillOutcome::Refused) return false;
    }
    if (bar.AnyIncomplete()) {
        ShowMessage(bar.ReminderCaption(), bar.ReminderText(), MsgIcon::Stop);
        return false;
    }
    if (!bar.SymbolReady()) {
        *reason = "the data gives no " + SymbolSettings.VariationName + " symbol";
        return false;
    }
    return true;
}

}  // namespace vg
