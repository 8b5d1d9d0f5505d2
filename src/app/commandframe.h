// What the window's commands share with the main window: the command ids and
// the parts of the window a command works on.
#pragma once

class QWidget;

namespace vg {

class CVGLView;
class InputBar;
class InputBarWidget;
class KitletChooser;

// Command ids of the menu, toolbar and accelerators.
namespace cmd {
inline constexpr int kOpenGraphic = 32780;
inline constexpr int kOpenDataFile = 32782;
inline constexpr int kSaveKitletAs = 32783;
inline constexpr int kSave = 32789;
inline constexpr int kExit = 57665;
inline constexpr int kUndo = 57643;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kClear = 57632;
inline constexpr int kSelectAll = 57642;
inline constexpr int kAdditionalText = 32771;
inline constexpr int kSpecifications = 32772;
inline constexpr int kPreferences = 32774;
inline constexpr int kSymbolOptions = 32775;
inline constexpr int kText = 32776;
inline constexpr int kColour = 32777;
inline constexpr int kSerialization = 32778;
inline constexpr int kRotate = 32779;
inline constexpr int kToolbar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kInputBar = 500;
inline constexpr int kZoomFit = 32791;
inline constexpr int kZoom100 = 32792;
inline constexpr int kZoom200 = 32793;
inline constexpr int kZoom400 = 32794;
inline constexpr int kZoomIn = 32795;
inline constexpr int kZoomOut = 32796;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kAbout = 57664;
}  // namespace cmd

// The main window as its commands see it.
class CommandFrame {
public:
    // The window, parent of the commands' dialogs.
    virtual QWidget* Window() = 0;
    virtual InputBar& Bar() = 0;
    virtual InputBarWidget& BarWidget() = 0;
    virtual CVGLView& View() = 0;
    virtual KitletChooser& Kitlets() = 0;
    virtual bool ChooseKitlet(int id) = 0;
    virtual void UpdateCommands() = 0;

protected:
    ~CommandFrame() = default;
};

}  // namespace vg
