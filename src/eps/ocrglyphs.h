// Outline procedures for OCR-B and OCR-A characters in the EPS prolog.
//
// A procedure draws one character as a filled path in a fixed design space: a
// 10-point glyph with its origin at (9, 709), between the prolog's "pre" and
// "dra". The outlines come from the installed OCR fonts.
#pragma once

#include <string>
#include <string_view>

#include "device/fontservice.h"

namespace vg {

enum class OcrFont { B, A };

// Procedure name of a character ("_yi" for the OCR-B digit 1); empty when the
// font's set has no procedure for it.
std::string_view OcrGlyphName(OcrFont font, char c);
// Procedure name of a letter of the verification-mark notice ("_ppa"); empty
// for letters outside A D E G I N P S T X Y.
std::string_view NoticeGlyphName(char c);

// The whole definition, CR LF after every line, "/name{pre" .. "dra}bdef";
// empty when there is no procedure or the font has no outline for it. Taken
// from the table the build wrote when the installed font is the one it was
// written from, else converted from the font; cached either way.
const std::string& OcrGlyphProcedure(OcrFont font, char c);
const std::string& NoticeGlyphProcedure(char c);

// The definition of procedure `name` converted from the font now, uncached.
std::string GlyphProcedureText(std::string_view name, std::string_view face, char c);

// Outline of one character of a face as m/l/c operators in the design space,
// conic segments turned into cubic ones; empty when the face has no outline.
// Lines are broken with CR LF.
std::string GlyphOutlineText(std::string_view face, char c);

}  // namespace vg
