// Data entry pipeline: the state it keeps between keystrokes, the input-bar
// control ids it writes to and the normalisation of the main text. The steps
// themselves are members of InputBar (entry/inputbar.h), implemented in
// inputbarpipeline.cpp.
#pragma once

#include <string>
#include <string_view>

#include "entry/fieldrole.h"

namespace vg {

// Input-bar controls (dialog 500).
namespace ctl {
inline constexpr int kSourceBox = 501;
inline constexpr int kPresetBox = 502;
inline constexpr int kMain1 = 1007;   // layout 1
inline constexpr int kCheck1 = 1008;  // layout 1
inline constexpr int kAddOn = 1009;   // layout 1
inline constexpr int kMain2 = 1010;   // layout 2; read-only in the empty layout
inline constexpr int kCheck4 = 1011;  // layouts 4 and 6
inline constexpr int kMain4 = 1012;   // layout 4
inline constexpr int kFact = 1013;    // layouts 5 and 6
inline constexpr int kFimA = 1014;    // layout 3: 1014..1017
inline constexpr int kFimD = 1017;
inline constexpr int kMain5 = 1018;      // layout 5
inline constexpr int kMain6 = 1019;      // layout 6
inline constexpr int kCouponUpc = 1020;  // layout 7
inline constexpr int kCheck7 = 1021;     // layout 7
inline constexpr int kCoupon128 = 1022;  // layout 7
inline constexpr int kVerifyOn = 1125;   // Prufmark 1..3
inline constexpr int kVerifyOff = 1126;  // Prufmark 0
inline constexpr int kHueEnough = 1143;  // Hueproof 3
inline constexpr int kHueNone = 1144;    // Hueproof 1
inline constexpr int kHueLow = 1145;     // Hueproof 2
inline constexpr int kHelp = 1184;
}  // namespace ctl

// Longest main text the input bar keeps; working texts are cut at 255.
inline constexpr std::size_t kMaxMainInput = 60;
inline constexpr std::size_t kMaxWorkingText = 255;

// Pipeline state, held by the input bar for the life of the main window.
struct PipelineState {
    FieldRole ActiveField = FieldRole::Main;
    int LastEditControl = 0;
    std::string LastGoodText;
    int MainIncomplete = 0;
    int AddOnIncomplete = 0;
    int CouponUPCIncomplete = 0;
    int Coupon128Incomplete = 0;
    int DateInvalid = 0;
    int InputTooLong = 0;
    int UPCEInvalid = 0;
    int InputChanged = 0;
    int CheckShown = 0;
    int SymbolReady = 0;
    int SettingText = 0;
};

// Hyphens and spaces that are data characters of a variation.
bool HyphensAreData(int variation);
bool SpacesAreData(int variation);

// The two forms of a normalised main text: what the field keeps and what is
// validated and encoded.
struct NormalisedText {
    std::string typed;      // OriginalMainText: only forced removals applied
    std::string validated;  // MainText candidate: ignored hyphens and spaces removed too
};
// Applies the hyphen and space rules of the current record to text (already
// cut to 60). forcedRemoval 0 skips removing characters the field would lose.
NormalisedText NormaliseMainText(std::string_view text, int variation, int ignoreHyphens, int ignoreSpaces,
                                 bool forcedRemoval);

// String id of the idle reminder's text for the current state.
int ReminderStringId(const PipelineState& state, int variation);

// The user has resized the symbol by hand (cleared with the batch marks).
// Grid snapping is skipped while it is set.
extern int SymbolResizedByUser;

}  // namespace vg
