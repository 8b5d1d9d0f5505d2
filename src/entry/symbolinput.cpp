#include "entry/symbolinput.h"

#include "entry/inputbar.h"
#include "entry/pipeline.h"
#include "geometry/fieldentry.h"
#include "geometry/settingsdefaults.h"
#include "model/messages.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "model/variationname.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

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

const VariationInfo* LookUpVariation(const std::string& text, std::string* reason) {
    const VariationMatch m = MatchVariation(text);
    if (m.variation) return m.variation;
    if (m.candidates.empty()) {
        *reason = "unknown variation '" + text + "' (vglyph list shows them)";
        return nullptr;
    }
    *reason = "variation '" + text + "' names no single variation; candidates:";
    for (const VariationInfo* v : m.candidates)
        *reason += "\n  " + std::to_string(v->code) + "\t" + FindString(v->nameId).value_or(v->name);
    return nullptr;
}

void ChooseVariation(const VariationInfo& variation) {
    SettingsRecord& s = SymbolSettings;
    Bar();  // the bar whose state the defaults reset
    s.Family = static_cast<int16_t>(variation.family);
    s.Variation = variation.code;
    s.VariationName = FindString(variation.nameId).value_or(variation.name);
    s.Derived = 0;
    KitletFull = 0;
    ApplyEntryDefaults();
    // The data that follows is the program's own, not typing.
    ProgrammaticInput = 1;
}

bool ApplyFieldSettings(const std::vector<std::string>& settings, std::string* reason) {
    const FieldEntryResult r = ApplyFieldEntries(SymbolSettings, settings);
    if (!r.ok) *reason = r.problem;
    return r.ok;
}

bool FeedData(const DataTexts& data, std::string* reason) {
    InputBar& bar = Bar();
    ProgrammaticInput = 1;
    // The record is already filled, as when a graphic is reopened: the
    // additional text stays.
    bar.SetUpLayout(true);
    const std::pair<FieldRole, const std::optional<std::string>*> fields[] = {
        {FieldRole::Fact, &data.fact},           {FieldRole::Main, &data.main},
        {FieldRole::AddOn, &data.addOn},         {FieldRole::CouponUpc, &data.couponUpc},
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
        // A main text over the limit was cut after "Input too long": the
        // symbol would carry other data than was given.
        if (role == FieldRole::Main && (*text)->size() > kMaxMainInput) return false;
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

void AfterEditText(InputBar& bar) {
    ProgrammaticInput = 1;
    bar.SetUpLayout(true);
}

bool SetUpInputAgain(std::string* reason) {
    InputBar& bar = Bar();
    AfterEditText(bar);
    if (bar.SymbolReady()) return true;
    *reason = "the data gives no " + SymbolSettings.VariationName + " symbol";
    return false;
}

}  // namespace vg
