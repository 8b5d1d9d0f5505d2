#include "eps/epsbody_internal.h"
#include "model/catalogue.h"

namespace vg {

// PZN: the drawn text reads "PZN -" and the number, the file "PZN-" and the number.
std::string Code39FileText(int variation, std::string_view drawn) {
    if (!IsPznClass(variation) || drawn.empty()) return std::string(drawn);
    if (drawn.starts_with("PZN -")) drawn.remove_prefix(5);
    return drawn.starts_with("PZN-") ? std::string(drawn) : "PZN-" + std::string(drawn);
}

}  // namespace vg
