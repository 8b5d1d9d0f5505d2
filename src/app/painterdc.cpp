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
    : m_painter(painter), m_dpiX(dpiX > 0 ? dpiX : kReferenceDpi), m_dpiY(dpiY > 0 ? dpiY : kReferenceDpi) {
    m_painter.save();
    m_painter.scale(m_dpiX / 1000.0, m_dpiY / 1000.0);
}

PainterDC::~PainterDC() { m_painter.restore(); }

void PainterDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0) return;
    // Bars with crisp pixel edges, as on a screen device context.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ColourOf(m_state.brush));
    m_painter.drawPolygon(PolygonOf(points, count), Qt::OddEvenFill);
}

void PainterDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0) return;
    QPen pen(ColourOf(colour));
    pen.setCosmetic(true);
    pen.setWidth(1);
    pen.setStyle(Qt::DotLine);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPolygon(PolygonOf(points, count));
}

void PainterDC::Line(Point from, Point to, Rgb colour, int width) {
    QPen pen(ColourOf(colour));
    // Width 0 is one device pixel.
    if (width > 0)
        pen.setWidth(width);
    else
        pen.setCosmetic(true);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(pen);
    m_painter.drawLine(from.x, from.y, to.x, to.y);
}

void PainterDC::TextOut(Point at, std::string_view text) {
    const FontFace* face = m_state.face;
    if (text.empty() || face == nullptr || m_state.font.height <= 0) return;
    const FontMetrics m = face->Metrics(m_state.font.height);
    const int cellPerEm = face->Metrics(-face->UnitsPerEm()).height;
    if (cellPerEm <= 0) return;
    const double em = static_cast<double>(m_state.font.height) * face->UnitsPerEm() / cellPerEm;
    const std::vector<int> advances = Advances(text);
    int width = 0;
    for (int a : advances) width += a;

    QRawFont raw = RawFontOf(face);
    if (!raw.isValid()) return;
    m_painter.save();
    m_painter.translate(at.x, at.y);
    // Escapement is counter-clockwise; y points down here.
    m_painter.rotate(-m_state.font.escapement / 10.0);
    const double x0 = (m_state.align & 6) == kAlignCentreTop ? -width / 2.0 : 0.0;
    if (m_state.opaque) m_painter.fillRect(QRectF(x0, 0, width, m.height), ColourOf(m_state.background));

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
    m_painter.scale(1 / unit, 1 / unit);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setPen(ColourOf(m_state.textColour));
    m_painter.drawGlyphRun(QPointF(0, 0), run);
    m_painter.restore();
}

}  // namespace vg
