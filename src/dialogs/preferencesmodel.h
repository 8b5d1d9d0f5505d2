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

    int FormatItem() const { return m_format; }  // the stored format: 0 WMF, 1 EPS, 2 EMF; -1 none
    bool FormatEnabled() const { return m_formatEnabled; }
    int Unit() const { return m_unit; }
    int FileNameScheme() const { return m_fileName; }
    bool Sound() const { return m_sound; }

    void ChooseFormat(int item) { m_format = item; }
    void ChooseUnit(int item) { m_unit = item; }
    void ChooseFileName(int item) { m_fileName = item; }
    void SetSound(bool ticked) { m_sound = ticked; }

    // Restore: nothing before a Kitlet was chosen from the menu; otherwise asks
    // (OK and Cancel) and on OK calls reapply. True when reapply ran.
    bool Restore(bool kitletChosen, const std::function<void()>& reapply);

    // Stores the three list indexes (a format without an item keeps the
    // stored one) and the sound switch.
    void Ok();

private:
    SettingsRecord& m_s;
    int m_format = 0;
    bool m_formatEnabled = true;
    int m_unit = 0;
    int m_fileName = 0;
    bool m_sound = false;
};

}  // namespace vg
