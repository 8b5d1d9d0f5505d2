#include "model/strings.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "model/messages.h"

namespace vg {
namespace {

struct StringEntry {
    int id;
    const char* text;
};

// Sorted by id.
constexpr StringEntry kStrings[] = {
#include "stringtable.inc"
};

}  // namespace

std::optional<std::string> FindString(int id) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const StringEntry& e, int key) { return e.id < key; });
    if (it == std::end(kStrings) || it->id != id) return std::nullopt;
    return std::string(it->text);
}

std::vector<int> StringIds() {
    std::vector<int> ids;
    ids.reserve(std::size(kStrings));
    for (const StringEntry& e : kStrings) ids.push_back(e.id);
    return ids;
}

std::string LoadString(int id, const std::string& fallback) {
    if (auto s = FindString(id)) return UiText(*s);
    return LoadStoredString(id, fallback);
}

MsgResult ShowStringMessage(int captionId, int textId, MsgIcon icon, MsgButtons buttons) {
    std::string caption = captionId ? LoadString(captionId) : std::string();
    return ShowMessage(caption, LoadString(textId), icon, buttons);
}

std::string LoadStoredString(int id, const std::string& fallback) {
    if (auto s = FindString(id)) return *s;
    char text[64];
    std::snprintf(text, sizeof text, "Error Loading String: %d", id);
    ShowMessage(std::string(), text, MsgIcon::None, MsgButtons::Ok);
    return fallback;
}

}  // namespace vg
