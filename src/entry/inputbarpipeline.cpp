// The input bar's pipeline steps: validation, the check characters, storing
// the texts and showing the symbol.
#include <algorithm>

#include "entry/inputbar.h"
#include "entry/pipeline.h"
#include "geometry/dimensionmodel.h"
#include "model/catalogue.h"
#include "model/messages.h"
#include "model/stringids.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/encode.h"
#include "symbology/symbol.h"

namespace vg {

namespace {

char NumberSystem(int v) { return IsUpcENumberSystem1Class(v) ? '1' : '0'; }

std::string Shorter(std::string_view text) { return std::string(text.substr(0, text.empty() ? 0 : text.size() - 1)); }

// Forwards boxes to the installed sink (or swallows them) and counts them.
class CountingSink : public MessageSink {
public:
    explicit CountingSink(bool quiet) : m_quiet(quiet), m_previous(CurrentMessageSink()) { SetMessageSink(this); }
    ~CountingSink() override { SetMessageSink(m_previous); }
    CountingSink(const CountingSink&) = delete;
    CountingSink& operator=(const CountingSink&) = delete;
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) override {
        ++shown;
        return m_quiet ? MsgResult::Ok : m_previous->Show(caption, text, icon, buttons);
    }
    int shown = 0;

private:
    bool m_quiet;
    MessageSink* m_previous;
};

}  // namespace

void InputBar::PipelineMessage(int stringId) {
    const int focus = m_view.FocusedControl();
    ++m_messageOpen;
    ShowMessage(LoadString(sid::kCaptionEditControl), LoadString(stringId), MsgIcon::Stop);
    --m_messageOpen;
    if (focus) m_view.SetFocus(focus);
}

FormatResult InputBar::Validate(FieldRole role, std::string_view text, bool quiet) {
    const int focus = m_view.FocusedControl();
    ++m_messageOpen;
    FormatResult r;
    int shown;
    {
        CountingSink sink(quiet);
        r = ValidateInput(SymbolSettings.Variation, role, text);
        shown = sink.shown;
    }
    --m_messageOpen;
    if (shown && focus) m_view.SetFocus(focus);
    return r;
}

void InputBar::Store(FieldRole role, std::string_view typed, std::string_view data) {
    SettingsRecord& s = SymbolSettings;
    switch (role) {
    case FieldRole::Main:
        SetText(s.MainText, data);
        SetText(s.OriginalMainText, data.empty() ? std::string_view() : typed);
        if (IsUpcEElevenDigitClass(s.Variation)) {
            s.IgnoreHyphens = 0;
            s.IgnoreSpaces = 0;
        }
        break;
    case FieldRole::AddOn: SetText(s.AddOnText, data); break;
    case FieldRole::Fact: SetText(s.FACTdataIDtext, data); break;
    case FieldRole::CouponUpc: SetText(s.CouponFormatUPCpartText, data); break;
    case FieldRole::Coupon128: SetText(s.CouponFormat128partText, data); break;
    }
}

std::string InputBar::MainData() const {
    std::string data(TextOf(SymbolSettings.MainText));
    const int v = SymbolSettings.Variation;
    if (IsUpcESixDigitClass(v) && !data.empty()) data.insert(data.begin(), NumberSystem(v));
    return data;
}

void InputBar::RecomputeCheck(int hasInput) {
    m_checkText = ComputeCheckCharacters(MainData(), hasInput);
    m_state.CheckShown = !m_checkText.empty();
    if (int id = CheckDisplay()) m_view.SetText(id, m_checkText);
}

void InputBar::ClearCheck() {
    m_checkText.clear();
    m_state.CheckShown = 0;
    if (int id = CheckDisplay()) m_view.SetText(id, "");
}

void InputBar::ShowSymbol() {
    m_state.SymbolReady = !BarPattern.empty() || IsBooklandTextClass(SymbolSettings.Variation) ? 1 : 0;
    if (!m_creating) m_view.RedrawSymbol();
}

void InputBar::ClearSymbol() {
    m_state.SymbolReady = 0;
    if (!m_creating) m_view.RedrawSymbol();
}

void InputBar::ShowIfEncodes() {
    if (EncodeCurrentVariation())
        ShowSymbol();
    else
        ClearSymbol();
}

bool InputBar::RunPipeline(std::string_view raw) {
    SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    const FieldRole role = m_state.ActiveField;
    std::string text(raw.substr(0, std::min(raw.size(), kMaxWorkingText)));

    if (text.empty()) {
        // Only the main data is required; the other fields may stay empty.
        m_lastResult = role == FieldRole::Main ? FormatResult::Incomplete : FormatResult::Complete;
        EmptyField(role);
        return true;
    }

    std::string typed = text;
    std::string data = text;
    if (role == FieldRole::Main) {
        const int control = ControlFor(FieldRole::Main);
        if (text.size() > kMaxMainInput) {
            PipelineMessage(sid::kInputTooLong);
            text.resize(kMaxMainInput);
            WriteField(control, text);
        }
        const bool eleven = IsUpcEElevenDigitClass(v);
        NormalisedText n =
            NormaliseMainText(text, v, eleven ? 0 : s.IgnoreHyphens, eleven ? 0 : s.IgnoreSpaces, m_messageOpen == 0);
        if (n.typed != text) WriteField(control, n.typed);
        typed = std::move(n.typed);
        data = std::move(n.validated);
        // The six UPC-E digits are validated without their number system.
        if (IsUpcESixDigitClass(v) && data.size() == 7 && data.front() == NumberSystem(v)) data.erase(0, 1);
        if (data.empty()) {
            m_lastResult = FormatResult::Incomplete;
            EmptyField(role);
            return true;
        }
    }

    const FormatResult r = Validate(role, data);
    m_lastResult = r;
    switch (r) {
    case FormatResult::Rejected:
        ClearCheck();
        ClearSymbol();
        return true;
    case FormatResult::Incomplete:
        Store(role, typed, data);
        switch (role) {
        case FieldRole::CouponUpc: m_state.CouponUPCIncomplete = 1; break;
        case FieldRole::Coupon128: m_state.Coupon128Incomplete = 1; break;
        case FieldRole::AddOn:
            if (TextLength(s.AddOnText)) m_state.AddOnIncomplete = 1;
            break;
        case FieldRole::Main:
        case FieldRole::Fact:
            m_state.MainIncomplete = 1;
            m_state.DateInvalid = 0;
            break;
        }
        ClearCheck();
        ClearSymbol();
        return true;
    case FormatResult::Complete: CompleteInput(role, typed, data); return true;
    case FormatResult::InvalidDate:
        m_state.DateInvalid = 1;
        if (!ProgrammaticInput && !m_restoring) PipelineMessage(sid::kInvalidDate);
        Store(role, typed, data);
        if (role != FieldRole::AddOn) ClearCheck();
        ClearSymbol();
        return true;
    case FormatResult::Reported:
        if (role == FieldRole::Main && (IsUpcESixDigitClass(v) || IsUpcEElevenDigitClass(v))) m_state.UPCEInvalid = 1;
        if (int id = ControlFor(role)) {
            m_view.SetFocus(id);
            m_view.SelectAll(id);
        }
        if (role != FieldRole::AddOn) ClearCheck();
        ClearSymbol();
        return true;
    case FormatResult::TooLong: return TooLong(role, typed, data);
    }
    return true;
}

void InputBar::EmptyField(FieldRole role) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    Store(role, "", "");
    const bool mainPresent = !m_state.MainIncomplete && TextLength(s.MainText) != 0;
    switch (role) {
    case FieldRole::CouponUpc:
        if (TextLength(s.CouponFormat128partText)) m_state.CouponUPCIncomplete = 1;
        ClearCheck();
        break;
    case FieldRole::Coupon128:
        if (TextLength(s.CouponFormatUPCpartText)) m_state.Coupon128Incomplete = 1;
        ClearCheck();
        break;
    case FieldRole::AddOn:
        m_state.AddOnIncomplete = 0;
        RecomputeCheck(mainPresent);
        if (!IsItf14PairClass(v)) {
            if (mainPresent && EncodeCurrentVariation())
                ShowSymbol();
            else
                ClearSymbol();
        }
        break;
    case FieldRole::Main:
        // Only ITF-14 shows a check here: its add-on's.
        if (IsItf14PairClass(v))
            RecomputeCheck(1);
        else
            ClearCheck();
        break;
    case FieldRole::Fact: RecomputeCheck(mainPresent); break;
    }

    if (IsItf14PairClass(v)) {
        if (!(m_state.AddOnIncomplete && m_state.MainIncomplete)) ShowIfEncodes();
    } else if (role == FieldRole::Main || role == FieldRole::CouponUpc || role == FieldRole::Coupon128) {
        ClearSymbol();
    }
    if (role == FieldRole::Fact && !m_state.MainIncomplete && EncodeCurrentVariation()) ShowSymbol();
}

void InputBar::CompleteInput(FieldRole role, const std::string& typedIn, const std::string& data) {
    SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    std::string typed = typedIn;

    // UPC-E typed with its number system: the field keeps the six digits.
    if (role == FieldRole::Main && IsUpcESixDigitClass(v) && typed != data) {
        typed = data;
        WriteField(ControlFor(FieldRole::Main), data);
    }
    Store(role, typed, data);

    bool parityIncomplete = false;
    if (role == FieldRole::Main) {
        const bool even = data.size() % 2 == 0;
        if (OneOf(v, {40, 99, 100}) && even) {
            m_state.MainIncomplete = 1;
            ClearCheck();
            ClearSymbol();
            parityIncomplete = true;
        } else if (IsItfEvenDigitClass(v) && !even) {
            m_state.MainIncomplete = 1;
            ClearSymbol();
            parityIncomplete = true;
        }
    }
    if (!parityIncomplete) {
        switch (role) {
        case FieldRole::CouponUpc:
            m_state.CouponUPCIncomplete = 0;
            if (!TextLength(s.CouponFormat128partText)) m_state.Coupon128Incomplete = 1;
            break;
        case FieldRole::Coupon128:
            m_state.Coupon128Incomplete = 0;
            if (!TextLength(s.CouponFormatUPCpartText)) m_state.CouponUPCIncomplete = 1;
            break;
        case FieldRole::AddOn: m_state.AddOnIncomplete = 0; break;
        case FieldRole::Main:
            m_state.MainIncomplete = 0;
            m_state.DateInvalid = 0;
            if (IsUpcESixDigitClass(v) || IsUpcEElevenDigitClass(v)) m_state.UPCEInvalid = 0;
            break;
        case FieldRole::Fact: m_state.MainIncomplete = TextLength(s.MainText) == 0; break;
        }
    }

    if (role == FieldRole::AddOn) {
        // The main field may hold text the record does not (a refused entry):
        // only its emptiness counts here.
        std::string field = m_view.Text(ControlFor(FieldRole::Main));
        field.resize(std::min(field.size(), kMaxMainInput));
        NormalisedText n = NormaliseMainText(field, v, s.IgnoreHyphens, s.IgnoreSpaces, true);
        if (n.validated.empty() && !IsItf14PairClass(v)) m_state.MainIncomplete = 1;
    }

    if (IsUpcEElevenDigitClass(v) && role != FieldRole::Main && TextLength(s.MainText)) {
        FormatResult u = Validate(FieldRole::Main, TextOf(s.MainText), true);
        m_state.UPCEInvalid = u == FormatResult::Reported || u == FormatResult::Rejected;
    }

    if (!m_state.MainIncomplete) RecomputeCheck(1);

    // Auto-advance to the next field.
    if (!m_restoring && role != FieldRole::Coupon128) {
        int to = 0;
        FieldRole next = role;
        if (role == FieldRole::Main && m_layout == 1 && !IsGeneralStandardNumberClass(v)) {
            to = ctl::kAddOn;
            next = FieldRole::AddOn;
        } else if (role == FieldRole::Fact && TextLength(s.FACTdataIDtext) == 5) {
            to = ControlFor(FieldRole::Main);
            next = FieldRole::Main;
        } else if (role == FieldRole::CouponUpc) {
            to = ctl::kCoupon128;
            next = FieldRole::Coupon128;
        }
        if (to) {
            m_view.SetFocus(to);
            m_view.SelectAll(to);
            m_state.ActiveField = next;
        }
    }

    // Draw. A coupon with a part still pending is not a symbol yet.
    const bool couponPending = m_layout == 7 && (m_state.CouponUPCIncomplete || m_state.Coupon128Incomplete);
    if (m_state.MainIncomplete || couponPending) {
        if (m_state.MainIncomplete && IsItf14PairClass(v) && !m_state.AddOnIncomplete && EncodeCurrentVariation())
            ShowSymbol();
        else
            ClearSymbol();
    } else if (!EncodeCurrentVariation()) {
        if (OneOf(v, {24, 25, 34, 37, 86, 87}))
            ShowSymbol();
        else
            ClearSymbol();
    } else {
        if (!ProgrammaticInput && !m_restoring && !SymbolResizedByUser && !s.LastMethod && !s.Derived)
            SnapToPrinterGrid(s, BarPattern);
        ShowSymbol();
    }

    if (!AnyIncomplete() && !ProgrammaticInput && !m_restoring) s.SymbolWidth = 0;
}

bool InputBar::TooLong(FieldRole role, const std::string& typed, const std::string& data) {
    SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    m_state.InputTooLong = 1;

    if (role == FieldRole::Main && IsUpcESixDigitClass(v)) {
        PipelineMessage(sid::kFixedLengthTooLong);
        return false;
    }
    const bool compare = role != FieldRole::AddOn || IsItf14PairClass(v);
    if (compare && !data.empty()) {
        const std::string shortTyped = Shorter(typed);
        const std::string shortData = Shorter(data);
        if (Validate(role, shortData, true) == FormatResult::Complete) {
            // The caller puts the record back when the change is refused.
            Store(role, shortTyped, shortData);
            s.CheckCharacter1 = 0;
            s.CheckCharacter2 = 0;
            RecomputeCheck(1);
            const uint8_t check = role == FieldRole::AddOn ? s.CheckCharacter2 : s.CheckCharacter1;
            if (check && check != static_cast<uint8_t>(kNoCheck) && static_cast<uint8_t>(data.back()) == check) {
                // The check digit was typed: keep the number without it.
                m_clock.Sleep(1000);
                m_clock.Beep();
                m_checkDigitTyped = true;
                m_shortenedTyped = role == FieldRole::Main ? shortTyped : shortData;
                m_lastResult = FormatResult::Complete;
                return false;
            }
        }
    }
    PipelineMessage(IsVariableLengthClass(v) ? sid::kInputTooLong : sid::kFixedLengthTooLong);
    return false;
}

}  // namespace vg
