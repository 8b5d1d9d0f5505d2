// Input-bar view for tests: keeps field texts and records what the bar does.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/catalogue.h"
#include "entry/inputbar.h"
#include "model/symbolsettings.h"
#include "recordingsink.h"

namespace vg::test {

class RecordingView : public HeadlessInputBarView {
public:
    void SetText(int id, std::string_view text) override {
        HeadlessInputBarView::SetText(id, text);
        writes.push_back({id, std::string(text)});
    }
    void SetReadOnly(int id, bool readOnly) override {
        if (readOnly)
            readOnlyIds.insert(id);
        else
            readOnlyIds.erase(id);
    }
    void Show(int id, bool shown) override {
        if (shown)
            visible.insert(id);
        else
            visible.erase(id);
    }
    void SetFocus(int id) override {
        HeadlessInputBarView::SetFocus(id);
        focusHistory.push_back(id);
    }
    void SelectAll(int id) override { selectAllCalls.push_back(id); }
    void CaretToEnd(int id) override { caretEndCalls.push_back(id); }
    // A selection only when a test makes one (a user dragging over the text).
    bool HasSelection(int id) const override { return selectedIds.count(id) != 0; }
    void ClearUndo(int id) override { undoCleared.insert(id); }
    void SetPresetText(std::string_view text) override { presetText = std::string(text); }
    void SetSourceFileItem(std::string_view name) override { sourceFile = std::string(name); }
    void RemoveSourceFileItem() override {
        sourceFile.clear();
        ++sourceResets;
    }
    void RedrawSymbol() override { ++redraws; }
    bool Minimised() const override { return minimised; }
    bool BatchBusy() const override { return busy; }
    bool BarEnabledAndVisible() const override { return barVisible; }
    bool PopupOpen() const override { return popup; }

    // Text as the user would see it, without recording a write.
    void Type(int id, std::string_view text) { m_texts[id] = std::string(text); }

    struct Write {
        int id;
        std::string text;
    };
    std::vector<Write> writes;
    std::set<int> visible;
    std::set<int> readOnlyIds;
    std::vector<int> focusHistory;
    std::vector<int> selectAllCalls;
    std::vector<int> caretEndCalls;
    std::set<int> selectedIds;
    std::set<int> undoCleared;
    std::string presetText;
    std::string sourceFile;
    int sourceResets = 0;
    int redraws = 0;
    bool minimised = false;
    bool busy = false;
    bool barVisible = true;
    bool popup = false;
};

// A fresh record of one variation with its input bar set up as if the user
// had just chosen it; messages are recorded, time is fake.
struct InputBarHarness {
    explicit InputBarHarness(int variation, int programmatic = 0) {
        ResetSettingsRecord();
        const VariationInfo* info = FindVariation(variation);
        SymbolSettings.Family = static_cast<int16_t>(info ? info->family : 0);
        SymbolSettings.Variation = variation;
        ProgrammaticInput = programmatic;
        bar.SetUpLayout();
        recorder.sink.messages.clear();
    }
    ~InputBarHarness() { ProgrammaticInput = 0; }

    int Main() const { return bar.ControlFor(FieldRole::Main); }
    // Types text at the end of a field one character at a time, as a user would.
    void TypeChars(int id, std::string_view text) {
        for (char c : text) {
            view.Type(id, view.Text(id) + c);
            bar.FieldChanged(id);
        }
    }
    // Replaces a field's whole text in one change (a paste).
    void Paste(int id, std::string_view text) {
        view.Type(id, text);
        bar.FieldChanged(id);
    }
    // Runs the timer for ms milliseconds in 100 ms ticks.
    void Idle(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 100) {
            clock.Advance(100);
            bar.Tick();
        }
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : recorder.sink.messages) out.push_back(m.text);
        return out;
    }

    ScopedRecordingSink recorder;
    RecordingView view;
    FakeClock clock;
    InputBar bar{view, clock};
};

}  // namespace vg::test
