// The generation entry point: a written file that Ghostscript renders and a
// decoder reads, and each way a request can fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "output/generate.h"
#include "recordingsink.h"
#include "scantools.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

struct Folder {
    Folder() {
        char pattern[] = "/tmp/vglyph-generate-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string path;
};

GenerationRequest Ean13(const std::string& path) {
    GenerationRequest r;
    r.variation = "EAN-13";
    r.data.main = "400638133393";
    r.path = path;
    return r;
}

TEST(Generate, WritesAFileThatRendersAndDecodes) {
    Folder dir;
    const std::string eps = dir.path + "/ean.eps";
    const GenerationResult r = Generate(Ean13(eps));
    ASSERT_EQ(r.status, GenerationStatus::Written) << r.message;
    ASSERT_NE(r.variation, nullptr);
    EXPECT_EQ(r.variation->code, 26);
    ASSERT_TRUE(fs::exists(eps));
    VG_REQUIRE_SCAN_TOOLS();
    const std::string png = dir.path + "/ean.png";
    ASSERT_EQ(test::RenderEps(eps, png, 300).status, 0);
    EXPECT_NE(test::ReadZbar(png, "-q").out.find("4006381333931"), std::string::npos);
}

TEST(Generate, FailuresSayWhyAndWriteNothing) {
    Folder dir;
    const std::string out = dir.path + "/x.eps";
    struct Case {
        const char* name;
        GenerationRequest request;
        GenerationStatus status;
        const char* message;
        bool shown;
    };
    Case cases[] = {
        {"unknown variation", Ean13(out), GenerationStatus::Refused, "unknown variation", false},
        {"bad override", Ean13(out), GenerationStatus::Refused, "unknown settings field 'Bogus'", false},
        {"refused data", Ean13(out), GenerationStatus::Refused, "Incorrect input.", true},
        {"no folder", Ean13(dir.path + "/none/x.eps"), GenerationStatus::NotWritable, "", false},
        {"unknown format", Ean13(out), GenerationStatus::NotWritable, "is none of 0 WMF, 1 EPS, 2 EMF", false},
    };
    cases[0].request.variation = "No Such";
    cases[1].request.overrides = {"Bogus=1"};
    cases[2].request.data.main = "40063813339A";
    cases[4].request.format = 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedRecordingSink sink;
        const GenerationResult r = Generate(c.request);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_FALSE(r.message.empty());
        EXPECT_EQ(r.shown, c.shown);
        EXPECT_EQ(sink.sink.messages.empty(), !c.shown);
        EXPECT_FALSE(fs::exists(out));
    }
}

// The file without its creation date line.
std::string Undated(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), kept;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text.compare(at, 15, "%%CreationDate:") != 0) kept.append(text, at, end - at);
        at = end;
    }
    return kept;
}

TEST(Generate, EachFileOfASeriesFollowsItsOwnSettings) {
    // Files whose procedures depend on different settings, written in one order
    // and then in the other: each comes out the same whatever came before it.
    // Neighbours differ in one thing, so that a stale text shows in one order.
    const std::vector<std::vector<std::string>> settings = {
        {},
        {"BarsTextColorName=Spot 1"},
        {"Magnification=150"},
        {"Magnification=150", "ProcessRadio=1"},
        {"Magnification=150", "ProcessRadio=1", "CMYKcyanBarsText=40"},
        {"BarWidthReduction=2"},
        {"TransparentBackground=1"},
        // The digits' outlines at other sizes and places, and as text.
        {"Size=11"},
        {"Size=11", "DistanceToBars=2"},
        {"FontName4humanreadable=Arial"},
    };
    // Level 2 files up the list, then level 1 files down it; and the reverse.
    std::vector<std::pair<std::size_t, bool>> up;
    for (std::size_t i = 0; i < settings.size(); ++i) up.emplace_back(i, false);
    for (std::size_t i = settings.size(); i-- > 0;) up.emplace_back(i, true);
    const std::vector<std::pair<std::size_t, bool>> down(up.rbegin(), up.rend());
    Folder dir;
    for (const auto& [order, sequence] : {std::pair{"up", up}, std::pair{"down", down}}) {
        for (const auto& [i, levelOne] : sequence) {
            GenerationRequest r = Ean13(dir.path + "/" + order + std::to_string(i) + (levelOne ? "l" : "") + ".eps");
            r.title = std::to_string(i);
            r.overrides = settings[i];
            r.levelOne = levelOne;
            r.withPreview = false;
            ASSERT_EQ(Generate(r).status, GenerationStatus::Written) << r.path;
        }
    }
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        for (const char* l : {"", "l"}) {
            const std::string file = Undated(dir.path + "/up" + std::to_string(i) + l + ".eps");
            ASSERT_FALSE(file.empty());
            EXPECT_EQ(file, Undated(dir.path + "/down" + std::to_string(i) + l + ".eps")) << i << l;
            distinct.insert(file);
        }
    }
    EXPECT_EQ(distinct.size(), 2 * settings.size());
}

}  // namespace
}  // namespace vg
