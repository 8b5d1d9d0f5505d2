// The main window: menu, toolbar, status bar, input bar, view, the commands
// with their enable rules, the Symbology menu and the 100 ms timer.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/commandframe.h"
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

// The user's own Kitlets: $XDG_DATA_HOME/vornel-glyph/Kitlets.
std::string UserKitletFolder();

class CMainFrame : public QMainWindow, public CommandFrame {
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
    bool ChooseKitlet(int id) override;
    // Says in the status bar which fields a file, a Kitlet or the profile held
    // out of range (ClampToValidValues); nothing when none.
    void ShowClamped(const std::string& source, const std::vector<std::string>& changed);

    // What a command's rule says now, and whether its action is enabled.
    bool CommandRule(int id) const;
    bool CommandEnabled(int id) const;
    QAction* Action(int id) const { return m_actions.value(id); }
    void UpdateCommands() override;

    InputBar& Bar() override { return *m_bar; }
    InputBarWidget& BarWidget() override { return *m_barWidget; }
    CVGLView& View() override { return *m_view; }
    QWidget* Window() override { return this; }
    QMenu* SymbologyMenu() const { return m_symbologyMenu; }
    KitletChooser& Kitlets() override { return m_kitlets; }
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
