#include "app/symbolclipboard.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "model/symbolsettings.h"
#include "output/exportwriter.h"
#include "output/metafilewriter.h"

namespace vg {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture with its resolution recorded, so that it pastes at its printed
// size; on a white ground unless the background is transparent.
QByteArray Finished(const QByteArray& png, int dpi) {
    QImage image;
    if (!image.loadFromData(png, "PNG")) return png;
    if (!SymbolSettings.TransparentBackground && image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? out : png;
}

}  // namespace

int ClipboardPngDpi() {
    int dpi = kPrinterDpiRange.Contains(SymbolSettings.PrinterDpi) ? SymbolSettings.PrinterDpi : 600;
    const SymbolExtent extent = MetafileSymbolExtent();
    const int longest = std::max(extent.right - extent.left, extent.bottom - extent.top);  // 1/1000 inch
    constexpr long kMostPixels = 2400;
    while (dpi > 150 && dpi % 2 == 0 && static_cast<long>(longest) * dpi / 1000 > kMostPixels) dpi /= 2;
    return dpi;
}

QMimeData* SymbolMimeData() {
    QTemporaryDir dir;
    if (!dir.isValid()) return nullptr;
    const QString svg = dir.filePath(QStringLiteral("symbol.svg"));
    const QString png = dir.filePath(QStringLiteral("symbol.png"));
    const QString emf = dir.filePath(QStringLiteral("symbol.emf"));
    const int dpi = ClipboardPngDpi();
    auto* data = new QMimeData;
    bool any = false;
    auto put = [&](const char* type, const QString& path, bool written) {
        if (!written) return;
        QByteArray bytes = ReadAll(path);
        if (std::string_view(type) == "image/png") bytes = Finished(bytes, dpi);
        if (bytes.isEmpty()) return;
        data->setData(QString::fromLatin1(type), bytes);
        any = true;
    };
    put("image/svg+xml", svg, WriteExportFile(svg.toStdString(), ExportKind::Svg));
    put("image/png", png, WriteExportFile(png.toStdString(), ExportKind::Png, dpi));
    put("image/x-emf", emf, WriteEmfFile(emf.toStdString()));
    if (!any) {
        delete data;
        return nullptr;
    }
    return data;
}

bool CopySymbolToClipboard() {
    QMimeData* data = SymbolMimeData();
    if (!data) return false;
    QApplication::clipboard()->setMimeData(data);
    return true;
}

}  // namespace vg
