// Feeds arbitrary bytes as the settings trailer of a saved metafile and runs
// what reopening does: open, the input bar set up on the stored texts, the
// drawing measured, and the symbol saved in the format the trailer names.
// The first byte chooses WMF or EMF by its low bit; the rest follows the
// trailer's tag and version (a trailer of a file vglyph make wrote, without
// its first 26 bytes, makes a good seed). Whatever was opened holds only valid
// values, and a file that was saved opens again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "entry/symbolinput.h"
#include "fuzzsupport.h"
#include "model/settingsfields.h"
#include "model/settingstrailer.h"
#include "output/batch.h"
#include "output/reopen.h"
#include "render/drawingframe.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vg::fuzz::QuietStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vg::SettingsRecord start = vg::SymbolSettings;
    if (size < 1) return 0;
    const bool emf = data[0] & 1;
    static const std::string path = vg::fuzz::ScratchPath("metafilereopen", ".wmf");
    static const std::string pathEmf = vg::fuzz::ScratchPath("metafilereopen", ".emf");
    const std::string& file = emf ? pathEmf : path;

    vg::SettingsTrailer trailer{};
    std::memcpy(trailer.data(), vg::kSettingsTrailerTag, sizeof vg::kSettingsTrailerTag);
    std::memcpy(trailer.data() + 13, "6.02", 4);
    std::memcpy(trailer.data() + 26, data + 1, std::min<size_t>(size - 1, trailer.size() - 26));
    // A few bytes of records before the trailer, as in a real file.
    std::string bytes(64, '\0');
    bytes.append(reinterpret_cast<const char*>(trailer.data()), trailer.size());
    vg::fuzz::WriteBytes(file, bytes);

    vg::SymbolSettings = start;
    std::vector<std::string> clamped;
    if (!vg::OpenSavedGraphic(file, nullptr, nullptr, &clamped)) std::abort();
    vg::SettingsRecord copy = vg::SymbolSettings;
    if (!vg::ClampToValidValues(copy).empty()) std::abort();  // all valid after the open

    std::string reason;
    if (!vg::SetUpInputAgain(&reason)) return 0;
    vg::MeasureDrawingFrame();
    static const std::string saved = vg::fuzz::ScratchPath("metafilereopen", ".saved");
    const std::string out = saved + vg::fuzz::FormatExtension(vg::SymbolSettings.Format);
    vg::SaveChoice choice;
    choice.path = out;
    choice.withPreview = false;
    if (vg::SaveSymbolFile(out, choice) && !vg::OpenSavedGraphic(out)) std::abort();
    return 0;
}
