// Windows-1252, the character set of the record's texts, and UTF-8 at the
// program's edges.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// Code point of a byte: 0x80..0x9F per the code page (the five unassigned
// bytes as the C1 controls of the same number), all others as Latin-1.
char32_t Cp1252ToUnicode(unsigned char byte);
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. False when the text is not UTF-8 or holds a character
// that Windows-1252 cannot hold; problem then names the first such place.
bool Utf8ToCp1252(std::string_view utf8, std::string& out, std::string* problem = nullptr);

// "\xHH" becomes the byte HH and "\\" one backslash; any other backslash stays.
// False when "\x" is not followed by two hexadecimal digits.
bool ExpandByteEscapes(std::string_view text, std::string& out, std::string* problem = nullptr);

// The ASCII digits, whatever the locale.
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// True when the text holds no character but digits, the empty text too.
inline bool DigitsOnly(std::string_view text) {
    for (char c : text)
        if (!IsDigit(c)) return false;
    return true;
}
// True when the text is one or more digits.
inline bool AllDigits(std::string_view text) { return !text.empty() && DigitsOnly(text); }

}  // namespace vg
