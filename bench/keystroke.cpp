// One keystroke of the data entry pipeline through to a drawn symbol: the main
// field's text changes by one character, the field-changed steps run, and the
// symbol is drawn on a recording context as the view draws it. Each keystroke
// alternately deletes and types the last character.
//
//   keystroke [KEYSTROKES]    (default 2000 per symbol)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/recordingdc.h"
#include "entry/inputbar.h"
#include "entry/symbolinput.h"
#include "model/symbolsettings.h"
#include "render/drawsymbol.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    const char* label;
    const char* variation;
    const char* data;
};

const Case kCases[] = {
    {"EAN-13, 13 digits", "26", "4006381333931"},
    {"Code 128, 60 characters", "6", "VORNEL GLYPH 0123456789 CODE 128 KEYSTROKE BENCH abcdefghijk"},
};

// Median, 95th percentile and largest keystroke in milliseconds; false when a
// keystroke left no symbol to draw.
bool Run(const Case& c, int keystrokes) {
    std::string reason;
    const vg::VariationInfo* v = vg::LookUpVariation(c.variation, &reason);
    if (!v) {
        std::fprintf(stderr, "keystroke: %s\n", reason.c_str());
        return false;
    }
    vg::ChooseVariation(*v);
    vg::HeadlessInputBarView view;
    vg::FakeClock clock;
    vg::InputBar bar(view, clock);
    bar.SetUpLayout();
    const int field = bar.ControlFor(vg::FieldRole::Main);
    const std::string full = c.data, shorter = full.substr(0, full.size() - 1);

    std::vector<double> ms;
    ms.reserve(keystrokes);
    for (int i = -20; i < keystrokes; ++i) {  // the first few warm up
        const Clock::time_point t0 = Clock::now();
        view.SetText(field, (i & 1) ? shorter : full);
        bar.FieldChanged(field);
        if (!bar.SymbolReady()) {
            std::fprintf(stderr, "keystroke: %s left no symbol after '%s'\n", c.label, view.Text(field).c_str());
            return false;
        }
        vg::RecordingDC dc;
        const bool drawn = vg::DrawSymbol(dc, vg::ClipRect{0, 0, 800, 600}, 0, 0, nullptr);
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (!drawn || dc.Ops().empty()) {
            std::fprintf(stderr, "keystroke: %s drew nothing\n", c.label);
            return false;
        }
        if (i == 0)
            std::printf("%s: %zu drawing operations, texts \"%s\"\n", c.label, dc.Ops().size(), dc.AllText().c_str());
        if (i >= 0) ms.push_back(took);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.3f ms, 95th percentile %.3f ms, max %.3f ms over %d keystrokes\n", c.label,
                ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back(), keystrokes);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int keystrokes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    bool ok = true;
    for (const Case& c : kCases) ok = Run(c, keystrokes) && ok;
    return ok ? 0 : 1;
}
