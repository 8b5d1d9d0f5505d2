// The generation entry point: a written file that Ghostscript renders and a
// decoder reads, and each way a request can fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace
}  // namespace vg
