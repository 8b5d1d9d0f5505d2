// vglyph helppages DIR: the variation help pages with an example symbol each,
// and their contents page.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "device/cairolib.h"
#include "entry/formatengine.h"
#include "model/catalogue.h"
#include "model/charset.h"
#include "model/helppages.h"
#include "model/messages.h"
#include "output/generate.h"

namespace vg::cli {
namespace {

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The example of a variation: its data texts.
DataTexts ExampleOf(int v) {
    DataTexts d;
    auto main = [&d](const char* text) { d.main = text; };
    if (OneOf(v, {1, 5}))
        main("40156");
    else if (OneOf(v, {2, 3, 4}))
        main("3123400012345");
    else if (v == 6)
        main("Vornel128");
    else if (OneOf(v, {7, 17}))
        main("+A99912345/$$52001510X3");
    else if (OneOf(v, {8, 18}))
        main("+A99912345");
    else if (OneOf(v, {9, 19}))
        main("+$$52001510X3");
    else if (OneOf(v, {11, 12, 20, 76}))
        main("VG602");
    else if (v == 13)
        main("ABC1234567");
    else if (v == 14)
        main("DPS602");
    else if (OneOf(v, {15, 16, 103, 104}))
        main("Glyph6");
    else if (OneOf(v, {21, 22, 23}))
        main("1234562");
    else if (OneOf(v, {24, 25}))
        main("CODE 93");
    else if (v == 26)
        main("400638133393");
    else if (v == 27)
        main("9638507");
    else if (v == 28)
        main("491234567890");
    else if (v == 29)
        main("4512345");
    else if (OneOf(v, {35, 105, 134, 135, 145}))
        main("090303275");
    else if (OneOf(v, {36, 106, 136, 146}))
        main("123456789");
    else if (OneOf(v, {38, 111, 138, 141}))
        main("0317847");
    else if (OneOf(v, {39, 46, 47, 48}))
        main("1234567890");
    else if (v == 44)
        main("4912345678904");
    else if (OneOf(v, {51, 52}))
        main("55555");
    else if (OneOf(v, {53, 54}))
        main("555551237");
    else if (OneOf(v, {55, 56}))
        main("55555123712");
    else if (v == 60)
        main("(01)09501101530008(17)270131(10)AB12");
    else if (v == 66)
        main("(01)12345678901231(240)VG602");
    else if (v == 67)
        main("(01)1234567890128");
    else if (v == 68)
        main("(22)3990228LOT1");
    else if (v == 69)
        main("(420)90210");
    else if (v == 70)
        main("(421)84090210");
    else if (v == 72)
        main("03600029145");
    else if (v == 73)
        main("30123456789");
    else if (OneOf(v, {74, 101}))
        main("425261");
    else if (v == 75)
        main("04210000526");
    else if (v == 102)
        main("14210000526");
    else if (v == 88)
        main("=G15142600123400");
    else if (v == 89)
        main("=%5100");
    else if (v == 90)
        main("&*0023401515");
    else if (v == 91)
        main("=*026015");
    else if (v == 92)
        main("=>027015");
    else if (v == 93)
        main("&>0270152359");
    else if (v == 94)
        main("=)1234567890");
    else if (v == 95)
        main("=<E0001000");
    else if (v == 96)
        main("&(00000");
    else if (v == 97)
        main("1234");
    else if (v == 98)
        main("12345670");
    else if (v == 124)
        main("(8018)12345678901234560");
    else if (v >= 125 && v <= 130)
        d.main = "(" + std::to_string(410 + v - 125) + ")123456789012";
    else if (v == 131)
        main("(8003)01234567890128AB");
    else if (v == 132)
        main("(8004)1ABC");
    if (IsCouponClass(v)) {
        static const char* const parts[] = {"(8100)123456", "(8101)1234567890", "(8100)123456(21)12345678",
                                            "(8101)1234567890(21)12345678", "(8102)12"};
        d.couponUpc = v <= 65 ? "51234567890" : "991234567890";
        d.coupon128 = parts[(v <= 65 ? v - 61 : v - 81)];
    }
    return d;
}

struct Description {
    const char* holds;
    const char* check;
};

Description Describe(int v) {
    if (v == 1)
        return {
            "Digits and the characters - $ : / . +; the start and stop characters (A, B, C or D) are chosen in the "
            "text settings.",
            "No check character."};
    if (OneOf(v, {2, 3, 4}))
        return {"A 13-digit library number: type, institution and item number.",
                "The last digit is the library check digit of the chosen format, computed for you."};
    if (v == 5)
        return {"Digits and the characters - $ : / . +, between start and stop characters.",
                "A modulo 16 check character is added before the stop character."};
    if (v == 6)
        return {"Any text of the ASCII character set; runs of digits are packed in pairs.",
                "A modulo 103 symbol check character is always added; it is not printed."};
    if (IsCode128HibcClass(v) || OneOf(v, {17, 18, 19}))
        return {
            "Health Industry Bar Code data: a '+' flag, the labeler identification code, the product or secondary "
            "data.",
            "The HIBC modulo 43 check character is added to the data."};
    if (OneOf(v, {11, 20, 76, 14}))
        return {"Upper-case letters, digits, space and - . $ / + %.",
                "No check character (the symbol is self-checking)."};
    if (v == 12) return {"Upper-case letters, digits, space and - . $ / + %.", "A modulo 43 check character is added."};
    if (v == 13)
        return {"A customs service entry number: three letters or digits and seven digits.",
                "A check character is added to the ten characters."};
    if (OneOf(v, {15, 103}))
        return {"Any ASCII character; lower case and control characters are encoded as pairs of Code 39 characters.",
                "No check character."};
    if (OneOf(v, {16, 104}))
        return {"Any ASCII character; lower case and control characters are encoded as pairs of Code 39 characters.",
                "A modulo 43 check character is added."};
    if (IsPznClass(v))
        return {"A German pharmaceutical number (PZN) of six digits and its check digit.",
                "The seventh digit is the PZN modulo 11 check digit."};
    if (OneOf(v, {24, 25}))
        return {"Upper-case letters, digits, space and - . $ / + %; shift pairs in brackets for other characters.",
                "Two modulo 47 check characters (C and K) are added; they are not printed."};
    if (v == 26 || v == 28)
        return {
            "The first twelve digits of an EAN-13 (JAN-13 starts with 45 or 49); an add-on of 2 or 5 digits may "
            "follow.",
            "The thirteenth digit is the modulo 10 check digit, computed for you."};
    if (v == 27 || v == 29)
        return {
            "The first seven digits of an EAN-8 (JAN-8 starts with 45 or 49); an add-on of 2 or 5 digits may follow.",
            "The eighth digit is the modulo 10 check digit, computed for you."};
    if (IsBooklandEan13Class(v) || IsBooklandTextClass(v)) {
        if (OneOf(v, {38, 111, 138, 141}))
            return {
                "The first seven digits of an ISSN; the symbol is an EAN-13 with the prefix 977; an add-on of 2 or 5 "
                "digits may follow.",
                "The ISSN check digit (modulo 11) is printed in the text line, the EAN-13 check digit (modulo 10) ends "
                "the symbol."};
        return {
            "The first nine digits of an ISBN; the symbol is an EAN-13 with the prefix 978 or 979; an add-on of 2 or 5 "
            "digits (the price) may follow.",
            "The ISBN check digit (modulo 11, may be X) is printed in the text line, the EAN-13 check digit (modulo "
            "10) ends the symbol."};
    }
    if (v == 39) return {"An even number of digits, encoded in pairs.", "No check digit unless you type one."};
    if (v == 44)
        return {"Thirteen digits in the Japanese JIS interleaved 2 of 5 layout.",
                "The data ends in its modulo 10 check digit."};
    if (v == 98) return {"Eight digits of an interleaved 2 of 5 scan code.", "No check digit is added."};
    if (v == 46) return {"Digits only.", "Two modulo 10 check digits are added."};
    if (v == 47) return {"Digits only.", "A modulo 10 check digit is added."};
    if (v == 48) return {"Digits only.", "A modulo 11 check digit is added."};
    if (OneOf(v, {51, 52})) return {"A five-digit ZIP code.", "A correction digit (modulo 10) is added."};
    if (OneOf(v, {53, 54})) return {"A ZIP+4 code of nine digits.", "A correction digit (modulo 10) is added."};
    if (OneOf(v, {55, 56}))
        return {"A delivery point code of eleven digits.", "A correction digit (modulo 10) is added."};
    if (IsCouponClass(v))
        return {
            "Two parts: the UPC-A coupon number, then its UCC/EAN-128 extended coupon code with application identifier "
            "8100, 8101 or 8102.",
            "The UPC-A part ends in its modulo 10 check digit; the UCC/EAN-128 part carries its modulo 103 check "
            "character."};
    if (v == 60 || IsUccEan128Class(v))
        return {"Application identifiers in parentheses, each followed by its data.",
                IsUccEan128CheckedClass(v) ? "The data's modulo 10 check digit is computed for you; the symbol adds "
                                             "its modulo 103 check character."
                                           : "The symbol adds its modulo 103 check character."};
    if (v == 72)
        return {"The first eleven digits of a UPC-A; an add-on of 2 or 5 digits may follow.",
                "The twelfth digit is the modulo 10 check digit, computed for you."};
    if (v == 73)
        return {"A National Drug Code: 3 followed by ten digits.",
                "The twelfth digit is the modulo 10 check digit, computed for you."};
    if (OneOf(v, {74, 101}))
        return {"The six digits of a zero-suppressed UPC-E (number system 0, or 1 for the System 1 variation).",
                "The check digit of the expanded UPC-A is encoded in the bar parity."};
    if (OneOf(v, {75, 102}))
        return {"The eleven digits of a UPC-A that can be zero-suppressed into UPC-E.",
                "The check digit of the UPC-A is encoded in the bar parity."};
    if (IsIsbtClass(v))
        return {"An ISBT 128 data structure: its data identifier characters followed by fixed data.",
                "The symbol adds its modulo 103 check character; a keyboard check character is shown where the "
                "structure has one."};
    if (v == 97) return {"A number from 3 to 131070.", "No check digit: the number is the pattern."};
    return {"", ""};
}

const char* kPatternLegend =
    "In the input format, D is a digit, L a letter, A a letter or a digit, U an upper-case letter; "
    "quoted text stands for itself, [ ] is one of the characters listed, &lt;name&gt; a named set; "
    "{n} repeats n times, {m..n} m to n times, + once or more, * any number of times, ? once or not at all, "
    "and | separates alternatives.";

std::string FormatLine(int v, FieldRole role, const char* what) {
    std::string pattern;
    int maxLength = 0;
    if (!FindFormatPattern(v, role, pattern, maxLength)) return {};
    return "<tr><th>" + std::string(what) + "</th><td><code>" + Escape(pattern) + "</code> (at most " +
           std::to_string(maxLength) + " characters)</td></tr>\n";
}

std::string ExampleText(const DataTexts& d) {
    std::string text;
    for (const auto* part : {&d.main, &d.addOn, &d.couponUpc, &d.coupon128})
        if (*part) text += (text.empty() ? "" : " + ") + **part;
    return text;
}

// Puts a PNG on white with a margin, so that it reads on any page colour and
// a scanner finds its quiet zones.
bool FlattenOnWhite(const std::string& path) {
    constexpr int kMargin = 36;
    const CairoLibrary* c = Cairo();
    if (c == nullptr) return false;
    cairo_surface_t* image = c->cairo_image_surface_create_from_png(path.c_str());
    bool ok = c->cairo_surface_status(image) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        cairo_surface_t* white =
            c->cairo_image_surface_create(CAIRO_FORMAT_RGB24, c->cairo_image_surface_get_width(image) + 2 * kMargin,
                                          c->cairo_image_surface_get_height(image) + 2 * kMargin);
        cairo_t* cr = c->cairo_create(white);
        c->cairo_set_source_rgb(cr, 1, 1, 1);
        c->cairo_paint(cr);
        c->cairo_set_source_surface(cr, image, kMargin, kMargin);
        c->cairo_paint(cr);
        c->cairo_destroy(cr);
        const std::string temporary = path + ".tmp";
        ok = c->cairo_surface_write_to_png(white, temporary.c_str()) == CAIRO_STATUS_SUCCESS &&
             std::rename(temporary.c_str(), path.c_str()) == 0;
        c->cairo_surface_destroy(white);
    }
    c->cairo_surface_destroy(image);
    return ok;
}

// One variation's section of its page; false when its example could not be drawn.
bool WriteSection(std::ostream& out, const VariationInfo& v, const std::filesystem::path& dir, std::string& error) {
    const std::string name = Cp1252ToUtf8(VariationDisplayName(v.code));
    const FamilyInfo* family = FindFamily(v.family);
    const Description d = Describe(v.code);
    const DataTexts example = ExampleOf(v.code);
    const std::string image = "example-" + std::to_string(v.code) + ".png";

    GenerationRequest request;
    request.variation = std::to_string(v.code);
    request.data = example;
    request.path = (dir / image).string();
    request.exportKind = ExportKind::Png;
    request.dpi = 300;
    const GenerationResult result = Generate(request);
    if (result.status != GenerationStatus::Written || !FlattenOnWhite(request.path)) {
        error = "variation " + std::to_string(v.code) + ": " +
                (result.message.empty() ? "image not written" : result.message);
        return false;
    }

    out << "<h2>" << Escape(name) << "</h2>\n<table>\n";
    out << "<tr><th>Family</th><td>" << Escape(family ? family->name : "") << "</td></tr>\n";
    out << "<tr><th>Variation code</th><td>" << v.code << "</td></tr>\n";
    out << "<tr><th>The data</th><td>" << Escape(d.holds) << "</td></tr>\n";
    out << "<tr><th>Check characters</th><td>" << Escape(d.check) << "</td></tr>\n";
    out << FormatLine(v.code, FieldRole::Main, "Input format") << FormatLine(v.code, FieldRole::AddOn, "Add-on")
        << FormatLine(v.code, FieldRole::CouponUpc, "UPC part")
        << FormatLine(v.code, FieldRole::Coupon128, "UCC/EAN-128 part");
    out << "<tr><th>Example</th><td><code>" << Escape(ExampleText(example)) << "</code></td></tr>\n</table>\n";
    out << "<p><img src=\"" << image << "\" alt=\"" << Escape(name) << " example\"></p>\n";
    return true;
}

const char* kStyle =
    "<style>body{font-family:sans-serif;max-width:46em;margin:2em auto;padding:0 1em}"
    "th{text-align:left;vertical-align:top;padding-right:1em}td{padding-bottom:.4em}"
    "img{max-width:100%}</style>\n";

std::string Head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escape(title) +
           "</title>\n" + kStyle + "</head>\n<body>\n";
}

}  // namespace

int RunHelpPages(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("helppages takes one folder");
    const std::filesystem::path dir(args[0]);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "vglyph: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
        return kExitFailure;
    }
    // Pages in table order; variations that share a page share its file.
    std::vector<std::string> files;
    std::map<std::string, std::vector<int>> codes;
    for (const HelpPage& p : HelpPages()) {
        if (!codes.count(p.file)) files.push_back(p.file);
        codes[p.file].push_back(p.variation);
    }
    bool allWritten = true;
    std::string contents = Head("Vornel Glyph: the variations") + "<h1>Vornel Glyph: the variations</h1>\n<p>" +
                           kPatternLegend + "</p>\n<ul>\n";
    for (const std::string& file : files) {
        std::ofstream out(dir / file, std::ios::binary | std::ios::trunc);
        std::string title;
        for (int code : codes[file]) title += (title.empty() ? "" : " / ") + Cp1252ToUtf8(VariationDisplayName(code));
        out << Head(title) << "<p><a href=\"" << kHelpContentsPage << "\">All variations</a></p>\n";
        for (int code : codes[file]) {
            std::string error;
            if (!WriteSection(out, *FindVariation(code), dir, error)) {
                std::fprintf(stderr, "vglyph: %s\n", error.c_str());
                allWritten = false;
            }
        }
        out << "<p>" << kPatternLegend << "</p>\n</body>\n</html>\n";
        if (!out.flush()) {
            std::fprintf(stderr, "vglyph: cannot write %s\n", (dir / file).c_str());
            return kExitFailure;
        }
        contents += "<li><a href=\"" + Escape(file) + "\">" + Escape(title) + "</a></li>\n";
    }
    contents += "</ul>\n</body>\n</html>\n";
    std::ofstream index(dir / kHelpContentsPage, std::ios::binary | std::ios::trunc);
    index << contents;
    if (!index.flush()) {
        std::fprintf(stderr, "vglyph: cannot write the contents page\n");
        return kExitFailure;
    }
    return allWritten ? kExitOk : kExitFailure;
}

}  // namespace vg::cli
