// What a scanner should report for the current symbol: the symbology and the
// text of each symbol in the drawing, as a reader transmits it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vg {

struct SettingsRecord;

// Symbologies a reader is asked for; None: no reader reads this variation.
enum class ReaderFormat { None, Codabar, Code39, Code93, Code128, Ean8, Ean13, UpcA, UpcE, Itf };

const char* ReaderFormatName(ReaderFormat format);

struct ExpectedSymbol {
    ReaderFormat format = ReaderFormat::None;
    std::string text;  // bytes as the reader reports them; GS1 separators as GS (0x1D)
    bool gs1 = false;  // FNC1 in first position: the reader says "]C1"
};

struct ProofExpectation {
    std::vector<ExpectedSymbol> symbols;  // empty: nothing a reader can prove
    std::string noReader;                 // why not, when symbols is empty
    bool code39FullAscii = false;         // read Code 39 with its full-ASCII meaning
    bool eanAddOn = false;                // an EAN/UPC add-on follows the main symbol
    bool widths = true;                   // elements are measured by width
};

// The expectation of a record and the text its encoder reported.
ProofExpectation ExpectationOf(const SettingsRecord& record, std::string_view encodedText);

// A GS1 element string with its identifiers in parentheses as the reader
// transmits it: identifiers and data, GS after every element whose identifier
// has no predefined length, except the last.
std::string Gs1ReaderText(std::string_view elements);

// Code 128 data bytes as the reader transmits them: the upper-half bytes that
// stand for set A control characters, DEL and FNC1 become their codes.
std::string Code128ReaderText(std::string_view data);

// A text for a report line: bytes outside printable ASCII as <HH>.
std::string Printable(std::string_view text);

}  // namespace vg
