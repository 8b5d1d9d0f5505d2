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

    const std::vector<std::string>& Fonts() const { return fonts_; }
    const std::vector<int>& Sizes() const { return sizes_; }
    int Align() const { return align_; }
    int Rotation() const { return rotation_; }
    bool Bold() const { return bold_; }
    bool Italic() const { return italic_; }
    bool UseHumanReadable() const { return useHumanReadable_; }
    bool TextEnabled() const { return !useHumanReadable_; }
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
    void TypeV(const std::string& text) { texts_[atd::kV] = text; }
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

    SettingsRecord& s_;
    std::vector<std::string> fonts_;
    std::vector<int> sizes_;
    TextWidthFunction width_;
    std::map<int, std::string> texts_;
    std::string openH_, openV_;
    int align_ = 0;
    int rotation_ = 0;
    bool bold_ = false;
    bool italic_ = false;
    bool useHumanReadable_ = false;
};

}  // namespace vg
