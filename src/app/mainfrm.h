// The main window: menu, toolbar, status bar, input bar, view, the commands
// with their enable rules, the Symbology menu and the 100 ms timer.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/platform.h"
#include "entry/inputbar.h"
#include "model/kitletmenu.h"

class QAction;
class QLineEdit;
class QDockWidget;
class QMenu;
class QScrollArea;
class QToolBar;

namespace vg {

class CVGLView;
class HelpCommands;
class InputBarWidget;
class ProofIndicator;

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

// The user's own Kitlets: $XDG_DATA_HOME/vornel-glyph/Kitlets.
std::string UserKitletFolder();

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window from SymbolSettings (the profile is loaded before).
    // kitletFolders: where the Kitlets folder is looked for after the current folder.
    explicit CMainFrame(const std::vector<std::string>& kitletFolders = {});
    ~CMainFrame() override;

    // Gives the focus to the first input field of the layout.
    void FocusFirstInput();
    // Opens a saved graphic (.eps, .wmf, .emf); name goes into the input-source box.
    bool OpenGraphic(const QString& path);
    // The commands.
    void Rotate();
    bool ChooseKitlet(int id);
    // Says in the status bar which fields a file, a Kitlet or the profile held
    // out of range (ClampToValidValues); nothing when none.
    void ShowClamped(const std::string& source, const std::vector<std::string>& changed);

    // What a command's rule says now, and whether its action is enabled.
    bool CommandRule(int id) const;
    bool CommandEnabled(int id) const;
    QAction* Action(int id) const { return m_actions.value(id); }
    void UpdateCommands();

    InputBar& Bar() { return *m_bar; }
    InputBarWidget& BarWidget() { return *m_barWidget; }
    CVGLView& View() { return *m_view; }
    QMenu* SymbologyMenu() const { return m_symbologyMenu; }
    KitletChooser& Kitlets() { return m_kitlets; }
    QToolBar* ToolBar() const { return m_toolbar; }
    HelpCommands& Help() { return *m_help; }
    ProofIndicator& Proof() { return *m_proof; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildSymbologyMenu();
    void AddEntries(QMenu* menu, const std::vector<KitletMenuEntry>& entries);
    QAction* MakeAction(int id, const char* text, const char* icon = nullptr);
    void Run(int id);
    void EditCommand(int id);
    // The bar's field the edit commands work on: the focused one, or the one
    // that had the focus when the menu bar took it.
    QLineEdit* CommandEdit() const;
    void SaveKitletAs();
    void OpenGraphicCommand();
    void SourceChosen(int item);
    void Tick();
    void Redraw();

    QMap<int, QAction*> m_actions;
    QList<QAction*> m_saveActions;  // the two menu items of the save command
    QToolBar* m_toolbar = nullptr;
    QDockWidget* m_dock = nullptr;
    InputBarWidget* m_barWidget = nullptr;
    QScrollArea* m_scroll = nullptr;
    CVGLView* m_view = nullptr;
    QMenu* m_symbologyMenu = nullptr;
    ProofIndicator* m_proof = nullptr;
    QTimer m_timer;
    QMetaObject::Connection m_focusWatch;
    QPointer<QLineEdit> m_lastEdit;
    QtClock m_clock;
    std::unique_ptr<InputBar> m_bar;
    KitletChooser m_kitlets;
    std::unique_ptr<HelpCommands> m_help;
};

}  // namespace vg
