#include "entry/inputbar.h"

#include <algorithm>

#include "entry/fieldhelp.h"
#include "geometry/settingsdefaults.h"
#include "model/catalogue.h"
#include "model/messages.h"
#include "model/stringids.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

// The input bar whose state ApplyEntryDefaults resets.
InputBar* g_bar = nullptr;

constexpr int kEditControls[] = {ctl::kMain1, ctl::kAddOn, ctl::kMain2,     ctl::kMain4,    ctl::kFact,
                                 ctl::kMain5, ctl::kMain6, ctl::kCouponUpc, ctl::kCoupon128};

// Every control a layout may show or hide.
constexpr int kLayoutControls[] = {
    ctl::kMain1, ctl::kCheck1, ctl::kAddOn, ctl::kMain2, ctl::kCheck4, ctl::kMain4,     ctl::kFact,   1014,
    1015,        1016,         1017,        ctl::kMain5, ctl::kMain6,  ctl::kCouponUpc, ctl::kCheck7, ctl::kCoupon128};

struct LayoutInfo {
    const char* name;
    int controls[4];  // 0 ends the list
    bool Shows(int id) const { return std::find(std::begin(controls), std::end(controls), id) != std::end(controls); }
};

const LayoutInfo& LayoutOf(int layout) {
    static const LayoutInfo kLayouts[] = {
        {"Symbology", {ctl::kMain2}},
        {"Schema #1", {ctl::kMain1, ctl::kCheck1, ctl::kAddOn}},
        {"Schema #2", {ctl::kMain2}},
        {"Schema #3", {1014, 1015, 1016, 1017}},
        {"Schema #4", {ctl::kMain4, ctl::kCheck4}},
        {"Schema #5", {ctl::kFact, ctl::kMain5}},
        {"Schema #6", {ctl::kFact, ctl::kMain6, ctl::kCheck4}},
        {"Schema #7", {ctl::kCouponUpc, ctl::kCheck7, ctl::kCoupon128}},
    };
    return kLayouts[layout >= 0 && layout <= 7 ? layout : 0];
}

bool IsEditControl(int id) {
    return std::find(std::begin(kEditControls), std::end(kEditControls), id) != std::end(kEditControls);
}

std::size_t RoleIndex(FieldRole role) { return static_cast<std::size_t>(role); }

constexpr FieldRole kRoles[] = {FieldRole::Main, FieldRole::AddOn, FieldRole::Fact, FieldRole::CouponUpc,
                                FieldRole::Coupon128};

}  // namespace

InputBar::InputBar(InputBarView& view, Clock& clock) : view_(view), clock_(clock) {
    TakeDefaultsReset();
    periodStart_ = clock_.TickCount();
    TakeReminderCopies();
}

void InputBar::TakeDefaultsReset() { g_bar = this; }

InputBar::~InputBar() {
    if (g_bar == this) g_bar = nullptr;
}

void InputBar::ResetToDefaults() {
    PipelineState& st = state_;
    st.ActiveField = FieldRole::Main;
    st.MainIncomplete = 0;
    st.AddOnIncomplete = 0;
    st.CouponUPCIncomplete = 0;
    st.Coupon128Incomplete = 0;
    st.DateInvalid = 0;
    st.InputTooLong = 0;
    st.UPCEInvalid = 0;
    st.CheckShown = 0;
    checkText_.clear();
    ResetSourceBox();
}

void ApplyEntryDefaults() {
    ApplySymbolDefaults();
    if (g_bar) g_bar->ResetToDefaults();
}

FieldRole InputBar::RoleOf(int id) {
    switch (id) {
    case ctl::kAddOn: return FieldRole::AddOn;
    case ctl::kFact: return FieldRole::Fact;
    case ctl::kCouponUpc: return FieldRole::CouponUpc;
    case ctl::kCoupon128: return FieldRole::Coupon128;
    default: return FieldRole::Main;
    }
}

int InputBar::ControlFor(FieldRole role) const {
    switch (role) {
    case FieldRole::Main:
        switch (layout_) {
        case 1: return ctl::kMain1;
        case 2: return ctl::kMain2;
        case 4: return ctl::kMain4;
        case 5: return ctl::kMain5;
        case 6: return ctl::kMain6;
        default: return 0;
        }
    case FieldRole::AddOn: return layout_ == 1 ? ctl::kAddOn : 0;
    case FieldRole::Fact: return layout_ == 5 || layout_ == 6 ? ctl::kFact : 0;
    case FieldRole::CouponUpc: return layout_ == 7 ? ctl::kCouponUpc : 0;
    case FieldRole::Coupon128: return layout_ == 7 ? ctl::kCoupon128 : 0;
    }
    return 0;
}

int InputBar::CheckDisplay() const {
    switch (layout_) {
    case 1: return ctl::kCheck1;
    case 4:
    case 6: return ctl::kCheck4;
    case 7: return ctl::kCheck7;
    default: return 0;
    }
}

std::string InputBar::StoredText(FieldRole role) {
    const SettingsRecord& s = SymbolSettings;
    switch (role) {
    case FieldRole::Main: return std::string(TextOf(s.OriginalMainText));
    case FieldRole::AddOn: return std::string(TextOf(s.AddOnText));
    case FieldRole::Fact: return std::string(TextOf(s.FACTdataIDtext));
    case FieldRole::CouponUpc: return std::string(TextOf(s.CouponFormatUPCpartText));
    case FieldRole::Coupon128: return std::string(TextOf(s.CouponFormat128partText));
    }
    return {};
}

bool InputBar::AnyIncomplete() const {
    return state_.MainIncomplete || state_.AddOnIncomplete || state_.DateInvalid || state_.CouponUPCIncomplete ||
           state_.Coupon128Incomplete;
}

std::string InputBar::ReminderCaption() const { return LoadString(sid::kCaptionEditControl); }

std::string InputBar::ReminderText() const { return LoadString(ReminderStringId(state_, SymbolSettings.Variation)); }

void InputBar::WriteField(int id, std::string_view text) {
    if (!id) return;
    const int previous = state_.SettingText;
    state_.SettingText = 1;
    view_.SetText(id, text);
    state_.SettingText = previous;
}

void InputBar::UpdateIndicators() {
    const int hue = SymbolSettings.Hueproof;
    view_.Show(ctl::kHueNone, hue == 1);
    view_.Show(ctl::kHueLow, hue == 2);
    view_.Show(ctl::kHueEnough, hue == 3);
    const int mark = SymbolSettings.Prufmark;
    view_.Show(ctl::kVerifyOff, mark == 0);
    view_.Show(ctl::kVerifyOn, mark >= 1 && mark <= 3);
}

FillOutcome InputBar::Outcome() const {
    switch (lastResult_) {
    case FormatResult::Rejected:
    case FormatResult::Reported:
    case FormatResult::TooLong: return FillOutcome::Refused;
    case FormatResult::Incomplete:
    case FormatResult::InvalidDate: return FillOutcome::Incomplete;
    case FormatResult::Complete: break;
    }
    return AnyIncomplete() ? FillOutcome::Incomplete : FillOutcome::Complete;
}

void InputBar::ShowFieldHelp() {
    for (FieldRole role : kRoles) {
        if (const int id = ControlFor(role)) {
            const FieldHelp help = HelpFor(SymbolSettings.Variation, role, EnglishTexts());
            view_.SetFieldHelp(id, help.name, help.tip);
        }
    }
}

void InputBar::FieldChanged(int controlId) {
    if (!state_.SettingText) reminded_ = false;
    Change(controlId, true);
}

void InputBar::Keystroke() {
    reminded_ = false;
    periodStart_ = clock_.TickCount();
}

FillOutcome InputBar::Fill(FieldRole role, std::string_view text) {
    const int id = ControlFor(role);
    if (!id) return FillOutcome::Refused;
    WriteField(id, text);
    return Change(id, false);
}

FillOutcome InputBar::Change(int c, bool user) {
    const FieldRole role = RoleOf(c);
    if (state_.SettingText) {
        state_.LastGoodText = StoredText(role);
        return Outcome();
    }
    // Only the fields of the current layout take input.
    if (!IsEditControl(c) || ControlFor(role) != c) return FillOutcome::Refused;

    if (user) ProgrammaticInput = 0;
    state_.InputChanged = 1;
    state_.ActiveField = role;
    if (c != state_.LastEditControl) {
        state_.LastEditControl = c;
        state_.LastGoodText = StoredText(role);
    }
    state_.InputTooLong = 0;
    checkDigitTyped_ = false;

    // A refused change leaves the record, the symbol and the bar as they were.
    const SettingsRecord savedRecord = SymbolSettings;
    const std::string savedPattern = BarPattern;
    const std::string savedEncoded = EncodedText;
    const PipelineState savedState = state_;
    const std::string savedCheck = checkText_;

    if (RunPipeline(view_.Text(c))) {
        state_.LastGoodText = StoredText(role);
    } else {
        const std::string restore = checkDigitTyped_ ? shortenedTyped_ : state_.LastGoodText;
        SymbolSettings = savedRecord;
        BarPattern = savedPattern;
        EncodedText = savedEncoded;
        state_ = savedState;
        state_.InputTooLong = 1;
        checkText_ = savedCheck;
        if (int id = CheckDisplay()) view_.SetText(id, checkText_);
        WriteField(c, restore);
        if (restore != state_.LastGoodText) {
            // A pasted number with its check digit: keep the number.
            restoring_ = true;
            state_.ActiveField = role;
            RunPipeline(restore);
            restoring_ = false;
        }
        state_.LastGoodText = StoredText(role);
        if (!checkDigitTyped_) lastResult_ = FormatResult::TooLong;
    }

    if (user && sourceShowsFile_) ResetSourceBox();
    return Outcome();
}

void InputBar::SetUpLayout(bool reopening) {
    SettingsRecord& s = SymbolSettings;
    layout_ = ChooseInputLayout(s.Family, s.Variation);
    SelectMainFormat(s.Variation);

    const LayoutInfo& info = LayoutOf(layout_);
    for (int id : kLayoutControls) view_.Show(id, info.Shows(id));
    view_.SetReadOnly(ctl::kMain2, layout_ == kLayoutNone);
    // The box names the variation; the layout's name only when there is none.
    const bool named = s.Family != 0 && s.Variation != 0 && !s.VariationName.empty();
    view_.SetPresetText(named ? std::string_view(s.VariationName) : std::string_view(info.name));
    ShowFieldHelp();

    if (ProgrammaticInput) {
        s.CheckCharacter1 = 0;
        s.CheckCharacter2 = 0;
        if (!reopening) s.AdditionalText.clear();
    } else {
        ApplyEntryDefaults();
    }
    state_.InputChanged = 1;
    state_.LastEditControl = 0;
    checkText_.clear();

    switch (layout_) {
    case 1:
        WriteField(ctl::kMain1, TextOf(s.OriginalMainText));
        WriteField(ctl::kAddOn, TextOf(s.AddOnText));
        break;
    case 2:
    case 4: WriteField(ControlFor(FieldRole::Main), TextOf(s.OriginalMainText)); break;
    case 5:
    case 6:
        WriteField(ctl::kFact, TextOf(s.FACTdataIDtext));
        WriteField(ControlFor(FieldRole::Main), TextOf(s.OriginalMainText));
        break;
    case 7:
        WriteField(ctl::kCoupon128, TextOf(s.CouponFormat128partText));
        WriteField(ctl::kCouponUpc, TextOf(s.CouponFormatUPCpartText));
        break;
    case kLayoutNone: WriteField(ctl::kMain2, ""); break;
    default: break;
    }

    // Stored texts that do not fit their format are left out of the symbol.
    auto run = [this](FieldRole role, std::string text) {
        state_.ActiveField = role;
        const SettingsRecord saved = SymbolSettings;
        if (!RunPipeline(text)) {
            SymbolSettings = saved;
            ClearCheck();
            ClearSymbol();
        }
    };
    if (layout_ == 1 || layout_ == 2 || layout_ >= 4) {
        if (layout_ == 7) {
            run(FieldRole::CouponUpc, std::string(TextOf(s.CouponFormatUPCpartText)));
            run(FieldRole::Coupon128, std::string(TextOf(s.CouponFormat128partText)));
            const bool upcEmpty = TextLength(s.CouponFormatUPCpartText) == 0;
            const bool part128Empty = TextLength(s.CouponFormat128partText) == 0;
            if (upcEmpty != part128Empty) {
                if (upcEmpty)
                    state_.CouponUPCIncomplete = 1;
                else
                    state_.Coupon128Incomplete = 1;
            }
        } else {
            run(FieldRole::Main, std::string(TextOf(s.OriginalMainText)));
            if (layout_ == 1 && TextLength(s.MainText)) run(FieldRole::AddOn, std::string(TextOf(s.AddOnText)));
        }
    }

    if (int id = CheckDisplay()) view_.SetText(id, checkText_);
    int first = 0;
    switch (layout_) {
    case 1: first = ctl::kMain1; break;
    case 2: first = ctl::kMain2; break;
    case 3: first = ctl::kFimA; break;
    case 4: first = ctl::kMain4; break;
    case 5:
    case 6: first = ctl::kFact; break;
    case 7: first = ctl::kCouponUpc; break;
    default: break;
    }
    if (first) {
        view_.SetFocus(first);
        if (IsEditControl(first)) {
            if (ProgrammaticInput)
                view_.SelectAll(first);
            else
                view_.CaretToEnd(first);
        }
    }
    state_.ActiveField = IsEditControl(first) ? RoleOf(first) : FieldRole::Main;

    if (layout_ == 3) {
        if (ProgrammaticInput) {
            SetText(s.MainText, "");
            SetText(s.OriginalMainText, "");
            s.CheckCharacter1 = 0;
            s.CheckCharacter2 = 0;
        }
        ShowIfEncodes();
    }
    if (layout_ == kLayoutNone) {
        s.Hueproof = 1;
        ClearSymbol();
    }

    UpdateIndicators();
    for (int id : kEditControls) view_.ClearUndo(id);
}

void InputBar::FimButton(int controlId) {
    if (state_.SettingText) return;
    if (controlId < ctl::kFimA || controlId > ctl::kFimD) return;
    static const char* const kNames[] = {"FIM Pattern A", "FIM Pattern B", "FIM Pattern C", "FIM Pattern D"};
    const int index = controlId - ctl::kFimA;
    SymbolSettings.Variation = 30 + index;
    view_.SetPresetText(kNames[index]);
    lastFimButton_ = controlId;
    KitletFull = 0;
    SymbolSettings.Derived = 0;
    if (!ProgrammaticInput) {
        ApplyEntryDefaults();
        state_.InputChanged = 1;
    }
    ShowIfEncodes();
}

void InputBar::TakeReminderCopies() {
    for (FieldRole role : kRoles) copies_[RoleIndex(role)] = StoredText(role);
    // The main copy follows MainText.
    copies_[RoleIndex(FieldRole::Main)] = std::string(TextOf(SymbolSettings.MainText));
}

void InputBar::RememberFocus() {
    rememberedFocus_ = layout_ == 3 && lastFimButton_ ? lastFimButton_ : view_.FocusedControl();
}

void InputBar::RequestRefocus() { refocusRequested_ = true; }

void InputBar::SourceFileOpened(std::string_view name) {
    view_.SetSourceFileItem(name);
    sourceShowsFile_ = true;
}

void InputBar::ResetSourceBox() {
    if (!sourceShowsFile_) return;
    view_.RemoveSourceFileItem();
    sourceShowsFile_ = false;
}

void InputBar::Tick() {
    if (view_.Minimised() || messageOpen_ || view_.BatchBusy()) return;
    if (view_.PopupOpen()) {
        periodStart_ = clock_.TickCount();
        return;
    }
    if (refocusRequested_ && view_.BarEnabledAndVisible()) {
        refocusRequested_ = false;
        if (rememberedFocus_) view_.SetFocus(rememberedFocus_);
        return;
    }

    const SettingsRecord& s = SymbolSettings;
    const bool anyText =
        TextLength(s.MainText) || TextLength(s.CouponFormatUPCpartText) || TextLength(s.CouponFormat128partText);
    const int focus = view_.FocusedControl();
    const bool selecting = IsEditControl(focus) && view_.HasSelection(focus);
    if (!anyText || selecting || reminded_ || !AnyIncomplete()) return;

    const uint32_t now = clock_.TickCount();
    if (state_.InputChanged) {
        state_.InputChanged = 0;
        periodStart_ = now;
    }
    if (now - periodStart_ < 10000) return;

    const FieldRole role = state_.ActiveField;
    std::string current = role == FieldRole::Main ? std::string(TextOf(s.MainText)) : StoredText(role);
    std::string& copy = copies_[RoleIndex(role)];
    if (current != copy) {
        copy = std::move(current);
        return;
    }
    periodStart_ = now;
    const int focused = view_.FocusedControl();
    ++messageOpen_;
    reminded_ = true;
    ShowMessage(ReminderCaption(), ReminderText(), MsgIcon::Stop);
    --messageOpen_;
    periodStart_ = clock_.TickCount();
    if (focused) view_.SetFocus(focused);
}

}  // namespace vg
