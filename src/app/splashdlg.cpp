#include "app/splashdlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "model/symbolsettings.h"
#include "model/strings.h"

namespace vg {
namespace {

DisplayDpi displayDpi;
bool dpiRead = false;
std::function<bool(const QString&)> soundPlayer;

QString AppResource(const char* name) {
    return qEnvironmentVariable("VGL_RESOURCE_DIR", QString::fromUtf8(VGL_RESOURCE_DIR)) + QStringLiteral("/app/") +
           QString::fromUtf8(name);
}

void ReadDisplayDpi() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        displayDpi = {qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY())};
        dpiRead = true;
    }
}

// Places of the name and version texts, and how they are painted.
const QPoint kNameAt(14, 12);
const QPoint kVersionAt(14, 30);

}  // namespace

DisplayDpi CurrentDisplayDpi() {
    if (!dpiRead) ReadDisplayDpi();
    return displayDpi;
}

QString ClosingSoundPath() { return AppResource("ElephantSound.wav"); }

bool PlaySound(const QString& path) {
    if (soundPlayer) return soundPlayer(path);
    if (!QFile::exists(path)) return false;
    for (const char* tool : {"aplay", "paplay"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (program.isEmpty()) continue;
        QProcess player;
        player.setProgram(program);
        player.setArguments(tool == std::string("aplay") ? QStringList{QStringLiteral("-q"), path} : QStringList{path});
        player.setStandardOutputFile(QProcess::nullDevice());
        player.setStandardErrorFile(QProcess::nullDevice());
        return player.startDetached();
    }
    return false;
}

void SetSoundPlayer(std::function<bool(const QString&)> player) { soundPlayer = std::move(player); }

SplashDialog::SplashDialog(int splashMs, QWidget* parent) : QDialog(parent), m_splashMs(splashMs) {
    setWindowTitle(QStringLiteral("Welcome to Vornel Glyph"));
    ReadDisplayDpi();
    m_picture.load(AppResource("splash.png"));
    setFixedSize(480, 360);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->adjustSize();
    buttons->move(width() - buttons->width() - 12, height() - buttons->height() - 12);
    if (SplashMode()) buttons->hide();
}

void SplashDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Shown over the working window, a click or key anywhere closes it; the
    // event still goes where it was meant to.
    if (SplashMode() && !isModal()) qApp->installEventFilter(this);
    // Where nothing is ever painted (no display), the splash still ends.
    if (SplashMode()) QTimer::singleShot(m_splashMs + 1000, this, [this] { done(QDialog::Rejected); });
}

void SplashDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_picture.isNull())
        p.fillRect(rect(), QColor(30, 50, 110));
    else
        p.drawPixmap(rect(), m_picture);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    p.setFont(font);
    // White on the dark blue: a contrast of more than 10:1.
    p.setPen(Qt::white);
    const int ascent = QFontMetrics(font).ascent();
    p.drawText(kNameAt + QPoint(0, ascent), QString::fromUtf8(kAppTitle));
    p.drawText(kVersionAt + QPoint(0, ascent), QStringLiteral("Version ") + QString::fromUtf8(kVersionText));
    if (SplashMode() && !m_painted) QTimer::singleShot(m_splashMs, this, [this] { done(QDialog::Rejected); });
    m_painted = true;
}

void SplashDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        done(QDialog::Accepted);
        return;
    }
    QDialog::mousePressEvent(event);
}

bool SplashDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
    return QDialog::eventFilter(watched, event);
}

void SplashDialog::done(int result) {
    if (m_closing) return;
    m_closing = true;
    qApp->removeEventFilter(this);
    if (SymbolSettings.ElephantSound) PlaySound(ClosingSoundPath());
    QDialog::done(result);
}

}  // namespace vg
