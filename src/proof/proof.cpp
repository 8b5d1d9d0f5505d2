#include "proof/proof.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "geometry/dimensionmodel.h"
#include "model/catalogue.h"
#include "model/regularfile.h"
#include "model/symbolsettings.h"
#include "proof/barcodereader.h"
#include "proof/filerender.h"
#include "render/drawsymbol.h"
#include "symbology/symbol.h"

namespace vg {

namespace {

// Pixels to the module the proof aims for when the printer's resolution gives
// more: enough for a reader and for measuring, small enough to be quick.
constexpr double kPixelsPerModule = 4.0;

int QuarterTurn(int rotation) {
    const int r = ((rotation % 360) + 360) % 360;
    return (r + 45) / 90 % 4;
}

// The image turned back so that the symbol reads left to right, bars upright.
GreyImage Upright(const GreyImage& in, int rotation) {
    const int q = QuarterTurn(rotation);
    if (q == 0) return in;
    GreyImage out;
    const int w = in.width, h = in.height;
    out.width = q == 2 ? w : h;
    out.height = q == 2 ? h : w;
    out.pixels.resize(in.pixels.size());
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            int sx, sy;
            if (q == 1) {  // drawn turned clockwise by 90
                sx = w - 1 - y;
                sy = x;
            } else if (q == 2) {
                sx = w - 1 - x;
                sy = h - 1 - y;
            } else {
                sx = y;
                sy = h - 1 - x;
            }
            out.pixels[static_cast<std::size_t>(y) * out.width + x] = in.pixels[static_cast<std::size_t>(sy) * w + sx];
        }
    return out;
}

GreyImage GreyOf(const MonoBitmap& bitmap) {
    GreyImage g;
    if (bitmap.Empty()) return g;
    g.width = bitmap.width;
    g.height = bitmap.height;
    g.pixels.resize(static_cast<std::size_t>(g.width) * g.height);
    // Eight pixels a byte, looked up whole.
    static const auto kEight = [] {
        std::array<std::array<uint8_t, 8>, 256> t{};
        for (int b = 0; b < 256; ++b)
            for (int i = 0; i < 8; ++i) t[b][i] = (b & (0x80 >> i)) ? 255 : 0;
        return t;
    }();
    const int whole = g.width / 8;
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* in = bitmap.bits.data() + static_cast<std::size_t>(y) * bitmap.stride;
        uint8_t* out = g.pixels.data() + static_cast<std::size_t>(y) * g.width;
        for (int k = 0; k < whole; ++k) std::memcpy(out + 8 * k, kEight[in[k]].data(), 8);
        for (int x = 8 * whole; x < g.width; ++x) out[x] = (in[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    }
    return g;
}

// The main symbol's bars and spaces, markers left out, from the first bar to
// the last bar before an add-on.
std::vector<NominalElement> NominalElements(std::string_view pattern, double ratio, int variation) {
    std::vector<NominalElement> out;
    for (std::size_t i = 0; i + 1 < pattern.size(); i += 2) {
        const char letter = pattern[i], digit = pattern[i + 1];
        if (letter == '+' && digit == '+') break;
        const double modules = ElementModules(letter, digit, ratio, variation);
        if (modules <= 0) continue;
        const bool bar = IsBarLetter(letter);
        if (out.empty() && !bar) continue;
        if (!out.empty() && out.back().bar == bar)
            out.back().modules += modules;
        else
            out.push_back({modules, bar});
    }
    while (!out.empty() && !out.back().bar) out.pop_back();
    return out;
}

struct Run {
    bool ink;
    int length;
};

// The worst deviation (pixels) of the elements along one row, or a negative
// value when the row does not cross the symbol's elements in order.
double RowDeviation(const std::vector<Run>& runs, const std::vector<NominalElement>& nominal, double module) {
    const std::size_t n = nominal.size();
    for (std::size_t i = 0; i + n <= runs.size(); ++i) {
        if (!runs[i].ink) continue;
        double worst = 0;
        bool match = true;
        for (std::size_t j = 0; j < n && match; ++j) {
            const double d = std::fabs(runs[i + j].length - nominal[j].modules * module);
            match = runs[i + j].ink == nominal[j].bar && d <= 0.75 * module;
            worst = std::max(worst, d);
        }
        if (match) return worst;
    }
    return -1;
}

WidthDeviation MeasureWidths(const ProofJob& job, const GreyImage& upright) {
    WidthDeviation w;
    if (!job.expected.widths || job.elements.empty() || job.modulePixels <= 0 || upright.width <= 0) return w;
    constexpr int kRows = 24;
    double worst = -1;
    for (int r = 1; r < kRows; ++r) {
        const int y = upright.height * r / kRows;
        const uint8_t* row = upright.pixels.data() + static_cast<std::size_t>(y) * upright.width;
        std::vector<Run> runs;
        for (int x = 0; x < upright.width; ++x) {
            const bool ink = row[x] < 128;
            if (runs.empty() || runs.back().ink != ink)
                runs.push_back({ink, 1});
            else
                ++runs.back().length;
        }
        const double d = RowDeviation(runs, job.elements, job.modulePixels);
        worst = std::max(worst, d);
    }
    if (worst < 0) return w;
    w.measured = true;
    w.modules = worst / job.modulePixels;
    w.dots = worst * job.printerDpi / job.ppi;
    return w;
}

// Each symbology is read on its own, as many symbols as are expected of it:
// the reader's own merging of repeated EAN/UPC reads must not run.
std::vector<ReadSymbol> Read(const ProofJob& job, const GreyImage& image, bool anyTurn, std::string* error) {
    std::vector<ReadSymbol> valid;
    ReadRequest request;
    request.pixels = image.pixels.data();
    request.width = image.width;
    request.height = image.height;
    request.tryRotate = anyTurn;
    request.code39FullAscii = job.expected.code39FullAscii;
    request.eanAddOn = job.expected.eanAddOn;
    std::vector<ReaderFormat> done;
    for (const ExpectedSymbol& s : job.expected.symbols) {
        if (std::find(done.begin(), done.end(), s.format) != done.end()) continue;
        done.push_back(s.format);
        request.format = s.format;
        request.maxSymbols =
            static_cast<int>(std::count_if(job.expected.symbols.begin(), job.expected.symbols.end(),
                                           [&](const ExpectedSymbol& e) { return e.format == s.format; }));
        if (!ReadBarcodes(request, valid, error)) break;
    }
    return valid;
}

// The drawing as printed on a press whose ink spread the bar width reduction
// was made for: every bar widened on its right by the reduction.
GreyImage WithReductionGivenBack(const GreyImage& upright, int pixels) {
    GreyImage out = upright;
    for (int y = 0; y < upright.height; ++y) {
        const uint8_t* in = upright.pixels.data() + static_cast<std::size_t>(y) * upright.width;
        uint8_t* row = out.pixels.data() + static_cast<std::size_t>(y) * upright.width;
        for (int x = 1; x < upright.width; ++x)
            if (in[x - 1] < 128 && in[x] >= 128)
                for (int i = x; i < std::min(upright.width, x + pixels); ++i) row[i] = 0;
    }
    return out;
}

std::string Quoted(std::string_view text) { return "\"" + Printable(text) + "\""; }

}  // namespace

bool LooksLikeEps(const std::string& path) {
    RegularFile file;
    if (!file.Open(path)) return false;
    unsigned char head[4] = {};
    if (file.ReadAt(0, head, 4) != 4) return false;
    return (head[0] == 0xC5 && head[1] == 0xD0 && head[2] == 0xD3 && head[3] == 0xC6) ||
           (head[0] == '%' && head[1] == '!');
}

ProofJob CaptureProof(const ProofRasterMaker& makeRaster) {
    // Drawing touches a few globals; all of them are put back.
    const SettingsRecord savedRecord = SymbolSettings;
    const DrawingSize savedExtent = LastDrawingExtent;
    const EmbeddingFactors savedFactors = CurrentEmbeddingFactors;

    const SettingsRecord& s = SymbolSettings;
    ProofJob job;
    job.expected = ExpectationOf(s, EncodedText);
    job.rotation = QuarterTurn(s.Rotation) * 90;
    job.printerDpi = kPrinterDpiRange.Contains(s.PrinterDpi) ? s.PrinterDpi : 600;
    const double moduleInches = s.CurBarXDimension / 72.0;
    const double dotsPerModule = moduleInches * job.printerDpi;
    const int step = std::isfinite(dotsPerModule) && dotsPerModule > 2 * kPixelsPerModule
                         ? static_cast<int>(dotsPerModule / kPixelsPerModule)
                         : 1;
    job.ppi = std::max(1, job.printerDpi / step);
    job.modulePixels = moduleInches * job.ppi;
    job.elements = NominalElements(BarPattern, s.CurRatio, s.Variation);
    const double reduction = BwrInPoints(s) / 72.0 * job.ppi;
    job.reductionPixels = std::isfinite(reduction) && reduction > 0 ? reduction : 0;

    if (!BarPattern.empty()) {
        std::unique_ptr<RasterDC> dc = makeRaster ? makeRaster(job.ppi) : std::make_unique<RasterDC>(job.ppi, job.ppi);
        MonoBitmap bitmap;
        DrawSymbol(*dc, ClipRect{}, 1, 1, &bitmap);
        job.drawing = GreyOf(bitmap);
    }

    SymbolSettings = savedRecord;
    LastDrawingExtent = savedExtent;
    CurrentEmbeddingFactors = savedFactors;
    return job;
}

ProofResult ProveImage(const ProofJob& job, const GreyImage& image) {
    ProofResult result;
    if (job.expected.symbols.empty()) {
        result.verdict = ProofVerdict::NoReader;
        result.reason = job.expected.noReader;
        return result;
    }
    if (image.width <= 0 || image.height <= 0) {
        result.reason = "nothing was drawn";
        return result;
    }
    const GreyImage upright = Upright(image, job.rotation);
    result.widths = MeasureWidths(job, upright);

    std::string readerError;
    std::vector<ReadSymbol> reads = Read(job, upright, false, &readerError);
    if (!readerError.empty()) {
        result.verdict = ProofVerdict::NoReader;
        result.reason = readerError;
        return result;
    }
    if (reads.empty()) reads = Read(job, image, true, nullptr);
    // Readers that compare narrow bars with narrow spaces within one character
    // can refuse a reduction a press's ink spread makes good.
    // The drawing's edges are whole thousandths of an inch: a turned symbol
    // can lose a pixel more than the reduction.
    const int reduction = static_cast<int>(std::lround(job.reductionPixels));
    for (int widen = std::max(reduction, 1);
         reads.empty() && job.reductionPixels > 0 && job.expected.widths && widen <= reduction + 1; ++widen) {
        reads = Read(job, WithReductionGivenBack(upright, widen), false, nullptr);
        result.reductionGivenBack = !reads.empty();
    }

    std::vector<bool> found(job.expected.symbols.size(), false);
    std::vector<std::string> unexpected;
    for (const ReadSymbol& r : reads) {
        const std::string& text = r.text;
        const ReaderFormat format = r.format;
        const bool gs1 = r.gs1;
        result.decoded.push_back(std::string(ReaderFormatName(format)) + " " + Quoted(text));
        bool matched = false;
        for (std::size_t i = 0; i < found.size() && !matched; ++i) {
            const ExpectedSymbol& e = job.expected.symbols[i];
            if (e.format == format && e.text == text && (format != ReaderFormat::Code128 || e.gs1 == gs1)) {
                found[i] = true;
                matched = true;
            }
        }
        if (!matched) unexpected.push_back(result.decoded.back());
    }
    std::string missing;
    for (std::size_t i = 0; i < found.size(); ++i)
        if (!found[i]) {
            const ExpectedSymbol& e = job.expected.symbols[i];
            missing += (missing.empty() ? "" : ", ") + std::string(ReaderFormatName(e.format)) +
                       (e.gs1 ? " (GS1) " : " ") + Quoted(e.text);
        }
    if (missing.empty() && unexpected.empty()) {
        result.verdict = ProofVerdict::Scans;
        return result;
    }
    result.verdict = ProofVerdict::DoesNotScan;
    if (!unexpected.empty()) {
        result.reason = "read";
        for (const std::string& u : unexpected) result.reason += " " + u;
        if (!missing.empty()) result.reason += "; ";
    }
    if (!missing.empty()) result.reason += (reads.empty() ? "read nothing; expected " : "expected ") + missing;
    return result;
}

ProofResult ProveDrawing(const ProofJob& job) { return ProveImage(job, job.drawing); }

ProofResult ProveGraphicFile(const ProofJob& job, const std::string& path) {
    if (job.expected.symbols.empty()) return ProveImage(job, {});
    // The metafile readers place edges on whole pixels of their own, which at
    // one resolution can close up or open narrow elements: a metafile that
    // does not scan is read again at other resolutions.
    const GraphicFileKind kind = GraphicFileKindOf(path);
    const bool metafile = kind == GraphicFileKind::Wmf || kind == GraphicFileKind::Emf;
    ProofResult result;
    for (double factor : {1.0, 2.0, 0.5, 0.75, 1.5}) {
        if (factor != 1.0 && !metafile) break;
        ProofJob scaled = job;
        scaled.ppi = std::max(1, static_cast<int>(factor * job.ppi));
        scaled.modulePixels = factor * job.modulePixels;
        scaled.reductionPixels = factor * job.reductionPixels;
        GreyImage image;
        const FileRender render = RenderGraphicFile(path, scaled.ppi, image);
        if (!render.ok) {
            result = ProofResult{};
            result.reason = render.reason;
            return result;
        }
        // Their smoothed edges are grey; a reader's own thresholds can close
        // up narrow elements that the mid-grey edge, as measured, keeps apart.
        if (metafile)
            for (uint8_t& p : image.pixels) p = p < 128 ? 0 : 255;
        result = ProveImage(scaled, image);
        if (result.verdict != ProofVerdict::DoesNotScan) break;
    }
    return result;
}

GraphicFileRead ReadGraphicFile(const std::string& path, int ppi) {
    GraphicFileRead read;
    read.kind = GraphicFileKindName(GraphicFileKindOf(path));
    GreyImage image;
    const FileRender render = RenderGraphicFile(path, ppi, image);
    if (!render.ok) {
        read.reason = render.reason;
        return read;
    }
    read.drawn = true;
    ReadRequest request;
    request.pixels = image.pixels.data();
    request.width = image.width;
    request.height = image.height;
    request.tryRotate = true;
    request.maxSymbols = 8;
    std::vector<ReadSymbol> symbols;
    if (!ReadBarcodes(request, symbols, &read.reason)) {
        read.drawn = false;
        return read;
    }
    for (const ReadSymbol& s : symbols) {
        read.decoded.push_back(std::string(ReaderFormatName(s.format)) + " " + Quoted(s.text));
        read.texts.push_back(s.text);
    }
    return read;
}

ProofResult ProveEpsFile(const ProofJob& job, const std::string& path) {
    if (job.expected.symbols.empty()) return ProveImage(job, {});
    GreyImage image;
    std::string reason;
    if (!RenderEpsFile(path, job.ppi, image, &reason)) {
        ProofResult result;
        result.reason = reason;
        return result;
    }
    return ProveImage(job, image);
}

FileProof ProveWrittenFile(const std::string& path) { return ProveWrittenFile(CaptureProof(), path); }

FileProof ProveWrittenFile(const ProofJob& job, const std::string& path) {
    FileProof proof;
    proof.printerDpi = job.printerDpi;
    proof.ppi = job.ppi;
    proof.drawing = ProveDrawing(job);
    const GraphicFileKind kind = GraphicFileKindOf(path);
    if (proof.drawing.verdict != ProofVerdict::NoReader && kind != GraphicFileKind::Unknown) {
        proof.file = ProveGraphicFile(job, path);
        proof.fileKind = GraphicFileKindName(kind);
    }
    proof.verdict = proof.drawing.verdict;
    if (proof.file && proof.file->verdict == ProofVerdict::DoesNotScan) proof.verdict = ProofVerdict::DoesNotScan;
    return proof;
}

std::string DescribeProof(const FileProof& proof) {
    auto widths = [&](const WidthDeviation& w) {
        if (!w.measured) return std::string("; element widths not measured");
        // One pixel of the proof's image is the measure's step.
        char text[160];
        std::snprintf(text, sizeof text, "; widths within %.2f modules (%.1f dots at %d dpi, measured to %.1f dots)",
                      w.modules, w.dots, proof.printerDpi,
                      proof.ppi > 0 ? static_cast<double>(proof.printerDpi) / proof.ppi : 0.0);
        return std::string(text);
    };
    switch (proof.verdict) {
    case ProofVerdict::NoReader: return "no reader: " + proof.drawing.reason + "; not proven";
    case ProofVerdict::Scans: {
        std::string line = "scans:";
        for (const std::string& d : proof.drawing.decoded) line += " " + d;
        line += proof.file ? " (drawing and " + proof.fileKind + " file)" : " (drawing)";
        if (proof.drawing.reductionGivenBack || (proof.file && proof.file->reductionGivenBack))
            line += " with the bar width reduction given back as ink spread";
        return line + widths(proof.drawing.widths);
    }
    case ProofVerdict::DoesNotScan: break;
    }
    std::string line = "does not scan:";
    if (proof.drawing.verdict == ProofVerdict::DoesNotScan) line += " drawing " + proof.drawing.reason;
    if (proof.file && proof.file->verdict == ProofVerdict::DoesNotScan)
        line += std::string(proof.drawing.verdict == ProofVerdict::DoesNotScan ? ";" : "") + " " + proof.fileKind +
                " file " + proof.file->reason;
    return line + widths(proof.drawing.widths);
}

}  // namespace vg
