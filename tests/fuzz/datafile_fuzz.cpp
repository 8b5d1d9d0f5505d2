// Feeds arbitrary bytes as a data file: the open-time test of the first record,
// then every record as a batch reads it, each within its limit and counted in
// order. The first byte chooses the variation (in catalogue order); the first
// few records go through the input bar as the main data, as a batch feeds them,
// and a symbol that comes of one is drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "entry/symbolinput.h"
#include "fuzzsupport.h"
#include "model/catalogue.h"
#include "output/datafile.h"
#include "render/drawingframe.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vg::fuzz::QuietStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const std::string path = vg::fuzz::ScratchPath("datafile", ".txt");
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    vg::fuzz::WriteBytes(path, bytes);

    std::string first;
    const vg::FirstRecordTest test = vg::ReadFirstRecord(path, &first);
    if (test == vg::FirstRecordTest::Unreadable || first.size() > vg::kDataFilePiece) std::abort();
    if (test == vg::FirstRecordTest::Ok && (first.empty() || first.size() > vg::kMaxFirstRecord)) std::abort();

    const auto catalogue = vg::Catalogue();
    vg::ChooseVariation(catalogue[data[0] % catalogue.size()]);
    vg::DataFileReader reader;
    if (!reader.Open(path)) std::abort();
    vg::DataRecord record;
    int64_t number = 0;
    int fed = 0;
    while (reader.Next(record)) {
        if (record.number != ++number || record.text.size() > vg::kMaxRecord) std::abort();
        if (record.text.find('\n') != std::string::npos || reader.BytesRead() > bytes.size()) std::abort();
        if (record.overLong || fed >= 4) continue;
        ++fed;
        vg::DataTexts texts;
        texts.main = record.text;
        std::string reason;
        if (vg::FeedData(texts, &reason)) vg::MeasureDrawingFrame();
    }
    if (reader.Failed()) std::abort();
    return 0;
}
