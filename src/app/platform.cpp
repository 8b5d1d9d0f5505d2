#include "app/platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "geometry/settingsdefaults.h"
#include "model/charset.h"
#include "model/strings.h"

namespace vg {

QString FromRecord(std::string_view text) { return QString::fromStdString(Cp1252ToUtf8(text)); }

std::string ToRecord(const QString& text) {
    std::string out;
    for (const QChar c : text) {
        const QByteArray utf8 = QString(c).toUtf8();
        std::string one;
        out += Utf8ToCp1252(std::string_view(utf8.constData(), utf8.size()), one) && one.size() == 1 ? one[0] : '?';
    }
    return out;
}

QSettingsProfileStore::QSettingsProfileStore()
    : m_settings(std::make_unique<QSettings>(QString::fromUtf8(kProfileOrganisation), QString::fromUtf8(kAppTitle))) {
    m_settings->beginGroup(QString::fromUtf8(kProfileSection));
}

std::optional<int32_t> QSettingsProfileStore::ReadInt(const std::string& key) const {
    const QVariant v = m_settings->value(QString::fromStdString(key));
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const int value = v.toString().trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<std::string> QSettingsProfileStore::ReadString(const std::string& key) const {
    const QVariant v = m_settings->value(QString::fromStdString(key));
    if (!v.isValid()) return std::nullopt;
    return ToRecord(v.toString());
}

void QSettingsProfileStore::WriteInt(const std::string& key, int32_t value) {
    m_settings->setValue(QString::fromStdString(key), value);
}

void QSettingsProfileStore::WriteString(const std::string& key, const std::string& value) {
    m_settings->setValue(QString::fromStdString(key), FromRecord(value));
}

ProfileFallbacks StandardProfileFallbacks() {
    ProfileFallbacks f;
    f.ratio = RatioDefault;
    f.barHeight = BarHeightDefault;
    f.bearerBar = BearerBarDefault;
    f.distance = DistanceDefault;
    f.textFont = TextFontDefault;
    f.additionalTextFont = AdditionalTextFontDefault;
    return f;
}

MsgResult QtMessageSink::Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) {
    QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    using B = QMessageBox::StandardButton;
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(B::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(B::Ok | B::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(B::Yes | B::No); break;
    case MsgButtons::YesNoCancel: box.setStandardButtons(B::Yes | B::No | B::Cancel); break;
    case MsgButtons::RetryCancel: box.setStandardButtons(B::Retry | B::Cancel); break;
    }
    const int answer = box.exec();
    if (focus) focus->setFocus();
    switch (answer) {
    case B::Cancel: return MsgResult::Cancel;
    case B::Yes: return MsgResult::Yes;
    case B::No: return MsgResult::No;
    case B::Retry: return MsgResult::Retry;
    default: return MsgResult::Ok;
    }
}

void QtClock::Beep() { QApplication::beep(); }

}  // namespace vg
