// The font files the program's own OCR names resolved to, remembered between
// runs: building the fontconfig set-up costs a run of the tool more than the
// rest of its fonts together.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vg {

struct FontChoice {
    std::string file;
    int index = 0;
};

// What decides those matches: the fontconfig version, the alias file and the
// font folders (':'-separated) with every folder below them, by name, size,
// modification time and inode. Empty when a folder cannot be looked at or
// holds too many folders; then nothing is remembered.
std::string FontMatchStamp(const std::string& aliasFile, std::string_view folders);

// The cache's text holds lines of key, file, index, and the file's size and
// modification time, after a first line that is the stamp. A choice is found
// while the stamp is the same and its file is unchanged; text of any other
// shape finds nothing.
std::optional<FontChoice> FindFontChoice(std::string_view text, std::string_view stamp, std::string_view key);
// The text with key's choice put in (the entries of another stamp dropped);
// empty when the choice's file cannot be looked at.
std::string WithFontChoice(std::string_view text, std::string_view stamp, std::string_view key,
                           const FontChoice& choice);

// The choice remembered in the cache folder (font-matches, model/cachefile.h).
std::optional<FontChoice> RecallFontChoice(std::string_view stamp, std::string_view key);
// Stores the choice; a cache that cannot be written is left as it is.
void RememberFontChoice(std::string_view stamp, std::string_view key, const FontChoice& choice);

}  // namespace vg
