// The Specifications and Preferences dialogs' choices in written files and names.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "clitool.h"
#include "dialogs/preferencesmodel.h"
#include "dialogs/specificationsmodel.h"
#include "model/symbolsettings.h"
#include "output/filenaming.h"
#include "output/generate.h"

namespace vg {
namespace {

using test::Quote;
using test::RunShell;
using test::TempFolder;

GenerationRequest Ean13(const std::string& path) {
    GenerationRequest r;
    r.variation = "ean13";
    r.data.main = "400638133393";
    r.path = path;
    r.withPreview = false;
    return r;
}

// Writes the symbol after the dialog's choices; the file's bytes.
std::string WriteWithSpecifications(const std::string& path, const std::function<void(SpecificationsModel&)>& choose) {
    const GenerationRequest request = Ean13(path);
    if (PrepareSymbol(request).status != GenerationStatus::Written) return {};
    SpecificationsModel dialog(SymbolSettings);
    dialog.SetText(spd::kCompany, "ACME");
    dialog.SetText(spd::kClient, "Bob");
    dialog.SetText(spd::kJob, "42");
    dialog.SetText(spd::kDate, "2026-12-09");
    dialog.SetText(spd::kComments, "Rush");
    dialog.ChooseFilm(3);
    choose(dialog);
    dialog.Ok();
    if (WriteCurrentSymbol(request).status != GenerationStatus::Written) return {};
    return test::ReadWholeFile(path);
}

// The texts libwmf draws from a WMF, run together in drawing order.
std::string WmfTexts(const std::string& wmf, int* lines = nullptr) {
    const std::string svg = RunShell("wmf2svg -o /dev/stdout " + Quote(wmf) + " 2>/dev/null").out;
    std::string flat;
    for (char c : svg)
        if (c != '\n' && c != '\t') flat += c;
    std::string texts;
    const std::regex text(">([^<]*)</text>");
    for (auto it = std::sregex_iterator(flat.begin(), flat.end(), text); it != std::sregex_iterator(); ++it)
        texts += (*it)[1].str();
    if (lines) {
        *lines = 0;
        for (std::size_t at = svg.find("<line"); at != std::string::npos; at = svg.find("<line", at + 1)) ++*lines;
    }
    return texts;
}

struct BlockLine {
    int control;
    const char* starts;
};
const BlockLine kLines[] = {
    {spd::kSymbology, "EAN-13"},          {spd::kEncodedData, "Encoded:"},
    {spd::kBarWidthReduction, "BWR:"},    {spd::kWideNarrowRatio, "W/N Ratio:"},
    {spd::kBarHeight, "Bar Height:"},     {spd::kMagnification, "Magnification:"},
    {spd::kXDimension, "x-dim:"},         {spd::kNbw, "N Bar Width:"},
    {spd::kPrinterDpi, "Printer dpi:"},   {spd::kFilmLine, "Film: Negative/Down"},
    {spd::kCompanyLine, "Company: ACME"}, {spd::kClientLine, "Client: Bob"},
    {spd::kJobLine, "Job: 42"},           {spd::kDateLine, "Date: 2026-12-09"},
    {spd::kCommentsLine, "Rush"},
};

TEST(SpecificationsInFiles, EachSwitchWritesItsLineIntoTheEps) {
    TempFolder dir;
    for (const BlockLine& line : kLines) {
        const std::string eps = WriteWithSpecifications(dir.File("block.eps"), [&](SpecificationsModel& m) {
            m.Clear();
            m.SetCheck(line.control, true);
        });
        ASSERT_FALSE(eps.empty());
        for (const BlockLine& other : kLines)
            EXPECT_EQ(eps.find(std::string("(") + other.starts) != std::string::npos, &other == &line)
                << line.starts << " shows " << other.starts;
    }
}

TEST(SpecificationsInFiles, SelectAllAndClearInAMetafile) {
    VG_REQUIRE_TOOLS("wmf2svg");
    TempFolder dir;
    const std::string wmf = dir.File("block.wmf");
    int cropLines = 0, plainLines = 0;
    ASSERT_FALSE(WriteWithSpecifications(wmf, [](SpecificationsModel& m) { m.SelectAll(); }).empty());
    const std::string all = WmfTexts(wmf, &cropLines);
    for (const BlockLine& line : kLines) EXPECT_NE(all.find(line.starts), std::string::npos) << line.starts;

    ASSERT_FALSE(WriteWithSpecifications(wmf, [](SpecificationsModel& m) { m.Clear(); }).empty());
    const std::string none = WmfTexts(wmf, &plainLines);
    for (const BlockLine& line : kLines) {
        if (line.control != spd::kSymbology) {
            EXPECT_EQ(none.find(line.starts), std::string::npos) << line.starts;
        }
    }
    EXPECT_EQ(none, "4006381333931");
    EXPECT_EQ(cropLines, plainLines + 8) << "two marks at each corner";
}

TEST(PreferencesInNames, FormatAndSchemeGiveTheNextProposedName) {
    struct Case {
        int format, scheme;
        const char* name;
    };
    const Case cases[] = {
        {1, 0, "Untitled-0001.EPS"},
        {0, 2, "400638133393.WMF"},
        {1, 4, "EAN-13.400638133393.EPS"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(PrepareSymbol(Ean13("")).status, GenerationStatus::Written);
        PreferencesModel dialog(SymbolSettings);
        dialog.ChooseFormat(c.format);
        dialog.ChooseFileName(c.scheme);
        dialog.Ok();
        EXPECT_EQ(ProposeFileName(SymbolSettings.Format), c.name) << c.format << " " << c.scheme;
    }
}

}  // namespace
}  // namespace vg
