#include "app/mainfrm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "app/additionaltextdialog.h"
#include "app/dialogcommands.h"
#include "app/edittextdialog.h"
#include "app/filecommands.h"
#include "app/helpcommands.h"
#include "app/inputbarwidget.h"
#include "app/proofindicator.h"
#include "app/symbolclipboard.h"
#include "app/symboloptionsdialog.h"
#include "app/vglview.h"
#include "entry/pipeline.h"
#include "model/catalogue.h"
#include "model/messages.h"
#include "model/settingsfields.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "output/batch.h"
#include "output/filenaming.h"
#include "output/generate.h"
#include "output/metafilewriter.h"
#include "output/reopen.h"

namespace vg {
namespace {

struct CommandDef {
    int id;
    const char* text;
    std::vector<QKeySequence> keys;
    const char* icon;  // toolbar picture in resources/app
    const char* tip;   // status-bar text
};

// Menu items by popup, in their stored order; 0 is a separator.
const char* const kPopups[] = {"文件(&F)", "编辑(&E)", "条码(&B)", "查看(&V)", "帮助(&H)"};

const std::vector<std::vector<CommandDef>>& Popups() {
    using K = QKeySequence;
    static const std::vector<std::vector<CommandDef>> popups = {
        {
            {cmd::kOpenGraphic, "打开条码编辑(&O) Ctrl+O", {K("Ctrl+O")}, nullptr, "Open a saved graphic for editing"},
            {cmd::kOpenDataFile, "打开数据文件(&F)...", {}, nullptr, "Make a graphic for every record of a data file"},
            {cmd::kSaveKitletAs, "保存自定格式到..Ctrl+D", {K("Ctrl+D")}, nullptr, "Save the settings as a Kitlet"},
            {0, nullptr, {}, nullptr, nullptr},
            {cmd::kSave, "另存为(&A)...", {}, "save", "Save the symbol"},
            {cmd::kSave, "保存(&S)...      Ctrl+S", {K("Ctrl+S")}, nullptr, "Save the symbol"},
            {0, nullptr, {}, nullptr, nullptr},
            {cmd::kExit, "退出(&X)", {}, nullptr, "Quit the application"},
        },
        {
            {cmd::kUndo, "撤销(&U)\tCtrl+Z", {K("Ctrl+Z"), K("Alt+Backspace")}, nullptr, "Undo the last edit"},
            {0, nullptr, {}, nullptr, nullptr},
            {cmd::kCut, "剪切(&T)\tCtrl+X", {K("Ctrl+X"), K("Shift+Del")}, nullptr, "Cut the selection"},
            {cmd::kCopy,
             "复制(&C)\tCtrl+C",
             {K("Ctrl+C"), K("Ctrl+Ins")},
             nullptr,
             "Copy the selection, or the symbol as SVG, PNG and EMF"},
            {cmd::kPaste, "粘贴(&P)\tCtrl+V", {K("Ctrl+V"), K("Shift+Ins")}, nullptr, "Insert the clipboard"},
            {cmd::kClear, "删除(&D)\tDel", {}, nullptr, "Delete the selection"},
            {cmd::kSelectAll, "选择所有(&A)\tCtrl+A", {K("Ctrl+A")}, nullptr, "Select the whole field"},
        },
        {
            {cmd::kAdditionalText, "附加文本(&A)...Ctrl+G", {K("Ctrl+G")}, "addtext", "Additional text"},
            {cmd::kSpecifications, "详细说明(&F)...Ctrl+F", {K("Ctrl+F")}, nullptr, "Specification block"},
            {cmd::kPreferences, "参数选项(&P)...Ctrl+W", {K("Ctrl+W")}, "preferences", "Preferences"},
            {cmd::kSymbolOptions, "条码选项(&S)...Ctrl+Y", {K("Ctrl+Y")}, "symbol", "Symbol options"},
            {cmd::kText, "文本(&T)...    Ctrl+T", {K("Ctrl+T")}, "text", "Human-readable text"},
            {cmd::kColour, "颜色(&C)...    Ctrl+K", {K("Ctrl+K")}, "colour", "Colours"},
            {cmd::kSerialization, "批量条码(&L)...Ctrl+L", {K("Ctrl+L")}, "series", "Numbered series"},
            {cmd::kRotate, "旋转90°(&X)...Ctrl+R", {K("Ctrl+R")}, "rotate", "Rotate the symbol 90 degrees clockwise"},
        },
        {
            {cmd::kToolbar, "工具栏(&T)", {}, nullptr, "Show or hide the toolbar"},
            {cmd::kStatusBar, "状态栏(&S)", {}, nullptr, "Show or hide the status bar"},
            {cmd::kInputBar, "输入栏(&I)", {}, nullptr, "Show or hide the input bar"},
            {0, nullptr, {}, nullptr, nullptr},
            {cmd::kZoomFit, "适合窗口(&F)", {}, nullptr, "Fit the symbol in the window"},
            {cmd::kZoom100, "100%", {K("Ctrl+0")}, nullptr, "Show the symbol at its size"},
            {cmd::kZoom200, "200%", {}, nullptr, "Show the symbol twice its size"},
            {cmd::kZoom400, "400%", {}, nullptr, "Show the symbol four times its size"},
            {cmd::kZoomIn, "放大(&I)\tCtrl++", {K("Ctrl++"), K("Ctrl+=")}, nullptr, "Zoom in"},
            {cmd::kZoomOut, "缩小(&O)\tCtrl+-", {K("Ctrl+-")}, nullptr, "Zoom out"},
        },
        {
            {cmd::kHelpTopics, "帮助主题(&H)", {K("F1"), K("Shift+F1")}, nullptr, "Help"},
            {0, nullptr, {}, nullptr, nullptr},
            {57001, "KLD 主页", {}, nullptr, "Home page"},
            {57002, "下载PDF使用手册", {}, nullptr, "Download the PDF manual"},
            {57003, "检测新版本", {}, nullptr, "Check for a new version"},
            {57004, "购买附加的拷贝", {}, nullptr, "Buy additional copies"},
            {57005, "技术支持", {}, nullptr, "Technical support"},
            {57006, "更新条码软件", {}, nullptr, "Update the software"},
            {0, nullptr, {}, nullptr, nullptr},
            {cmd::kAbout, "关于Vornel Glyph...", {}, nullptr, "About Vornel Glyph"},
        },
    };
    return popups;
}

// Toolbar buttons in their order.
constexpr int kToolbarIds[] = {cmd::kPreferences, cmd::kSymbolOptions, cmd::kText,          cmd::kAdditionalText,
                               cmd::kColour,      cmd::kRotate,        cmd::kSerialization, cmd::kSave};

bool IsEditCommand(int id) {
    return OneOf(id, {cmd::kUndo, cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kClear, cmd::kSelectAll});
}

QString ResourcePath(const char* name) {
    return qEnvironmentVariable("VGL_RESOURCE_DIR", QString::fromUtf8(VGL_RESOURCE_DIR)) + QStringLiteral("/app/") +
           QString::fromUtf8(name);
}

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

// The shipped folder (the first of the installed ones that exists), the current
// folder's and the user's, in the order the later win.
std::vector<std::string> KitletFolders(const std::vector<std::string>& installed) {
    std::vector<std::string> folders;
    for (const std::string& f : installed) {
        if (!f.empty() && QFileInfo(QString::fromStdString(f)).isDir()) {
            folders.push_back(f);
            break;
        }
    }
    const QString here = QDir::current().filePath(QStringLiteral("Kitlets"));
    if (QFileInfo(here).isDir() &&
        (folders.empty() ||
         QFileInfo(here).canonicalFilePath() != QFileInfo(QString::fromStdString(folders[0])).canonicalFilePath()))
        folders.push_back(Utf8(here));
    folders.push_back(UserKitletFolder());
    return folders;
}

}  // namespace

std::string UserKitletFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::homePath() + QStringLiteral("/.local/share");
    return Utf8(data + QStringLiteral("/vornel-glyph/Kitlets"));
}

CMainFrame::CMainFrame(const std::vector<std::string>& kitletFolders) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setAcceptDrops(true);
    setWindowIcon(QIcon(ResourcePath("vornel-glyph.xpm")));

    m_view = new CVGLView;
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_scroll);

    BuildMenus();
    statusBar()->showMessage(QStringLiteral("Ready"));

    m_barWidget = new InputBarWidget;
    m_dock = new QDockWidget(QStringLiteral("Input"), this);
    m_dock->setObjectName(QStringLiteral("InputBar"));
    m_dock->setWidget(m_barWidget);
    m_dock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    m_dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::TopDockWidgetArea, m_dock);

    m_bar = std::make_unique<InputBar>(*m_barWidget, m_clock);
    m_view->SetReadyQuery([this] { return m_bar->SymbolReady(); });
    m_barWidget->onFieldChanged = [this](int id) {
        m_bar->FieldChanged(id);
        UpdateCommands();
    };
    m_barWidget->onFimButton = [this](int id) {
        m_bar->FimButton(id);
        UpdateCommands();
    };
    m_barWidget->onRedraw = [this] { Redraw(); };
    m_barWidget->onSourceChosen = [this](int item) { SourceChosen(item); };
    m_barWidget->onKeyboardInput = [] { DataFilePending = 0; };
    m_barWidget->onKeystroke = [this] { m_bar->Keystroke(); };
    m_proof = new ProofIndicator([this] { return m_bar && m_bar->SymbolReady(); }, this);
    statusBar()->addPermanentWidget(m_proof);
    m_barWidget->onPresetDrop = [this](const QPoint& at) {
        if (m_symbologyMenu) {
            m_symbologyMenu->exec(at);
        }
    };

    // The square window, centred, no smaller than itself; wide enough for the input bar.
    const QScreen* screen = QGuiApplication::primaryScreen();
    int side = screen && std::lround(screen->logicalDotsPerInch()) == 96 ? 332 : 354;
    side = std::max(side, m_barWidget->minimumWidth() + 8);
    resize(side, side);
    setMinimumSize(side, side);
    if (screen) move(screen->availableGeometry().center() - QPoint(side / 2, side / 2));

    // The Symbology menu: the shipped Kitlets, a Kitlets folder in the current
    // folder and the user's own, merged by name.
    m_kitlets.BuildMerged(KitletFolders(kitletFolders));
    BuildSymbologyMenu();

    // The stored variation's layout, run once on the stored texts.
    m_bar->SetCreating(true);
    m_bar->ResetSourceBox();
    m_bar->SetUpLayout();
    if (SymbolSettings.Family != 0 && SymbolSettings.Variation != 0)
        m_barWidget->SetPresetText(SymbolSettings.VariationName);
    m_bar->TakeReminderCopies();
    m_bar->SetCreating(false);
    m_help = std::make_unique<HelpCommands>(*this);

    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer.start(100);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this] {
        if (QLineEdit* edit = m_barWidget->FocusedEdit()) m_lastEdit = edit;
        UpdateCommands();
    });
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    disconnect(m_focusWatch);
    m_timer.stop();
}

QAction* CMainFrame::MakeAction(int id, const char* text, const char* icon) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    if (icon) action->setIcon(QIcon(ResourcePath((std::string(icon) + ".xpm").c_str())));
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    return action;
}

void CMainFrame::BuildMenus() {
    const auto& popups = Popups();
    for (std::size_t p = 0; p < popups.size(); ++p) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(kPopups[p]));
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
        for (const CommandDef& c : popups[p]) {
            if (c.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = MakeAction(c.id, c.text, c.icon);
            action->setStatusTip(QString::fromUtf8(c.tip));
            menu->addAction(action);
            if (c.id == cmd::kSave) m_saveActions.append(action);
            if (!m_actions.contains(c.id)) m_actions.insert(c.id, action);
            // Shortcuts of their own: the stored texts already name them.
            for (const QKeySequence& key : c.keys) {
                auto* shortcut = new QShortcut(key, this);
                connect(shortcut, &QShortcut::activated, this, [this, id = c.id] {
                    if (CommandEnabled(id)) Run(id);
                });
            }
        }
    }
    for (int id : {cmd::kToolbar, cmd::kStatusBar, cmd::kInputBar}) m_actions[id]->setCheckable(true);
    auto* zooms = new QActionGroup(this);
    for (int id : {cmd::kZoomFit, cmd::kZoom100, cmd::kZoom200, cmd::kZoom400}) {
        m_actions[id]->setCheckable(true);
        zooms->addAction(m_actions[id]);
    }
    // Ctrl+N and the pane keys are taken but do nothing, as there is one pane.
    for (const char* key : {"Ctrl+N", "F6", "Shift+F6"}) new QShortcut(QKeySequence(QString::fromLatin1(key)), this);

    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar"));
    m_toolbar->setIconSize(QSize(32, 32));
    for (int id : kToolbarIds) m_toolbar->addAction(m_actions[id]);
}

void CMainFrame::BuildSymbologyMenu() {
    delete m_symbologyMenu;
    m_symbologyMenu = nullptr;
    if (!m_kitlets.Menu().Exists()) return;
    m_symbologyMenu = new QMenu(this);
    AddEntries(m_symbologyMenu, m_kitlets.Menu().entries);
}

void CMainFrame::AddEntries(QMenu* menu, const std::vector<KitletMenuEntry>& entries) {
    for (const KitletMenuEntry& e : entries) {
        if (e.IsPopup()) {
            AddEntries(menu->addMenu(QString::fromStdString(e.text)), e.entries);
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(e.text));
        action->setCheckable(true);
        action->setData(e.id);
        connect(action, &QAction::triggered, this, [this, id = e.id] { ChooseKitlet(id); });
    }
    // The check mark follows the last chosen item.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* a : menu->actions())
            if (a->isCheckable()) a->setChecked(a->data().toInt() == m_kitlets.LastId());
    });
}

bool CMainFrame::CommandRule(int id) const {
    const SettingsRecord& s = SymbolSettings;
    const bool ready = m_bar && m_bar->SymbolReady();
    if (id == cmd::kCopy) {
        // The selected text, or else the symbol.
        const QLineEdit* edit = m_barWidget->BarEnabledAndVisible() ? CommandEdit() : nullptr;
        return (edit && edit->hasSelectedText()) || ready;
    }
    if (IsEditCommand(id)) {
        if (!m_barWidget->BarEnabledAndVisible()) return false;
        const QLineEdit* edit = CommandEdit();
        if (!edit) return false;
        if (edit == m_barWidget->Edit(ctl::kMain2) && s.Family == 0 && s.Variation == 0) return false;
        switch (id) {
        case cmd::kUndo: return edit->isUndoAvailable();
        case cmd::kCut:
        case cmd::kCopy:
        case cmd::kClear: return edit->hasSelectedText();
        case cmd::kPaste: return !QApplication::clipboard()->text().isEmpty();
        case cmd::kSelectAll: return edit->selectedText().size() != edit->text().size();
        }
    }
    switch (id) {
    case cmd::kSave:
    case cmd::kColour: return ready;
    case cmd::kAdditionalText:
        return ready && s.Family != kFamilyFim && s.Family != kFamilyPostnet && !IsBooklandTextClass(s.Variation);
    case cmd::kSymbolOptions: return ready && !IsBooklandTextClass(s.Variation);
    case cmd::kText: return ready && s.Family != kFamilyFim && s.Family != kFamilyPostnet;
    case cmd::kSerialization: return ready && s.Family != kFamilyFim;
    case cmd::kRotate: return ready && !IsVantic128Class(s.Variation);
    default: return true;
    }
}

bool CMainFrame::CommandEnabled(int id) const {
    const QAction* a = m_actions.value(id);
    return a && a->isEnabled();
}

void CMainFrame::UpdateCommands() {
    if (!m_bar) return;
    for (auto it = m_actions.begin(); it != m_actions.end(); ++it) it.value()->setEnabled(CommandRule(it.key()));
    for (QAction* a : m_saveActions) a->setEnabled(m_actions[cmd::kSave]->isEnabled());
    m_actions[cmd::kToolbar]->setChecked(m_toolbar->isVisible());
    m_actions[cmd::kStatusBar]->setChecked(statusBar()->isVisible());
    m_actions[cmd::kInputBar]->setChecked(m_dock && m_dock->isVisible());
    const int zoom = m_view->Zoom();
    m_actions[cmd::kZoomFit]->setChecked(zoom == CVGLView::kFit);
    m_actions[cmd::kZoom100]->setChecked(zoom == 100);
    m_actions[cmd::kZoom200]->setChecked(zoom == 200);
    m_actions[cmd::kZoom400]->setChecked(zoom == 400);
}

void CMainFrame::Run(int id) {
    UpdateCommands();
    if (!CommandRule(id)) return;
    if (IsEditCommand(id)) return EditCommand(id);
    switch (id) {
    case cmd::kOpenGraphic: OpenGraphicCommand(); break;
    case cmd::kSaveKitletAs: SaveKitletAs(); break;
    case cmd::kSave: SaveGraphicCommand(*this, m_proof); break;
    case cmd::kOpenDataFile: OpenDataFileCommand(*this); break;
    case cmd::kSerialization: SerializationCommand(*this); break;
    case cmd::kExit: close(); break;
    case cmd::kRotate: Rotate(); break;
    case cmd::kSymbolOptions: RunSymbolOptions(*this); break;
    case cmd::kText: RunEditText(*this); break;
    case cmd::kAdditionalText: RunAdditionalText(*this); break;
    case cmd::kColour: ColourCommand(*this); break;
    case cmd::kSpecifications: SpecificationsCommand(*this); break;
    case cmd::kPreferences: PreferencesCommand(*this); break;
    case cmd::kAbout: AboutCommand(*this); break;
    case cmd::kToolbar: m_toolbar->setVisible(!m_toolbar->isVisible()); break;
    case cmd::kStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); break;
    case cmd::kInputBar: m_dock->setVisible(!m_dock->isVisible()); break;
    case cmd::kZoomFit: m_view->SetZoom(CVGLView::kFit); break;
    case cmd::kZoom100: m_view->SetZoom(100); break;
    case cmd::kZoom200: m_view->SetZoom(200); break;
    case cmd::kZoom400: m_view->SetZoom(400); break;
    case cmd::kZoomIn: m_view->ZoomIn(); break;
    case cmd::kZoomOut: m_view->ZoomOut(); break;
    default:
        if (HelpCommands::Handles(id)) m_help->Run(id);
        break;
    }
    UpdateCommands();
}

QLineEdit* CMainFrame::CommandEdit() const {
    if (QLineEdit* edit = m_barWidget->FocusedEdit()) return edit;
    // Opened from the keyboard, the menu bar or its menu holds the focus.
    const QWidget* focus = QApplication::focusWidget();
    const bool menu =
        QApplication::activePopupWidget() || qobject_cast<const QMenuBar*>(focus) || qobject_cast<const QMenu*>(focus);
    return menu && m_lastEdit && m_lastEdit->isVisible() ? m_lastEdit.data() : nullptr;
}

void CMainFrame::EditCommand(int id) {
    QLineEdit* edit = CommandEdit();
    if (id == cmd::kCopy && !(edit && edit->hasSelectedText())) {
        if (!CopySymbolToClipboard())
            ShowMessage(kAppTitle, "The symbol could not be copied to the clipboard.", MsgIcon::Exclamation);
        return;
    }
    if (!edit) return;
    switch (id) {
    case cmd::kUndo: edit->undo(); break;
    case cmd::kCut: edit->cut(); break;
    case cmd::kCopy: edit->copy(); break;
    case cmd::kPaste: edit->paste(); break;
    case cmd::kClear: edit->del(); break;
    case cmd::kSelectAll: edit->selectAll(); break;
    }
}

void CMainFrame::FocusFirstInput() {
    const int v = SymbolSettings.Variation;
    int id = 0;
    switch (m_bar->Layout()) {
    case 1: id = ctl::kMain1; break;
    case 2: id = ctl::kMain2; break;
    case 4: id = ctl::kMain4; break;
    case 5: id = ctl::kMain5; break;
    case 6: id = ctl::kMain6; break;
    case 7: id = ctl::kCouponUpc; break;
    case 3: id = v >= 30 && v <= 33 ? ctl::kFimA + (v - 30) : 0; break;
    default: break;
    }
    if (SymbolSettings.Family == kFamilySpcn) id = 0;
    if (id) m_barWidget->SetFocus(id);
}

void CMainFrame::Rotate() {
    SymbolSettings.Rotation = (SymbolSettings.Rotation / 90 * 90 + 90) % 360;
    Redraw();
    m_bar->ResetSourceBox();
}

bool CMainFrame::ChooseKitlet(int id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool applied = m_kitlets.Choose(id);
    QApplication::restoreOverrideCursor();
    if (!applied) return false;
    ShowClamped(m_kitlets.PresetName(), m_kitlets.Clamped());
    m_bar->SetUpLayout();
    m_barWidget->SetPresetText(SymbolSettings.VariationName);
    Redraw();
    UpdateCommands();
    return true;
}

bool CMainFrame::OpenGraphic(const QString& path) {
    const std::string file = Utf8(path);
    std::vector<std::string> clamped;
    if (SavedGraphicKindOf(file) == SavedGraphicKind::None || !OpenSavedGraphic(file, nullptr, nullptr, &clamped)) {
        ShowMessage(kAppTitle, "Unable to open " + file + ".\nThis format file cannot be opened by this application.",
                    MsgIcon::Exclamation);
        m_bar->ResetSourceBox();
        return false;
    }
    const int programmatic = ProgrammaticInput;
    ProgrammaticInput = 1;
    m_bar->SetUpLayout(true);
    m_barWidget->SetPresetText(SymbolSettings.VariationName);
    ProgrammaticInput = programmatic;
    m_bar->SourceFileOpened(Utf8(QFileInfo(path).fileName()));
    ShowClamped(Utf8(QFileInfo(path).fileName()), clamped);
    DataFilePending = 0;
    Redraw();
    UpdateCommands();
    return true;
}

void CMainFrame::ShowClamped(const std::string& source, const std::vector<std::string>& changed) {
    if (changed.empty()) return;
    statusBar()->showMessage(QString::fromStdString(source + ": " + ClampedFieldsText(changed)));
}

void CMainFrame::OpenGraphicCommand() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      QStringLiteral("Vornel Glyph files (*.eps *.wmf *.emf)"));
    if (!path.isEmpty()) OpenGraphic(path);
}

void CMainFrame::SourceChosen(int item) {
    if (item == 1) return OpenDataFileCommand(*this);
    if (item == 2) OpenGraphicCommand();
    if (m_barWidget->SourceItemCount() <= 3 || m_barWidget->SourceIndex() != 3) m_bar->ResetSourceBox();
}

void CMainFrame::SaveKitletAs() {
    const QString folder = QString::fromStdString(m_kitlets.SaveFolder());
    QDir().mkpath(folder);
    const QString name = FromRecord(DefaultFileName(SymbolSettings.Family, SymbolSettings.Variation));
    QFileDialog dialog(this, QString::fromStdString(LoadString(61208, "Save Kitlet\u00AE As")), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    if (m_kitlets.SaveAs(Utf8(dialog.selectedFiles().first()))) BuildSymbologyMenu();
}

void CMainFrame::Tick() {
    m_bar->Tick();
    m_proof->Poll();
    UpdateCommands();
}

void CMainFrame::Redraw() {
    m_view->update();
    if (m_proof) m_proof->SymbolChanged();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    m_timer.stop();
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && m_bar) m_bar->ShowFieldHelp();
    QMainWindow::changeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    // Only a drop of exactly one file is opened.
    if (urls.size() == 1 && urls.front().isLocalFile()) OpenGraphic(urls.front().toLocalFile());
    event->acceptProposedAction();
}

}  // namespace vg
