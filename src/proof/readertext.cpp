#include "proof/readertext.h"

#include <cstdio>

#include "model/catalogue.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "symbology/code128.h"
#include "symbology/code39.h"

namespace vg {

namespace {

// Identifiers whose data length is fixed by the GS1 table: no separator follows.
bool FixedLengthIdentifier(std::string_view ai) {
    if (ai.size() < 2 || !IsDigit(ai[0]) || !IsDigit(ai[1])) return false;
    const int two = (ai[0] - '0') * 10 + (ai[1] - '0');
    return two <= 4 || (two >= 11 && two <= 20) || (two >= 31 && two <= 36) || two == 41;
}

// Splits "A B" at its first space: the main symbol and what follows it.
std::pair<std::string, std::string> SplitAtSpace(std::string_view text) {
    const std::size_t at = text.find(' ');
    if (at == std::string_view::npos) return {std::string(text), {}};
    return {std::string(text.substr(0, at)), std::string(text.substr(at + 1))};
}

ProofExpectation NoReader(std::string why) {
    ProofExpectation e;
    e.noReader = std::move(why);
    return e;
}

ReaderFormat EanUpcFormat(SymbolGroup g) {
    switch (g) {
    case SymbolGroup::Ean8: return ReaderFormat::Ean8;
    case SymbolGroup::UpcA: return ReaderFormat::UpcA;
    case SymbolGroup::UpcE: return ReaderFormat::UpcE;
    default: return ReaderFormat::Ean13;
    }
}

}  // namespace

const char* ReaderFormatName(ReaderFormat format) {
    switch (format) {
    case ReaderFormat::None: return "none";
    case ReaderFormat::Codabar: return "Codabar";
    case ReaderFormat::Code39: return "Code 39";
    case ReaderFormat::Code93: return "Code 93";
    case ReaderFormat::Code128: return "Code 128";
    case ReaderFormat::Ean8: return "EAN-8";
    case ReaderFormat::Ean13: return "EAN-13";
    case ReaderFormat::UpcA: return "UPC-A";
    case ReaderFormat::UpcE: return "UPC-E";
    case ReaderFormat::Itf: return "ITF";
    }
    return "none";
}

std::string Gs1ReaderText(std::string_view elements) {
    std::string out;
    std::string ai;
    bool pendingSeparator = false;
    std::size_t i = 0;
    while (i < elements.size()) {
        const char c = elements[i];
        if (c == '(') {
            const std::size_t close = elements.find(')', i);
            if (close == std::string_view::npos) break;
            if (pendingSeparator) out += '\x1D';
            ai = std::string(elements.substr(i + 1, close - i - 1));
            out += ai;
            pendingSeparator = !FixedLengthIdentifier(ai);
            i = close + 1;
            continue;
        }
        if (c != ' ' && c != '-') out += c;
        ++i;
    }
    return out;
}

std::string Code128ReaderText(std::string_view data) {
    std::string out;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (b == c128::kFnc1) {
            if (i > 0) out += '\x1D';
        } else if (b == c128::kDel) {
            out += '\x7F';
        } else if (b == c128::kFnc2 || b == c128::kFnc3) {
            // Reader instructions, not data.
        } else if (const int v = Code128Value('A', b); v >= 64 && v <= 95) {
            out += static_cast<char>(v - 64);
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

std::string Printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", b);
            out += hex;
        }
    }
    return out;
}

ProofExpectation ExpectationOf(const SettingsRecord& record, std::string_view encodedText) {
    const int v = record.Variation;
    const SymbolGroup group = GroupOf(v);
    ProofExpectation e;
    auto add = [&e](ReaderFormat f, std::string text, bool gs1 = false) {
        e.symbols.push_back({f, std::move(text), gs1});
    };
    switch (group) {
    case SymbolGroup::Codabar: add(ReaderFormat::Codabar, std::string(encodedText)); break;
    case SymbolGroup::Code128:
        if (IsVantic128Class(v)) return NoReader("no reader for Vantic128");
        add(ReaderFormat::Code128, Code128ReaderText(encodedText));
        break;
    case SymbolGroup::Code39:
    case SymbolGroup::Code39InItfFrame:
        if (IsCode39FullAscii(v)) {
            e.code39FullAscii = true;
            add(ReaderFormat::Code39, DecodeCode39FullAscii(encodedText));
        } else {
            add(ReaderFormat::Code39, std::string(encodedText));
        }
        break;
    case SymbolGroup::Code93: add(ReaderFormat::Code93, std::string(encodedText)); break;
    case SymbolGroup::Ean13:
    case SymbolGroup::Ean8:
    case SymbolGroup::BooklandEan13:
    case SymbolGroup::UpcA:
    case SymbolGroup::UpcE: {
        auto [main, addOn] = SplitAtSpace(encodedText);
        e.eanAddOn = !addOn.empty();
        add(EanUpcFormat(group), addOn.empty() ? main : main + ' ' + addOn);
        break;
    }
    case SymbolGroup::Itf: {
        // A second part is a symbol of its own beside the first.
        auto [first, second] = SplitAtSpace(encodedText);
        add(ReaderFormat::Itf, first);
        if (!second.empty()) add(ReaderFormat::Itf, second);
        break;
    }
    case SymbolGroup::UccEan128: add(ReaderFormat::Code128, Gs1ReaderText(encodedText), true); break;
    case SymbolGroup::UccEan128Coupon:
    case SymbolGroup::Ean99Coupon: {
        auto [upc, ucc] = SplitAtSpace(encodedText);
        add(group == SymbolGroup::Ean99Coupon ? ReaderFormat::Ean13 : ReaderFormat::UpcA, upc);
        if (!ucc.empty()) add(ReaderFormat::Code128, Gs1ReaderText(ucc), true);
        break;
    }
    case SymbolGroup::BooklandText: return NoReader("no bars: the variation draws its number as text");
    case SymbolGroup::Code25: return NoReader("no reader for Code 25");
    case SymbolGroup::Msi: return NoReader("no reader for MSI/Plessey");
    case SymbolGroup::Pharmacode: return NoReader("no reader for Pharmacode");
    case SymbolGroup::Postnet:
    case SymbolGroup::Fim:
        // Bars of two heights, not of widths.
        e = NoReader(group == SymbolGroup::Fim ? "no reader for FIM" : "no reader for POSTNET");
        e.widths = false;
        return e;
    case SymbolGroup::None: return NoReader("no symbol");
    }
    if (encodedText.empty()) return NoReader("no symbol");
    return e;
}

}  // namespace vg
