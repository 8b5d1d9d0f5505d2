#include "cli/colouroptions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include "dialogs/editcolourmodel.h"

namespace vg::cli {
namespace {

struct NamedColour {
    const char* name;      // as typed, lower case
    const char* stored;    // the colour's name in the record
    int red, green, blue;  // 0..255
};

constexpr NamedColour kNamed[] = {
    {"black", "Black", 0, 0, 0},         {"white", "White", 255, 255, 255}, {"red", "Red", 255, 0, 0},
    {"green", "Green", 0, 255, 0},       {"blue", "Blue", 0, 0, 255},       {"cyan", "Cyan", 0, 255, 255},
    {"magenta", "Magenta", 255, 0, 255}, {"yellow", "Yellow", 255, 255, 0}, {"grey", "Grey", 128, 128, 128},
    {"gray", "Gray", 128, 128, 128},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::optional<int> HexByte(const std::string& text, std::size_t at) {
    int value = 0;
    for (std::size_t i = at; i < at + 2; ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (c >= '0' && c <= '9')
            value = value * 16 + (c - '0');
        else if (c >= 'a' && c <= 'f')
            value = value * 16 + (c - 'a' + 10);
        else
            return std::nullopt;
    }
    return value;
}

// Four percentages 0..100, comma-separated.
std::optional<CmykPercent> ParseCmyk(const std::string& text) {
    int v[4];
    char end = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d%c", &v[0], &v[1], &v[2], &v[3], &end) != 4) return std::nullopt;
    for (int x : v)
        if (x < 0 || x > 100) return std::nullopt;
    return CmykPercent{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2]),
                       static_cast<uint8_t>(v[3])};
}

// Screen components as the record's RGB percentages, grey taken out as the RGB model's black.
RgbPercent RgbOf(int red, int green, int blue) {
    const int r = PercentOfComponent(red), g = PercentOfComponent(green), b = PercentOfComponent(blue);
    return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b),
            static_cast<uint8_t>(100 - std::max({r, g, b}))};
}

}  // namespace

bool ColourSettings(bool bars, const std::string& colour, std::vector<std::string>& settings, std::string* reason) {
    const std::string key = Lower(colour);
    const char* part = bars ? "BarsText" : "SpacesQuietZone";
    if (!bars && key == "none") {
        settings.push_back("TransparentBackground=1");
        return true;
    }
    RgbPercent rgb;
    CmykPercent cmyk;
    std::string name;
    bool cmykModel = false;
    const NamedColour* named = nullptr;
    for (const NamedColour& n : kNamed)
        if (key == n.name) named = &n;
    if (named) {
        rgb = RgbOf(named->red, named->green, named->blue);
        cmyk = RgbToCmyk(rgb);
        name = named->stored;
    } else if (key.size() == 7 && key[0] == '#' && HexByte(key, 1) && HexByte(key, 3) && HexByte(key, 5)) {
        rgb = RgbOf(*HexByte(key, 1), *HexByte(key, 3), *HexByte(key, 5));
        cmyk = RgbToCmyk(rgb);
        name = "#" + colour.substr(1);
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (key.rfind("cmyk:", 0) == 0 && ParseCmyk(key.substr(5))) {
        cmyk = *ParseCmyk(key.substr(5));
        rgb = CmykToRgb(cmyk);
        name = "CMYK " + key.substr(5);
        cmykModel = true;
    } else {
        if (reason)
            *reason = std::string(bars ? "--fg" : "--bg") + ": unknown colour '" + colour +
                      "' (a name such as black, white, red, blue; #RRGGBB; cmyk:C,M,Y,K with percentages" +
                      (bars ? ")" : "; none for a transparent background)");
        return false;
    }
    const std::string p = part;
    settings.push_back((bars ? "BarsTextColorName=" : "SpacesQuietZoneColorName=") + name);
    settings.push_back("red" + p + "=" + std::to_string(rgb.red));
    settings.push_back("green" + p + "=" + std::to_string(rgb.green));
    settings.push_back("blue" + p + "=" + std::to_string(rgb.blue));
    settings.push_back("black" + p + "=" + std::to_string(rgb.black));
    settings.push_back("CMYKcyan" + p + "=" + std::to_string(cmyk.cyan));
    settings.push_back("CMYKmagenta" + p + "=" + std::to_string(cmyk.magenta));
    settings.push_back("CMYKyellow" + p + "=" + std::to_string(cmyk.yellow));
    settings.push_back("CMYKblack" + p + "=" + std::to_string(cmyk.black));
    settings.push_back(std::string("RGB_Radio=") + (cmykModel ? "0" : "1"));
    settings.push_back(std::string("CMYK_Radio=") + (cmykModel ? "1" : "0"));
    if (!bars) settings.push_back("TransparentBackground=0");
    return true;
}

}  // namespace vg::cli
