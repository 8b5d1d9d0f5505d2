// PNG, SVG and PDF exports of the current symbol through cairo. Exports carry no
// settings and cannot be opened again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vg {

enum class ExportKind { Png, Svg, Pdf };

// The kind of a file name's extension (".png", ".svg", ".pdf", any case).
std::optional<ExportKind> ExportKindOf(std::string_view path);
// Upper-case extension of a kind, as proposed names carry it.
std::string ExportExtension(ExportKind kind);

// Writes the drawing of file output; PNG at dpi pixels per inch with the
// drawing's size in pixels, SVG and PDF in points. A PNG is painted on the
// spaces colour unless transparent, says its resolution, and is 1-bit or
// 8-bit grey when its colours allow. A refusal that is no system error (an
// image too large) puts its reason into reason.
bool WriteExportFile(const std::string& path, ExportKind kind, int dpi = 600, bool transparent = false,
                     std::string* reason = nullptr);

}  // namespace vg
