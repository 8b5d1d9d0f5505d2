#include "device/picture.h"

#include <charconv>

namespace vg {

namespace {

constexpr std::string_view kVanticPictureText =
#include "vantic128picture.inc"
    ;

std::string_view NextWord(std::string_view& line) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    std::size_t end = line.find_first_of(" \t", start);
    std::string_view word = line.substr(start, end == std::string_view::npos ? end : end - start);
    line = end == std::string_view::npos ? std::string_view() : line.substr(end);
    return word;
}

bool ToInt(std::string_view word, int& value, int lo, int hi) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && value >= lo && value <= hi;
}

PictureProvider coreProvider;
PictureProvider* installedProvider = &coreProvider;

}  // namespace

Picture ParsePicture(std::string_view text) {
    Picture picture;
    Rgb colour;
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const std::string_view key = NextWord(line);
        if (key == "picture") {
            int w, h;
            if (ToInt(NextWord(line), w, 1, 10000) && ToInt(NextWord(line), h, 1, 10000)) {
                picture.width = w;
                picture.height = h;
            }
        } else if (key == "fill") {
            int r, g, b;
            if (ToInt(NextWord(line), r, 0, 255) && ToInt(NextWord(line), g, 0, 255) &&
                ToInt(NextWord(line), b, 0, 255))
                colour = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
        } else if (key == "polygon") {
            PictureShape shape{colour, {}};
            bool ok = true;
            for (std::string_view word = NextWord(line); ok && !word.empty(); word = NextWord(line)) {
                const std::size_t comma = word.find(',');
                Point p;
                ok = comma != std::string_view::npos && ToInt(word.substr(0, comma), p.x, 0, 10000) &&
                     ToInt(word.substr(comma + 1), p.y, 0, 10000);
                shape.points.push_back(p);
            }
            if (ok && shape.points.size() >= 3) picture.shapes.push_back(std::move(shape));
        }
    }
    return picture;
}

const Picture& VanticPicture() {
    static const Picture picture = ParsePicture(kVanticPictureText);
    return picture;
}

void PictureProvider::DrawPicture(DeviceContext& dc, int left, int top, Rgb background, int width, int height, int) {
    if (width <= 0 || height <= 0) return;
    dc.SaveState();
    dc.SetBrushColour(background);
    const Point box[4] = {{left, top}, {left, top + height}, {left + width, top + height}, {left + width, top}};
    dc.Polygon(box, 4);
    const Picture& picture = VanticPicture();
    if (picture.width > 0 && picture.height > 0) {
        std::vector<Point> points;
        for (const PictureShape& shape : picture.shapes) {
            points.clear();
            for (Point p : shape.points)
                points.push_back({left + static_cast<int>(static_cast<long long>(p.x) * width / picture.width),
                                  top + static_cast<int>(static_cast<long long>(p.y) * height / picture.height)});
            dc.SetBrushColour(shape.colour);
            dc.Polygon(points.data(), static_cast<int>(points.size()));
        }
    }
    dc.RestoreState();
}

PictureProvider& ThePictureProvider() { return *installedProvider; }

void InstallPictureProvider(PictureProvider* provider) { installedProvider = provider ? provider : &coreProvider; }

}  // namespace vg
