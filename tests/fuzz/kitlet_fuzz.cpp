// Feeds arbitrary bytes to the Kitlet reader. A Kitlet that reads is written
// again and must read back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "model/kitlet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vg::Kitlet kitlet;
    if (vg::ReadKitlet(std::span<const uint8_t>(data, size), kitlet) != vg::KitletStatus::Ok) return 0;
    const std::string bytes = vg::KitletBytes(kitlet);
    vg::Kitlet again;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    if (vg::ReadKitlet(std::span<const uint8_t>(p, bytes.size()), again) != vg::KitletStatus::Ok) std::abort();
    if (vg::KitletBytes(again) != bytes) std::abort();
    return 0;
}
