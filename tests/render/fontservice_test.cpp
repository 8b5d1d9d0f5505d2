#include <gtest/gtest.h>

#include <string>

#include "render/fontservice.h"

namespace vg {
namespace {

const FontFace* Face(const char* family, int weight = 400, bool italic = false) {
    return FontService::Instance().Resolve(family, weight, italic);
}

std::string FileName(const FontFace* face) {
    std::string f = face->File();
    return f.substr(f.find_last_of('/') + 1);
}

TEST(FontService, ResolvesProgramFacesToInstalledFiles) {
    struct Case {
        const char* family;
        int weight;
        bool italic;
        const char* file;
    };
    const Case cases[] = {
        {"Arial", 400, false, "LiberationSans-Regular.ttf"},
        {"arial", 400, false, "LiberationSans-Regular.ttf"},
        {"Arial", 700, false, "LiberationSans-Bold.ttf"},
        {"Arial", 400, true, "LiberationSans-Italic.ttf"},
        {"Arial", 700, true, "LiberationSans-BoldItalic.ttf"},
        {"Liberation Sans", 400, false, "LiberationSans-Regular.ttf"},
        {"OCRB Vornel Glyph", 400, false, "OCRB.otf"},
        {"OCRA Vornel Glyph", 400, false, "OCRA.ttf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        const FontFace* face = Face(c.family, c.weight, c.italic);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(FileName(face), c.file);
        EXPECT_NE(face->Face(), nullptr);
    }
    EXPECT_FALSE(FontService::Instance().ConfigFile().empty());
}

TEST(FontService, UnknownOrUnrelatedFacesFail) {
    for (const char* family : {"No Such Face Anywhere", "", "   ", "sans-serif", "\xE9\x80\xFF"}) {
        SCOPED_TRACE(family);
        EXPECT_EQ(Face(family), nullptr);
    }
}

}  // namespace
}  // namespace vg
