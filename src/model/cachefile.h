// Small files the program keeps for itself between runs, in the user's cache
// folder. Losing one costs time only: a file that cannot be read is empty,
// one that cannot be written is left as it was.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// $XDG_CACHE_HOME/vornel-glyph/NAME, else ~/.cache/vornel-glyph/NAME; empty
// without either.
std::string CacheFilePath(std::string_view name);
// Puts text in place of the file whole (written beside it, then renamed over
// it, so that a reader sees the old text or the new); false when it cannot.
// Not through AtomicFile: a font is first resolved while a series file is
// being saved, under that save's rules (no replacing), which must not reach
// this file. Such files are read with ReadSmallFile (model/regularfile.h).
bool ReplaceCacheFile(const std::string& path, const std::string& text);

}  // namespace vg
