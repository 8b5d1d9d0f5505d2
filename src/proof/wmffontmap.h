// libwmf finds the standard PostScript fonts through Ghostscript's font map,
// but follows none of its aliases, so it falls back to the Type 1 files and
// decrypts one for every metafile it plays. A map of our own names each font
// of the system's map by file, aliases resolved, and the OpenType twin of a
// URW Type 1 file where the same package installed one: the same fonts, read
// without the decryption.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// The map's text for the text of a Ghostscript font map: one "/Name (file) ;"
// line a name that resolves to a file; empty when none does.
std::string DirectFontMap(std::string_view ghostscriptMap);

// The map for libwmf, in the cache folder, written when it changes; empty
// when the system's map is missing or the cache cannot be written.
const std::string& WmfFontMapFile();

}  // namespace vg
