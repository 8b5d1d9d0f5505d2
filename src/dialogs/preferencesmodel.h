// The Preferences dialog without widgets: its lists, Restore and what OK
// stores.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/symbolsettings.h"

namespace vg {

// Controls of the Preferences dialog (147).
namespace pfd {
inline constexpr int kFormat = 1024;
inline constexpr int kUnit = 1025;
inline constexpr int kFileName = 1026;
inline constexpr int kRestore = 1028;
inline constexpr int kSound = 1029;
}  // namespace pfd

// Items of the three lists, as stored (UTF-8).
std::vector<std::string> FormatItems();
std::vector<std::string> UnitItems();
std::vector<std::string> FileNameItems();

class PreferencesModel {
public:
    explicit PreferencesModel(SettingsRecord& record);

    int FormatItem() const { return format_; }  // the stored format: 0 WMF, 1 EPS, 2 EMF; -1 none
    bool FormatEnabled() const { return formatEnabled_; }
    int Unit() const { return unit_; }
    int FileNameScheme() const { return fileName_; }
    bool Sound() const { return sound_; }

    void ChooseFormat(int item) { format_ = item; }
    void ChooseUnit(int item) { unit_ = item; }
    void ChooseFileName(int item) { fileName_ = item; }
    void SetSound(bool ticked) { sound_ = ticked; }

    // Restore: nothing before a Kitlet was chosen from the menu; otherwise asks
    // (OK and Cancel) and on OK calls reapply. True when reapply ran.
    bool Restore(bool kitletChosen, const std::function<void()>& reapply);

    // Stores the three list indexes (a format without an item keeps the
    // stored one) and the sound switch.
    void Ok();

private:
    SettingsRecord& s_;
    int format_ = 0;
    bool formatEnabled_ = true;
    int unit_ = 0;
    int fileName_ = 0;
    bool sound_ = false;
};

}  // namespace vg
