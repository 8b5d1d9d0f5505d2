// Feeds arbitrary bytes to the reader of remembered font choices. A choice
// put into any text is found in the text that results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/fontmatches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string stamp = text.substr(0, text.find('\n'));
    for (const char* key : {"k", "ocrbvornelglyph 400", ""}) {
        if (auto choice = vg::FindFontChoice(text, stamp, key); choice && choice->file.empty()) std::abort();
    }
    const vg::FontChoice own{"/proc/self/exe", 1};
    const std::string put = vg::WithFontChoice(text, stamp, "k", own);
    if (!put.empty()) {
        const auto found = vg::FindFontChoice(put, stamp, "k");
        if (!found || found->file != own.file || found->index != own.index) std::abort();
    }
    return 0;
}
