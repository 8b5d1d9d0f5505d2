#include "app/application.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include "app/platform.h"
#include "app/splashdlg.h"
#include "app/uitexts.h"
#include "app/vglview.h"
#include "model/strings.h"

namespace vg {

std::vector<std::string> InstalledKitletFolders() {
    const QDir bin(QCoreApplication::applicationDirPath());
    std::vector<std::string> folders = {
        bin.filePath(QStringLiteral("Kitlets")).toStdString(),
        bin.filePath(QStringLiteral("../share/vornel-glyph/Kitlets")).toStdString(),
    };
#ifdef VGL_BUILD_KITLETS
    folders.push_back(VGL_BUILD_KITLETS);
#endif
    return folders;
}

namespace {
constexpr const char* kViewZoomKey = "View Zoom";
}

void LoadViewSettings(const ProfileStore& profile, CMainFrame& frame) {
    const std::optional<int32_t> zoom = profile.ReadInt(kViewZoomKey);
    if (zoom && (*zoom == CVGLView::kFit || (*zoom >= CVGLView::kSteps[0] && *zoom <= 800)))
        frame.View().SetZoom(*zoom);
}

void SaveViewSettings(ProfileStore& profile, CMainFrame& frame) { profile.WriteInt(kViewZoomKey, frame.View().Zoom()); }

std::unique_ptr<CMainFrame> StartApplication(const QStringList& files, const ProfileStore& profile,
                                             const std::vector<std::string>& kitletFolders, int splashMs) {
    const std::vector<std::string> clamped = LoadProfile(profile, StandardProfileFallbacks());
    // The first start follows the locale: Chinese ones the stored texts, others English.
    if (profile.ReadInt(kEnglishTextsKey))
        LoadEnglishTextsSwitch(profile);
    else
        SetEnglishTexts(QLocale::system().language() != QLocale::Chinese);
    UiTextWatcher::Install();
    auto frame = std::make_unique<CMainFrame>(kitletFolders);
    LoadViewSettings(profile, *frame);
    frame->show();
    frame->ShowClamped("Profile", clamped);
    if (!files.isEmpty()) frame->OpenGraphic(files.front());
    frame->setWindowTitle(QString::fromUtf8(kAppTitle));
    frame->FocusFirstInput();
    // The welcome picture over the working window; it takes no input away.
    if (splashMs > 0) {
        auto* splash = new SplashDialog(splashMs, frame.get());
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->setAttribute(Qt::WA_ShowWithoutActivating);
        splash->setWindowModality(Qt::NonModal);
        splash->show();
    }
    return frame;
}

}  // namespace vg
