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
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_reply) return;
        m_timedOut = true;
        m_reply->abort();
    });
}

UpdateCheck::~UpdateCheck() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

bool UpdateCheck::Start(const QUrl& url) {
    if (m_reply) return false;
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/*");
    request.setRawHeader("User-Agent", kAgent);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_text.clear();
    m_full = false;
    m_timedOut = false;
    m_reply = m_manager.get(request);
    connect(m_reply, &QIODevice::readyRead, this, [this] { Read(); });
    connect(m_reply, &QNetworkReply::finished, this, [this] { Finished(); });
    m_timer.start(m_timeoutMs);
    return true;
}

void UpdateCheck::Read() {
    // Pieces of up to 1024 bytes, each appended as text (up to a NUL), until the
    // text holds 1024 characters.
    while (m_reply && !m_full && m_reply->bytesAvailable() > 0) {
        QByteArray piece = m_reply->read(static_cast<qint64>(kUpdateReplyLimit));
        const qsizetype nul = piece.indexOf('\0');
        if (nul >= 0) piece.truncate(nul);
        m_text += piece;
        if (static_cast<std::size_t>(m_text.size()) >= kUpdateReplyLimit) {
            m_full = true;
            m_reply->abort();
        }
    }
}

void UpdateCheck::Finished() {
    m_timer.stop();
    QNetworkReply* reply = m_reply;
    if (!reply) return;
    if (!m_full) Read();
    m_reply = nullptr;
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!m_timedOut && status.isValid()) {
        // Whatever the transport said after the status line, the reply is judged.
        if (onJudged) onJudged(JudgeUpdateReply(status.toInt(), std::string_view(m_text.constData(), m_text.size())));
        return;
    }
    const QString reason = m_timedOut ? QStringLiteral("The operation timed out.") : reply->errorString();
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

HelpCommands::HelpCommands(CommandFrame& frame) : m_frame(frame), m_updateUrl(QString::fromLatin1(links::kUpdateCheck)) {
    if (auto* button = qobject_cast<QAbstractButton*>(frame.BarWidget().Control(ctl::kHelp))) {
        button->setEnabled(true);
        QObject::connect(button, &QAbstractButton::clicked, frame.Window(), [this] { VariationPage(); });
    }
    m_update.onJudged = [this](const UpdateJudgement& j) {
        RunDialogCommand(m_frame, [&] {
            ShowUpdateJudgement(j, [this] { Open(m_updateUrl); });
            return false;
        });
    };
    m_update.onFailed = [this](const QString& reason) {
        RunDialogCommand(m_frame, [&] {
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

void HelpCommands::CheckForUpdates() { m_update.Start(m_updateUrl); }

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
    RunDialogCommand(m_frame, [this] {
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
