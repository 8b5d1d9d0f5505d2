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
    QAction* Action(int id) const { return actions_.value(id); }
    void UpdateCommands() override;

    InputBar& Bar() override { return *bar_; }
    InputBarWidget& BarWidget() override { return *barWidget_; }
    CVGLView& View() override { return *view_; }
    QWidget* Window() override { return this; }
    QMenu* SymbologyMenu() const { return symbologyMenu_; }
    KitletChooser& Kitlets() override { return kitlets_; }
    QToolBar* ToolBar() const { return toolbar_; }
    HelpCommands& Help() { return *help_; }
    ProofIndicator& Proof() { return *proof_; }

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

    QMap<int, QAction*> actions_;
    QList<QAction*> saveActions_;  // the two menu items of the save command
    QToolBar* toolbar_ = nullptr;
    QDockWidget* dock_ = nullptr;
    InputBarWidget* barWidget_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    CVGLView* view_ = nullptr;
    QMenu* symbologyMenu_ = nullptr;
    ProofIndicator* proof_ = nullptr;
    QTimer timer_;
    QMetaObject::Connection focusWatch_;
    QPointer<QLineEdit> lastEdit_;
    QtClock clock_;
    std::unique_ptr<InputBar> bar_;
    KitletChooser kitlets_;
    std::unique_ptr<HelpCommands> help_;
};

}  // namespace vg
