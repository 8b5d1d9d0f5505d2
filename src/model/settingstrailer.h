// The fixed binary image of the settings at the end of every saved metafile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/symbolsettings.h"

namespace vg {

inline constexpr std::size_t kSettingsTrailerSize = 2840;
using SettingsTrailer = std::array<uint8_t, kSettingsTrailerSize>;

// The 12 characters of the tag at the start of a trailer (a NUL follows).
inline constexpr char kSettingsTrailerTag[] = "VORNEL GLYPH";

// The trailer of a record: tag, version "6.02", then every stored field,
// little-endian, texts cut to their field and zero-padded.
SettingsTrailer FillSettingsTrailer(const SettingsRecord& record);

// Copies a trailer image into the record and brings its numbers into their
// valid values (ClampToValidValues; clamped receives what was changed). False,
// record unchanged, when the image is not 2840 bytes or does not begin with the
// tag and its NUL.
bool ApplySettingsTrailer(std::span<const uint8_t> image, SettingsRecord& record,
                          std::vector<std::string>* clamped = nullptr);

struct SettingsField;
// The record's fields the trailer holds, in trailer order.
std::vector<const SettingsField*> SettingsTrailerFields();

// Reads the last 2840 bytes of a file into SymbolSettings. False, settings
// unchanged, when the file cannot be read, is shorter or lacks the tag.
bool ReadSettingsTrailer(const std::string& path, std::vector<std::string>* clamped = nullptr);

}  // namespace vg
