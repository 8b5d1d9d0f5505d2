#include "app/helpcommands.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <climits>

#include "app/commandframe.h"
#include "app/dialogframe.h"
#include "app/helplinks.h"
#include "app/inputbarwidget.h"
#include "app/updatereply.h"
#include "entry/pipeline.h"
#include "model/catalogue.h"
#include "model/helppages.h"
#include "model/messages.h"
#include "model/strings.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

constexpr const char* kAgent = "ZOVOrizIve";
constexpr const char* kVanticNote =
    "The input of Vanticcode is a string of digit pairs\nwith the first ranging 01 through 94\nand the rest 00 through "
    "95.";

void Open(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace

UpdateCheck::UpdateCheck(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!reply_) return;
        timedOut_ = true;
        reply_->abort();
    });
}

UpdateCheck::~UpdateCheck() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
}

bool UpdateCheck::Start(const QUrl& url) {
    if (reply_) return false;
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/*");
    request.setRawHeader("User-Agent", kAgent);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    text_.clear();
    full_ = false;
    timedOut_ = false;
    reply_ = manager_.get(request);
    connect(reply_, &QIODevice::readyRead, this, [this] { Read(); });
    connect(reply_, &QNetworkReply::finished, this, [this] { Finished(); });
    timer_.start(timeoutMs_);
    return true;
}

void UpdateCheck::Read() {
    // Pieces of up to 1024 bytes, each appended as text (up to a NUL), until the
    // text holds 1024 characters.
    while (reply_ && !full_ && reply_->bytesAvailable() > 0) {
        QByteArray piece = reply_->read(static_cast<qint64>(kUpdateReplyLimit));
        const qsizetype nul = piece.indexOf('\0');
        if (nul >= 0) piece.truncate(nul);
        text_ += piece;
        if (static_cast<std::size_t>(text_.size()) >= kUpdateReplyLimit) {
            full_ = true;
            reply_->abort();
        }
    }
}

void UpdateCheck::Finished() {
    timer_.stop();
    QNetworkReply* reply = reply_;
    if (!reply) return;
    if (!full_) Read();
    reply_ = nullptr;
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!timedOut_ && status.isValid()) {
        // Whatever the transport said after the status line, the reply is judged.
        if (onJudged) onJudged(JudgeUpdateReply(status.toInt(), std::string_view(text_.constData(), text_.size())));
        return;
    }
    const QString reason = timedOut_ ? QStringLiteral("The operation timed out.") : reply->errorString();
    if (onFailed) onFailed(reason);
}

QStringList InstalledHelpFolders() {
    const QDir bin(QCoreApplication::applicationDirPath());
    QStringList folders = {
        bin.filePath(QString::fromLatin1(kHelpPageFolder)),
        bin.filePath(QStringLiteral("../share/vornel-glyph/") + QString::fromLatin1(kHelpPageFolder)),
    };
#ifdef VGL_BUILD_HELP
    folders << QStringLiteral(VGL_BUILD_HELP);
#endif
    return folders;
}

QString FindHelpFile(const QString& file) {
    const QString local = QDir::current().filePath(QString::fromLatin1(kHelpPageFolder) + '/' + file);
    if (QFileInfo(local).isFile()) return local;
    for (const QString& folder : InstalledHelpFolders()) {
        const QString path = QDir(folder).filePath(file);
        if (QFileInfo(path).isFile()) return QFileInfo(path).absoluteFilePath();
    }
    return {};
}

HelpCommands::HelpCommands(CommandFrame& frame) : frame_(frame), updateUrl_(QString::fromLatin1(links::kUpdateCheck)) {
    if (auto* button = qobject_cast<QAbstractButton*>(frame.BarWidget().Control(ctl::kHelp))) {
        button->setEnabled(true);
        QObject::connect(button, &QAbstractButton::clicked, frame.Window(), [this] { VariationPage(); });
    }
    update_.onJudged = [this](const UpdateJudgement& j) {
        RunDialogCommand(frame_, [&] {
            ShowUpdateJudgement(j, [this] { Open(updateUrl_); });
            return false;
        });
    };
    update_.onFailed = [this](const QString& reason) {
        RunDialogCommand(frame_, [&] {
            ShowMessage(kAppTitle, reason.toStdString(), MsgIcon::None);
            return false;
        });
    };
}

bool HelpCommands::Handles(int command) {
    return command == cmd::kHelpTopics || (command >= 57001 && command <= 57006);
}

void HelpCommands::Run(int command) {
    if (command == cmd::kHelpTopics) return Contents();
    if (command == 57003) return CheckForUpdates();
    if (const char* link = links::LinkOf(command)) Open(QUrl(QString::fromLatin1(link)));
}

void HelpCommands::CheckForUpdates() { update_.Start(updateUrl_); }

void HelpCommands::VariationPage() {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) {
        ShowMessage(kAppTitle, "_getcwd error", MsgIcon::None);
        ShowMessage(kAppTitle, "Cannot find curent directory.", MsgIcon::None);
        return;
    }
    const int v = SymbolSettings.Variation;
    const char* file = v >= 1 && v <= 146 ? HelpPageOf(v) : nullptr;
    if (!file) return;
    QString path =
        QString::fromLocal8Bit(cwd) + '/' + QString::fromLatin1(kHelpPageFolder) + '/' + QString::fromLatin1(file);
    path.replace('\\', '/');
    // Not in the current folder: the installed pages; a page found nowhere is
    // left to the desktop's own error handling.
    if (!QFileInfo(path).isFile()) {
        const QString installed = FindHelpFile(QString::fromLatin1(file));
        if (!installed.isEmpty()) path = installed;
    }
    Open(QUrl::fromLocalFile(path));
}

void HelpCommands::Contents() {
    RunDialogCommand(frame_, [this] {
        if (IsVantic128Class(SymbolSettings.Variation)) {
            ShowMessage("Help", kVanticNote, MsgIcon::Information);
        } else {
            QString path = FindHelpFile(QString::fromLatin1(kHelpContentsPage));
            if (path.isEmpty())
                path = QDir::current().filePath(QString::fromLatin1(kHelpPageFolder) + '/' + kHelpContentsPage);
            Open(QUrl::fromLocalFile(path));
        }
        return false;
    });
}

}  // namespace vg
