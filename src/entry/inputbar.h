// The input bar: field roles, the eight layouts, the field-changed steps, the
// FIM buttons and the idle reminder. Widgets are reached only through
// InputBarView; time and the beep through Clock.
//
// Headless use (command-line tool, batches):
//
//     HeadlessInputBarView view;          // keeps field texts, ignores the rest
//     SystemClock clock;                  // or FakeClock to skip the pause
//     InputBar bar(view, clock);          // installs the defaults hooks
//     ProgrammaticInput = 1;              // record already filled by the caller
//     bar.SetUpLayout();                  // layout of SymbolSettings.Variation;
//                                         // empties AdditionalText (set it after)
//     FillOutcome r = bar.Fill(FieldRole::Main, "0360002914");
//     // then AddOn, Fact, CouponUpc, Coupon128 as the variation needs
//     if (r == FillOutcome::Refused)  -> the message was shown through the
//                                        message sink (caption "Edit Control")
//     if (bar.AnyIncomplete())        -> ReminderCaption(), ReminderText()
//     if (bar.SymbolReady())          -> BarPattern holds the symbol
//
// Fill keeps ProgrammaticInput as it is (no defaults, no date message, no grid
// snapping); a role the layout has no field for gives Refused. Typing the
// check digit of a fixed-length number pauses a second and beeps through the
// clock, then keeps the number without it (outcome of that number).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "entry/clock.h"
#include "entry/fieldrole.h"
#include "entry/formatengine.h"
#include "entry/pipeline.h"

namespace vg {

// What the input bar does to its widgets. The application implements it on
// dialog 500; tests record it.
class InputBarView {
public:
    virtual ~InputBarView() = default;
    // Edit fields and check displays.
    virtual void SetText(int id, std::string_view text) = 0;
    virtual std::string Text(int id) const = 0;
    virtual void SetReadOnly(int id, bool readOnly) = 0;
    virtual void Show(int id, bool shown) = 0;
    virtual void SetFocus(int id) = 0;
    virtual int FocusedControl() const = 0;  // 0: none of the bar's
    virtual void SelectAll(int id) = 0;
    virtual void CaretToEnd(int id) = 0;
    virtual bool HasSelection(int id) const = 0;
    virtual void ClearUndo(int id) = 0;
    // A field's name (shown while it is empty) and tool tip.
    virtual void SetFieldHelp(int /*id*/, std::string_view /*name*/, std::string_view /*tip*/) {}
    // Preset box (502) text.
    virtual void SetPresetText(std::string_view text) = 0;
    // Input-source box (501): the fourth item holds an opened file's name.
    virtual void SetSourceFileItem(std::string_view name) = 0;  // add or replace, select it
    virtual void RemoveSourceFileItem() = 0;                    // and select item 0
    // The document view: draw again (draws only while SymbolReady).
    virtual void RedrawSymbol() = 0;
    // Main window state the idle reminder waits for.
    virtual bool Minimised() const = 0;
    virtual bool BatchBusy() const = 0;
    virtual bool BarEnabledAndVisible() const = 0;
    // A menu, popup list or dialog is open over the window.
    virtual bool PopupOpen() const { return false; }
};

// Keeps the field texts; everything else is a no-op.
class HeadlessInputBarView : public InputBarView {
public:
    void SetText(int id, std::string_view text) override { m_texts[id] = std::string(text); }
    std::string Text(int id) const override {
        auto it = m_texts.find(id);
        return it == m_texts.end() ? std::string() : it->second;
    }
    void SetReadOnly(int, bool) override {}
    void Show(int, bool) override {}
    void SetFocus(int id) override { m_focus = id; }
    int FocusedControl() const override { return m_focus; }
    void SelectAll(int) override {}
    void CaretToEnd(int) override {}
    bool HasSelection(int) const override { return false; }
    void ClearUndo(int) override {}
    void SetPresetText(std::string_view) override {}
    void SetSourceFileItem(std::string_view) override {}
    void RemoveSourceFileItem() override {}
    void RedrawSymbol() override {}
    bool Minimised() const override { return false; }
    bool BatchBusy() const override { return false; }
    bool BarEnabledAndVisible() const override { return true; }

protected:
    std::unordered_map<int, std::string> m_texts;
    int m_focus = 0;
};

enum class FillOutcome {
    Complete,    // accepted, no incomplete mark (SymbolReady tells whether it encoded)
    Incomplete,  // accepted, but not yet a complete symbol (or an invalid date)
    Refused,     // rejected, reported or too long; the message has been shown
};

class InputBar {
public:
    // The newest bar is the one ApplyEntryDefaults resets; the destructor
    // leaves none.
    InputBar(InputBarView& view, Clock& clock);
    ~InputBar();
    // Makes this bar the one ApplyEntryDefaults resets again, after another
    // bar (the headless one of the batches) took that place.
    void TakeDefaultsReset();
    InputBar(const InputBar&) = delete;
    InputBar& operator=(const InputBar&) = delete;

    // Builds the layout of the current variation, applies defaults when
    // ProgrammaticInput is 0, puts the stored texts back and runs the pipeline
    // on them. reopening: a graphic is being reopened (AdditionalText kept).
    void SetUpLayout(bool reopening = false);

    // Gives the fields of the layout their name and tool tip again (language switched).
    void ShowFieldHelp();

    // Change notification of an edit control (typed by the user).
    void FieldChanged(int controlId);
    // Puts text into the role's field and runs the field-changed steps with
    // ProgrammaticInput left as it is.
    FillOutcome Fill(FieldRole role, std::string_view text);

    // FIM pattern buttons 1014..1017.
    void FimButton(int controlId);

    // Idle reminder: every 100 ms timer tick. It waits 10 s from the last
    // keystroke or the moment its box or any popup closed, and shows no second
    // box before a keystroke.
    void Tick();
    // A key was pressed in one of the bar's fields.
    void Keystroke();
    // Copies of the stored texts the reminder compares with (end of window creation).
    void TakeReminderCopies();
    // Focus around dialogs: remember before, request the refocus after.
    void RememberFocus();
    void RequestRefocus();
    // While a dialog command runs: no idle reminder, quiet pipeline checks.
    void SuspendReminder(bool on) { m_messageOpen += on ? 1 : -1; }

    // Input-source box: a data file or graphic was opened; reset to item 0.
    void SourceFileOpened(std::string_view name);
    void ResetSourceBox();
    // The field state, the check text and the action box of a variation's
    // factory state.
    void ResetToDefaults();

    // Shows the colour and verification-mark indicators of the record.
    void UpdateIndicators();

    // Redraws are not requested while the main window is being created.
    void SetCreating(bool creating) { m_creating = creating; }

    bool SymbolReady() const { return m_state.SymbolReady != 0; }
    bool AnyIncomplete() const;
    int Layout() const { return m_layout; }
    // The idle reminder's message for the current state.
    std::string ReminderCaption() const;
    std::string ReminderText() const;
    // Result of the last validation of the last change.
    FormatResult LastResult() const { return m_lastResult; }
    const PipelineState& State() const { return m_state; }
    PipelineState& MutableState() { return m_state; }

    // Control of a role in the current layout (0: none) and its check display.
    int ControlFor(FieldRole role) const;
    int CheckDisplay() const;
    // Role of an edit control.
    static FieldRole RoleOf(int controlId);
    // Stored text of a role (main: OriginalMainText).
    static std::string StoredText(FieldRole role);

private:
    // Field-changed steps; user clears ProgrammaticInput.
    FillOutcome Change(int controlId, bool user);

    // Pipeline (inputbarpipeline.cpp). True when the field keeps its text.
    bool RunPipeline(std::string_view text);
    void EmptyField(FieldRole role);
    void CompleteInput(FieldRole role, const std::string& typed, const std::string& data);
    bool TooLong(FieldRole role, const std::string& typed, const std::string& data);
    void Store(FieldRole role, std::string_view typed, std::string_view data);
    std::string MainData() const;  // with the UPC-E number system where it belongs
    void ClearCheck();
    void ShowSymbol();
    void ClearSymbol();
    void ShowIfEncodes();
    FormatResult Validate(FieldRole role, std::string_view text, bool quiet = false);
    void PipelineMessage(int stringId);
    void WriteField(int id, std::string_view text);
    void RecomputeCheck(int hasInput);
    FillOutcome Outcome() const;

    InputBarView& m_view;
    Clock& m_clock;
    PipelineState m_state;
    int m_layout = 0;
    FormatResult m_lastResult = FormatResult::Incomplete;
    int m_messageOpen = 0;     // pipeline message boxes open
    bool m_restoring = false;  // re-running on the last good text
    bool m_checkDigitTyped = false;
    std::string m_shortenedTyped;  // stored text after a typed check digit
    bool m_creating = false;
    std::string m_checkText;  // what the check display shows
    // Idle reminder.
    uint32_t m_periodStart = 0;
    bool m_reminded = false;  // a box was shown since the last keystroke
    std::array<std::string, 5> m_copies;
    int m_rememberedFocus = 0;
    bool m_refocusRequested = false;
    int m_lastFimButton = 0;
    bool m_sourceShowsFile = false;
};

// ApplySymbolDefaults, then the current input bar's ResetToDefaults.
void ApplyEntryDefaults();

}  // namespace vg
