// The user's profile: every stored setting of SymbolSettings under its key in
// one section of a per-user key/value store, read at start-up and written at exit.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vg {

// Where the profile lives. Texts are the record's 8-bit texts; a back end that
// stores another character set converts at its edge. Access failures are not
// reported: a value that cannot be read is missing, one that cannot be written is lost.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // Nothing when the key is missing or holds no value of the type.
    virtual std::optional<int32_t> ReadInt(const std::string& key) const = 0;
    virtual std::optional<std::string> ReadString(const std::string& key) const = 0;
    virtual void WriteInt(const std::string& key, int32_t value) = 0;
    virtual void WriteString(const std::string& key, const std::string& value) = 0;
};

// A store in memory, in the order keys were first written.
class MemoryProfileStore : public ProfileStore {
public:
    using Value = std::variant<int32_t, std::string>;
    std::optional<int32_t> ReadInt(const std::string& key) const override;
    std::optional<std::string> ReadString(const std::string& key) const override;
    void WriteInt(const std::string& key, int32_t value) override { values[key] = value; }
    void WriteString(const std::string& key, const std::string& value) override { values[key] = value; }

    std::map<std::string, Value> values;
};

// The section of the store that holds the profile.
inline constexpr const char* kProfileOrganisation = "KLD";
inline constexpr const char* kProfileSection = "Version 6.02";

enum class ProfileKind { Integer, Real, Text };

// The default rule that replaces a value out of its range.
enum class ProfileCheck {
    None,
    Family,
    Variation,
    Ratio,
    BarHeight,
    BearerBar,
    Distance,
    TextFont,
    AdditionalTextFont
};

struct ProfileKey {
    const char* key;
    const char* field;  // the record's field (settingsfields)
    ProfileKind kind;
    int decimals;      // Real: digits after the point when written
    double fallback;   // Integer and Real: value when missing
    const char* text;  // Text: value when missing
    ProfileCheck check;
};

// Every key in the order in which it is read and written.
std::span<const ProfileKey> ProfileKeys();

// The default rules the range checks use (they act on SymbolSettings, with the
// Family and Variation already read). Installed by the caller, since they live
// in a higher layer.
struct ProfileFallbacks {
    void (*ratio)() = nullptr;
    void (*barHeight)() = nullptr;
    void (*bearerBar)() = nullptr;
    void (*distance)() = nullptr;
    void (*textFont)() = nullptr;
    void (*additionalTextFont)() = nullptr;
};

// Reads every key into SymbolSettings: missing values take their defaults,
// values out of range the fallbacks. Sets ProgrammaticInput (cleared again when
// Family or Variation was invalid, which also sets ProfileInvalid). Numbers still
// outside their valid values are then brought into them; returns what that
// changed (ClampToValidValues).
std::vector<std::string> LoadProfile(const ProfileStore& store, const ProfileFallbacks& fallbacks);
// Writes every key from SymbolSettings.
void SaveProfile(ProfileStore& store);

// The English texts switch of the profile (outside the record): read into the
// switch (off when missing) and written from it.
void LoadEnglishTextsSwitch(const ProfileStore& store);
void SaveEnglishTextsSwitch(ProfileStore& store);

// A real as the profile stores it: printf's "%.<decimals>f" in the C locale.
std::string FormatProfileReal(double value, int decimals);
// A stored real read back like atof: the longest decimal prefix after leading
// blanks; 0 when there is none or it is not finite.
double ParseProfileReal(std::string_view text);

}  // namespace vg
