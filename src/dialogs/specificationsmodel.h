// The Specifications dialog without widgets: what it shows and enables,
// Select all, Clear and what OK stores.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/symbolsettings.h"

namespace vg {

// Controls of the Specifications dialog (150).
namespace spd {
inline constexpr int kCropMarks = 1029;
inline constexpr int kSymbology = 1030;
inline constexpr int kEncodedData = 1031;
inline constexpr int kBarWidthReduction = 1032;
inline constexpr int kWideNarrowRatio = 1033;
inline constexpr int kBarHeight = 1034;
inline constexpr int kMagnification = 1035;
inline constexpr int kXDimension = 1036;
inline constexpr int kPrinterDpi = 1037;
inline constexpr int kNbw = 1038;
inline constexpr int kFilmLine = 1039;
inline constexpr int kCompanyLine = 1040;
inline constexpr int kClientLine = 1041;
inline constexpr int kJobLine = 1042;
inline constexpr int kDateLine = 1043;
inline constexpr int kCommentsLine = 1044;
inline constexpr int kFilm = 1045;
inline constexpr int kCompany = 1046;
inline constexpr int kClient = 1047;
inline constexpr int kJob = 1048;
inline constexpr int kDate = 1049;
inline constexpr int kComments = 1050;
inline constexpr int kClear = 3;
inline constexpr int kSelectAll = 4;
}  // namespace spd

struct SpecSwitch {
    int control;
    const char* caption;  // as stored (UTF-8)
    int32_t SettingsRecord::*field;
};
// The sixteen check boxes, crop marks first, in control order of their groups.
const std::array<SpecSwitch, 16>& SpecSwitches();
// Items of the film list and the texts' edits (control, field).
std::vector<std::string> FilmItems();
const std::array<std::pair<int, std::string SettingsRecord::*>, 5>& SpecTexts();

class SpecificationsModel {
public:
    explicit SpecificationsModel(SettingsRecord& record);

    bool Checked(int control) const;
    bool Enabled(int control) const;  // crop marks off for Vantic128 variations
    int Film() const { return m_film; }
    const std::string& Text(int control) const;

    void SetCheck(int control, bool ticked);
    void ChooseFilm(int item);
    void SetText(int control, const std::string& text);
    void SelectAll();
    void Clear();
    // Stores the sixteen switches (a disabled box as unticked), the film index
    // and the five texts as they stand.
    void Ok();

private:
    SettingsRecord& m_s;
    std::array<bool, 16> m_checks{};
    int m_film = 0;
    std::array<std::string, 5> m_texts;
    bool m_cropMarksEnabled = true;
};

}  // namespace vg
