// The application's back ends of the core's interfaces: the profile in
// QSettings, message boxes, and the clock's beep.
#pragma once

#include <QSettings>
#include <memory>

#include "entry/clock.h"
#include "model/messages.h"
#include "model/profile.h"

class QWidget;

namespace vg {

// The profile in the user's QSettings of "KLD" / "Vornel Glyph", section
// "Version 6.02". Texts are converted between Windows-1252 and UTF-8.
class QSettingsProfileStore : public ProfileStore {
public:
    QSettingsProfileStore();
    std::optional<int32_t> ReadInt(const std::string& key) const override;
    std::optional<std::string> ReadString(const std::string& key) const override;
    void WriteInt(const std::string& key, int32_t value) override;
    void WriteString(const std::string& key, const std::string& value) override;
    void Sync() { m_settings->sync(); }

private:
    std::unique_ptr<QSettings> m_settings;
};

// The profile's range checks with the factory default rules.
ProfileFallbacks StandardProfileFallbacks();

// Message boxes with the caption and icon asked for; the widget that had the
// focus gets it back.
class QtMessageSink : public MessageSink {
public:
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) override;
};

// The system beep.
class QtClock : public SystemClock {
public:
    void Beep() override;
};

// Texts of the record (Windows-1252) and of the widgets.
QString FromRecord(std::string_view text);
// Characters Windows-1252 lacks become '?'.
std::string ToRecord(const QString& text);

}  // namespace vg
