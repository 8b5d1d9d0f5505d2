#include "model/charset.h"

#include <cstdio>

namespace vg {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the unassigned bytes.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int FromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] ? kHigh[i] == c : c == static_cast<char32_t>(0x80 + i)) return 0x80 + i;
    return -1;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string CodePointName(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
    return byte;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

bool Utf8ToCp1252(std::string_view in, std::string& out, std::string* problem) {
    out.clear();
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b = static_cast<unsigned char>(in[i]);
        char32_t c;
        std::size_t n;
        if (b < 0x80) {
            c = b;
            n = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            c = b & 0x1F;
            n = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            c = b & 0x0F;
            n = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07;
            n = 4;
        } else {
            n = 0;
        }
        bool valid = n > 0 && i + n <= in.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            const auto t = static_cast<unsigned char>(in[i + k]);
            if ((t & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (valid &&
            ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF)))
            valid = false;
        if (!valid) {
            if (problem) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "the byte 0x%02X at position %zu is not UTF-8", b, i + 1);
                *problem = buf;
            }
            return false;
        }
        const int byte = FromUnicode(c);
        if (byte < 0) {
            if (problem)
                *problem = "the character '" + std::string(in.substr(i, n)) + "' (" + CodePointName(c) +
                           ") has no Windows-1252 form";
            return false;
        }
        out += static_cast<char>(byte);
        i += n;
    }
    return true;
}

bool ExpandByteEscapes(std::string_view in, std::string& out, std::string* problem) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            out += in[i];
        } else if (in[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (in[i + 1] == 'x') {
            const int hi = i + 2 < in.size() ? HexValue(in[i + 2]) : -1;
            const int lo = i + 3 < in.size() ? HexValue(in[i + 3]) : -1;
            if (hi < 0 || lo < 0) {
                if (problem) *problem = "\\x at position " + std::to_string(i + 1) + " needs two hexadecimal digits";
                return false;
            }
            out += static_cast<char>(hi * 16 + lo);
            i += 3;
        } else {
            out += in[i];
        }
    }
    return true;
}

}  // namespace vg
