// Grey rasters as Ghostscript's pgmraw device writes them, and their dark runs.
#pragma once

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vg::test {

struct Raster {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    bool Dark(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] < 128; }
};

// Binary PGM as Ghostscript's pgmraw device writes it.
inline Raster ReadPgm(const std::string& path) {
    Raster r;
    std::ifstream in(path, std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::size_t pos = 0;
    auto token = [&]() {
        while (pos < data.size()) {
            if (data[pos] == '#')
                while (pos < data.size() && data[pos] != '\n') ++pos;
            else if (std::isspace(static_cast<unsigned char>(data[pos])))
                ++pos;
            else
                break;
        }
        std::size_t start = pos;
        while (pos < data.size() && !std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
        return data.substr(start, pos - start);
    };
    if (token() != "P5") return r;
    r.width = std::atoi(token().c_str());
    r.height = std::atoi(token().c_str());
    token();
    ++pos;
    if (data.size() < pos + static_cast<std::size_t>(r.width) * r.height) return {};
    r.pixels.assign(data.begin() + static_cast<long>(pos), data.end());
    return r;
}

struct DarkRun {
    int start, width;
};

inline std::vector<DarkRun> DarkRuns(const Raster& r, int y) {
    std::vector<DarkRun> runs;
    for (int x = 0; x < r.width; ++x) {
        if (!r.Dark(x, y)) continue;
        int end = x;
        while (end < r.width && r.Dark(end, y)) ++end;
        runs.push_back({x, end - x});
        x = end;
    }
    return runs;
}

// The bars: the dark runs of the row that crosses most of them.
inline std::vector<DarkRun> Bars(const Raster& r) {
    std::vector<DarkRun> best;
    for (int y = 0; y < r.height; ++y) {
        std::vector<DarkRun> runs = DarkRuns(r, y);
        if (runs.size() > best.size()) best = runs;
    }
    return best;
}

}  // namespace vg::test
