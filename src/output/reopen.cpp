#include "output/reopen.h"

#include "eps/settingsreader.h"
#include "model/regularfile.h"
#include "model/settingstrailer.h"

namespace vg {

SavedGraphicKind SavedGraphicKindOf(const std::string& path) {
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return SavedGraphicKind::None;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == "eps") return SavedGraphicKind::Eps;
    if (ext == "wmf" || ext == "emf") return SavedGraphicKind::Metafile;
    return SavedGraphicKind::None;
}

bool OpenSavedGraphic(const std::string& path, std::string* version, std::string* reason,
                      std::vector<std::string>* clamped) {
    switch (SavedGraphicKindOf(path)) {
    case SavedGraphicKind::Eps: return ReadSettingsComments(path, version, reason, clamped);
    case SavedGraphicKind::Metafile:
        // A FIFO or a device would block or never end.
        if (!RegularFile().Open(path, reason)) return false;
        return ReadSettingsTrailer(path, clamped);
    case SavedGraphicKind::None:
        // Not a saved graphic by its name; say why when it is not even readable.
        RegularFile().Open(path, reason);
        break;
    }
    return false;
}

}  // namespace vg
