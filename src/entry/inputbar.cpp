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
InputBar* currentBar = nullptr;

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

InputBar::InputBar(InputBarView& view, Clock& clock) : m_view(view), m_clock(clock) {
    TakeDefaultsReset();
    m_periodStart = m_clock.TickCount();
    TakeReminderCopies();
}

void InputBar::TakeDefaultsReset() { currentBar = this; }

InputBar::~InputBar() {
    if (currentBar == this) currentBar = nullptr;
}

void InputBar::ResetToDefaults() {
    PipelineState& st = m_state;
    st.ActiveField = FieldRole::Main;
    st.MainIncomplete = 0;
    st.AddOnIncomplete = 0;
    st.CouponUPCIncomplete = 0;
    st.Coupon128Incomplete = 0;
    st.DateInvalid = 0;
    st.InputTooLong = 0;
    st.UPCEInvalid = 0;
    st.CheckShown = 0;
    m_checkText.clear();
    ResetSourceBox();
}

void ApplyEntryDefaults() {
    ApplySymbolDefaults();
    if (currentBar) currentBar->ResetToDefaults();
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
        switch (m_layout) {
        case 1: return ctl::kMain1;
        case 2: return ctl::kMain2;
        case 4: return ctl::kMain4;
        case 5: return ctl::kMain5;
        case 6: return ctl::kMain6;
        default: return 0;
        }
    case FieldRole::AddOn: return m_layout == 1 ? ctl::kAddOn : 0;
    case FieldRole::Fact: return m_layout == 5 || m_layout == 6 ? ctl::kFact : 0;
    case FieldRole::CouponUpc: return m_layout == 7 ? ctl::kCouponUpc : 0;
    case FieldRole::Coupon128: return m_layout == 7 ? ctl::kCoupon128 : 0;
    }
    return 0;
}

int InputBar::CheckDisplay() const {
    switch (m_layout) {
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
    return m_state.MainIncomplete || m_state.AddOnIncomplete || m_state.DateInvalid || m_state.CouponUPCIncomplete ||
           m_state.Coupon128Incomplete;
}

std::string InputBar::ReminderCaption() const { return LoadString(sid::kCaptionEditControl); }

std::string InputBar::ReminderText() const { return LoadString(ReminderStringId(m_state, SymbolSettings.Variation)); }

void InputBar::WriteField(int id, std::string_view text) {
    if (!id) return;
    const int previous = m_state.SettingText;
    m_state.SettingText = 1;
    m_view.SetText(id, text);
    m_state.SettingText = previous;
}

void InputBar::UpdateIndicators() {
    const int hue = SymbolSettings.Hueproof;
    m_view.Show(ctl::kHueNone, hue == 1);
    m_view.Show(ctl::kHueLow, hue == 2);
    m_view.Show(ctl::kHueEnough, hue == 3);
    const int mark = SymbolSettings.Prufmark;
    m_view.Show(ctl::kVerifyOff, mark == 0);
    m_view.Show(ctl::kVerifyOn, mark >= 1 && mark <= 3);
}

FillOutcome InputBar::Outcome() const {
    switch (m_lastResult) {
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
            m_view.SetFieldHelp(id, help.name, help.tip);
        }
    }
}

void InputBar::FieldChanged(int controlId) {
    if (!m_state.SettingText) m_reminded = false;
    Change(controlId, true);
}

void InputBar::Keystroke() {
    m_reminded = false;
    m_periodStart = m_clock.TickCount();
}

FillOutcome InputBar::Fill(FieldRole role, std::string_view text) {
    const int id = ControlFor(role);
    if (!id) return FillOutcome::Refused;
    WriteField(id, text);
    return Change(id, false);
}

FillOutcome InputBar::Change(int c, bool user) {
    const FieldRole role = RoleOf(c);
    if (m_state.SettingText) {
        m_state.LastGoodText = StoredText(role);
        return Outcome();
    }
    // Only the fields of the current layout take input.
    if (!IsEditControl(c) || ControlFor(role) != c) return FillOutcome::Refused;

    if (user) ProgrammaticInput = 0;
    m_state.InputChanged = 1;
    m_state.ActiveField = role;
    if (c != m_state.LastEditControl) {
        m_state.LastEditControl = c;
        m_state.LastGoodText = StoredText(role);
    }
    m_state.InputTooLong = 0;
    m_checkDigitTyped = false;

    // A refused change leaves the record, the symbol and the bar as they were.
    const SettingsRecord savedRecord = SymbolSettings;
    const std::string savedPattern = BarPattern;
    const std::string savedEncoded = EncodedText;
    const PipelineState savedState = m_state;
    const std::string savedCheck = m_checkText;

    if (RunPipeline(m_view.Text(c))) {
        m_state.LastGoodText = StoredText(role);
    } else {
        const std::string restore = m_checkDigitTyped ? m_shortenedTyped : m_state.LastGoodText;
        SymbolSettings = savedRecord;
        BarPattern = savedPattern;
        EncodedText = savedEncoded;
        m_state = savedState;
        m_state.InputTooLong = 1;
        m_checkText = savedCheck;
        if (int id = CheckDisplay()) m_view.SetText(id, m_checkText);
        WriteField(c, restore);
        if (restore != m_state.LastGoodText) {
            // A pasted number with its check digit: keep the number.
            m_restoring = true;
            m_state.ActiveField = role;
            RunPipeline(restore);
            m_restoring = false;
        }
        m_state.LastGoodText = StoredText(role);
        if (!m_checkDigitTyped) m_lastResult = FormatResult::TooLong;
    }

    if (user && m_sourceShowsFile) ResetSourceBox();
    return Outcome();
}

void InputBar::SetUpLayout(bool reopening) {
    SettingsRecord& s = SymbolSettings;
    m_layout = ChooseInputLayout(s.Family, s.Variation);
    SelectMainFormat(s.Variation);

    const LayoutInfo& info = LayoutOf(m_layout);
    for (int id : kLayoutControls) m_view.Show(id, info.Shows(id));
    m_view.SetReadOnly(ctl::kMain2, m_layout == kLayoutNone);
    // The box names the variation; the layout's name only when there is none.
    const bool named = s.Family != 0 && s.Variation != 0 && !s.VariationName.empty();
    m_view.SetPresetText(named ? std::string_view(s.VariationName) : std::string_view(info.name));
    ShowFieldHelp();

    if (ProgrammaticInput) {
        s.CheckCharacter1 = 0;
        s.CheckCharacter2 = 0;
        if (!reopening) s.AdditionalText.clear();
    } else {
        ApplyEntryDefaults();
    }
    m_state.InputChanged = 1;
    m_state.LastEditControl = 0;
    m_checkText.clear();

    switch (m_layout) {
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
        m_state.ActiveField = role;
        const SettingsRecord saved = SymbolSettings;
        if (!RunPipeline(text)) {
            SymbolSettings = saved;
            ClearCheck();
            ClearSymbol();
        }
    };
    if (m_layout == 1 || m_layout == 2 || m_layout >= 4) {
        if (m_layout == 7) {
            run(FieldRole::CouponUpc, std::string(TextOf(s.CouponFormatUPCpartText)));
            run(FieldRole::Coupon128, std::string(TextOf(s.CouponFormat128partText)));
            const bool upcEmpty = TextLength(s.CouponFormatUPCpartText) == 0;
            const bool part128Empty = TextLength(s.CouponFormat128partText) == 0;
            if (upcEmpty != part128Empty) {
                if (upcEmpty)
                    m_state.CouponUPCIncomplete = 1;
                else
                    m_state.Coupon128Incomplete = 1;
            }
        } else {
            run(FieldRole::Main, std::string(TextOf(s.OriginalMainText)));
            if (m_layout == 1 && TextLength(s.MainText)) run(FieldRole::AddOn, std::string(TextOf(s.AddOnText)));
        }
    }

    if (int id = CheckDisplay()) m_view.SetText(id, m_checkText);
    int first = 0;
    switch (m_layout) {
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
        m_view.SetFocus(first);
        if (IsEditControl(first)) {
            if (ProgrammaticInput)
                m_view.SelectAll(first);
            else
                m_view.CaretToEnd(first);
        }
    }
    m_state.ActiveField = IsEditControl(first) ? RoleOf(first) : FieldRole::Main;

    if (m_layout == 3) {
        if (ProgrammaticInput) {
            SetText(s.MainText, "");
            SetText(s.OriginalMainText, "");
            s.CheckCharacter1 = 0;
            s.CheckCharacter2 = 0;
        }
        ShowIfEncodes();
    }
    if (m_layout == kLayoutNone) {
        s.Hueproof = 1;
        ClearSymbol();
    }

    UpdateIndicators();
    for (int id : kEditControls) m_view.ClearUndo(id);
}

void InputBar::FimButton(int controlId) {
    if (m_state.SettingText) return;
    if (controlId < ctl::kFimA || controlId > ctl::kFimD) return;
    static const char* const kNames[] = {"FIM Pattern A", "FIM Pattern B", "FIM Pattern C", "FIM Pattern D"};
    const int index = controlId - ctl::kFimA;
    SymbolSettings.Variation = 30 + index;
    m_view.SetPresetText(kNames[index]);
    m_lastFimButton = controlId;
    KitletFull = 0;
    SymbolSettings.Derived = 0;
    if (!ProgrammaticInput) {
        ApplyEntryDefaults();
        m_state.InputChanged = 1;
    }
    ShowIfEncodes();
}

void InputBar::TakeReminderCopies() {
    for (FieldRole role : kRoles) m_copies[RoleIndex(role)] = StoredText(role);
    // The main copy follows MainText.
    m_copies[RoleIndex(FieldRole::Main)] = std::string(TextOf(SymbolSettings.MainText));
}

void InputBar::RememberFocus() {
    m_rememberedFocus = m_layout == 3 && m_lastFimButton ? m_lastFimButton : m_view.FocusedControl();
}

void InputBar::RequestRefocus() { m_refocusRequested = true; }

void InputBar::SourceFileOpened(std::string_view name) {
    m_view.SetSourceFileItem(name);
    m_sourceShowsFile = true;
}

void InputBar::ResetSourceBox() {
    if (!m_sourceShowsFile) return;
    m_view.RemoveSourceFileItem();
    m_sourceShowsFile = false;
}

void InputBar::Tick() {
    if (m_view.Minimised() || m_messageOpen || m_view.BatchBusy()) return;
    if (m_view.PopupOpen()) {
        m_periodStart = m_clock.TickCount();
        return;
    }
    if (m_refocusRequested && m_view.BarEnabledAndVisible()) {
        m_refocusRequested = false;
        if (m_rememberedFocus) m_view.SetFocus(m_rememberedFocus);
        return;
    }

    const SettingsRecord& s = SymbolSettings;
    const bool anyText =
        TextLength(s.MainText) || TextLength(s.CouponFormatUPCpartText) || TextLength(s.CouponFormat128partText);
    const int focus = m_view.FocusedControl();
    const bool selecting = IsEditControl(focus) && m_view.HasSelection(focus);
    if (!anyText || selecting || m_reminded || !AnyIncomplete()) return;

    const uint32_t now = m_clock.TickCount();
    if (m_state.InputChanged) {
        m_state.InputChanged = 0;
        m_periodStart = now;
    }
    if (now - m_periodStart < 10000) return;

    const FieldRole role = m_state.ActiveField;
    std::string current = role == FieldRole::Main ? std::string(TextOf(s.MainText)) : StoredText(role);
    std::string& copy = m_copies[RoleIndex(role)];
    if (current != copy) {
        copy = std::move(current);
        return;
    }
    m_periodStart = now;
    const int focused = m_view.FocusedControl();
    ++m_messageOpen;
    m_reminded = true;
    ShowMessage(ReminderCaption(), ReminderText(), MsgIcon::Stop);
    --m_messageOpen;
    m_periodStart = m_clock.TickCount();
    if (focused) m_view.SetFocus(focused);
}

}  // namespace vg
