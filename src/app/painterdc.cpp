#include "app/painterdc.h"

#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRawFont>

#include "device/fontservice.h"

namespace vg {
namespace {

QColor ColourOf(Rgb c) { return QColor(c.r, c.g, c.b); }

QPolygon PolygonOf(const Point* points, int count) {
    QPolygon p(count);
    for (int i = 0; i < count; ++i) p.setPoint(i, points[i].x, points[i].y);
    return p;
}

// One raw font per face file at a unit size, scaled when drawn.
QRawFont RawFontOf(const FontFace* face) {
    static QHash<const FontFace*, QRawFont> fonts;
    auto it = fonts.find(face);
    if (it == fonts.end()) it = fonts.insert(face, QRawFont(QString::fromStdString(face->File()), 100));
    return *it;
}

}  // namespace

PainterDC::PainterDC(QPainter& painter, int dpiX, int dpiY)
    : painter_(painter), dpiX_(dpiX > 0 ? dpiX : kReferenceDpi), dpiY_(dpiY > 0 ? dpiY : kReferenceDpi) {
    painter_.save();
    painter_.scale(dpiX_ / 1000.0, dpiY_ / 1000.0);
}

PainterDC::~PainterDC() { painter_.restore(); }

void PainterDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0) return;
    // Bars with crisp pixel edges, as on a screen device context.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ColourOf(state_.brush));
    painter_.drawPolygon(PolygonOf(points, count), Qt::OddEvenFill);
}

void PainterDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0) return;
    QPen pen(ColourOf(colour));
    pen.setCosmetic(true);
    pen.setWidth(1);
    pen.setStyle(Qt::DotLine);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolygon(PolygonOf(points, count));
}

void PainterDC::Line(Point from, Point to, Rgb colour, int width) {
    QPen pen(ColourOf(colour));
    // Width 0 is one device pixel.
    if (width > 0)
        pen.setWidth(width);
    else
        pen.setCosmetic(true);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(pen);
    painter_.drawLine(from.x, from.y, to.x, to.y);
}

void PainterDC::TextOut(Point at, std::string_view text) {
    const FontFace* face = state_.face;
    if (text.empty() || face == nullptr || state_.font.height <= 0) return;
    const FontMetrics m = face->Metrics(state_.font.height);
    const int cellPerEm = face->Metrics(-face->UnitsPerEm()).height;
    if (cellPerEm <= 0) return;
    const double em = static_cast<double>(state_.font.height) * face->UnitsPerEm() / cellPerEm;
    const std::vector<int> advances = Advances(text);
    int width = 0;
    for (int a : advances) width += a;

    QRawFont raw = RawFontOf(face);
    if (!raw.isValid()) return;
    painter_.save();
    painter_.translate(at.x, at.y);
    // Escapement is counter-clockwise; y points down here.
    painter_.rotate(-state_.font.escapement / 10.0);
    const double x0 = (state_.align & 6) == kAlignCentreTop ? -width / 2.0 : 0.0;
    if (state_.opaque) painter_.fillRect(QRectF(x0, 0, width, m.height), ColourOf(state_.background));

    QList<quint32> indices;
    QList<QPointF> positions;
    const double unit = 100.0 / em;  // the raw font's size against the wanted one
    double x = x0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        indices.append(face->GlyphIndex(static_cast<unsigned char>(text[i])));
        positions.append(QPointF(x * unit, m.ascent * unit));
        x += advances[i];
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(indices);
    run.setPositions(positions);
    painter_.scale(1 / unit, 1 / unit);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setPen(ColourOf(state_.textColour));
    painter_.drawGlyphRun(QPointF(0, 0), run);
    painter_.restore();
}

}  // namespace vg
