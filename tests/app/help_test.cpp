// The Help menu, the variation pages and the update check against a server on
// the loopback address.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "app/helpcommands.h"
#include "app/helplinks.h"
#include "app/updatereply.h"
#include "appfixture.h"
#include "entry/pipeline.h"
#include "model/catalogue.h"
#include "model/helppages.h"

namespace vg {
namespace {

using apptest::Started;

// Catches what the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

// One reply for every request, or silence.
class LoopbackServer : public QObject {
public:
    QByteArray reply;  // empty: never answers
    QByteArray request;
    LoopbackServer() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    request += s->readAll();
                    if (request.contains("\r\n\r\n") && !reply.isEmpty()) {
                        s->write(reply);
                        s->disconnectFromHost();
                    }
                });
            }
        });
    }
    QUrl Url() const {
        return QUrl(
            QStringLiteral("http://127.0.0.1:%1/products/upgrade_check.php?id=02148").arg(m_server.serverPort()));
    }

private:
    QTcpServer m_server;
};

QByteArray Http(int status, const QByteArray& body) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) +
                      " X\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n";
    if (status == 301) head += "Location: http://127.0.0.1:1/elsewhere\r\n";
    return head + "\r\n" + body;
}

// The reply body: 11 characters, the version field of 6, the flag, the rest.
std::string Body(const char* version, char flag, const std::string& rest) {
    return std::string("<!--VERSION") + version + flag + rest;
}

TEST(UpdateReply, Judgement) {
    const std::string long1100(1100, 'x');
    struct Case {
        const char* name;
        int status;
        std::string text;
        UpdateVerdict verdict;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {"6.03 without M", 200, Body("  6.03", 'x', "hello-->"), UpdateVerdict::Newer, std::nullopt},
        {"6.02 is not newer", 200, Body("  6.02", 'x', "--"), UpdateVerdict::UpToDate, std::nullopt},
        {"smaller", 200, Body("5.9   ", 'M', "old-->"), UpdateVerdict::UpToDate, "old"},
        {"18 characters", 200, Body("  6.03", 'x', "").substr(0, 18), UpdateVerdict::CannotCheck, std::nullopt},
        {"19 characters", 200, Body("  6.03", 'M', "a"), UpdateVerdict::Newer, std::nullopt},
        {"--> at 18", 200, Body("  6.03", 'M', "-->message-->"), UpdateVerdict::Newer, std::nullopt},
        {"--> at 25", 200, Body("  6.03", 'M', "1234567-->rest"), UpdateVerdict::Newer, "1234567"},
        {"1000-character cut", 200, Body("  6.02", 'M', long1100 + "-->"), UpdateVerdict::UpToDate,
         std::string(1000, 'x')},
        {"early --> hides a later one", 200, "<!-->ERSION  6.03Mtext-->", UpdateVerdict::Newer, std::nullopt},
        {"no number", 200, Body("  v6.1", 'x', "--"), UpdateVerdict::UpToDate, std::nullopt},
        {"text after the number", 200, Body("7.0abc", 'x', "--"), UpdateVerdict::Newer, std::nullopt},
        {"status 301", 301, Body("  6.03", 'x', "------"), UpdateVerdict::CannotCheck, std::nullopt},
        {"status 404", 404, Body("  6.03", 'x', "------"), UpdateVerdict::CannotCheck, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UpdateJudgement j = JudgeUpdateReply(c.status, c.text);
        EXPECT_EQ(j.verdict, c.verdict);
        EXPECT_EQ(j.message, c.message);
    }
}

class Help : public ::testing::Test {
protected:
    void SetUp() override { apptest::ClearProfile(); }
    test::ScopedRecordingSink messages;
    UrlCatcher urls;
};

// Runs the check against the server until it has been judged.
void Check(Started& app, const QUrl& url, int timeoutMs = 4000) {
    HelpCommands& help = app.frame->Help();
    help.SetUpdateUrl(url);
    help.Updates().SetTimeout(timeoutMs);
    app.frame->Action(57003)->trigger();
    QElapsedTimer clock;
    clock.start();
    while (help.Updates().Running() && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
}

TEST_F(Help, UpdateCheckAgainstALoopbackServer) {
    Started app;
    struct Case {
        const char* name;
        QByteArray reply;
        std::vector<std::string> texts;
    };
    const std::string newer = kNewerVersionAvailable;
    const Case cases[] = {
        {"6.03 without M", Http(200, "<!--VERSION  6.03xhello-->"), {newer}},
        {"6.02", Http(200, "<!--VERSION  6.02Mthe news-->"), {"the news", kUpToDate}},
        {"18 characters", Http(200, "<!--VERSION  6.03M"), {kCannotCheckUpdates}},
        {"19 characters", Http(200, "<!--VERSION  6.03Mx"), {newer}},
        {"--> at 25", Http(200, "<!--VERSION  6.03M1234567-->"), {"1234567", newer}},
        {"1000-character cut",
         Http(200, "<!--VERSION  6.02M" + QByteArray(1002, 'y') + "-->"),
         {std::string(1000, 'y'), kUpToDate}},
        {"read up to 1024", Http(200, "<!--VERSION  6.02M" + QByteArray(1500, 'y') + "-->"), {kUpToDate}},
        {"early -->", Http(200, "<!-->ERSION  6.03Mtext-->"), {newer}},
        {"status 301", Http(301, "<!--VERSION  6.03Mtext-->"), {kCannotCheckUpdates}},
        {"status 404", Http(404, "<!--VERSION  6.03Mtext-->"), {kCannotCheckUpdates}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        server.reply = c.reply;
        messages.sink.messages.clear();
        urls.opened.clear();
        messages.sink.answers = {MsgResult::Ok, MsgResult::Yes};
        if (c.texts.size() == 1) messages.sink.answers.pop_front();
        Check(app, server.Url());
        std::vector<std::string> texts;
        for (const auto& m : messages.sink.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.caption, "Vornel Glyph");
            EXPECT_EQ(m.icon, MsgIcon::None);
        }
        EXPECT_EQ(texts, c.texts);
        // The request as the server saw it: the path, the agent and the accepted types.
        EXPECT_TRUE(server.request.startsWith("GET /products/upgrade_check.php?id=02148 HTTP/1.1\r\n"))
            << server.request.constData();
        EXPECT_TRUE(server.request.contains("\r\nUser-Agent: ZOVOrizIve\r\n")) << server.request.constData();
        EXPECT_TRUE(server.request.contains("\r\nAccept: text/*\r\n")) << server.request.constData();
        // Yes to a newer version opens the check's own address; redirects are not followed.
        const bool askedNewer = c.texts.back() == newer;
        EXPECT_EQ(urls.opened, askedNewer ? QList<QUrl>{server.Url()} : QList<QUrl>{});
    }
}

TEST_F(Help, SilentServerAndRealBoxes) {
    // Real message boxes, answered by a timer; none may be left open.
    QtMessageSink real;
    SetMessageSink(&real);
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Vornel Glyph"));
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            shown << box->text();
            box->button(box->buttons().contains(box->button(QMessageBox::No)) ? QMessageBox::No : QMessageBox::Ok)
                ->click();
        }
    });
    closer.start(20);
    Started app;
    LoopbackServer silent;
    QElapsedTimer clock;
    clock.start();
    Check(app, silent.Url(), 300);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(shown, QStringList{QStringLiteral("The operation timed out.")});

    shown.clear();
    LoopbackServer server;
    server.reply = Http(200, "<!--VERSION  6.10Mplease update-->");
    Check(app, server.Url());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("please update"), QString::fromLatin1(kNewerVersionAvailable)}));
    EXPECT_TRUE(urls.opened.isEmpty());  // answered No

    // Nothing listening: the transport's reason.
    shown.clear();
    QUrl closed = server.Url();
    closed.setPort(1);
    Check(app, closed);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_NE(shown.front(), QString::fromLatin1(kCannotCheckUpdates));
    closer.stop();
    SetMessageSink(&messages.sink);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<QMessageBox*>(w) && w->isVisible());
}

TEST_F(Help, LinksPagesAndContents) {
    Started app;
    // The menu links, each opened once with its address.
    for (int id : {57001, 57002, 57004, 57005, 57006}) {
        urls.opened.clear();
        ASSERT_TRUE(app.frame->Action(id)->isEnabled()) << id;
        app.frame->Action(id)->trigger();
        EXPECT_EQ(urls.opened, QList<QUrl>{QUrl(QString::fromLatin1(links::LinkOf(id)))}) << id;
    }
    EXPECT_TRUE(QUrl(QString::fromLatin1(links::kUpdateSoftware)).scheme() == QStringLiteral("https"));

    auto* button = qobject_cast<QAbstractButton*>(app.Bar().Control(ctl::kHelp));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    struct Case {
        int variation;
        QString opened;  // empty: nothing
    };
    // The test runs in a folder without pages, so the built pages answer.
    const QString built = QStringLiteral(VGL_HELP_DIR "/");
    const Case cases[] = {
        {10, {}},
        {0, {}},
        {147, {}},
        {103, built + "Code_39_Full_ASCII..html"},
        {104, built + "Code_39_Full_ASCII_Mod_43.html"},
        {101, built + "UPC_(E)_6-Digit_Input.html"},
    };
    for (const Case& c : cases) {
        urls.opened.clear();
        SymbolSettings.Variation = static_cast<uint8_t>(c.variation);
        button->click();
        const QList<QUrl> expected = c.opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(c.opened)};
        EXPECT_EQ(urls.opened, expected) << c.variation;
    }
    // A page in the current folder comes first, double dots and all.
    QDir().mkpath(QStringLiteral("VariationWizard"));
    QFile local(QStringLiteral("VariationWizard/Code_39_Full_ASCII..html"));
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    local.close();
    urls.opened.clear();
    SymbolSettings.Variation = 103;
    button->click();
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened.front().toLocalFile(), QDir::currentPath() + "/VariationWizard/Code_39_Full_ASCII..html");
    QDir(QStringLiteral("VariationWizard")).removeRecursively();

    // F1: the note for Vantic128, the contents page otherwise.
    messages.sink.messages.clear();
    urls.opened.clear();
    SymbolSettings.Variation = 118;
    app.frame->Action(cmd::kHelpTopics)->trigger();
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].caption, "Help");
    EXPECT_EQ(messages.sink.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(messages.sink.messages[0].text.rfind("The input of Vanticcode is a string of digit pairs\n", 0), 0u);
    EXPECT_TRUE(urls.opened.isEmpty());
    SymbolSettings.Variation = 26;
    app.frame->Action(cmd::kHelpTopics)->trigger();
    EXPECT_EQ(urls.opened, QList<QUrl>{QUrl::fromLocalFile(built + "index.html")});
}

// Every page of the table was built, links from the contents page, and its
// examples are drawn; those of families a reader knows decode.
TEST(HelpPages, BuiltPagesAndTheirExamplesScan) {
    const QString dir = QStringLiteral(VGL_HELP_DIR);
    QFile indexFile(dir + "/index.html");
    ASSERT_TRUE(indexFile.open(QIODevice::ReadOnly));
    const QByteArray index = indexFile.readAll();
    int decoded = 0;
    for (const HelpPage& p : HelpPages()) {
        SCOPED_TRACE(p.variation);
        QFile page(dir + '/' + QString::fromLatin1(p.file));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << p.file;
        EXPECT_TRUE(page.readAll().contains("example-" + QByteArray::number(p.variation) + ".png"));
        EXPECT_TRUE(index.contains(QByteArray("href=\"") + p.file + "\""));
        const std::string png = (dir + QStringLiteral("/example-%1.png").arg(p.variation)).toStdString();
        ASSERT_TRUE(QFileInfo(QString::fromStdString(png)).size() > 0);
        const SymbolGroup g = GroupOf(p.variation);
        if (OneOf(static_cast<int>(g), {static_cast<int>(SymbolGroup::Msi), static_cast<int>(SymbolGroup::Postnet),
                                        static_cast<int>(SymbolGroup::Pharmacode), static_cast<int>(SymbolGroup::Fim)}))
            continue;
        // ZXing's answer is "<file> <format> "<text>"", or "<file> None"; it
        // does not take the HIBC Code 39 examples, which zbar reads.
        const test::ShellResult r = test::ReadZxing(png, "-1 -noscale");
        const bool read = r.out.find(" \"") != std::string::npos || !test::ReadZbar(png, "-q").out.empty();
        EXPECT_TRUE(read) << png << "\n" << r.out;
        decoded += read;
    }
    EXPECT_GT(decoded, 80);
}

}  // namespace
}  // namespace vg

#include "help_test.moc"
