// The welcome and about dialog: the product picture with its name and
// version; at start-up it closes itself a while after it was painted.
// Closing plays the closing sound when the profile asks for it.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

namespace vg {

// Pixels per inch of the display, read when the dialog opens (the colour
// dialog chooses its large-font samples by the horizontal value).
struct DisplayDpi {
    int x = 96, y = 96;
};
DisplayDpi CurrentDisplayDpi();

// The closing sound's file in the resources.
QString ClosingSoundPath();
// Plays a WAVE file without waiting: through aplay or paplay, started
// detached with their output discarded; nothing where neither exists or the
// file is missing. False when nothing was started.
bool PlaySound(const QString& path);
// Replaces the player (tests); an empty function restores the real one.
void SetSoundPlayer(std::function<bool(const QString&)> player);

class SplashDialog : public QDialog {
    Q_OBJECT
public:
    // splashMs > 0: splash mode, closing as Cancel that long after the first paint.
    explicit SplashDialog(int splashMs = 0, QWidget* parent = nullptr);

    bool SplashMode() const { return m_splashMs > 0; }

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_splashMs;
    bool m_painted = false;
    bool m_closing = false;
    QPixmap m_picture;
};

}  // namespace vg
