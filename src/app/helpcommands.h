// The Help menu, the input bar's help button and the update check.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace vg {

class CommandFrame;
struct UpdateJudgement;

// One update check at a time: a GET of the check address without following
// redirects, read up to its first 1024 characters, given up after a timeout.
class UpdateCheck : public QObject {
public:
    explicit UpdateCheck(QObject* parent = nullptr);
    ~UpdateCheck() override;
    // Starts a check; false when one is running already.
    bool Start(const QUrl& url);
    bool Running() const { return m_reply != nullptr; }
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // Called with the judgement of a reply, or with the reason the transport gave.
    std::function<void(const UpdateJudgement&)> onJudged;
    std::function<void(const QString& reason)> onFailed;

private:
    void Read();
    void Finished();

    QNetworkAccessManager m_manager;  // keeps its connection to the server for the next check
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    QByteArray m_text;
    bool m_full = false;
    bool m_timedOut = false;
    int m_timeoutMs = 15000;
};

// The help folder "VariationWizard" with the file: in the current folder first,
// then beside the installed program, then where the build wrote it. Empty when
// none holds the file.
QString FindHelpFile(const QString& file);
// The folders searched after the current one.
QStringList InstalledHelpFolders();

class HelpCommands {
public:
    explicit HelpCommands(CommandFrame& frame);
    static bool Handles(int command);
    void Run(int command);
    // The input bar's help button: the page of the current variation.
    void VariationPage();
    // F1: the contents page, or the note on Vantic128 input.
    void Contents();
    // The update check (57003); its address can be changed for tests.
    void CheckForUpdates();
    UpdateCheck& Updates() { return m_update; }
    void SetUpdateUrl(const QUrl& url) { m_updateUrl = url; }

private:
    CommandFrame& m_frame;
    UpdateCheck m_update;
    QUrl m_updateUrl;
};

}  // namespace vg
