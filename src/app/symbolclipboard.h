// Edit > Copy of the symbol: the current symbol on the clipboard as SVG, PNG
// and EMF, written by the export and metafile writers.
#pragma once

class QMimeData;

namespace vg {

// The pixels per inch of the clipboard's PNG: the printer resolution, halved
// while the picture would be wider or taller than a screen's worth of pixels.
int ClipboardPngDpi();

// The three pictures of the current symbol; nullptr when none could be written.
QMimeData* SymbolMimeData();

// Puts them on the clipboard; false (and the clipboard left alone) when none could be written.
bool CopySymbolToClipboard();

}  // namespace vg
