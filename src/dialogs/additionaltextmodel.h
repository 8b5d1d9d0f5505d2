// The Additional Text dialog without widgets: what it shows, what each change
// recomputes, its checks and what OK stores.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dialogs/edittextmodel.h"

namespace vg {

// Controls of the Additional Text dialog (160).
namespace atd {
inline constexpr int kUseHumanReadable = 1134;
inline constexpr int kRotate = 1135;
inline constexpr int kText = 1136;
inline constexpr int kH = 1137;
inline constexpr int kV = 1138;
inline constexpr int kHUnit = 1139;
inline constexpr int kVUnit = 1140;
}  // namespace atd

class AdditionalTextModel {
public:
    AdditionalTextModel(SettingsRecord& record, std::vector<std::string> fonts,
                        TextWidthFunction width = FontServiceTextWidth);

    const std::vector<std::string>& Fonts() const { return m_fonts; }
    const std::vector<int>& Sizes() const { return m_sizes; }
    int Align() const { return m_align; }
    int Rotation() const { return m_rotation; }
    bool Bold() const { return m_bold; }
    bool Italic() const { return m_italic; }
    bool UseHumanReadable() const { return m_useHumanReadable; }
    bool TextEnabled() const { return !m_useHumanReadable; }
    std::string Text(int control) const;

    void TypeText(const std::string& text);
    void SetUseHumanReadable(bool ticked);
    void ChooseFont(const std::string& family);
    DialogCheck TypeSize(const std::string& text);
    DialogCheck OpenSizeList();
    void SetBold(bool on);
    void SetItalic(bool on);
    void ChooseAlign(int align);  // 0 left, 1 centre, 2 right, 3 spread, 4 off
    void TypeH(const std::string& text);
    void TypeV(const std::string& text) { m_texts[atd::kV] = text; }
    void Rotate();  // 0 -> 90 -> 180 -> 270 -> 0

    // H of an alignment 0..3, in points.
    double PresetH(int align) const;

    DialogCheck Check() const;
    // The text cut to 254 characters is said and OK goes on; then the checks
    // and the store, nothing stored on a refusal.
    DialogCheck Ok();

private:
    void Changed();
    void Preset();

    SettingsRecord& m_s;
    std::vector<std::string> m_fonts;
    std::vector<int> m_sizes;
    TextWidthFunction m_width;
    std::map<int, std::string> m_texts;
    std::string m_openH, m_openV;
    int m_align = 0;
    int m_rotation = 0;
    bool m_bold = false;
    bool m_italic = false;
    bool m_useHumanReadable = false;
};

}  // namespace vg
