// Feeds arbitrary bytes as the stored values of the user's profile and runs
// start-up (the profile loaded, the input bar set up on its texts), drawing
// and saving (the symbol in its format, the profile written back). Each key in
// turn takes a control byte: bit 0 clear leaves the key missing; otherwise an
// integer key takes the next four bytes, a real or text key the next control
// byte's count (bits 1 to 7) of bytes. Whatever was loaded holds only valid
// values, and a profile written back loads to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "entry/symbolinput.h"
#include "fuzzsupport.h"
#include "geometry/settingsdefaults.h"
#include "model/profile.h"
#include "model/settingsfields.h"
#include "output/batch.h"
#include "render/drawingframe.h"

namespace {

vg::ProfileFallbacks Fallbacks() {
    vg::ProfileFallbacks f;
    f.ratio = vg::RatioDefault;
    f.barHeight = vg::BarHeightDefault;
    f.bearerBar = vg::BearerBarDefault;
    f.distance = vg::DistanceDefault;
    f.textFont = vg::TextFontDefault;
    f.additionalTextFont = vg::AdditionalTextFontDefault;
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vg::fuzz::QuietStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vg::MemoryProfileStore store;
    std::size_t at = 0;
    for (const vg::ProfileKey& k : vg::ProfileKeys()) {
        if (at >= size) break;
        const uint8_t control = data[at++];
        if (!(control & 1)) continue;
        if (k.kind == vg::ProfileKind::Integer) {
            if (size - at < 4) break;
            uint32_t v = 0;
            for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data[at++]) << (8 * i);
            store.WriteInt(k.key, static_cast<int32_t>(v));
        } else {
            const std::size_t n = std::min<std::size_t>(control >> 1, size - at);
            store.WriteString(k.key, std::string(reinterpret_cast<const char*>(data) + at, n));
            at += n;
        }
    }

    vg::ResetSettingsRecord();
    vg::LoadProfile(store, Fallbacks());
    vg::SettingsRecord copy = vg::SymbolSettings;
    if (!vg::ClampToValidValues(copy).empty()) std::abort();  // all valid after the load

    std::string reason;
    if (vg::SymbolSettings.ProfileInvalid == 0 && vg::SetUpInputAgain(&reason)) {
        vg::MeasureDrawingFrame();
        static const std::string saved = vg::fuzz::ScratchPath("profile", ".saved");
        const std::string out = saved + vg::fuzz::FormatExtension(vg::SymbolSettings.Format);
        vg::SaveChoice choice;
        choice.path = out;
        choice.withPreview = false;
        vg::SaveSymbolFile(out, choice);
    }

    vg::MemoryProfileStore written;
    vg::SaveProfile(written);
    vg::ResetSettingsRecord();
    vg::LoadProfile(written, Fallbacks());
    vg::MemoryProfileStore again;
    vg::SaveProfile(again);
    if (again.values != written.values) std::abort();
    return 0;
}
