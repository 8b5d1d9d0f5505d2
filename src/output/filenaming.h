// Proposed file names of saved graphics.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// Upper-case extension of a Format value (".WMF", ".EPS", ".EMF"; "" for others).
std::string FormatExtension(int format);

// The data part of a name: FACT identifier, main text and add-on, or the add-on
// alone, or the two coupon parts.
std::string FileNameDataText();

// The proposed name of the current settings under the FileName scheme, with the
// given extension (Windows-1252, at most 255 characters).
std::string ProposeFileName(std::string_view extension);
// The same with the extension of a Format value.
inline std::string ProposeFileName(int format) { return ProposeFileName(FormatExtension(format)); }

// The proposed name made safe, as a UTF-8 path in the current folder.
std::string ProposedPath(std::string_view extension);

// Characters no file name may hold (" * / : < > ? \ |) and a leading dot
// become '!'; parentheses go.
std::string SafeFileName(std::string_view name);

}  // namespace vg
