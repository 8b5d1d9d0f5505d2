#include "model/kitletmenu.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/charset.h"
#include "model/messages.h"
#include "model/strings.h"

namespace vg {
namespace fs = std::filesystem;
namespace {

// Folders deeper than this are not followed (a link back up would never end).
constexpr int kDeepest = 16;

bool NameLess(const std::string& a, const std::string& b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = lower(a[i]), y = lower(b[i]);
        if (x != y) return x < y;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

void ScanFolder(const fs::path& folder, std::vector<KitletMenuEntry>& out, int& n, int depth) {
    std::error_code ec;
    std::vector<std::pair<std::string, bool>> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        const bool folderEntry = it->is_directory(typeError) && !it->is_symlink(typeError);
        names.emplace_back(std::move(name), folderEntry);
    }
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return NameLess(a.first, b.first); });
    for (auto& [name, isFolder] : names) {
        KitletMenuEntry entry;
        entry.text = name;
        if (isFolder) {
            if (depth < kDeepest) ScanFolder(folder / name, entry.entries, n, depth + 1);
        } else {
            if (kKitletFirstId + n + 1 > kKitletLastId) continue;
            entry.id = kKitletFirstId + ++n;
        }
        out.push_back(std::move(entry));
    }
}

// Adds a folder's tree to a merged one: items keep their file path.
void MergeInto(std::vector<KitletMenuEntry>& into, const fs::path& folder, int depth) {
    std::vector<KitletMenuEntry> found;
    int n = 0;
    ScanFolder(folder, found, n, depth);
    for (KitletMenuEntry& e : found) {
        auto same = std::find_if(into.begin(), into.end(), [&](const KitletMenuEntry& o) {
            return o.text == e.text && o.IsPopup() == e.IsPopup();
        });
        if (e.IsPopup()) {
            if (same == into.end()) {
                into.push_back({e.text, 0, {}, {}});
                same = into.end() - 1;
            }
            if (depth < kDeepest) MergeInto(same->entries, folder / e.text, depth + 1);
        } else {
            e.path = (folder / e.text).string();
            if (same != into.end())
                *same = std::move(e);
            else
                into.push_back(std::move(e));
        }
    }
}

// Name order and ids counted from 1 over the merged tree, depth first.
void Number(std::vector<KitletMenuEntry>& entries, int& n) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const KitletMenuEntry& a, const KitletMenuEntry& b) { return NameLess(a.text, b.text); });
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->IsPopup()) {
            Number(it->entries, n);
        } else if (kKitletFirstId + n + 1 > kKitletLastId) {
            it = entries.erase(it);
            continue;
        } else {
            it->id = kKitletFirstId + ++n;
        }
        ++it;
    }
}

const KitletMenuEntry* FindEntry(const std::vector<KitletMenuEntry>& entries, int id) {
    for (const KitletMenuEntry& e : entries) {
        if (e.IsPopup()) {
            if (const KitletMenuEntry* found = FindEntry(e.entries, id)) return found;
        } else if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

int IdOfPath(const std::vector<KitletMenuEntry>& entries, const std::string& path) {
    for (const KitletMenuEntry& e : entries) {
        if (e.IsPopup()) {
            if (const int id = IdOfPath(e.entries, path)) return id;
        } else if (!path.empty() && e.path == path) {
            return e.id;
        }
    }
    return 0;
}

bool FindPath(const std::vector<KitletMenuEntry>& entries, int id, std::string& path) {
    for (const KitletMenuEntry& e : entries) {
        if (e.IsPopup()) {
            std::string inner;
            if (FindPath(e.entries, id, inner)) {
                path = "/" + e.text + inner;
                return true;
            }
        } else if (e.id == id) {
            path = "/" + e.text;
            return true;
        }
    }
    return false;
}

// A file name as a record text: characters Windows-1252 lacks become '?'.
std::string RecordText(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = utf8[i];
        const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        std::string one;
        out += Utf8ToCp1252(utf8.substr(i, len), one) && one.size() == 1 ? one[0] : '?';
        i += len;
    }
    return out;
}

std::string Replace1(std::string text, const std::string& value) {
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

}  // namespace

KitletMenu ScanKitletFolder(const std::string& folder) {
    KitletMenu menu;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        menu.state =
            fs::create_directories(folder, ec) && !ec ? KitletFolderState::Created : KitletFolderState::NotFound;
        return menu;
    }
    menu.state = KitletFolderState::Found;
    int n = 0;
    ScanFolder(folder, menu.entries, n, 0);
    return menu;
}

std::string FindKitletFolder(const std::vector<std::string>& otherFolders) {
    std::error_code ec;
    const fs::path here = fs::current_path(ec) / "Kitlets";
    if (fs::is_directory(here, ec)) return here.string();
    for (const std::string& other : otherFolders)
        if (!other.empty() && fs::is_directory(other, ec)) return other;
    return here.string();
}

KitletMenu MergeKitletFolders(const std::vector<std::string>& folders) {
    KitletMenu menu;
    std::error_code ec;
    for (const std::string& folder : folders) {
        if (folder.empty() || !fs::is_directory(folder, ec)) continue;
        menu.state = KitletFolderState::Found;
        MergeInto(menu.entries, folder, 0);
    }
    int n = 0;
    Number(menu.entries, n);
    return menu;
}

std::string KitletItemPath(const std::vector<KitletMenuEntry>& entries, int id) {
    std::string path;
    return FindPath(entries, id, path) ? path : std::string();
}

void KitletChooser::Build(const std::string& folder) {
    m_folder = folder;
    m_menu = ScanKitletFolder(folder);
    if (m_menu.state == KitletFolderState::Created)
        ShowMessage("", LoadString(61204), MsgIcon::Exclamation);
    else if (m_menu.state == KitletFolderState::NotFound)
        ShowMessage("", LoadString(61205), MsgIcon::Exclamation);
}

void KitletChooser::BuildMerged(const std::vector<std::string>& folders) {
    m_folders = folders;
    m_folder = folders.empty() ? std::string() : folders.back();
    m_menu = MergeKitletFolders(folders);
    // The user's folder alone counts as a menu: it is made on the first save.
    m_menu.state = KitletFolderState::Found;
    if (!m_fullPath.empty()) m_lastId = IdOfPath(m_menu.entries, m_fullPath);
}

bool KitletChooser::Choose(int id) {
    m_lastId = id;
    const std::string found = KitletItemPath(m_menu.entries, id);
    if (!found.empty()) m_relativePath = found;
    std::string path = m_folder + m_relativePath;
    if (const KitletMenuEntry* entry = FindEntry(m_menu.entries, id); entry && !entry->path.empty())
        path = entry->path;
    else if (!m_folders.empty() && found.empty())
        path = m_fullPath;

    Kitlet kitlet;
    bool opened = false;
    const KitletStatus status = m_relativePath.empty() ? KitletStatus::Damaged : ReadKitletFile(path, kitlet, &opened);
    if (!opened) {
        ShowMessage("", Replace1(LoadString(61211), path), MsgIcon::Exclamation);
        ShowMessage("", LoadString(61206), MsgIcon::Exclamation);
        return false;
    }
    if (status == KitletStatus::Damaged) {
        ShowMessage("", path + "\nUnexpected file format.", MsgIcon::Exclamation);
        return false;
    }
    if (status == KitletStatus::Invalid) ShowMessage("", LoadString(61398), MsgIcon::Exclamation);
    m_clamped = ApplyKitlet(kitlet, SymbolSettings);

    ProgrammaticInput = 0;
    m_fullPath = path;
    m_presetName = path.substr(path.find_last_of('/') + 1);
    SymbolSettings.VariationName = RecordText(m_presetName);
    return true;
}

bool KitletChooser::SaveAs(const std::string& path) {
    const std::string title = fs::path(path).filename().string();
    const Kitlet kitlet = KitletOf(SymbolSettings, KitletDataFlag(SymbolSettings.Family, title));
    std::error_code ec;
    if (!m_folders.empty()) fs::create_directories(fs::path(path).parent_path(), ec);
    if (!WriteKitletFile(path, kitlet)) {
        ShowMessage("", Replace1(LoadString(61210), path), MsgIcon::Exclamation);
        return false;
    }
    if (!m_folders.empty()) {
        BuildMerged(m_folders);
        return true;
    }
    ShowMessage("", LoadString(61209), MsgIcon::Information);
    return true;
}

std::string KitletChooser::SaveFolder() const {
    if (!m_folders.empty()) {
        // The user's folder, in the popup the last chosen Kitlet stands in.
        const std::size_t slash = m_relativePath.find_last_of('/');
        return m_folder + (slash == std::string::npos ? std::string() : m_relativePath.substr(0, slash));
    }
    const std::size_t slash = m_fullPath.find_last_of('/');
    if (!m_fullPath.empty() && slash != std::string::npos) return m_fullPath.substr(0, slash);
    return m_folder;
}

}  // namespace vg
