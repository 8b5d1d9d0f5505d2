// ITF-14, JIS-ITF and Fisher-Price texts of the EPS body.
#include "eps/epsbody_internal.h"

#include <iterator>

#include "device/recordingdc.h"
#include "render/drawsymbol.h"
#include "model/symbolsettings.h"
#include "symbology/linear.h"

namespace vg {

std::vector<FrameText> ItfFrameTexts(double cornerX, double cornerY, double m) {
    SettingsRecord& s = SymbolSettings;
    std::vector<FrameText> texts;
    if (s.Hidden) return texts;
    // Drawn unrotated and without extras; the page turns the body.
    int* switches[] = {&s.Rotation, &s.bCropMarks, &s.Prufmark};
    int saved[std::size(switches)];
    for (std::size_t i = 0; i < std::size(switches); ++i) {
        saved[i] = *switches[i];
        *switches[i] = 0;
    }
    std::string additional;
    additional.swap(s.AdditionalText);
    RecordingDC dc(1000, 1000);
    CItfSymbol symbol(dc, ClipRect{}, 1, 0, nullptr);
    RenderSymbol(symbol);
    for (std::size_t i = 0; i < std::size(switches); ++i) *switches[i] = saved[i];
    s.AdditionalText.swap(additional);

    const int style = FontStyle(s.Bold, s.Italic);
    const FontMeasure fm = TextMetrics(s.FontName4humanreadable, s.Size, style);
    const Point corner = symbol.SpecialTextCorner();
    // Output units of the drawing at the symbol's size to body units.
    const double scale = 72.0 / 1000.0 / m;
    for (const CItfSymbol::SpecialText& t : symbol.SpecialTexts()) {
        BodyText b;
        b.text = t.text;
        b.font = s.FontName4humanreadable;
        b.size = s.Size;
        b.style = style;
        b.x = cornerX + (t.anchor.x - corner.x) * scale;
        b.y = cornerY - (t.anchor.y - corner.y) * scale - fm.ascent;
        texts.push_back({b, t.width * scale});
    }
    return texts;
}

double RealignedStart(double x, double drawnWidth, double width, int align) {
    const double f = align == 1 ? 0.5 : align == 2 ? 1.0 : 0.0;
    return x + (drawnWidth - width) * f;
}

}  // namespace vg
