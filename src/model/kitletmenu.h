// The Symbology menu as data: the Kitlets folder tree turned into popups and
// items, choosing an item (load and apply its Kitlet) and Save Kitlet As.
#pragma once

#include <string>
#include <vector>

#include "model/kitlet.h"

namespace vg {

// Command ids of the menu's items: 32800 + n, n counting files from 1.
inline constexpr int kKitletFirstId = 32800;
inline constexpr int kKitletLastId = 53800;

struct KitletMenuEntry {
    std::string text;                      // the file or folder name (UTF-8)
    int id = 0;                            // 0 for a popup
    std::string path;                      // an item's file when the menu merges several folders
    std::vector<KitletMenuEntry> entries;  // a popup's entries
    bool IsPopup() const { return id == 0; }
};

enum class KitletFolderState {
    Found,     // the folder exists (the menu may be empty)
    Created,   // it was missing and has been created: "Empty Kitlets? Folder"
    NotFound,  // it was missing and cannot be created: "Kitlets? Folder not found"
};

struct KitletMenu {
    KitletFolderState state = KitletFolderState::NotFound;
    std::vector<KitletMenuEntry> entries;
    bool Exists() const { return state == KitletFolderState::Found; }
};

// Reads the folder tree depth first: a folder becomes a popup, anything else an
// item. Entries come in name order (names that start with '.' are left out);
// items beyond the last id are left out. A missing folder is created.
KitletMenu ScanKitletFolder(const std::string& folder);

// The Kitlets folder: "Kitlets" in the current folder when it exists there,
// else the first of the others that exists, else the current folder's.
std::string FindKitletFolder(const std::vector<std::string>& otherFolders);

// The menu of several folders merged by name, later folders first: popups of
// the same name are merged, an item of a later folder replaces one of the same
// name. Ids are counted over the merged tree. Missing folders are left out
// (none created); the state is Found when any folder exists.
KitletMenu MergeKitletFolders(const std::vector<std::string>& folders);

// The path of an item relative to the menu's folder ("/EAN/EAN-13"), built
// from the popup texts; empty when no item has the id.
std::string KitletItemPath(const std::vector<KitletMenuEntry>& entries, int id);

// The menu's state kept by the main window, and its two actions. Messages go
// through the message sink.
class KitletChooser {
public:
    // Scans the folder; says "Empty Kitlets? Folder" or "Kitlets? Folder not
    // found" when it was missing.
    void Build(const std::string& folder);
    // The menu of several folders (MergeKitletFolders) whose last one, the
    // user's, takes what Save Kitlet As writes and is made on the first save.
    void BuildMerged(const std::vector<std::string>& folders);

    // Loads and applies the Kitlet of a menu id (an id without an item takes the
    // last chosen path again). True when it was applied: ProgrammaticInput is
    // then 0 and VariationName the preset name; the caller sets up the layout.
    bool Choose(int id);

    // Save Kitlet As to a path the user chose; says "Unable to create %1" or
    // "Your Kitlet will appear at relaunch". A merged menu makes the file's
    // folder and is read again at once (no message then).
    bool SaveAs(const std::string& path);

    // The folder Save Kitlet As opens in: the last chosen Kitlet's, else the menu's.
    // A merged menu's: the user's folder, in the popup of the last chosen Kitlet.
    std::string SaveFolder() const;

    const std::string& Folder() const { return m_folder; }
    const KitletMenu& Menu() const { return m_menu; }
    int LastId() const { return m_lastId; }
    const std::string& FullPath() const { return m_fullPath; }
    const std::string& PresetName() const { return m_presetName; }
    // What the last chosen Kitlet held out of range (ClampToValidValues).
    const std::vector<std::string>& Clamped() const { return m_clamped; }

private:
    std::vector<std::string> m_folders;  // of a merged menu
    std::string m_folder;
    KitletMenu m_menu;
    int m_lastId = 0;
    std::string m_relativePath;
    std::string m_fullPath;
    std::string m_presetName;
    std::vector<std::string> m_clamped;
};

}  // namespace vg
