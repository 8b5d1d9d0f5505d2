// Vornel Glyph: the application.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QSessionManager>

#include "app/application.h"
#include "app/platform.h"
#include "model/atomicfile.h"
#include "model/strings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vg::RemoveTemporariesOnSignals();
    // Installed, the resources stand beside the program rather than in the source tree.
    const QString installed = QApplication::applicationDirPath() + QStringLiteral("/../share/vornel-glyph/resources");
    if (!qEnvironmentVariableIsSet("VGL_RESOURCE_DIR") && QDir(installed).exists())
        qputenv("VGL_RESOURCE_DIR", QDir(installed).canonicalPath().toUtf8());
    QApplication::setOrganizationName(QString::fromUtf8(vg::kProfileOrganisation));
    QApplication::setApplicationName(QString::fromUtf8(vg::kAppTitle));
    QApplication::setDesktopFileName(QStringLiteral("vornel-glyph"));

    vg::QtMessageSink messages;
    vg::SetMessageSink(&messages);
    vg::QSettingsProfileStore profile;

    QStringList files = QApplication::arguments();
    files.removeFirst();
    auto frame = vg::StartApplication(files, profile, vg::InstalledKitletFolders(), 3000);

    // The profile is saved at exit and when the session ends.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&profile, &frame](QSessionManager&) {
        vg::SaveProfile(profile);
        if (frame) vg::SaveViewSettings(profile, *frame);
        vg::SaveEnglishTextsSwitch(profile);
        profile.Sync();
    });
    const int status = QApplication::exec();
    vg::SaveViewSettings(profile, *frame);
    frame.reset();
    vg::SaveProfile(profile);
    vg::SaveEnglishTextsSwitch(profile);
    profile.Sync();
    vg::SetMessageSink(nullptr);
    return status;
}
