// Human-readable text set alike by every back end: a Code 128 text in a
// proportional font, drawn by each writer and read back by another program's
// renderer, has its characters where the EPS file (PostScript's own show) has
// them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "output/generate.h"
#include "proof/filerender.h"

namespace vg {
namespace {

// Left edges of the dark column runs in the last band of dark rows (the text
// below the bars), and the band's height.
std::vector<int> TextLefts(const GreyImage& image, int* bandHeight) {
    std::vector<bool> dark(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width && !dark[y]; ++x)
            dark[y] = image.pixels[static_cast<std::size_t>(y) * image.width + x] < 128;
    int bottom = image.height - 1;
    while (bottom >= 0 && !dark[bottom]) --bottom;
    int top = bottom;
    while (top > 0 && dark[top - 1]) --top;
    *bandHeight = bottom - top + 1;
    std::vector<int> lefts;
    bool inside = false;
    for (int x = 0; x < image.width; ++x) {
        bool ink = false;
        for (int y = top; y <= bottom && !ink; ++y)
            ink = image.pixels[static_cast<std::size_t>(y) * image.width + x] < 128;
        if (ink && !inside) lefts.push_back(x);
        inside = ink;
    }
    return lefts;
}

TEST(TextSpacing, EveryBackEndSetsTheCharactersWhereTheEpsFileDoes) {
    char pattern[] = "/tmp/vglyph-spacing-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::string text = "Hello128";
    std::vector<double> reference;
    for (const char* ext : {"eps", "svg", "pdf", "png", "wmf", "emf"}) {
        GenerationRequest request;
        request.variation = "6";
        request.data.main = text;
        request.withPreview = false;
        request.path = folder + "/text." + ext;
        ASSERT_EQ(Generate(request).status, GenerationStatus::Written) << ext;
        GreyImage image;
        const FileRender render = RenderGraphicFile(request.path, 600, image);
        if (render.noReader) GTEST_SKIP() << render.reason;
        ASSERT_TRUE(render.ok) << ext << ": " << render.reason;
        int height = 0;
        const std::vector<int> lefts = TextLefts(image, &height);
        ASSERT_EQ(lefts.size(), text.size()) << ext;
        // The glyphs' size follows each format's font height; their places
        // along the text are compared, in the text's own width.
        const double span = lefts.back() - lefts.front();
        ASSERT_GT(span, 0) << ext;
        std::vector<double> at;
        for (int x : lefts) at.push_back((x - lefts.front()) / span);
        if (reference.empty()) {
            reference = at;
            continue;
        }
        for (std::size_t i = 0; i < at.size(); ++i)
            EXPECT_LE(std::fabs(at[i] - reference[i]) * span, 0.1 * height)
                << ext << ": character " << i << " '" << text[i] << "'";
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vg
