// The serialization dialog without widgets: what its controls show, the step
// and count rules, and the checks of OK with their messages and focus. Texts
// are Windows-1252, as the record holds them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vg {

namespace serialctl {
inline constexpr int kMainRadio = 1125;
inline constexpr int kAddOnRadio = 1126;
inline constexpr int kBefore = 1127;
inline constexpr int kStart = 1128;
inline constexpr int kAfter = 1129;
inline constexpr int kStep = 1130;
inline constexpr int kStop = 1131;
inline constexpr int kReference = 1132;
inline constexpr int kCount = 1133;
}  // namespace serialctl

struct SerialCheckFailure {
    int message;  // string id
    int caption;  // string id
    int focus;    // control id
};

class SeriesModel {
public:
    // Opening: the stored series again while it is armed and still matches,
    // else a fresh split of the current data.
    void Open();

    bool MainEnabled() const { return m_mainEnabled; }
    bool AddOnEnabled() const { return m_addOnEnabled; }
    bool AddOnSelected() const { return m_addOn; }
    // A click on a radio button fills the dialog again.
    void SelectPart(bool addOn);

    // Text of control 1132: the reference, or "..." and its last 17 characters.
    std::string ReferenceLabel() const;
    // Text of an edit control or of the count (1133).
    const std::string& Text(int id) const;
    int Focus() const { return m_focus; }

    // An edit of Before, Start, After or Stop; the edit checks show their
    // messages unless quiet.
    void Edit(int id, const std::string& text, bool quiet = false);
    // An edit of the step: a non-digit restores the previous step, 0 or
    // empty becomes "1"; at most three characters.
    void EditStep(const std::string& text, bool quiet = false);

    // OK: the checks in order; the first failure is shown and returned (the
    // focus moves to its field). Else the settings take the texts and
    // SeriesArmed is set when Start differs from Stop.
    std::optional<SerialCheckFailure> Ok();

private:
    void Fill();
    std::optional<SerialCheckFailure> EditChecks(bool withMatch) const;
    void UpdateCount(bool withMatch);

    std::string m_before, m_start, m_after, m_step = "1", m_stop, m_count, m_reference;
    bool m_addOn = false, m_mainEnabled = true, m_addOnEnabled = false;
    int m_focus = serialctl::kStart;
};

}  // namespace vg
