// Kitlet preset files: an object archive holding one CKitletContents object,
// read and written byte for byte without a serialization library.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/symbolsettings.h"

namespace vg {

inline constexpr const char* kKitletTag = "VORNEL GLYPH Kitlet";
inline constexpr const char* kKitletClass = "CKitletContents";
inline constexpr int kKitletSchema = 2;

// The contents object. Items 5 to 109 live in settings, except item 42.
struct Kitlet {
    int schema = kKitletSchema;
    std::string tag;      // item 0
    std::string version;  // item 1
    int32_t family = 0;   // item 2
    int32_t variation = 0;
    int32_t full = 0;      // item 4: items 5 to 109 are to be applied
    std::string dataSlot;  // item 42
    SettingsRecord settings;
};

// The contents of a record as Save Kitlet As writes them (full = 1). dataFlag:
// item 42 carries MainText (a UPC (A) Kitlet whose name starts with "$").
Kitlet KitletOf(const SettingsRecord& record, bool dataFlag);
// True when a Kitlet of this family saved under this file title carries its data.
bool KitletDataFlag(int family, std::string_view fileTitle);

// The archive bytes of a Kitlet (schema 1 writes items 0 to 4 only).
std::string KitletBytes(const Kitlet& kitlet);

enum class KitletStatus {
    Ok,
    Invalid,  // schema not 1 or 2, or the tag differs: "Invalid Kitlet."
    Damaged,  // not an archive of this layout (wrong class, truncated)
};

// Reads archive bytes. Invalid leaves family and variation 0 and full 0 in
// out; Damaged leaves out unusable.
KitletStatus ReadKitlet(std::span<const uint8_t> bytes, Kitlet& out);

// Family and Variation, KitletFull and Derived from item 4, then (when full)
// items 5 to 109 with item 42 into ISSNExtraDigits; numbers outside their valid
// values are brought into them. Returns what was changed (ClampToValidValues).
std::vector<std::string> ApplyKitlet(const Kitlet& kitlet, SettingsRecord& record);

// Writes the archive through a temporary file; false when it cannot be written
// (an earlier file stays as it was).
bool WriteKitletFile(const std::string& path, const Kitlet& kitlet);
// Reads a whole file as a Kitlet; Damaged also when it cannot be read.
// opened: false when the file could not be opened at all.
KitletStatus ReadKitletFile(const std::string& path, Kitlet& out, bool* opened = nullptr);

}  // namespace vg
